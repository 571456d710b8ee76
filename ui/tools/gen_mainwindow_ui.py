#!/usr/bin/env python3
"""Writes ui/mainwindow.ui, the designer form of the main window.

The window shell (menus, actions, tool bar, information bar and the tab widget with its three
empty pages) is kept below as literal XML. The content of the three pages is built from the
tables in this file: the user page, the LX-815 factory page and the MR-460 factory page. The
generated .ui is committed; it is what uic compiles and what Qt Designer opens. Change a table
here and run the script again rather than editing the pages by hand.

  python3 ui/tools/gen_mainwindow_ui.py           rewrite ui/mainwindow.ui
  python3 ui/tools/gen_mainwindow_ui.py --check   exit 1 when ui/mainwindow.ui is out of date
"""
import os
import re
import sys
import xml.etree.ElementTree as ET
from collections import namedtuple

UI_FILE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "mainwindow.ui")

# ---------------------------------------------------------------------------------------------
# The shell, exactly as Designer keeps it. Each page block gets its content inserted before
# its closing tag; the button groups follow <connections/>.

SHELL = r"""<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>MainWindow</class>
 <widget class="QMainWindow" name="MainWindow">
  <property name="geometry">
   <rect>
    <x>0</x>
    <y>0</y>
    <width>847</width>
    <height>675</height>
   </rect>
  </property>
  <property name="windowTitle">
   <string>MainWindow</string>
  </property>
  <property name="windowIcon">
   <iconset resource="../resources/resources.qrc">
    <normaloff>:/images/port.ico</normaloff>:/images/port.ico</iconset>
  </property>
  <widget class="QWidget" name="centralwidget">
   <layout class="QVBoxLayout" name="verticalLayout">
    <property name="spacing">
     <number>3</number>
    </property>
    <property name="leftMargin">
     <number>0</number>
    </property>
    <property name="topMargin">
     <number>0</number>
    </property>
    <property name="rightMargin">
     <number>0</number>
    </property>
    <property name="bottomMargin">
     <number>3</number>
    </property>
    <item>
     <widget class="QWidget" name="widget" native="true">
      <property name="maximumSize">
       <size>
        <width>16777215</width>
        <height>78</height>
       </size>
      </property>
      <property name="styleSheet">
       <string notr="true">background-color:rgb(217, 217, 217);</string>
      </property>
      <layout class="QGridLayout" name="gridLayout">
       <property name="topMargin">
        <number>5</number>
       </property>
       <property name="bottomMargin">
        <number>5</number>
       </property>
      <item row="0" column="0">
       <widget class="QLabel" name="label_13">
        <property name="text">
         <string>型号：</string>
        </property>
       </widget>
      </item>
      <item row="1" column="0">
       <widget class="QLineEdit" name="lineEdit_2">
        <property name="readOnly">
         <bool>true</bool>
        </property>
       </widget>
      </item>
      <item row="0" column="1">
       <widget class="QLabel" name="label_14">
        <property name="text">
         <string>固件版本：</string>
        </property>
       </widget>
      </item>
      <item row="1" column="1">
       <widget class="QLineEdit" name="lineEdit_3">
        <property name="readOnly">
         <bool>true</bool>
        </property>
       </widget>
      </item>
      <item row="0" column="2">
       <widget class="QLabel" name="label_15">
        <property name="text">
         <string>频率范围：</string>
        </property>
       </widget>
      </item>
      <item row="1" column="2">
       <widget class="QLineEdit" name="lineEdit_4">
        <property name="readOnly">
         <bool>true</bool>
        </property>
       </widget>
      </item>
      <item row="0" column="3">
       <widget class="QLabel" name="label_16">
        <property name="text">
         <string>序列码：</string>
        </property>
       </widget>
      </item>
      <item row="1" column="3">
       <widget class="QLineEdit" name="lineEdit_5">
        <property name="readOnly">
         <bool>true</bool>
        </property>
       </widget>
      </item>
      </layout>
     </widget>
    </item>
    <item>
     <widget class="QTabWidget" name="tabWidget_2">
      <property name="tabPosition">
       <enum>QTabWidget::North</enum>
      </property>
      <property name="currentIndex">
       <number>0</number>
      </property>
      <property name="tabsClosable">
       <bool>false</bool>
      </property>
      <property name="movable">
       <bool>false</bool>
      </property>
      <property name="tabBarAutoHide">
       <bool>false</bool>
      </property>
     <widget class="QWidget" name="tab_user">
      <attribute name="title">
       <string>用户参数</string>
      </attribute>
     </widget>
     <widget class="QWidget" name="tab_lx815">
      <attribute name="title">
       <string>内部参数调整</string>
      </attribute>
     </widget>
     <widget class="QWidget" name="tab_mr460">
      <attribute name="title">
       <string>MR-460 Adjustment</string>
      </attribute>
     </widget>
     </widget>
    </item>
   </layout>
  </widget>
  <widget class="QMenuBar" name="menubar">
   <property name="geometry">
    <rect>
     <x>0</x>
     <y>0</y>
     <width>847</width>
     <height>22</height>
    </rect>
   </property>
   <widget class="QMenu" name="menu">
    <property name="title">
     <string>文件(&amp;F)</string>
    </property>
    <addaction name="action"/>
    <addaction name="action_2"/>
    <addaction name="separator"/>
    <addaction name="action_4"/>
   </widget>
   <widget class="QMenu" name="menuShebei">
    <property name="title">
     <string>设备(&amp;D)</string>
    </property>
    <addaction name="action_5"/>
    <addaction name="separator"/>
    <addaction name="action_6"/>
    <addaction name="action_8"/>
   </widget>
   <widget class="QMenu" name="menu_S">
    <property name="title">
     <string>串口(&amp;S)</string>
    </property>
    <addaction name="action_9"/>
   </widget>
   <widget class="QMenu" name="menuLanguage">
    <property name="title">
     <string>&amp;Language</string>
    </property>
    <addaction name="action_en_US"/>
    <addaction name="action_zh_CN"/>
   </widget>
   <widget class="QMenu" name="menu_A">
    <property name="title">
     <string>帮助(&amp;H)</string>
    </property>
    <addaction name="action_11"/>
   </widget>
   <addaction name="menu"/>
   <addaction name="menuShebei"/>
   <addaction name="menu_S"/>
   <addaction name="menuLanguage"/>
   <addaction name="menu_A"/>
  </widget>
  <widget class="QStatusBar" name="statusbar"/>
  <widget class="QToolBar" name="toolBar">
   <property name="windowTitle">
    <string>toolBar</string>
   </property>
   <property name="maximumSize">
    <size>
     <width>16777215</width>
     <height>50</height>
    </size>
   </property>
   <property name="movable">
    <bool>false</bool>
   </property>
   <property name="toolButtonStyle">
    <enum>Qt::ToolButtonTextUnderIcon</enum>
   </property>
   <property name="floatable">
    <bool>false</bool>
   </property>
   <attribute name="toolBarArea">
    <enum>TopToolBarArea</enum>
   </attribute>
   <attribute name="toolBarBreak">
    <bool>false</bool>
   </attribute>
   <addaction name="actOpenCfgFile"/>
   <addaction name="actSaveCfgFile"/>
   <addaction name="separator"/>
   <addaction name="actReadDeviceInfo"/>
   <addaction name="separator"/>
   <addaction name="actSerialPortConfig"/>
  </widget>
  <action name="action">
   <property name="text">
    <string>打开配置文件</string>
   </property>
  </action>
  <action name="action_2">
   <property name="text">
    <string>保存配置文件</string>
   </property>
  </action>
  <action name="action_4">
   <property name="text">
    <string>关闭</string>
   </property>
  </action>
  <action name="action_5">
   <property name="text">
    <string>读取设备信息</string>
   </property>
  </action>
  <action name="action_6">
   <property name="text">
    <string>读取所有参数</string>
   </property>
  </action>
  <action name="action_8">
   <property name="text">
    <string>写入所有参数</string>
   </property>
  </action>
  <action name="action_9">
   <property name="text">
    <string>打开配置窗口</string>
   </property>
  </action>
  <action name="action_en_US">
   <property name="checkable">
    <bool>true</bool>
   </property>
   <property name="text">
    <string>English</string>
   </property>
  </action>
  <action name="action_zh_CN">
   <property name="checkable">
    <bool>true</bool>
   </property>
   <property name="text">
    <string>简体中文</string>
   </property>
  </action>
  <action name="action_11">
   <property name="text">
    <string>关于</string>
   </property>
  </action>
  <action name="actOpenCfgFile">
   <property name="icon">
    <iconset resource="../resources/resources.qrc">
     <normaloff>:/images/open.png</normaloff>:/images/open.png</iconset>
   </property>
   <property name="text">
    <string>打开配置</string>
   </property>
  </action>
  <action name="actSaveCfgFile">
   <property name="icon">
    <iconset resource="../resources/resources.qrc">
     <normaloff>:/images/save.png</normaloff>:/images/save.png</iconset>
   </property>
   <property name="text">
    <string>保存配置</string>
   </property>
  </action>
  <action name="actReadDeviceInfo">
   <property name="icon">
    <iconset resource="../resources/resources.qrc">
     <normaloff>:/images/device.png</normaloff>:/images/device.png</iconset>
   </property>
   <property name="text">
    <string>读取设备</string>
   </property>
  </action>
  <action name="actSerialPortConfig">
   <property name="icon">
    <iconset resource="../resources/resources.qrc">
     <normaloff>:/images/port.ico</normaloff>:/images/port.ico</iconset>
   </property>
   <property name="text">
    <string>配置串口</string>
   </property>
  </action>
 </widget>
 <resources>
  <include location="../resources/resources.qrc"/>
 </resources>
 <connections/>
</ui>
"""

