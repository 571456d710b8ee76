#include "serial/mserialport.h"
#include "serial/portadvice.h"
#include "support/pty.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
constexpr int kDeliveryTimeoutMs = 3000;
constexpr int kQuietCheckMs = 300; // long enough for a stream of repeated reports to show

// Every burst the port delivers, with the time since the last piece was handed to the line.
struct Deliveries
{
    QList<QByteArray> chunks;
    QList<qint64> delaysMs;
};
} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void burstsAreGathered_data();
    void burstsAreGathered();
    void rxTimeoutTakesEffectAtNextArrival_data();
    void rxTimeoutTakesEffectAtNextArrival();
    void completeReplyIsDeliveredAtOnce_data();
    void completeReplyIsDeliveredAtOnce();
    void failedOpenReportsLibraryCodeThenZero_data();
    void failedOpenReportsLibraryCodeThenZero();
    void closingAClosedPortStillAnnounces();
    void noErrorIsNotForwarded();
    void lostDeviceClosesOnceAndReportsOnce();
    void reopenAfterLostDeviceWorks();
    void openFailureCause_data();
    void openFailureCause();
    void deviceAccessible();
};

void TestSerialPort::burstsAreGathered_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QList<QByteArray>>("expected");

    QTest::newRow("three pieces 10 ms apart")
        << QList<QByteArray>{"\x55\xAA", "\x03\x32", QByteArray("\x23\x58\x00", 3)} << 10
        << QList<QByteArray>{QByteArray("\x55\xAA\x03\x32\x23\x58\x00", 7)};
    // Twice the quiet interval: a busy machine may run the burst timer late.
    QTest::newRow("two pieces 100 ms apart")
        << QList<QByteArray>{"first", "second"} << 100 << QList<QByteArray>{"first", "second"};
    QTest::newRow("one piece") << QList<QByteArray>{"alone"} << 0 << QList<QByteArray>{"alone"};
}

void TestSerialPort::burstsAreGathered()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(int, gapMs);
    QFETCH(QList<QByteArray>, expected);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort port;
    port.setPortName(pty.slavePath());
    QVERIFY(port.open());

    QSignalSpy arrivals(&port, &QIODevice::readyRead);
    Deliveries got;
    QElapsedTimer sinceLastPiece;
    connect(&port, &MSerialPort::onReceived, this, [&](const QByteArray &data) {
        got.chunks.append(data);
        got.delaysMs.append(sinceLastPiece.elapsed());
    });

    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            QTest::qWait(gapMs);
        sinceLastPiece.start();
        QVERIFY(pty.write(pieces.at(i)));
        // The gap counts from the moment the port has taken the piece in.
        QVERIFY(arrivals.wait(kDeliveryTimeoutMs));
    }
    QTRY_COMPARE_WITH_TIMEOUT(got.chunks.size(), expected.size(), kDeliveryTimeoutMs);
    QTest::qWait(kQuietCheckMs);
    QCOMPARE(got.chunks, expected);
    // The last burst ends only after the line has been quiet for the interval (a coarse timer
    // may fire up to 5 % early).
    QVERIFY2(got.delaysMs.last() >= MSerialPort::kDefaultRxTimeoutMs * 95 / 100,
             qPrintable(QString::number(got.delaysMs.last())));
    QVERIFY2(got.delaysMs.last() < 400, qPrintable(QString::number(got.delaysMs.last())));
}

void TestSerialPort::rxTimeoutTakesEffectAtNextArrival_data()
{
    QTest::addColumn<QByteArray>("later");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("minDelayMs");
    QTest::addColumn<int>("maxDelayMs");

    // Without a further arrival the running burst still ends after the old interval.
    QTest::newRow("no further arrival") << QByteArray() << QByteArray("AB") << 45 << 180;
    // The next arrival restarts the timer with the new interval.
    QTest::newRow("further arrival") << QByteArray("CD") << QByteArray("ABCD") << 190 << 800;
}

void TestSerialPort::rxTimeoutTakesEffectAtNextArrival()
{
    QFETCH(QByteArray, later);
    QFETCH(QByteArray, expected);
    QFETCH(int, minDelayMs);
    QFETCH(int, maxDelayMs);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort port;
    port.setPortName(pty.slavePath());
    QVERIFY(port.open());
    QSignalSpy arrivals(&port, &QIODevice::readyRead);
    Deliveries got;
    QElapsedTimer sinceLastArrival;
    connect(&port, &MSerialPort::onReceived, this, [&](const QByteArray &data) {
        got.chunks.append(data);
        got.delaysMs.append(sinceLastArrival.elapsed());
    });

    QVERIFY(pty.write("AB"));
    QVERIFY(arrivals.wait(kDeliveryTimeoutMs));
    sinceLastArrival.start();
    port.setRxTimeout(200);
    if (!later.isEmpty()) {
        QTest::qWait(20);
        QVERIFY(got.chunks.isEmpty());
        QVERIFY(pty.write(later));
        QVERIFY(arrivals.wait(kDeliveryTimeoutMs));
        sinceLastArrival.start();
    }
    QTRY_COMPARE_WITH_TIMEOUT(got.chunks.size(), 1, kDeliveryTimeoutMs);
    QCOMPARE(got.chunks.first(), expected);
    QVERIFY2(got.delaysMs.first() >= minDelayMs && got.delaysMs.first() <= maxDelayMs,
             qPrintable(QString::number(got.delaysMs.first())));
}

