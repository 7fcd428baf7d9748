<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>版权所有 © 2026 hygra 开发者</source>
        <translation>Copyright © 2026 the hygra developers</translation>
    </message>
    <message>
        <source>本程序是自由软件：您可以依据自由软件基金会发布的 GNU 通用公共许可证第 3 版或（由您选择）任何更高版本的条款重新分发和修改它。本程序不附带任何担保。</source>
        <translation>hygra is free software: you can redistribute it and/or modify it under the terms of the GNU General Public License as published by the Free Software Foundation, either version 3 of the License, or (at your option) any later version. It comes with ABSOLUTELY NO WARRANTY.</translation>
    </message>
    <message>
        <source>许可证全文与说明文件：%1</source>
        <translation>Licence text and README: %1</translation>
    </message>
    <message>
        <source>许可证网页：%1</source>
        <translation>Licence online: %1</translation>
    </message>
</context>
<context>
    <name>AlarmRowWidget</name>
    <message>
        <source>单一</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>累计</source>
        <translation>Cumulative</translation>
    </message>
</context>
<context>
    <name>AlarmSection</name>
    <message>
        <source>%1 不能高于 %2，已改为 %3</source>
        <translation>%1 cannot be above %2; it was set to %3</translation>
    </message>
    <message>
        <source>%1 不能低于 %2，已改为 %3</source>
        <translation>%1 cannot be below %2; it was set to %3</translation>
    </message>
</context>
<context>
    <name>ArchiveKeeper</name>
    <message>
        <source>文件名不是有效的 UTF-8</source>
        <translation>its name is not valid UTF-8</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>文件过大，不是记录文件</source>
        <translation>too large for a recording</translation>
    </message>
    <message>
        <source>文件过短，不是记录文件</source>
        <translation>too short for a recording</translation>
    </message>
    <message>
        <source>未知的记录仪型号，不是记录文件</source>
        <translation>names no known logger model</translation>
    </message>
    <message>
        <source>文件头已损坏</source>
        <translation>its header is damaged</translation>
    </message>
    <message>
        <source>无法读取</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>%1 等</source>
        <translation>%1 and others</translation>
    </message>
    <message>
        <source>%1 个文件未存入记录档案库：%2</source>
        <translation>%1 files were not archived: %2</translation>
    </message>
    <message>
        <source>未存入记录档案库：%1</source>
        <translation>Not archived: %1</translation>
    </message>
    <message>
        <source>无法打开记录档案库</source>
        <translation>The recordings archive cannot be opened</translation>
    </message>
</context>
<context>
    <name>ArchiveSearchBar</name>
    <message>
        <source>搜索名称、备注或序列号</source>
        <translation>Name, note or serial</translation>
    </message>
    <message>
        <source>仅超限</source>
        <translation>Out of range only</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Dates</translation>
    </message>
    <message>
        <source>未审核</source>
        <translation>Not yet reviewed</translation>
    </message>
</context>
<context>
    <name>AuditEntryModel</name>
    <message>
        <source>序号</source>
        <translation>Seq</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>计算机</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>详情</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
</context>
<context>
    <name>AuditTrail</name>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>no</translation>
    </message>
    <message>
        <source>审计追踪：第 %1 条，哈希 %2</source>
        <translation>Audit trail: entry %1, hash %2</translation>
    </message>
    <message>
        <source>本导出的指纹 (SHA-256)：%1</source>
        <translation>Fingerprint of this export (SHA-256): %1</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>Seq</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>计算机</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>指纹</source>
        <translation>Fingerprint</translation>
    </message>
    <message>
        <source>详情</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>审计追踪</source>
        <translation>Audit trail</translation>
    </message>
    <message>
        <source>筛选：%1</source>
        <translation>Filter: %1</translation>
    </message>
    <message>
        <source>导出时间：%1</source>
        <translation>Exported: %1</translation>
    </message>
    <message>
        <source>无法核验审计追踪：%1</source>
        <translation>The audit trail could not be verified: %1</translation>
    </message>
    <message>
        <source>审计追踪在第 %1 条处不完整：%2</source>
        <translation>The audit trail is broken at entry %1: %2</translation>
    </message>
    <message>
        <source>已核验：审计追踪为空</source>
        <translation>Verified: the audit trail is empty</translation>
    </message>
    <message>
        <source>已核验：%1 条，链条完整；最新条目 %2，哈希 %3</source>
        <translation>Verified: %1 entries, the chain is whole; latest entry %2, hash %3</translation>
    </message>
    <message>
        <source>全部条目</source>
        <translation>all entries</translation>
    </message>
</context>
<context>
    <name>AuditTrailDialog</name>
    <message>
        <source>已导出到 %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>导出失败：%1</source>
        <translation>Export failed: %1</translation>
    </message>
    <message>
        <source>正在读取审计追踪…</source>
        <translation>Reading the audit trail…</translation>
    </message>
    <message>
        <source>无法读取审计追踪：%1</source>
        <translation>The audit trail could not be read: %1</translation>
    </message>
    <message>
        <source>导出审计追踪</source>
        <translation>Export the audit trail</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>记录 %1</source>
        <translation>recording %1</translation>
    </message>
    <message>
        <source>正在导出…</source>
        <translation>Exporting…</translation>
    </message>
    <message>
        <source>审计追踪</source>
        <translation>Audit trail</translation>
    </message>
    <message>
        <source>此记录的审计追踪</source>
        <translation>Audit trail of this recording</translation>
    </message>
    <message>
        <source>导出 CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>导出 PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>全部条目</source>
        <translation>all entries</translation>
    </message>
