#include "app/language.h"
#include "app/mjsonconfig.h"
#include "app/termination.h"
#include "support/logkeeper.h"
#include "ui/mainwindow.h"
#include "ui/serial/formserialportsetting.h"
#include "ui/station/stationwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

namespace {
constexpr int kSplashMs = 500;
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication app(argc, argv);
    LogKeeper::install();
    // Desktop shells match the window to its desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(LX_APP_ID));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Preselect the serial port PATH."),
                                        QStringLiteral("PATH"));
    const QCommandLineOption openOption(QStringLiteral("open"),
                                        QStringLiteral("Open the serial port at start."));
    const QCommandLineOption stationOption(
        QStringLiteral("station"),
        QStringLiteral("Open the production station alone (with the recipe RECIPE, if given)."));
    parser.addOptions({portOption, openOption, stationOption});
    parser.addPositionalArgument(QStringLiteral("RECIPE"),
                                 QStringLiteral("With --station: the recipe to load."),
                                 QStringLiteral("[RECIPE]"));
    parser.process(app);
    if (!parser.isSet(stationOption) && !parser.positionalArguments().isEmpty())
        parser.showHelp(2);

    QSplashScreen splash(QPixmap(QStringLiteral(":/images/lx-815.png")));
    splash.show();
    splash.showMessage(QStringLiteral("Loading..."), Qt::AlignLeft, Qt::black);
    {
        // The event loop turns (the splash paints) without spinning the processor.
        QEventLoop wait;
        QTimer::singleShot(kSplashMs, &wait, &QEventLoop::quit);
        wait.exec();
    }

    appConfig = MJsonConfig::openAppConfig().release();
    startupLanguage = Language::storedLanguage(appConfig);
    Language::install(startupLanguage);

    // A station's computer shows the station only; its lanes finish before the program ends.
    if (parser.isSet(stationOption)) {
        StationWindow station;
        station.show();
        splash.finish(&station);
        const QString recipe = parser.positionalArguments().value(0);
        if (!recipe.isEmpty())
            station.loadRecipe(recipe);
        installTerminationHandler(app, [&station] { station.finishAndClose(); });
        return app.exec();
    }

    MainWindow window;
    window.show();
    splash.finish(&window);
    // Once the window is up, so that a failure box has it to stand on.
    window.serialSettings()->applyStartPort(parser.value(portOption), parser.isSet(openOption));
    // A session logout or `kill` ends the program as closing the window does.
    installTerminationHandler(app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    return app.exec();
}