# ---------------------------------------------------------------------------------------------
# Designer XML values and elements.

QWIDGETSIZE_MAX = 16777215


class Literal(str):
    """A text shown as it stands in every language (no translation)."""


class Enum(str):
    pass


Size = namedtuple("Size", "width height")
Rect = namedtuple("Rect", "x y width height")
Policy = namedtuple("Policy", "horizontal vertical")


def _value(parent, value):
    if isinstance(value, bool):
        ET.SubElement(parent, "bool").text = "true" if value else "false"
    elif isinstance(value, int):
        ET.SubElement(parent, "number").text = str(value)
    elif isinstance(value, Enum):
        ET.SubElement(parent, "enum").text = value
    elif isinstance(value, Literal):
        ET.SubElement(parent, "string", notr="true").text = value
    elif isinstance(value, str):
        ET.SubElement(parent, "string").text = value
    elif isinstance(value, Size):
        size = ET.SubElement(parent, "size")
        ET.SubElement(size, "width").text = str(value.width)
        ET.SubElement(size, "height").text = str(value.height)
    elif isinstance(value, Rect):
        rect = ET.SubElement(parent, "rect")
        for tag, number in zip(("x", "y", "width", "height"), value):
            ET.SubElement(rect, tag).text = str(number)
    elif isinstance(value, Policy):
        policy = ET.SubElement(parent, "sizepolicy", hsizetype=value.horizontal,
                               vsizetype=value.vertical)
        ET.SubElement(policy, "horstretch").text = "0"
        ET.SubElement(policy, "verstretch").text = "0"
    else:
        raise TypeError(f"no designer type for {value!r}")


