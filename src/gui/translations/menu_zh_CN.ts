<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DropMenu</name>
    <message>
        <source>Feedback</source>
        <translation>意见反馈</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于我们</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>Log off</source>
        <translation>退出登录</translation>
    </message>
</context>
</TS>
