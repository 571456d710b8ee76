#include "session/configfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

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

// A value the window would clamp or drop is no value to write: the file is refused whole
// rather than stopping the write halfway at the member that cannot go out.
bool withinLimits(const QJsonObject &object, const MemberLimits &limits, const QString &path,
                  QString *error)
{
    for (const MemberLimits::Range &member : limits.ranges) {
        const int value = lookup(object, member.path).toInt();
        if (!member.range.contains(value))
            return failed(error, text(QT_TRANSLATE_NOOP("CommandLine",
                                                        "文件 %1 中 %2 为 %3，超出范围 %4 至 %5。"))
                                     .arg(path, member.path)
                                     .arg(value)
                                     .arg(member.range.minimum)
                                     .arg(member.range.maximum));
    }
    for (const MemberLimits::Choice &member : limits.choices) {
        const QString value = lookup(object, member.path).toString();
        if (!member.texts.contains(value))
            return failed(
                error,
                text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 中 %2 为“%3”，应为 %4 之一。"))
                    .arg(path, member.path, value,
                         QLatin1Char('"') + member.texts.join(QStringLiteral("\", \"")) +
                             QLatin1Char('"')));
    }
    return true;
}

QString runsText(const std::vector<UserParams::Range> &runs)
{
    QStringList parts;
    for (const UserParams::Range &run : runs)
        parts.append(run.minimum == run.maximum ? QString::number(run.minimum)
                                                : text(QT_TRANSLATE_NOOP("CommandLine", "%1 至 %2"))
                                                      .arg(run.minimum)
                                                      .arg(run.maximum));
    return parts.join(text(QT_TRANSLATE_NOOP("CommandLine", "、")));
}

// A value in its range that the write refuses only when it comes to it, mostly with part of the
// file sent (a channel in use without a squelch level): the file is refused whole instead.
bool sendable(const QJsonObject &object, const MemberLimits &limits, const QString &path,
              QString *error)
{
    for (const MemberLimits::Selection &member : limits.selections) {
        const bool inUse = std::all_of(
            member.frequencies.begin(), member.frequencies.end(),
            [&](const QString &frequency) { return lookup(object, frequency).toInt() != 0; });
        if (!inUse)
            continue;
        const int value = lookup(object, member.path).toInt();
        if (std::any_of(member.sent.begin(), member.sent.end(),
                        [value](const UserParams::Range &run) { return run.contains(value); }))
            continue;
        if (member.channel == 0)
            return failed(error, text(QT_TRANSLATE_NOOP("CommandLine",
                                                        "文件 %1 中 %2 为 %3，写入时须为 %4。"))
                                     .arg(path, member.path)
                                     .arg(value)
                                     .arg(runsText(member.sent)));
        return failed(error,
                      text(QT_TRANSLATE_NOOP("CommandLine", "文件 %1 中 %2 为 %3，而频道 %4 在用，"
                                                            "写入时须为 %5。"))
                          .arg(path, member.path)
                          .arg(value)
                          .arg(member.channel)
                          .arg(runsText(member.sent)));
    }
    return true;
}

// Every member the format writes, taken from the file, into a store the format reads from.
template<class Config>
std::optional<Config> load(const QString &path, QString *error, ConfigFiles::Use use)
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
    const MemberLimits limits = Config::limits();
    if (!withinLimits(*object, limits, path, error) ||
        (use == ConfigFiles::Use::Write && !sendable(*object, limits, path, error)))
        return std::nullopt;
    const auto store = MJsonConfig::inMemory();
    store->setValues(found);
    return Config::fromStore(*store);
}
} // namespace

std::optional<UserConfig> ConfigFiles::loadUserConfig(const QString &path, QString *error, Use use)
{
    return load<UserConfig>(path, error, use);
}

std::optional<FactoryCalibration> ConfigFiles::loadFactoryCalibration(const QString &path,
                                                                      QString *error, Use use)
{
    return load<FactoryCalibration>(path, error, use);
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

bool ConfigFiles::makeFolder(const QString &path, QString *error)
{
    const QFileInfo folder(path);
    if (folder.isDir() || QDir().mkpath(path)) {
        if (QFileInfo(path).isWritable())
            return true;
        return failed(error,
                      text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件夹 %1：没有写入的权限。"))
                          .arg(path));
    }
    // The nearest part of the path that is there tells why the rest could not be made.
    QFileInfo existing(folder.absoluteFilePath());
    while (!existing.exists() && !existing.isSymLink() && !existing.isRoot())
        existing = QFileInfo(existing.absolutePath());
    if (!existing.isDir())
        return failed(error, text(QT_TRANSLATE_NOOP("CommandLine",
                                                    "无法创建文件夹 %1：%2 是文件，不是文件夹。"))
                                 .arg(path, QDir::toNativeSeparators(existing.filePath())));
    if (!existing.isWritable())
        return failed(error,
                      text(QT_TRANSLATE_NOOP("CommandLine",
                                             "无法创建文件夹 %1：没有在 %2 中创建文件夹的权限。"))
                          .arg(path, QDir::toNativeSeparators(existing.filePath())));
    return failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "无法创建文件夹 %1。")).arg(path));
}

std::optional<QString> ConfigFiles::saveNew(const QString &folder, const QString &stem,
                                            const MJsonConfig::Entries &entries, QString *error)
{
    constexpr int kMaxTries = 1000; // more files of one stem mean something else is wrong
    const QDir dir(folder);
    for (int n = 1; n <= kMaxTries; ++n) {
        const QString path = dir.filePath(n == 1 ? stem + QStringLiteral(".json")
                                                 : QStringLiteral("%1-%2.json").arg(stem).arg(n));
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QFileInfo taken(path);
            if (taken.exists() || taken.isSymLink())
                continue;
            failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件 %1。")).arg(path));
            return std::nullopt;
        }
        claim.close();
        // The save file replaces only the empty file claimed here: whole content or none.
        if (!save(path, entries, error)) {
            QFile::remove(path);
            return std::nullopt;
        }
        return path;
    }
    failed(error, text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件 %1。"))
                      .arg(dir.filePath(stem + QStringLiteral(".json"))));
    return std::nullopt;
}

std::optional<QString> ConfigFiles::saveBackup(const QString &folder,
                                               const ModuleSnapshot &snapshot, const QString &port,
                                               QString *error)
{
    QString portName = QFileInfo(port).fileName();
    portName.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    const QString stem =
        QStringLiteral("%1-%2-%3")
            .arg(snapshot.identity.serialNumber,
                 snapshot.readAt.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss.zzz")), portName);
    const auto path = saveNew(folder, stem, snapshot.entries(), error);
    if (!path)
        return std::nullopt;
    return QFileInfo(*path).absoluteFilePath(); // found from any folder later
}
