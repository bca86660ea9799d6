<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DownloadWnd</name>
    <message>
        <source>Software Download</source>
        <translation>软件下载</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Downloading the update package, please wait...</source>
        <translation>正在下载更新包，请稍后...</translation>
    </message>
    <message>
        <source>Stop Update</source>
        <translation>停止更新</translation>
    </message>
</context>
</TS>