def _properties(element, props):
    for name, value in props.items():
        if value is not None:
            _value(ET.SubElement(element, "property", name=name), value)


class Namer:
    """Designer needs a unique name for every widget, layout and spacer."""

    def __init__(self):
        self.used = set(re.findall(r'name="([^"]+)"', SHELL))
        self.counters = {}

    def claim(self, name):
        if name in self.used:
            raise SystemExit(f"gen_mainwindow_ui: object name {name} used twice")
        self.used.add(name)
        return name

    def auto(self, stem, first=2):
        number = self.counters.get(stem, first)
        while f"{stem}_{number}" in self.used:
            number += 1
        self.counters[stem] = number + 1
        return self.claim(f"{stem}_{number}")


NAMES = Namer()

# Unnamed labels and containers are numbered after the names the pages give their own.
AUTO_NAMES = {"QLabel": ("label", 17), "QWidget": ("widget", 9)}


def widget(cls, name=None, *, layout=None, children=(), attributes=None, native=False, **props):
    name = NAMES.claim(name) if name else NAMES.auto(*AUTO_NAMES[cls])
    element = ET.Element("widget", {"class": cls, "name": name})
    if native:
        element.set("native", "true")
    _properties(element, props)
    for attribute, value in (attributes or {}).items():
        _value(ET.SubElement(element, "attribute", name=attribute), value)
    if layout is not None:
        element.append(layout)
    element.extend(children)
    return element


def set_geometry(element, rect):
    geometry = ET.Element("property", name="geometry")
    _value(geometry, rect)
    element.insert(0, geometry)


def _layout(cls, stem, props):
    element = ET.Element("layout", {"class": cls, "name": NAMES.auto(stem)})
    _properties(element, props)
    return element


def margins(left, top=None, right=None, bottom=None):
    top = left if top is None else top
    right = left if right is None else right
    bottom = top if bottom is None else bottom
    return dict(leftMargin=left, topMargin=top, rightMargin=right, bottomMargin=bottom)


def grid(cells, **props):
    """cells: (item, row, column[, rowspan, colspan])."""
    element = _layout("QGridLayout", "gridLayout", props)
    for item, row, column, *span in cells:
        attributes = {"row": str(row), "column": str(column)}
        if span:
            attributes.update(rowspan=str(span[0]), colspan=str(span[1]))
        ET.SubElement(element, "item", attributes).append(item)
    return element


def hbox(items, **props):
    return _box("QHBoxLayout", "horizontalLayout", items, props)


def vbox(items, **props):
    return _box("QVBoxLayout", "verticalLayout", items, props)


def _box(cls, stem, items, props):
    element = _layout(cls, stem, props)
    for item in items:
        ET.SubElement(element, "item").append(item)
    return element


def spacer(horizontal, length=0):
    element = ET.Element("spacer", name=NAMES.auto("horizontalSpacer" if horizontal
                                                   else "verticalSpacer", 1))
    _value(ET.SubElement(element, "property", name="orientation"),
           Enum("Qt::Horizontal" if horizontal else "Qt::Vertical"))
    if length:
        _value(ET.SubElement(element, "property", name="sizeType"), Enum("QSizePolicy::Fixed"))
    hint = Size(length, 0) if horizontal else Size(0, length)
    _value(ET.SubElement(element, "property", name="sizeHint", stdset="0"),
           hint if length else Size(20, 20) if horizontal else Size(20, 40))
    return element


def label(text, name=None, **props):
    return widget("QLabel", name, text=text, **props)


def button(name, text, max_width=None, **props):
    if max_width:
        props["maximumSize"] = at_most_wide(max_width)
    return widget("QPushButton", name, text=text, **props)


def spin(name, low, high, **props):
    return widget("QSpinBox", name, minimum=low, maximum=high, **props)


def radio(name, text, group=None, **props):
    attributes = {"buttonGroup": Literal(group)} if group else None
    return widget("QRadioButton", name, text=text, attributes=attributes, **props)


def group_box(name, title, layout, **props):
    return widget("QGroupBox", name, title=title, layout=layout, **props)


def container(layout, name=None, **props):
    return widget("QWidget", name, layout=layout, native=True, **props)


def at_most_wide(width):
    return Size(width, QWIDGETSIZE_MAX)


def at_most_high(height):
    return Size(QWIDGETSIZE_MAX, height)


# ---------------------------------------------------------------------------------------------
# The user page.

SMALL_BUTTON = 40  # px: the Read/Set buttons of the parameter columns and the calibration keys
KEYPAD = dict(spacing=4, **margins(6))  # calibration groups: many small keys close together


def read_set(read_name, set_name, **props):
    return [button(read_name, "读取", SMALL_BUTTON, **props),
            button(set_name, "设置", SMALL_BUTTON, **props)]


def button_row(buttons):
    """The Read/Set buttons of a parameter group, kept to the right under its fields."""
    return hbox([spacer(True), *buttons])


def param_group(name, title, rows, buttons):
    """A user parameter group: rows of fields, then its buttons."""
    cells = []
    for row, fields in enumerate(rows):
        for column, field in enumerate(fields):
            if field is not None:
                cells.append((field, row, column))
    columns = max(len(fields) for fields in rows)
    cells.append((button_row(buttons), len(rows), 0, 1, columns + 1))
    cells.append((spacer(True), 0, columns))
    return group_box(name, title, grid(cells))


