// The channel table as a plan: CSV import and export in the window and the command line, copy
// and paste of channels, and the undo history of every kind of change.
#include "support/factoryrig.h"

#include "config/chirpcsv.h"
#include "ui/userpage/channelundo.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

namespace {
const QStringList kSelectors{"TxPower", "Bandwidth", "SQLevel", "CTCSS_DCS", "Scan"};
const QByteArray kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

QString cell(int channel, const QString &field)
{
    return QStringLiteral("CH%1_%2").arg(channel).arg(field);
}

// Texts, markings and selections of every cell.
QStringList table(const MainWindow &window)
{
    QStringList shown;
    for (int n = 1; n <= 16; ++n) {
        for (const QString &field : {QStringLiteral("RxFreq"), QStringLiteral("TxFreq")}) {
            const auto *edit = window.findChild<QLineEdit *>(cell(n, field));
            shown << edit->displayText() + '|' + edit->styleSheet();
        }
        for (const QString &field : kSelectors)
            shown << QString::number(window.findChild<QComboBox *>(cell(n, field))->currentIndex());
    }
    return shown;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int runCli(const QStringList &arguments, QStringList *errors = nullptr)
{
    QProcess process;
    process.start(QDir(qEnvironmentVariable("LX_BINARY_DIR")).filePath("cli/lx815-cli"), arguments);
    const bool finished = process.waitForFinished(20000);
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    return finished ? process.exitCode() : -1;
}

QByteArray plan(const QStringList &rows)
{
    return kHeader + "\r\n" + rows.join("\r\n").toUtf8() + "\r\n";
}

const QString kBaseRow = QStringLiteral(
    "%1,CH%1,%2,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,2.0W,SQ=L1,,,,");
} // namespace

class TestChannelEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void undoRedo_data();
    void undoRedo();
    void hundredSteps();
    void undoKeys();
    void importShowsOneSummary();
    void pasteAtChannel15();
    void editMenuCopiesFocusedChannel();
    void shownFrequencyIsNoEntry_data();
    void shownFrequencyIsNoEntry();
    void commandLineRoundTrip();
    void commandLineExitCodes_data();
    void commandLineExitCodes();
    void commandLineSummary();
    void exportAddsExtension();
    void importOffersAllFiles();

private:
    void trigger(const QString &action) { m_rig->widget<QAction>(action)->trigger(); }
    std::unique_ptr<FactoryRig> m_rig;
    QTemporaryDir m_dir;
    QString m_chosen; // what the file dialogs answer
};

void TestChannelEditing::init()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
    m_rig->window().setFileChooser(
        [this](bool, const QString &, const QString &) { return m_chosen; });
    // A plan to start from, then a history that starts there.
    m_chosen = m_dir.filePath("base.csv");
    QVERIFY(writeFile(
        m_chosen, plan({kBaseRow.arg(1).arg("462.550000"), kBaseRow.arg(2).arg("462.575000")})));
    trigger("actImportCsv");
    m_rig->window().findChild<ChannelUndo *>()->stack()->clear();
    m_rig->clear();
}

void TestChannelEditing::cleanup()
{
    m_rig.reset();
}

void TestChannelEditing::undoRedo_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("frequency cell") << "rx"
                                    << "撤销 编辑频道 3";
    QTest::newRow("selector") << "selector"
                              << "撤销 编辑频道 2";
    QTest::newRow("import") << "import"
                            << "撤销 导入 CSV";
    QTest::newRow("paste") << "paste"
                           << "撤销 粘贴频道";
    QTest::newRow("clear") << "clear"
                           << "撤销 清除频道 1";
    QTest::newRow("configuration loaded") << "load"
                                          << "撤销 打开配置";
    QTest::newRow("read from the module") << "read"
                                          << "撤销 从模块读取";
}

