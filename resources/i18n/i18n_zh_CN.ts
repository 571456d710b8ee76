<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
    <context>
        <name>CalibrationRun</name>
        <message>
            <source>校准已取消</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：写入 %2，模块中为 %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：发射达到 %2 秒的上限，已停止发射</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>模块没有确认回到正常模式，它可能仍在发射：请立即断开它的电源</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>CalibrationSearch</name>
        <message>
            <source>%1 没有容差内的值：%2 时为 %3，%4 时为 %5，目标 %6 ± %7</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 在 %2 时只能达到 %3，目标 %4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 的响应不单调：%2 时为 %3，%4 时为 %5，%6 时为 %7</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 在 %2 次读数内未达到目标 %3 ± %4，最接近的是 %5 时的 %6</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>CalibrationWizard</name>
        <message>
            <source>校准向导</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方：%1，人工读数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方：%1，仪器：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>目标</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校准前</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>目标 ± 容差</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读数次数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>结果</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>确定</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>取消</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>关闭</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校准进行中…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>合格</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已完成</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请输入一个数字</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未进行</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校准完成，已保存为 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校准失败：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>正在取消…</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ChannelUndo</name>
        <message>
            <source>编辑频道 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导入 CSV</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>粘贴频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>清除频道 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开配置</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>载入历史记录</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>从模块读取</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>写入时清空的频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>撤销 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>撤销</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>重做 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>重做</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ChartExport</name>
        <message>
            <source>图表只能保存为 PNG 或 SVG 文件：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入文件 %1：%2</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ChirpCsv</name>
        <message>
            <source>已跳过：引号没有闭合</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：%1 MHz 超出频道表能显示的 999.99999 MHz</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 MHz 取整为 %2 MHz</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：频率 %1 不是以 MHz 为单位的频率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：Duplex 为 off（不发射），而模块的频道必须有发射频率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：不认识的 Duplex %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：Offset %1 不是以 MHz 为单位的频率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：split 的发射频率 %1 不是以 MHz 为单位的频率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：Duplex %1 与 Offset %2 MHz 给出的发射频率不在频道表能显示的范围内</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：模块不支持模式 %1（只有 FM 宽带和 NFM 窄带）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：亚音频 %1 Hz 不在频道表的列表中</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：不支持 DCS 极性 %1（只支持 NN）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：数字亚音频 %1 不在频道表的列表中</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：模块不支持亚音模式 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：Skip %1 既不是 S 也不是 P</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已跳过：功率 %1 不是以 W 为单位的数值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>功率 %1 改为 %2 W</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Comment 中的 %1 不是 L0 至 L5，静噪等级不变</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 行：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>填入的频道：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>清空的频道（文件中没有它们的行）：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>不变的频道（原本为空）：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 16 之后没有频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>16 个频道已用完</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未粘贴：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未导入：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1–%2 行的 %3 行未粘贴：%4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1–%2 行的 %3 行未导入：%4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 行起的各行未粘贴：%2；第 %3 行之后未读取</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 行起的各行未导入：%2；第 %3 行之后未读取</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 行起的记录超过 %2 字节，不是 CHIRP 的行；文件从这里起未读取。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件超过 %1 行；第 %1 行之后未读取。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频率 %1 MHz 超出模块的频段 %2 MHz</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>接收频率 %1 MHz 和发射频率 %2 MHz 超出模块的频段 %3 MHz</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>接收频率 %1 MHz 超出模块的频段 %2 MHz</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>发射频率 %1 MHz 超出模块的频段 %2 MHz</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件没有 CHIRP 的表头（缺少 Frequency 列）。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Location %1 → 频道 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>另有 %1 条关于跳过的行的说明未列出。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>名称不保留：模块的频道没有名称。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有可粘贴的行。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有可导入的行。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已粘贴 %1 行，放入频道 %2。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已导入 %1 行，放入频道 %2。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取文件 %1。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1：没有接收频率，未写出</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1：没有发射频率，写为 Duplex off（导入时会跳过）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1：%2 未选择，按 CHIRP 的默认值写出</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有使用中的频道可导出。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已导出 %1 个频道：%2。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入文件 %1。</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>CommandLine</name>
        <message>
            <source>无法读取文件 %1。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 不是 JSON 对象。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 中 %2 为 %3，超出范围 %4 至 %5。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 中 %2 为“%3”，应为 %4 之一。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 至 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>、</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 中 %2 为 %3，写入时须为 %4。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 中 %2 为 %3，而频道 %4 在用，写入时须为 %5。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 缺少 %2。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 中 %2 的类型不对。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 中没有可写入的参数。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入文件 %1。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 不是 JSON 对象，不覆盖它。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入文件夹 %1：没有写入的权限。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法创建文件夹 %1：%2 是文件，不是文件夹。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法创建文件夹 %1：没有在 %2 中创建文件夹的权限。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法创建文件夹 %1。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取备份失败，未写入任何内容。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>--force-unit：文件 %1 的校准属于序列码 %2 的模块，写入了序列码 %3 的模块。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 的校准属于序列码 %2 的模块，而此模块的序列码是 %3；未写入任何内容（--force-unit 仍然写入）。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>回读失败，无法校验。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已写入，但校验未通过！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校验未通过！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校验通过！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入文件 %1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>全部记录</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工位 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工艺 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此程序不能绘制图表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法创建文件夹 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：校准前 %2，校准后 %3，读数 %4 %5（目标 %6 ± %7），%8 次读数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：发送了 %2 个电平，最后 %3 %4</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ControlChart</name>
        <message>
            <source>测试序号（按时间）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 控制图</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>临界带</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>上限 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>下限 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>连续 %1 点在中心线同侧</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>超出控制限</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 控制图（最近 %2 点，共 %3 点）</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>波特率：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>数据位：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校验位：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>停止位：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>流控：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>查找模块</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>关闭</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>HistoryDialog</name>
        <message>
            <source>历史记录</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>序列码：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>查找</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>时间</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>序列码</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>型号</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>结果</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工位</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>说明</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>载入页面</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 条记录（%2）</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>HistoryReport</name>
        <message>
            <source>%1 … 共 %2 个</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>台数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>测试次数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>重测</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>直通率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>最终良率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>生产统计</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1；生成于 %2 UTC；日期按 %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>最后一次结果</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>每日良率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>日期</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>各工位良率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工位</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失败排列图</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>步骤</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失败</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>占比</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>累计</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>控制图：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>点数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>均值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>标准差</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失控点</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Instrument</name>
        <message>
            <source>无法连接：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>仪器配置 “%1” 没有 “%2” 的命令</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未连接</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 在 %2 毫秒内没有回答</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 失败：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 的回答不是错误条目：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 之后仪器报告错误 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 之后 “%2” 的回答不是 1：%3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 没有测到数值（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 的测量超出仪器的量程（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 的回答不是数字：%2</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>InstrumentAddress</name>
        <message>
            <source>“%1” 不是仪器地址（tcp://主机[:端口]、usbtmc:///dev/usbtmc0 或 serial:///dev/ttyUSB1?baud=9600）</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>InstrumentProfile</name>
        <message>
            <source>应为 JSON 对象</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未知成员 “%1”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 应为非空文字</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 应为文字</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 应为 %2 到 %3 的整数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 应为 true 或 false</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>缺少对象 “%1”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未知命令 “%1”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>缺少命令 “%1”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>命令 “%1” 应为一行不超过 %2 个字符的文字，或 null</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>命令 “%1” 含有未知的占位符 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>命令 “%1” 必须含有 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>找不到仪器配置 “%1”：%2</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>LaneStatus</name>
        <message>
            <source>等待模块</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请扫描序列码</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请按开始</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>运行中</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口不在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已停止</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>LaneTile</name>
        <message>
            <source>周期：—</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>周期：%1 s</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>重试 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>开始</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>扫描序列码</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>LaneWorker</name>
        <message>
            <source>串口 %1 已消失</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此模块的记录既未存入历史记录，也未存入暂存库</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>LanesDialog</name>
        <message>
            <source>工位通道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>勾选作为通道的端口（最多 %1 个），或输入设备路径：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>添加</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>一个工位最多 %1 个通道，已勾选 %2 个。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已选 %1 个通道</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Limits</name>
        <message>
            <source>%1 = %2，低于下限 %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 = %2，高于上限 %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 = %2，距下限 %3 不超过 %4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 = %2，距上限 %3 不超过 %4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 = %2，在 %3 至 %4 之内</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 %2 高于最近 %4 台 %3 σ</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 %2 低于最近 %4 台 %3 σ</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>（历史记录无法读取，使用本工位 %1 缓存的数值）</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>关闭串口</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>MSerialPort</name>
        <message>
            <source>打开失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有访问该串口的权限。请把当前用户加入 dialout 组，然后注销并重新登录。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>该串口正被占用（可能已被其他程序打开）。请关闭占用它的程序后重试。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口设备已断开，串口已关闭。</source>
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>固件版本：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频率范围：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>序列码：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>用户参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道控制模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>拨码开关</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>软件配置</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>当前频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>存储频道值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>发射保护</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>发射超时时间：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>s</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>保护时间：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>音量控制</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>(0 - 9)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>省电模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>开启</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>关闭</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>省电状态时间</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>休眠：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>x20 ms</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>待机：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>x40 ms</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>AUDIO_OUT 输出</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>方波</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>正弦波</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>侧音</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>模式：</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>停用虚拟串口</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>写</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开配置</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>设备(&amp;D)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口(&amp;S)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&amp;Language</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>帮助(&amp;H)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>toolBar</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开配置文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>保存配置文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取设备信息</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取所有参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>写入所有参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开配置窗口</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取设备</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配置串口</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口未打开，请检查！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读调整值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置调整值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置调整值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请读回该值以确认。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>进入/离开发射模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>接收灵敏度测试模式切换失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>静噪校准失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>场强校准失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置场强校准值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读场强校准值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置场强校准值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>按偏移量修改场强校准值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置发射功率校准值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频段！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择功率！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读发射功率校准值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置发射功率校准值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>按偏移量修改发射功率校准值失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读频率和功率失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置频道的频率和功率失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读频道参数失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置频道参数失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择电台频段！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读电台频段失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置电台频段失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请填写序列号！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请正确地填写序列号！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读序列号失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置序列号失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置侧音音量！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读侧音音量失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置侧音音量失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择基带信号耦合方式！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读基带信号耦合方式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置基带信号耦合方式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读电台频段信息失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读固件版本信息失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未知设备:</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读频道控制模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置频道控制模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读当前频道失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置当前频道失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读发射保护时间失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置发射保护时间失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读音量失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置音量失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读省电模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置省电模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读省电模式时间失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置省电模式时间失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读音频口输出波形类型失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置音频口输出波形类型失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读侧音开关失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置侧音开关失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读 RSSI 失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读频道扫描模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置频道扫描模式失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置停用虚拟串口失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频道控制模式！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频道值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置发射保护时间值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置音量！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择省电模式！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请配置省电模式时间值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择音频口输出波形类型！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请打开或关闭侧音！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频道扫描模式！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频率超出范围！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请先读取设备信息！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择发射功率值！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频道带宽！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频道静噪等级！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择亚音频/数字亚音频！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>请选择频是否扫描频道！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取失败！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工厂(&amp;C)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校准向导…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>选择配方</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方 %1 中没有校准步骤</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>错误</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>读取成功！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设置成功！</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Error</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口已打开</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口已关闭</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作进行中，请稍候。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>保存诊断报告…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>诊断报告已保存：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>校验模块</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>历史记录…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>警告</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>这些校准参数属于序列码 %1 的模块，而已识别的模块序列码是 %2。仍然写入吗？</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件的校准属于序列码 %1 的模块，写入了序列码 %2 的模块。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>历史记录数据库设置 %1 无效：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未识别</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已载入历史记录：序列码 %1 的用户参数和校准参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已载入历史记录：序列码 %1 的用户参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已载入历史记录：序列码 %1 的校准参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>模块中的参数与窗口中的一致。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>模块中有 %1 项参数与窗口中的不同：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>参数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>窗口</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>模块</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导入 CSV…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导出 CSV…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>复制全部频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>复制频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>粘贴频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>清除频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>编辑(&amp;E)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导入 CSV</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>CSV 文件 (*.csv);;所有文件 (*)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导出 CSV</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 已存在。要替换它吗？</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已复制 %1 个频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>您是否真的要将当前的所有参数写入电台？</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ManualRequest</name>
        <message>
            <source>在 %1 MHz、%2 W 读功率计（dBm）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>在 %1 MHz、%2 W 读载波频率误差（Hz）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>在 %1 MHz、%2 W 读调制分析仪的频偏（Hz，峰值）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>把信号源设为 %1 MHz、%2 dBm，打开输出，然后确认</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>关闭信号源的输出</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ManualSource</name>
        <message>
            <source>没有输入读数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>信号源没有确认</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ModuleSnapshot</name>
        <message>
            <source>%1 不是对象。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 不是 12 位十六进制序列码。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 的类型不对。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 接收频率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 发射频率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 发射功率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 带宽</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 静噪等级</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 亚音频/数字亚音频</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道 %1 扫描</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道控制模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>当前频道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>发射超时</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>发射停止时间</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>音量</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>省电模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>休眠时间</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>待机时间</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>音频波形</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>侧音</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>频道扫描模式</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为 %2，模块为 %3</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ParetoChart</name>
        <message>
            <source>失效排列图</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>首次失效（按步骤）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>单元数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>累计 (%)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失效数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>累计占比</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>PortChecks</name>
        <message>
            <source>设备存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>用户组</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>固定名称</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开并应答</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>仪器</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>解决：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 不存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>检查模块是否插好；lx815-cli ports 列出系统的串口。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>只在 Linux 上检查</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设备的组未知</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 组；root 用户可以打开任何设备</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 组，当前用户在该组中</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 组：用户已加入该组，但是在本次登录之后</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>注销并重新登录（或重启）后生效。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 组，当前用户不在该组中</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>sudo usermod -aG %1 $USER，然后注销并重新登录。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>正在运行：它探测 USB 调制解调器，会破坏 ttyACM 设备上最初的几个字节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未运行</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>sudo systemctl stop ModemManager（长期：sudo systemctl disable ModemManager）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>已安装：它会占用 CH340 和 CP210x 转换器</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未安装</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>sudo apt remove brltty，然后重新插入转换器。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有 /dev/serial/by-id 或 by-path 名称（不是 USB 转换器）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>检查接线、模块的电源和线路参数（模块出厂为 9600 8N1）。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>先解决上面失败的检查。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>检查仪器的地址、电源和连线（LXI 仪器的 SCPI 端口通常是 5025）。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>检查仪器配置的命令是否为这台仪器所用，以及仪器的远程控制设置。</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>PortProbe</name>
        <message>
            <source>无模块</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>串口被占用</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法打开</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>PowerCurveChart</name>
        <message>
            <source>功率档位 (W)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>功率表值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 功率表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>低频点</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>中频点</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>高频点</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 全线中位数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 上次校准</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ProductionMenu</name>
        <message>
            <source>生产(&amp;P)</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Recipe</name>
        <message>
            <source>%1：未知的成员</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：缺少此成员</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为非空文本</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为非空的文本列表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为数字</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为对象</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为正数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为至少有一个限值的对象</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2 在文件中不是数值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：配置文件和校准文件都没有路径 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：Min %2 大于 Max %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：Marginal 不能为负数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为 %2 到 %3 的整数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为 %2 之一</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：Points 中没有 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为非空的数字列表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：静噪校准电平只能是 0.25 或 0.45 µV</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：场强校准电平应为 0 到 127 dBµV 的整数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应大于 0</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2 不是可调的校准值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2 只能在它自己的功率和点上以 power 测量</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为至少有一个目标的列表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：未知的步骤 "%2"</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：需要 File 或 Folder 之一（不能两个都有）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：文件 %2 不存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：文件 %2 指定了模块 %3，用于所有模块的文件不能指定模块</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：文件夹 %2 不存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2 不是文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：无法读取文件 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方不是 JSON 对象（%1）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为 "auto" 或 "button"</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为 true 或 false</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：应为至少有一个步骤的列表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：备份必须在第一次写入之前</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：无法读取配方</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：无法创建文件夹 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：无法写入文件夹 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此配方不接受型号 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此配方不接受固件版本 %1</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>RecordsWriter</name>
        <message>
            <source>暂存库 %1 无法读取（%2）：其中的记录暂未发送。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>历史记录数据库无法写入（%1），暂存库 %2 也无法写入（%3）：记录已丢失。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>历史记录数据库无法写入（%1）；记录暂存于 %2，下次操作时发送。</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>ScpiTransport</name>
        <message>
            <source>连接超时</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设备已断开</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>回答超过 %1 字节</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>StationMenu</name>
        <message>
            <source>工位…</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>StationTotals</name>
        <message>
            <source>模块 %1，通过 %2，临界 %3，失败 %4，错误 %5，一次通过率 %6%，周期时间中位数 %7 秒</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>StationWindow</name>
        <message>
            <source>LX-815 生产工位</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>选择配方…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作员：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>更换操作员…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>通道（%1）…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>全部开始</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未启用</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>未启动</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>（未选择）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>选择一个配方，工位就按它处理每个模块。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方有问题：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1（版本 %2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>按按钮开始</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>模块接上即开始</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>，先扫描序列码</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>步骤：%1（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>（未填写）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方 %1 不能用：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>选择配方</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>配方 (*.json)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作员</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>本班操作员：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>端口 %1 已在主窗口中打开，不能作为通道。请先在主窗口关闭它。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>历史记录数据库设置 %1 无效：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>今天（历史记录）：历史记录无法读取</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>通道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 件  PASS %2  MARGINAL %3  FAIL %4  ERROR %5  直通率 %6  中位周期 %7</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工位（自打开起）：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>今天（历史记录）：正在查询…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>今天（历史记录）：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>关闭工位</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>还有通道正在处理模块。关闭工位吗？正在处理的模块会先完成，然后工位关闭。</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>正在等待各通道完成当前模块…</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>StatisticsMenu</name>
        <message>
            <source>统计…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>统计</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>StatisticsWindow</name>
        <message>
            <source>统计 — %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>全部</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>全部（SHA-256）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>查询</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>从</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>到</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工位</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工艺</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>版本</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>型号</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作员</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>通道</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>良率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>步骤</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失败</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>台数</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>占比</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>累计</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失败排列图</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>数值：</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>控制图</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>功率曲线</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>完成时间</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>序列码</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>结果</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>失败步骤</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>说明</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导出 CSV…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导出 PNG/SVG…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导出图表</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>PNG 图像 (*.png);;SVG 图形 (*.svg)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>导出 CSV</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>CSV 文件 (*.csv)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入文件 %1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>正在查询…</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取历史记录：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 台，测试 %2 次，重测 %3 次；直通率 %4，最终良率 %5；最后结果：%6</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 点，均值 %2，标准差 %3，UCL %4，LCL %5，Cp %6，Cpk %7，失控 %8 点</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>UnitRun</name>
        <message>
            <source>扫描的序列码是 %1，而模块的序列码是 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有模块 %1 的校准文件（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件 %1 的校准属于序列码 %2 的模块，而此模块是 %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>（另有 %1 处不同）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 个值在限值之内</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：模块没有给出此值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>手动测量的校准只能在校准向导中进行</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>YieldChart</name>
        <message>
            <source>良率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>良率 (%)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>日期（首次测试）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>工位（首次测试）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>直通率</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>最终良率</source>
            <translation type="unfinished" />
        </message>
    </context>
</TS>
