// What each command does on one open module, and what it came to.
#include "cli/portworker.h"
#include "device/factorycommands.h"
#include "session/configfiles.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <memory>

namespace {
using Outcome = OperationReport::Outcome;
using Cmd = CliOptions::Command;

QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

QString text(const char *source)
{
    return QCoreApplication::translate("CommandLine", source);
}

// The values the job's file holds, as a snapshot to compare the module with.
ModuleSnapshot expectedOf(const PortJob &job)
{
    ModuleSnapshot expected;
    expected.user = job.user;
    expected.factory = job.factory;
    return expected;
}
} // namespace

void PortWorker::finish(int exitCode, Outcome outcome, const QString &result)
{
    m_report.exitCode = exitCode;
    m_report.outcome = outcome;
    m_report.result = QStringLiteral("%1: %2").arg(m_job.port, result);
}

void PortWorker::perform(CommandEngine &engine)
{
    ModuleSession session(engine, *this,
                          [this](int percent) { emit progress(m_job.port, percent); });
    // Whatever the module said of itself, for the history, at every way out.
    const std::shared_ptr<void> keepIdentity(
        nullptr, [this, &session](void *) { m_report.identity = session.identity(); });
    const QString readFailed = windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！"));
    const auto fileSaved = [&](const MJsonConfig::Entries &entries) {
        QString error;
        if (!ConfigFiles::save(m_job.file, entries, &error)) {
            reportFailure(error);
            return finish(ExitCode::kUsage, Outcome::Error, error);
        }
        finish(ExitCode::kOk, Outcome::Pass,
               QStringLiteral("%1 (%2)").arg(
                   windowText(QT_TRANSLATE_NOOP("MainWindow", "读取成功！")), m_job.file));
    };
    const auto readSnapshot = [&](ModuleSnapshot::Sides sides) {
        const auto snapshot = ModuleSnapshot::read(session, sides);
        if (!snapshot) {
            finish(ExitCode::kModule, Outcome::Error, readFailed);
            return false;
        }
        m_report.identity = snapshot->identity;
        m_report.snapshot = snapshot->toJson();
        fileSaved(snapshot->entries());
        return true;
    };

    switch (m_job.command) {
    case Cmd::Info: {
        if (!session.identify())
            return finish(ExitCode::kModule, Outcome::Error, readFailed);
        m_report.identity = session.identity();
        if (!m_job.json)
            return finish(ExitCode::kOk, Outcome::Pass, session.identity().toText());
        QJsonObject object = session.identity().toJson();
        object.insert(QStringLiteral("port"), m_job.port);
        finish(ExitCode::kOk, Outcome::Pass, QString());
        m_report.result = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
        return;
    }
    case Cmd::ReadConfig: {
        const auto config = session.readUserConfig();
        if (!config)
            return finish(ExitCode::kModule, Outcome::Error, readFailed);
        m_report.identity = session.identity();
        return fileSaved(config->entries());
    }
    case Cmd::ReadCalibration:
        // Identified first, so that the file names the unit its calibration belongs to.
        readSnapshot(ModuleSnapshot::Sides::Factory);
        return;
    case Cmd::Snapshot:
        readSnapshot(ModuleSnapshot::Sides::Both);
        return;
    case Cmd::VerifyConfig:
    case Cmd::VerifyCalibration:
        return verify(session, expectedOf(m_job), false);
    case Cmd::WriteConfig:
    case Cmd::WriteCalibration:
    case Cmd::Restore:
        return performWrite(session);
    case Cmd::Ports:
    case Cmd::History:
    case Cmd::Report:
    case Cmd::Doctor:
    case Cmd::CsvToConfig:
    case Cmd::ConfigToCsv:
    case Cmd::Instrument:
    case Cmd::Run:
        break;
    }
    finish(ExitCode::kUsage, Outcome::Error, QString());
}

bool PortWorker::backUp(ModuleSession &session)
{
    const auto snapshot = ModuleSnapshot::read(session, ModuleSnapshot::Sides::Both);
    if (!snapshot) {
        reportFailure(text(QT_TRANSLATE_NOOP("CommandLine", "读取备份失败，未写入任何内容。")));
        finish(ExitCode::kModule, Outcome::Aborted,
               windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！")));
        return false;
    }
    m_report.identity = snapshot->identity;
    QString error;
    const auto path = ConfigFiles::saveBackup(m_job.backupDir, *snapshot, m_job.port, &error);
    if (!path) {
        reportFailure(error);
        finish(ExitCode::kUsage, Outcome::Aborted, error);
        return false;
    }
    m_report.backupFile = *path;
    return true;
}

bool PortWorker::unitMatches(ModuleSession &session)
{
    // Only a calibration belongs to its unit: one unit's channel plan goes into any other.
    if (!m_job.unit.names() || !m_job.factory)
        return true;
    // Also when forced: the history must name the unit that got another one's calibration.
    if (m_report.identity.serialNumber.isEmpty()) {
        if (!session.identifyUnit()) {
            finish(ExitCode::kModule, Outcome::Error,
                   windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！")));
            return false;
        }
        m_report.identity = session.identity();
    }
    if (m_report.identity.serialNumber == m_job.unit.serialNumber)
        return true;
    if (m_job.forceUnit) {
        // A pass like any other, but the history says whose calibration this unit got.
        m_report.message =
            text(QT_TRANSLATE_NOOP("CommandLine",
                                   "--force-unit：文件 %1 的校准属于序列码 %2 的模块，"
                                   "写入了序列码 %3 的模块。"))
                .arg(m_job.file, m_job.unit.serialNumber, m_report.identity.serialNumber);
        return true;
    }
    const QString refusal =
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "文件 %1 的校准属于序列码 %2 的模块，而此模块的序列码是 %3；"
                               "未写入任何内容（--force-unit 仍然写入）。"))
            .arg(m_job.file, m_job.unit.serialNumber, m_report.identity.serialNumber);
    reportFailure(refusal);
    finish(ExitCode::kModule, Outcome::Aborted,
           windowText(QT_TRANSLATE_NOOP("MainWindow", "设置失败！")));
    return false;
}

