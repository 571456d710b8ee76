// lx815-cli run as a child process against simulated modules on real pseudo-terminals, next to
// the window doing the same on the same modules.
#include "support/factoryrig.h"
#include "support/factorystates.h"
#include "support/pty.h"
#include "support/simharness.h"

#include "config/userconfig.h"
#include "serial/mserialport.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <functional>

Q_DECLARE_METATYPE(ModuleState)

namespace {
constexpr int kRunTimeoutMs = 20000;
constexpr quint8 kUhf2 = 0x13;

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

QString cliPath()
{
    const QString binaryDir = qEnvironmentVariable("LX_BINARY_DIR");
    return binaryDir.isEmpty()
               ? QDir(QCoreApplication::applicationDirPath()).filePath("../cli/lx815-cli")
               : QDir(binaryDir).filePath("cli/lx815-cli");
}

// Runs the tool with the event loop turning, so that simulators in this process answer it.
// stderrPath, when given, replaces the pipe of its standard error (a terminal, say).
CliRun runCli(const QStringList &arguments, const QString &stderrPath = QString())
{
    QProcess process;
    if (!stderrPath.isEmpty())
        process.setStandardErrorFile(stderrPath);
    QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    QElapsedTimer clock;
    clock.start();
    process.start(cliPath(), arguments);
    CliRun run;
    if (!finished.wait(kRunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.elapsedMs = clock.elapsed();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList lines(const QString &text)
{
    return text.split('\n', Qt::SkipEmptyParts);
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file with one member replaced (or removed, for an undefined value).
QByteArray edited(QJsonObject object, const QString &path, const QJsonValue &value)
{
    const QStringList keys = path.split('/', Qt::SkipEmptyParts);
    std::function<void(QJsonObject &, int)> apply = [&](QJsonObject &node, int depth) {
        if (depth == keys.size() - 1) {
            if (value.isUndefined())
                node.remove(keys[depth]);
            else
                node.insert(keys[depth], value);
            return;
        }
        QJsonObject child = node.value(keys[depth]).toObject();
        apply(child, depth + 1);
        node.insert(keys[depth], child);
    };
    apply(object, 0);
    return QJsonDocument(object).toJson();
}

// A module whose user side differs from the defaults in every value the file carries.
ModuleState userScrambled(ModuleState state)
{
    for (int i = 0; i < Wire::kChannelCount; ++i) {
        ChannelState &channel = state.channels[i];
        channel.txFreq += 1250;
        channel.rxFreq += 2500;
        channel.power = static_cast<quint8>((channel.power + 2) % 5);
        channel.bandwidth = channel.bandwidth == Wire::kOn ? Wire::kOff : Wire::kOn;
        channel.squelch = static_cast<quint8>((channel.squelch + 1) % 6);
        channel.ctcssDcs = static_cast<quint8>(0x80 + i);
        channel.scan = channel.scan == Wire::kOn ? Wire::kOff : Wire::kOn;
    }
    state.ctrlMode = state.ctrlMode == Wire::kOn ? Wire::kOff : Wire::kOn;
    state.currentChannel = 9;
    state.storeChannel = 0;
    state.txTimeout = 200;
    state.protectTime = 33;
    state.volume = 2;
    state.powerSave = state.powerSave == Wire::kOn ? Wire::kOff : Wire::kOn;
    state.sleepTime = 21;
    state.standbyTime = 14;
    state.audioWave = state.audioWave == Wire::kOn ? Wire::kOff : Wire::kOn;
    state.sidetone = state.sidetone == Wire::kOn ? Wire::kOff : Wire::kOn;
    state.scanMode = 2;
    return state;
}

// What the user configuration carries of a module; the current channel only where the
// module takes it from the program.
ModuleState userSide(const ModuleState &state)
{
    ModuleState side;
    side.channels = state.channels;
    side.ctrlMode = state.ctrlMode;
    if (state.ctrlMode != Wire::kOn) {
        side.currentChannel = state.currentChannel;
        side.storeChannel = state.storeChannel;
    }
    side.txTimeout = state.txTimeout;
    side.protectTime = state.protectTime;
    side.volume = state.volume;
    side.powerSave = state.powerSave;
    side.sleepTime = state.sleepTime;
    side.standbyTime = state.standbyTime;
    side.audioWave = state.audioWave;
    side.sidetone = state.sidetone;
    side.scanMode = state.scanMode;
    return side;
}

// What the factory calibration file carries of a module.
ModuleState factorySide(const ModuleState &state)
{
    ModuleState side;
    for (quint8 type : {0, 1, 2, 3, 5, 6, 7, 10, 11, 12}) {
        for (int point = 0; point < Wire::kAdjustPoints; ++point)
            side.setAdjustValue(type, point, state.adjustValue(type, point));
    }
    side.rssiOffsets = state.rssiOffsets;
    side.powerTable = state.powerTable;
    side.sidetoneVolume = state.sidetoneVolume;
    side.coupling = state.coupling;
    side.band = state.band;
    return side;
}

// A V-band module with values the window's widgets cannot show as they are.
ModuleState userEdgeValues()
{
    ModuleState state = ModuleState::defaults(0x10);
    state.channels[1].txFreq = 0;       // half a channel: no power, no parameters
    state.channels[2].power = 7;        // no power item
    state.channels[3].ctcssDcs = 0x40;  // no CTCSS/DCS item
    state.channels[4].squelch = 9;      // no squelch item
    state.channels[5].txFreq = 5000000; // 50 MHz: the three-digit mask makes it 500 MHz
    state.channels[6].bandwidth = 0x01; // anything but 0x55 is the second option
    state.channels[6].scan = 0x02;
    state.channels[7].rxFreq = 45000000; // out of band: shown as it is
    state.ctrlMode = Wire::kOn;
    state.currentChannel = 20; // the spin box stops at 16
    state.volume = 12;         // and at 9
    state.sleepTime = 30;      // 25
    state.standbyTime = 20;    // 15
    state.powerSave = 0x01;
    state.scanMode = 7; // no item
    return state;
}

ModuleState factoryEdgeValues()
{
    ModuleState state = FactoryStates::distinct();
    state.sidetoneVolume = 12; // the spin box stops at 9
    state.band = 0x20;         // no band item
    state.coupling = 0x02;     // anything but 0 is AC
    return state;
}

SimHarness::Options withState(const ModuleState &state)
{
    SimHarness::Options options;
    options.state = state;
    return options;
}

// Triggers the window's action or clicks its button; the operation has run when this returns.
bool activate(MainWindow &window, const QString &name)
{
    if (auto *action = window.findChild<QAction *>(name)) {
        action->trigger();
        return true;
    }
    if (auto *button = window.findChild<QAbstractButton *>(name)) {
        button->click();
        return true;
    }
    return false;
}

QList<int> percentages(const QByteArray &terminalText)
{
    QList<int> found;
    const QRegularExpression percent(QStringLiteral("(\\d+)%"));
    auto it = percent.globalMatch(QString::fromUtf8(terminalText));
    while (it.hasNext())
        found.append(it.next().captured(1).toInt());
    return found;
}
} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void usageErrors_data();
    void usageErrors();
    void portsListsThePlatformsPorts();
    void infoMatchesTheModule_data();
    void infoMatchesTheModule();
    void readMatchesTheWindowsFile_data();
    void readMatchesTheWindowsFile();
    void writeProgramsLikeTheWindow_data();
    void writeProgramsLikeTheWindow();
    void moduleFailures_data();
    void moduleFailures();
    void refusedFileValues_data();
    void refusedFileValues();
    void badFilesSendNothing_data();
    void badFilesSendNothing();
    void existingFile_data();
    void existingFile();
    void portsThatDoNotOpen_data();
    void portsThatDoNotOpen();
    void progressOnATerminal_data();
    void progressOnATerminal();
    void modulesAreProgrammedConcurrently();
    void lostPortSaysItOnce();

private:
    QTemporaryDir m_dir;
    QString m_userFile;    // read from a default module
    QString m_factoryFile; // read from FactoryStates::distinct()
};

void TestCli::initTestCase()
{
    qRegisterMetaType<QProcess::ExitStatus>();
    QVERIFY2(QFileInfo::exists(cliPath()), qPrintable(cliPath()));
    QVERIFY(m_dir.isValid());
    m_userFile = m_dir.filePath("user.json");
    m_factoryFile = m_dir.filePath("factory.json");
    SimHarness user;
    SimHarness factory(withState(FactoryStates::distinct()));
    QVERIFY(user.isReady() && factory.isReady());
    QCOMPARE(runCli({"read-config", m_userFile, "--port", user.portPath()}).exitCode, 0);
    QCOMPARE(runCli({"read-calibration", m_factoryFile, "--port", factory.portPath()}).exitCode, 0);
    // For run: a recipe no default module passes, and one refused whole.
    for (const auto &[name, steps] :
         {std::pair{"fails.json",
                    R"([{"Step": "check", "Limits": {"/Volume": {"Min": 100, "Max": 120}}}])"},
          std::pair{"refused.json", R"([{"Step": "solder"}])"}}) {
        QFile recipe(m_dir.filePath(name));
        QVERIFY(recipe.open(QIODevice::WriteOnly));
        recipe.write(QByteArray(R"({"Recipe": "r", "Revision": "1", "Steps": )") + steps + "}");
    }
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // on either stream; {module}: a module's port
    const QString port = "--port=/dev/null";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "";
    QTest::newRow("no command") << QStringList{port} << 2 << "no command";
    QTest::newRow("unknown command") << QStringList{"flash", port} << 2 << "unknown command";
    QTest::newRow("unknown option") << QStringList{"info", port, "--speed=1"} << 2 << "speed";
    QTest::newRow("no port") << QStringList{"info"} << 2 << "needs --port";
    QTest::newRow("no file") << QStringList{"read-config", port} << 2 << "exactly one FILE";
    QTest::newRow("extra argument") << QStringList{"info", "x", port} << 2 << "no further";
    QTest::newRow("baud") << QStringList{"info", port, "--baud=fast"} << 2 << "--baud";
    QTest::newRow("data bits") << QStringList{"info", port, "--data-bits=9"} << 2 << "data-bits";
    QTest::newRow("parity") << QStringList{"info", port, "--parity=maybe"} << 2 << "parity";
    QTest::newRow("stop bits") << QStringList{"info", port, "--stop-bits=3"} << 2 << "stop-bits";
    QTest::newRow("flow") << QStringList{"info", port, "--flow-control=xon"} << 2 << "flow";
    QTest::newRow("language") << QStringList{"info", port, "--lang=fr_FR"} << 2 << "--lang";
    QTest::newRow("same port twice") << QStringList{"info", port, port} << 2 << "twice";
    QTest::newRow("one file, two reads")
        << QStringList{"read-config", "a.json", port, "--port=/dev/zero"} << 2 << "{port}";
    QTest::newRow("two ports, one file name")
        << QStringList{"read-config", "{port}.json", "--port=/dev/null", "--port=/tmp/null"} << 2
        << "{port}";
    QTest::newRow("run: a unit fails")
        << QStringList{"run", m_dir.filePath("fails.json"), "--port", "{module}", "--no-records"}
        << 1 << "FAIL";
    QTest::newRow("run: recipe refused")
        << QStringList{"run", m_dir.filePath("refused.json"), port, "--no-records"} << 2
        << "Steps[0].Step";
    QTest::newRow("run: port does not open")
        << QStringList{"run", m_dir.filePath("fails.json"), "--port", m_dir.filePath("ttyMissing"),
                       "--no-records"}
        << 3 << "ttyMissing";
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    SimHarness module;
    QVERIFY(module.isReady());
    arguments.replaceInStrings("{module}", module.portPath());
    const CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.err + run.out).contains(message), qPrintable(run.err + run.out));
}

void TestCli::portsListsThePlatformsPorts()
{
    const CliRun run = runCli({"ports"});
    QCOMPARE(run.exitCode, 0);
    QStringList names;
    for (const QString &line : lines(run.out))
        names.append(line.section('\t', 0, 0));
    QCOMPARE(names, MSerialPort::availablePortNames());
}

void TestCli::infoMatchesTheModule_data()
{
    QTest::addColumn<quint8>("band");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("range");
    QTest::addColumn<qint64>("freqMin");
    QTest::addColumn<qint64>("freqMax");
    QTest::newRow("V") << quint8(0x10) << "LX-815 V"
                       << "136 MHz - 174 MHz" << qint64(13600000) << qint64(17400000);
    QTest::newRow("U0") << quint8(0x11) << "LX-815 U0"
                        << "400 MHz - 440 MHz" << qint64(40000000) << qint64(44000000);
    QTest::newRow("U1") << quint8(0x12) << "LX-815 U1"
                        << "430 MHz - 470 MHz" << qint64(43000000) << qint64(47000000);
    QTest::newRow("U2") << quint8(0x13) << "LX-815 U2"
                        << "450 MHz - 490 MHz" << qint64(45000000) << qint64(49000000);
}

void TestCli::infoMatchesTheModule()
{
    QFETCH(quint8, band);
    QFETCH(QString, model);
    QFETCH(QString, range);
    QFETCH(qint64, freqMin);
    QFETCH(qint64, freqMax);
    ModuleState state = ModuleState::defaults(band);
    state.firmware = QStringLiteral("V2.%1").arg(band);
    state.serialNumber = QByteArray::fromHex("0123456789AB") + char(band);
    state.serialNumber = state.serialNumber.right(ModuleState::kSerialBytes);
    SimHarness sim(withState(state));
    QVERIFY(sim.isReady());

    const CliRun json = runCli({"info", "--json", "--port", sim.portPath()});
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(lines(json.out).size(), 1);
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(object.value("port").toString(), sim.portPath());
    QCOMPARE(object.value("band").toInt(), int(band));
    QCOMPARE(object.value("model").toString(), model);
    QCOMPARE(object.value("frequencyRange").toString(), range);
    QCOMPARE(object.value("freqMin").toVariant().toLongLong(), freqMin);
    QCOMPARE(object.value("freqMax").toVariant().toLongLong(), freqMax);
    QCOMPARE(object.value("firmware").toString(), state.firmware);
    QCOMPARE(object.value("serialNumber").toString(),
             QString(state.serialNumber.toHex().toUpper()));
    QCOMPARE(sim.requests().size(), 3);

    const CliRun text = runCli({"info", "--port", sim.portPath()});
    QCOMPARE(text.exitCode, 0);
    QCOMPARE(text.out.trimmed(), QStringLiteral("%1: Model: %2  Frequency Range: %3  Firmware "
                                                "Version: %4  SN: %5")
                                     .arg(sim.portPath(), model, range, state.firmware,
                                          QString(state.serialNumber.toHex().toUpper())));
}

void TestCli::readMatchesTheWindowsFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<ModuleState>("module");
    QTest::addColumn<QStringList>("windowRead");
    QTest::addColumn<QString>("windowSave");
    const QStringList userRead{"action_6"};
    const QStringList factoryRead{"pushButton_28"};
    QTest::newRow("user, defaults")
        << "read-config" << ModuleState::defaults() << userRead << "actSaveCfgFile";
    QTest::newRow("user, edge values")
        << "read-config" << userEdgeValues() << userRead << "actSaveCfgFile";
    QTest::newRow("factory, distinct values")
        << "read-calibration" << FactoryStates::distinct() << factoryRead << "pushButton_34";
    QTest::newRow("factory, edge values")
        << "read-calibration" << factoryEdgeValues() << factoryRead << "pushButton_34";
}

