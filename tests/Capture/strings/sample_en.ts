<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="sample.plain">
        <source>Plain</source>
        <translation>Plain</translation>
    </message>
    <message id="sample.pair">
        <source>%1 has %2 files</source>
        <translation>%1 has %2 files</translation>
    </message>
    <message id="sample.untranslated">
        <source>Untranslated</source>
        <translation>Untranslated</translation>
    </message>
    <message id="sample.three-parts_key">
        <source>Three</source>
        <translation>Three</translation>
    </message>
    <message id="sample.files" numerus="yes">
        <source>%n files in %1</source>
        <translation>
            <numerusform>%n file in %1</numerusform>
            <numerusform>%n files in %1</numerusform>
        </translation>
    </message>
    <message id="sample.formMissing" numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n folder</numerusform>
        </translation>
    </message>
    <message id="sample.miscounted" numerus="yes">
        <source>%n tags</source>
        <translation>
            <numerusform>%n tags</numerusform>
            <numerusform>%n tags</numerusform>
        </translation>
    </message>
</context>
</TS>
