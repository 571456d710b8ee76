#include "session/configfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QString text(const char *source)
{
    return QCoreApplication::translate("CommandLine", source);
}

bool failed(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QJsonValue lookup(const QJsonObject &object, const QString &path)
{
    const QStringList keys = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QJsonValue value = object;
    for (const QString &key : keys)
        value = value.toObject().value(key);
    return value;
}

std::optional<QJsonObject> readObject(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "无法读取文件 %1。")).arg(path));
        return std::nullopt;
    }
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject()) {
        failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 不是 JSON 对象。")).arg(path));
        return std::nullopt;
    }
    return document.object();
}

bool sameKind(const QJsonValue &found, const QJsonValue &expected)
{
    if (found.type() != expected.type())
        return false;
    // toInt() gives its default for a number that is not whole or does not fit.
    return !found.isDouble() || found.toInt(0) == found.toInt(1);
}

// Every member the format writes, taken from the file, into a store the format reads from.
template<class Config> std::optional<Config> load(const QString &path, QString *error)
{
    const auto object = readObject(path, error);
    if (!object)
        return std::nullopt;
    MJsonConfig::Entries found;
    for (const auto &expected : Config().entries()) {
        const QJsonValue value = lookup(*object, expected.first);
        if (value.isUndefined() || value.isNull()) {
            failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 缺少 %2。"))
                              .arg(path, expected.first));
            return std::nullopt;
        }
        if (!sameKind(value, expected.second)) {
            failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 中 %2 的类型不对。"))
                              .arg(path, expected.first));
            return std::nullopt;
        }
        found.append({expected.first, value});
    }
    const auto store = MJsonConfig::inMemory();
    store->setValues(found);
    return Config::fromStore(*store);
}
} // namespace

std::optional<UserConfig> ConfigFiles::loadUserConfig(const QString &path, QString *error)
{
    return load<UserConfig>(path, error);
}

std::optional<FactoryCalibration> ConfigFiles::loadFactoryCalibration(const QString &path,
                                                                      QString *error)
{
    return load<FactoryCalibration>(path, error);
}

std::optional<UserConfig> ConfigFiles::readUserConfig(const QString &path, QString *error)
{
    const auto object = readObject(path, error);
    if (!object)
        return std::nullopt;
    MJsonConfig::Entries found;
    for (const auto &expected : UserConfig().entries()) {
        const QJsonValue value = lookup(*object, expected.first);
        if (!value.isUndefined() && !value.isNull())
            found.append({expected.first, value});
    }
    const auto store = MJsonConfig::inMemory();
    store->setValues(found);
    return UserConfig::fromStore(*store);
}

std::optional<FileUnit> ConfigFiles::loadUnit(const QString &path, QString *error)
{
    const auto object = readObject(path, error);
    if (!object)
        return std::nullopt;
    QString why;
    auto unit = FileUnit::fromJson(*object, &why);
    if (!unit)
        failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1：%2")).arg(path, why));
    return unit;
}

std::optional<ModuleSnapshot> ConfigFiles::loadSnapshot(const QString &path, QString *error)
{
    const auto object = readObject(path, error);
    if (!object)
        return std::nullopt;
    ModuleSnapshot snapshot;
    // Each side is there when its first member is; then all of it must be.
    if (ModuleSnapshot::holdsUser(*object) && !(snapshot.user = loadUserConfig(path, error)))
        return std::nullopt;
    if (ModuleSnapshot::holdsFactory(*object) &&
        !(snapshot.factory = loadFactoryCalibration(path, error)))
        return std::nullopt;
    if (!snapshot.user && !snapshot.factory) {
        failed(error,
               text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 中没有可写入的参数。")).arg(path));
        return std::nullopt;
    }
    return snapshot;
}

bool ConfigFiles::checkWritable(const QString &path, QString *error)
{
    const QString cannotWrite =
        text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件 %1。")).arg(path);
    QFile file(path);
    if (!file.exists()) {
        // Only a file that really was made tells that the directory takes one.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return failed(error, cannotWrite);
        file.close();
        file.remove();
        return true;
    }
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadWrite))
        return failed(error, cannotWrite);
    const QByteArray content = file.readAll();
    if (!content.trimmed().isEmpty() && !QJsonDocument::fromJson(content).isObject())
        return failed(
            error,
            text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 不是 JSON 对象，不覆盖它。")).arg(path));
    return true;
}

bool ConfigFiles::save(const QString &path, const MJsonConfig::Entries &entries, QString *error)
{
    try {
        MJsonConfig store(path);
        store.setValues(entries);
    } catch (const ConfigFileError &) {
        return failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件 %1。")).arg(path));
    }
    // The store only warns when its write fails: what is in the file now is what counts.
    QString ignored;
    const auto written = readObject(path, &ignored);
    for (const auto &entry : entries) {
        if (!written || lookup(*written, entry.first) != entry.second)
            return failed(error,
                          text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件 %1。")).arg(path));
    }
    return true;
}
