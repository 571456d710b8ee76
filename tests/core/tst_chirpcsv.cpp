// CHIRP's generic CSV: each mapping rule row by row, placement, file forms, round trip.
#include "config/chirpcsv.h"

#include <QtTest>

namespace {
const QByteArray kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// A plain FM row as CHIRP writes it, with "Column=value;..." changed.
QByteArray row(const QString &changes, int location = 1)
{
    const QStringList columns = QString::fromLatin1(kHeader).split(',');
    QStringList fields{QString::number(location),
                       "CH1",
                       "462.562500",
                       "",
                       "0.000000",
                       "",
                       "88.5",
                       "88.5",
                       "023",
                       "NN",
                       "023",
                       "Tone->Tone",
                       "FM",
                       "5.00",
                       "",
                       "1.0W",
                       "",
                       "",
                       "",
                       "",
                       ""};
    for (const QString &change : changes.split(';', Qt::SkipEmptyParts)) {
        const int at = change.indexOf('=');
        fields[columns.indexOf(change.left(at))] = change.mid(at + 1);
    }
    return fields.join(',').toUtf8();
}

// The header and count rows with locations from 1, each changed as given.
QByteArray rows(int count, const QString &changes = QString())
{
    QByteArray csv = kHeader + "\r\n";
    for (int n = 1; n <= count; ++n)
        csv += row(changes, n) + "\r\n";
    return csv;
}
} // namespace

class TestChirpCsv : public QObject
{
    Q_OBJECT

private slots:
    void mapping_data();
    void mapping();
    void placement_data();
    void placement();
    void fileForms_data();
    void fileForms();
    void squelchKeepsCurrentLevel();
    void pasteAtChannel15();
    void roundTrip();
    void summary_data();
    void summary();
    void bounds_data();
    void bounds();
};

void TestChirpCsv::mapping_data()
{
    QTest::addColumn<QString>("changes");
    // rx, tx, power, bandwidth, squelch, CTCSS/DCS, scan; empty: the row is skipped
    QTest::addColumn<QList<int>>("channel");
    QTest::addColumn<QString>("note"); // a part of the row's note; empty: no note

    const QList<int> skipped;
    QTest::newRow("simplex") << "" << QList<int>{46256250, 46256250, 0, 1, 0, 0, 0} << "";
    QTest::newRow("exact decimal")
        << "Frequency=462.5625" << QList<int>{46256250, 46256250, 0, 1, 0, 0, 0} << "";
    QTest::newRow("rounded to 10 Hz")
        << "Frequency=146.520005" << QList<int>{14652001, 14652001, 0, 1, 0, 0, 0} << "146.520005";
    QTest::newRow("duplex +") << "Frequency=146.94;Duplex=+;Offset=0.6"
                              << QList<int>{14694000, 14754000, 0, 1, 0, 0, 0} << "";
    QTest::newRow("duplex -") << "Frequency=146.94;Duplex=-;Offset=0.600000"
                              << QList<int>{14694000, 14634000, 0, 1, 0, 0, 0} << "";
    QTest::newRow("split") << "Duplex=split;Offset=150.000000"
                           << QList<int>{46256250, 15000000, 0, 1, 0, 0, 0} << "";
    QTest::newRow("duplex off") << "Duplex=off" << skipped << "off";
    QTest::newRow("duplex - below 0") << "Duplex=-;Offset=500" << skipped << "500";
    QTest::newRow("NFM") << "Mode=NFM" << QList<int>{46256250, 46256250, 0, 0, 0, 0, 0} << "";
    QTest::newRow("AM") << "Mode=AM" << skipped << "AM";
    QTest::newRow("WFM") << "Mode=WFM" << skipped << "WFM";
    QTest::newRow("Tone") << "Tone=Tone;rToneFreq=100.0;cToneFreq=67.0"
                          << QList<int>{46256250, 46256250, 0, 1, 0, 16, 0} << "";
    QTest::newRow("TSQL") << "Tone=TSQL;rToneFreq=67.0;cToneFreq=88.5"
                          << QList<int>{46256250, 46256250, 0, 1, 0, 12, 0} << "";
    QTest::newRow("tone not listed") << "Tone=TSQL;cToneFreq=88.4" << skipped << "88.4";
    QTest::newRow("DTCS") << "Tone=DTCS;DtcsCode=25"
                          << QList<int>{46256250, 46256250, 0, 1, 0, 55, 0} << "";
    QTest::newRow("DTCS polarity NR") << "Tone=DTCS;DtcsPolarity=NR" << skipped << "NR";
    QTest::newRow("DCS not listed") << "Tone=DTCS;DtcsCode=024" << skipped << "024";
    QTest::newRow("Cross") << "Tone=Cross" << skipped << "Cross";
    QTest::newRow("TSQL-R") << "Tone=TSQL-R" << skipped << "TSQL-R";
    QTest::newRow("DTCS-R") << "Tone=DTCS-R" << skipped << "DTCS-R";
    QTest::newRow("skip S") << "Skip=S" << QList<int>{46256250, 46256250, 0, 1, 0, 0, 1} << "";
    QTest::newRow("skip P") << "Skip=P" << QList<int>{46256250, 46256250, 0, 1, 0, 0, 0} << "";
    QTest::newRow("2W") << "Power=2W" << QList<int>{46256250, 46256250, 1, 1, 0, 0, 0} << "";
    QTest::newRow("2.0W") << "Power=2.0W" << QList<int>{46256250, 46256250, 1, 1, 0, 0, 0} << "";
    QTest::newRow("0.5W") << "Power=0.5W" << QList<int>{46256250, 46256250, 0, 1, 0, 0, 0}
                          << "0.5W";
    QTest::newRow("2.45W") << "Power=2.45W" << QList<int>{46256250, 46256250, 1, 1, 0, 0, 0}
                           << "2.45W";
    QTest::newRow("2.5W") << "Power=2.5W" << QList<int>{46256250, 46256250, 2, 1, 0, 0, 0}
                          << "2.5W";
    QTest::newRow("50W") << "Power=50W" << QList<int>{46256250, 46256250, 4, 1, 0, 0, 0} << "50W";
    QTest::newRow("no power") << "Power=" << QList<int>{46256250, 46256250, 0, 1, 0, 0, 0} << "";
    QTest::newRow("power High") << "Power=High" << skipped << "High";
    QTest::newRow("squelch") << "Comment=SQ=L3 hill"
                             << QList<int>{46256250, 46256250, 0, 1, 3, 0, 0} << "";
    QTest::newRow("switch signal")
        << "Comment=SQ=L1 Switch Signal" << QList<int>{46256250, 46256250, 0, 1, 1, 1, 0} << "";
    QTest::newRow("no frequency") << "Frequency=" << skipped << "\"\"";
    QTest::newRow("beyond the cells") << "Frequency=1000.0" << skipped << "1000.0";
}

