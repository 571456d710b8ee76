#include "device/adjustcommands.h"
#include "device/calibrationcommands.h"
#include "device/factorycommands.h"
#include "support/hexbytes.h"

#include <QtTest>

Q_DECLARE_METATYPE(Command)

namespace {
enum class Verdict
{
    Accepted,
    Refused,
    Repeated
};
} // namespace

Q_DECLARE_METATYPE(Verdict)

class TestFactoryCommands : public QObject
{
    Q_OBJECT

private slots:
    void requests_data();
    void requests();
    void replies_data();
    void replies();
    void serialNumbers_data();
    void serialNumbers();
};

void TestFactoryCommands::requests_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("request");

    // What the window tests cannot reach through the form's buttons.
    const QString failure = QStringLiteral("failure");
    QTest::newRow("type 8 is three-point") << AdjustCommands::read(8, 2, failure) << hex("A00802");
    QTest::newRow("volume type 9 has no point")
        << AdjustCommands::write(9, 1, 4, failure) << hex("A10904");
    QTest::newRow("unknown test mode is normal mode")
        << CalibrationCommands::setTransmitTestMode(7) << hex("A7");
    QTest::newRow("band index past the last")
        << FactoryCommands::writeRadioBand(6) << hex("322413");
    QTest::newRow("serial bits above 47 dropped")
        << FactoryCommands::writeSerialNumber(0xFF0123456789ABull) << hex("C70123456789AB");
}

void TestFactoryCommands::requests()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, request);
    QCOMPARE(command.request.toHex(' '), request.toHex(' '));
}

void TestFactoryCommands::replies_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<Verdict>("verdict");

    const QString failure = QStringLiteral("failure");
    const Command readType0 = AdjustCommands::read(0, 1, failure);
    QTest::newRow("type 0: A0 00 v") << readType0 << hex("A00005") << Verdict::Accepted;
    QTest::newRow("type 0: one byte too many") << readType0 << hex("A0000506") << Verdict::Repeated;
    QTest::newRow("type 0: other type") << readType0 << hex("A00105") << Verdict::Repeated;
    QTest::newRow("type 0: no value") << readType0 << hex("A000") << Verdict::Repeated;
    const Command readType7 = AdjustCommands::read(7, 0, failure);
    QTest::newRow("type 7 low: A0 07 00 v") << readType7 << hex("A0070005") << Verdict::Accepted;
    QTest::newRow("type 7 low: without point") << readType7 << hex("A00705") << Verdict::Repeated;
    QTest::newRow("type 7 low: other point") << readType7 << hex("A0070105") << Verdict::Repeated;

    const Command write = AdjustCommands::write(7, 1, 3, failure);
    QTest::newRow("write: 00 01") << write << hex("0001") << Verdict::Accepted;
    QTest::newRow("write: 00 00 is a refusal") << write << hex("0000") << Verdict::Refused;
    QTest::newRow("write: 00 02 is a refusal") << write << hex("0002") << Verdict::Refused;
    QTest::newRow("write: 01 01 is no reply") << write << hex("0101") << Verdict::Repeated;
    QTest::newRow("write: three bytes") << write << hex("000100") << Verdict::Repeated;
    const Command step = AdjustCommands::step(7, 1, 1, failure);
    QTest::newRow("step: 00 00 is a refusal") << step << hex("0000") << Verdict::Refused;
    QTest::newRow("step: 00 01") << step << hex("0001") << Verdict::Accepted;

    const Command power = CalibrationCommands::readPowerTable();
    const QByteArray table(15, '\x07');
    QTest::newRow("power: 18 bytes") << power << hex("018100") + table << Verdict::Accepted;
    QTest::newRow("power: 17 bytes")
        << power << hex("018100") + table.left(14) << Verdict::Repeated;
    QTest::newRow("power: 19 bytes")
        << power << hex("018100") + table + '\x07' << Verdict::Repeated;
    QTest::newRow("power: 01 81 01") << power << hex("018101") + table << Verdict::Repeated;

    const Command rssi = CalibrationCommands::readRssiOffset(1);
    QTest::newRow("RSSI: C2 01 v") << rssi << hex("C201F6") << Verdict::Accepted;
    QTest::newRow("RSSI: other point") << rssi << hex("C202F6") << Verdict::Repeated;
    QTest::newRow("coupling: 39 02")
        << FactoryCommands::readCoupling() << hex("3902") << Verdict::Accepted;
    QTest::newRow("coupling: 3A 00")
        << FactoryCommands::readCoupling() << hex("3A00") << Verdict::Repeated;
    QTest::newRow("serial: C6 and 6 bytes")
        << FactoryCommands::readSerialNumber() << hex("C60123456789AB") << Verdict::Accepted;
    QTest::newRow("serial: C6 and 5 bytes")
        << FactoryCommands::readSerialNumber() << hex("C60123456789") << Verdict::Repeated;
    QTest::newRow("band: 32 23 12")
        << FactoryCommands::readRadioBand() << hex("322312") << Verdict::Accepted;
    QTest::newRow("band: 32 24 12")
        << FactoryCommands::readRadioBand() << hex("322412") << Verdict::Repeated;
    QTest::newRow("sidetone: 32 25 04")
        << FactoryCommands::readSidetoneVolume() << hex("322504") << Verdict::Accepted;
}

void TestFactoryCommands::replies()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, reply);
    QFETCH(Verdict, verdict);

    QCOMPARE(command.accepts(reply), verdict == Verdict::Accepted);
    QCOMPARE(command.isRefusal(reply), verdict == Verdict::Refused);
}

void TestFactoryCommands::serialNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint64>("value");

    QTest::newRow("twelve digits") << "0123456789AB" << true << quint64(0x0123456789AB);
    QTest::newRow("lower case") << "0123456789ab" << true << quint64(0x0123456789AB);
    QTest::newRow("short, with the mask's blanks") << "00AB        " << true << quint64(0xAB);
    QTest::newRow("gap inside") << "12 45       " << false << quint64(0);
    QTest::newRow("empty") << "" << false << quint64(0);
    QTest::newRow("only blanks") << "            " << false << quint64(0);
}

void TestFactoryCommands::serialNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(quint64, value);

    const std::optional<quint64> parsed = FactoryCommands::parseSerialNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid) {
        QCOMPARE(*parsed, value);
        // What is written reads back as the same twelve digits.
        const QByteArray written = FactoryCommands::writeSerialNumber(*parsed).request;
        const QString shown = FactoryCommands::formatSerialNumber(hex("C6") + written.mid(1));
        QCOMPARE(shown, QStringLiteral("%1").arg(value, 12, 16, QLatin1Char('0')).toUpper());
    }
}

QTEST_APPLESS_MAIN(TestFactoryCommands)
#include "tst_factorycommands.moc"