void TestCli::readMatchesTheWindowsFile()
{
    QFETCH(QString, command);
    QFETCH(ModuleState, module);
    QFETCH(QStringList, windowRead);
    QFETCH(QString, windowSave);
    const QString windowFile = m_dir.filePath("window.json");
    const QString cliFile = m_dir.filePath("cli.json");
    QFile::remove(windowFile);
    QFile::remove(cliFile);

    FactoryRig rig(withState(module));
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.window().setFileChooser([&](bool, const QString &, const QString &) { return windowFile; });
    for (const QString &name : windowRead)
        QVERIFY(activate(rig.window(), name));
    QVERIFY(activate(rig.window(), windowSave));
    const QList<QByteArray> windowRequests = rig.requests();
    appSerialPort->close(); // the port is the tool's alone
    rig.clear();

    const CliRun run = runCli({command, cliFile, "--port", rig.sim().portPath()});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    // A calibration names its unit: the three identification reads come first.
    const bool factory = command == "read-calibration";
    QCOMPARE(rig.requests().mid(factory ? 3 : 0), windowRequests);
    QVERIFY(!readJson(windowFile).isEmpty());
    QJsonObject cliJson = readJson(cliFile);
    QCOMPARE(cliJson.take("Unit").toObject().value("SerialNumber").toString().size(),
             factory ? 12 : 0);
    QCOMPARE(cliJson, readJson(windowFile));
    if (!factory)
        QCOMPARE(readBytes(cliFile), readBytes(windowFile)); // both saved through the same store
}

