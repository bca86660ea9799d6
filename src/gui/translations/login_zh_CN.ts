<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LoginWnd</name>
    <message>
        <source>Log in</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Fetch a new QR code</source>
        <translation>获取新的二维码</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Open WeChat on your phone and scan the code to log in</source>
        <translation>打开手机微信，扫描二维码登录</translation>
    </message>
    <message>
        <source>Bind your phone number to keep your account safe</source>
        <translation>绑定手机号，保护账号安全</translation>
    </message>
    <message>
        <source>Phone number</source>
        <translation>请输入手机号</translation>
    </message>
    <message>
        <source>Verification code</source>
        <translation>请输入验证码</translation>
    </message>
    <message>
        <source>Send code</source>
        <translation>发送验证码</translation>
    </message>
    <message>
        <source>Bind</source>
        <translation>绑定</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>跳过</translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation>欢迎</translation>
    </message>
    <message>
        <source>Split and merge PDF files in a few clicks</source>
        <translation>轻松分割、合并PDF文件</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>确认密码</translation>
    </message>
    <message>
        <source>Sign Up</source>
        <translation>注册</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>No account yet? Sign up</source>
        <translation>还没有账号？注册</translation>
    </message>
</context>
</TS>
