#include "device/wire.h"
#include "protocol/commandengine.h"
#include "sim/faultinjector.h"
#include "sim/modulesimulator.h"
#include "sim/requesthandler.h"
#include "support/hexbytes.h"
#include "support/simharness.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QSerialPort>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using Mutation = std::function<void(ModuleState &)>;
Q_DECLARE_METATYPE(Mutation)

namespace {
QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QString zeros(int bytes)
{
    return QString(bytes * 2, QLatin1Char('0'));
}

// A module whose every value the reply rows below name explicitly.
ModuleState fixture()
{
    ModuleState s = ModuleState::defaults(0x12);
    s.firmware = QStringLiteral("V1.2");
    s.serialNumber = hex("0123456789AB");
    s.channels.fill(ChannelState{});
    s.channels[0] = ChannelState{43512500, 43525000, 2, 0x00, 3, 0x2F, 0x55};
    s.channels[15] = ChannelState{47000000, 43000000, 4, 0x55, 5, 0xE7, 0x00};
    s.ctrlMode = 0x55;
    s.currentChannel = 12;
    s.txTimeout = 30;
    s.protectTime = 5;
    s.volume = 7;
    s.powerSave = 0x00;
    s.sleepTime = 25;
    s.standbyTime = 7;
    s.audioWave = 0x00;
    s.sidetone = 0x55;
    s.rssi = -10;
    s.scanMode = 2;
    s.adjust[0][Wire::kMiddlePoint] = 0x64;
    s.adjust[7] = {0xF6, 0x80, 0x0A};
    s.rssiOffsets = {5, -2, -128};
    for (int i = 0; i < Wire::kPowerTableSize; ++i)
        s.powerTable[i] = static_cast<quint8>(i * 10 + 1);
    s.sidetoneVolume = 3;
    s.coupling = 0x01;
    return s;
}

QString reply(const QByteArray &request, ModuleState &state)
{
    const auto result = RequestHandler::handle(request, state);
    return result.reply ? hexOf(*result.reply) : QStringLiteral("-");
}

// The tool's end of the line without the tool: raw bytes in and out of the terminal.
class LineEnd
{
public:
    struct Chunk
    {
        qint64 atMs;
        QByteArray bytes;
    };

    explicit LineEnd(const QString &path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios attributes{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &attributes) == 0) {
            ::cfmakeraw(&attributes);
            ::tcsetattr(m_fd, TCSANOW, &attributes);
        }
        m_clock.start();
    }
    ~LineEnd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    qint64 sentAtMs() const { return m_sentAtMs; }

    void send(const QByteArray &payload)
    {
        const QByteArray frame = LinkFrame::encode(payload);
        m_sentAtMs = m_clock.elapsed();
        QCOMPARE(::write(m_fd, frame.constData(), frame.size()), ssize_t(frame.size()));
    }

    // What arrives within waitMs; ends early once bytes came and the line stayed quiet quietMs.
    QList<Chunk> receive(int waitMs, int quietMs = 300)
    {
        QList<Chunk> chunks;
        QEventLoop loop;
        QSocketNotifier notifier(m_fd, QSocketNotifier::Read);
        QTimer quiet;
        quiet.setSingleShot(true);
        QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
            char buffer[4096];
            QByteArray got;
            ssize_t count = 0;
            while ((count = ::read(m_fd, buffer, sizeof buffer)) > 0)
                got.append(buffer, static_cast<int>(count));
            if (!got.isEmpty()) {
                chunks.append(Chunk{m_clock.elapsed(), got});
                quiet.start(quietMs);
            } else if (count == 0 || errno != EAGAIN) {
                notifier.setEnabled(false);
            }
        });
        QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
        loop.exec();
        return chunks;
    }

    static QByteArray joined(const QList<Chunk> &chunks)
    {
        QByteArray all;
        for (const Chunk &chunk : chunks)
            all.append(chunk.bytes);
        return all;
    }

    // Frames as the tool would find them, the chunks fed with their arrival times.
    static QStringList frames(const QList<Chunk> &chunks)
    {
        FrameReassembler reassembler;
        QStringList payloads;
        for (const Chunk &chunk : chunks) {
            for (const QByteArray &payload : reassembler.feed(chunk.bytes, quint32(chunk.atMs)))
                payloads.append(hexOf(payload));
        }
        return payloads;
    }

private:
    int m_fd = -1;
    QElapsedTimer m_clock;
    qint64 m_sentAtMs = 0;
};

QList<FaultKind> kindsOf(FaultInjector &injector, int requests, const QByteArray &request)
{
    QList<FaultKind> kinds;
    for (int i = 0; i < requests; ++i)
        kinds.append(injector.next(request + char(i)).kind);
    return kinds;
}
} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void frequencyBcd_data();
    void frequencyBcd();
    void frequencyDecodeTakesNibblesAsTheyAre_data();
    void frequencyDecodeTakesNibblesAsTheyAre();
    void channelRecord();
    void bandTable_data();
    void bandTable();
    void powerTableOrder_data();
    void powerTableOrder();
    void threePointTypes();

    void replyLayout_data();
    void replyLayout();
    void writeThenRead_data();
    void writeThenRead();
    void changeTouchesOnlyItsValue_data();
    void changeTouchesOnlyItsValue();
    void steps_data();
    void steps();

    void stateDiffAndJson_data();
    void stateDiffAndJson();
    void stateFileRoundTrip();
    void stateLoadErrors_data();
    void stateLoadErrors();
    void partialStateKeepsBandDefaults();
    void defaultsLieInBand_data();
    void defaultsLieInBand();

    void parseRule_data();
    void parseRule();
    void scriptedRules_data();
    void scriptedRules();
    void randomFaultsReproducible();
    void randomFaultRateAndKinds();

    void faultOnLine_data();
    void faultOnLine();
    void pacing_data();
    void pacing();
    void engineOverSerialPort_data();
    void engineOverSerialPort();
    void hangUp();
    void harnessWaitsForRequests();
    void executable();
    void executableRejectsBadOptions_data();
    void executableRejectsBadOptions();
};

void TestSimulator::frequencyBcd_data()
{
    QTest::addColumn<quint32>("tenHz");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("435.125 MHz") << 43512500u << "43512500";
    QTest::newRow("zero") << 0u << "00000000";
    QTest::newRow("band low end") << 13600000u << "13600000";
    QTest::newRow("all nines") << 99999999u << "99999999";
    QTest::newRow("10 Hz") << 1u << "00000001";
}

void TestSimulator::frequencyBcd()
{
    QFETCH(quint32, tenHz);
    QFETCH(QString, bytes);
    QCOMPARE(hexOf(Wire::encodeFrequency(tenHz)), bytes);
    QCOMPARE(Wire::decodeFrequency(hex(bytes)), tenHz);
    QVERIFY(Wire::isPlainBcd(hex(bytes), 0, Wire::kFrequencyBytes));
}

