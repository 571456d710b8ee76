// Measures the command engine against the module simulator on a pseudo-terminal:
//  (a) processor time per second spent waiting for a reply that never comes, for the plain
//      polling loop (process events for at most 50 ms, again and again) and for the engine;
//  (b) wall time of 29 band reads with early delivery off and on, next to the time the bytes
//      need on the line;
//  (b') the same reads with the line trace recording and with it off, rounds taken in turn;
//  (c), (d) the command-line tool: each command on one module next to the wire time of what it
//      exchanged, and 4 and 16 modules programmed at once next to one.
#include "bench/calibrationfigures.h"
#include "bench/clifigures.h"
#include "bench/recordfigures.h"
#include "bench/simulator.h"
#include "bench/stationfigures.h"
#include "protocol/commandengine.h"
#include "protocol/linetrace.h"
#include "serial/mserialport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include <algorithm>

#include <sys/resource.h>

namespace {
constexpr int kTransactions = 29; // one "read all" worth of transactions
constexpr int kWaitSeconds = 3;   // per waiting measurement
constexpr int kBitsPerByte = 10;  // start, eight data bits, stop
constexpr double kTargetCpuPerSecond = 0.02;
constexpr int kTraceRounds = 25;          // per setting; the fastest counts (least disturbed)
constexpr double kTargetTraceCost = 1.02; // recording / not recording

struct Silent : FailureReporter
{
    void reportFailure(const QString &) override {}
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Link
{
    MSerialPort port;
    CommandEngine engine;
    Silent silent;
    Link(const QString &path, bool earlyDelivery)
    {
        port.setPortName(path);
        port.open();
        if (earlyDelivery)
            port.setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
        QObject::connect(&port, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
        engine.setDevice(&port);
        engine.setReporter(&silent);
    }
};

// The plain loop: returns at once when no event is pending, so it spins.
double pollingLoopCpu(Link &link)
{
    const double start = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int second = 0; second < kWaitSeconds; ++second) {
        link.engine.sendFrame(QByteArray::fromHex("3223"));
        QElapsedTimer clock;
        clock.start();
        while (link.engine.ResponseQueue.isEmpty()) {
            if (clock.elapsed() > CommandEngine::kReplyTimeoutMs)
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, CommandEngine::kPollSliceMs);
        }
    }
    return (cpuSeconds() - start) / (wall.elapsed() / 1000.0);
}

double engineWaitCpu(Link &link)
{
    Command never = Command::read(QByteArray::fromHex("3223"), 3, QString());
    never.attempts = 1;
    const double start = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int second = 0; second < kWaitSeconds; ++second)
        link.engine.transact(never);
    return (cpuSeconds() - start) / (wall.elapsed() / 1000.0);
}