def choice_group(name, title, first, second, buttons):
    """An exclusive pair over its Read/Set buttons' rows, the buttons on the right."""
    return group_box(name, title, grid([(first, 0, 0), (second, 1, 0), (spacer(True), 0, 1),
                                        (buttons[0], 0, 2), (buttons[1], 1, 2)]))


def user_column_2():
    return [
        param_group("groupBox_4", "发射保护", [
            [label("发射超时时间：", "label_2"), spin("spinBox_2", 0, 255), label("s")],
            [label("保护时间：", "label_3"), spin("spinBox_3", 0, 255), label("s")],
        ], read_set("pushButton_7", "pushButton_8")),
        param_group("groupBox_5", "音量控制", [
            [spin("spinBox_4", 0, 9), label("(0 - 9)")],
        ], read_set("pushButton_9", "pushButton_10")),
        choice_group("groupBox_6", "省电模式", radio("radioButton_3", "开启"),
                     radio("radioButton_4", "关闭"), read_set("pushButton_11", "pushButton_12")),
        # Enabled only while power saving is on (after a read or write of the mode).
        param_group("groupBox_7", "省电状态时间", [
            [label("休眠：", "label_7"), spin("spinBox_5", 0, 25), label("x20 ms")],
            [label("待机：", "label_8"), spin("spinBox_6", 0, 15), label("x40 ms")],
        ], read_set("pushButton_13", "pushButton_14", enabled=False)),
    ]


def user_column_3():
    return [
        choice_group("groupBox_8", "AUDIO_OUT 输出", radio("radioButton_7", "方波"),
                     radio("radioButton_8", "正弦波"), read_set("pushButton_21", "pushButton_22")),
        choice_group("groupBox_9", "侧音", radio("radioButton_5", "开启"),
                     radio("radioButton_6", "关闭"), read_set("pushButton_19", "pushButton_20")),
        group_box("groupBox_10", "RSSI", hbox([
            widget("QLineEdit", "lineEdit", readOnly=True, maximumSize=at_most_wide(60)),
            label("dBuV"), spacer(True),
            button("pushButton_18", "读取", SMALL_BUTTON)])),
        param_group("groupBox_11", "频道扫描模式", [
            [label("模式：", "label_11"),
             combo("comboBox", [f"Mode {mode}" for mode in range(4)])],
        ], read_set("pushButton_15", "pushButton_16")),
        group_box("groupBox_12", "其他", hbox([button("pushButton_17", "停用虚拟串口")])),
    ]


def combo(name, items, **props):
    # As wide as its longest item, even when the window is at its minimum width.
    element = widget("QComboBox", name, sizePolicy=Policy("Fixed", "Fixed"),
                     sizeAdjustPolicy=Enum("QComboBox::AdjustToContents"), **props)
    for text in items:
        _value(ET.SubElement(ET.SubElement(element, "item"), "property", name="text"), text)
    return element


def column(name, groups):
    return container(vbox([*groups, spacer(False)], spacing=3, **margins(0)), name)


def user_page():
    channel_buttons = container(hbox([spacer(True), button("pushButton", "读取"),
                                      button("pushButton_2", "设置")], **margins(0)),
                                maximumSize=at_most_high(30))
    # The channel table grid is built in code inside wdgFreqBox; it takes all the room it gets.
    channels = group_box("groupBox_3", "", vbox([
        widget("QWidget", "wdgFreqBox", native=True, sizePolicy=Policy("Expanding", "Expanding")),
        channel_buttons], spacing=3, **margins(3)))
    modes = container(hbox([
        group_box("groupBox", "频道控制模式", grid([
            (radio("radioButton", "拨码开关"), 0, 0), (radio("radioButton_2", "软件配置"), 1, 0),
            (spacer(True), 0, 1),
            (button("pushButton_3", "读取"), 0, 2), (button("pushButton_4", "设置"), 1, 2)])),
        group_box("groupBox_2", "当前频道", grid([
            (widget("QCheckBox", "checkBox", text="存储频道值", checked=True), 0, 0, 1, 2),
            (label("频道：", "label"), 1, 0), (spin("spinBox", 1, 16), 1, 1),
            (spacer(True), 0, 2),
            (button("pushButton_5", "读取"), 0, 3), (button("pushButton_6", "设置"), 1, 3)])),
    ], spacing=3, **margins(0)), maximumSize=at_most_high(93))
    first = container(vbox([channels, modes], spacing=3, **margins(0)), "widget_3")
    return [hbox([first, column("widget_8", user_column_2()), column("widget_4", user_column_3())],
                 spacing=3, **margins(0))]


# ---------------------------------------------------------------------------------------------
# Calibration adjust groups. A button's object name carries its whole behaviour:
# adjust_o<operation>_t<type>_p<point>_[of<step index>_]spinBox_<n>_[signed_]

READ, WRITE, STEP = 0, 1, 2
LOW, MIDDLE, HIGH = 0, 1, 2

PageTexts = namedtuple("PageTexts", "read write middle low high")
LX_TEXTS = PageTexts("读", "写", "中端校准值", "低中端差值", "中高端差值")
LX_RX_FILTER_TEXTS = LX_TEXTS._replace(low="中低端差值", high="高中端差值")
MR_TEXTS = PageTexts("Read", "Set", "Middle Adjust", "Difference(Low - Mid)",
                     "Difference(Mid - High)")