</context>
<context>
    <name>AuditTrailFilterBar</name>
    <message>
        <source>类型 %1</source>
        <translation>kind %1</translation>
    </message>
    <message>
        <source>用户含“%1”</source>
        <translation>user contains “%1”</translation>
    </message>
    <message>
        <source>序列号含“%1”</source>
        <translation>serial contains “%1”</translation>
    </message>
    <message>
        <source>自 %1</source>
        <translation>from %1</translation>
    </message>
    <message>
        <source>至 %1</source>
        <translation>to %1</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>全部类型</source>
        <translation>All kinds</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>To</translation>
    </message>
    <message>
        <source>不限</source>
        <translation>any</translation>
    </message>
</context>
<context>
    <name>AutoDownload</name>
    <message>
        <source>另一台记录仪已接入，等待中</source>
        <translation>Another logger is waiting</translation>
    </message>
    <message>
        <source>记录仪正在记录，未自动下载</source>
        <translation>The logger is recording: not downloaded automatically</translation>
    </message>
    <message>
        <source>无法保存报告：%1（位于 %2）</source>
        <translation>Could not save: %1 (in %2)</translation>
    </message>
    <message>
        <source>已保存报告：%1（位于 %2）</source>
        <translation>Saved: %1 (in %2)</translation>
    </message>
</context>
<context>
    <name>CommentDialog</name>
    <message>
        <source>添加备注</source>
        <translation>Add comment</translation>
    </message>
    <message>
        <source>整个记录</source>
        <translation>Whole recording</translation>
    </message>
    <message>
        <source>%1 起 %2，%3</source>
        <translation>From %1, %2, %3</translation>
    </message>
    <message>
        <source>高于上限</source>
        <translation>above the range</translation>
    </message>
    <message>
        <source>低于下限</source>
        <translation>below the range</translation>
    </message>
    <message>
        <source>对象</source>
        <translation>About</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>纠正措施</source>
        <translation>Corrective action</translation>
    </message>
    <message>
        <source>备注存入审计追踪，不能修改或删除，只能由新的备注补充。</source>
        <translation>A comment goes into the audit trail: it cannot be changed or deleted, only followed by a later comment.</translation>
    </message>
</context>
<context>
    <name>ComparisonReport</name>
    <message>
        <source>温度湿度记录对比</source>
        <translation>Temperature and Humidity Comparison</translation>
    </message>
    <message>
        <source>%1 个记录</source>
        <translation>%1 recordings</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>湿度 %RH（虚线）</source>
        <translation>Humidity %RH (dashed)</translation>
    </message>
    <message>
        <source>%1（序列号 %2）</source>
        <translation>%1 (SN %2)</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>最低</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>最高</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>MKT</source>
        <translation>MKT</translation>
    </message>
    <message>
        <source>高于上限</source>
        <translation>Above range</translation>
    </message>
    <message>
        <source>低于下限</source>
        <translation>Below range</translation>
    </message>
    <message>
        <source>统计</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>MKT：平均动力学温度（ΔH = 83.144 kJ/mol）</source>
        <translation>MKT: mean kinetic temperature (ΔH = 83.144 kJ/mol)</translation>
    </message>
    <message>
        <source>高于上限、低于下限：温度在记录的一级报警范围之外的时间</source>
        <translation>Above and below range: time the temperature spent outside the recording&apos;s level-1 alarm range</translation>
    </message>
    <message>
        <source>记录仪 %1 的历史记录（1 次下载）</source>
        <translation>History of logger %1 (1 download)</translation>
    </message>
    <message>
        <source>记录仪 %1 的历史记录（%2 次下载）</source>
        <translation>History of logger %1 (%2 downloads)</translation>
    </message>
    <message>
        <source>对比</source>
        <translation>Comparison</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>签名</source>
        <translation>Signatures</translation>
    </message>
</context>
<context>
    <name>ComparisonWidget</name>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>对比：%1 个记录</source>
        <translation>Comparison: %1 recordings</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>关闭对比</source>
        <translation>Close comparison</translation>
    </message>
    <message>
        <source>湿度 %RH（虚线）</source>
        <translation>Humidity %RH (dashed)</translation>
    </message>
</context>
<context>
    <name>ConnectDialog</name>
    <message>
        <source>设备连接</source>
        <translation>Connect device</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>端口 %1</source>
        <translation>Port %1</translation>
    </message>
</context>
<context>
    <name>ConnectWidget</name>
    <message>
        <source>点击连接设备</source>
        <translation>Click to connect</translation>
    </message>
    <message>
        <source>正在记录</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>未在记录</source>
        <translation>Not recording</translation>
    </message>
    <message>
        <source>记录仪报警</source>
        <translation>The logger is in alarm</translation>
    </message>
    <message>
        <source>无报警</source>
        <translation>No alarm</translation>
    </message>
    <message>
        <source>断开连接</source>
        <translation>Disconnect</translation>
    </message>
</context>
<context>
    <name>DataChartWidget</name>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>日期时间</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>温度℃ </source>
        <translation>Temperature ℃ </translation>
    </message>
    <message>
        <source>湿度%</source>
        <translation>Humidity %</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>湿度</source>
        <translation>Humidity</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Comment</translation>
    </message>