bool PortWorker::fitsFileBand(ModuleSession &session)
{
    // The factory side goes first and sets the band: channels outside it would be refused only
    // after the calibration had been written.
    if (!m_job.factory || !m_job.user || m_job.factory->radioBandIndex < 0)
        return true;
    const Wire::Band *band =
        Wire::findBand(FactoryCommands::bandCode(m_job.factory->radioBandIndex));
    return !band || session.fitsBand(*m_job.user, band->freqMin, band->freqMax);
}

void PortWorker::performWrite(ModuleSession &session)
{
    const QString setFailed = windowText(QT_TRANSLATE_NOOP("MainWindow", "设置失败！"));
    if (!m_job.backupDir.isEmpty() && !backUp(session))
        return;
    if (!unitMatches(session))
        return;
    // A frequency outside the band is the file's fault, found before anything was written.
    if (!fitsFileBand(session))
        return finish(ExitCode::kUsage, Outcome::Aborted, setFailed);
    m_report.snapshot = expectedOf(m_job).toJson();
    // The factory side first: its band sets the frequency limits the user side is checked by.
    bool ok = !m_job.factory || session.writeFactoryCalibration(*m_job.factory);
    if (ok && m_job.user) {
        // Like a technician in the window: the band read first, for the frequency limits.
        ok = session.identify();
        if (ok && !session.fitsBand(*m_job.user, session.identity().freqMin,
                                    session.identity().freqMax)) {
            // Nothing written yet is a bad file; after the calibration, a module half written.
            if (m_job.factory)
                return finish(ExitCode::kModule, Outcome::Error, setFailed);
            return finish(ExitCode::kUsage, Outcome::Aborted, setFailed);
        }
        ok = ok && session.writeUserConfig(*m_job.user);
        if (ok)
            m_report.identity = session.identity();
    }
    if (!ok)
        return finish(ExitCode::kModule, Outcome::Error, setFailed);
    if (!m_job.verify)
        return finish(ExitCode::kOk, Outcome::Pass,
                      QStringLiteral("%1 (%2)").arg(
                          windowText(QT_TRANSLATE_NOOP("MainWindow", "设置成功！")), m_job.file));
    verify(session, expectedOf(m_job), true);
}

void PortWorker::verify(ModuleSession &session, const ModuleSnapshot &expected, bool wrote)
{
    const auto sides = !expected.factory ? ModuleSnapshot::Sides::User
                       : !expected.user  ? ModuleSnapshot::Sides::Factory
                                         : ModuleSnapshot::Sides::Both;
    // A factory read-back needs no identification; the user side's read includes it.
    std::optional<ModuleSnapshot> actual;
    if (sides == ModuleSnapshot::Sides::Factory && wrote) {
        if (const auto calibration = session.readFactoryCalibration()) {
            actual = ModuleSnapshot{};
            actual->factory = calibration;
        }
    } else {
        actual = ModuleSnapshot::read(session, sides);
        if (actual)
            m_report.identity = actual->identity;
    }
    if (!actual) {
        reportFailure(text(QT_TRANSLATE_NOOP("CommandLine", "回读失败，无法校验。")));
        return finish(ExitCode::kModule, Outcome::Error,
                      windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！")));
    }
    if (!wrote)
        m_report.snapshot = actual->toJson();
    m_report.differences = SnapshotCompare::snapshots(expected, *actual);
    for (const FieldDifference &difference : qAsConst(m_report.differences))
        emit failure(m_job.port, SnapshotCompare::line(difference));
    if (!m_report.differences.isEmpty()) {
        m_report.message += (m_report.message.isEmpty() ? QString() : QStringLiteral("\n"));
        QStringList lines;
        for (const FieldDifference &difference : qAsConst(m_report.differences))
            lines.append(SnapshotCompare::line(difference));
        m_report.message += lines.join(QLatin1Char('\n'));
        return finish(ExitCode::kNotVerified, Outcome::Fail,
                      wrote ? text(QT_TRANSLATE_NOOP("CommandLine", "已写入，但校验未通过！"))
                            : text(QT_TRANSLATE_NOOP("CommandLine", "校验未通过！")));
    }
    finish(ExitCode::kOk, Outcome::Pass,
           QStringLiteral("%1 (%2)").arg(
               wrote ? windowText(QT_TRANSLATE_NOOP("MainWindow", "设置成功！"))
                     : text(QT_TRANSLATE_NOOP("CommandLine", "校验通过！")),
               m_job.file));
}
