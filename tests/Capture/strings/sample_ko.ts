<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name></name>
    <message id="sample.plain">
        <source>Plain</source>
        <translation>일반</translation>
    </message>
    <message id="sample.pair">
        <source>%1 has %2 files</source>
        <translation>%1 파일 %3</translation>
    </message>
    <message id="sample.untranslated">
        <source>Untranslated</source>
        <translation>번역</translation>
    </message>
    <message id="sample.three-parts_key">
        <source>Three</source>
        <translation>셋</translation>
    </message>
    <message id="sample.files" numerus="yes">
        <source>%n files in %1</source>
        <translation>
            <numerusform>%1에 파일 %n개</numerusform>
        </translation>
    </message>
    <message id="sample.formMissing" numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>폴더 %n개</numerusform>
        </translation>
    </message>
    <message id="sample.miscounted" numerus="yes">
        <source>%n tags</source>
        <translation>
            <numerusform>태그 여러 개</numerusform>
        </translation>
    </message>
</context>
</TS>
