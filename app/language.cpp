#include "app/language.h"

#include "app/mjsonconfig.h"

#include <QCoreApplication>
#include <QTranslator>

MJsonConfig *appConfig = nullptr;
QTranslator *appTranslator = nullptr;
QString startupLanguage;

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
    return loaded;
}
