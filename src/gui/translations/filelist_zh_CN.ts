<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>HistoryRowWidget</name>
    <message>
        <source>Folder</source>
        <translation>打开目录</translation>
    </message>
    <message>
        <source>Show the file in its folder</source>
        <translation>在文件夹中显示该文件</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove from the history</source>
        <translation>从历史列表中删除</translation>
    </message>
</context>
<context>
    <name>FileRowWidgetSplit</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Open the output file</source>
        <translation>打开输出文件</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove this file from the list</source>
        <translation>从列表中删除该文件</translation>
    </message>
    <message>
        <source>Level:</source>
        <translation>压缩级别:</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Lossless</source>
        <translation>无损</translation>
    </message>
    <message>
        <source>Balanced</source>
        <translation>均衡</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>强力</translation>
    </message>
    <message>
        <source>Standard: the file&apos;s streams compressed; Lossless: its structure rewritten, nothing lost; Balanced: images above 150 ppi downsampled to it (JPEG); Strong: the same at 96 ppi</source>
        <translation>标准：压缩文件的数据流；无损：重写文件结构，不损失任何内容；均衡：超过150 ppi的图片缩至150 ppi（JPEG）；强力：同上，96 ppi</translation>
    </message>
    <message>
        <source>Split by:</source>
        <translation>分割方式:</translation>
    </message>
    <message>
        <source>Max pages</source>
        <translation>最大页数</translation>
    </message>
    <message>
        <source>Split points</source>
        <translation>设置拆分点</translation>
    </message>
    <message>
        <source>By bookmarks</source>
        <translation>按书签拆分</translation>
    </message>
    <message>
        <source>Bookmark level</source>
        <translation> 书签级别 </translation>
    </message>
    <message>
        <source>1: one file per chapter; 2: one file per section</source>
        <translation>1：每章一个文件；2：每节一个文件</translation>
    </message>
    <message>
        <source>Every</source>
        <translation> 每隔 </translation>
    </message>
    <message>
        <source>pages per document</source>
        <translation> 页保存为一份文档</translation>
    </message>
    <message>
        <source>Format: 5,10,15</source>
        <translation>输入格式：5,10,15</translation>
    </message>
    <message>
        <source>For example, split points 20,50 on a 100-page document give three documents: pages 1-20, 21-50 and 51-100</source>
        <translation>例如100页文档，设置分拆点为20,50。则会生成1-20页，21-50页，51-100页三分文档</translation>
    </message>
</context>
<context>
    <name>FileRowWidgetWithPage</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Open the output file</source>
        <translation>打开输出文件</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove this file from the list</source>
        <translation>从列表中删除该文件</translation>
    </message>
</context>
</TS>
