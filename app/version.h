#pragma once

#include <QString>

// Shown in the status bar and the about form; the build passes "v" + the project version.
inline const QString kSoftwareVersion = QStringLiteral(LX_VERSION_TEXT);
inline const QString kModelName = QStringLiteral("LX-815");
