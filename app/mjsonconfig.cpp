#include "app/mjsonconfig.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const char kOpenFailed[] = "Couldn't open config file.";

// Installed under a prefix, the desktop entry lies in share/ beside the executable's bin/.
bool installedUnderPrefix()
{
    return QFileInfo::exists(QCoreApplication::applicationDirPath() +
                             QStringLiteral("/" LX_INSTALLED_MARKER));
}

QJsonValue lookup(const QJsonObject &object, const QString &path)
{
    // The first character is always taken as the leading slash.
    const int slash = path.indexOf(QLatin1Char('/'), 1);
    if (slash < 0)
        return object.value(path.mid(1));
    const QString key = path.mid(1, slash - 1);
    return lookup(object.value(key).toObject(), path.mid(slash));
}

QJsonObject inserted(QJsonObject object, const QString &path, const QJsonValue &value)
{
    const int slash = path.indexOf(QLatin1Char('/'), 1);
    if (slash < 0) {
        object.insert(path.mid(1), value);
        return object;
    }
    const QString key = path.mid(1, slash - 1);
    // A member on the path that is not an object is replaced by one.
    object.insert(key, inserted(object.value(key).toObject(), path.mid(slash), value));
    return object;
}
} // namespace

ConfigFileError::ConfigFileError()
    : std::runtime_error(kOpenFailed)
{}

MJsonConfig::MJsonConfig()
{
    open(appConfigFileName());
}

MJsonConfig::MJsonConfig(const QString &filePath)
{
    open(filePath);
}

MJsonConfig::MJsonConfig(MemoryTag) {}

MJsonConfig::~MJsonConfig() = default;

std::unique_ptr<MJsonConfig> MJsonConfig::inMemory()
{
    return std::unique_ptr<MJsonConfig>(new MJsonConfig(MemoryTag{}));
}

QString MJsonConfig::appConfigFileName()
{
    const QFileInfo executable(QCoreApplication::applicationFilePath());
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           executable.completeBaseName() + QStringLiteral("_config.json");
}

std::unique_ptr<MJsonConfig> MJsonConfig::openAppConfig()
{
    // An installed program never writes into bin/, not even when root runs it.
    if (!installedUnderPrefix()) {
        try {
            return std::make_unique<MJsonConfig>();
        } catch (const ConfigFileError &) {
            qWarning(kOpenFailed);
        }
    }
    // Installed, or in a read-only place: the same file name in the user's configuration
    // directory.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (!dir.isEmpty() && QDir().mkpath(dir)) {
        try {
            return std::make_unique<MJsonConfig>(dir + QLatin1Char('/') +
                                                 QFileInfo(appConfigFileName()).fileName());
        } catch (const ConfigFileError &) {
        }
    }
    qWarning("Settings are kept in memory for this run only: no writable settings file.");
    return inMemory();
}

void MJsonConfig::open(const QString &filePath)
{
    file = std::make_unique<QFile>(filePath);
    if (!file->open(QIODevice::ReadWrite | QIODevice::Text)) {
        file.reset();
        throw ConfigFileError();
    }
    document = QJsonDocument::fromJson(file->readAll());
    file->close();
}

QString MJsonConfig::filePath() const
{
    return file ? file->fileName() : QString();
}

QJsonValue MJsonConfig::value(const QString &path, const QJsonValue &defaultValue) const
{
    const QJsonValue found = lookup(document.object(), path);
    if (found.isUndefined() || found.isNull())
        return defaultValue;
    return found;
}

void MJsonConfig::insert(const QString &path, const QJsonValue &value)
{
    document.setObject(inserted(document.object(), path, value));
}

void MJsonConfig::setValue(const QString &path, const QJsonValue &value)
{
    insert(path, value);
    write();
}

void MJsonConfig::setValues(const Entries &entries)
{
    for (const auto &entry : entries)
        insert(entry.first, entry.second);
    write();
}

void MJsonConfig::write()
{
    if (!file)
        return;
    // A temporary file renamed over the old one: a crash leaves the old or the new content.
    QSaveFile out(file->fileName());
    // A writable file in a directory that is not: write in place rather than not at all.
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qWarning(kOpenFailed);
        return;
    }
    out.write(document.toJson(QJsonDocument::Indented));
    if (!out.commit())
        qWarning(kOpenFailed);
}
