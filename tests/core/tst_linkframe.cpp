#include "protocol/linkframe.h"

#include <QtTest>

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(static_cast<char>(value));
    return result;
}

const QByteArray kReply = bytes({0x55, 0xAA, 0x04, 0x32, 0x09, 0x55, 0x94, 0x00});
const QByteArray kReplyPayload = bytes({0x32, 0x09, 0x55});

using Chunks = QList<QPair<QByteArray, quint32>>; // chunk, arrival time in ms
} // namespace

class TestLinkFrame : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void refusesOversizedPayload();
    void hexText_data();
    void hexText();
    void reassembly_data();
    void reassembly();
    void corruptedByteNeverQueued();
    void singleCompleteFrame_data();
    void singleCompleteFrame();
};

void TestLinkFrame::encode_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("control mode read")
        << bytes({0x32, 0x09}) << bytes({0x55, 0xAA, 0x03, 0x32, 0x09, 0x3E, 0x00});
    QTest::newRow("band read") << bytes({0x32, 0x23})
                               << bytes({0x55, 0xAA, 0x03, 0x32, 0x23, 0x58, 0x00});
    QTest::newRow("reply") << kReplyPayload << kReply;
    QTest::newRow("empty payload") << QByteArray() << bytes({0x55, 0xAA, 0x01, 0x01, 0x00});
    // 0xFF + 254 * 0xFF = 0xFE01: the sum carries into the high byte.
    QTest::newRow("largest") << QByteArray(254, char(0xFF))
                             << bytes({0x55, 0xAA, 0xFF}) + QByteArray(254, char(0xFF)) +
                                    bytes({0x01, 0xFE});
}

void TestLinkFrame::encode()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    QCOMPARE(LinkFrame::encode(payload), frame);
}

void TestLinkFrame::refusesOversizedPayload()
{
    QVERIFY(LinkFrame::encode(QByteArray(255, 'x')).isEmpty());
}

void TestLinkFrame::hexText_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("blank") << bytes({0x55, 0xAA, 0x03}) << " "
                           << "55 AA 03";
    QTest::newRow("none") << bytes({0x55, 0xAA, 0x03}) << ""
                          << "55AA03";
    QTest::newRow("serial") << bytes({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}) << ""
                            << "123456789ABC";
    QTest::newRow("empty") << QByteArray() << " "
                           << "";
    QTest::newRow("leading zero") << bytes({0x0F, 0x00}) << ":"
                                  << ":0F:00";
}

void TestLinkFrame::hexText()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(toHexText(input, separator), text);
}

void TestLinkFrame::reassembly_data()
{
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::addColumn<QByteArray>("left");

    const QByteArray second = LinkFrame::encode(bytes({0x00, 0x01}));
    QTest::newRow("one chunk") << Chunks{{kReply, 1000}} << QList<QByteArray>{kReplyPayload}
                               << QByteArray();
    QTest::newRow("split 100 ms apart") << Chunks{{kReply.left(4), 1000}, {kReply.mid(4), 1100}}
                                        << QList<QByteArray>{kReplyPayload} << QByteArray();
    QTest::newRow("split 600 ms apart drops the first part")
        << Chunks{{kReply.left(4), 1000}, {kReply.mid(4), 1600}} << QList<QByteArray>{}
        << kReply.mid(4);
    QTest::newRow("exactly 500 ms is not stale")
        << Chunks{{kReply.left(4), 1000}, {kReply.mid(4), 1500}} << QList<QByteArray>{kReplyPayload}
        << QByteArray();
    QTest::newRow("clock stepped back") << Chunks{{kReply.left(4), 5000}, {kReply.mid(4), 4000}}
                                        << QList<QByteArray>{} << kReply.mid(4);
    QTest::newRow("clock wraps") << Chunks{{kReply.left(4), 0xFFFFFF00u},
                                           {kReply.mid(4), 0x00000010u}}
                                 << QList<QByteArray>{kReplyPayload} << QByteArray();
    QTest::newRow("leading noise") << Chunks{{bytes({0x01, 0x55, 0x13}) + kReply, 0}}
                                   << QList<QByteArray>{kReplyPayload} << QByteArray();
    QTest::newRow("exactly five bytes wait")
        << Chunks{{bytes({0x55, 0xAA, 0x05, 0x01, 0x02}), 0}} << QList<QByteArray>{}
        << bytes({0x55, 0xAA, 0x05, 0x01, 0x02});
    QTest::newRow("two frames in one chunk")
        << Chunks{{kReply + second, 0}} << QList<QByteArray>{kReplyPayload, bytes({0, 1})}
        << QByteArray();
    QTest::newRow("frame then partial frame") << Chunks{{kReply + second.left(3), 0}}
                                              << QList<QByteArray>{kReplyPayload} << second.left(3);
    QTest::newRow("zero length byte is no frame")
        << Chunks{{bytes({0x55, 0xAA, 0x00, 0x00, 0x00}) + kReply, 0}}
        << QList<QByteArray>{kReplyPayload} << QByteArray();
    QTest::newRow("frame hidden inside a rejected one")
        << Chunks{{bytes({0x55, 0xAA, 0x04, 0x00}) + kReply, 0}} << QList<QByteArray>{kReplyPayload}
        << QByteArray();
}

void TestLinkFrame::reassembly()
{
    QFETCH(Chunks, chunks);
    QFETCH(QList<QByteArray>, payloads);
    QFETCH(QByteArray, left);
    FrameReassembler reassembler;
    QList<QByteArray> queued;
    for (const auto &chunk : chunks)
        queued += reassembler.feed(chunk.first, chunk.second);
    QCOMPARE(queued, payloads);
    QCOMPARE(reassembler.pending(), left);
}

void TestLinkFrame::corruptedByteNeverQueued()
{
    // Each payload and checksum byte corrupted in turn: nothing is queued and at most four
    // bytes wait for more.
    for (int index = 3; index < kReply.size(); ++index) {
        QByteArray corrupted = kReply;
        corrupted[index] = static_cast<char>(corrupted.at(index) ^ 0x10);
        FrameReassembler reassembler;
        QVERIFY2(reassembler.feed(corrupted, 0).isEmpty(), qPrintable(toHexText(corrupted)));
        QVERIFY(reassembler.pending().size() <= 4);
    }
}

void TestLinkFrame::singleCompleteFrame_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("complete");
    QTest::newRow("frame") << kReply << true;
    QTest::newRow("partial") << kReply.left(7) << false;
    QTest::newRow("bad checksum") << kReply.left(7) + bytes({0x01}) << false;
    QTest::newRow("noise first") << bytes({0x00}) + kReply << false;
    QTest::newRow("two frames") << kReply + kReply << false;
}

void TestLinkFrame::singleCompleteFrame()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, complete);
    QCOMPARE(LinkFrame::isSingleCompleteFrame(input), complete);
}

QTEST_GUILESS_MAIN(TestLinkFrame)
#include "tst_linkframe.moc"