void TestCli::writeProgramsLikeTheWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<ModuleState>("source");
    QTest::addColumn<ModuleState>("target");
    QTest::addColumn<QStringList>("windowWrite"); // after loading the file
    QTest::addColumn<QString>("windowLoad");
    QTest::addColumn<bool>("factory");
    const QStringList userWrite{"actReadDeviceInfo", "actOpenCfgFile", "action_8"};
    const QStringList factoryWrite{"pushButton_33", "pushButton_242"};
    const ModuleState user = ModuleState::defaults(kUhf2);
    ModuleState dip = userScrambled(user);
    dip.currentChannel = 4;
    QTest::newRow("user, channel by program")
        << "write-config"
        << "software.json" << user << userScrambled(user) << userWrite << "" << false;
    QTest::newRow("user, channel by DIP switch")
        << "write-config"
        << "dip.json" << dip << user << userWrite << "" << false;
    QTest::newRow("factory") << "write-calibration"
                             << "factory.json" << FactoryStates::distinct()
                             << FactoryStates::scrambled(FactoryStates::distinct()) << factoryWrite
                             << "" << true;
}

void TestCli::writeProgramsLikeTheWindow()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(ModuleState, source);
    QFETCH(ModuleState, target);
    QFETCH(QStringList, windowWrite);
    QFETCH(bool, factory);
    const QString path = m_dir.filePath(file);
    SimHarness from(withState(source));
    SimHarness to(withState(target));
    QVERIFY(from.isReady() && to.isReady());
    const QString read = factory ? "read-calibration" : "read-config";
    QCOMPARE(runCli({read, path, "--port", from.portPath()}).exitCode, 0);

    // Without the read-back, which the window's buttons do not do; the unit check is forced,
    // but still names the unit: its three identification reads come first.
    const CliRun run =
        runCli({command, path, "--no-verify", "--force-unit", "--port", to.portPath()});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const auto side = factory ? &factorySide : &userSide;
    QCOMPARE(side(to.state()).diff(side(source)), QStringList());

    // The window, loading the same file into a module like the target, sends the same.
    FactoryRig rig(withState(target));
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.boxes().setAnswer(QMessageBox::Yes);
    rig.window().setFileChooser([&](bool, const QString &, const QString &) { return path; });
    for (const QString &name : windowWrite)
        QVERIFY(activate(rig.window(), name));
    QCOMPARE(rig.boxes().texts().size(), factory ? 0 : 1); // the write-all question
    QCOMPARE(to.requests().mid(factory ? 3 : 0), rig.requests());
}

