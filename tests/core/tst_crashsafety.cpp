// Kills a process that keeps saving settings, user configurations and factory calibrations,
// at random moments, and checks that every file is left whole: the old or the new content.
#include "crashwriter/documents.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

using CrashDocuments::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {
constexpr int kKillsInAll = 100;
constexpr quint32 kDefaultSeed = 815;
constexpr int kTimingSaves = 5;         // saves timed to learn how long one takes
constexpr int kSavesSpannedByKills = 4; // kills land anywhere in the first few saves
constexpr int kWriterTimeoutMs = 10000; // start-up or one save, sanitizer builds included

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file an uninterrupted save of one variant leaves behind.
QByteArray wholeContent(Kind kind, int variant)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("reference.json"));
    MJsonConfig(path).setValues(CrashDocuments::entries(kind, variant));
    return contentOf(path);
}

quint32 seed()
{
    bool ok = false;
    const quint32 fromEnvironment = qEnvironmentVariable("LX_CRASH_SEED").toUInt(&ok);
    return ok ? fromEnvironment : kDefaultSeed;
}

// One run of the crash writer, from its start to the kill.
class Writer
{
public:
    // Returns once the file holds the first content and the writer starts saving.
    bool start(Kind kind, const QString &path, QString *error)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(LX_CRASHWRITER), {CrashDocuments::nameOf(kind), path});
        if (!readUntil([this] { return m_said.contains("ready\n"); })) {
            *error = QStringLiteral("the writer never got ready: ") + m_process.errorString();
            return false;
        }
        m_said.remove(0, m_said.indexOf('\n') + 1);
        return true;
    }

    bool waitForSaves(int count, QString *error)
    {
        if (readUntil([this, count] { return m_said.count('.') >= count; }))
            return true;
        *error = QStringLiteral("the writer stopped saving");
        return false;
    }

    bool kill(QString *error)
    {
        if (m_process.state() != QProcess::Running) {
            *error = QStringLiteral("the writer stopped before it was killed");
            return false;
        }
        ::kill(pid_t(m_process.processId()), SIGKILL);
        if (!m_process.waitForFinished(kWriterTimeoutMs) ||
            m_process.exitStatus() != QProcess::CrashExit) {
            *error = QStringLiteral("the writer did not die of the kill");
            return false;
        }
        return true;
    }

private:
    template<typename Condition> bool readUntil(Condition done)
    {
        const QDeadlineTimer deadline(kWriterTimeoutMs);
        while (!done()) {
            if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
                return false;
            m_said += m_process.readAllStandardOutput();
        }
        return true;
    }

    QProcess m_process;
    QByteArray m_said;
};
} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileSaving_data();
    void killedWhileSaving();
    void cleanupTestCase();

private:
    // How long one save of the writer takes here, in microseconds; -1 with the reason on failure.
    qint64 saveDurationUs(Kind kind, const QString &path, QString *error);

    QTemporaryDir m_dir;
    QRandomGenerator m_random;
    int m_kills = 0;
    int m_damaged = 0;
    QStringList m_perKind;
};

void TestCrashSafety::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(QStringLiteral(LX_CRASHWRITER)), LX_CRASHWRITER);
    m_random.seed(seed());
}

void TestCrashSafety::killedWhileSaving_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("kills");
    // 100 kills in all; the two batch saves are the larger writes and get the larger share.
    QTest::newRow("settings, one value per save") << Kind::Settings << 32;
    QTest::newRow("user configuration, 124 members") << Kind::User << 34;
    QTest::newRow("factory calibration, 41 members") << Kind::Factory << kKillsInAll - 32 - 34;
}

qint64 TestCrashSafety::saveDurationUs(Kind kind, const QString &path, QString *error)
{
    Writer writer;
    if (!writer.start(kind, path, error))
        return -1;
    QElapsedTimer clock;
    clock.start();
    if (!writer.waitForSaves(kTimingSaves, error) || !writer.kill(error))
        return -1;
    return clock.nsecsElapsed() / 1000 / kTimingSaves;
}

void TestCrashSafety::killedWhileSaving()
{
    QFETCH(Kind, kind);
    QFETCH(int, kills);

    const QByteArray whole[] = {wholeContent(kind, 0), wholeContent(kind, 1)};
    QVERIFY(!whole[0].isEmpty() && whole[0] != whole[1]);
    for (const QByteArray &content : whole)
        QVERIFY(QJsonDocument::fromJson(content).isObject());

    const QString path = m_dir.filePath(CrashDocuments::nameOf(kind) + QStringLiteral(".json"));
    QString error;
    const qint64 saveUs = saveDurationUs(kind, path, &error);
    QVERIFY2(saveUs >= 0, qPrintable(error));
    const quint32 maxRunUs = quint32(qMax<qint64>(1, saveUs * kSavesSpannedByKills));

    int seen[2] = {0, 0};
    QStringList damage;
    for (int i = 0; i < kills; ++i) {
        Writer writer;
        QVERIFY2(writer.start(kind, path, &error), qPrintable(error));
        // The random moment is the point of the test, not a wait for a condition.
        QThread::usleep(m_random.bounded(maxRunUs));
        QVERIFY2(writer.kill(&error), qPrintable(error));
        ++m_kills;
        const QByteArray left = contentOf(path);
        if (left == whole[0] || left == whole[1]) {
            ++seen[left == whole[1] ? 1 : 0];
            continue;
        }
        const bool parses = QJsonDocument::fromJson(left).isObject();
        damage << QStringLiteral("kill %1: %2 bytes, %3")
                      .arg(i + 1)
                      .arg(left.size())
                      .arg(parses ? QStringLiteral("parses but is neither content")
                                  : QStringLiteral("does not parse"));
    }
    m_damaged += damage.size();
    m_perKind << QStringLiteral("%1 %2/%3, save %4 ms")
                     .arg(CrashDocuments::nameOf(kind))
                     .arg(damage.size())
                     .arg(kills)
                     .arg(double(saveUs) / 1000, 0, 'f', 1);
    QVERIFY2(damage.isEmpty(), qPrintable(damage.join(QStringLiteral("; "))));
    // Both contents left behind at some kill: the writer really was saving when it died.
    QVERIFY2(seen[0] > 0 && seen[1] > 0,
             qPrintable(
                 QStringLiteral("only one content ever seen (%1 / %2)").arg(seen[0]).arg(seen[1])));
}

void TestCrashSafety::cleanupTestCase()
{
    // A kill between the temporary file getting its name and the rename leaves it behind.
    const QStringList entries = QDir(m_dir.path()).entryList(QDir::Files);
    const int stray = entries.filter(QStringLiteral(".json.")).size();
    qInfo().noquote() << QStringLiteral(
                             "crash safety: %1 kills, %2 damaged files (%3), %4 stray temporary "
                             "files, seed %5")
                             .arg(m_kills)
                             .arg(m_damaged)
                             .arg(m_perKind.join(QStringLiteral(", ")))
                             .arg(stray)
                             .arg(seed());
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