</context>
<context>
    <name>DataDevInfoWidget</name>
    <message>
        <source>记录仪信息</source>
        <translation>Logger information</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>配置信息</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>开启模式</source>
        <translation>Start mode</translation>
    </message>
    <message>
        <source>停止模式</source>
        <translation>Stop mode</translation>
    </message>
    <message>
        <source>开启延迟</source>
        <translation>Start delay</translation>
    </message>
    <message>
        <source>配置时间</source>
        <translation>Configured at</translation>
    </message>
    <message>
        <source>记录间隔</source>
        <translation>Record interval</translation>
    </message>
    <message>
        <source>记录模式</source>
        <translation>Record mode</translation>
    </message>
    <message>
        <source>温度信息</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>开启时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>停止时间</source>
        <translation>Stop time</translation>
    </message>
    <message>
        <source>记录时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>记录条数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>报警设置及结果</source>
        <translation>Alarm settings and results</translation>
    </message>
    <message>
        <source>报警阈值</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>报警类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>报警延迟</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>报警时长</source>
        <translation>Alarm time</translation>
    </message>
    <message>
        <source>报警次数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>报警状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>软件</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>预约</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>满记录</source>
        <translation>Memory full</translation>
    </message>
    <message>
        <source>记录中</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>低电</source>
        <translation>Low battery</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>循环记录</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>记录满停止</source>
        <translation>Stop when full</translation>
    </message>
    <message>
        <source>累计</source>
        <translation>Cumulative</translation>
    </message>
    <message>
        <source>单一</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>请输入备注</source>
        <translation type="vanished">Enter a note</translation>
    </message>
    <message>
        <source>文件指纹</source>
        <translation>Fingerprint</translation>
    </message>
    <message>
        <source>评估</source>
        <translation>Evaluation</translation>
    </message>
    <message>
        <source>评估范围</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>高于上限</source>
        <translation>Time above</translation>
    </message>
    <message>
        <source>低于下限</source>
        <translation>Time below</translation>
    </message>
    <message>
        <source>平均动力学温度</source>
        <translation>Mean kinetic temp.</translation>
    </message>
    <message>
        <source>超限次数</source>
        <translation>Excursions</translation>
    </message>
    <message>
        <source>最长超限</source>
        <translation>Longest excursion</translation>
    </message>
    <message>
        <source>最长超限开始</source>
        <translation>Longest began</translation>
    </message>
    <message>
        <source>活化能</source>
        <translation>Activation energy</translation>
    </message>
    <message>
        <source>记录文件的 SHA-256，可选中复制</source>
        <translation>SHA-256 of the recording file; select it to copy</translation>
    </message>
    <message>
        <source>无 (TL1、TH1 均关闭)</source>
        <translation>none (TL1 and TH1 off)</translation>
    </message>
    <message>
        <source>无下限</source>
        <translation>no lower limit</translation>
    </message>
    <message>
        <source>无上限</source>
        <translation>no upper limit</translation>
    </message>
    <message>
        <source>时区</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>已选定 %1 … %2</source>
        <translation>Chosen %1 … %2</translation>
    </message>
    <message>
        <source>记录仪备注</source>
        <translation>Logger note</translation>
    </message>
    <message>
        <source>审核</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>输入对此记录的备注，按回车保存</source>
        <translation>Type a note about this recording and press Enter to keep it</translation>
    </message>
</context>
<context>
    <name>DataInfoTbWidget</name>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>设备信息</source>
        <translation>Device info</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Show all</translation>
    </message>
    <message>
        <source>隐藏报警标记</source>
        <translation>Hide alarm marks</translation>
    </message>
    <message>
        <source>显示报警标记</source>
        <translation>Show alarm marks</translation>
    </message>