# Step index by the label of the place it stands in; the step table maps 0..3 to -1, +1, -10, +10.
STEP_INDEX = {"+1": 1, "-1": 0, "+10": 3, "-10": 2}
# The MOD_BIAS groups step the bias the other way round: the same places send the opposite delta.
REVERSED_STEP_INDEX = {"+1": 0, "-1": 1, "+10": 2, "-10": 3}
REVERSED_STEP_TYPES = {2}
# The receive band-pass filter writes its low and high differences without "signed"; a write
# sends the low byte either way.
UNSIGNED_POINT_WRITE_TYPES = {11}

AdjustGroup = namedtuple("AdjustGroup", "title type low middle high texts")


def three_point(title, type_, low, middle, high, texts):
    return AdjustGroup(title, type_, low, middle, high, texts)


def single(title, type_, middle, texts):
    return AdjustGroup(title, type_, None, middle, None, texts)


ADJUST_GROUPS = {
    # LX-815 "频率校准"
    "groupBox_26": three_point("数据频偏校准", 7, "spinBox_76", "spinBox_75", "spinBox_77", LX_TEXTS),
    "groupBox_27": three_point("话音频偏校准", 6, "spinBox_79", "spinBox_80", "spinBox_78", LX_TEXTS),
    "groupBox_43": single("TCXO_BIAS 调整", 0, "spinBox_86", LX_TEXTS),
    "groupBox_44": single("MOD_BIAS 调整", 2, "spinBox_44", LX_TEXTS),
    "groupBox_29": single("亚音频偏校准", 3, "spinBox_41", LX_TEXTS),
    "groupBox_28": three_point("AUDIO_IN 校准", 12, "spinBox_54", "spinBox_55", "spinBox_53",
                               LX_TEXTS),
    # LX-815 "发射校准"
    "groupBox_23": three_point("  两点平衡调整（数据）", 5, "spinBox_73", "spinBox_72", "spinBox_74",
                               LX_TEXTS),
    # LX-815 "接收校准"
    "groupBox_30": three_point("接收带通滤波器调节", 11, "spinBox_85", "spinBox_84", "spinBox_56",
                               LX_RX_FILTER_TEXTS),
    "groupBox_19": single("RFSK 信号电平调节", 10, "spinBox_43", LX_TEXTS),
    "groupBox_40": single("R_BIAS 调整", 1, "spinBox_42", LX_TEXTS),
    # MR-460 "Transmit Frequency"
    "groupBox_49": single("TCXO Bias", 0, "spinBox_87", MR_TEXTS),
    "groupBox_50": single("MOD Bias", 2, "spinBox_45", MR_TEXTS),
    # MR-460 "Modulation"
    "groupBox_32": three_point("Data Modulation Freq Division", 7, "spinBox_104", "spinBox_103",
                               "spinBox_105", MR_TEXTS),
    "groupBox_33": three_point("AUDIO_IN", 12, "spinBox_107", "spinBox_106", "spinBox_108",
                               MR_TEXTS),
    "groupBox_34": three_point("Voice Modulation Freq Division", 6, "spinBox_109", "spinBox_111",
                               "spinBox_110", MR_TEXTS),
    "groupBox_31": single("CTCSS/DCS Freq Division", 3, "spinBox_46", MR_TEXTS),
}


def adjust_name(operation, type_, point, box, step=None, signed=False):
    name = f"adjust_o{operation}_t{type_}_p{point}_"
    if step is not None:
        name += f"of{step}_"
    name += f"{box}_"
    if signed:
        name += "signed_"
    return name


def adjust_button(text, operation, type_, point, box, step=None, signed=False):
    return button(adjust_name(operation, type_, point, box, step, signed), text, SMALL_BUTTON)


def step_cells(type_, box, row, column):
    """The four step keys: "+1" "-1" in `row`, "+10" "-10" below, from `column` on."""
    index = REVERSED_STEP_INDEX if type_ in REVERSED_STEP_TYPES else STEP_INDEX
    places = (("+1", 0, 0), ("-1", 0, 1), ("+10", 1, 0), ("-10", 1, 1))
    return [(adjust_button(text, STEP, type_, MIDDLE, box,
                           step=index[text]), row + down, column + right)
            for text, down, right in places]


def adjust_group(name):
    entry = ADJUST_GROUPS[name]
    t, texts = entry.type, entry.texts
    if entry.low is None:
        return group_box(name, entry.title, vbox([
            spin(entry.middle, 0, 255),
            grid([(adjust_button(texts.read, READ, t, MIDDLE, entry.middle), 0, 0),
                  (adjust_button(texts.write, WRITE, t, MIDDLE, entry.middle), 1, 0),
                  *step_cells(t, entry.middle, 0, 1)], spacing=4),
            spacer(False)], **KEYPAD))
    signed_write = t not in UNSIGNED_POINT_WRITE_TYPES
    return group_box(name, entry.title, grid([
        (label(texts.middle), 0, 0, 1, 3),
        (spin(entry.middle, 0, 255), 1, 0),
        (adjust_button(texts.read, READ, t, MIDDLE, entry.middle), 2, 0),
        (adjust_button(texts.write, WRITE, t, MIDDLE, entry.middle), 3, 0),
        *step_cells(t, entry.middle, 2, 1),
        (spacer(True, 12), 1, 3),
        (label(texts.low), 0, 4, 1, 3),
        (spin(entry.low, -128, 127), 1, 4),
        (adjust_button(texts.read, READ, t, LOW, entry.low, signed=True), 1, 5),
        (adjust_button(texts.write, WRITE, t, LOW, entry.low, signed=signed_write), 1, 6),
        (label(texts.high), 2, 4, 1, 3),
        (spin(entry.high, -128, 127), 3, 4),
        (adjust_button(texts.read, READ, t, HIGH, entry.high, signed=True), 3, 5),
        (adjust_button(texts.write, WRITE, t, HIGH, entry.high, signed=signed_write), 3, 6),
    ], **KEYPAD))