void TestCli::moduleFailures_data()
{
    QTest::addColumn<QStringList>("arguments"); // before --port
    QTest::addColumn<quint8>("band");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("requests");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("result");
    QTest::newRow("no reply, three attempts")
        << QStringList{"info"} << kUhf2 << "*:drop:*" << 3 << "Failed to read the frequency band!"
        << "Failed to read!";
    QTest::newRow("unknown band") << QStringList{"info"} << quint8(0x1A) << "" << 1
                                  << "Unknown device:1A"
                                  << "Failed to read!";
    QTest::newRow("wrong replies to a channel")
        << QStringList{"read-config", m_dir.filePath("never.json")} << kUhf2 << "32 21 05:short:*"
        << 3 + 1 + 4 + 3 << "Failed to read parameters!"
        << "Failed to read!";
    QTest::newRow("refused frequencies")
        << QStringList{"write-config", m_userFile} << kUhf2 << "01 15:refuse:1" << 3 + 1
        << "Failed to set frequency and power!"
        << "Failed to set!";
    QTest::newRow("refused adjust value, in Chinese")
        << QStringList{"write-calibration", m_factoryFile, "--lang", "zh_CN"} << kUhf2
        << "A1:refuse:1" << 3 + 1 << "设置调整值失败！"
        << "设置失败！";
}