void TestChannelEditing::undoRedo()
{
    QFETCH(QString, change);
    QFETCH(QString, undoText);
    MainWindow &window = m_rig->window();
    const QStringList before = table(window);
    if (change == "rx") {
        auto *rx = window.findChild<QLineEdit *>(cell(3, "RxFreq"));
        rx->setText("146.52");
        emit rx->editingFinished(); // red: no band read yet
    } else if (change == "selector") {
        auto *bandwidth = window.findChild<QComboBox *>(cell(2, "Bandwidth"));
        bandwidth->setCurrentIndex(0);
        emit bandwidth->activated(0);
    } else if (change == "import") {
        m_chosen = m_dir.filePath("other.csv");
        QVERIFY(writeFile(m_chosen, plan({kBaseRow.arg(5).arg("146.520000")})));
        trigger("actImportCsv");
    } else if (change == "paste") {
        QGuiApplication::clipboard()->setText(
            QString::fromUtf8(plan({kBaseRow.arg(9).arg("450.1")})));
        trigger("actPasteChannel4");
    } else if (change == "clear") {
        trigger("actClearChannel1");
    } else if (change == "load") {
        UserConfig config;
        config.channels[6] = UserChannel{45000000, 45500000, 4, 0, 5, 60, 1};
        m_chosen = m_dir.filePath("config.json");
        MJsonConfig(m_chosen).setValues(config.entries());
        trigger("action");
    } else if (change == "read") {
        QVERIFY(m_rig->click("pushButton"));
    }
    const QStringList after = table(window);
    QVERIFY(after != before);
    QCOMPARE(m_rig->widget<QAction>("actUndo")->text(), undoText);
    trigger("actUndo");
    QCOMPARE(table(window), before);
    QCOMPARE(m_rig->widget<QAction>("actRedo")->text(), "重做" + undoText.mid(2));
    trigger("actRedo");
    QCOMPARE(table(window), after);
}

void TestChannelEditing::hundredSteps()
{
    const QStringList start = table(m_rig->window());
    auto *level = m_rig->window().findChild<QComboBox *>(cell(1, "SQLevel"));
    for (int i = 0; i < 120; ++i) {
        level->setCurrentIndex(i % 2);
        emit level->activated(level->currentIndex());
    }
    QVERIFY(m_rig->window().findChild<ChannelUndo *>()->stack()->count() >= 100);
    while (m_rig->widget<QAction>("actUndo")->isEnabled())
        trigger("actUndo");
    QCOMPARE(table(m_rig->window()), start);
}

void TestChannelEditing::undoKeys()
{
    const auto keys = [this](const char *action) {
        QStringList texts;
        for (const QKeySequence &key : m_rig->widget<QAction>(action)->shortcuts())
            texts << key.toString();
        return texts;
    };
    QCOMPARE(keys("actUndo"), QStringList{"Ctrl+Z"});
    QCOMPARE(keys("actRedo"), (QStringList{"Ctrl+Shift+Z", "Ctrl+Y"}));
    // A focused frequency cell leaves the keys to the table's history.
    auto *rx = m_rig->window().findChild<QLineEdit *>(cell(4, "RxFreq"));
    rx->setText("450.12500");
    rx->setText("451.00000");
    QTest::keyClick(rx, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rx->displayText(), QStringLiteral("451.00000"));
}

void TestChannelEditing::importShowsOneSummary()
{
    trigger("action_5");                 // the band, 450-490 MHz
    QVERIFY(m_rig->click("pushButton")); // nothing to do with the import: shows it replaces
    m_chosen = m_dir.filePath("mixed.csv");
    QVERIFY(
        writeFile(m_chosen, plan({kBaseRow.arg(3).arg("146.520000"),
                                  "4,Air,124.5,,0,,88.5,88.5,023,NN,023,Tone->Tone,AM,5,,,,,,,"})));
    m_rig->clear();
    trigger("actImportCsv");
    QCOMPARE(m_rig->boxes().shown.size(), 1);
    const MessageBox::Shown &box = m_rig->boxes().shown.first();
    QCOMPARE(box.title, QStringLiteral("导入 CSV"));
    QCOMPARE(box.text, QStringLiteral("已导入 1 行，放入频道 3。\n填入的频道：3\n"
                                      "清空的频道（文件中没有它们的行）：1, 2, 4–16"));
    QCOMPARE(box.icon, QMessageBox::Warning); // a frequency outside the band read is a problem
    QVERIFY2(box.informativeText.startsWith(
                 QStringLiteral("第 2 行：频率 146.52000 MHz 超出模块的频段 ")) &&
                 box.informativeText.contains(QStringLiteral("\n第 3 行：已跳过：模块不支持模式")),
             qPrintable(box.informativeText));
    MainWindow &window = m_rig->window();
    QCOMPARE(window.findChild<QLineEdit *>(cell(3, "RxFreq"))->displayText(),
             QStringLiteral("146.52000"));
    QVERIFY(!window.findChild<QLineEdit *>(cell(3, "RxFreq"))->styleSheet().isEmpty());
    QCOMPARE(window.findChild<QLineEdit *>(cell(1, "RxFreq"))->displayText().remove('.').toUInt(),
             0u); // the module's channel 1 is gone: channels without a row are emptied
}

