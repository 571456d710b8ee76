#include "device/channelcodec.h"

#include <QtTest>

using namespace ChannelCodec;

class TestChannelCodec : public QObject
{
    Q_OBJECT

private slots:
    void itemTexts_data();
    void itemTexts();
    void ctcssDcsFromWire_data();
    void ctcssDcsFromWire();
    void ctcssDcsMappingRoundTrips();
    void ctcssDcsRefusedIndices_data();
    void ctcssDcsRefusedIndices();
    void cellNames_data();
    void cellNames();
    void frequencyText_data();
    void frequencyText();
    void frequencyFromText_data();
    void frequencyFromText();
    void snapFrequency_data();
    void snapFrequency();
};

void TestChannelCodec::itemTexts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("disable") << 0 << "Disable";
    QTest::newRow("switch signal") << 1 << "Switch Signal";
    QTest::newRow("first heading") << 2 << "---------";
    QTest::newRow("ctcss heading") << 3 << "CTCSS";
    QTest::newRow("first tone") << 4 << "67.0Hz";
    QTest::newRow("last tone") << 51 << "229.1Hz";
    QTest::newRow("second heading") << 52 << "---------";
    QTest::newRow("dcs heading") << 53 << "DCS";
    QTest::newRow("first dcs") << 54 << "023";
    QTest::newRow("last dcs") << 157 << "526";
}

void TestChannelCodec::itemTexts()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    const QStringList items = ctcssDcsItems();
    QCOMPARE(items.size(), kCtcssDcsItemCount);
    QCOMPARE(items.at(index), text);
}

void TestChannelCodec::ctcssDcsFromWire_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("item"); // empty: no selection
    QTest::newRow("0x2F last tone") << 0x2F << "229.1Hz";
    QTest::newRow("0x80 first dcs") << 0x80 << "023";
    QTest::newRow("0xE7 last dcs") << 0xE7 << "526";
    QTest::newRow("0x40 between") << 0x40 << "";
    QTest::newRow("0x00 first tone") << 0x00 << "67.0Hz";
    QTest::newRow("0xFF disabled") << 0xFF << "Disable";
    QTest::newRow("0x30 switch signal") << 0x30 << "Switch Signal";
    QTest::newRow("0x31 after switch") << 0x31 << "";
    QTest::newRow("0x7F before dcs") << 0x7F << "";
    QTest::newRow("0xE8 after dcs") << 0xE8 << "";
    QTest::newRow("0xFE before disable") << 0xFE << "";
}

void TestChannelCodec::ctcssDcsFromWire()
{
    QFETCH(int, byte);
    QFETCH(QString, item);
    const int index = ctcssDcsIndexFromWire(static_cast<quint8>(byte));
    if (item.isEmpty())
        QCOMPARE(index, kNoSelection);
    else
        QCOMPARE(ctcssDcsItems().value(index), item);
}

void TestChannelCodec::ctcssDcsMappingRoundTrips()
{
    int mapped = 0;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const int index = ctcssDcsIndexFromWire(static_cast<quint8>(byte));
        if (index == kNoSelection)
            continue;
        ++mapped;
        const auto back = ctcssDcsWireFromIndex(index);
        QVERIFY2(back.has_value(), qPrintable(QString::number(byte, 16)));
        QCOMPARE(int(*back), byte);
    }
    // Every item but the four headings stands for exactly one byte.
    QCOMPARE(mapped, kCtcssDcsItemCount - 4);
}

void TestChannelCodec::ctcssDcsRefusedIndices_data()
{
    QTest::addColumn<int>("index");
    for (int index : {-1, 2, 3, 52, 53, 158, 1000})
        QTest::newRow(qPrintable(QString::number(index))) << index;
}

void TestChannelCodec::ctcssDcsRefusedIndices()
{
    QFETCH(int, index);
    QVERIFY(!ctcssDcsWireFromIndex(index).has_value());
}