void TestCli::moduleFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(quint8, band);
    QFETCH(QString, fault);
    QFETCH(int, requests);
    QFETCH(QString, failure);
    QFETCH(QString, result);
    SimHarness::Options options;
    options.band = band;
    if (!fault.isEmpty())
        options.faults = QStringList{fault};
    SimHarness sim(options);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    const CliRun run = runCli(arguments + QStringList{"--port", sim.portPath()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(lines(run.err), QStringList{sim.portPath() + ": " + failure});
    QCOMPARE(run.out, sim.portPath() + ": " + result + "\n");
    QCOMPARE(sim.requests().size(), requests);
    QVERIFY(!QFileInfo::exists(m_dir.filePath("never.json")));
}

void TestCli::refusedFileValues_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("lastRequest"); // how the last request before it starts
    // Only the band read tells: refused after the identification, before the first write.
    QTest::newRow("transmit frequency below the band")
        << "write-config"
        << "/Channel/2/TxFreq" << 13600000
        << "Frequency is out of range! (CH2_TxFreq: 450.00000–490.00000 MHz)"
        << QByteArray::fromHex("C6");
    QTest::newRow("receive frequency above the band")
        << "write-config"
        << "/Channel/9/RxFreq" << 49000500
        << "Frequency is out of range! (CH9_RxFreq: 450.00000–490.00000 MHz)"
        << QByteArray::fromHex("C6");
}