</context>
<context>
    <name>DataShowWidget</name>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>湿度</source>
        <translation>Humidity</translation>
    </message>
    <message>
        <source>温度:</source>
        <translation>Temp.:</translation>
    </message>
    <message>
        <source>湿度:</source>
        <translation>Humidity:</translation>
    </message>
    <message>
        <source>干燥</source>
        <translation>Dry</translation>
    </message>
    <message>
        <source>低温</source>
        <translation>Cold</translation>
    </message>
    <message>
        <source>适宜</source>
        <translation>Ideal</translation>
    </message>
    <message>
        <source>潮湿</source>
        <translation>Humid</translation>
    </message>
    <message>
        <source>高温</source>
        <translation>Hot</translation>
    </message>
    <message>
        <source>温度记录数据</source>
        <translation>Recorded data</translation>
    </message>
    <message>
        <source>此页最小</source>
        <translation>Page minimum</translation>
    </message>
    <message>
        <source>此页超高温阈值个数</source>
        <translation>High temperature alarms on page</translation>
    </message>
    <message>
        <source>此页最大</source>
        <translation>Page maximum</translation>
    </message>
    <message>
        <source>此页超低温阈值个数</source>
        <translation>Low temperature alarms on page</translation>
    </message>
    <message>
        <source>此页开始时间</source>
        <translation>Page start</translation>
    </message>
    <message>
        <source>此页结束时间</source>
        <translation>Page end</translation>
    </message>
    <message>
        <source>此页超高湿阈值个数</source>
        <translation>High humidity alarms on page</translation>
    </message>
    <message>
        <source>此页超低湿阈值个数</source>
        <translation>Low humidity alarms on page</translation>
    </message>
    <message>
        <source>温度湿度记录报告</source>
        <translation>Temperature and Humidity Report</translation>
    </message>
    <message>
        <source>记录仪信息</source>
        <translation>Logger information</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>S/N 序列号</source>
        <translation>S/N</translation>
    </message>
    <message>
        <source>文件备注</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>配置信息</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>温度信息</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>报警设置及结果</source>
        <translation>Alarm settings and results</translation>
    </message>
    <message>
        <source>软件</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>预约</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>满记录</source>
        <translation>Memory full</translation>
    </message>
    <message>
        <source>记录中</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>低电</source>
        <translation>Low battery</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>开启模式</source>
        <translation>Start mode</translation>
    </message>
    <message>
        <source>配置时间</source>
        <translation>Configured at</translation>
    </message>
    <message>
        <source>停止模式</source>
        <translation>Stop mode</translation>
    </message>
    <message>
        <source>记录间隔</source>
        <translation>Record interval</translation>
    </message>
    <message>
        <source>开启延迟</source>
        <translation>Start delay</translation>
    </message>
    <message>
        <source>记录模式</source>
        <translation>Record mode</translation>
    </message>
    <message>
        <source>循环记录</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>记录满停止</source>
        <translation>Stop when full</translation>
    </message>
    <message>
        <source>开启时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>停止时间</source>
        <translation>Stop time</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>记录时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>记录条数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>报警阈值</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>报警类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>报警延迟</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>报警时长</source>
        <translation>Alarm time</translation>
    </message>
    <message>
        <source>报警次数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>报警状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>累计</source>
        <translation>Cumulative</translation>
    </message>
    <message>
        <source>单一</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>报表创建时间</source>
        <translation>Report created</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>无法导出，请先下载数据文件并打开它</source>
        <translation>Cannot export: download a recording and open it first</translation>
    </message>
    <message>
        <source>%1 (最长 %2)</source>
        <translation>%1 (longest %2)</translation>
    </message>
    <message>
        <source>平均动力学温度</source>
        <translation>Mean kinetic temp.</translation>
    </message>
    <message>
        <source>判定范围</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>高于范围时长</source>
        <translation>Time above range</translation>
    </message>
    <message>
        <source>超限次数</source>
        <translation>Excursions</translation>
    </message>
    <message>
        <source>低于范围时长</source>
        <translation>Time below range</translation>
    </message>
    <message>
        <source>最长超限开始</source>
        <translation>Longest started</translation>
    </message>
    <message>
        <source>第 %1 页，共 %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>评估</source>
        <translation>Evaluation</translation>
    </message>
    <message>
        <source>活化能</source>
        <translation>Activation energy</translation>
    </message>
    <message>
        <source>文件指纹</source>
        <translation>Fingerprint</translation>
    </message>
    <message>
        <source>超限记录</source>
        <translation>Excursions</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Side</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>峰值</source>
        <translation>Peak</translation>
    </message>
    <message>
        <source>高于范围</source>
        <translation>Above</translation>
    </message>
    <message>
        <source>低于范围</source>
        <translation>Below</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>摘要</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>图表</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>低于下限</source>
        <translation>Below low limit</translation>
    </message>
    <message>
        <source>高于上限</source>
        <translation>Above high limit</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx)</source>
        <translation>Excel workbook (*.xlsx)</translation>
    </message>
    <message>
        <source>对比只能导出为PDF</source>
        <translation>A comparison can only be exported as PDF</translation>
    </message>
    <message>
        <source>无法导出 %1：%2</source>
        <translation>Could not export %1: %2</translation>
    </message>
    <message>
        <source>已导出 %1，保存在 %2</source>
        <translation>Exported %1 to %2</translation>
    </message>
    <message>
        <source>已导出 %1，保存在 %2；没有可以打开它的程序</source>
        <translation>Exported %1 to %2; no program could open it</translation>
    </message>
    <message>
        <source>湿度低于下限</source>
        <translation>Humidity below low limit</translation>
    </message>
    <message>
        <source>湿度高于上限</source>
        <translation>Humidity above high limit</translation>
    </message>
    <message>
        <source>记录不完整：%1 / %2 个样本</source>
        <translation>incomplete recording: %1 of %2 samples</translation>
    </message>
    <message>
        <source>%1（另有 %2 条已被覆盖）</source>
        <translation>%1 (%2 more overwritten)</translation>
    </message>
    <message>
        <source>%1 小时 %2 分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>无判定限值</source>
        <translation>No limits to judge against</translation>
    </message>
    <message>
        <source>无有效样本，无法判定</source>
        <translation>No valid samples to judge</translation>
    </message>
    <message>
        <source>符合限值</source>
        <translation>Within limits</translation>
    </message>
    <message>
        <source>1 次超限</source>
        <translation>1 excursion</translation>
    </message>
    <message>
        <source>%1 次超限</source>
        <translation>%1 excursions</translation>
    </message>
    <message>
        <source>高于上限 %1</source>
        <translation>%1 above</translation>
    </message>
    <message>
        <source>低于下限 %1</source>
        <translation>%1 below</translation>
    </message>
    <message>
        <source>超出限值：%1</source>
        <translation>Out of limits: %1</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>记录仪本地时间</source>
        <translation>logger local time</translation>
    </message>
    <message>
        <source>。文件中的样本少于其文件头所记，下载或复制未完成；缺少的样本不在图表、表格和导出中。</source>
        <translation>. The file holds fewer samples than its header says: a download or a copy did not finish. The missing samples are not in the chart, the table or the exports.</translation>
    </message>
    <message>
        <source>时区</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>已覆盖记录条数</source>
        <translation>Overwritten samples</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>… 另有 %1 条，见第 %2 页</source>
        <translation>… %1 more on page %2</translation>
    </message>
    <message>
        <source>… 全文见第 %1 页</source>
        <translation>… in full on page %1</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>登录名</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>含义</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>作者</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>针对</source>
        <translation>Concerning</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>签名</source>
        <translation>Signatures</translation>
    </message>
    <message>
        <source>评论</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>审核记录</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>审核</source>
        <translation>Reviewed</translation>
    </message>
    <message>
        <source>批准</source>
        <translation>Approved</translation>
    </message>
    <message>
        <source>拒绝</source>
        <translation>Rejected</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Revoked</translation>
    </message>
    <message>
        <source>整个记录</source>
        <translation>whole recording</translation>
    </message>
    <message>
        <source>备注：%1</source>
        <translation>Note: %1</translation>
    </message>
    <message>
        <source>原因：%1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>纠正措施：%1</source>
        <translation>Corrective action: %1</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>原因或备注</source>
        <translation>Reason or note</translation>
    </message>
    <message>
        <source>纠正措施</source>
        <translation>Corrective action</translation>
    </message>