void TestSimulator::frequencyDecodeTakesNibblesAsTheyAre_data()
{
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<quint32>("tenHz");
    QTest::newRow("A in the top digit") << "A0000000" << 100000000u;
    QTest::newRow("A in the second digit") << "0A000000" << 10000000u;
    QTest::newRow("F in the last digit") << "4351250F" << 43512515u;
    QTest::newRow("FF in the middle") << "00FF0000" << 1650000u;
}

void TestSimulator::frequencyDecodeTakesNibblesAsTheyAre()
{
    QFETCH(QString, bytes);
    QFETCH(quint32, tenHz);
    QCOMPARE(Wire::decodeFrequency(hex(bytes)), tenHz);
    QVERIFY(!Wire::isPlainBcd(hex(bytes), 0, Wire::kFrequencyBytes));
}

void TestSimulator::channelRecord()
{
    const Wire::ChannelRecord record{45000000, 46012500, 4};
    const QByteArray bytes = Wire::encodeChannelRecord(record);
    QCOMPARE(hexOf(bytes), QStringLiteral("450000004601250004")); // TX first
    QCOMPARE(Wire::decodeChannelRecord(hex("FF") + bytes, 1), record);
    QCOMPARE(Wire::decodeChannelRecord(bytes.left(8), 0), Wire::ChannelRecord{});
}

void TestSimulator::bandTable_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("range");
    QTest::addColumn<quint32>("low");
    QTest::addColumn<quint32>("high");
    QTest::newRow("V") << 0x10 << "LX-815 V"
                       << "136 MHz - 174 MHz" << 13600000u << 17400000u;
    QTest::newRow("U0") << 0x11 << "LX-815 U0"
                        << "400 MHz - 440 MHz" << 40000000u << 44000000u;
    QTest::newRow("U1") << 0x12 << "LX-815 U1"
                        << "430 MHz - 470 MHz" << 43000000u << 47000000u;
    QTest::newRow("U2") << 0x13 << "LX-815 U2"
                        << "450 MHz - 490 MHz" << 45000000u << 49000000u;
    QTest::newRow("unknown 0F") << 0x0F << ""
                                << "" << 0u << 0u;
    QTest::newRow("unknown 14") << 0x14 << ""
                                << "" << 0u << 0u;
}

void TestSimulator::bandTable()
{
    QFETCH(int, code);
    QFETCH(QString, model);
    QFETCH(QString, range);
    QFETCH(quint32, low);
    QFETCH(quint32, high);
    const Wire::Band *band = Wire::findBand(quint8(code));
    QCOMPARE(band != nullptr, !model.isEmpty());
    if (!band)
        return;
    QCOMPARE(QString::fromLatin1(band->model), model);
    QCOMPARE(QString::fromLatin1(band->range), range);
    QCOMPARE(band->freqMin, low);
    QCOMPARE(band->freqMax, high);
}

void TestSimulator::powerTableOrder_data()
{
    QTest::addColumn<int>("power");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("cell");
    QTest::newRow("1 W middle") << 0 << int(Wire::FreqPoint::Middle) << 0 << 0x00;
    QTest::newRow("1 W low") << 0 << int(Wire::FreqPoint::Low) << 1 << 0x10;
    QTest::newRow("1 W high") << 0 << int(Wire::FreqPoint::High) << 2 << 0x20;
    QTest::newRow("3 W high") << 2 << int(Wire::FreqPoint::High) << 8 << 0x22;
    QTest::newRow("4 W middle") << 3 << int(Wire::FreqPoint::Middle) << 9 << 0x03;
    QTest::newRow("5 W high") << 4 << int(Wire::FreqPoint::High) << 14 << 0x24;
}

void TestSimulator::powerTableOrder()
{
    QFETCH(int, power);
    QFETCH(int, point);
    QFETCH(int, index);
    QFETCH(int, cell);
    const auto freqPoint = Wire::FreqPoint(point);
    QCOMPARE(Wire::powerTableIndex(power, freqPoint), index);
    QCOMPARE(int(Wire::powerCellByte(power, freqPoint)), cell);
    QCOMPARE(Wire::powerTableIndexOfCell(quint8(cell)), std::optional<int>(index));
}

void TestSimulator::threePointTypes()
{
    QList<int> threePoint;
    for (int type = 0; type < 256; ++type) {
        if (Wire::isThreePointType(quint8(type)))
            threePoint.append(type);
    }
    QCOMPARE(threePoint, (QList<int>{5, 6, 7, 8, 11, 12}));
    for (int cell : {0x05, 0x15, 0x30, 0x0F, 0xF0})
        QVERIFY2(!Wire::powerTableIndexOfCell(quint8(cell)), qPrintable(QString::number(cell, 16)));
}

void TestSimulator::replyLayout_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("expected"); // "-": the module stays silent

    QTest::newRow("band") << "3223"
                          << "322312";
    QTest::newRow("firmware") << "0118"
                              << "011800" + hexOf("V1.2");
    QTest::newRow("serial number") << "C6"
                                   << "C60123456789AB";
    QTest::newRow("frequencies and power") << "011400"
                                           << "011400"
                                              "435125004352500002" +
                                                  zeros(14 * 9) + "470000004300000004";
    QTest::newRow("channel 1 parameters") << "322101"
                                          << "32210100032F55";
    QTest::newRow("channel 16 parameters") << "322110"
                                           << "3221105505E700";
    QTest::newRow("empty channel parameters") << "322102"
                                              << "3221025500FF00";
    QTest::newRow("control mode") << "3209"
                                  << "320955";
    QTest::newRow("current channel") << "0116"
                                     << "01160C";
    QTest::newRow("tx protection") << "33"
                                   << "331E05";
    QTest::newRow("volume") << "A009"
                            << "A00907";
    QTest::newRow("power save") << "3201"
                                << "320100";
    QTest::newRow("power save time") << "3203"
                                     << "32031907";
    QTest::newRow("audio wave") << "3205"
                                << "320500";
    QTest::newRow("sidetone") << "3207"
                              << "320755";
    QTest::newRow("rssi") << "C1"
                          << "C1F6";
    QTest::newRow("scan mode") << "321D"
                               << "321D0200";
    QTest::newRow("adjust single") << "A000"
                                   << "A00064";
    QTest::newRow("adjust low point") << "A00700"
                                      << "A00700F6";
    QTest::newRow("adjust middle point") << "A00701"
                                         << "A0070180";
    QTest::newRow("adjust high point") << "A00702"
                                       << "A007020A";
    QTest::newRow("rssi offset middle") << "C201"
                                        << "C201FE";
    QTest::newRow("rssi offset high") << "C202"
                                      << "C20280";
    QTest::newRow("power table") << "018100"
                                 << "018100"
                                    "010B151F29333D47515B656F79838D";
    QTest::newRow("sidetone volume") << "3225"
                                     << "322503";
    QTest::newRow("coupling") << "39"
                              << "3901";

    QTest::newRow("empty request") << ""
                                   << "-";
    QTest::newRow("unknown code") << "FF"
                                  << "-";
    QTest::newRow("unknown 32 sub-code") << "3299"
                                         << "-";
    QTest::newRow("unknown 01 sub-code") << "0199"
                                         << "-";
    QTest::newRow("band read too long") << "322300"
                                        << "-";
    QTest::newRow("three-point read without point") << "A007"
                                                    << "-";
    QTest::newRow("single read with point") << "A00001"
                                            << "-";
    QTest::newRow("serial read too long") << "C600"
                                          << "-";
    QTest::newRow("frequency read too short") << "0114"
                                              << "-";
    QTest::newRow("unknown power table operation") << "018103"
                                                   << "-";
    QTest::newRow("unknown PTT pattern") << "A66A112244"
                                         << "-";
    QTest::newRow("channel write too short") << "322201550500"
                                             << "-";

    QTest::newRow("channel 0") << "322100"
                               << "0002";
    QTest::newRow("channel 17") << "322111"
                                << "0002";
    QTest::newRow("adjust point 3") << "A00703"
                                    << "0002";
    QTest::newRow("adjust type 13") << "A00D"
                                    << "0002";
    QTest::newRow("rssi offset point 3") << "C203"
                                         << "0002";
    QTest::newRow("frequency page 1") << "011401"
                                      << "0002";
}

