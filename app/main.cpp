#include "app/language.h"
#include "app/mjsonconfig.h"
#include "app/termination.h"
#include "ui/mainwindow.h"
#include "ui/serial/formserialportsetting.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDebug>
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
    // Desktop shells match the window to its desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(LX_APP_ID));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Preselect the serial port PATH."),
                                        QStringLiteral("PATH"));
    parser.addOption(portOption);
    parser.process(app);

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

    MainWindow window;
    const QString port = parser.value(portOption);
    if (!port.isEmpty() && !window.serialSettings()->selectPort(port))
        qWarning().noquote() << "No such serial port:" << port;
    window.show();
    splash.finish(&window);
    // A session logout or `kill` ends the program as closing the window does.
    installTerminationHandler(app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    return app.exec();
}