void TestSerialPort::completeReplyIsDeliveredAtOnce_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<bool>("early");

    QTest::newRow("whole reply") << QList<QByteArray>{"reply\n"} << true;
    QTest::newRow("reply in two pieces") << QList<QByteArray>{"rep", "ly\n"} << true;
    QTest::newRow("incomplete reply waits") << QList<QByteArray>{"reply"} << false;
}

void TestSerialPort::completeReplyIsDeliveredAtOnce()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(bool, early);
    constexpr int kLongQuietMs = 1000;

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort port;
    port.setPortName(pty.slavePath());
    port.setRxTimeout(kLongQuietMs);
    port.setCompleteReplyTest([](const QByteArray &bytes) { return bytes.endsWith('\n'); });
    QVERIFY(port.open());
    QSignalSpy arrivals(&port, &QIODevice::readyRead);
    Deliveries got;
    QElapsedTimer sinceLastArrival;
    connect(&port, &MSerialPort::onReceived, this, [&](const QByteArray &data) {
        got.chunks.append(data);
        got.delaysMs.append(sinceLastArrival.elapsed());
    });

    for (const QByteArray &piece : pieces) {
        sinceLastArrival.start();
        QVERIFY(pty.write(piece));
        QVERIFY(arrivals.wait(kDeliveryTimeoutMs));
    }
    QTRY_COMPARE_WITH_TIMEOUT(got.chunks.size(), 1, kDeliveryTimeoutMs);
    QCOMPARE(got.chunks.first(), pieces.join());
    if (early)
        QVERIFY2(got.delaysMs.first() < kLongQuietMs / 2,
                 qPrintable(QString::number(got.delaysMs.first())));
    else
        QVERIFY2(got.delaysMs.first() >= kLongQuietMs * 95 / 100,
                 qPrintable(QString::number(got.delaysMs.first())));
}

void TestSerialPort::failedOpenReportsLibraryCodeThenZero_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<PortAdvice::OpenFailureCause>("cause");

    QTest::newRow("missing device") << false << QList<int>{QSerialPort::DeviceNotFoundError, 0}
                                    << PortAdvice::OpenFailureCause::Other;
    // Another holder of the line: the library calls it a permission error.
    QTest::newRow("busy device") << true << QList<int>{QSerialPort::PermissionError, 0}
                                 << PortAdvice::OpenFailureCause::Busy;
}

void TestSerialPort::failedOpenReportsLibraryCodeThenZero()
{
    QFETCH(bool, busy);
    QFETCH(QList<int>, codes);
    QFETCH(PortAdvice::OpenFailureCause, cause);

    QTemporaryDir dir;
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort holder;
    QString path = dir.filePath(QStringLiteral("no-such-port"));
    if (busy) {
        path = pty.slavePath();
        holder.setPortName(path);
        QVERIFY(holder.open());
    }

    MSerialPort port;
    port.setPortName(path);
    QList<int> gotCodes;
    QStringList messages;
    QStringList advice;
    connect(&port, &MSerialPort::onError, this, [&](int errNo, const QString &msg) {
        gotCodes.append(errNo);
        messages.append(msg);
        advice.append(port.lastErrorAdvice());
    });
    QSignalSpy states(&port, &MSerialPort::openStateChanged);

    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QCOMPARE(states.count(), 0);
    QCOMPARE(gotCodes, codes);
    // A path outside /dev is its own port name; /dev/pts/N is called pts/N.
    const QString name = busy ? path.mid(QStringLiteral("/dev/").size()) : path;
    QCOMPARE(messages.last(), name + QStringLiteral("打开失败！"));
    QCOMPARE(advice.last(), PortAdvice::forOpenFailure(cause));
    QVERIFY(advice.first().isEmpty());
    QVERIFY(port.lastErrorAdvice().isEmpty());
}

void TestSerialPort::closingAClosedPortStillAnnounces()
{
    MSerialPort port;
    QSignalSpy states(&port, &MSerialPort::openStateChanged);
    QSignalSpy errors(&port, &MSerialPort::onError);
    port.close();
    QCOMPARE(states.count(), 1);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.first().at(0).toInt(), int(QSerialPort::NotOpenError));
    QVERIFY2(errors.first().at(1).toString().endsWith(QStringLiteral("\r\nError Number: 0xd")),
             qPrintable(errors.first().at(1).toString()));
}

