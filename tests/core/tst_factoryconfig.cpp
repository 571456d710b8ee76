#include "app/mjsonconfig.h"
#include "config/factoryconfig.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The members of the factory calibration file, in the order a save writes them.
const QStringList kPaths{
    "/DataModFreqDiv/LowDiff",
    "/DataModFreqDiv/Mid",
    "/DataModFreqDiv/HighDiff",
    "/VoiceModFreqDiv/LowDiff",
    "/VoiceModFreqDiv/Mid",
    "/VoiceModFreqDiv/HighDiff",
    "/AUDIO_IN/LowDiff",
    "/AUDIO_IN/Mid",
    "/AUDIO_IN/HighDiff",
    "/CTCSSFreqDiv",
    "/TCXO_BIAS",
    "/MOD_BIAS",
    "/TxPowerAdj/cell00",
    "/TxPowerAdj/cell01",
    "/TxPowerAdj/cell02",
    "/TxPowerAdj/cell10",
    "/TxPowerAdj/cell11",
    "/TxPowerAdj/cell12",
    "/TxPowerAdj/cell20",
    "/TxPowerAdj/cell21",
    "/TxPowerAdj/cell22",
    "/TxPowerAdj/cell30",
    "/TxPowerAdj/cell31",
    "/TxPowerAdj/cell32",
    "/TxPowerAdj/cell40",
    "/TxPowerAdj/cell41",
    "/TxPowerAdj/cell42",
    "/2PBalanceAdj/LowDiff",
    "/2PBalanceAdj/Mid",
    "/2PBalanceAdj/HighDiff",
    "/RxFilter/LowDiff",
    "/RxFilter/Mid",
    "/RxFilter/HighDiff",
    "/RFSKLevel",
    "/R_BIAS",
    "/RSSIOffset/Low",
    "/RSSIOffset/Mid",
    "/RSSIOffset/High",
    "/SidetoneVol",
    "/BasebandSignelCouple",
    "/RadioBandIndex",
};

int fieldIndex(const QString &path)
{
    return kPaths.indexOf(path);
}

// A store on a file holding the given JSON text.
std::unique_ptr<MJsonConfig> storeWith(const QTemporaryDir &dir, const QByteArray &json)
{
    const QString path = dir.filePath(QStringLiteral("factory.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return nullptr;
    file.write(json);
    file.close();
    return std::make_unique<MJsonConfig>(path);
}

} // namespace

class TestFactoryConfig : public QObject
{
    Q_OBJECT

private slots:
    void entriesInFileOrder();
    void loading_data();
    void loading();
    void sources_data();
    void sources();
    void powerTableWireOrder();
};

void TestFactoryConfig::entriesInFileOrder()
{
    QStringList paths;
    for (const auto &entry : FactoryCalibration().entries())
        paths.append(entry.first);
    QCOMPARE(paths, kPaths);
}

void TestFactoryConfig::loading_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("number"); // the loaded value of path; for the band, its index
    QTest::addColumn<bool>("dc");

    QTest::newRow("empty file") << QByteArray() << "/MOD_BIAS" << 0 << true;
    QTest::newRow("not JSON") << QByteArray("{nope") << "/R_BIAS" << 0 << true;
    QTest::newRow("empty file, band") << QByteArray() << "/RadioBandIndex" << -1 << true;
    QTest::newRow("plain number") << QByteArray(R"({"MOD_BIAS": 77})") << "/MOD_BIAS" << 77 << true;
    QTest::newRow("nested path") << QByteArray(R"({"RxFilter": {"HighDiff": -5}})")
                                 << "/RxFilter/HighDiff" << -5 << true;
    QTest::newRow("text is no number")
        << QByteArray(R"({"MOD_BIAS": "77"})") << "/MOD_BIAS" << 0 << true;
    QTest::newRow("fraction is no integer")
        << QByteArray(R"({"MOD_BIAS": 7.5})") << "/MOD_BIAS" << 0 << true;
    QTest::newRow("null") << QByteArray(R"({"MOD_BIAS": null})") << "/MOD_BIAS" << 0 << true;
    QTest::newRow("above an unsigned box")
        << QByteArray(R"({"MOD_BIAS": 300})") << "/MOD_BIAS" << 255 << true;
    QTest::newRow("below an unsigned box")
        << QByteArray(R"({"MOD_BIAS": -3})") << "/MOD_BIAS" << 0 << true;
    QTest::newRow("below a signed box")
        << QByteArray(R"({"AUDIO_IN": {"LowDiff": -200}})") << "/AUDIO_IN/LowDiff" << -128 << true;
    QTest::newRow("above a signed box")
        << QByteArray(R"({"RSSIOffset": {"High": 128}})") << "/RSSIOffset/High" << 127 << true;
    QTest::newRow("sidetone above 9")
        << QByteArray(R"({"SidetoneVol": 12})") << "/SidetoneVol" << 9 << true;
    QTest::newRow("power cell") << QByteArray(R"({"TxPowerAdj": {"cell31": 201}})")
                                << "/TxPowerAdj/cell31" << 201 << true;
    QTest::newRow("AC") << QByteArray(R"({"BasebandSignelCouple": "AC"})") << "/MOD_BIAS" << 0
                        << false;
    QTest::newRow("dc in lower case is AC")
        << QByteArray(R"({"BasebandSignelCouple": "dc"})") << "/MOD_BIAS" << 0 << false;
    QTest::newRow("coupling as a number is AC")
        << QByteArray(R"({"BasebandSignelCouple": 0})") << "/MOD_BIAS" << 0 << false;
    QTest::newRow("coupling spelled right is not ours")
        << QByteArray(R"({"BasebandSignalCouple": "AC"})") << "/MOD_BIAS" << 0 << true;
    QTest::newRow("band") << QByteArray(R"({"RadioBandIndex": 3})") << "/RadioBandIndex" << 3
                          << true;
    QTest::newRow("band past the selector")
        << QByteArray(R"({"RadioBandIndex": 4})") << "/RadioBandIndex" << -1 << true;
    QTest::newRow("band as text") << QByteArray(R"({"RadioBandIndex": "2"})") << "/RadioBandIndex"
                                  << 0 << true;
    QTest::newRow("user configuration") << QByteArray(R"({"Volume": 5, "Channel": {"Current": 3}})")
                                        << "/DataModFreqDiv/Mid" << 0 << true;
}