void TestChannelEditing::pasteAtChannel15()
{
    trigger("actCopyAllChannels");
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied.count("\r\n"), 3); // header and channels 1 and 2
    QGuiApplication::clipboard()->setText(copied + kBaseRow.arg(7).arg("450.0") + "\r\n");
    const QStringList before = table(m_rig->window());
    trigger("actPasteChannel15");
    const QStringList after = table(m_rig->window());
    QCOMPARE(after.mid(0, 14 * 7), before.mid(0, 14 * 7));
    QCOMPARE(after.mid(14 * 7, 7), before.mid(0, 7));
    QCOMPARE(after.mid(15 * 7, 7), before.mid(7, 7));
    QCOMPARE(m_rig->boxes().shown.size(), 1);
    QCOMPARE(m_rig->boxes().shown.first().text, QStringLiteral("已粘贴 2 行，放入频道 15, 16。"));
    QVERIFY(
        m_rig->boxes().shown.first().informativeText.startsWith(QStringLiteral("第 4 行：未粘贴")));
}

void TestChannelEditing::editMenuCopiesFocusedChannel()
{
    MainWindow &window = m_rig->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *from = window.findChild<QComboBox *>(cell(2, "Scan"));
    from->setFocus();
    QTest::keyClick(from, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text().count("\r\n"), 2); // header and channel 2
    auto *to = window.findChild<QComboBox *>(cell(9, "Bandwidth"));
    to->setFocus();
    QTest::keyClick(to, Qt::Key_V, Qt::ControlModifier);
    const QStringList shown = table(window);
    QCOMPARE(shown.mid(8 * 7, 7), shown.mid(1 * 7, 7));
    QCOMPARE(m_rig->widget<QAction>("actUndo")->text(), QStringLiteral("撤销 粘贴频道"));
}

void TestChannelEditing::shownFrequencyIsNoEntry_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change : {"read", "load", "import", "undo"})
        QTest::newRow(change) << change;
}

void TestChannelEditing::shownFrequencyIsNoEntry()
{
    QFETCH(QString, change);
    // Off every grid and, without a band read, out of range: an entry check would move it.
    const QString shown = QStringLiteral("146.52300");
    MainWindow &window = m_rig->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *rx = window.findChild<QLineEdit *>(cell(1, "RxFreq"));
    const QByteArray csv = plan({kBaseRow.arg(1).arg("146.523000")});
    QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
    if (change == "read") {
        m_rig->module().channels[0].rxFreq = 14652300;
        QVERIFY(m_rig->click("pushButton"));
    } else if (change == "load") {
        UserConfig config;
        config.channels[0] = UserChannel{14652300, 14652300, 4, 0, 5, 60, 1};
        m_chosen = m_dir.filePath("config.json");
        MJsonConfig(m_chosen).setValues(config.entries());
        trigger("actOpenCfgFile");
    } else {
        m_chosen = m_dir.filePath("shown.csv");
        QVERIFY(writeFile(m_chosen, csv));
        trigger("actImportCsv");
        if (change == "undo") {
            QVERIFY(writeFile(m_chosen, plan({kBaseRow.arg(1).arg("150.000000")})));
            trigger("actImportCsv");
            messages.clear();
            trigger("actUndo");
        }
    }
    // The user passes through the cell.
    rx->setFocus();
    m_rig->widget<QSpinBox>("spinBox_4")->setFocus();
    QCOMPARE(rx->displayText(), shown);
    QVERIFY(!rx->styleSheet().isEmpty());
    QStringList texts;
    for (const auto &arguments : qAsConst(messages))
        texts << arguments.at(0).toString();
    QVERIFY2(!texts.contains(QStringLiteral("警告：频率超出范围！")), qPrintable(texts.join('|')));
    if (change == "read")
        QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
}