void TestSimulator::replyLayout()
{
    QFETCH(QString, request);
    QFETCH(QString, expected);
    ModuleState state = fixture();
    QCOMPARE(reply(hex(request), state), expected);
    QCOMPARE(state.diff(fixture()), QStringList()); // reads and refusals change nothing
}

void TestSimulator::writeThenRead_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("expected");

    const QString records = "450125004502500003" + zeros(12 * 9) + "000000000000000000" +
                            "489999994900000000" + "136000001740000001";
    QTest::newRow("frequencies and power") << "011500" + records << "011400"
                                           << "011400" + records;
    QTest::newRow("channel parameters") << "3222105505E700"
                                        << "322110"
                                        << "3221105505E700";
    QTest::newRow("channel parameters 1") << "322201000230FF"
                                          << "322101"
                                          << "322101000230FF";
    QTest::newRow("control mode") << "320A00"
                                  << "3209"
                                  << "320900";
    QTest::newRow("current channel") << "01170501"
                                     << "0116"
                                     << "011605";
    QTest::newRow("tx protection") << "34FF00"
                                   << "33"
                                   << "33FF00";
    QTest::newRow("volume") << "A10909"
                            << "A009"
                            << "A00909";
    QTest::newRow("power save") << "320255"
                                << "3201"
                                << "320155";
    QTest::newRow("power save time") << "3204000F"
                                     << "3203"
                                     << "3203000F";
    QTest::newRow("audio wave") << "320655"
                                << "3205"
                                << "320555";
    QTest::newRow("sidetone") << "320800"
                              << "3207"
                              << "320700";
    QTest::newRow("scan mode") << "321E0300"
                               << "321D"
                               << "321D0300";
    QTest::newRow("band") << "322410"
                          << "3223"
                          << "322310";
    QTest::newRow("serial number") << "C7A1B2C3D4E5F6"
                                   << "C6"
                                   << "C6A1B2C3D4E5F6";
    QTest::newRow("sidetone volume") << "322609"
                                     << "3225"
                                     << "322509";
    QTest::newRow("coupling") << "3A00"
                              << "39"
                              << "3900";
    QTest::newRow("adjust single") << "A10AFF"
                                   << "A00A"
                                   << "A00AFF";
    QTest::newRow("adjust two-point balance low") << "A10500F6"
                                                  << "A00500"
                                                  << "A00500F6";
    QTest::newRow("adjust filter high") << "A10B027F"
                                        << "A00B02"
                                        << "A00B027F";
    QTest::newRow("adjust type 8 middle") << "A1080133"
                                          << "A00801"
                                          << "A0080133";
    QTest::newRow("rssi offset") << "C30280"
                                 << "C202"
                                 << "C20280";
    QTest::newRow("power table") << "018101"
                                    "0F0E0D0C0B0A09080706050403FF00"
                                 << "018100"
                                 << "018100"
                                    "0F0E0D0C0B0A09080706050403FF00";
}

void TestSimulator::writeThenRead()
{
    QFETCH(QString, write);
    QFETCH(QString, read);
    QFETCH(QString, expected);
    ModuleState state = fixture();
    const auto written = RequestHandler::handle(hex(write), state);
    QVERIFY(written.reply);
    QCOMPARE(hexOf(*written.reply), QStringLiteral("0001"));
    QVERIFY(written.changed);
    QCOMPARE(reply(hex(read), state), expected);
}

void TestSimulator::changeTouchesOnlyItsValue_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("changes"); // diff of the fixture against the state after

    QTest::newRow("data PTT") << "A66A112233"
                              << "0001" << QStringList{"test.transmitMode: 0 -> 1"};
    QTest::newRow("voice PTT") << "A66A332211"
                               << "0001" << QStringList{"test.transmitMode: 0 -> 2"};
    QTest::newRow("normal mode") << "A7"
                                 << "0001" << QStringList();
    QTest::newRow("sensitivity on") << "321A55"
                                    << "0001" << QStringList{"test.sensitivityTest: false -> true"};
    QTest::newRow("sensitivity other byte") << "321A01"
                                            << "0002" << QStringList();
    QTest::newRow("squelch 0.25 uV") << "321302"
                                     << "0001" << QStringList{"test.squelchCalibration: 0 -> 2"};
    QTest::newRow("squelch 0.45 uV") << "321304"
                                     << "0001" << QStringList{"test.squelchCalibration: 0 -> 4"};
    QTest::newRow("squelch unknown level") << "321303"
                                           << "0002" << QStringList();
    QTest::newRow("rssi 40 dBuV") << "C528"
                                  << "0001" << QStringList{"test.rssiCalibration: 0 -> 40"};
    QTest::newRow("virtual port") << "322055"
                                  << "0001"
                                  << QStringList{"user.virtualPortDisabled: false -> true"};
    QTest::newRow("virtual port other byte") << "322000"
                                             << "0002" << QStringList();
    QTest::newRow("current channel and store flag")
        << "01170900"
        << "0001" << QStringList{"user.currentChannel: 12 -> 9", "user.storeChannel: 1 -> 0"};
    QTest::newRow("current channel 0") << "01170001"
                                       << "0002" << QStringList();
    QTest::newRow("current channel 17") << "01171101"
                                        << "0002" << QStringList();
    QTest::newRow("volume 10") << "A1090A"
                               << "0002" << QStringList();
    QTest::newRow("sidetone volume 10") << "32260A"
                                        << "0002" << QStringList();
    QTest::newRow("sleep 26") << "32041A00"
                              << "0002" << QStringList();
    QTest::newRow("standby 16") << "32040010"
                                << "0002" << QStringList();
    QTest::newRow("scan mode 4") << "321E0400"
                                 << "0002" << QStringList();
    QTest::newRow("unknown band") << "322420"
                                  << "0002" << QStringList();
    QTest::newRow("squelch 6") << "32220155060000"
                               << "0002" << QStringList();
    QTest::newRow("channel 17 write") << "32221155050000"
                                      << "0002" << QStringList();
    QTest::newRow("power 5 in a record")
        << "011500" + zeros(8) + "05" + zeros(15 * 9) << "0002" << QStringList();
    QTest::newRow("nibble A in a record")
        << "011500" + zeros(9) + "0A000000" + zeros(5) + zeros(14 * 9) << "0002" << QStringList();
    QTest::newRow("power cell 6 W + 5") << "0181020505"
                                        << "0002" << QStringList();
    QTest::newRow("serial too short") << "C7A1B2C3D4E5"
                                      << "-" << QStringList();
}

