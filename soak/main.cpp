// lx815-soak: the fault soak. Without --child it supervises: it runs the cycles in a child
// process (itself with --child), notices a crash or a stall, starts a new child for the cycles
// left, and prints the table. With --child it runs the cycles (SoakRunner).
#include "soak/soakrunner.h"
#include "soak/soaktotals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>

#include <cstdio>
#include <cstring>

namespace {
constexpr int kStallMs = 180000;   // no finished cycle for this long: the child hangs
constexpr int kPollMs = 1000;      // how often the supervisor looks at the child
constexpr int kProgressEvery = 10; // cycles between progress lines
constexpr int kStartTries = 2;     // children that die before their first cycle, then give up

struct Parsed
{
    SoakSettings settings;
    bool child = false;
    int first = 0;
};

bool parse(const QCoreApplication &app, Parsed *parsed)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads and writes every parameter of both sides of the window against a simulated "
        "module that spoils replies at random, and checks every value."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("cycles"), QStringLiteral("Number of cycles."));
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("Share of replies spoilt (default 0.10)."),
                                  QStringLiteral("R"), QStringLiteral("0.10"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Line rate of the simulated module (default 0: "
                                                 "bytes take no time)."),
                                  QStringLiteral("B"), QStringLiteral("0"));
    QCommandLineOption child(QStringLiteral("child"));
    child.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption first(QStringLiteral("first"), QString(), QStringLiteral("N"),
                             QStringLiteral("0"));
    first.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({rate, seed, baud, child, first});
    parser.process(app);

    bool ok[5] = {};
    const QStringList positional = parser.positionalArguments();
    parsed->settings.cycles = positional.size() == 1 ? positional.first().toInt(&ok[0]) : 0;
    parsed->settings.rate = parser.value(rate).toDouble(&ok[1]);
    parsed->settings.seed = parser.value(seed).toUInt(&ok[2]);
    parsed->settings.baud = parser.value(baud).toInt(&ok[3]);
    parsed->first = parser.value(first).toInt(&ok[4]);
    parsed->child = parser.isSet(child);
    for (bool fine : ok) {
        if (!fine)
            return false;
    }
    return parsed->settings.cycles > 0 && parsed->settings.rate >= 0 &&
           parsed->settings.rate <= 1 && parsed->settings.baud >= 0 && parsed->first >= 0;
}

void dropDebugOutput(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // Every frame is logged at debug level: far too much for a soak. The offscreen platform's
    // notices say nothing about the tool.
    if (type == QtDebugMsg || type == QtInfoMsg ||
        message.contains(QLatin1String("propagateSizeHints")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    if (type == QtFatalMsg)
        std::abort();
}

int runChild(QApplication &app, const Parsed &parsed)
{
    SoakRunner runner(parsed.settings, parsed.first);
    QString error;
    if (!runner.start(&error)) {
        std::fprintf(stderr, "soak: %s\n", error.toUtf8().constData());
        return 2;
    }
    runner.run();
    return app.exec();
}

struct ChildRun
{
    SoakTotals totals;
    bool crashed = false;
    bool hung = false;
};

ChildRun superviseChild(const Parsed &parsed, int first, int cycles, qint64 cyclesBefore,
                        const QElapsedTimer &wall)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--child"), QStringLiteral("--first"), QString::number(first),
                   QStringLiteral("--rate"), QString::number(parsed.settings.rate),
                   QStringLiteral("--seed"), QString::number(parsed.settings.seed),
                   QStringLiteral("--baud"), QString::number(parsed.settings.baud),
                   QString::number(cycles)});
    ChildRun run;
    if (!process.waitForStarted()) {
        run.crashed = true;
        return run;
    }
    QElapsedTimer quiet;
    quiet.start();
    const auto readLines = [&] {
        while (process.canReadLine()) {
            const auto document = QJsonDocument::fromJson(process.readLine());
            if (!document.isObject())
                continue;
            run.totals = SoakTotals::fromJson(document.object());
            quiet.restart();
            const qint64 done = cyclesBefore + run.totals.cycles;
            if (done % kProgressEvery == 0) {
                std::fprintf(stderr, "soak: %lld/%d cycles, %.2f s per cycle\n",
                             static_cast<long long>(done), parsed.settings.cycles,
                             wall.elapsed() / 1000.0 / done);
            }
        }
    };
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(kPollMs);
        readLines();
        if (quiet.elapsed() > kStallMs) {
            run.hung = true;
            process.kill();
            break;
        }
    }
    process.waitForFinished();
    readLines();
    run.crashed = !run.hung && (process.exitStatus() != QProcess::NormalExit ||
                                process.exitCode() != 0 || run.totals.cycles < cycles);
    return run;
}

int supervise(const Parsed &parsed)
{
    const SoakSettings &settings = parsed.settings;
    const double perCycle = SoakReport::estimatedSecondsPerCycle(settings);
    std::fprintf(stderr,
                 "soak: %d cycles at fault rate %.2f, seed %u; estimated %.1f s per cycle, "
                 "about %.1f min in all\n",
                 settings.cycles, settings.rate, settings.seed, perCycle,
                 perCycle * settings.cycles / 60.0);
    QElapsedTimer wall;
    wall.start();
    SoakTotals totals;
    int crashes = 0;
    int hangs = 0;
    int failedStarts = 0;
    int next = 0;
    while (next < settings.cycles) {
        const ChildRun run =
            superviseChild(parsed, next, settings.cycles - next, totals.cycles, wall);
        totals.add(run.totals);
        next += static_cast<int>(run.totals.cycles);
        if (!run.crashed && !run.hung)
            break;
        crashes += run.crashed ? 1 : 0;
        hangs += run.hung ? 1 : 0;
        std::fprintf(stderr, "soak: the child %s in cycle %d; going on after it\n",
                     run.hung ? "hung" : "died", next);
        // The cycle that broke it would break the next child the same way.
        ++next;
        if (run.totals.cycles == 0 && ++failedStarts >= kStartTries) {
            std::fprintf(stderr, "soak: the child cannot start; giving up\n");
            return 2;
        }
    }
    QTextStream out(stdout);
    return SoakReport::print(out, settings, totals, crashes, hangs, wall.elapsed()) ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    bool child = false;
    for (int i = 1; i < argc; ++i)
        child = child || std::strcmp(argv[i], "--child") == 0;

    Parsed parsed;
    if (!child) {
        QCoreApplication app(argc, argv);
        if (!parse(app, &parsed)) {
            std::fprintf(stderr, "usage: lx815-soak CYCLES [--rate R] [--seed S] [--baud B]\n");
            return 2;
        }
        return supervise(parsed);
    }
    qInstallMessageHandler(dropDebugOutput);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!parse(app, &parsed))
        return 2;
    return runChild(app, parsed);
}