void TestChirpCsv::mapping()
{
    QFETCH(QString, changes);
    QFETCH(QList<int>, channel);
    QFETCH(QString, note);
    const auto result = ChirpCsv::importTable(kHeader + "\n" + row(changes) + "\n", {});
    QCOMPARE(result.placed, channel.isEmpty() ? QVector<int>() : QVector<int>{1});
    if (!channel.isEmpty()) {
        const UserChannel &got = result.channels[0];
        QCOMPARE((QList<int>{int(got.rxFreq), int(got.txFreq), got.txPowerIndex, got.bandwidthIndex,
                             got.sqLevelIndex, got.ctcssDcsIndex, got.scanIndex}),
                 channel);
    }
    if (note.isEmpty()) {
        QVERIFY2(result.notes.isEmpty(), qPrintable(result.notes.join('|')));
    } else {
        QCOMPARE(result.notes.size(), 1);
        QVERIFY2(result.notes.first().startsWith(QStringLiteral("第 2 行：")) &&
                     result.notes.first().contains(note),
                 qPrintable(result.notes.first()));
    }
}

void TestChirpCsv::placement_data()
{
    QTest::addColumn<QList<int>>("locations"); // 0: an AM row, which is skipped
    QTest::addColumn<QVector<int>>("placed");
    QTest::addColumn<int>("notes");

    QTest::newRow("by location") << QList<int>{3, 1, 16} << QVector<int>{3, 1, 16} << 0;
    QTest::newRow("a location beyond 16")
        << QList<int>{5, 20} << QVector<int>{1, 2} << 2; // "Location → channel" per row
    QTest::newRow("the same location twice") << QList<int>{2, 2} << QVector<int>{1, 2} << 2;
    QTest::newRow("skipped rows do not count") << QList<int>{0, 7} << QVector<int>{7} << 1;
    QList<int> seventeen;
    QVector<int> sixteen;
    for (int n = 1; n <= 17; ++n)
        seventeen << n;
    for (int n = 1; n <= 16; ++n)
        sixteen << n;
    QTest::newRow("17 rows") << seventeen << sixteen << 17; // 16 moved, 1 not imported
}

