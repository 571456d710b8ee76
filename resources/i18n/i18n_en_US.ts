<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
    <context>
        <name>FormAbout</name>
        <message>
            <source>Form</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Version</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>MSerialPort</name>
        <message>
            <source>打开失败！</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>MainWindow</name>
        <message>
            <source>MainWindow</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>型号：</source>
            <translation>Model:</translation>
        </message>
        <message>
            <source>固件版本：</source>
            <translation>Firmware Version:</translation>
        </message>
        <message>
            <source>频率范围：</source>
            <translation>Frequency Range:</translation>
        </message>
        <message>
            <source>序列码：</source>
            <translation>SN:</translation>
        </message>
        <message>
            <source>用户参数</source>
            <translation>User Parameter</translation>
        </message>
        <message>
            <source>内部参数调整</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>MR-460 Adjustment</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件(&amp;F)</source>
            <translation>&amp;File</translation>
        </message>
        <message>
            <source>设备(&amp;D)</source>
            <translation>&amp;Device</translation>
        </message>
        <message>
            <source>串口(&amp;S)</source>
            <translation>&amp;Serial Port</translation>
        </message>
        <message>
            <source>&amp;Language</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>帮助(&amp;H)</source>
            <translation>&amp;Help</translation>
        </message>
        <message>
            <source>toolBar</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开配置文件</source>
            <translation>Load Config</translation>
        </message>
        <message>
            <source>保存配置文件</source>
            <translation>Save Config</translation>
        </message>
        <message>
            <source>关闭</source>
            <translation>Disable</translation>
        </message>
        <message>
            <source>读取设备信息</source>
            <translation>Read Device Info</translation>
        </message>
        <message>
            <source>读取所有参数</source>
            <translation>Read All Parameter</translation>
        </message>
        <message>
            <source>写入所有参数</source>
            <translation>Write All Parameter</translation>
        </message>
        <message>
            <source>打开配置窗口</source>
            <translation>Open Config Form</translation>
        </message>
        <message>
            <source>English</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>简体中文</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>关于</source>
            <translation>About</translation>
        </message>
        <message>
            <source>打开配置</source>
            <translation>Load Config</translation>
        </message>
        <message>
            <source>保存配置</source>
            <translation>Save Config</translation>
        </message>
        <message>
            <source>读取设备</source>
            <translation>Read Device</translation>
        </message>
        <message>
            <source>配置串口</source>
            <translation>Port Config</translation>
        </message>
        <message>
            <source>串口未打开，请检查！</source>
            <translation>Please open the serial port before this operation!</translation>
        </message>
        <message>
            <source>LX-815 配置工具</source>
            <translation>LX-815 Config Tool</translation>
        </message>
        <message>
            <source>错误</source>
            <translation>Error</translation>
        </message>
        <message>
            <source>读取成功！</source>
            <translation>Read success!</translation>
        </message>
        <message>
            <source>读取失败！</source>
            <translation>Failed to read!</translation>
        </message>
        <message>
            <source>设置成功！</source>
            <translation>Set success!</translation>
        </message>
        <message>
            <source>设置失败！</source>
            <translation>Failed to set!</translation>
        </message>
        <message>
            <source>Error</source>
            <translation>Error</translation>
        </message>
        <message>
            <source>串口已打开</source>
            <translation>Serial port is opened</translation>
        </message>
        <message>
            <source>串口已关闭</source>
            <translation>Serial port is closed</translation>
        </message>
    </context>
</TS>
