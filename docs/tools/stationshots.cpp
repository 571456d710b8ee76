// Renders the station window with eight lanes in mixed states (PASS, FAIL, MARGINAL, a refused
// model, two running, one waiting for a unit, one whose port is not there) as the whole screen
// shows it, for the documentation (scripts/screenshots).
#include "app/language.h"
#include "app/mjsonconfig.h"
#include "ui/messagebox.h"
#include "ui/station/lanetile.h"
#include "ui/station/stationsetup.h"
#include "ui/station/stationwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <iterator>
#include <memory>
#include <vector>

namespace {
const QByteArray kRecipe = R"({
    "Recipe": "Line A: LX-815 U2 for customer 47", "Revision": "3",
    "Accept": { "Models": ["LX-815 U2"] },
    "Steps": [ { "Step": "check", "Limits": { "/Volume": { "Min": 3, "Max": 7, "Marginal": 1 } } },
               { "Step": "snapshot", "Folder": "shipped" } ] })";

struct Socket
{
    const char *unit;  // the unit's state; nullptr: no simulator (the port is not there)
    int latencyMs;     // slow replies keep a unit running while the screen is shot
    bool takenOut;     // the socket is empty: the lane waits
    QString finalWord; // what the tile shows before the shot ("" : running)
};

const Socket kSockets[] = {
    {R"({"serialNumber": "4C5881500101"})", 0, false, "PASS"},
    {R"({"serialNumber": "4C5881500102", "user": {"volume": 9}})", 0, false, "FAIL"},
    {R"({"serialNumber": "4C5881500103", "user": {"volume": 7}})", 0, false, "MARGINAL"},
    {R"({"serialNumber": "4C5881500104"})", 150, false, ""},
    {R"({"serialNumber": "4C5881500105"})", 0, true, ""},
    {nullptr, 0, false, ""},
    {R"({"serialNumber": "4C5881500107", "model": "LX-815 V"})", 0, false, "FAIL"},
    {R"({"serialNumber": "4C5881500108"})", 90, false, ""},
};

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        settle(20);
    return done();
}

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg && type != QtWarningMsg)
            QTextStream(stderr) << text << '\n';
    });
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("lang"), QStringLiteral("en_US or zh_CN"),
                      QStringLiteral("code"), Language::kChinese});
    parser.addPositionalArgument(QStringLiteral("dir"), QStringLiteral("where the PNG goes"));
    parser.process(app);
    const QString out = parser.positionalArguments().value(0, QStringLiteral("."));
    QDir().mkpath(out);

    QTemporaryDir dir;
    auto config = MJsonConfig::inMemory();
    appConfig = config.get();
    appConfig->setValue(QStringLiteral("/Records/Database"), dir.filePath("history.sqlite"));
    startupLanguage = parser.value(QStringLiteral("lang"));
    Language::install(startupLanguage);
    MessageBox::setInterceptor([](const MessageBox::Shown &box) {
        QTextStream(stderr) << "box: " << box.title << ": " << box.text << '\n';
        return QMessageBox::Yes;
    });
    write(dir.filePath("recipe.json"), kRecipe);

    const QString sim = QCoreApplication::applicationDirPath() + "/../../sim/lx815-sim";
    std::vector<std::unique_ptr<QProcess>> sockets;
    StationSetup setup;
    int lane = 0;
    for (const Socket &socket : kSockets) {
        ++lane;
        if (!socket.unit) {
            setup.ports.append(QStringLiteral("/dev/ttyUSB%1").arg(lane));
            continue;
        }
        const QString units = dir.filePath(QStringLiteral("units-%1.json").arg(lane));
        write(units, QByteArray("[") + socket.unit + "]");
        auto process = std::make_unique<QProcess>();
        process->start(sim, {"--baud", "9600", "--latency", QString::number(socket.latencyMs),
                             "--units", units});
        // Its terminal's path, then "in 1 ...": from then on it takes the socket's signals.
        QStringList lines;
        QDeadlineTimer started(10000);
        while (lines.size() < 2 && process->waitForReadyRead(int(started.remainingTime()))) {
            while (process->canReadLine())
                lines.append(QString::fromLocal8Bit(process->readLine()).trimmed());
        }
        if (lines.size() < 2) {
            QTextStream(stderr) << "lx815-sim did not start\n";
            return 1;
        }
        setup.ports.append(lines.first());
        if (socket.takenOut)
            ::kill(pid_t(process->processId()), SIGUSR1);
        sockets.push_back(std::move(process));
    }
    setup.recipePath = dir.filePath("recipe.json");
    setup.operatorName = QStringLiteral("Li Wei");
    setup.operatorSince = QDateTime::currentDateTimeUtc();
    setup.save(*appConfig);

    StationWindow window;
    window.show();
    const auto tiles = window.tiles();
    waitFor(
        [&] {
            for (int i = 0; i < tiles.size(); ++i) {
                const QString word = kSockets[i].finalWord;
                if (!word.isEmpty() && tiles[i]->stateWord() != word)
                    return false;
            }
            return tiles.size() == int(std::size(kSockets)) &&
                   tiles[3]->tone() == LaneTile::Tone::Running &&
                   tiles[7]->tone() == LaneTile::Tone::Running;
        },
        30000);
    settle(1500);
    const QSize size = window.screen()->size();
    const QString path = QDir(out).filePath(QStringLiteral("station-8-lanes-%1x%2-%3.png")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(startupLanguage));
    window.screen()->grabWindow(0).save(path);
    QTextStream(stdout) << path << '\n';

    // The sockets go first, so that the running units end at once.
    for (const auto &socket : sockets) {
        socket->kill();
        socket->waitForFinished(3000);
    }
    window.finishAndClose();
    waitFor([&] { return !window.isVisible(); }, 30000);
    appConfig = nullptr;
    return 0;
}