double bandReadsSeconds(const QString &path, bool earlyDelivery, int *failures)
{
    Link link(path, earlyDelivery);
    const Command readBand = Command::read(QByteArray::fromHex("3223"), 3, QString());
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < kTransactions; ++i)
        *failures += !link.engine.transact(readBand);
    return wall.nsecsElapsed() / 1e9;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The frame log would drown the table.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg)
            QTextStream(stderr) << text << '\n';
    });
    QTextStream out(stdout);
    // "lx815-bench records": the unit history's figures alone.
    if (app.arguments().contains(QStringLiteral("records"))) {
        printRecordFigures(out);
        return 0;
    }
    // "lx815-bench station": the station's figures alone.
    if (app.arguments().contains(QStringLiteral("station"))) {
        printStationFigures(out);
        return 0;
    }
    // "lx815-bench calibration": readings per target of the closed-loop calibration alone (a
    // minute of its own).
    if (app.arguments().contains(QStringLiteral("calibration"))) {
        printCalibrationFigures(out);
        return 0;
    }
    const int requestBytes = LinkFrame::encode(QByteArray::fromHex("3223")).size();
    const int replyBytes = LinkFrame::encode(QByteArray::fromHex("322313")).size();

    out << "(a) processor seconds per second of waiting for a reply that never comes\n";
    out << QString("%1 %2 %3 %4\n")
               .arg("baud", 8)
               .arg("polling", 10)
               .arg("engine", 10)
               .arg("target", 8);
    for (int baud : {9600, 115200}) {
        Simulator silentModule(baud, {"--fault", "*:drop:*"});
        Link link(silentModule.path(), true);
        const double polling = pollingLoopCpu(link);
        const double engine = engineWaitCpu(link);
        out << QString("%1 %2 %3 %4\n")
                   .arg(baud, 8)
                   .arg(polling, 10, 'f', 3)
                   .arg(engine, 10, 'f', 4)
                   .arg(QString("<= %1").arg(kTargetCpuPerSecond), 8);
        out.flush();
    }

    out << "\n(b) " << kTransactions << " band reads, wall seconds\n";
    out << QString("%1 %2 %3 %4 %5 %6\n")
               .arg("baud", 8)
               .arg("wire limit", 11)
               .arg("early off", 10)
               .arg("early on", 10)
               .arg("on/limit", 9)
               .arg("target", 10);
    for (int baud : {9600, 115200}) {
        Simulator module(baud);
        int failures = 0;
        const double wire =
            double(kTransactions) * (requestBytes + replyBytes) * kBitsPerByte / baud;
        const double off = bandReadsSeconds(module.path(), false, &failures);
        const double on = bandReadsSeconds(module.path(), true, &failures);
        const double target = 1.3 * wire + 0.005 * kTransactions;
        out << QString("%1 %2 %3 %4 %5 %6%7\n")
                   .arg(baud, 8)
                   .arg(wire, 11, 'f', 3)
                   .arg(off, 10, 'f', 3)
                   .arg(on, 10, 'f', 3)
                   .arg(on / wire, 9, 'f', 2)
                   .arg(QString("<= %1").arg(target, 0, 'f', 3), 10)
                   .arg(failures ? QString("  (%1 failed)").arg(failures) : QString());
        out.flush();
    }

    out << "\n(b') " << kTransactions << " band reads, line trace recording and off, fastest of "
        << kTraceRounds << " rounds each (wall seconds, processor seconds)\n";
    out << QString("%1 %2 %3 %4 %5 %6 %7\n")
               .arg("baud", 8)
               .arg("wall on", 9)
               .arg("wall off", 9)
               .arg("ratio", 7)
               .arg("cpu on", 8)
               .arg("cpu off", 8)
               .arg("target", 8);
    for (int baud : {0, 9600, 115200}) {
        Simulator module(baud);
        int failures = 0;
        double wall[2] = {1e9, 1e9};
        double cpu[2] = {1e9, 1e9};
        for (int round = 0; round < kTraceRounds; ++round) {
            // On first in even rounds, off first in odd ones: neither always follows the other.
            for (int turn = 0; turn < 2; ++turn) {
                const int recording = (round + turn) % 2;
                LineTrace::setRecording(recording == 1);
                const double cpuStart = cpuSeconds();
                wall[recording] =
                    std::min(wall[recording], bandReadsSeconds(module.path(), true, &failures));
                cpu[recording] = std::min(cpu[recording], cpuSeconds() - cpuStart);
            }
        }
        LineTrace::setRecording(true);
        out << QString("%1 %2 %3 %4 %5 %6 %7%8\n")
                   .arg(baud ? QString::number(baud) : QString("unpaced"), 8)
                   .arg(wall[1], 9, 'f', 4)
                   .arg(wall[0], 9, 'f', 4)
                   .arg(wall[1] / wall[0], 7, 'f', 3)
                   .arg(cpu[1], 8, 'f', 4)
                   .arg(cpu[0], 8, 'f', 4)
                   .arg(QString("<= %1").arg(kTargetTraceCost), 8)
                   .arg(failures ? QString("  (%1 failed)").arg(failures) : QString());
        out.flush();
    }

    {
        // The recording itself, without the line: a request frame and its reply per read.
        constexpr int kEvents = 200000;
        LineTrace trace;
        const QByteArray frame = LinkFrame::encode(QByteArray::fromHex("3223"));
        const QString port = QStringLiteral("/dev/pts/0");
        const QString operation = QStringLiteral("read band");
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kEvents; ++i)
            trace.record(i % 2 ? LineEvent::Direction::Rx : LineEvent::Direction::Tx, port, frame,
                         operation);
        const double perEvent = clock.nsecsElapsed() / 1e9 / kEvents;
        out << QString("recording one event: %1 us; %2 reads record %3 events: %4 ms\n")
                   .arg(perEvent * 1e6, 0, 'f', 3)
                   .arg(kTransactions)
                   .arg(2 * kTransactions)
                   .arg(perEvent * 2 * kTransactions * 1e3, 0, 'f', 3);
    }

    printCliFigures(out);
    printCalibrationFigures(out);
    printStationFigures(out);
    printRecordFigures(out);
    return 0;
}
