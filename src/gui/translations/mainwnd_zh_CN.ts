<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CMainWnd</name>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="14"/>
        <source>Korvex</source>
        <translation>Korvex</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="107"/>
        <source>PDF Split</source>
        <translation>PDF分割</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="123"/>
        <source>PDF Merge</source>
        <translation>PDF合并</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="137"/>
        <source>More tools</source>
        <translation>更多工具</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="139"/>
        <source>Image</source>
        <translation>图片转换</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="158"/>
        <source>Office</source>
        <translation>办公转换</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="177"/>
        <source>Online</source>
        <translation>在线转换</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="196"/>
        <source>Screenshot</source>
        <translation>截图</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="228"/>
        <source>Account</source>
        <translation>账户</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="241"/>
        <source>Log in</source>
        <translation>请登录</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="251"/>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="261"/>
        <source>中文</source>
        <translation>English</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="264"/>
        <source>Switch language</source>
        <translation>切换语言</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="274"/>
        <source>Online Service</source>
        <translation>人工服务</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="287"/>
        <source>Library</source>
        <translation>文库</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="300"/>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="322"/>
        <source>Maximize</source>
        <translation>最大化</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="344"/>
        <source>Restore</source>
        <translation>还原</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="369"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="442"/>
        <source>History</source>
        <translation>历史列表</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="470"/>
        <source>Open Screenshot Folder</source>
        <translation>打开截图目录</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="553"/>
        <source>Extract</source>
        <translation>抽取</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="558"/>
        <source>Compress</source>
        <translation>压缩</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="563"/>
        <source>Decrypt</source>
        <translation>解密</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="568"/>
        <source>Merge</source>
        <translation>合并</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="573"/>
        <source>Split</source>
        <translation>分割</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1072"/>
        <location filename="../mainwnd/CMainWnd.ui" line="1116"/>
        <source>Add Files</source>
        <translation>添加文件</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1082"/>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1126"/>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1169"/>
        <source>Screenshot hot key</source>
        <translation>截图快捷键</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1220"/>
        <source>Output folder:</source>
        <translation>输出目录：</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1234"/>
        <source>Change</source>
        <translation>更改目录</translation>
    </message>
    <message>
        <location filename="../mainwnd/CMainWnd.ui" line="1244"/>
        <source>Open Folder</source>
        <translation>打开目录</translation>
    </message>
    <message>
        <source>Press the hot key anywhere on the desktop to take a picture of the whole screen. The picture is saved in the output folder below.</source>
        <translation>在桌面任何地方按下快捷键即可截取整个屏幕，图片保存在下方的输出目录中。</translation>
    </message>
    <message>
        <source>Tick the box, then type a letter: the key is Alt and that letter.</source>
        <translation>先勾选，再输入一个字母：快捷键为 Alt 加该字母。</translation>
    </message>
</context>
</TS>