</context>
<context>
    <name>DateTimeWidget</name>
    <message>
        <source>一</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>二</source>
        <translation>Tu</translation>
    </message>
    <message>
        <source>三</source>
        <translation>We</translation>
    </message>
    <message>
        <source>四</source>
        <translation>Th</translation>
    </message>
    <message>
        <source>五</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>六</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>此刻</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>DevSettingInfo</name>
    <message>
        <source>注意配置设备会清除
设备中所有记录的数据</source>
        <translation>Writing the configuration erases
all recorded data in the logger</translation>
    </message>
    <message>
        <source>配置成功</source>
        <translation>Configuration written</translation>
    </message>
    <message>
        <source>配置失败</source>
        <translation>Configuration not confirmed by the logger</translation>
    </message>
    <message>
        <source>是否保存设备设置</source>
        <translation>Save the device settings?</translation>
    </message>
    <message>
        <source>请加载%1预设配置!</source>
        <translation>Please load a preset made for the %1!</translation>
    </message>
    <message>
        <source>加载预设成功!</source>
        <translation>Preset loaded!</translation>
    </message>
    <message>
        <source>预设</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>设备版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>SN</source>
        <translation>S/N</translation>
    </message>
    <message>
        <source>文件备注</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>传感器</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>温度单位</source>
        <translation>Temperature unit</translation>
    </message>
    <message>
        <source>日期时间</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>屏幕模式</source>
        <translation>Screen mode</translation>
    </message>
    <message>
        <source>背光灯</source>
        <translation>Backlight</translation>
    </message>
    <message>
        <source>蜂鸣器</source>
        <translation>Buzzer</translation>
    </message>
    <message>
        <source>LED指示</source>
        <translation>LED</translation>
    </message>
    <message>
        <source>临时PDF</source>
        <translation>Temporary PDF</translation>
    </message>
    <message>
        <source>记录模式</source>
        <translation>Record mode</translation>
    </message>
    <message>
        <source>开启模式</source>
        <translation>Start mode</translation>
    </message>
    <message>
        <source>开启延迟</source>
        <translation>Start delay</translation>
    </message>
    <message>
        <source>记录间隔</source>
        <translation>Record interval</translation>
    </message>
    <message>
        <source>按键停止</source>
        <translation>Stop by button</translation>
    </message>
    <message>
        <source>重复启动</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>阈值</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>延迟</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>内置温度传感器</source>
        <translation>Internal temperature sensor</translation>
    </message>
    <message>
        <source>外置温度传感器</source>
        <translation>External temperature probe</translation>
    </message>
    <message>
        <source>外置温湿度传感器</source>
        <translation>External temp./humidity probe</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>Follow computer</translation>
    </message>
    <message>
        <source>手动</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>常亮</source>
        <translation>Always on</translation>
    </message>
    <message>
        <source>自动熄屏</source>
        <translation>Auto off</translation>
    </message>
    <message>
        <source>循环记录</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>记录满停止</source>
        <translation>Stop when full</translation>
    </message>
    <message>
        <source>软件</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>预约</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>禁止</source>
        <translation>Not allowed</translation>
    </message>
    <message>
        <source>允许</source>
        <translation>Allowed</translation>
    </message>
    <message>
        <source>请输入备注</source>
        <translation>Enter a note</translation>
    </message>
    <message>
        <source>设备中没有记录，写入配置不会清除数据。</source>
        <translation>The logger holds no records; the write erases nothing.</translation>
    </message>
    <message>
        <source>设备中有 1 条记录，写入配置会将它清除。
先下载可以保留这条记录。</source>
        <translation>The logger holds 1 record that will be erased by the write.
Download it first to keep it.</translation>
    </message>
    <message>
        <source>设备中有 %1 条记录，写入配置会将它们全部清除。
先下载可以保留这些记录。</source>
        <translation>The logger holds %1 records that will be erased by the write.
Download them first to keep them.</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>先下载</source>
        <translation>Download first</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>仅限字母、数字和下划线，最多 20 个；不能有空格或连字符</source>
        <translation>Letters, digits and _ only, up to 20; no spaces or hyphens</translation>
    </message>
    <message>
        <source>写入设备配置</source>
        <translation>Write the configuration</translation>
    </message>
