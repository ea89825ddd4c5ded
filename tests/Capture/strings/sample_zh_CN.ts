<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="sample.plain">
        <source>Plain</source>
        <translation>普通</translation>
    </message>
    <message id="sample.pair">
        <source>%1 has %2 files</source>
        <translation>%1 有 %2 个文件</translation>
    </message>
    <message id="sample.untranslated">
        <source>Untranslated</source>
        <translation>未翻译</translation>
    </message>
    <message id="sample.three-parts_key">
        <source>Three</source>
        <translation>三</translation>
    </message>
    <message id="sample.files" numerus="yes">
        <source>%n files in %1</source>
        <translation>
            <numerusform>%1 中有 %n 个文件</numerusform>
        </translation>
    </message>
    <message id="sample.formMissing" numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n 个文件夹</numerusform>
        </translation>
    </message>
    <message id="sample.miscounted" numerus="yes">
        <source>%n tags</source>
        <translation>
            <numerusform>%n 个标签</numerusform>
        </translation>
    </message>
</context>
</TS>