void TestChirpCsv::placement()
{
    QFETCH(QList<int>, locations);
    QFETCH(QVector<int>, placed);
    QFETCH(int, notes);
    QByteArray csv = kHeader + "\n";
    for (int location : locations)
        csv += row(location == 0 ? "Mode=AM" : "", location == 0 ? 40 : location) + "\n";
    const auto result = ChirpCsv::importTable(csv, {});
    QCOMPARE(result.placed, placed);
    QCOMPARE(result.notes.size(), notes);
    for (int n = 1; n <= 16; ++n)
        QCOMPARE(result.channels[n - 1].rxFreq == 0, !placed.contains(n));
}

void TestChirpCsv::fileForms_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<quint32>("rx");
    QTest::addColumn<QString>("note"); // a part of the notes, or empty for none

    QTest::newRow("older header")
        << QByteArray("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                      "DtcsPolarity,Mode,TStep,Skip,Comment\n1,CH1,146.52,,0,,88.5,88.5,023,"
                      "NN,FM,5,,\n")
        << quint32(14652000) << "";
    QTest::newRow("any column order")
        << QByteArray("Mode,Frequency,Location\nNFM,446.00625,1\n") << quint32(44600625) << "";
    QTest::newRow("quoted name") << kHeader + "\n" + row("Name=\"Hill, \"\"North\"\"\"") + "\n"
                                 << quint32(46256250) << "名称不保留";
    QTest::newRow("name over two lines")
        << kHeader + "\n" + row("Name=\"A\nB\"") + "\n" + row("Mode=AM", 2) + "\n"
        << quint32(46256250) << "第 4 行";
    QTest::newRow("BOM, CR LF, blank and # lines")
        << "\xEF\xBB\xBF# plan\r\n" + kHeader + "\r\n\r\n#" + row("Mode=AM") + "\r\n" + row("") +
               "\r\n" + row("Mode=AM", 2) + "\r\n"
        << quint32(46256250) << "第 6 行";
    QTest::newRow("no header") << row("") + "\n" << quint32(0) << "Frequency";
}

void TestChirpCsv::fileForms()
{
    QFETCH(QByteArray, csv);
    QFETCH(quint32, rx);
    QFETCH(QString, note);
    const auto result = ChirpCsv::importTable(csv, {});
    QCOMPARE(result.channels[0].rxFreq, rx);
    const QString notes = result.notes.join('|');
    QVERIFY2(note.isEmpty() ? notes.isEmpty() : notes.contains(note), qPrintable(notes));
}

void TestChirpCsv::squelchKeepsCurrentLevel()
{
    ChirpCsv::Channels current{};
    current[0].sqLevelIndex = 4;
    const auto result =
        ChirpCsv::importTable(kHeader + "\n" + row("", 1) + "\n" + row("", 2) + "\n", current);
    QCOMPARE(result.channels[0].sqLevelIndex, 4);
    QCOMPARE(result.channels[1].sqLevelIndex, 0);
}

void TestChirpCsv::pasteAtChannel15()
{
    ChirpCsv::Channels current{};
    current[0] = UserChannel{45000000, 45000000, 2, 0, 1, 0, 1};
    const QByteArray rows = kHeader + "\n" + row("Frequency=450.1", 9) + "\n" +
                            row("Frequency=450.2", 3) + "\n" + row("Frequency=450.3", 1) + "\n";
    const auto result = ChirpCsv::paste(rows, current, 15);
    QCOMPARE(result.placed, (QVector<int>{15, 16}));
    QCOMPARE(result.channels[14].rxFreq, quint32(45010000));
    QCOMPARE(result.channels[15].rxFreq, quint32(45020000));
    QCOMPARE(result.channels[0], current[0]);
    QCOMPARE(result.notes.size(), 1);
    QVERIFY(result.notes.first().startsWith(QStringLiteral("第 4 行：未粘贴")));
}

void TestChirpCsv::roundTrip()
{
    ChirpCsv::Channels table{};
    table[0] = UserChannel{46256250, 46756250, 4, 1, 2, 16, 0};  // +5 MHz, CTCSS
    table[1] = UserChannel{46256250, 45756250, 1, 0, 3, 54, 1};  // -5 MHz, DCS 023
    table[2] = UserChannel{15000000, 45000000, 0, 1, 0, 1, 0};   // split, switch signal
    table[3] = UserChannel{44600625, 44600625, 2, 0, 5, 0, 1};   // simplex, disabled
    table[9] = UserChannel{43512500, 43512500, 3, 1, 4, 157, 0}; // last DCS code
    const auto written = ChirpCsv::write(table);
    QCOMPARE(written.written, (QVector<int>{1, 2, 3, 4, 10}));
    const QList<QByteArray> lines = written.csv.split('\n');
    QCOMPARE(lines.at(0), kHeader + "\r");
    QCOMPARE(lines.at(2), QByteArray("2,CH2,462.562500,-,5.000000,DTCS,88.5,88.5,023,NN,023,"
                                     "Tone->Tone,NFM,6.25,S,2.0W,SQ=L3,,,,\r"));
    const auto read = ChirpCsv::importTable(written.csv, {});
    QVERIFY2(read.notes.isEmpty(), qPrintable(read.notes.join('|')));
    for (int n = 0; n < 16; ++n)
        QCOMPARE(read.channels[n], table[n]);
}

