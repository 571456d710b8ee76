// lx815-cli: the configuration tool's module operations for scripts and production lines.
#include "app/language.h"
#include "cli/clioptions.h"
#include "cli/clirunner.h"
#include "cli/reportcommand.h"
#include "stats/historyreport.h"
#include "support/logkeeper.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <memory>

int main(int argc, char *argv[])
{
    // The report's charts are widgets drawn offscreen; every other command needs no more than
    // the core.
    const auto factory = Stats::ReportCharts::applicationFactory();
    const std::unique_ptr<QCoreApplication> app(factory && ReportCommand::drawsCharts(argc, argv)
                                                    ? factory(argc, argv)
                                                    : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("lx815-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LX_VERSION_TEXT));
    // The frame log of the transactions is for the window's debugging, not for scripts.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    LogKeeper::install();

    QString error;
    const auto options = CliOptions::parse(QCoreApplication::arguments(), &error);
    if (!options) {
        QTextStream(stderr) << "lx815-cli: " << error << "\n"
                            << "Try 'lx815-cli --help' for more information.\n";
        return ExitCode::kUsage;
    }
    Language::install(options->language);
    CliRunner runner(*options);
    return runner.run();
}
