<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
    <context>
        <name>CalibrationRun</name>
        <message>
            <source>校准已取消</source>
            <translation>calibration cancelled</translation>
        </message>
        <message>
            <source>%1：写入 %2，模块中为 %3</source>
            <translation>%1: wrote %2, the module holds %3</translation>
        </message>
        <message>
            <source>%1：发射达到 %2 秒的上限，已停止发射</source>
            <translation>%1: the transmission reached its limit of %2 s and was stopped</translation>
        </message>
        <message>
            <source>模块没有确认回到正常模式，它可能仍在发射：请立即断开它的电源</source>
            <translation>the module did not confirm going back to normal mode and may still be transmitting: switch its power off now</translation>
        </message>
    </context>
    <context>
        <name>CalibrationSearch</name>
        <message>
            <source>%1 没有容差内的值：%2 时为 %3，%4 时为 %5，目标 %6 ± %7</source>
            <translation>no value of %1 is within tolerance: %3 at %2, %5 at %4, target %6 ± %7</translation>
        </message>
        <message>
            <source>%1 在 %2 时只能达到 %3，目标 %4</source>
            <translation>%1 reaches only %3 at %2, target %4</translation>
        </message>
        <message>
            <source>%1 的响应不单调：%2 时为 %3，%4 时为 %5，%6 时为 %7</source>
            <translation>%1 does not respond monotonically: %3 at %2, %5 at %4, %7 at %6</translation>
        </message>
        <message>
            <source>%1 在 %2 次读数内未达到目标 %3 ± %4，最接近的是 %5 时的 %6</source>
            <translation>%1 did not reach target %3 ± %4 in %2 readings; closest: %6 at %5</translation>
        </message>
    </context>
    <context>
        <name>CalibrationWizard</name>
        <message>
            <source>校准向导</source>
            <translation>Calibration Wizard</translation>
        </message>
        <message>
            <source>配方：%1，人工读数</source>
            <translation>Recipe: %1, readings typed in by hand</translation>
        </message>
        <message>
            <source>配方：%1，仪器：%2</source>
            <translation>Recipe: %1, instrument: %2</translation>
        </message>
        <message>
            <source>目标</source>
            <translation>Target</translation>
        </message>
        <message>
            <source>校准前</source>
            <translation>Before</translation>
        </message>
        <message>
            <source>值</source>
            <translation>Value</translation>
        </message>
        <message>
            <source>读数</source>
            <translation>Reading</translation>
        </message>
        <message>
            <source>目标 ± 容差</source>
            <translation>Target ± tolerance</translation>
        </message>
        <message>
            <source>读数次数</source>
            <translation>Readings</translation>
        </message>
        <message>
            <source>结果</source>
            <translation>Result</translation>
        </message>
        <message>
            <source>确定</source>
            <translation>Enter</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>关闭</source>
            <translation>Close</translation>
        </message>
        <message>
            <source>校准进行中…</source>
            <translation>Calibrating…</translation>
        </message>
        <message>
            <source>合格</source>
            <translation>passed</translation>
        </message>
        <message>
            <source>已完成</source>
            <translation>Done</translation>
        </message>
        <message>
            <source>请输入一个数字</source>
            <translation>Type a number</translation>
        </message>
        <message>
            <source>未进行</source>
            <translation>not run</translation>
        </message>
        <message>
            <source>校准完成，已保存为 %1</source>
            <translation>Calibration complete, saved as %1</translation>
        </message>
        <message>
            <source>校准失败：%1</source>
            <translation>Calibration failed: %1</translation>
        </message>
        <message>
            <source>正在取消…</source>
            <translation>Cancelling…</translation>
        </message>
    </context>
    <context>
        <name>ChannelUndo</name>
        <message>
            <source>编辑频道 %1</source>
            <translation>Edit Channel %1</translation>
        </message>
        <message>
            <source>导入 CSV</source>
            <translation>Import CSV</translation>
        </message>
        <message>
            <source>粘贴频道</source>
            <translation>Paste Channel</translation>
        </message>
        <message>
            <source>清除频道 %1</source>
            <translation>Clear Channel %1</translation>
        </message>
        <message>
            <source>打开配置</source>
            <translation>Load Config</translation>
        </message>
        <message>
            <source>载入历史记录</source>
            <translation>Load from History</translation>
        </message>
        <message>
            <source>从模块读取</source>
            <translation>Read from Module</translation>
        </message>
        <message>
            <source>写入时清空的频道</source>
            <translation>Channels Emptied by the Write</translation>
        </message>
        <message>
            <source>撤销 %1</source>
            <translation>Undo %1</translation>
        </message>
        <message>
            <source>撤销</source>
            <translation>Undo</translation>
        </message>
        <message>
            <source>重做 %1</source>
            <translation>Redo %1</translation>
        </message>
        <message>
            <source>重做</source>
            <translation>Redo</translation>
        </message>
    </context>
    <context>
        <name>ChartExport</name>
        <message>
            <source>图表只能保存为 PNG 或 SVG 文件：%1</source>
            <translation>A chart can only be saved as a PNG or SVG file: %1</translation>
        </message>
        <message>
            <source>无法写入文件 %1：%2</source>
            <translation>Cannot write the file %1: %2</translation>
        </message>
    </context>
    <context>
        <name>ChirpCsv</name>
        <message>
            <source>已跳过：引号没有闭合</source>
            <translation>skipped: a quoted field is not closed</translation>
        </message>
        <message>
            <source>已跳过：%1 MHz 超出频道表能显示的 999.99999 MHz</source>
            <translation>skipped: %1 MHz is more than the table shows (999.99999 MHz)</translation>
        </message>
        <message>
            <source>%1 MHz 取整为 %2 MHz</source>
            <translation>%1 MHz rounded to %2 MHz</translation>
        </message>
        <message>
            <source>已跳过：频率 %1 不是以 MHz 为单位的频率</source>
            <translation>skipped: the frequency %1 is no frequency in MHz</translation>
        </message>
        <message>
            <source>已跳过：Duplex 为 off（不发射），而模块的频道必须有发射频率</source>
            <translation>skipped: Duplex off (no transmit), and a channel of the module needs a transmit frequency</translation>
        </message>
        <message>
            <source>已跳过：不认识的 Duplex %1</source>
            <translation>skipped: unknown Duplex %1</translation>
        </message>
        <message>
            <source>已跳过：Offset %1 不是以 MHz 为单位的频率</source>
            <translation>skipped: the Offset %1 is no frequency in MHz</translation>
        </message>
        <message>
            <source>已跳过：split 的发射频率 %1 不是以 MHz 为单位的频率</source>
            <translation>skipped: the split transmit frequency %1 is no frequency in MHz</translation>
        </message>
        <message>
            <source>已跳过：Duplex %1 与 Offset %2 MHz 给出的发射频率不在频道表能显示的范围内</source>
            <translation>skipped: Duplex %1 with Offset %2 MHz gives a transmit frequency the table cannot show</translation>
        </message>
        <message>
            <source>已跳过：模块不支持模式 %1（只有 FM 宽带和 NFM 窄带）</source>
            <translation>skipped: the module has no mode %1 (only FM, wide, and NFM, narrow)</translation>
        </message>
        <message>
            <source>已跳过：亚音频 %1 Hz 不在频道表的列表中</source>
            <translation>skipped: the CTCSS tone %1 Hz is not in the table's list</translation>
        </message>
        <message>
            <source>已跳过：不支持 DCS 极性 %1（只支持 NN）</source>
            <translation>skipped: DCS polarity %1 is not supported (only NN)</translation>
        </message>
        <message>
            <source>已跳过：数字亚音频 %1 不在频道表的列表中</source>
            <translation>skipped: the DCS code %1 is not in the table's list</translation>
        </message>
        <message>
            <source>已跳过：模块不支持亚音模式 %1</source>
            <translation>skipped: the module has no tone mode %1</translation>
        </message>
        <message>
            <source>已跳过：Skip %1 既不是 S 也不是 P</source>
            <translation>skipped: Skip %1 is neither S nor P</translation>
        </message>
        <message>
            <source>已跳过：功率 %1 不是以 W 为单位的数值</source>
            <translation>skipped: the power %1 is no value in watts</translation>
        </message>
        <message>
            <source>功率 %1 改为 %2 W</source>
            <translation>power %1 set to %2 W</translation>
        </message>
        <message>
            <source>Comment 中的 %1 不是 L0 至 L5，静噪等级不变</source>
            <translation>%1 in Comment is not L0 to L5: the squelch level stays</translation>
        </message>
        <message>
            <source>第 %1 行：%2</source>
            <translation>Line %1: %2</translation>
        </message>
        <message>
            <source>填入的频道：%1</source>
            <translation>Filled: channels %1</translation>
        </message>
        <message>
            <source>清空的频道（文件中没有它们的行）：%1</source>
            <translation>Emptied (the file has no row for them): channels %1</translation>
        </message>
        <message>
            <source>不变的频道（原本为空）：%1</source>
            <translation>Kept (empty already): channels %1</translation>
        </message>
        <message>
            <source>频道 16 之后没有频道</source>
            <translation>there is no channel after 16</translation>
        </message>
        <message>
            <source>16 个频道已用完</source>
            <translation>all 16 channels are taken</translation>
        </message>
        <message>
            <source>未粘贴：%1</source>
            <translation>not pasted: %1</translation>
        </message>
        <message>
            <source>未导入：%1</source>
            <translation>not imported: %1</translation>
        </message>
        <message>
            <source>第 %1–%2 行的 %3 行未粘贴：%4</source>
            <translation>Lines %1–%2, %3 rows, not pasted: %4</translation>
        </message>
        <message>
            <source>第 %1–%2 行的 %3 行未导入：%4</source>
            <translation>Lines %1–%2, %3 rows, not imported: %4</translation>
        </message>
        <message>
            <source>第 %1 行起的各行未粘贴：%2；第 %3 行之后未读取</source>
            <translation>The rows from line %1 on are not pasted: %2; nothing after line %3 was read</translation>
        </message>
        <message>
            <source>第 %1 行起的各行未导入：%2；第 %3 行之后未读取</source>
            <translation>The rows from line %1 on are not imported: %2; nothing after line %3 was read</translation>
        </message>
        <message>
            <source>第 %1 行起的记录超过 %2 字节，不是 CHIRP 的行；文件从这里起未读取。</source>
            <translation>The record from line %1 on is longer than %2 bytes, which no CHIRP row is; the file was not read from there on.</translation>
        </message>
        <message>
            <source>文件超过 %1 行；第 %1 行之后未读取。</source>
            <translation>The file has more than %1 lines; nothing after line %1 was read.</translation>
        </message>
        <message>
            <source>频率 %1 MHz 超出模块的频段 %2 MHz</source>
            <translation>the frequency %1 MHz is outside the module's band %2 MHz</translation>
        </message>
        <message>
            <source>接收频率 %1 MHz 和发射频率 %2 MHz 超出模块的频段 %3 MHz</source>
            <translation>the receive frequency %1 MHz and the transmit frequency %2 MHz are outside the module's band %3 MHz</translation>
        </message>
        <message>
            <source>接收频率 %1 MHz 超出模块的频段 %2 MHz</source>
            <translation>the receive frequency %1 MHz is outside the module's band %2 MHz</translation>
        </message>
        <message>
            <source>发射频率 %1 MHz 超出模块的频段 %2 MHz</source>
            <translation>the transmit frequency %1 MHz is outside the module's band %2 MHz</translation>
        </message>
        <message>
            <source>文件没有 CHIRP 的表头（缺少 Frequency 列）。</source>
            <translation>The file has no CHIRP header (no Frequency column).</translation>
        </message>
        <message>
            <source>Location %1 → 频道 %2</source>
            <translation>Location %1 → channel %2</translation>
        </message>
        <message>
            <source>另有 %1 条关于跳过的行的说明未列出。</source>
            <translation>%1 more notes on skipped rows are not listed.</translation>
        </message>
        <message>
            <source>名称不保留：模块的频道没有名称。</source>
            <translation>Names are not kept: the module's channels have no names.</translation>
        </message>
        <message>
            <source>没有可粘贴的行。</source>
            <translation>No row could be pasted.</translation>
        </message>
        <message>
            <source>没有可导入的行。</source>
            <translation>No row could be imported.</translation>
        </message>
        <message>
            <source>已粘贴 %1 行，放入频道 %2。</source>
            <translation>Pasted %1 row(s) into channel(s) %2.</translation>
        </message>
        <message>
            <source>已导入 %1 行，放入频道 %2。</source>
            <translation>Imported %1 row(s) into channel(s) %2.</translation>
        </message>
        <message>
            <source>无法读取文件 %1。</source>
            <translation>Cannot read the file %1.</translation>
        </message>
        <message>
            <source>频道 %1：没有接收频率，未写出</source>
            <translation>channel %1: no receive frequency, not written</translation>
        </message>
        <message>
            <source>频道 %1：没有发射频率，写为 Duplex off（导入时会跳过）</source>
            <translation>channel %1: no transmit frequency, written with Duplex off (an import skips it)</translation>
        </message>
        <message>
            <source>频道 %1：%2 未选择，按 CHIRP 的默认值写出</source>
            <translation>channel %1: no %2 selected, written as CHIRP's default</translation>
        </message>
        <message>
            <source>没有使用中的频道可导出。</source>
            <translation>No channel in use to export.</translation>
        </message>
        <message>
            <source>已导出 %1 个频道：%2。</source>
            <translation>Exported %1 channel(s): %2.</translation>
        </message>
        <message>
            <source>无法写入文件 %1。</source>
            <translation>Cannot write the file %1.</translation>
        </message>
    </context>
    <context>
        <name>CommandLine</name>
        <message>
            <source>无法读取文件 %1。</source>
            <translation>Cannot read the file %1.</translation>
        </message>
        <message>
            <source>文件 %1 不是 JSON 对象。</source>
            <translation>The file %1 is not a JSON object.</translation>
        </message>
        <message>
            <source>文件 %1 中 %2 为 %3，超出范围 %4 至 %5。</source>
            <translation>In the file %1, %2 is %3, outside its range %4 to %5.</translation>
        </message>
        <message>
            <source>文件 %1 中 %2 为“%3”，应为 %4 之一。</source>
            <translation>In the file %1, %2 is "%3", not one of %4.</translation>
        </message>
        <message>
            <source>%1 至 %2</source>
            <translation>%1 to %2</translation>
        </message>
        <message>
            <source>、</source>
            <translation>, </translation>
        </message>
        <message>
            <source>文件 %1 中 %2 为 %3，写入时须为 %4。</source>
            <translation>In the file %1, %2 is %3: a write needs %4.</translation>
        </message>
        <message>
            <source>文件 %1 中 %2 为 %3，而频道 %4 在用，写入时须为 %5。</source>
            <translation>In the file %1, %2 is %3, but channel %4 is in use: a write needs %5.</translation>
        </message>
        <message>
            <source>文件 %1 缺少 %2。</source>
            <translation>The file %1 lacks %2.</translation>
        </message>
        <message>
            <source>文件 %1 中 %2 的类型不对。</source>
            <translation>The file %1 holds a value of the wrong type at %2.</translation>
        </message>
        <message>
            <source>文件 %1：%2</source>
            <translation>The file %1: %2</translation>
        </message>
        <message>
            <source>文件 %1 中没有可写入的参数。</source>
            <translation>The file %1 holds nothing to write.</translation>
        </message>
        <message>
            <source>无法写入文件 %1。</source>
            <translation>Cannot write the file %1.</translation>
        </message>
        <message>
            <source>文件 %1 不是 JSON 对象，不覆盖它。</source>
            <translation>The file %1 is not a JSON object; it is left as it is.</translation>
        </message>
        <message>
            <source>无法写入文件夹 %1：没有写入的权限。</source>
            <translation>Cannot write into the folder %1: no permission.</translation>
        </message>
        <message>
            <source>无法创建文件夹 %1：%2 是文件，不是文件夹。</source>
            <translation>Cannot create the folder %1: %2 is a file, not a folder.</translation>
        </message>
        <message>
            <source>无法创建文件夹 %1：没有在 %2 中创建文件夹的权限。</source>
            <translation>Cannot create the folder %1: no permission to create a folder in %2.</translation>
        </message>
        <message>
            <source>无法创建文件夹 %1。</source>
            <translation>Cannot create the folder %1.</translation>
        </message>
        <message>
            <source>读取备份失败，未写入任何内容。</source>
            <translation>The backup could not be read; nothing was written.</translation>
        </message>
        <message>
            <source>--force-unit：文件 %1 的校准属于序列码 %2 的模块，写入了序列码 %3 的模块。</source>
            <translation>--force-unit: the calibration in %1 belongs to the unit with serial number %2; it was written into the unit with serial number %3.</translation>
        </message>
        <message>
            <source>文件 %1 的校准属于序列码 %2 的模块，而此模块的序列码是 %3；未写入任何内容（--force-unit 仍然写入）。</source>
            <translation>The calibration in %1 belongs to the unit with serial number %2, this module's serial number is %3; nothing was written (--force-unit writes anyway).</translation>
        </message>
        <message>
            <source>回读失败，无法校验。</source>
            <translation>The read-back failed; nothing could be verified.</translation>
        </message>
        <message>
            <source>已写入，但校验未通过！</source>
            <translation>Written but not verified!</translation>
        </message>
        <message>
            <source>校验未通过！</source>
            <translation>Not verified!</translation>
        </message>
        <message>
            <source>校验通过！</source>
            <translation>Verified!</translation>
        </message>
        <message>
            <source>无法写入文件 %1：%2</source>
            <translation>Cannot write the file %1: %2</translation>
        </message>
        <message>
            <source>全部记录</source>
            <translation>All records</translation>
        </message>
        <message>
            <source>工位 %1</source>
            <translation>station %1</translation>
        </message>
        <message>
            <source>工艺 %1</source>
            <translation>recipe %1</translation>
        </message>
        <message>
            <source>此程序不能绘制图表</source>
            <translation>This program cannot draw charts</translation>
        </message>
        <message>
            <source>无法创建文件夹 %1</source>
            <translation>Cannot make the folder %1</translation>
        </message>
        <message>
            <source>%1：校准前 %2，校准后 %3，读数 %4 %5（目标 %6 ± %7），%8 次读数</source>
            <translation>%1: before %2, after %3, reading %4 %5 (target %6 ± %7), %8 readings</translation>
        </message>
        <message>
            <source>%1：发送了 %2 个电平，最后 %3 %4</source>
            <translation>%1: %2 levels sent, the last %3 %4</translation>
        </message>
    </context>
    <context>
        <name>ControlChart</name>
        <message>
            <source>测试序号（按时间）</source>
            <translation>Run (in time order)</translation>
        </message>
        <message>
            <source>%1 控制图</source>
            <translation>%1 control chart</translation>
        </message>
        <message>
            <source>临界带</source>
            <translation>Marginal band</translation>
        </message>
        <message>
            <source>上限 %1</source>
            <translation>Max %1</translation>
        </message>
        <message>
            <source>下限 %1</source>
            <translation>Min %1</translation>
        </message>
        <message>
            <source>连续 %1 点在中心线同侧</source>
            <translation>%1 in a row on one side of the centre line</translation>
        </message>
        <message>
            <source>超出控制限</source>
            <translation>Beyond the control limits</translation>
        </message>
        <message>
            <source>%1 控制图（最近 %2 点，共 %3 点）</source>
            <translation>%1 control chart (the latest %2 of %3 points)</translation>
        </message>
    </context>
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
        <name>FormSerialPortSetting</name>
        <message>
            <source>串口设置</source>
            <translation>Serial Port Setting</translation>
        </message>
        <message>
            <source>串口：</source>
            <translation>Port:</translation>
        </message>
        <message>
            <source>波特率：</source>
            <translation>Baudrate:</translation>
        </message>
        <message>
            <source>数据位：</source>
            <translation>Data Bits:</translation>
        </message>
        <message>
            <source>校验位：</source>
            <translation>Parity:</translation>
        </message>
        <message>
            <source>停止位：</source>
            <translation>Stop Bits:</translation>
        </message>
        <message>
            <source>流控：</source>
            <translation>Flow Control:</translation>
        </message>
        <message>
            <source>查找模块</source>
            <translation>Find Module</translation>
        </message>
        <message>
            <source>关闭</source>
            <translation>Close</translation>
        </message>
    </context>
    <context>
        <name>HistoryDialog</name>
        <message>
            <source>历史记录</source>
            <translation>History</translation>
        </message>
        <message>
            <source>序列码：</source>
            <translation>Serial number:</translation>
        </message>
        <message>
            <source>查找</source>
            <translation>Search</translation>
        </message>
        <message>
            <source>时间</source>
            <translation>Time</translation>
        </message>
        <message>
            <source>序列码</source>
            <translation>Serial number</translation>
        </message>
        <message>
            <source>型号</source>
            <translation>Model</translation>
        </message>
        <message>
            <source>操作</source>
            <translation>Operation</translation>
        </message>
        <message>
            <source>结果</source>
            <translation>Outcome</translation>
        </message>
        <message>
            <source>工位</source>
            <translation>Station</translation>
        </message>
        <message>
            <source>说明</source>
            <translation>Message</translation>
        </message>
        <message>
            <source>载入页面</source>
            <translation>Load into Pages</translation>
        </message>
        <message>
            <source>%1 条记录（%2）</source>
            <translation>%1 entries (%2)</translation>
        </message>
    </context>
    <context>
        <name>HistoryReport</name>
        <message>
            <source>%1 … 共 %2 个</source>
            <translation>%1 … (%2 in all)</translation>
        </message>
        <message>
            <source>台数</source>
            <translation>Units</translation>
        </message>
        <message>
            <source>测试次数</source>
            <translation>Runs</translation>
        </message>
        <message>
            <source>重测</source>
            <translation>Retests</translation>
        </message>
        <message>
            <source>直通率</source>
            <translation>First-pass yield</translation>
        </message>
        <message>
            <source>最终良率</source>
            <translation>Final yield</translation>
        </message>
        <message>
            <source>生产统计</source>
            <translation>Production statistics</translation>
        </message>
        <message>
            <source>%1；生成于 %2 UTC；日期按 %3</source>
            <translation>%1; made %2 UTC; days in %3</translation>
        </message>
        <message>
            <source>最后一次结果</source>
            <translation>Last outcomes</translation>
        </message>
        <message>
            <source>每日良率</source>
            <translation>Yield per day</translation>
        </message>
        <message>
            <source>日期</source>
            <translation>Day</translation>
        </message>
        <message>
            <source>各工位良率</source>
            <translation>Yield per station</translation>
        </message>
        <message>
            <source>工位</source>
            <translation>Station</translation>
        </message>
        <message>
            <source>失败排列图</source>
            <translation>Failure Pareto</translation>
        </message>
        <message>
            <source>步骤</source>
            <translation>Step</translation>
        </message>
        <message>
            <source>失败</source>
            <translation>Failure</translation>
        </message>
        <message>
            <source>占比</source>
            <translation>Share</translation>
        </message>
        <message>
            <source>累计</source>
            <translation>Cumulative</translation>
        </message>
        <message>
            <source>控制图：%1</source>
            <translation>Control chart: %1</translation>
        </message>
        <message>
            <source>点数</source>
            <translation>Points</translation>
        </message>
        <message>
            <source>均值</source>
            <translation>Mean</translation>
        </message>
        <message>
            <source>标准差</source>
            <translation>Sigma</translation>
        </message>
        <message>
            <source>失控点</source>
            <translation>Out of control</translation>
        </message>
    </context>
    <context>
        <name>Instrument</name>
        <message>
            <source>无法连接：%1</source>
            <translation>cannot connect: %1</translation>
        </message>
        <message>
            <source>仪器配置 “%1” 没有 “%2” 的命令</source>
            <translation>the profile "%1" has no command for "%2"</translation>
        </message>
        <message>
            <source>未连接</source>
            <translation>not connected</translation>
        </message>
        <message>
            <source>“%1” 在 %2 毫秒内没有回答</source>
            <translation>no answer to "%1" within %2 ms</translation>
        </message>
        <message>
            <source>“%1” 失败：%2</source>
            <translation>"%1" failed: %2</translation>
        </message>
        <message>
            <source>“%1” 的回答不是错误条目：%2</source>
            <translation>the answer to "%1" is no error queue entry: %2</translation>
        </message>
        <message>
            <source>“%1” 之后仪器报告错误 %2</source>
            <translation>the instrument reports the error %2 after "%1"</translation>
        </message>
        <message>
            <source>“%1” 之后 “%2” 的回答不是 1：%3</source>
            <translation>after "%1" the answer to "%2" is not 1: %3</translation>
        </message>
        <message>
            <source>“%1” 没有测到数值（%2）</source>
            <translation>"%1" measured nothing (%2)</translation>
        </message>
        <message>
            <source>“%1” 的测量超出仪器的量程（%2）</source>
            <translation>"%1" is beyond the instrument's range (%2)</translation>
        </message>
        <message>
            <source>“%1” 的回答不是数字：%2</source>
            <translation>the answer to "%1" is not a number: %2</translation>
        </message>
    </context>
    <context>
        <name>InstrumentAddress</name>
        <message>
            <source>“%1” 不是仪器地址（tcp://主机[:端口]、usbtmc:///dev/usbtmc0 或 serial:///dev/ttyUSB1?baud=9600）</source>
            <translation>"%1" is no instrument address (tcp://HOST[:PORT], usbtmc:///dev/usbtmc0 or serial:///dev/ttyUSB1?baud=9600)</translation>
        </message>
    </context>
    <context>
        <name>InstrumentProfile</name>
        <message>
            <source>应为 JSON 对象</source>
            <translation>expected a JSON object</translation>
        </message>
        <message>
            <source>未知成员 “%1”</source>
            <translation>unknown member "%1"</translation>
        </message>
        <message>
            <source>“%1” 应为非空文字</source>
            <translation>"%1" must be a text that is not empty</translation>
        </message>
        <message>
            <source>“%1” 应为文字</source>
            <translation>"%1" must be a text</translation>
        </message>
        <message>
            <source>“%1” 应为 %2 到 %3 的整数</source>
            <translation>"%1" must be a whole number from %2 to %3</translation>
        </message>
        <message>
            <source>“%1” 应为 true 或 false</source>
            <translation>"%1" must be true or false</translation>
        </message>
        <message>
            <source>缺少对象 “%1”</source>
            <translation>the object "%1" is missing</translation>
        </message>
        <message>
            <source>未知命令 “%1”</source>
            <translation>unknown command "%1"</translation>
        </message>
        <message>
            <source>缺少命令 “%1”</source>
            <translation>the command "%1" is missing</translation>
        </message>
        <message>
            <source>命令 “%1” 应为一行不超过 %2 个字符的文字，或 null</source>
            <translation>the command "%1" must be one line of at most %2 characters, or null</translation>
        </message>
        <message>
            <source>命令 “%1” 含有未知的占位符 %2</source>
            <translation>the command "%1" holds the placeholder %2, which it does not take</translation>
        </message>
        <message>
            <source>命令 “%1” 必须含有 %2</source>
            <translation>the command "%1" must hold %2</translation>
        </message>
        <message>
            <source>找不到仪器配置 “%1”：%2</source>
            <translation>no instrument profile "%1": %2</translation>
        </message>
    </context>
    <context>
        <name>LaneStatus</name>
        <message>
            <source>等待模块</source>
            <translation>Waiting for a unit</translation>
        </message>
        <message>
            <source>请扫描序列码</source>
            <translation>Scan the serial number</translation>
        </message>
        <message>
            <source>请按开始</source>
            <translation>Press Start</translation>
        </message>
        <message>
            <source>运行中</source>
            <translation>Running</translation>
        </message>
        <message>
            <source>串口不在</source>
            <translation>Port gone</translation>
        </message>
        <message>
            <source>已停止</source>
            <translation>Stopped</translation>
        </message>
    </context>
    <context>
        <name>LaneTile</name>
        <message>
            <source>周期：—</source>
            <translation>Cycle: —</translation>
        </message>
        <message>
            <source>周期：%1 s</source>
            <translation>Cycle: %1 s</translation>
        </message>
        <message>
            <source>重试 %1</source>
            <translation>Retries %1</translation>
        </message>
        <message>
            <source>开始</source>
            <translation>Start</translation>
        </message>
        <message>
            <source>扫描序列码</source>
            <translation>Scan serial number</translation>
        </message>
    </context>
    <context>
        <name>LaneWorker</name>
        <message>
            <source>串口 %1 已消失</source>
            <translation>the port %1 is gone</translation>
        </message>
        <message>
            <source>此模块的记录既未存入历史记录，也未存入暂存库</source>
            <translation>the unit's entry was kept neither in the history nor in its spool</translation>
        </message>
    </context>
    <context>
        <name>LanesDialog</name>
        <message>
            <source>工位通道</source>
            <translation>Station Lanes</translation>
        </message>
        <message>
            <source>勾选作为通道的端口（最多 %1 个），或输入设备路径：</source>
            <translation>Tick the ports to use as lanes (at most %1), or type a device path:</translation>
        </message>
        <message>
            <source>添加</source>
            <translation>Add</translation>
        </message>
        <message>
            <source>一个工位最多 %1 个通道，已勾选 %2 个。</source>
            <translation>A station has at most %1 lanes; %2 are ticked.</translation>
        </message>
        <message>
            <source>已选 %1 个通道</source>
            <translation>%1 lanes chosen</translation>
        </message>
    </context>
    <context>
        <name>Limits</name>
        <message>
            <source>%1 = %2，低于下限 %3</source>
            <translation>%1 = %2, below Min %3</translation>
        </message>
        <message>
            <source>%1 = %2，高于上限 %3</source>
            <translation>%1 = %2, above Max %3</translation>
        </message>
        <message>
            <source>%1 = %2，距下限 %3 不超过 %4</source>
            <translation>%1 = %2, within %4 of Min %3</translation>
        </message>
        <message>
            <source>%1 = %2，距上限 %3 不超过 %4</source>
            <translation>%1 = %2, within %4 of Max %3</translation>
        </message>
        <message>
            <source>%1 = %2，在 %3 至 %4 之内</source>
            <translation>%1 = %2, within %3 to %4</translation>
        </message>
        <message>
            <source>%1 %2 高于最近 %4 台 %3 σ</source>
            <translation>%1 %2 is %3 σ above the last %4 units</translation>
        </message>
        <message>
            <source>%1 %2 低于最近 %4 台 %3 σ</source>
            <translation>%1 %2 is %3 σ below the last %4 units</translation>
        </message>
        <message>
            <source>（历史记录无法读取，使用本工位 %1 缓存的数值）</source>
            <translation> (the history could not be read: the station's figures cached at %1)</translation>
        </message>
    </context>
    <context>
        <name>MBaudrateList</name>
        <message>
            <source>Custom</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>MFlowCtrlList</name>
        <message>
            <source>None</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>RTS/CTS</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>XON/XOFF</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>MParityList</name>
        <message>
            <source>None</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Even</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Odd</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Mark</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Space</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>MSerialButton</name>
        <message>
            <source>打开串口</source>
            <translation>Open Port</translation>
        </message>
        <message>
            <source>关闭串口</source>
            <translation>Close Port</translation>
        </message>
    </context>
    <context>
        <name>MSerialPort</name>
        <message>
            <source>打开失败！</source>
            <translation>open failed!</translation>
        </message>
        <message>
            <source>没有访问该串口的权限。请把当前用户加入 dialout 组，然后注销并重新登录。</source>
            <translation>No permission to use this port. Add your user to the dialout group, then log out and log in again.</translation>
        </message>
        <message>
            <source>该串口正被占用（可能已被其他程序打开）。请关闭占用它的程序后重试。</source>
            <translation>The port is in use (another program may have it open). Close that program and try again.</translation>
        </message>
        <message>
            <source>串口设备已断开，串口已关闭。</source>
            <translation>The serial device was disconnected; the port has been closed.</translation>
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
            <source>读取</source>
            <translation>Read</translation>
        </message>
        <message>
            <source>设置</source>
            <translation>Set</translation>
        </message>
        <message>
            <source>频道控制模式</source>
            <translation>Channel Control Mode</translation>
        </message>
        <message>
            <source>拨码开关</source>
            <translation>by DIP Switch</translation>
        </message>
        <message>
            <source>软件配置</source>
            <translation>by Program</translation>
        </message>
        <message>
            <source>当前频道</source>
            <translation>Channel</translation>
        </message>
        <message>
            <source>存储频道值</source>
            <translation>Save Change</translation>
        </message>
        <message>
            <source>频道：</source>
            <translation>Channel:</translation>
        </message>
        <message>
            <source>发射保护</source>
            <translation>Tx Protect</translation>
        </message>
        <message>
            <source>发射超时时间：</source>
            <translation>Tx Timeout:</translation>
        </message>
        <message>
            <source>s</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>保护时间：</source>
            <translation>Stop When Timeout:</translation>
        </message>
        <message>
            <source>音量控制</source>
            <translation>Volume</translation>
        </message>
        <message>
            <source>(0 - 9)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>省电模式</source>
            <translation>Power Save Mode</translation>
        </message>
        <message>
            <source>开启</source>
            <translation>Enable</translation>
        </message>
        <message>
            <source>关闭</source>
            <translation>Disable</translation>
        </message>
        <message>
            <source>省电状态时间</source>
            <translation>Power Saving Time</translation>
        </message>
        <message>
            <source>休眠：</source>
            <translation>Sleep:</translation>
        </message>
        <message>
            <source>x20 ms</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>待机：</source>
            <translation>Standby:</translation>
        </message>
        <message>
            <source>x40 ms</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>AUDIO_OUT 输出</source>
            <translation>AUDIO_OUT Output</translation>
        </message>
        <message>
            <source>方波</source>
            <translation>Squarewave</translation>
        </message>
        <message>
            <source>正弦波</source>
            <translation>Sinewave</translation>
        </message>
        <message>
            <source>侧音</source>
            <translation>Sidetone</translation>
        </message>
        <message>
            <source>RSSI</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>dBuV</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道扫描模式</source>
            <translation>Channel Scan</translation>
        </message>
        <message>
            <source>模式：</source>
            <translation>Mode:</translation>
        </message>
        <message>
            <source>Mode 0</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Mode 1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Mode 2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Mode 3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>其他</source>
            <translation>Others</translation>
        </message>
        <message>
            <source>停用虚拟串口</source>
            <translation>Stop Virtual Serial Port</translation>
        </message>
        <message>
            <source>内部参数调整</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频率校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>数据频偏校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>中端校准值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读</source>
            <translation>Read</translation>
        </message>
        <message>
            <source>写</source>
            <translation>Set</translation>
        </message>
        <message>
            <source>+1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>-1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>+10</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>-10</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>低中端差值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>中高端差值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>话音频偏校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>亚音频偏校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>AUDIO_IN 校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>TCXO_BIAS 调整</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>MOD_BIAS 调整</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>强制发射</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>强制进入发射模式
数据PTT开启</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>强制进入发射模式
话音PTT开启</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>返回正常模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>基带信号耦合方式(测试)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>直流耦合</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>交流耦合</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>发射校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>功率校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>1W功率调整值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>2W功率调整值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>3W功率调整值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>4W功率调整值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>5W功率调整值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>低端</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>中端</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>高端</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>  两点平衡调整（数据）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>接收校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>接收带通滤波器调节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>中低端差值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>高中端差值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>RFSK 信号电平调节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>R_BIAS 调整</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>场强偏移调整</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>场强校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>场强10dBuV校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>场强40dBuV校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>灵敏度测试</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>进入灵敏度测试模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>结束灵敏度测试</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>静噪校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>静噪0.25uV校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>静噪0.45uV校准</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>电台频段</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频段：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>序列码</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>侧音音量控制</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>基带信号耦合方式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>除序列号之外的全部内部调整参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取全部参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>写入全部参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>保存配置</source>
            <translation>Save Config</translation>
        </message>
        <message>
            <source>打开配置</source>
            <translation>Load Config</translation>
        </message>
        <message>
            <source>MR-460 Adjustment</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Transmit Frequency</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>TCXO Bias</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Read</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Set</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>MOD Bias</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Force to Tx</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Force to Tx
Data PTT Push</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Force to Tx
Voice PTT push</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Back to normal</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Baseband Signal Coupling</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>DC-coupling</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>AC-coupling</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Transmit Power</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Transmit Power Adjustment</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>1W Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>2W Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>3W Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>4W Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>5W Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Low</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Middle</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>High</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Modulation</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Data Modulation Freq Division</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Middle Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Difference(Low - Mid)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Difference(Mid - High)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Voice Modulation Freq Division</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>AUDIO_IN</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>CTCSS/DCS Freq Division</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Others</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>SN</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Squelch Adjustment</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>0.25uV Adjust</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>0.45uV Adjust</source>
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
            <source>读调整值失败！</source>
            <translation>Faild to read the adjust value!</translation>
        </message>
        <message>
            <source>设置调整值失败！</source>
            <translation>Failed to set the adjust value!</translation>
        </message>
        <message>
            <source>请配置调整值！</source>
            <translation>Please set the adjust value!</translation>
        </message>
        <message>
            <source>请读回该值以确认。</source>
            <translation>Please read the value back to check it.</translation>
        </message>
        <message>
            <source>进入/离开发射模式失败！</source>
            <translation>Failed to enter/exit TX mode!</translation>
        </message>
        <message>
            <source>接收灵敏度测试模式切换失败！</source>
            <translation>Switch receiving sensitivity test mode failed!</translation>
        </message>
        <message>
            <source>静噪校准失败！</source>
            <translation>Squelch calibration failed!</translation>
        </message>
        <message>
            <source>场强校准失败！</source>
            <translation>RSSI calibration failed!</translation>
        </message>
        <message>
            <source>请配置场强校准值！</source>
            <translation>Please configure RSSI calibration!</translation>
        </message>
        <message>
            <source>读场强校准值失败！</source>
            <translation>Failed to read RSSI calibration!</translation>
        </message>
        <message>
            <source>设置场强校准值失败！</source>
            <translation>Failed to configure RSSI calibration!</translation>
        </message>
        <message>
            <source>按偏移量修改场强校准值失败！</source>
            <translation>Failed to adjust RSSI calibration!</translation>
        </message>
        <message>
            <source>请配置发射功率校准值！</source>
            <translation>Please calibrate the Power output!</translation>
        </message>
        <message>
            <source>请选择频段！</source>
            <translation>Please select the frequency band!</translation>
        </message>
        <message>
            <source>请选择功率！</source>
            <translation>Please select power!</translation>
        </message>
        <message>
            <source>读发射功率校准值失败！</source>
            <translation>Failed to read the calibration of TX power!</translation>
        </message>
        <message>
            <source>设置发射功率校准值失败！</source>
            <translation>Failed to calibrate TX power!</translation>
        </message>
        <message>
            <source>按偏移量修改发射功率校准值失败！</source>
            <translation>Power calibration failed!</translation>
        </message>
        <message>
            <source>读频率和功率失败！</source>
            <translation>Failed to read the frequency and power!</translation>
        </message>
        <message>
            <source>设置频道的频率和功率失败！</source>
            <translation>Failed to set frequency and power!</translation>
        </message>
        <message>
            <source>读频道参数失败！</source>
            <translation>Failed to read parameters!</translation>
        </message>
        <message>
            <source>设置频道参数失败！</source>
            <translation>Failed to set parameters!</translation>
        </message>
        <message>
            <source>请选择电台频段！</source>
            <translation>Please select frequency!</translation>
        </message>
        <message>
            <source>读电台频段失败！</source>
            <translation>Read frequency failed!</translation>
        </message>
        <message>
            <source>设置电台频段失败！</source>
            <translation>Set frequency failed!</translation>
        </message>
        <message>
            <source>请填写序列号！</source>
            <translation>Please input Serial No.!</translation>
        </message>
        <message>
            <source>请正确地填写序列号！</source>
            <translation>Please input the SN accordingly!</translation>
        </message>
        <message>
            <source>读序列号失败！</source>
            <translation>Failed to read SN!</translation>
        </message>
        <message>
            <source>设置序列号失败！</source>
            <translation>Failed to set SN!</translation>
        </message>
        <message>
            <source>请配置侧音音量！</source>
            <translation>Please configure sidetone!</translation>
        </message>
        <message>
            <source>读侧音音量失败！</source>
            <translation>Failed to read sidetone!</translation>
        </message>
        <message>
            <source>设置侧音音量失败！</source>
            <translation>Failed to configure sidetone!</translation>
        </message>
        <message>
            <source>请选择基带信号耦合方式！</source>
            <translation>Please set signal coupling type!</translation>
        </message>
        <message>
            <source>读基带信号耦合方式失败！</source>
            <translation>Failed to read signal coupling type!</translation>
        </message>
        <message>
            <source>设置基带信号耦合方式失败！</source>
            <translation>Failed to set signal coupling type!</translation>
        </message>
        <message>
            <source>读电台频段信息失败！</source>
            <translation>Failed to read the frequency band!</translation>
        </message>
        <message>
            <source>读固件版本信息失败！</source>
            <translation>Failed to read firmware version!</translation>
        </message>
        <message>
            <source>未知设备:</source>
            <translation>Unknown device:</translation>
        </message>
        <message>
            <source>读频道控制模式失败！</source>
            <translation>Failed to read control mode!</translation>
        </message>
        <message>
            <source>设置频道控制模式失败！</source>
            <translation>Failed to set control mode!</translation>
        </message>
        <message>
            <source>读当前频道失败！</source>
            <translation>Failed to read current channel!</translation>
        </message>
        <message>
            <source>设置当前频道失败！</source>
            <translation>Failed to set channel No.!</translation>
        </message>
        <message>
            <source>读发射保护时间失败！</source>
            <translation>Failed to read TX protection time!</translation>
        </message>
        <message>
            <source>设置发射保护时间失败！</source>
            <translation>Failed to set TX protection time!</translation>
        </message>
        <message>
            <source>读音量失败！</source>
            <translation>Failed to read the volume!</translation>
        </message>
        <message>
            <source>设置音量失败！</source>
            <translation>Failed to configure the volume!</translation>
        </message>
        <message>
            <source>读省电模式失败！</source>
            <translation>Failed to read power-saving mode!</translation>
        </message>
        <message>
            <source>设置省电模式失败！</source>
            <translation>Failed to set power-saving mode!</translation>
        </message>
        <message>
            <source>读省电模式时间失败！</source>
            <translation>Failed to read power-saving time!</translation>
        </message>
        <message>
            <source>设置省电模式时间失败！</source>
            <translation>Failed to set power-saving mode!</translation>
        </message>
        <message>
            <source>读音频口输出波形类型失败！</source>
            <translation>Failed to read output wave type!</translation>
        </message>
        <message>
            <source>设置音频口输出波形类型失败！</source>
            <translation>Failed to set output wave type!</translation>
        </message>
        <message>
            <source>读侧音开关失败！</source>
            <translation>Failed to read sidetone status!</translation>
        </message>
        <message>
            <source>设置侧音开关失败！</source>
            <translation>Failed to set sidetone status!</translation>
        </message>
        <message>
            <source>读 RSSI 失败！</source>
            <translation>Failed to read RSSI!</translation>
        </message>
        <message>
            <source>读频道扫描模式失败！</source>
            <translation>Failed to read scan mode!</translation>
        </message>
        <message>
            <source>设置频道扫描模式失败！</source>
            <translation>Failed to set scan mode!</translation>
        </message>
        <message>
            <source>设置停用虚拟串口失败！</source>
            <translation>Failed to disable virtual COM Port!</translation>
        </message>
        <message>
            <source>请选择频道控制模式！</source>
            <translation>Select control mode!</translation>
        </message>
        <message>
            <source>请选择频道值！</source>
            <translation>Please set channel No.!</translation>
        </message>
        <message>
            <source>请配置发射保护时间值！</source>
            <translation>Please configure TX proection time!</translation>
        </message>
        <message>
            <source>请配置音量！</source>
            <translation>Please configure the volume!</translation>
        </message>
        <message>
            <source>请选择省电模式！</source>
            <translation>Select power-saving mode!</translation>
        </message>
        <message>
            <source>请配置省电模式时间值！</source>
            <translation>Please set the power-saving time!</translation>
        </message>
        <message>
            <source>请选择音频口输出波形类型！</source>
            <translation>Select output wave type!</translation>
        </message>
        <message>
            <source>请打开或关闭侧音！</source>
            <translation>Please enable or disable sidetone!</translation>
        </message>
        <message>
            <source>请选择频道扫描模式！</source>
            <translation>Please select scan mode!</translation>
        </message>
        <message>
            <source>频率超出范围！</source>
            <translation>Frequency is out of range!</translation>
        </message>
        <message>
            <source>请先读取设备信息！</source>
            <translation>Please read device info first!</translation>
        </message>
        <message>
            <source>请选择发射功率值！</source>
            <translation>Please select Tx power!</translation>
        </message>
        <message>
            <source>请选择频道带宽！</source>
            <translation>Please select the bandwidth!</translation>
        </message>
        <message>
            <source>请选择频道静噪等级！</source>
            <translation>Please select squelch level!</translation>
        </message>
        <message>
            <source>请选择亚音频/数字亚音频！</source>
            <translation>Please select CTCSS/DCS!</translation>
        </message>
        <message>
            <source>请选择频是否扫描频道！</source>
            <translation>Please select to scan channel or not!</translation>
        </message>
        <message>
            <source>设置失败！</source>
            <translation>Failed to set!</translation>
        </message>
        <message>
            <source>读取失败！</source>
            <translation>Failed to read!</translation>
        </message>
        <message>
            <source>工厂(&amp;C)</source>
            <translation>Fa&amp;ctory</translation>
        </message>
        <message>
            <source>校准向导…</source>
            <translation>Calibration Wizard…</translation>
        </message>
        <message>
            <source>选择配方</source>
            <translation>Choose a Recipe</translation>
        </message>
        <message>
            <source>配方 %1 中没有校准步骤</source>
            <translation>recipe %1 has no calibrate step</translation>
        </message>
        <message>
            <source>保存后台配置</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开后台配置</source>
            <translation type="unfinished" />
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
            <source>设置成功！</source>
            <translation>Set success!</translation>
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
        <message>
            <source>操作进行中，请稍候。</source>
            <translation>An operation is running, please wait.</translation>
        </message>
        <message>
            <source>保存诊断报告…</source>
            <translation>Save Support Report…</translation>
        </message>
        <message>
            <source>诊断报告已保存：%1</source>
            <translation>Support report saved: %1</translation>
        </message>
        <message>
            <source>校验模块</source>
            <translation>Verify Module</translation>
        </message>
        <message>
            <source>历史记录…</source>
            <translation>History…</translation>
        </message>
        <message>
            <source>警告</source>
            <translation>Warning</translation>
        </message>
        <message>
            <source>这些校准参数属于序列码 %1 的模块，而已识别的模块序列码是 %2。仍然写入吗？</source>
            <translation>This calibration belongs to the module with serial number %1, but the identified module's serial number is %2. Write it anyway?</translation>
        </message>
        <message>
            <source>文件的校准属于序列码 %1 的模块，写入了序列码 %2 的模块。</source>
            <translation>The file's calibration belongs to the unit with serial number %1; it was written into the unit with serial number %2.</translation>
        </message>
        <message>
            <source>历史记录数据库设置 %1 无效：%2</source>
            <translation>The history database setting %1 is not valid: %2</translation>
        </message>
        <message>
            <source>未识别</source>
            <translation>unidentified</translation>
        </message>
        <message>
            <source>已载入历史记录：序列码 %1 的用户参数和校准参数</source>
            <translation>Loaded from the history: the user parameters and calibration of serial number %1</translation>
        </message>
        <message>
            <source>已载入历史记录：序列码 %1 的用户参数</source>
            <translation>Loaded from the history: the user parameters of serial number %1</translation>
        </message>
        <message>
            <source>已载入历史记录：序列码 %1 的校准参数</source>
            <translation>Loaded from the history: the calibration of serial number %1</translation>
        </message>
        <message>
            <source>模块中的参数与窗口中的一致。</source>
            <translation>The module holds what the window shows.</translation>
        </message>
        <message>
            <source>模块中有 %1 项参数与窗口中的不同：</source>
            <translation>%1 value(s) in the module differ from the window:</translation>
        </message>
        <message>
            <source>参数</source>
            <translation>Value</translation>
        </message>
        <message>
            <source>窗口</source>
            <translation>Window</translation>
        </message>
        <message>
            <source>模块</source>
            <translation>Module</translation>
        </message>
        <message>
            <source>导入 CSV…</source>
            <translation>Import CSV…</translation>
        </message>
        <message>
            <source>导出 CSV…</source>
            <translation>Export CSV…</translation>
        </message>
        <message>
            <source>复制全部频道</source>
            <translation>Copy All Channels</translation>
        </message>
        <message>
            <source>复制频道</source>
            <translation>Copy Channel</translation>
        </message>
        <message>
            <source>粘贴频道</source>
            <translation>Paste Channel</translation>
        </message>
        <message>
            <source>清除频道</source>
            <translation>Clear Channel</translation>
        </message>
        <message>
            <source>编辑(&amp;E)</source>
            <translation>&amp;Edit</translation>
        </message>
        <message>
            <source>导入 CSV</source>
            <translation>Import CSV</translation>
        </message>
        <message>
            <source>CSV 文件 (*.csv);;所有文件 (*)</source>
            <translation>CSV files (*.csv);;All files (*)</translation>
        </message>
        <message>
            <source>导出 CSV</source>
            <translation>Export CSV</translation>
        </message>
        <message>
            <source>%1 已存在。要替换它吗？</source>
            <translation>%1 already exists. Do you want to replace it?</translation>
        </message>
        <message>
            <source>已复制 %1 个频道</source>
            <translation>%1 channel(s) copied</translation>
        </message>
        <message>
            <source>您是否真的要将当前的所有参数写入电台？</source>
            <translation>Do you really want to write all of the radio parameters?</translation>
        </message>
    </context>
    <context>
        <name>ManualRequest</name>
        <message>
            <source>在 %1 MHz、%2 W 读功率计（dBm）</source>
            <translation>Read the power meter (dBm) at %1 MHz, %2 W</translation>
        </message>
        <message>
            <source>在 %1 MHz、%2 W 读载波频率误差（Hz）</source>
            <translation>Read the carrier frequency error (Hz) at %1 MHz, %2 W</translation>
        </message>
        <message>
            <source>在 %1 MHz、%2 W 读调制分析仪的频偏（Hz，峰值）</source>
            <translation>Read the modulation analyser's deviation (Hz, peak) at %1 MHz, %2 W</translation>
        </message>
        <message>
            <source>把信号源设为 %1 MHz、%2 dBm，打开输出，然后确认</source>
            <translation>Set the signal generator to %1 MHz, %2 dBm with its output on, then confirm</translation>
        </message>
        <message>
            <source>关闭信号源的输出</source>
            <translation>Turn the signal generator's output off</translation>
        </message>
    </context>
    <context>
        <name>ManualSource</name>
        <message>
            <source>没有输入读数</source>
            <translation>no reading was entered</translation>
        </message>
        <message>
            <source>信号源没有确认</source>
            <translation>the signal generator's setting was not confirmed</translation>
        </message>
    </context>
    <context>
        <name>ModuleSnapshot</name>
        <message>
            <source>%1 不是对象。</source>
            <translation>%1 is not an object.</translation>
        </message>
        <message>
            <source>%1 不是 12 位十六进制序列码。</source>
            <translation>%1 is not a serial number of 12 hex digits.</translation>
        </message>
        <message>
            <source>%1 的类型不对。</source>
            <translation>%1 has the wrong type.</translation>
        </message>
        <message>
            <source>频道 %1 接收频率</source>
            <translation>Channel %1 RX frequency</translation>
        </message>
        <message>
            <source>频道 %1 发射频率</source>
            <translation>Channel %1 TX frequency</translation>
        </message>
        <message>
            <source>频道 %1 发射功率</source>
            <translation>Channel %1 TX power</translation>
        </message>
        <message>
            <source>频道 %1 带宽</source>
            <translation>Channel %1 bandwidth</translation>
        </message>
        <message>
            <source>频道 %1 静噪等级</source>
            <translation>Channel %1 squelch level</translation>
        </message>
        <message>
            <source>频道 %1 亚音频/数字亚音频</source>
            <translation>Channel %1 CTCSS/DCS</translation>
        </message>
        <message>
            <source>频道 %1 扫描</source>
            <translation>Channel %1 scan</translation>
        </message>
        <message>
            <source>频道控制模式</source>
            <translation>Channel control mode</translation>
        </message>
        <message>
            <source>当前频道</source>
            <translation>Current channel</translation>
        </message>
        <message>
            <source>发射超时</source>
            <translation>TX timeout</translation>
        </message>
        <message>
            <source>发射停止时间</source>
            <translation>TX stop time</translation>
        </message>
        <message>
            <source>音量</source>
            <translation>Volume</translation>
        </message>
        <message>
            <source>省电模式</source>
            <translation>Power save</translation>
        </message>
        <message>
            <source>休眠时间</source>
            <translation>Sleep time</translation>
        </message>
        <message>
            <source>待机时间</source>
            <translation>Standby time</translation>
        </message>
        <message>
            <source>音频波形</source>
            <translation>Audio wave</translation>
        </message>
        <message>
            <source>侧音</source>
            <translation>Sidetone</translation>
        </message>
        <message>
            <source>频道扫描模式</source>
            <translation>Channel scan mode</translation>
        </message>
        <message>
            <source>%1：应为 %2，模块为 %3</source>
            <translation>%1: expected %2, module has %3</translation>
        </message>
    </context>
    <context>
        <name>ParetoChart</name>
        <message>
            <source>失效排列图</source>
            <translation>Failure Pareto</translation>
        </message>
        <message>
            <source>首次失效（按步骤）</source>
            <translation>First failure (by step)</translation>
        </message>
        <message>
            <source>单元数</source>
            <translation>Units</translation>
        </message>
        <message>
            <source>累计 (%)</source>
            <translation>Cumulative (%)</translation>
        </message>
        <message>
            <source>失效数</source>
            <translation>Failures</translation>
        </message>
        <message>
            <source>累计占比</source>
            <translation>Cumulative share</translation>
        </message>
    </context>
    <context>
        <name>PortChecks</name>
        <message>
            <source>设备存在</source>
            <translation>device exists</translation>
        </message>
        <message>
            <source>用户组</source>
            <translation>group</translation>
        </message>
        <message>
            <source>固定名称</source>
            <translation>stable names</translation>
        </message>
        <message>
            <source>打开并应答</source>
            <translation>opens and answers</translation>
        </message>
        <message>
            <source>仪器</source>
            <translation>instrument</translation>
        </message>
        <message>
            <source>解决：</source>
            <translation>fix: </translation>
        </message>
        <message>
            <source>%1 不存在</source>
            <translation>%1 does not exist</translation>
        </message>
        <message>
            <source>检查模块是否插好；lx815-cli ports 列出系统的串口。</source>
            <translation>Check that the module is plugged in; lx815-cli ports lists the system's serial ports.</translation>
        </message>
        <message>
            <source>只在 Linux 上检查</source>
            <translation>checked on Linux only</translation>
        </message>
        <message>
            <source>设备的组未知</source>
            <translation>the device's group is unknown</translation>
        </message>
        <message>
            <source>%1 组；root 用户可以打开任何设备</source>
            <translation>group %1; root opens every device</translation>
        </message>
        <message>
            <source>%1 组，当前用户在该组中</source>
            <translation>group %1, the user is in it</translation>
        </message>
        <message>
            <source>%1 组：用户已加入该组，但是在本次登录之后</source>
            <translation>group %1: the user was added to it after this login</translation>
        </message>
        <message>
            <source>注销并重新登录（或重启）后生效。</source>
            <translation>Log out and in again (or restart) for it to take effect.</translation>
        </message>
        <message>
            <source>%1 组，当前用户不在该组中</source>
            <translation>group %1, the user is not in it</translation>
        </message>
        <message>
            <source>sudo usermod -aG %1 $USER，然后注销并重新登录。</source>
            <translation>sudo usermod -aG %1 $USER, then log out and in again.</translation>
        </message>
        <message>
            <source>正在运行：它探测 USB 调制解调器，会破坏 ttyACM 设备上最初的几个字节</source>
            <translation>running: it probes USB modems and corrupts the first bytes on ttyACM devices</translation>
        </message>
        <message>
            <source>未运行</source>
            <translation>not running</translation>
        </message>
        <message>
            <source>sudo systemctl stop ModemManager（长期：sudo systemctl disable ModemManager）</source>
            <translation>sudo systemctl stop ModemManager (for good: sudo systemctl disable ModemManager)</translation>
        </message>
        <message>
            <source>已安装：它会占用 CH340 和 CP210x 转换器</source>
            <translation>installed: it claims CH340 and CP210x adapters</translation>
        </message>
        <message>
            <source>未安装</source>
            <translation>not installed</translation>
        </message>
        <message>
            <source>sudo apt remove brltty，然后重新插入转换器。</source>
            <translation>sudo apt remove brltty, then plug the adapter in again.</translation>
        </message>
        <message>
            <source>没有 /dev/serial/by-id 或 by-path 名称（不是 USB 转换器）</source>
            <translation>no /dev/serial/by-id or by-path name (not a USB adapter)</translation>
        </message>
        <message>
            <source>检查接线、模块的电源和线路参数（模块出厂为 9600 8N1）。</source>
            <translation>Check the wiring, the module's power and the line parameters (the module leaves the factory at 9600 8N1).</translation>
        </message>
        <message>
            <source>先解决上面失败的检查。</source>
            <translation>Fix the failed checks above first.</translation>
        </message>
        <message>
            <source>检查仪器的地址、电源和连线（LXI 仪器的 SCPI 端口通常是 5025）。</source>
            <translation>Check the instrument's address, power and cabling (the SCPI port of LXI instruments is usually 5025).</translation>
        </message>
        <message>
            <source>检查仪器配置的命令是否为这台仪器所用，以及仪器的远程控制设置。</source>
            <translation>Check that the profile's commands are this instrument's, and the instrument's remote control settings.</translation>
        </message>
    </context>
    <context>
        <name>PortProbe</name>
        <message>
            <source>无模块</source>
            <translation>no module</translation>
        </message>
        <message>
            <source>串口被占用</source>
            <translation>busy</translation>
        </message>
        <message>
            <source>无法打开</source>
            <translation>cannot open</translation>
        </message>
    </context>
    <context>
        <name>PowerCurveChart</name>
        <message>
            <source>功率档位 (W)</source>
            <translation>Power level (W)</translation>
        </message>
        <message>
            <source>功率表值</source>
            <translation>Power table value</translation>
        </message>
        <message>
            <source>%1 功率表</source>
            <translation>%1 power table</translation>
        </message>
        <message>
            <source>低频点</source>
            <translation>Low point</translation>
        </message>
        <message>
            <source>中频点</source>
            <translation>Middle point</translation>
        </message>
        <message>
            <source>高频点</source>
            <translation>High point</translation>
        </message>
        <message>
            <source>%1 全线中位数</source>
            <translation>%1, line median</translation>
        </message>
        <message>
            <source>%1 上次校准</source>
            <translation>%1, previous calibration</translation>
        </message>
    </context>
    <context>
        <name>ProductionMenu</name>
        <message>
            <source>生产(&amp;P)</source>
            <translation>&amp;Production</translation>
        </message>
    </context>
    <context>
        <name>Recipe</name>
        <message>
            <source>%1：未知的成员</source>
            <translation>%1: unknown member</translation>
        </message>
        <message>
            <source>%1：缺少此成员</source>
            <translation>%1: missing</translation>
        </message>
        <message>
            <source>%1：应为非空文本</source>
            <translation>%1: expected a text that is not empty</translation>
        </message>
        <message>
            <source>%1：应为非空的文本列表</source>
            <translation>%1: expected a list of texts that is not empty</translation>
        </message>
        <message>
            <source>%1：应为数字</source>
            <translation>%1: expected a number</translation>
        </message>
        <message>
            <source>%1：应为对象</source>
            <translation>%1: expected an object</translation>
        </message>
        <message>
            <source>%1：应为正数</source>
            <translation>%1: expected a positive number</translation>
        </message>
        <message>
            <source>%1：应为至少有一个限值的对象</source>
            <translation>%1: expected an object with at least one limit</translation>
        </message>
        <message>
            <source>%1：%2 在文件中不是数值</source>
            <translation>%1: %2 is not a number in its file</translation>
        </message>
        <message>
            <source>%1：配置文件和校准文件都没有路径 %2</source>
            <translation>%1: neither the configuration nor the calibration file has the path %2</translation>
        </message>
        <message>
            <source>%1：Min %2 大于 Max %3</source>
            <translation>%1: Min %2 is greater than Max %3</translation>
        </message>
        <message>
            <source>%1：Marginal 不能为负数</source>
            <translation>%1: Marginal must not be negative</translation>
        </message>
        <message>
            <source>%1：应为 %2 到 %3 的整数</source>
            <translation>%1: expected a whole number from %2 to %3</translation>
        </message>
        <message>
            <source>%1：应为 %2 之一</source>
            <translation>%1: expected one of %2</translation>
        </message>
        <message>
            <source>%1：Points 中没有 %2</source>
            <translation>%1: Points has no %2</translation>
        </message>
        <message>
            <source>%1：应为非空的数字列表</source>
            <translation>%1: expected a non-empty list of numbers</translation>
        </message>
        <message>
            <source>%1：静噪校准电平只能是 0.25 或 0.45 µV</source>
            <translation>%1: a squelch calibration level is 0.25 or 0.45 µV</translation>
        </message>
        <message>
            <source>%1：场强校准电平应为 0 到 127 dBµV 的整数</source>
            <translation>%1: an RSSI calibration level is a whole number from 0 to 127 dBµV</translation>
        </message>
        <message>
            <source>%1：应大于 0</source>
            <translation>%1: expected a number above 0</translation>
        </message>
        <message>
            <source>%1：%2 不是可调的校准值</source>
            <translation>%1: %2 is not an adjustable calibration value</translation>
        </message>
        <message>
            <source>%1：%2 只能在它自己的功率和点上以 power 测量</source>
            <translation>%1: %2 is measured as power at its own power and point</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1: %2</translation>
        </message>
        <message>
            <source>%1：应为至少有一个目标的列表</source>
            <translation>%1: expected a list of at least one target</translation>
        </message>
        <message>
            <source>%1：未知的步骤 "%2"</source>
            <translation>%1: unknown step "%2"</translation>
        </message>
        <message>
            <source>%1：需要 File 或 Folder 之一（不能两个都有）</source>
            <translation>%1: needs either File or Folder (not both)</translation>
        </message>
        <message>
            <source>%1：文件 %2 不存在</source>
            <translation>%1: the file %2 does not exist</translation>
        </message>
        <message>
            <source>%1：文件 %2 指定了模块 %3，用于所有模块的文件不能指定模块</source>
            <translation>%1: the file %2 names the unit %3; a file for every unit must name none</translation>
        </message>
        <message>
            <source>%1：文件夹 %2 不存在</source>
            <translation>%1: the folder %2 does not exist</translation>
        </message>
        <message>
            <source>%1：%2 不是文件夹</source>
            <translation>%1: %2 is not a folder</translation>
        </message>
        <message>
            <source>%1：无法读取文件 %2</source>
            <translation>%1: cannot read the file %2</translation>
        </message>
        <message>
            <source>配方不是 JSON 对象（%1）</source>
            <translation>The recipe is not a JSON object (%1)</translation>
        </message>
        <message>
            <source>%1：应为 "auto" 或 "button"</source>
            <translation>%1: expected "auto" or "button"</translation>
        </message>
        <message>
            <source>%1：应为 true 或 false</source>
            <translation>%1: expected true or false</translation>
        </message>
        <message>
            <source>%1：应为至少有一个步骤的列表</source>
            <translation>%1: expected a list of at least one step</translation>
        </message>
        <message>
            <source>%1：备份必须在第一次写入之前</source>
            <translation>%1: a backup must come before the first write</translation>
        </message>
        <message>
            <source>%1：无法读取配方</source>
            <translation>%1: cannot read the recipe</translation>
        </message>
        <message>
            <source>%1：无法创建文件夹 %2</source>
            <translation>%1: cannot create the folder %2</translation>
        </message>
        <message>
            <source>%1：无法写入文件夹 %2</source>
            <translation>%1: cannot write into the folder %2</translation>
        </message>
        <message>
            <source>此配方不接受型号 %1</source>
            <translation>model %1 is not accepted by this recipe</translation>
        </message>
        <message>
            <source>此配方不接受固件版本 %1</source>
            <translation>firmware %1 is not accepted by this recipe</translation>
        </message>
    </context>
    <context>
        <name>RecordsWriter</name>
        <message>
            <source>暂存库 %1 无法读取（%2）：其中的记录暂未发送。</source>
            <translation>The spool %1 cannot be read (%2): the entries waiting there are not sent for now.</translation>
        </message>
        <message>
            <source>历史记录数据库无法写入（%1），暂存库 %2 也无法写入（%3）：记录已丢失。</source>
            <translation>The history database cannot be written (%1), nor can the spool %2 (%3): the entry is lost.</translation>
        </message>
        <message>
            <source>历史记录数据库无法写入（%1）；记录暂存于 %2，下次操作时发送。</source>
            <translation>The history database cannot be written (%1); the entries wait in %2 and are sent with the next operation.</translation>
        </message>
    </context>
    <context>
        <name>ScpiTransport</name>
        <message>
            <source>连接超时</source>
            <translation>connection timed out</translation>
        </message>
        <message>
            <source>设备已断开</source>
            <translation>the device is gone</translation>
        </message>
        <message>
            <source>回答超过 %1 字节</source>
            <translation>the answer is longer than %1 bytes</translation>
        </message>
    </context>
    <context>
        <name>StationMenu</name>
        <message>
            <source>工位…</source>
            <translation>Station…</translation>
        </message>
    </context>
    <context>
        <name>StationTotals</name>
        <message>
            <source>模块 %1，通过 %2，临界 %3，失败 %4，错误 %5，一次通过率 %6%，周期时间中位数 %7 秒</source>
            <translation>units %1, pass %2, marginal %3, fail %4, error %5, first-pass yield %6%, median cycle time %7 s</translation>
        </message>
    </context>
    <context>
        <name>StationWindow</name>
        <message>
            <source>LX-815 生产工位</source>
            <translation>LX-815 Production Station</translation>
        </message>
        <message>
            <source>配方：</source>
            <translation>Recipe:</translation>
        </message>
        <message>
            <source>选择配方…</source>
            <translation>Choose Recipe…</translation>
        </message>
        <message>
            <source>操作员：</source>
            <translation>Operator:</translation>
        </message>
        <message>
            <source>更换操作员…</source>
            <translation>Change Operator…</translation>
        </message>
        <message>
            <source>通道（%1）…</source>
            <translation>Lanes (%1)…</translation>
        </message>
        <message>
            <source>全部开始</source>
            <translation>Start All</translation>
        </message>
        <message>
            <source>未启用</source>
            <translation>NOT USED</translation>
        </message>
        <message>
            <source>未启动</source>
            <translation>NOT STARTED</translation>
        </message>
        <message>
            <source>（未选择）</source>
            <translation>(none chosen)</translation>
        </message>
        <message>
            <source>选择一个配方，工位就按它处理每个模块。</source>
            <translation>Choose a recipe: the station processes every unit by it.</translation>
        </message>
        <message>
            <source>配方有问题：%1</source>
            <translation>The recipe has problems: %1</translation>
        </message>
        <message>
            <source>%1（版本 %2）</source>
            <translation>%1 (revision %2)</translation>
        </message>
        <message>
            <source>按按钮开始</source>
            <translation>started by button</translation>
        </message>
        <message>
            <source>模块接上即开始</source>
            <translation>starts when a unit is connected</translation>
        </message>
        <message>
            <source>，先扫描序列码</source>
            <translation>, serial number scanned first</translation>
        </message>
        <message>
            <source>步骤：%1（%2）</source>
            <translation>Steps: %1 (%2)</translation>
        </message>
        <message>
            <source>（未填写）</source>
            <translation>(not given)</translation>
        </message>
        <message>
            <source>配方</source>
            <translation>Recipe</translation>
        </message>
        <message>
            <source>配方 %1 不能用：</source>
            <translation>The recipe %1 cannot be used:</translation>
        </message>
        <message>
            <source>选择配方</source>
            <translation>Choose Recipe</translation>
        </message>
        <message>
            <source>配方 (*.json)</source>
            <translation>Recipes (*.json)</translation>
        </message>
        <message>
            <source>操作员</source>
            <translation>Operator</translation>
        </message>
        <message>
            <source>本班操作员：</source>
            <translation>Operator of this shift:</translation>
        </message>
        <message>
            <source>端口 %1 已在主窗口中打开，不能作为通道。请先在主窗口关闭它。</source>
            <translation>The port %1 is open in the main window and cannot be a lane. Close it in the main window first.</translation>
        </message>
        <message>
            <source>历史记录数据库设置 %1 无效：%2</source>
            <translation>The history database setting %1 is not valid: %2</translation>
        </message>
        <message>
            <source>今天（历史记录）：历史记录无法读取</source>
            <translation>Today (history): the history cannot be read</translation>
        </message>
        <message>
            <source>通道</source>
            <translation>Lanes</translation>
        </message>
        <message>
            <source>%1 件  PASS %2  MARGINAL %3  FAIL %4  ERROR %5  直通率 %6  中位周期 %7</source>
            <translation>units %1  PASS %2  MARGINAL %3  FAIL %4  ERROR %5  first-pass yield %6  median cycle %7</translation>
        </message>
        <message>
            <source>工位（自打开起）：%1</source>
            <translation>Station since opened: %1</translation>
        </message>
        <message>
            <source>今天（历史记录）：正在查询…</source>
            <translation>Today (history): being looked up…</translation>
        </message>
        <message>
            <source>今天（历史记录）：%1</source>
            <translation>Today (history): %1</translation>
        </message>
        <message>
            <source>关闭工位</source>
            <translation>Close Station</translation>
        </message>
        <message>
            <source>还有通道正在处理模块。关闭工位吗？正在处理的模块会先完成，然后工位关闭。</source>
            <translation>Lanes are still processing units. Close the station? The units being processed finish first, then the station closes.</translation>
        </message>
        <message>
            <source>正在等待各通道完成当前模块…</source>
            <translation>Waiting for the lanes to finish their units…</translation>
        </message>
    </context>
    <context>
        <name>StatisticsMenu</name>
        <message>
            <source>统计…</source>
            <translation>Statistics…</translation>
        </message>
        <message>
            <source>统计</source>
            <translation>Statistics</translation>
        </message>
    </context>
    <context>
        <name>StatisticsWindow</name>
        <message>
            <source>统计 — %1</source>
            <translation>Statistics — %1</translation>
        </message>
        <message>
            <source>全部</source>
            <translation>All</translation>
        </message>
        <message>
            <source>全部（SHA-256）</source>
            <translation>All (SHA-256)</translation>
        </message>
        <message>
            <source>查询</source>
            <translation>Query</translation>
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
            <source>工位</source>
            <translation>Station</translation>
        </message>
        <message>
            <source>工艺</source>
            <translation>Recipe</translation>
        </message>
        <message>
            <source>版本</source>
            <translation>Revision</translation>
        </message>
        <message>
            <source>型号</source>
            <translation>Model</translation>
        </message>
        <message>
            <source>操作员</source>
            <translation>Operator</translation>
        </message>
        <message>
            <source>通道</source>
            <translation>Lane</translation>
        </message>
        <message>
            <source>良率</source>
            <translation>Yield</translation>
        </message>
        <message>
            <source>步骤</source>
            <translation>Step</translation>
        </message>
        <message>
            <source>失败</source>
            <translation>Failure</translation>
        </message>
        <message>
            <source>台数</source>
            <translation>Units</translation>
        </message>
        <message>
            <source>占比</source>
            <translation>Share</translation>
        </message>
        <message>
            <source>累计</source>
            <translation>Cumulative</translation>
        </message>
        <message>
            <source>失败排列图</source>
            <translation>Failure Pareto</translation>
        </message>
        <message>
            <source>数值：</source>
            <translation>Value:</translation>
        </message>
        <message>
            <source>控制图</source>
            <translation>Control chart</translation>
        </message>
        <message>
            <source>功率曲线</source>
            <translation>Power curves</translation>
        </message>
        <message>
            <source>完成时间</source>
            <translation>Finished</translation>
        </message>
        <message>
            <source>序列码</source>
            <translation>Serial number</translation>
        </message>
        <message>
            <source>结果</source>
            <translation>Outcome</translation>
        </message>
        <message>
            <source>失败步骤</source>
            <translation>Failed step</translation>
        </message>
        <message>
            <source>说明</source>
            <translation>Message</translation>
        </message>
        <message>
            <source>导出 CSV…</source>
            <translation>Export CSV…</translation>
        </message>
        <message>
            <source>导出 PNG/SVG…</source>
            <translation>Export PNG/SVG…</translation>
        </message>
        <message>
            <source>导出图表</source>
            <translation>Export chart</translation>
        </message>
        <message>
            <source>PNG 图像 (*.png);;SVG 图形 (*.svg)</source>
            <translation>PNG images (*.png);;SVG drawings (*.svg)</translation>
        </message>
        <message>
            <source>导出 CSV</source>
            <translation>Export CSV</translation>
        </message>
        <message>
            <source>CSV 文件 (*.csv)</source>
            <translation>CSV files (*.csv)</translation>
        </message>
        <message>
            <source>无法写入文件 %1：%2</source>
            <translation>Cannot write the file %1: %2</translation>
        </message>
        <message>
            <source>正在查询…</source>
            <translation>Querying…</translation>
        </message>
        <message>
            <source>无法读取历史记录：%1</source>
            <translation>Cannot read the history: %1</translation>
        </message>
        <message>
            <source>%1 台，测试 %2 次，重测 %3 次；直通率 %4，最终良率 %5；最后结果：%6</source>
            <translation>%1 units, %2 runs, %3 retests; first-pass yield %4, final yield %5; last outcomes: %6</translation>
        </message>
        <message>
            <source>%1 点，均值 %2，标准差 %3，UCL %4，LCL %5，Cp %6，Cpk %7，失控 %8 点</source>
            <translation>%1 points, mean %2, sigma %3, UCL %4, LCL %5, Cp %6, Cpk %7, %8 out of control</translation>
        </message>
    </context>
    <context>
        <name>UnitRun</name>
        <message>
            <source>扫描的序列码是 %1，而模块的序列码是 %2</source>
            <translation>the serial number scanned is %1, but the module says %2</translation>
        </message>
        <message>
            <source>没有模块 %1 的校准文件（%2）</source>
            <translation>no calibration for unit %1 (%2)</translation>
        </message>
        <message>
            <source>文件 %1 的校准属于序列码 %2 的模块，而此模块是 %3</source>
            <translation>the calibration in %1 belongs to the unit with serial number %2, this one is %3</translation>
        </message>
        <message>
            <source>（另有 %1 处不同）</source>
            <translation> (and %1 more differences)</translation>
        </message>
        <message>
            <source>%1 个值在限值之内</source>
            <translation>%1 values within their limits</translation>
        </message>
        <message>
            <source>%1：模块没有给出此值</source>
            <translation>%1: the module did not give this value</translation>
        </message>
        <message>
            <source>手动测量的校准只能在校准向导中进行</source>
            <translation>a calibration with manual measurements runs only in the calibration wizard</translation>
        </message>
    </context>
    <context>
        <name>YieldChart</name>
        <message>
            <source>良率</source>
            <translation>Yield</translation>
        </message>
        <message>
            <source>良率 (%)</source>
            <translation>Yield (%)</translation>
        </message>
        <message>
            <source>日期（首次测试）</source>
            <translation>Date (first test)</translation>
        </message>
        <message>
            <source>工位（首次测试）</source>
            <translation>Station (first test)</translation>
        </message>
        <message>
            <source>直通率</source>
            <translation>First-pass yield</translation>
        </message>
        <message>
            <source>最终良率</source>
            <translation>Final yield</translation>
        </message>
    </context>
</TS>