# ---------------------------------------------------------------------------------------------
# Transmit power tables: five powers by three frequency points. The row radio buttons and the
# column radio buttons share one grid (so rows line up with the spin boxes); two button groups
# per page keep each set exclusive on its own.

PowerTable = namedtuple("PowerTable", "title powers points boxes keys button_groups")

POWER_TABLES = {
    "groupBox_21": PowerTable(
        "功率校准",
        powers=[("radioButton_33", "1W功率调整值"), ("radioButton_32", "2W功率调整值"),
                ("radioButton_29", "3W功率调整值"), ("radioButton_31", "4W功率调整值"),
                ("radioButton_30", "5W功率调整值")],
        points=[("radioButton_16", "低端"), ("radioButton_15", "中端"), ("radioButton_17", "高端")],
        boxes=[  # rows 1 W to 5 W; columns low, middle, high
            ("spinBox_58", "spinBox_61", "spinBox_57"),
            ("spinBox_70", "spinBox_62", "spinBox_64"),
            ("spinBox_71", "spinBox_63", "spinBox_65"),
            ("spinBox_69", "spinBox_59", "spinBox_66"),
            ("spinBox_67", "spinBox_68", "spinBox_60"),
        ],
        keys=[("pushButton_186", "读"), ("pushButton_190", "写"), ("pushButton_185", "+1"),
              ("pushButton_189", "-1"), ("pushButton_187", "+10"), ("pushButton_188", "-10")],
        button_groups=("buttonGroupLxPower", "buttonGroupLxPoint")),
    "groupBox_24": PowerTable(
        "Transmit Power Adjustment",
        powers=[("radioButton_34", "1W Adjust"), ("radioButton_35", "2W Adjust"),
                ("radioButton_37", "3W Adjust"), ("radioButton_38", "4W Adjust"),
                ("radioButton_36", "5W Adjust")],
        points=[("radioButton_21", "Low"), ("radioButton_20", "Middle"),
                ("radioButton_19", "High")],
        boxes=[  # rows 1 W to 5 W; columns low, middle, high
            ("spinBox_93", "spinBox_88", "spinBox_89"),
            ("spinBox_92", "spinBox_97", "spinBox_90"),
            ("spinBox_98", "spinBox_101", "spinBox_95"),
            ("spinBox_102", "spinBox_94", "spinBox_96"),
            ("spinBox_99", "spinBox_91", "spinBox_100"),
        ],
        keys=[("pushButton_258", "Read"), ("pushButton_259", "Set"), ("pushButton_257", "+1"),
              ("pushButton_260", "-1"), ("pushButton_261", "+10"), ("pushButton_262", "-10")],
        button_groups=("buttonGroupMrPower", "buttonGroupMrPoint")),
}

BUTTON_GROUPS = []  # QButtonGroup names, in the order the form declares them