</context>
<context>
    <name>DownloadDialog</name>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>下载数据中...</source>
        <translation>Downloading data...</translation>
    </message>
    <message>
        <source>取消下载</source>
        <translation>Cancel download</translation>
    </message>
</context>
<context>
    <name>EvaluationEditor</name>
    <message>
        <source>评估设置</source>
        <translation>Judge by</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>用记录仪限值</source>
        <translation>Logger&apos;s limits</translation>
    </message>
    <message>
        <source>下限须低于上限</source>
        <translation>Low must be below high</translation>
    </message>
    <message>
        <source>本记录仪的所有记录、报告和工作簿都按此评估</source>
        <translation>Every recording, report and workbook of this logger is judged by it</translation>
    </message>
    <message>
        <source>按记录仪的一级限值 TL1、TH1 评估</source>
        <translation>Judged by the logger&apos;s level-1 limits TL1 and TH1</translation>
    </message>
</context>
<context>
    <name>ExportMenu</name>
    <message>
        <source>签名报告</source>
        <translation>Sign report…</translation>
    </message>
</context>
<context>
    <name>FileButton</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>命名错误</source>
        <translation>Invalid name</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>名称不能为空，也不能包含以下字符：/ \ . : *</source>
        <translation>A name may not be empty or contain any of these characters: / \ . : *</translation>
    </message>
    <message>
        <source>此记录的审计追踪</source>
        <translation>Audit trail of this recording</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>连接中断，请重新拔插usb后连接</source>
        <translation>Connection lost. Unplug and replug the USB cable, then connect again</translation>
    </message>
    <message>
        <source>无可用设备</source>
        <translation>No logger found</translation>
    </message>
    <message>
        <source>连接失败，请查看帮助并安装USB驱动后重试</source>
        <translation>Connection failed. See Help about USB access and try again</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>写入设备配置失败</source>
        <translation>Could not write the logger&apos;s configuration</translation>
    </message>
    <message>
        <source>读取设备配置失败</source>
        <translation>Could not read the logger&apos;s configuration</translation>
    </message>
    <message>
        <source>写入设备备注失败</source>
        <translation>Could not write the logger&apos;s note</translation>
    </message>
    <message>
        <source>读取设备备注失败</source>
        <translation>Could not read the logger&apos;s note</translation>
    </message>
    <message>
        <source>请连接设备后重试</source>
        <translation>Connect a logger and try again</translation>
    </message>
    <message>
        <source>恢复出厂设置成功</source>
        <translation>Factory settings restored</translation>
    </message>
    <message>
        <source>恢复出厂设置失败</source>
        <translation>Factory reset failed</translation>
    </message>
    <message>
        <source>设置设备语言成功</source>
        <translation>Logger language set</translation>
    </message>
    <message>
        <source>设置设备语言失败</source>
        <translation>Could not set the logger language</translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation>Download complete</translation>
    </message>
    <message>
        <source>下载失败</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>无记录数据，下载失败</source>
        <translation>The logger holds no records; nothing was downloaded</translation>
    </message>
    <message>
        <source>读取异常，下载失败</source>
        <translation>Read error; download failed</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>打开失败!</source>
        <translation>Could not open the file!</translation>
    </message>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>命名已存在</source>
        <translation>That name already exists</translation>
    </message>
    <message>
        <source>无法保存记录文件，下载失败</source>
        <translation>The recording could not be saved; download failed</translation>
    </message>
    <message>
        <source>删除失败</source>
        <translation>Could not delete the recording</translation>
    </message>
    <message>
        <source>无法打开记录档案库，仍使用记录文件夹</source>
        <translation>The archive cannot be opened; working from the recordings folder</translation>
    </message>
    <message>
        <source>对比</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>超限</source>
        <translation>out of range</translation>
    </message>
    <message>
        <source>不在本机</source>
        <translation>not on this computer</translation>
    </message>
    <message>
        <source>还有 %1 个记录，请细化搜索</source>
        <translation>%1 more, refine the search</translation>
    </message>
    <message>
        <source>请选择 2 到 8 个记录进行对比</source>
        <translation>Select 2 to 8 recordings to compare</translation>
    </message>
    <message>
        <source>无法读取历史记录</source>
        <translation>Could not read the history</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>设备已断开，修改的设置没有写入设备</source>
        <translation>The logger was disconnected; the changed settings were not written to it</translation>
    </message>
    <message>
        <source>将 %1（SN %2）恢复出厂设置？
报警阈值、设备名称、备注和记录间隔都会被重置。</source>
        <translation>Restore the factory settings of %1 (SN %2)?
Its alarm limits, name, note and record interval will be reset.</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Restore factory settings</translation>
    </message>
    <message>
        <source>没有匹配的记录</source>
        <translation>No recordings match</translation>
    </message>
    <message>
        <source>没有匹配的记录（开始日期晚于结束日期，已按 %1 至 %2 搜索）</source>
        <translation>No recordings match (the start date was after the end date; searched %1 to %2)</translation>
    </message>
    <message>
        <source>永久删除</source>
        <translation>Delete permanently</translation>
    </message>
    <message>
        <source>无法移到回收站，删除后将无法恢复：%1
是否永久删除？</source>
        <translation>These cannot be moved to the trash and would be gone for good: %1