void TestSimulator::changeTouchesOnlyItsValue()
{
    QFETCH(QString, request);
    QFETCH(QString, reply);
    QFETCH(QStringList, changes);
    ModuleState state = fixture();
    QCOMPARE(::reply(hex(request), state), reply);
    QCOMPARE(fixture().diff(state), changes);
}

void TestSimulator::steps_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("stepReply");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("expected");

    QTest::newRow("single +1 wraps") << "A100FF"
                                     << "A20001"
                                     << "0001"
                                     << "A000"
                                     << "A00000";
    QTest::newRow("single -10 wraps") << "A10005"
                                      << "A200F6"
                                      << "0001"
                                      << "A000"
                                      << "A000FB";
    QTest::newRow("single +10") << "A10264"
                                << "A2020A"
                                << "0001"
                                << "A002"
                                << "A0026E";
    QTest::newRow("low point -1") << "A1070000"
                                  << "A20700FF"
                                  << "0001"
                                  << "A00700"
                                  << "A00700FF";
    QTest::newRow("high point +10 past 127") << "A107027A"
                                             << "A207020A"
                                             << "0001"
                                             << "A00702"
                                             << "A0070284";
    QTest::newRow("middle -1") << "A1060180"
                               << "A20601FF"
                               << "0001"
                               << "A00601"
                               << "A006017F";
    QTest::newRow("volume +1") << "A10905"
                               << "A20901"
                               << "0001"
                               << "A009"
                               << "A00906";
    QTest::newRow("volume past 9") << "A10909"
                                   << "A20901"
                                   << "0002"
                                   << "A009"
                                   << "A00909";
    QTest::newRow("volume below 0") << "A10900"
                                    << "A209FF"
                                    << "0002"
                                    << "A009"
                                    << "A00900";
    QTest::newRow("rssi offset -128 - 1") << "C30080"
                                          << "C400FF"
                                          << "0001"
                                          << "C200"
                                          << "C2007F";
    QTest::newRow("rssi offset +10") << "C30179"
                                     << "C4010A"
                                     << "0001"
                                     << "C201"
                                     << "C20183";
    QTest::newRow("rssi offset point 3") << "C30001"
                                         << "C40301"
                                         << "0002"
                                         << "C200"
                                         << "C20001";
    const QString table = "000102030405060708090A0B0C0D0E";
    QTest::newRow("3 W high +10") << "018101" + table << "018102220A"
                                  << "0001"
                                  << "018100"
                                  << "018100"
                                     "000102030405060712090A0B0C0D0E";
    QTest::newRow("1 W low -1") << "018101" + table << "01810210FF"
                                << "0001"
                                << "018100"
                                << "018100"
                                   "000002030405060708090A0B0C0D0E";
    QTest::newRow("4 W middle -10 wraps") << "018101" + table << "01810203F6"
                                          << "0001"
                                          << "018100"
                                          << "018100"
                                             "000102030405060708FF0A0B0C0D0E";
    QTest::newRow("cell 0x30") << "018101" + table << "0181023001"
                               << "0002"
                               << "018100"
                               << "018100" + table;
}

void TestSimulator::steps()
{
    QFETCH(QString, setup);
    QFETCH(QString, step);
    QFETCH(QString, stepReply);
    QFETCH(QString, read);
    QFETCH(QString, expected);
    ModuleState state = fixture();
    QCOMPARE(reply(hex(setup), state), QStringLiteral("0001"));
    QCOMPARE(reply(hex(step), state), stepReply);
    QCOMPARE(reply(hex(read), state), expected);
}