void TestChannelCodec::cellNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("channel");
    QTest::newRow("CH12_RxFreq") << cellName(12, kRxFreq) << 12;
    QTest::newRow("CH1_CTCSS_DCS") << cellName(1, kCtcssDcs) << 1;
    QTest::newRow("CH16_Scan") << cellName(16, kScan) << 16;
    QTest::newRow("no number") << QStringLiteral("CHx_Scan") << 0;
}

void TestChannelCodec::cellNames()
{
    QFETCH(QString, name);
    QFETCH(int, channel);
    QCOMPARE(channelOfCellName(name), channel);
    if (channel > 0)
        QVERIFY(name.startsWith(QStringLiteral("CH%1_").arg(channel)));
}

void TestChannelCodec::frequencyText_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("435.125") << 43512500u << "435.12500";
    QTest::newRow("zero") << 0u << "0.00000";
    QTest::newRow("band edge") << 13600000u << "136.00000";
    QTest::newRow("10 Hz") << 1u << "0.00001";
    QTest::newRow("leading fraction zeros") << 45000050u << "450.00050";
}

void TestChannelCodec::frequencyText()
{
    QFETCH(quint32, value);
    QFETCH(QString, text);
    QCOMPARE(ChannelCodec::frequencyText(value), text);
}

void TestChannelCodec::frequencyFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value");
    QTest::newRow("435.12500") << "435.12500" << 43512500u;
    QTest::newRow("empty mask") << "000.00000" << 0u;
    QTest::newRow("nothing") << "" << 0u;
    QTest::newRow("not a number") << "4x5.12500" << 0u;
    QTest::newRow("short") << "45.5" << 455u;
}

void TestChannelCodec::frequencyFromText()
{
    QFETCH(QString, text);
    QFETCH(quint32, value);
    QCOMPARE(ChannelCodec::frequencyFromText(text), value);
}

void TestChannelCodec::snapFrequency_data()
{
    QTest::addColumn<quint32>("typed");
    QTest::addColumn<quint32>("freqMin");
    QTest::addColumn<quint32>("freqMax");
    QTest::addColumn<quint32>("chosen");
    const quint32 u0Min = 40000000, u0Max = 44000000, vMin = 13600000, vMax = 17400000;
    QTest::newRow("5 kHz up") << 43500300u << u0Min << u0Max << 43500500u;
    QTest::newRow("both grids agree") << 43512345u << u0Min << u0Max << 43512500u;
    QTest::newRow("tie keeps 5 kHz") << 43500250u << u0Min << u0Max << 43500500u;
    QTest::newRow("6.25 kHz closer") << 43500600u << u0Min << u0Max << 43500625u;
    QTest::newRow("7.5 kHz on V band") << 15000700u << vMin << vMax << 15000750u;
    QTest::newRow("no 7.5 kHz without band") << 15000700u << 0u << 0u << 15000625u;
    QTest::newRow("no 7.5 kHz on U band") << 43500700u << u0Min << u0Max << 43500625u;
    QTest::newRow("V band needs min above 135.99999")
        << 15000700u << 13599999u << vMax << 15000625u;
    QTest::newRow("V band max may be 174") << 15000700u << vMin << 17400001u << 15000625u;
    QTest::newRow("7.5 kHz tie keeps 5 kHz") << 15000250u << vMin << vMax << 15000500u;
    QTest::newRow("tie with zero keeps zero") << 250u << u0Min << u0Max << 0u;
    QTest::newRow("remainder 312 of 6.25 kHz") << 43750312u << 0u << 0u << 43750500u;
    QTest::newRow("on grid stays") << 43512500u << u0Min << u0Max << 43512500u;
}

void TestChannelCodec::snapFrequency()
{
    QFETCH(quint32, typed);
    QFETCH(quint32, freqMin);
    QFETCH(quint32, freqMax);
    QFETCH(quint32, chosen);
    QCOMPARE(ChannelCodec::snapFrequency(typed, freqMin, freqMax), chosen);
}

QTEST_GUILESS_MAIN(TestChannelCodec)
#include "tst_channelcodec.moc"