def power_table_group(name):
    entry = POWER_TABLES[name]
    power_group, point_group = entry.button_groups
    BUTTON_GROUPS.extend(entry.button_groups)
    cells = []
    # At start the 1 W row and the low point are selected.
    for row, (radio_name, text) in enumerate(entry.powers, 1):
        cells.append((radio(radio_name, text, power_group, checked=row == 1 or None), row, 0))
    for col, (radio_name, text) in enumerate(entry.points, 1):
        cells.append((radio(radio_name, text, point_group, checked=col == 1 or None), 0, col))
    for row, boxes in enumerate(entry.boxes, 1):
        for col, box in enumerate(boxes, 1):
            cells.append((spin(box, 0, 255), row, col))
    cells.append((spacer(True, 12), 1, 4))
    for index, (key_name, text) in enumerate(entry.keys):
        cells.append((button(key_name, text, SMALL_BUTTON), 1 + index // 2, 5 + index % 2))
    return group_box(name, entry.title, grid(cells, **KEYPAD))


# RSSI offsets: label, spin box, then read, write, +1, -1, +10, -10 keys of each point.
RSSI_OFFSETS = [
    ("低端", "spinBox_81", ["pushButton_27", "pushButton_114", "pushButton_121", "pushButton_120",
                          "pushButton_113", "pushButton_122"]),
    ("中端", "spinBox_82", ["pushButton_124", "pushButton_125", "pushButton_126", "pushButton_128",
                          "pushButton_127", "pushButton_123"]),
    ("高端", "spinBox_83", ["pushButton_130", "pushButton_131", "pushButton_132", "pushButton_134",
                          "pushButton_133", "pushButton_129"]),
]
RSSI_KEY_TEXTS = ["读", "写", "+1", "-1", "+10", "-10"]


def rssi_offset_group(name):
    """Eight columns: each point owns two, with a gap column between neighbours."""
    cells = []
    for (text, box, keys), col, span in zip(RSSI_OFFSETS, (0, 3, 6), (2, 3, 2)):
        cells.append((label(text), 0, col, 1, span))
        cells.append((spin(box, -128, 127), 1, col, 1, 2))
        for index, (key, key_text) in enumerate(zip(keys, RSSI_KEY_TEXTS)):
            cells.append((button(key, key_text, SMALL_BUTTON), 2 + index // 2, col + index % 2))
    cells += [(spacer(True, 12), 2, 2), (spacer(True, 12), 2, 5), (spacer(False), 5, 0)]
    return group_box(name, "场强偏移调整", grid(cells, **KEYPAD))


# ---------------------------------------------------------------------------------------------
# Test and factory setting groups.

LX_FORCE_TEXTS = ("强制进入发射模式\n数据PTT开启", "强制进入发射模式\n话音PTT开启", "返回正常模式")
MR_FORCE_TEXTS = ("Force to Tx\nData PTT Push", "Force to Tx\nVoice PTT push", "Back to normal")


def force_keys(data, voice, normal, texts):
    """Forced transmit with the data PTT, with the voice PTT, and back to normal."""
    return list(zip((data, voice, normal), texts))


# Groups of plain action buttons: title, buttons, laid out horizontally or vertically.
ACTION_GROUPS = {
    "groupBox_53": ("强制发射", force_keys("pushButton_273", "pushButton_274", "pushButton_275",
                                  LX_FORCE_TEXTS), "h"),
    "groupBox_46": ("强制发射", force_keys("pushButton_237", "pushButton_238", "pushButton_239",
                                  LX_FORCE_TEXTS), "h"),
    "groupBox_54": ("Force to Tx", force_keys("pushButton_278", "pushButton_277", "pushButton_276",
                                  MR_FORCE_TEXTS), "h"),
    "groupBox_55": ("Force to Tx", force_keys("pushButton_279", "pushButton_280", "pushButton_281",
                                  MR_FORCE_TEXTS), "v"),
    "groupBox_56": ("Force to Tx", force_keys("pushButton_282", "pushButton_283", "pushButton_284",
                                  MR_FORCE_TEXTS), "h"),
    "groupBox_47": ("灵敏度测试", [("pushButton_241", "进入灵敏度测试模式"),
                              ("pushButton_240", "结束灵敏度测试")], "h"),
    "groupBox_41": ("静噪校准", [("pushButton_23", "静噪0.25uV校准"),
                             ("pushButton_24", "静噪0.45uV校准")], "h"),
    "groupBox_42": ("场强校准", [("pushButton_25", "场强10dBuV校准"),
                             ("pushButton_26", "场强40dBuV校准")], "h"),
    "groupBox_52": ("Squelch Adjustment", [("pushButton_31", "0.25uV Adjust"),
                                           ("pushButton_32", "0.45uV Adjust")], "h"),
}


def action_group(name):
    title, buttons, orientation = ACTION_GROUPS[name]
    items = [button(button_name, text) for button_name, text in buttons]
    return group_box(name, title, hbox(items) if orientation == "h" else vbox(items))


# Baseband coupling: title, DC radio, AC radio, read key, set key. Neither is on at start.
COUPLING_GROUPS = {
    "groupBox_18": ("基带信号耦合方式(测试)", ("radioButton_12", "直流耦合"),
                    ("radioButton_13", "交流耦合"), ("pushButton_43", "读取"), ("pushButton_44", "设置")),
    "groupBox_20": ("基带信号耦合方式", ("radioButton_22", "直流耦合"), ("radioButton_23", "交流耦合"),
                    ("pushButton_45", "读取"), ("pushButton_46", "设置")),
    "groupBox_51": ("Baseband Signal Coupling", ("radioButton_14", "DC-coupling"),
                    ("radioButton_18", "AC-coupling"), ("pushButton_29", "Read"),
                    ("pushButton_30", "Set")),
}


def coupling_group(name):
    title, dc, ac, read, write = COUPLING_GROUPS[name]
    return group_box(name, title, hbox([radio(*dc), radio(*ac), spacer(True),
                                        button(*read), button(*write)]))


SERIAL_EDIT_MASK = Literal("HHHHHHHHHHHH")  # twelve hexadecimal digits, 48 bits

# Serial number: title, line edit, read key, set key.
SERIAL_GROUPS = {
    "groupBox_17": ("序列码", "lineEdit_6", ("pushButton_41", "读取"), ("pushButton_42", "设置")),
    "groupBox_25": ("SN", "lineEdit_7", ("pushButton_47", "Read"), ("pushButton_48", "Set")),
}


def serial_group(name):
    title, edit, read, write = SERIAL_GROUPS[name]
    return group_box(name, title, hbox([widget("QLineEdit", edit, inputMask=SERIAL_EDIT_MASK),
                                        button(*read), button(*write)]))


BAND_ITEMS = [Literal(text) for text in
              ("136 - 174 MHz", "400 - 440 MHz", "430 - 470 MHz", "450 - 490 MHz")]


def band_group(name):
    # No band is selected until one is read, loaded or chosen, so that a band is never written
    # to a module by accident.
    return group_box(name, "电台频段", hbox([
        label("频段："), combo("comboBox_2", BAND_ITEMS, currentIndex=-1),
        button("pushButton_39", "读取"), button("pushButton_40", "设置")]))


def sidetone_volume_group(name):
    return group_box(name, "侧音音量控制", hbox([
        spin("spinBox_7", 0, 9), label("(0 - 9)"), spacer(True),
        button("pushButton_37", "读取"), button("pushButton_38", "设置")]))


def bulk_group(name):
    """Every factory value but the serial number: to and from the module, or a file."""
    return group_box(name, "", grid([
        (label("除序列号之外的全部内部调整参数"), 0, 0, 1, 2),
        (button("pushButton_28", "读取全部参数"), 1, 0),
        (button("pushButton_242", "写入全部参数"), 1, 1),
        (button("pushButton_34", "保存配置"), 2, 0),
        (button("pushButton_33", "打开配置"), 2, 1)]))


GROUP_BUILDERS = {
    **{name: adjust_group for name in ADJUST_GROUPS},
    **{name: power_table_group for name in POWER_TABLES},
    **{name: action_group for name in ACTION_GROUPS},
    **{name: coupling_group for name in COUPLING_GROUPS},
    **{name: serial_group for name in SERIAL_GROUPS},
    "groupBox_22": rssi_offset_group,
    "groupBox_16": band_group,
    "groupBox_15": sidetone_volume_group,
    "groupBox_48": bulk_group,
}

# ---------------------------------------------------------------------------------------------
# Factory pages: each sub page places its groups at fixed positions (x, y, width, height).

LX_PAGES = ("tabWidget_3", [
    ("tab_6", "频率校准", [
        ("groupBox_26", Rect(5, 5, 330, 150)),
        ("groupBox_27", Rect(340, 5, 330, 150)),
        ("groupBox_29", Rect(675, 5, 150, 150)),
        ("groupBox_28", Rect(5, 160, 330, 150)),
        ("groupBox_43", Rect(340, 160, 150, 150)),
        ("groupBox_44", Rect(495, 160, 150, 150)),
        ("groupBox_53", Rect(5, 315, 360, 90)),
        ("groupBox_18", Rect(370, 315, 370, 90)),
    ]),
    ("tab_7", "发射校准", [
        ("groupBox_21", Rect(5, 5, 410, 220)),
        ("groupBox_23", Rect(420, 5, 330, 150)),
        ("groupBox_46", Rect(420, 160, 360, 90)),
    ]),
    ("tab_8", "接收校准", [
        ("groupBox_30", Rect(5, 5, 330, 150)),
        ("groupBox_19", Rect(340, 5, 150, 150)),
        ("groupBox_40", Rect(495, 5, 150, 150)),
        ("groupBox_22", Rect(5, 160, 330, 220)),
        ("groupBox_42", Rect(340, 160, 270, 70)),
        ("groupBox_47", Rect(340, 235, 270, 70)),
        ("groupBox_41", Rect(340, 310, 270, 70)),
    ]),
    ("tab_9", "其他", [
        ("groupBox_16", Rect(5, 5, 370, 72)),
        ("groupBox_17", Rect(5, 82, 370, 72)),
        ("groupBox_15", Rect(5, 159, 370, 72)),
        ("groupBox_20", Rect(5, 236, 370, 72)),
        ("groupBox_48", Rect(380, 5, 260, 110)),
    ]),
])

MR_PAGES = ("tabWidget", [
    ("tab", "Transmit Frequency", [
        ("groupBox_49", Rect(5, 5, 150, 150)),
        ("groupBox_50", Rect(160, 5, 150, 150)),
        ("groupBox_54", Rect(5, 160, 360, 90)),
        ("groupBox_51", Rect(370, 160, 420, 90)),
    ]),
    ("tab_2", "Transmit Power", [
        ("groupBox_24", Rect(5, 5, 410, 220)),
        ("groupBox_55", Rect(420, 5, 150, 220)),
    ]),
    ("tab_3", "Modulation", [
        ("groupBox_32", Rect(5, 5, 330, 150)),
        ("groupBox_34", Rect(340, 5, 330, 150)),
        ("groupBox_33", Rect(5, 160, 330, 150)),
        ("groupBox_31", Rect(340, 160, 200, 150)),
        ("groupBox_56", Rect(5, 315, 360, 90)),
    ]),
    ("tab_5", "Others", [
        ("groupBox_25", Rect(5, 5, 300, 72)),
        ("groupBox_52", Rect(5, 82, 300, 72)),
    ]),
])

PAGE_MARGIN = 5  # px kept free right of and below the last group of a sub page


def factory_page(pages):
    tab_widget_name, sub_pages = pages
    children = []
    for page_name, title, groups in sub_pages:
        boxes = []
        for group_name, rect in groups:
            box = GROUP_BUILDERS[group_name](group_name)
            set_geometry(box, rect)
            boxes.append(box)
        # A page never gets smaller than its groups, so none of them can be cut off.
        needed = Size(max(r.x + r.width for _, r in groups) + PAGE_MARGIN,
                      max(r.y + r.height for _, r in groups) + PAGE_MARGIN)
        children.append(widget("QWidget", page_name, children=boxes, minimumSize=needed,
                               attributes={"title": title}))
    tabs = widget("QTabWidget", tab_widget_name, currentIndex=0, children=children)
    return [vbox([tabs], **margins(3))]


# ---------------------------------------------------------------------------------------------

def page_xml(content):
    """Serialises the children of a page at the depth Designer gives them in the shell."""
    text = ""
    for element in content:
        ET.indent(element, space=" ", level=6)
        text += "      " + ET.tostring(element, encoding="unicode").replace(" />", "/>") + "\n"
    return text


def build():
    pages = {"tab_user": user_page(), "tab_lx815": factory_page(LX_PAGES),
             "tab_mr460": factory_page(MR_PAGES)}
    text = SHELL
    for name, content in pages.items():
        block = re.compile(r'(     <widget class="QWidget" name="%s">\n.*?\n)(     </widget>\n)'
                           % name, re.S)
        text, count = block.subn(lambda m: m.group(1) + page_xml(content) + m.group(2), text)
        assert count == 1, name
    groups = "".join(f'  <buttongroup name="{NAMES.claim(name)}"/>\n' for name in BUTTON_GROUPS)
    return text.replace(" <connections/>\n",
                        f" <connections/>\n <buttongroups>\n{groups} </buttongroups>\n")


def main():
    text = build()
    if "--check" in sys.argv[1:]:
        with open(UI_FILE, encoding="utf-8") as handle:
            if handle.read() != text:
                print(f"{UI_FILE} is out of date: run {sys.argv[0]}", file=sys.stderr)
                return 1
        return 0
    with open(UI_FILE, "w", encoding="utf-8") as handle:
        handle.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