void TestSimulator::stateDiffAndJson_data()
{
    QTest::addColumn<Mutation>("mutate");
    QTest::addColumn<QString>("line");

    QTest::newRow("band") << Mutation([](ModuleState &s) { s.band = 0x11; }) << "band: 18 -> 17";
    QTest::newRow("firmware") << Mutation([](ModuleState &s) { s.firmware = "V2"; })
                              << "firmware: \"V1.2\" -> \"V2\"";
    QTest::newRow("serial") << Mutation([](ModuleState &s) { s.serialNumber[5] = 0x00; })
                            << "serialNumber: \"0123456789AB\" -> \"012345678900\"";
    QTest::newRow("tx") << Mutation([](ModuleState &s) { s.channels[3].txFreq = 45000000; })
                        << "channels[3].tx: 0 -> 45000000";
    QTest::newRow("rx") << Mutation([](ModuleState &s) { s.channels[15].rxFreq = 1; })
                        << "channels[15].rx: 43000000 -> 1";
    QTest::newRow("power") << Mutation([](ModuleState &s) { s.channels[0].power = 7; })
                           << "channels[0].power: 2 -> 7";
    QTest::newRow("bandwidth") << Mutation([](ModuleState &s) { s.channels[0].bandwidth = 0x55; })
                               << "channels[0].bandwidth: 0 -> 85";
    QTest::newRow("squelch") << Mutation([](ModuleState &s) { s.channels[0].squelch = 0; })
                             << "channels[0].squelch: 3 -> 0";
    QTest::newRow("ctcss") << Mutation([](ModuleState &s) { s.channels[0].ctcssDcs = 0x40; })
                           << "channels[0].ctcssDcs: 47 -> 64";
    QTest::newRow("scan") << Mutation([](ModuleState &s) { s.channels[0].scan = 0; })
                          << "channels[0].scan: 85 -> 0";
    QTest::newRow("ctrl mode") << Mutation([](ModuleState &s) { s.ctrlMode = 1; })
                               << "user.ctrlMode: 85 -> 1";
    QTest::newRow("current channel") << Mutation([](ModuleState &s) { s.currentChannel = 20; })
                                     << "user.currentChannel: 12 -> 20";
    QTest::newRow("store") << Mutation([](ModuleState &s) { s.storeChannel = 0; })
                           << "user.storeChannel: 1 -> 0";
    QTest::newRow("timeout") << Mutation([](ModuleState &s) { s.txTimeout = 255; })
                             << "user.txTimeout: 30 -> 255";
    QTest::newRow("protect") << Mutation([](ModuleState &s) { s.protectTime = 0; })
                             << "user.protectTime: 5 -> 0";
    QTest::newRow("volume") << Mutation([](ModuleState &s) { s.volume = 0; })
                            << "user.volume: 7 -> 0";
    QTest::newRow("power save") << Mutation([](ModuleState &s) { s.powerSave = 0x55; })
                                << "user.powerSave: 0 -> 85";
    QTest::newRow("sleep") << Mutation([](ModuleState &s) { s.sleepTime = 1; })
                           << "user.sleep: 25 -> 1";
    QTest::newRow("standby") << Mutation([](ModuleState &s) { s.standbyTime = 1; })
                             << "user.standby: 7 -> 1";
    QTest::newRow("wave") << Mutation([](ModuleState &s) { s.audioWave = 0x55; })
                          << "user.audioWave: 0 -> 85";
    QTest::newRow("sidetone") << Mutation([](ModuleState &s) { s.sidetone = 0; })
                              << "user.sidetone: 85 -> 0";
    QTest::newRow("rssi") << Mutation([](ModuleState &s) { s.rssi = -128; })
                          << "user.rssi: -10 -> -128";
    QTest::newRow("scan mode") << Mutation([](ModuleState &s) { s.scanMode = 7; })
                               << "user.scanMode: 2 -> 7";
    QTest::newRow("virtual port") << Mutation([](ModuleState &s) { s.virtualPortDisabled = true; })
                                  << "user.virtualPortDisabled: false -> true";
    QTest::newRow("adjust single")
        << Mutation([](ModuleState &s) { s.adjust[0][1] = 0; }) << "factory.adjust.0: 100 -> 0";
    QTest::newRow("adjust low") << Mutation([](ModuleState &s) { s.adjust[7][0] = 0x80; })
                                << "factory.adjust.7[0]: -10 -> -128";
    QTest::newRow("adjust via volume type")
        << Mutation([](ModuleState &s) { s.setAdjustValue(Wire::kVolumeAdjustType, 1, 2); })
        << "user.volume: 7 -> 2";
    QTest::newRow("rssi offset") << Mutation([](ModuleState &s) { s.rssiOffsets[2] = 127; })
                                 << "factory.rssiOffsets[2]: -128 -> 127";
    QTest::newRow("power table") << Mutation([](ModuleState &s) { s.powerTable[14] = 0; })
                                 << "factory.powerTable[14]: 141 -> 0";
    QTest::newRow("sidetone volume") << Mutation([](ModuleState &s) { s.sidetoneVolume = 9; })
                                     << "factory.sidetoneVolume: 3 -> 9";
    QTest::newRow("coupling") << Mutation([](ModuleState &s) { s.coupling = 0; })
                              << "factory.coupling: 1 -> 0";
    QTest::newRow("transmit") << Mutation([](ModuleState &s) { s.transmitMode = 2; })
                              << "test.transmitMode: 0 -> 2";
    QTest::newRow("sensitivity") << Mutation([](ModuleState &s) { s.sensitivityTest = true; })
                                 << "test.sensitivityTest: false -> true";
    QTest::newRow("squelch cal") << Mutation([](ModuleState &s) { s.squelchCalibration = 4; })
                                 << "test.squelchCalibration: 0 -> 4";
    QTest::newRow("rssi cal") << Mutation([](ModuleState &s) { s.rssiCalibration = 10; })
                              << "test.rssiCalibration: 0 -> 10";
}

void TestSimulator::stateDiffAndJson()
{
    QFETCH(Mutation, mutate);
    QFETCH(QString, line);
    const ModuleState before = fixture();
    ModuleState after = before;
    mutate(after);
    QVERIFY(after != before);
    QCOMPARE(before.diff(after), QStringList{line});
    QString error;
    const auto reloaded = ModuleState::fromJson(after.toJson(), &error);
    QVERIFY2(reloaded, qPrintable(error));
    QCOMPARE(reloaded->diff(after), QStringList());
    QVERIFY(*reloaded == after);
}

void TestSimulator::stateFileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("module.json");
    ModuleState state = fixture();
    state.band = 0x10;
    state.channels[4] = ChannelState{15000000, 15012500, 1, 0x00, 5, 0x80, 0x55};
    state.adjust[12] = {0x81, 0x00, 0x7F};
    QString error;
    QVERIFY2(state.save(path, &error), qPrintable(error));
    const auto loaded = ModuleState::load(path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(loaded->diff(state), QStringList());
    QVERIFY(*loaded == state);
    QVERIFY(!ModuleState::load(dir.filePath("missing.json"), &error));
    QVERIFY(error.contains("missing.json"));
}

void TestSimulator::stateLoadErrors_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");
    QTest::newRow("not JSON") << QByteArray("{") << "not a JSON object";
    QTest::newRow("unknown key") << QByteArray(R"({"bands": 16})") << "bands: unknown key";
    QTest::newRow("band range") << QByteArray(R"({"band": 300})") << "band: expected";
    QTest::newRow("format") << QByteArray(R"({"format": 2})") << "format: expected";
    QTest::newRow("fraction") << QByteArray(R"({"user": {"volume": 1.5}})") << "user.volume";
    QTest::newRow("rssi range") << QByteArray(R"({"user": {"rssi": 200}})") << "user.rssi";
    QTest::newRow("flag type") << QByteArray(R"({"test": {"sensitivityTest": 1}})")
                               << "test.sensitivityTest";
    QTest::newRow("serial") << QByteArray(R"({"serialNumber": "123"})") << "serialNumber";
    QTest::newRow("17 channels")
        << QByteArray(R"({"channels": [{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})")
        << "channels: expected a list of at most 16";
    QTest::newRow("frequency") << QByteArray(R"({"channels": [{}, {"tx": 100000000}]})")
                               << "channels[1].tx";
    QTest::newRow("channel key") << QByteArray(R"({"channels": [{"freq": 1}]})")
                                 << "channels[0].freq: unknown key";
    QTest::newRow("two points") << QByteArray(R"({"factory": {"adjust": {"5": [1, 2]}}})")
                                << "factory.adjust.5: expected three points";
    QTest::newRow("volume type") << QByteArray(R"({"factory": {"adjust": {"9": 1}}})")
                                 << "factory.adjust.9: unknown key";
    QTest::newRow("power table item")
        << QByteArray(R"({"factory": {"powerTable": [1, "x"]}})") << "factory.powerTable[1]";
}

void TestSimulator::stateLoadErrors()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QFile file(dir.filePath("bad.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();
    QString reason;
    QVERIFY(!ModuleState::load(file.fileName(), &reason));
    QVERIFY2(reason.contains(error), qPrintable(reason));
}

void TestSimulator::partialStateKeepsBandDefaults()
{
    const auto state =
        ModuleState::fromJson(QJsonDocument::fromJson(R"({"band": 16, "user": {"volume": 3},
                                    "channels": [{"tx": 15000000}]})")
                                  .object(),
                              nullptr);
    QVERIFY(state);
    ModuleState expected = ModuleState::defaults(0x10);
    expected.volume = 3;
    expected.channels[0].txFreq = 15000000;
    QCOMPARE(state->diff(expected), QStringList());
}

