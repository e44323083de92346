<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!--
  English texts of the templates that have an English variant: 1011 (the
  poll's progress dialog) and 1022 (the alarm shielding dialog). Chosen at
  run time when the system locale is English; Chinese otherwise.

  A context is the <class> of the template's .ui file, which is also the
  dialog's C++ class: uic looks every text up as
  QCoreApplication::translate("<class>", "<Chinese text>"). The source texts
  must match the .ui texts byte for byte (UTF-8).
-->
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>CPollProgressDlg</name>
    <message>
        <source>正在进行轮徇，请稍等...</source>
        <translation>Polling is, please wait........</translation>
    </message>
</context>
<context>
    <name>CAlarmShieldDlg</name>
    <message>
        <source>告警屏蔽设置</source>
        <translation>Alarm settings shielding</translation>
    </message>
    <message>
        <source>屏蔽设置</source>
        <translation>Alarm settings shielding</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