void TestCli::refusedFileValues()
{
    QFETCH(QString, command);
    QFETCH(QString, member);
    QFETCH(int, value);
    QFETCH(QString, failure);
    QFETCH(QByteArray, lastRequest);
    const QString base = command == "write-config" ? m_userFile : m_factoryFile;
    const QString path = m_dir.filePath("refused.json");
    QVERIFY(writeBytes(path, edited(readJson(base), member, value)));
    SimHarness sim;
    QVERIFY(sim.isReady());
    const CliRun run = runCli({command, path, "--port", sim.portPath()});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(lines(run.err), QStringList{sim.portPath() + ": " + failure});
    QVERIFY(!sim.requests().isEmpty());
    QVERIFY2(sim.requests().last().startsWith(lastRequest),
             sim.requests().last().toHex().constData());
}

void TestCli::badFilesSendNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("content"); // of FILE; "-" for no file at all
    QTest::addColumn<QString>("message");
    const QJsonObject user = readJson(m_userFile);
    QTest::newRow("missing") << "write-config" << QByteArray("-") << "Cannot read the file";
    QTest::newRow("not JSON") << "write-config" << QByteArray("{\"Volume\": ")
                              << "is not a JSON object";
    QTest::newRow("array") << "write-config" << QByteArray("[1, 2]") << "is not a JSON object";
    QTest::newRow("empty") << "write-config" << QByteArray() << "is not a JSON object";
    QTest::newRow("member missing")
        << "write-config" << edited(user, "/Channel/7/ScanIndex", QJsonValue::Undefined)
        << "lacks /Channel/7/ScanIndex";
    QTest::newRow("text for a number") << "write-config" << edited(user, "/Channel/Current", "5")
                                       << "wrong type at /Channel/Current";
    QTest::newRow("fraction") << "write-config" << edited(user, "/Volume", 2.5)
                              << "wrong type at /Volume";
    QTest::newRow("number for a text")
        << "write-config" << edited(user, "/AudioWaveMode", 1) << "wrong type at /AudioWaveMode";
    // Values the window would clamp or drop: refused whole, before a module hears a word.
    const QJsonObject factory = readJson(m_factoryFile);
    QTest::newRow("squelch beyond its items")
        << "write-config" << edited(user, "/Channel/2/SQLevelIndex", 7)
        << "/Channel/2/SQLevelIndex is 7, outside its range -1 to 5";
    QTest::newRow("channel 0") << "write-config" << edited(user, "/Channel/Current", 0)
                               << "/Channel/Current is 0, outside its range 1 to 16";
    QTest::newRow("volume 10") << "write-config" << edited(user, "/Volume", 10)
                               << "/Volume is 10, outside its range 0 to 9";
    QTest::newRow("frequency of nine digits")
        << "write-config" << edited(user, "/Channel/16/RxFreq", 100000000)
        << "/Channel/16/RxFreq is 100000000, outside its range 0 to 99999999";
    QTest::newRow("scan mode 4") << "write-config" << edited(user, "/ChannelScanModeIndex", 4)
                                 << "/ChannelScanModeIndex is 4, outside its range -1 to 3";
    // In range, but the write would stop at them with part of the file sent.
    QTest::newRow("power unselected on a used channel")
        << "write-config" << edited(user, "/Channel/4/TxPowerIndex", -1)
        << "/Channel/4/TxPowerIndex is -1, but channel 4 is in use: a write needs 0 to 4";
    QTest::newRow("bandwidth unselected on a used channel")
        << "write-config" << edited(user, "/Channel/3/BandwidthIndex", -1)
        << "/Channel/3/BandwidthIndex is -1, but channel 3 is in use: a write needs 0 to 1";
    QTest::newRow("squelch unselected on a used channel")
        << "write-config" << edited(user, "/Channel/2/SQLevelIndex", -1)
        << "/Channel/2/SQLevelIndex is -1, but channel 2 is in use: a write needs 0 to 5";
    QTest::newRow("CTCSS heading on a used channel")
        << "write-config" << edited(user, "/Channel/16/CTCSSDCSIndex", 53)
        << "/Channel/16/CTCSSDCSIndex is 53, but channel 16 is in use: a write needs 0 to 1, "
           "4 to 51, 54 to 157";
    QTest::newRow("scan unselected on a used channel")
        << "write-config" << edited(user, "/Channel/7/ScanIndex", -1)
        << "/Channel/7/ScanIndex is -1, but channel 7 is in use: a write needs 0 to 1";
    QTest::newRow("scan mode unselected")
        << "write-config" << edited(user, "/ChannelScanModeIndex", -1)
        << "/ChannelScanModeIndex is -1: a write needs 0 to 3";
    QTest::newRow("control mode misspelt")
        << "write-config" << edited(user, "/Channel/CtrlMode", "Program")
        << "/Channel/CtrlMode is \"Program\", not one of \"DIP\", \"Progrem\"";
    QTest::newRow("factory value beyond its spin box")
        << "write-calibration" << edited(factory, "/TCXO_BIAS", 1000)
        << "/TCXO_BIAS is 1000, outside its range";
    QTest::newRow("band 4") << "write-calibration" << edited(factory, "/RadioBandIndex", 4)
                            << "/RadioBandIndex is 4, outside its range -1 to 3";
    QTest::newRow("band unselected")
        << "write-calibration" << edited(factory, "/RadioBandIndex", -1)
        << "/RadioBandIndex is -1: a write needs 0 to 3";
    QTest::newRow("user file as calibration")
        << "write-calibration" << readBytes(m_userFile) << "lacks /DataModFreqDiv/LowDiff";
    QTest::newRow("read into a missing folder")
        << "read-config" << QByteArray("-") << "Cannot write the file";
    QTest::newRow("read over a file that is not JSON")
        << "read-calibration" << QByteArray("notes, not JSON") << "is not a JSON object";
}