void TestSimulator::defaultsLieInBand_data()
{
    QTest::addColumn<int>("band");
    for (const Wire::Band &band : Wire::bands())
        QTest::newRow(band.model) << int(band.code);
}

void TestSimulator::defaultsLieInBand()
{
    QFETCH(int, band);
    const ModuleState state = ModuleState::defaults(quint8(band));
    const Wire::Band *limits = Wire::findBand(quint8(band));
    QCOMPARE(int(state.band), band);
    for (const ChannelState &channel : state.channels) {
        for (quint32 frequency : {channel.txFreq, channel.rxFreq}) {
            QVERIFY(frequency >= limits->freqMin && frequency <= limits->freqMax);
            QCOMPARE(frequency % 625, 0u); // on the 6.25 kHz grid the tool rounds to
        }
        QVERIFY(channel.power < Wire::kPowerSteps);
        QVERIFY(channel.squelch <= 5);
    }
    QCOMPARE(state.serialNumber.size(), ModuleState::kSerialBytes);
}

void TestSimulator::parseRule_data()
{
    QTest::addColumn<QString>("ruleText");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<QList<int>>("attempts");

    QTest::newRow("count") << "A2:drop:1" << true << "A2"
                           << "drop" << 0 << 1 << QList<int>();
    QTest::newRow("default count") << "3209:lead" << true << "3209"
                                   << "lead" << 0 << 1 << QList<int>();
    QTest::newRow("blanks in prefix") << "32 09:short:3" << true << "3209"
                                      << "short" << 0 << 3 << QList<int>();
    QTest::newRow("parameter, forever")
        << "3223:split=600:*" << true << "3223"
        << "split" << 600 << int(FaultRule::kForever) << QList<int>();
    QTest::newRow("any request, attempts")
        << "*:delay=1500:@1,2" << true << ""
        << "delay" << 1500 << int(FaultRule::kForever) << QList<int>{1, 2};
    QTest::newRow("every kind name") << "C1:duplicate" << true << "C1"
                                     << "duplicate" << 0 << 1 << QList<int>();
    QTest::newRow("no kind") << "3209" << false << ""
                             << "" << 0 << 0 << QList<int>();
    QTest::newRow("odd hex") << "320:drop" << false << ""
                             << "" << 0 << 0 << QList<int>();
    QTest::newRow("not hex") << "zz:drop" << false << ""
                             << "" << 0 << 0 << QList<int>();
    QTest::newRow("unknown kind") << "3209:explode" << false << ""
                                  << "" << 0 << 0 << QList<int>();
    QTest::newRow("none is no fault") << "3209:none" << false << ""
                                      << "" << 0 << 0 << QList<int>();
    QTest::newRow("count 0") << "3209:drop:0" << false << ""
                             << "" << 0 << 0 << QList<int>();
    QTest::newRow("attempt 0") << "3209:drop:@0" << false << ""
                               << "" << 0 << 0 << QList<int>();
    QTest::newRow("bad parameter") << "3209:delay=x" << false << ""
                                   << "" << 0 << 0 << QList<int>();
    QTest::newRow("too many parts") << "32:drop:1:2" << false << ""
                                    << "" << 0 << 0 << QList<int>();
}

void TestSimulator::parseRule()
{
    QFETCH(QString, ruleText);
    QFETCH(bool, valid);
    QFETCH(QString, prefix);
    QFETCH(QString, kind);
    QFETCH(int, param);
    QFETCH(int, remaining);
    QFETCH(QList<int>, attempts);
    QString error;
    const auto rule = FaultInjector::parseRule(ruleText, &error);
    QCOMPARE(bool(rule), valid);
    if (!valid) {
        QVERIFY(error.contains(ruleText));
        return;
    }
    QCOMPARE(hexOf(rule->prefix), prefix);
    QCOMPARE(faultName(rule->fault.kind), kind);
    QCOMPARE(rule->fault.param, param);
    QCOMPARE(rule->remaining, remaining);
    QCOMPARE(rule->attempts, attempts);
}

void TestSimulator::scriptedRules_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QList<int>>("attempts");

    QTest::newRow("next two matching")
        << QStringList{"3209:drop:2"} << QStringList{"3209", "3201", "3209", "3209"}
        << QStringList{"drop", "none", "drop", "none"} << QList<int>{1, 1, 1, 2};
    QTest::newRow("forever by prefix")
        << QStringList{"32:refuse:*"} << QStringList{"3209", "3201", "C1", "3223"}
        << QStringList{"refuse", "refuse", "none", "refuse"} << QList<int>{1, 1, 1, 1};
    QTest::newRow("first two attempts of every operation")
        << QStringList{"*:drop:@1,2"} << QStringList{"3209", "3209", "3209", "3209", "33"}
        << QStringList{"drop", "drop", "none", "drop", "drop"} << QList<int>{1, 2, 3, 1, 1};
    QTest::newRow("one rule per attempt")
        << QStringList{"3209:drop:@1", "3209:lead:@2"} << QStringList{"3209", "3209", "3209"}
        << QStringList{"drop", "lead", "none"} << QList<int>{1, 2, 3};
    QTest::newRow("first rule wins, then the next")
        << QStringList{"32:drop:1", "3209:lead:1"} << QStringList{"3209", "3209", "3209"}
        << QStringList{"drop", "lead", "none"} << QList<int>{1, 2, 3};
    QTest::newRow("another request starts at attempt 1")
        << QStringList{"*:checksum:@2"} << QStringList{"3209", "3201", "3201"}
        << QStringList{"none", "none", "none"} << QList<int>{1, 1, 1};
}

void TestSimulator::scriptedRules()
{
    QFETCH(QStringList, rules);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, faults);
    QFETCH(QList<int>, attempts);
    FaultInjector injector;
    for (const QString &ruleText : rules)
        injector.addRule(*FaultInjector::parseRule(ruleText, nullptr));
    QStringList seen;
    QList<int> seenAttempts;
    for (const QString &request : requests) {
        seen.append(faultName(injector.next(hex(request)).kind));
        seenAttempts.append(injector.lastAttempt());
    }
    QCOMPARE(seen, faults);
    QCOMPARE(seenAttempts, attempts);
    QCOMPARE(injector.injectedTotal(), faults.size() - faults.count("none"));
}

void TestSimulator::randomFaultsReproducible()
{
    FaultInjector first;
    FaultInjector second;
    FaultInjector otherSeed;
    first.setRandom(0.3, 42);
    second.setRandom(0.3, 42);
    otherSeed.setRandom(0.3, 43);
    // A scripted rule on some requests must not shift the random faults of the others.
    second.addRule(*FaultInjector::parseRule("C6:refuse:*", nullptr));
    QList<FaultKind> sequence;
    for (int i = 0; i < 300; ++i) {
        const QByteArray request = i % 7 == 0 ? hex("C6") : hex("3209") + char(i);
        const FaultKind kind = first.next(request).kind;
        const FaultKind scripted = second.next(request).kind;
        QCOMPARE(scripted, i % 7 == 0 ? FaultKind::Refuse : kind);
        sequence.append(kind);
    }
    QVERIFY(sequence.count(FaultKind::None) < 250);
    QList<FaultKind> other;
    for (int i = 0; i < 300; ++i)
        other.append(otherSeed.next(i % 7 == 0 ? hex("C6") : hex("3209") + char(i)).kind);
    QVERIFY(other != sequence);
}