void TestChannelEditing::commandLineRoundTrip()
{
    // CSV -> file (command line) -> window -> CSV: the same bytes.
    ChirpCsv::Channels channels{};
    channels[0] = UserChannel{46256250, 46756250, 4, 1, 2, 16, 0};
    channels[4] = UserChannel{15000000, 45000000, 0, 0, 5, 100, 1};
    const QByteArray csv = ChirpCsv::write(channels).csv;
    const QString csvPath = m_dir.filePath("plan.csv");
    const QString configPath = m_dir.filePath("plan.json");
    QVERIFY(writeFile(csvPath, csv));
    QCOMPARE(runCli({"csv-to-config", csvPath, configPath}), 0);
    m_chosen = configPath;
    trigger("action");
    m_chosen = m_dir.filePath("window.csv");
    trigger("actExportCsv");
    QCOMPARE(readFile(m_chosen), csv);
    QCOMPARE(runCli({"config-to-csv", configPath, m_dir.filePath("cli.csv")}), 0);
    QCOMPARE(readFile(m_dir.filePath("cli.csv")), csv);
}

void TestChannelEditing::commandLineExitCodes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("csv"); // written to in.csv first, unless empty
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no CSV file") << "csv-to-config" << QByteArray() << 2;
    QTest::newRow("no usable row")
        << "csv-to-config" << plan({"1,Air,124.5,,0,,88.5,88.5,023,NN,023,Tone->Tone,AM,5,,,,,,,"})
        << 2;
    QTest::newRow("no configuration file") << "config-to-csv" << QByteArray() << 2;
}

void TestChannelEditing::commandLineExitCodes()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, csv);
    QFETCH(int, exitCode);
    const QString csvPath = m_dir.filePath("in.csv");
    const QString configPath = m_dir.filePath("out.json");
    QFile::remove(csvPath);
    if (!csv.isEmpty())
        QVERIFY(writeFile(csvPath, csv));
    QCOMPARE(runCli(command == "csv-to-config" ? QStringList{command, csvPath, configPath}
                                               : QStringList{command, configPath, csvPath}),
             exitCode);
    QVERIFY(!QFile::exists(command == "csv-to-config" ? configPath : csvPath));
}

void TestChannelEditing::commandLineSummary()
{
    // Far more rows than channels: the table, then one line for the rest.
    QStringList rows;
    for (int n = 1; n <= 20000; ++n)
        rows << kBaseRow.arg(n).arg("462.550000");
    const QString csvPath = m_dir.filePath("huge.csv");
    QVERIFY(writeFile(csvPath, plan(rows)));
    QStringList errors;
    QCOMPARE(runCli({"csv-to-config", csvPath, m_dir.filePath("huge.json")}, &errors), 0);
    QCOMPARE(errors.size(), 19); // headline, channels, 16 x "Location → channel", the rest
    QCOMPARE(errors.at(1), QStringLiteral("  Filled: channels 1–16"));
    QCOMPARE(errors.last(), QStringLiteral("  The rows from line 18 on are not imported: all 16 "
                                           "channels are taken; nothing after line 119 was read"));
}

void TestChannelEditing::exportAddsExtension()
{
    const QString csv = m_dir.filePath("plan.csv");
    m_chosen = m_dir.filePath("plan");
    trigger("actExportCsv");
    QVERIFY(!QFile::exists(m_chosen));
    QVERIFY(readFile(csv).startsWith(kHeader));
    // The dialog asked about "plan": replacing "plan.csv" is asked here, and No keeps it.
    QVERIFY(writeFile(csv, "kept"));
    m_rig->clear();
    m_rig->boxes().setAnswer(QMessageBox::No);
    trigger("actExportCsv");
    QCOMPARE(m_rig->boxes().shown.size(), 1);
    QCOMPARE(readFile(csv), QByteArray("kept"));
}

void TestChannelEditing::importOffersAllFiles()
{
    m_rig->window().setFileChooser({});
    QStringList filters;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QFileDialog *>(widget);
            if (dialog && dialog->isVisible()) {
                filters = dialog->nameFilters();
                dialog->reject();
            }
        }
    });
    poll.start(20);
    trigger("actImportCsv");
    QCOMPARE(filters, (QStringList{"CSV 文件 (*.csv)", "所有文件 (*)"}));
}

QTEST_MAIN(TestChannelEditing)
#include "tst_channelediting.moc"
