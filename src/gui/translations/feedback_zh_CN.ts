<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>SuggestionWnd</name>
    <message>
        <source>Feedback</source>
        <translation>反馈建议</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Any Questions Or Suggestions: </source>
        <translation>你有什么问题或建议对我们说：</translation>
    </message>
    <message>
        <source>QQ</source>
        <translation>QQ</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>电话</translation>
    </message>
    <message>
        <source>Contact: </source>
        <translation>联系方式：</translation>
    </message>
    <message>
        <source>Please Leave Your Contanct， So We Can Help You</source>
        <translation>请留下你的联系方式，以方便我们快速定位问题原因。</translation>
    </message>
    <message>
        <source>submit</source>
        <translation>提交问题</translation>
    </message>
</context>
</TS>