void TestSerialPort::noErrorIsNotForwarded()
{
    MSerialPort port;
    QSignalSpy errors(&port, &MSerialPort::onError);
    QVERIFY(QMetaObject::invokeMethod(&port, "onPortError",
                                      Q_ARG(QSerialPort::SerialPortError, QSerialPort::NoError)));
    QVERIFY(QMetaObject::invokeMethod(
        &port, "onPortError", Q_ARG(QSerialPort::SerialPortError, QSerialPort::TimeoutError)));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.first().at(0).toInt(), int(QSerialPort::TimeoutError));
    QVERIFY(errors.first().at(1).toString().endsWith(QStringLiteral("\r\nError Number: 0xc")));
}

void TestSerialPort::lostDeviceClosesOnceAndReportsOnce()
{
    auto pty = std::make_unique<PseudoTerminal>();
    QVERIFY(pty->isValid());
    MSerialPort port;
    port.setPortName(pty->slavePath());
    QVERIFY(port.open());
    QSignalSpy states(&port, &MSerialPort::openStateChanged);
    QSignalSpy lost(&port, &MSerialPort::connectionLost);
    QList<int> codes;
    QStringList advice;
    connect(&port, &MSerialPort::onError, this, [&](int errNo, const QString &) {
        codes.append(errNo);
        advice.append(port.lastErrorAdvice());
        // A receiver that shows a modal box keeps the event loop turning meanwhile.
        QTest::qWait(100);
    });

    pty->closeMaster();
    QTRY_COMPARE_WITH_TIMEOUT(codes.size(), 1, kDeliveryTimeoutMs);
    QTest::qWait(kQuietCheckMs);
    QCOMPARE(codes.size(), 1);
    QVERIFY2(codes.first() == QSerialPort::ReadError || codes.first() == QSerialPort::ResourceError,
             qPrintable(QString::number(codes.first())));
    QCOMPARE(advice.first(), PortAdvice::forLostDevice());
    QVERIFY(!port.isOpen());
    QCOMPARE(states.count(), 1);
    QCOMPARE(lost.count(), 1);
}

void TestSerialPort::reopenAfterLostDeviceWorks()
{
    PseudoTerminal first;
    QVERIFY(first.isValid());
    MSerialPort port;
    port.setPortName(first.slavePath());
    QVERIFY(port.open());
    QSignalSpy lost(&port, &MSerialPort::connectionLost);
    first.closeMaster();
    QVERIFY(lost.wait(kDeliveryTimeoutMs));

    // A second loss on a new line is reported again.
    PseudoTerminal second;
    QVERIFY(second.isValid());
    port.setPortName(second.slavePath());
    QVERIFY(port.open());
    QSignalSpy received(&port, &MSerialPort::onReceived);
    QVERIFY(second.write("after"));
    QVERIFY(received.wait(kDeliveryTimeoutMs));
    QCOMPARE(received.first().first().toByteArray(), QByteArray("after"));
    second.closeMaster();
    QVERIFY(lost.wait(kDeliveryTimeoutMs));
    QCOMPARE(lost.count(), 2);
}

void TestSerialPort::openFailureCause_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("accessible");
    QTest::addColumn<PortAdvice::OpenFailureCause>("cause");

    using Cause = PortAdvice::OpenFailureCause;
    QTest::newRow("lock or EBUSY on a usable device")
        << QSerialPort::PermissionError << true << Cause::Busy;
    QTest::newRow("no rights on the device")
        << QSerialPort::PermissionError << false << Cause::NoPermission;
    QTest::newRow("already open") << QSerialPort::OpenError << true << Cause::Busy;
    QTest::newRow("missing device") << QSerialPort::DeviceNotFoundError << false << Cause::Other;
    QTest::newRow("unsupported setting")
        << QSerialPort::UnsupportedOperationError << true << Cause::Other;
}

void TestSerialPort::openFailureCause()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, accessible);
    QFETCH(PortAdvice::OpenFailureCause, cause);
    QCOMPARE(PortAdvice::openFailureCause(error, accessible), cause);
    QCOMPARE(PortAdvice::forOpenFailure(cause).isEmpty(),
             cause == PortAdvice::OpenFailureCause::Other);
}

void TestSerialPort::deviceAccessible()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    QVERIFY(PortAdvice::deviceAccessible(pty.slavePath()));
    // The library's short name of the same device.
    QVERIFY(PortAdvice::deviceAccessible(pty.slavePath().mid(QStringLiteral("/dev/").size())));
    QVERIFY(!PortAdvice::deviceAccessible(QStringLiteral("ttyLX815-none")));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
