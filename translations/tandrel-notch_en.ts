<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>MessageRowText</name>
    <message numerus="yes">
        <source>%n messages</source>
        <translation>
            <numerusform>%n message</numerusform>
            <numerusform>%n messages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n replies</source>
        <translation>
            <numerusform>%n reply</numerusform>
            <numerusform>%n replies</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScopeMenuText</name>
    <message numerus="yes">
        <source>Tandrel, %n unread messages across inboxes</source>
        <translation>
            <numerusform>Tandrel, %n unread message across inboxes</numerusform>
            <numerusform>Tandrel, %n unread messages across inboxes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SyncSocket</name>
    <message numerus="yes">
        <source>The service handed out %n sync subscriptions.</source>
        <translation>
            <numerusform>The service handed out %n sync subscription.</numerusform>
            <numerusform>The service handed out %n sync subscriptions.</numerusform>
        </translation>
    </message>
</context>
</TS>
