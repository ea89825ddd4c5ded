<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name></name>
    <message id="quality.original">
        <source>Original</source>
        <translation>원본</translation>
    </message>
    <message id="quality.hd">
        <source>HD</source>
        <translation>HD</translation>
    </message>
    <message id="quality.small">
        <source>Small</source>
        <translation>작은 크기</translation>
    </message>
</context>
</TS>