void TestCli::badFilesSendNothing()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QString path = m_dir.filePath("bad.json");
    QFile::remove(path);
    if (content == "-")
        path = m_dir.filePath("no folder/bad.json");
    else
        QVERIFY(writeBytes(path, content));
    SimHarness sim;
    QVERIFY(sim.isReady());
    const CliRun run = runCli({command, path, "--port", sim.portPath()});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message) && run.err.contains(path), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    // Whatever the tool wrote before it ended is waiting on the terminal: one pass reads it.
    QCoreApplication::processEvents();
    QCOMPARE(sim.requests(), QList<QByteArray>());
    QCOMPARE(readBytes(path), content == "-" ? QByteArray("<missing>") : content);
}

void TestCli::existingFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("read succeeds") << "" << 0;
    QTest::newRow("read fails halfway") << "32 21 09:short:*" << 1;
}

void TestCli::existingFile()
{
    QFETCH(QString, fault);
    QFETCH(int, exitCode);
    const QString path = m_dir.filePath("existing.json");
    const QByteArray before = R"({"Volume": 99, "Station": {"Name": "bench 4"}})";
    QVERIFY(writeBytes(path, before));
    SimHarness::Options options;
    if (!fault.isEmpty())
        options.faults = QStringList{fault};
    SimHarness sim(options);
    QVERIFY(sim.isReady());
    const CliRun run = runCli({"read-config", path, "--port", sim.portPath()});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode != 0) {
        QCOMPARE(readBytes(path), before); // nothing written of a failed read
        return;
    }
    const QJsonObject after = readJson(path);
    QCOMPARE(after.value("Station").toObject().value("Name").toString(), QString("bench 4"));
    QCOMPARE(after.value("Volume").toInt(), int(sim.state().volume));
    QVERIFY(after.contains("Channel"));
}

void TestCli::portsThatDoNotOpen_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("withModule");
    QTest::addColumn<bool>("quiet");
    QTest::addColumn<QString>("moduleResult"); // of the module that answers
    QTest::newRow("the only port") << "info" << false << false << "";
    QTest::newRow("one of two") << "info" << true << false << ": Model: LX-815 U2";
    QTest::newRow("one of two, quiet") << "read-config" << true << true << "";
    QTest::newRow("one of two, not quiet") << "read-config" << true << false << ": Read success!";
}

void TestCli::portsThatDoNotOpen()
{
    QFETCH(QString, command);
    QFETCH(bool, withModule);
    QFETCH(bool, quiet);
    QFETCH(QString, moduleResult);
    const QString missing = m_dir.filePath("ttyMissing");
    SimHarness sim;
    QVERIFY(sim.isReady());
    QStringList arguments{command, "--port", missing};
    if (command == "read-config")
        arguments.insert(1, m_dir.filePath("{port}.json"));
    if (withModule)
        arguments << "--port" << sim.portPath();
    if (quiet)
        arguments << "--quiet";
    const CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, 3);
    QStringList expected{missing + ": "};
    if (!moduleResult.isEmpty())
        expected << sim.portPath() + moduleResult;
    const QStringList results = lines(run.out);
    QCOMPARE(results.size(), expected.size());
    for (const QString &start : expected) {
        const QRegularExpression line("^" + QRegularExpression::escape(start));
        QCOMPARE(results.filter(line).size(), 1);
    }
    QVERIFY(run.err.startsWith(missing + ": "));
}