void TestSimulator::randomFaultRateAndKinds()
{
    FaultInjector never;
    never.setRandom(0.0, 1);
    QCOMPARE(kindsOf(never, 100, hex("33")).count(FaultKind::None), 100);
    QCOMPARE(never.injectedTotal(), 0);

    FaultInjector always;
    always.setRandom(1.0, 7);
    const QList<FaultKind> all = kindsOf(always, 900, hex("33"));
    QCOMPARE(all.count(FaultKind::None), 0);
    QCOMPARE(all.count(FaultKind::Refuse), 0); // the tool does not retry after a refusal
    for (FaultKind kind : FaultInjector::defaultRandomKinds()) {
        QVERIFY2(all.count(kind) > 50, qPrintable(faultName(kind)));
        QCOMPARE(always.injected(kind), all.count(kind));
    }

    FaultInjector some;
    some.setRandom(0.25, 3, {FaultKind::Drop});
    some.setRandomExcluded({hex("A2")});
    const QList<FaultKind> share = kindsOf(some, 2000, hex("33"));
    const int hits = share.count(FaultKind::Drop);
    QVERIFY2(hits > 400 && hits < 600, qPrintable(QString::number(hits)));
    QCOMPARE(hits + share.count(FaultKind::None), share.size());
    QCOMPARE(kindsOf(some, 200, hex("A20701")).count(FaultKind::None), 200);
}

void TestSimulator::faultOnLine_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<int>("rawSize");
    QTest::addColumn<int>("minSpreadMs"); // from the first to the last byte
    QTest::addColumn<int>("minDelayMs");  // from the request to the first byte

    // The request 32 09 to a module in DIP switch mode: reply 55 AA 04 32 09 55 94 00.
    QTest::newRow("none") << "" << QStringList{"320955"} << 8 << 0 << 0;
    QTest::newRow("drop") << "drop" << QStringList() << 0 << 0 << 0;
    QTest::newRow("checksum") << "checksum" << QStringList() << 8 << 0 << 0;
    QTest::newRow("short") << "short" << QStringList{"3209"} << 7 << 0 << 0;
    QTest::newRow("long") << "long" << QStringList{"32095500"} << 9 << 0 << 0;
    QTest::newRow("lead") << "lead" << QStringList{"330955"} << 8 << 0 << 0;
    QTest::newRow("refuse") << "refuse" << QStringList{"0002"} << 7 << 0 << 0;
    QTest::newRow("split, joined") << "split=150" << QStringList{"320955"} << 8 << 140 << 0;
    QTest::newRow("split, stale") << "split=700" << QStringList() << 8 << 690 << 0;
    QTest::newRow("noise") << "noise" << QStringList{"320955"} << 12 << 0 << 0;
    QTest::newRow("one noise byte") << "noise=1" << QStringList{"320955"} << 9 << 0 << 0;
    QTest::newRow("delay") << "delay=300" << QStringList{"320955"} << 8 << 0 << 300;
    QTest::newRow("duplicate") << "duplicate" << QStringList{"320955", "320955"} << 16 << 0 << 0;
}

void TestSimulator::faultOnLine()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, frames);
    QFETCH(int, rawSize);
    QFETCH(int, minSpreadMs);
    QFETCH(int, minDelayMs);
    SimHarness::Options options;
    options.state = fixture();
    if (!fault.isEmpty())
        options.faults = QStringList{"3209:" + fault};
    SimHarness sim(options);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    LineEnd line(sim.portPath());
    QVERIFY(line.isOpen());
    QSignalSpy received(&sim.simulator(), &ModuleSimulator::requestReceived);
    QSignalSpy sent(&sim.simulator(), &ModuleSimulator::replySent);

    line.send(hex("3209"));
    const auto chunks = line.receive(700 + minSpreadMs + minDelayMs, minSpreadMs + 300);
    const QByteArray raw = LineEnd::joined(chunks);
    QCOMPARE(raw.size(), rawSize);
    QCOMPARE(LineEnd::frames(chunks), frames);
    if (rawSize > 0) {
        QVERIFY(chunks.last().atMs - chunks.first().atMs >= minSpreadMs);
        QVERIFY(chunks.first().atMs - line.sentAtMs() >= minDelayMs);
    }

    QCOMPARE(received.count(), 1);
    QCOMPARE(received.first().first().toByteArray(), hex("3209"));
    QCOMPARE(sent.count(), rawSize > 0 ? 1 : 0);
    QCOMPARE(sim.log().size(), 1);
    QCOMPARE(sim.log().first().replyBytes, raw);
    const QString kind = fault.isEmpty() ? "none" : fault.section('=', 0, 0);
    QCOMPARE(faultName(sim.log().first().fault), kind);
    QCOMPARE(sim.faults().injectedTotal(), fault.isEmpty() ? 0 : 1);
}

void TestSimulator::pacing_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("latencyMs");
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("minChunks");
    QTest::newRow("147-byte reply at 9600") << 9600 << 0 << "011400" << 3;
    QTest::newRow("short reply at 2400") << 2400 << 0 << "3209" << 3;
    QTest::newRow("latency without pacing") << 0 << 150 << "3209" << 1;
    QTest::newRow("19200 and latency") << 19200 << 50 << "011400" << 3;
}

void TestSimulator::pacing()
{
    QFETCH(int, baud);
    QFETCH(int, latencyMs);
    QFETCH(QString, request);
    QFETCH(int, minChunks);
    SimHarness::Options options;
    options.baud = baud;
    options.latencyMs = latencyMs;
    SimHarness sim(options);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    LineEnd line(sim.portPath());

    ModuleState copy = sim.state();
    const int replyBytes =
        LinkFrame::encode(*RequestHandler::handle(hex(request), copy).reply).size();
    const int lineBytes = LinkFrame::encode(hex(request)).size() + replyBytes;
    const double minMs = baud > 0 ? lineBytes * 10 * 1000.0 / baud + latencyMs : latencyMs;

    line.send(hex(request));
    const auto chunks = line.receive(3000, 300);
    QCOMPARE(LineEnd::joined(chunks).size(), replyBytes);
    const qint64 elapsed = chunks.last().atMs - line.sentAtMs();
    QVERIFY2(elapsed >= minMs - 1,
             qPrintable(QStringLiteral("%1 ms < %2 ms").arg(elapsed).arg(minMs)));
    QVERIFY2(chunks.size() >= minChunks, qPrintable(QString::number(chunks.size())));
}