void TestFactoryConfig::loading()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, path);
    QFETCH(int, number);
    QFETCH(bool, dc);

    QTemporaryDir dir;
    const auto store = storeWith(dir, json);
    QVERIFY(store);
    const FactoryCalibration loaded = FactoryCalibration::fromStore(*store);
    const int index = fieldIndex(path);
    QCOMPARE(path == "/RadioBandIndex" ? loaded.radioBandIndex : loaded.numbers[index], number);
    QCOMPARE(loaded.dcCoupling, dc);
    // Loading reads only; the file stays as it was.
    QFile file(store->filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), json);
}

void TestFactoryConfig::sources_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("power");
    QTest::addColumn<QString>("path");

    const int adjust = int(FactorySource::Kind::Adjust);
    const int cell = int(FactorySource::Kind::PowerCell);
    const int rssi = int(FactorySource::Kind::RssiOffset);
    QTest::newRow("type 7 low") << adjust << 7 << 0 << 0 << "/DataModFreqDiv/LowDiff";
    QTest::newRow("type 6 high") << adjust << 6 << 2 << 0 << "/VoiceModFreqDiv/HighDiff";
    QTest::newRow("type 12 middle") << adjust << 12 << 1 << 0 << "/AUDIO_IN/Mid";
    QTest::newRow("type 5 low") << adjust << 5 << 0 << 0 << "/2PBalanceAdj/LowDiff";
    QTest::newRow("type 11 high") << adjust << 11 << 2 << 0 << "/RxFilter/HighDiff";
    QTest::newRow("type 3") << adjust << 3 << 1 << 0 << "/CTCSSFreqDiv";
    QTest::newRow("type 0, any point") << adjust << 0 << 2 << 0 << "/TCXO_BIAS";
    QTest::newRow("type 2") << adjust << 2 << 1 << 0 << "/MOD_BIAS";
    QTest::newRow("type 10") << adjust << 10 << 1 << 0 << "/RFSKLevel";
    QTest::newRow("type 1") << adjust << 1 << 1 << 0 << "/R_BIAS";
    QTest::newRow("type 8 is not in the file") << adjust << 8 << 1 << 0 << QString();
    QTest::newRow("type 9 is the user volume") << adjust << 9 << 1 << 0 << QString();
    QTest::newRow("3 W high") << cell << 0 << 2 << 2 << "/TxPowerAdj/cell22";
    QTest::newRow("1 W low") << cell << 0 << 0 << 0 << "/TxPowerAdj/cell00";
    QTest::newRow("5 W middle") << cell << 0 << 1 << 4 << "/TxPowerAdj/cell41";
    QTest::newRow("RSSI middle") << rssi << 0 << 1 << 0 << "/RSSIOffset/Mid";
    QTest::newRow("sidetone") << int(FactorySource::Kind::SidetoneVolume) << 0 << 1 << 0
                              << "/SidetoneVol";
}

void TestFactoryConfig::sources()
{
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(int, point);
    QFETCH(int, power);
    QFETCH(QString, path);

    const FactorySource source{FactorySource::Kind(kind), quint8(type), point, power};
    QCOMPARE(FactoryCalibration::indexOf(source), fieldIndex(path));
}

void TestFactoryConfig::powerTableWireOrder()
{
    FactoryCalibration calibration;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column)
            calibration
                .numbers[fieldIndex(QStringLiteral("/TxPowerAdj/cell%1%2").arg(row).arg(column))] =
                10 * row + column;
    }
    // For each power: middle, low, high.
    const QByteArray wire = QByteArray::fromHex("010002 0B0A0C 151416 1F1E20 29282A");
    QCOMPARE(calibration.powerTable().toHex(' '), wire.toHex(' '));

    FactoryCalibration back;
    back.setPowerTable(wire);
    QCOMPARE(back.numbers, calibration.numbers);
}

QTEST_APPLESS_MAIN(TestFactoryConfig)
#include "tst_factoryconfig.moc"
