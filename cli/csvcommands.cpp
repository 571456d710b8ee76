#include "cli/csvcommands.h"

#include "cli/clioptions.h"
#include "cli/console.h"
#include "config/chirpcsv.h"
#include "session/configfiles.h"

#include <QFileInfo>

namespace {
void report(Console &console, const QString &headline, const QStringList &notes)
{
    console.error(headline);
    for (const QString &note : notes)
        console.error(QStringLiteral("  ") + note);
}
} // namespace

int CsvCommands::csvToConfig(const QString &csvPath, const QString &configPath, Console &console)
{
    QString error;
    if (!ConfigFiles::checkWritable(configPath, &error)) {
        console.error(error);
        return ExitCode::kUsage;
    }
    // Rows without a squelch level keep the level the file's channel has.
    UserConfig config;
    if (QFileInfo(configPath).size() > 0) {
        const auto existing = ConfigFiles::readUserConfig(configPath, &error);
        if (!existing) {
            console.error(error);
            return ExitCode::kUsage;
        }
        config = *existing;
    }
    // No module: no band to check the frequencies against.
    const auto imported = ChirpCsv::importFile(csvPath, config.channels, {}, &error);
    if (!imported) {
        console.error(error);
        return ExitCode::kUsage;
    }
    report(console, imported->headline, imported->outcome + imported->notes);
    if (imported->placed.isEmpty())
        return ExitCode::kUsage;
    config.channels = imported->channels;
    if (!ConfigFiles::save(configPath, config.channelEntries(), &error)) {
        console.error(error);
        return ExitCode::kUsage;
    }
    return ExitCode::kOk;
}

int CsvCommands::configToCsv(const QString &configPath, const QString &csvPath, Console &console)
{
    QString error;
    const auto config = ConfigFiles::readUserConfig(configPath, &error);
    if (!config) {
        console.error(error);
        return ExitCode::kUsage;
    }
    const ChirpCsv::Export exported = ChirpCsv::write(config->normalised().channels);
    report(console, exported.headline, exported.notes);
    if (exported.written.isEmpty())
        return ExitCode::kUsage;
    if (!ChirpCsv::writeFile(csvPath, exported.csv, &error)) {
        console.error(error);
        return ExitCode::kUsage;
    }
    return ExitCode::kOk;
}

int CsvCommands::run(const CliOptions &options, Console &console)
{
    return options.command == CliOptions::Command::CsvToConfig
               ? csvToConfig(options.csvFile, options.file, console)
               : configToCsv(options.file, options.csvFile, console);
}