Delete them permanently?</translation>
    </message>
    <message>
        <source>团队档案库</source>
        <translation>Team archive</translation>
    </message>
    <message>
        <source>%1 需要密码（只在本次运行中记住）：</source>
        <translation>%1 needs a password (remembered for this run only):</translation>
    </message>
    <message>
        <source>setting.ini 中存有档案库的密码，请把它移到 ~/.pgpass</source>
        <translation>setting.ini holds the archive&apos;s password: please move it to ~/.pgpass</translation>
    </message>
    <message>
        <source>数据未核验</source>
        <translation>figures not verified</translation>
    </message>
    <message>
        <source>评估设置未能存入记录档案库，只用于本次显示：%1</source>
        <translation>The evaluation could not be kept in the archive and applies to this view only: %1</translation>
    </message>
    <message>
        <source>无法读取此记录</source>
        <translation>This recording cannot be read</translation>
    </message>
    <message>
        <source>1 条审计记录等待写入档案</source>
        <translation>1 audit entry is waiting for the archive</translation>
    </message>
    <message>
        <source>%1 条审计记录等待写入档案</source>
        <translation>%1 audit entries are waiting for the archive</translation>
    </message>
    <message>
        <source>审计记录校验失败：%1</source>
        <translation>The audit trail does not verify: %1</translation>
    </message>
    <message>
        <source>已签署：%1</source>
        <translation>Signed: %1</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>签署确认</source>
        <translation>Confirm signature</translation>
    </message>
    <message>
        <source>%1，请再次输入密码以签署</source>
        <translation type="vanished">%1, enter your password again to sign</translation>
    </message>
    <message>
        <source>您登录团队记录档案库所用的数据库密码</source>
        <translation>The database password you log in to the team archive with</translation>
    </message>
    <message>
        <source>您在这台计算机上的账户密码</source>
        <translation>Your account password on this computer</translation>
    </message>
    <message>
        <source>请再次输入密码以签署</source>
        <translation>Enter your password again to sign</translation>
    </message>
    <message>
        <source>签署人：%1</source>
        <translation>Signer: %1</translation>
    </message>
</context>
<context>
    <name>PersetButton</name>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>点击应用预设</source>
        <translation>Click to apply this preset</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
</context>
<context>
    <name>PresetWidget</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>暂无预设，请新建预设</source>
        <translation>No presets yet. Create one.</translation>
    </message>
    <message>
        <source>新建预设</source>
        <translation>New preset</translation>
    </message>
    <message>
        <source>输入预设名称</source>
        <translation>Preset name</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>重命名预设</source>
        <translation>Rename preset</translation>
    </message>
</context>
<context>
    <name>QCPToolTip</name>
    <message>
        <source>低于下限</source>
        <translation>below low limit</translation>
    </message>
    <message>
        <source>高于上限</source>
        <translation>above high limit</translation>
    </message>
</context>
<context>
    <name>ReasonDialog</name>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>%1：请填写原因</source>
        <translation>%1: please give a reason</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ReportSigning</name>
    <message>
        <source>选择要签名的 PDF 报告</source>
        <translation>Choose the PDF report to sign</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>选择签名证书</source>
        <translation>Choose the signing certificate</translation>
    </message>
    <message>
        <source>PKCS#12 证书 (*.p12 *.pfx)</source>
        <translation>PKCS#12 certificates (*.p12 *.pfx)</translation>
    </message>
    <message>
        <source>签名报告</source>
        <translation>Sign report…</translation>
    </message>
    <message>
        <source>%1 的密码：</source>
        <translation>Password of %1:</translation>
    </message>
    <message>
        <source>无法签名 %1：%2</source>
        <translation>Cannot sign %1: %2</translation>
    </message>
    <message>
        <source>无法使用证书 %1：密码错误，或不是 PKCS#12 文件</source>
        <translation>Cannot use the certificate %1: wrong password, or not a PKCS#12 file</translation>
    </message>
    <message>
        <source>无法读取证书 %1</source>
        <translation>Cannot read the certificate %1</translation>
    </message>
    <message>
        <source>已签名 %1（签名人：%2）</source>
        <translation>Signed %1 (signer: %2)</translation>
    </message>
</context>
<context>
    <name>ReviewDialog</name>
    <message>
        <source>签署记录</source>
        <translation>Sign recording</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>文件指纹</source>
        <translation>Fingerprint</translation>
    </message>
    <message>
        <source>签署人</source>
        <translation>Signer</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Revoke</translation>
    </message>
    <message>
        <source>含义</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>说明（撤销时必填）</source>
        <translation>Comment (required to revoke)</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>签名以您的姓名、时间和含义记入审计追踪，并与此记录的指纹绑定。签署时须再次输入密码。</source>
        <translation>The signature goes into the audit trail with your name, the time and its meaning, bound to this recording&apos;s fingerprint. Signing asks for your password again.</translation>
    </message>
    <message>
        <source>您的角色不能签署此记录档案库中的记录。</source>
        <translation>Your role may not sign recordings of this archive.</translation>
    </message>
    <message>
        <source>撤销须在“说明”中写明原因。</source>
        <translation>To revoke, give the reason under “Comment”.</translation>
    </message>
    <message>
        <source>此记录已签署为“%1”：须先撤销该签名，才能签署其他含义。</source>
        <translation>This recording is signed as “%1”: revoke that signature before signing another meaning.</translation>
    </message>
