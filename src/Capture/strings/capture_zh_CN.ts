<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="quality.original">
        <source>Original</source>
        <translation>原始画质</translation>
    </message>
    <message id="quality.hd">
        <source>HD</source>
        <translation>高清</translation>
    </message>
    <message id="quality.small">
        <source>Small</source>
        <translation>小尺寸</translation>
    </message>
</context>
</TS>
