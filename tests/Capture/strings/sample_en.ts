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
</context>
</TS>
