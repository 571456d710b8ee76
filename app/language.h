#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QTranslator;
QT_END_NAMESPACE

class MJsonConfig;

// Process-wide objects of the application shell; none is deleted before exit.
extern MJsonConfig *appConfig;
extern QTranslator *appTranslator;
extern QString startupLanguage;

namespace Language {
inline const QString kEnglish = QStringLiteral("en_US");
inline const QString kChinese = QStringLiteral("zh_CN");
inline const QString kSettingsPath = QStringLiteral("/Language");

// "en_US" when the store says exactly that, else "zh_CN" (the default is not written back).
QString storedLanguage(const MJsonConfig *config);

// Replaces the installed translation with the one for the code, and Qt's own for its dialogs
// (the result of loading is not fatal: without a translation the source texts show).
bool install(const QString &code);
} // namespace Language