</context>
<context>
    <name>ReviewFlow</name>
    <message>
        <source>此记录不在记录档案库中，无法审核</source>
        <translation>This recording is not in the archive and cannot be reviewed</translation>
    </message>
    <message>
        <source>已签署：%1</source>
        <translation>Signed: %1</translation>
    </message>
    <message>
        <source>密码错误。再错 %1 次，签署将锁定 %2 分钟。</source>
        <translation>Wrong password. %1 more wrong and signing locks for %2 minutes.</translation>
    </message>
    <message>
        <source>密码错误次数过多，签署已锁定至 %1</source>
        <translation>Too many wrong passwords: signing is locked until %1</translation>
    </message>
    <message>
        <source>无法签署：%1</source>
        <translation>Cannot sign: %1</translation>
    </message>
    <message>
        <source>签署失败：%1</source>
        <translation>Signing failed: %1</translation>
    </message>
</context>
<context>
    <name>ReviewPanel</name>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;&#x3000;%2（%3）&#x3000;%4</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; · %2 (%3) · %4</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;&#x3000;%2&lt;br&gt;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#78787C&quot;&gt;%3，%4&lt;/span&gt;</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; · %2&lt;br&gt;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#78787C&quot;&gt;%3, %4&lt;/span&gt;</translation>
    </message>
    <message>
        <source>添加备注</source>
        <translation>Add comment</translation>
    </message>
    <message>
        <source>签署</source>
        <translation>Sign</translation>
    </message>
    <message>
        <source>不在记录档案库中，无法审核</source>
        <translation>Not in the archive: cannot be reviewed</translation>
    </message>
    <message>
        <source>未审核</source>
        <translation>Not yet reviewed</translation>
    </message>
    <message>
        <source>签名已撤销，待重新签署</source>
        <translation>Signature revoked, awaiting a new one</translation>
    </message>
    <message>
        <source>已签署：%1</source>
        <translation>Signed: %1</translation>
    </message>
</context>
<context>
    <name>SelectDialog</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>SettingMenu</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Factory reset</translation>
    </message>
    <message>
        <source>自动下载</source>
        <translation>Auto download</translation>
    </message>
    <message>
        <source>开启</source>
        <translation>On</translation>
    </message>
    <message>
        <source>PDF 报告</source>
        <translation>PDF report</translation>
    </message>
    <message>
        <source>表格文件</source>
        <translation>Spreadsheet</translation>
    </message>
    <message>
        <source>报告文件夹</source>
        <translation>Report folder</translation>
    </message>
    <message>
        <source>Excel 工作簿</source>
        <translation>Excel workbook</translation>
    </message>
    <message>
        <source>团队档案库</source>
        <translation>Team archive</translation>
    </message>
    <message>
        <source>本机档案库</source>
        <translation>Local archive</translation>
    </message>
    <message>
        <source>连接未加密</source>
        <translation>The connection is not encrypted</translation>
    </message>
    <message>
        <source>连接已加密（%1）</source>
        <translation>The connection is encrypted (%1)</translation>
    </message>
    <message>
        <source>已核对服务器证书 %1 及其主机名，CA 文件：%2</source>
        <translation>Server certificate %1 and its host name checked, CA file: %2</translation>
    </message>
    <message>
        <source>已核对服务器证书 %1，未核对主机名，CA 文件：%2</source>
        <translation>Server certificate %1 checked, its host name not, CA file: %2</translation>
    </message>
    <message>
        <source>未核对服务器证书 %1</source>
        <translation>Server certificate %1 not checked</translation>
    </message>
    <message>
        <source>网络上的团队档案库请在地址中加上 sslmode=verify-full&amp;sslrootcert=CA 文件</source>
        <translation>For a team archive over a network, add sslmode=verify-full&amp;sslrootcert=CA file to its address</translation>
    </message>
    <message>
        <source>团队档案库（已加密）</source>
        <translation>Team archive (encrypted)</translation>
    </message>
    <message>
        <source>团队档案库（未加密）</source>
        <translation>Team archive (not encrypted)</translation>
    </message>
    <message>
        <source>审计追踪</source>
        <translation>Audit trail</translation>
    </message>
    <message>
        <source>要求填写原因</source>
        <translation>Ask for a reason</translation>
    </message>
</context>
<context>
    <name>TbWidget</name>
    <message>
        <source>进入设备设置</source>
        <translation>Device settings</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>结束记录</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>开始记录</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>退出设备设置</source>
        <translation>Close settings</translation>
    </message>
    <message>
        <source>未找到帮助文档</source>
        <translation>Help document not found</translation>
    </message>
    <message>
        <source>无法打开帮助文档</source>
        <translation>Could not open the help document</translation>
    </message>
    <message>
        <source>自动下载已开启，之后接入的记录仪将自动下载</source>
        <translation>Automatic download on: loggers plugged in from now on are downloaded</translation>
    </message>
    <message>
        <source>自动下载已关闭</source>
        <translation>Automatic download off</translation>
    </message>
    <message>
        <source>自动下载的报告文件夹</source>
        <translation>Folder for the automatic reports</translation>
    </message>
    <message>
        <source>报告将保存到 %1</source>
        <translation>Reports are written to %1</translation>
    </message>
</context>
<context>
    <name>WaitProgressDialog</name>
    <message>
        <source>正在导出</source>
        <translation>Exporting...</translation>
    </message>
    <message>
        <source>导出完成</source>
        <translation>Export finished</translation>
    </message>
</context>
</TS>