void TestChirpCsv::summary_data()
{
    QTest::addColumn<QList<int>>("inUse"); // channels of the current table
    QTest::addColumn<QStringList>("rows"); // "location;changes"
    QTest::addColumn<QStringList>("outcome");
    QTest::addColumn<QVector<int>>("outOfBand"); // of a 450-490 MHz module

    QTest::newRow("three rows into a full table")
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}
        << QStringList{"1;Frequency=450", "2;Frequency=490", "3;Frequency=600"}
        << QStringList{"填入的频道：1–3", "清空的频道（文件中没有它们的行）：4–16"}
        << QVector<int>{3};
    QTest::newRow("filled, emptied and kept")
        << QList<int>{1, 3, 4, 5} << QStringList{"7;Frequency=470", "2;Frequency=449.99999"}
        << QStringList{"填入的频道：2, 7", "清空的频道（文件中没有它们的行）：1, 3–5",
                       "不变的频道（原本为空）：6, 8–16"}
        << QVector<int>{2};
    QTest::newRow("transmit below the band")
        << QList<int>{} << QStringList{"1;Frequency=470;Duplex=split;Offset=150"}
        << QStringList{"填入的频道：1", "不变的频道（原本为空）：2–16"} << QVector<int>{1};
    QTest::newRow("nothing usable")
        << QList<int>{1} << QStringList{"1;Mode=AM"} << QStringList{} << QVector<int>{};
}

void TestChirpCsv::summary()
{
    QFETCH(QList<int>, inUse);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, outcome);
    QFETCH(QVector<int>, outOfBand);
    ChirpCsv::Channels current{};
    for (int n : inUse)
        current[n - 1] = UserChannel{46000000, 46000000, 0, 0, 0, 0, 0};
    QByteArray csv = kHeader + "\n";
    for (const QString &line : rows)
        csv += row(line.section(';', 1), line.section(';', 0, 0).toInt()) + "\n";
    const auto result = ChirpCsv::importTable(csv, current, {45000000, 49000000});
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.outOfBand, outOfBand);
    QCOMPARE(result.notes.filter(QStringLiteral("超出模块的频段 450.00000–490.00000 MHz")).size(),
             outOfBand.size());
}

void TestChirpCsv::bounds_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("placed");
    QTest::addColumn<int>("notes");
    QTest::addColumn<QString>("last");      // a part of the last note
    QTest::addColumn<qint64>("readAtMost"); // bytes taken from the file

    const QByteArray open = kHeader + "\n" + row("Name=\"open") + QByteArray(1 << 20, 'x');
    QTest::newRow("20 rows") << rows(20) << 16 << 17 << "第 18–21 行的 4 行未导入：16 个频道已用完"
                             << qint64(1 << 20);
    QTest::newRow("20 000 rows") << rows(20000) << 16 << 17
                                 << "第 18 行起的各行未导入：16 个频道已用完；第 119 行之后未读取"
                                 << qint64(64 * 1024);
    QTest::newRow("a quote never closed")
        << open << 0 << 1 << "第 2 行起的记录超过 16384 字节" << qint64(64 * 1024);
    QTest::newRow("14 000 rows skipped")
        << rows(14000, "Mode=AM") << 0 << 102 << "文件超过 10000 行" << qint64(1 << 20);
}

void TestChirpCsv::bounds()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, placed);
    QFETCH(int, notes);
    QFETCH(QString, last);
    QFETCH(qint64, readAtMost);
    QBuffer file(&csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto result = ChirpCsv::importTable(file, {});
    QCOMPARE(result.placed.size(), placed);
    QCOMPARE(result.notes.size(), notes);
    QVERIFY2(result.notes.last().contains(last), qPrintable(result.notes.last()));
    QVERIFY2(file.pos() <= readAtMost, qPrintable(QString::number(file.pos())));
}

QTEST_GUILESS_MAIN(TestChirpCsv)
#include "tst_chirpcsv.moc"
