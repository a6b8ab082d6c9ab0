<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ExtractLinksCommand</name>
    <message numerus="yes">
        <source>%n address(es) appended to %1</source>
        <translation>
            <numerusform>%n address appended to %1</numerusform>
            <numerusform>%n addresses appended to %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImageImport</name>
    <message numerus="yes">
        <source> (the %n picture(s) copied before it stay in the image folder)</source>
        <translation>
            <numerusform> (the picture copied before it stays in the image folder)</numerusform>
            <numerusform> (the %n pictures copied before it stay in the image folder)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MakePostsCommand</name>
    <message numerus="yes">
        <source>%n record(s) appended to %1</source>
        <translation>
            <numerusform>%n record appended to %1</numerusform>
            <numerusform>%n records appended to %1</numerusform>
        </translation>
    </message>
</context>
</TS>