void TestSimulator::engineOverSerialPort_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("replyLength"); // 0: a write acknowledged with 00 01
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("requests");
    const int ok = int(CommandEngine::Outcome::Ok);
    QTest::newRow("band") << "3223" << 3 << "" << ok << 1;
    QTest::newRow("band after a lost reply") << "3223" << 3 << "3223:drop:1" << ok << 2;
    QTest::newRow("band after two short replies") << "3223" << 3 << "3223:short:2" << ok << 3;
    QTest::newRow("band never readable")
        << "3223" << 3 << "3223:checksum:*" << int(CommandEngine::Outcome::NoReply) << 3;
    QTest::newRow("write refused")
        << "320A00" << 0 << "320A:refuse:1" << int(CommandEngine::Outcome::Refused) << 1;
    QTest::newRow("write after a wrong lead") << "320A00" << 0 << "320A:lead:1" << ok << 2;
    QTest::newRow("split reply") << "3223" << 3 << "3223:split=100:1" << ok << 1;
}

void TestSimulator::engineOverSerialPort()
{
    QFETCH(QString, request);
    QFETCH(int, replyLength);
    QFETCH(QString, fault);
    QFETCH(int, outcome);
    QFETCH(int, requests);
    SimHarness::Options options;
    if (!fault.isEmpty())
        options.faults = QStringList{fault};
    SimHarness sim(options);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));

    QSerialPort port;
    CommandEngine engine;
    engine.setDevice(&port);
    QObject::connect(&port, &QSerialPort::readyRead, [&] { engine.receive(port.readAll()); });
    port.setPortName(sim.portPath());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    const Command command = replyLength > 0 ? Command::read(hex(request), replyLength, "read")
                                            : Command::write(hex(request), "write");
    const auto reply = engine.transact(command);
    QCOMPARE(int(engine.lastOutcome()), outcome);
    QCOMPARE(bool(reply), outcome == int(CommandEngine::Outcome::Ok));
    QList<QByteArray> expected;
    for (int i = 0; i < requests; ++i)
        expected.append(hex(request));
    QCOMPARE(sim.requests(), expected);

    // The tool closes and opens its port again: the line must still be there.
    port.close();
    sim.faults().clearRules();
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    const auto band = engine.transact(Command::read(hex("3223"), 3, "read"));
    QVERIFY(band);
    QCOMPARE(hexOf(*band), hexOf(QByteArray("\x32\x23") + char(sim.state().band)));
}

void TestSimulator::hangUp()
{
    SimHarness sim;
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    {
        LineEnd line(sim.portPath());
        line.send(hex("C1"));
        QCOMPARE(LineEnd::frames(line.receive(1000, 100)).size(), 1);
        sim.hangUp();
        QVERIFY(!sim.simulator().isOpen());
        pollfd watch{line.fd(), POLLIN, 0};
        QCOMPARE(::poll(&watch, 1, 1000), 1);
        QVERIFY(watch.revents & POLLHUP);
    }
    QVERIFY(sim.simulator().open());
    LineEnd again(sim.portPath());
    again.send(hex("C1"));
    QCOMPARE(LineEnd::frames(again.receive(1000, 100)),
             QStringList{"C1" + hexOf(QByteArray(1, char(sim.state().rssi)))});
}

void TestSimulator::harnessWaitsForRequests()
{
    SimHarness::Options options;
    options.latencyMs = 100;
    options.faults = QStringList{"C1:drop:1"};
    SimHarness sim(options);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    QSignalSpy sent(&sim.simulator(), &ModuleSimulator::replySent);
    LineEnd line(sim.portPath());
    for (const char *request : {"C1", "3223", "33"})
        line.send(hex(request));
    QVERIFY(sim.waitForRequests(3));
    QCOMPARE(sim.requests(), (QList<QByteArray>{hex("C1"), hex("3223"), hex("33")}));
    QCOMPARE(sent.count(), 2); // all replies out, none of the dropped one
    QVERIFY(!sim.waitForRequests(4, 200));
    QVERIFY(!sim.addFault("C1:explode"));
    QVERIFY(sim.error().contains("C1:explode"));
}

void TestSimulator::executable()
{
    QTemporaryDir dir;
    const QString statePath = dir.filePath("module.json");
    const QString logPath = dir.filePath("requests.log");
    const QString linkPath = dir.filePath("lx815");
    SimProcess process;
    QVERIFY2(process.start({"--state", statePath, "--save", "--log", logPath, "--link", linkPath,
                            "--baud", "0", "--band", "0x11", "--fault", "3209:drop:1"}),
             qPrintable(process.error()));
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), process.portPath());
    const auto initial = ModuleState::load(statePath, nullptr);
    QVERIFY(initial);
    QCOMPARE(initial->diff(ModuleState::defaults(0x11)), QStringList());

    LineEnd line(linkPath);
    QVERIFY(line.isOpen());
    line.send(hex("3209"));
    QCOMPARE(LineEnd::joined(line.receive(400)), QByteArray());
    line.send(hex("3209"));
    QCOMPARE(LineEnd::frames(line.receive(1000, 100)), QStringList{"320900"});
    line.send(hex("320A55"));
    QCOMPARE(LineEnd::frames(line.receive(1000, 100)), QStringList{"0001"});
    const auto savedCtrlMode = [&] {
        const auto saved = ModuleState::load(statePath, nullptr);
        return saved ? int(saved->ctrlMode) : -1;
    };
    QTRY_COMPARE(savedCtrlMode(), 0x55);

    QCOMPARE(process.stop(), 0);
    QVERIFY(!QFileInfo(linkPath).isSymLink());
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    const auto field = [&](int line, int column) {
        return lines[line].split('\t').value(column);
    };
    QCOMPARE(field(0, 1), toHexText(LinkFrame::encode(hex("3209"))));
    QCOMPARE(field(0, 2), QStringLiteral("-"));
    QCOMPARE(field(0, 3), QStringLiteral("drop"));
    QCOMPARE(field(1, 2), toHexText(LinkFrame::encode(hex("320900"))));
    QCOMPARE(field(1, 3), QStringLiteral("none"));
    QCOMPARE(field(1, 4), QStringLiteral("2")); // the tool's second attempt
    QCOMPARE(field(2, 1), toHexText(LinkFrame::encode(hex("320A55"))));
    QCOMPARE(field(2, 4), QStringLiteral("1"));
}

void TestSimulator::executableRejectsBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("band") << QStringList{"--band", "zz"};
    QTest::newRow("save without state") << QStringList{"--save"};
    QTest::newRow("fault kind") << QStringList{"--fault", "3209:explode"};
    QTest::newRow("fault rate") << QStringList{"--fault-rate", "2"};
    QTest::newRow("random kind") << QStringList{"--fault-rate", "0.1", "--fault-kinds", "drop,x"};
    QTest::newRow("baud") << QStringList{"--baud", "fast"};
    QTest::newRow("state file") << QStringList{"--state", QFINDTESTDATA("tst_simulator.cpp")};
}

void TestSimulator::executableRejectsBadOptions()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(SimProcess::executablePath(), arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QVERIFY(process.readAllStandardError().startsWith("lx815-sim: "));
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
