#include "app/language.h"

#include "app/mjsonconfig.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

MJsonConfig *appConfig = nullptr;
QTranslator *appTranslator = nullptr;
QString startupLanguage;

namespace {
// Qt's own texts (the standard buttons of boxes and dialogs) from Qt's translations; English
// needs none.
QTranslator *qtTranslator = nullptr;
} // namespace

QString Language::storedLanguage(const MJsonConfig *config)
{
    const QString stored =
        config ? config->value(kSettingsPath, kChinese).toString() : QString(kChinese);
    return stored == kEnglish ? kEnglish : kChinese;
}

bool Language::install(const QString &code)
{
    if (appTranslator) {
        QCoreApplication::removeTranslator(appTranslator);
        delete appTranslator;
    }
    appTranslator = new QTranslator;
    const bool loaded =
        appTranslator->load(QStringLiteral("i18n_") + code, QStringLiteral(":/i18n"));
    QCoreApplication::installTranslator(appTranslator);

    if (qtTranslator) {
        QCoreApplication::removeTranslator(qtTranslator);
        delete qtTranslator;
        qtTranslator = nullptr;
    }
    if (code != kEnglish) {
        qtTranslator = new QTranslator;
        if (qtTranslator->load(QStringLiteral("qtbase_") + code,
                               QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qtTranslator);
    }
    return loaded;
}