void TestCli::progressOnATerminal_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("shown");
    QList<int> channels{13, 17, 20, 24, 27, 31, 34, 37, 41, 44, 48, 51, 55, 58, 62, 65};
    QTest::newRow("read-config") << "read-config"
                                 << QList<int>{0, 3, 6, 10} + channels +
                                        QList<int>{68, 72, 75, 79, 82, 86, 89, 93, 96};
    channels = {3, 7, 11, 15, 19, 23, 26, 30, 34, 38, 42, 46, 50, 53, 57, 61};
    QTest::newRow("write-config") << "write-config"
                                  << QList<int>{0} + channels +
                                         QList<int>{65, 69, 73, 76, 80, 84, 88, 92, 96};
    QTest::newRow("read-calibration")
        << "read-calibration" << QList<int>{0,  3,  7,  10, 14, 17, 21, 25, 28, 32, 35, 39, 42, 46,
                                            50, 53, 57, 60, 64, 67, 71, 75, 78, 82, 85, 89, 92, 96};
    QTest::newRow("write-calibration")
        << "write-calibration" << QList<int>{0,  3,  7,  11, 14, 18, 22, 25, 29, 33, 37, 40, 44, 48,
                                             51, 55, 59, 62, 66, 70, 74, 77, 81, 85, 88, 92, 96};
}

void TestCli::progressOnATerminal()
{
    QFETCH(QString, command);
    QFETCH(QList<int>, shown);
    const bool user = command.endsWith("config");
    const QString path = command.startsWith("write") ? (user ? m_userFile : m_factoryFile)
                                                     : m_dir.filePath("p.json");
    PseudoTerminal terminal;
    QVERIFY(terminal.isValid());
    SimHarness sim(withState(user ? ModuleState::defaults() : FactoryStates::distinct()));
    QVERIFY(sim.isReady());
    // The percentages of the operation itself, without a read-back's.
    const CliRun run =
        runCli({command, path, "--no-verify", "--port", sim.portPath()}, terminal.slavePath());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(percentages(terminal.readAvailable()), shown);

    // Not on a terminal: not a percent sign.
    const CliRun piped = runCli({command, path, "--port", sim.portPath()});
    QCOMPARE(piped.exitCode, 0);
    QCOMPARE(piped.err, QString());
}

void TestCli::modulesAreProgrammedConcurrently()
{
    constexpr int kModules = 3;
    std::array<SimProcess, kModules> modules;
    QStringList ports;
    for (SimProcess &module : modules) {
        QVERIFY2(module.start({"--baud", "9600"}), qPrintable(module.error()));
        ports << "--port" << module.portPath();
    }
    const CliRun one = runCli({"write-config", m_userFile, "--port", modules[0].portPath()});
    QCOMPARE(one.exitCode, 0);
    const CliRun all = runCli(QStringList{"write-config", m_userFile} + ports);
    QCOMPARE(all.exitCode, 0);
    QCOMPARE(lines(all.out).filter(": Set success!").size(), kModules);
    qInfo("one module %lld ms, %d modules %lld ms", one.elapsedMs, kModules, all.elapsedMs);
    QVERIFY2(all.elapsedMs < 2 * one.elapsedMs, "the modules were served one after the other");
}

void TestCli::lostPortSaysItOnce()
{
    const QString logPath = m_dir.filePath("lost.log");
    std::array<SimProcess, 2> modules;
    QVERIFY2(modules[0].start({"--baud", "9600"}), qPrintable(modules[0].error()));
    QVERIFY2(modules[1].start({"--baud", "9600", "--log", logPath}),
             qPrintable(modules[1].error()));
    const QString kept = modules[0].portPath();
    const QString lost = modules[1].portPath();
    QProcess cli;
    cli.start(cliPath(), {"write-config", m_userFile, "--port", kept, "--port", lost});
    // Unplugged halfway through the channels.
    QTRY_VERIFY_WITH_TIMEOUT(readBytes(logPath).count('\n') >= 10, kRunTimeoutMs);
    modules[1].process().kill();
    QVERIFY(cli.waitForFinished(kRunTimeoutMs));
    QCOMPARE(cli.exitCode(), 1);
    const QStringList err = lines(QString::fromUtf8(cli.readAllStandardError()));
    QCOMPARE(err.size(), 1);
    QVERIFY2(err[0].startsWith(lost + ": ") &&
                 err[0].endsWith("The serial device was disconnected; the port has been closed."),
             qPrintable(err[0]));
    // Each port's result line, in the order the ports finish.
    QStringList out = lines(QString::fromUtf8(cli.readAllStandardOutput()));
    out.sort();
    QStringList expected{kept + ": Set success! (" + m_userFile + ")", lost + ": Failed to set!"};
    expected.sort();
    QCOMPARE(out, expected);
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
