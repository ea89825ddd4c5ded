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
</context>
</TS>
