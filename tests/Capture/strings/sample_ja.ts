<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name></name>
    <message id="sample.plain">
        <source>Plain</source>
        <translation>プレーン</translation>
    </message>
    <message id="sample.pair">
        <source>%1 has %2 files</source>
        <translation>%2 個のファイル: %1</translation>
    </message>
    <message id="sample.untranslated">
        <source>Untranslated</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="sample.three-parts_key">
        <source>Three</source>
        <translation>三</translation>
    </message>
    <message id="sample.files" numerus="yes">
        <source>%n files in %1</source>
        <translation>
            <numerusform>%1 に %n 個のファイル</numerusform>
        </translation>
    </message>
    <message id="sample.formMissing" numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n 個のフォルダ</numerusform>
        </translation>
    </message>
    <message id="sample.miscounted" numerus="yes">
        <source>%n tags</source>
        <translation>
            <numerusform>%n 個のタグ</numerusform>
        </translation>
    </message>
</context>
</TS>
