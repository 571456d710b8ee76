#include "instrument/instrumentprofile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace {
constexpr const char *kNeedNames[InstrumentProfile::kNeedCount] = {
    "Identify",           "Reset",          "WaitComplete",          "ErrorQuery",
    "AnalyserFrequency",  "MeasurePower",   "MeasureFrequencyError", "MeasureDeviation",
    "GeneratorFrequency", "GeneratorLevel", "GeneratorOn",           "GeneratorOff"};

const QString kName = QStringLiteral("Name");
const QString kDescription = QStringLiteral("Description");
const QString kTimeout = QStringLiteral("TimeoutMs");
const QString kCheckErrors = QStringLiteral("CheckErrors");
const QString kCommands = QStringLiteral("Commands");
const QString kBuiltInFolder = QStringLiteral(":/instruments/");

bool isPrintable(const QString &text)
{
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}
} // namespace

QString InstrumentProfile::memberName(InstrumentNeed need)
{
    return QLatin1String(kNeedNames[static_cast<int>(need)]);
}

bool InstrumentProfile::isQuery(InstrumentNeed need)
{
    switch (need) {
    case InstrumentNeed::Identify:
    case InstrumentNeed::WaitComplete:
    case InstrumentNeed::ErrorQuery:
    case InstrumentNeed::MeasurePower:
    case InstrumentNeed::MeasureFrequencyError:
    case InstrumentNeed::MeasureDeviation:
        return true;
    default:
        return false;
    }
}

QString InstrumentProfile::placeholder(InstrumentNeed need)
{
    switch (need) {
    case InstrumentNeed::AnalyserFrequency:
    case InstrumentNeed::GeneratorFrequency:
        return QStringLiteral("{hz}");
    case InstrumentNeed::GeneratorLevel:
        return QStringLiteral("{dbm}");
    default:
        return QString();
    }
}

std::optional<InstrumentProfile> InstrumentProfile::fromJson(const QByteArray &json,
                                                             const QString &origin, QString *error)
{
    const auto fail = [&](const QString &text) -> std::optional<InstrumentProfile> {
        if (error)
            *error = QStringLiteral("%1: %2").arg(origin, text);
        return std::nullopt;
    };
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject())
        return fail(parseError.error == QJsonParseError::NoError ? tr("应为 JSON 对象")
                                                                 : parseError.errorString());
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!QStringList{kName, kDescription, kTimeout, kCheckErrors, kCommands}.contains(it.key()))
            return fail(tr("未知成员 “%1”").arg(it.key()));
    }
    InstrumentProfile profile;
    if (!root.value(kName).isString() || root.value(kName).toString().trimmed().isEmpty())
        return fail(tr("“%1” 应为非空文字").arg(kName));
    profile.name = root.value(kName).toString();
    if (root.contains(kDescription) && !root.value(kDescription).isString())
        return fail(tr("“%1” 应为文字").arg(kDescription));
    profile.description = root.value(kDescription).toString();
    if (root.contains(kTimeout)) {
        const QJsonValue value = root.value(kTimeout);
        const double ms = value.toDouble();
        if (!value.isDouble() || ms != std::floor(ms) || ms < kMinTimeoutMs || ms > kMaxTimeoutMs)
            return fail(tr("“%1” 应为 %2 到 %3 的整数")
                            .arg(kTimeout)
                            .arg(kMinTimeoutMs)
                            .arg(kMaxTimeoutMs));
        profile.timeoutMs = static_cast<int>(ms);
    }
    if (root.contains(kCheckErrors) && !root.value(kCheckErrors).isBool())
        return fail(tr("“%1” 应为 true 或 false").arg(kCheckErrors));
    profile.checkErrors = root.value(kCheckErrors).toBool();
    if (!root.value(kCommands).isObject())
        return fail(tr("缺少对象 “%1”").arg(kCommands));

    const QJsonObject commands = root.value(kCommands).toObject();
    QStringList needNames;
    for (const char *name : kNeedNames)
        needNames.append(QLatin1String(name));
    for (auto it = commands.begin(); it != commands.end(); ++it) {
        if (!needNames.contains(it.key()))
            return fail(tr("未知命令 “%1”").arg(it.key()));
    }
    static const QRegularExpression placeholders(QStringLiteral("\\{[^}]*\\}"));
    for (int i = 0; i < kNeedCount; ++i) {
        const auto need = static_cast<InstrumentNeed>(i);
        const QString member = needNames.at(i);
        if (!commands.contains(member))
            return fail(tr("缺少命令 “%1”").arg(member));
        const QJsonValue value = commands.value(member);
        if (value.isNull())
            continue;
        const QString command = value.toString();
        if (!value.isString() || command.trimmed().isEmpty() || !isPrintable(command) ||
            command.size() > kMaxCommandLength)
            return fail(tr("命令 “%1” 应为一行不超过 %2 个字符的文字，或 null")
                            .arg(member)
                            .arg(kMaxCommandLength));
        const QString wanted = placeholder(need);
        auto matches = placeholders.globalMatch(command);
        while (matches.hasNext()) {
            const QString found = matches.next().captured();
            if (found != wanted)
                return fail(tr("命令 “%1” 含有未知的占位符 %2").arg(member, found));
        }
        if (!wanted.isEmpty() && !command.contains(wanted))
            return fail(tr("命令 “%1” 必须含有 %2").arg(member, wanted));
        profile.commands[static_cast<size_t>(i)] = command;
    }
    return profile;
}

bool InstrumentProfile::isBuiltIn(const QString &nameOrFile)
{
    return !nameOrFile.contains(QLatin1Char('/')) &&
           QFileInfo::exists(kBuiltInFolder + nameOrFile + QStringLiteral(".json"));
}

std::optional<InstrumentProfile> InstrumentProfile::load(const QString &nameOrFile, QString *error)
{
    QFile file(isBuiltIn(nameOrFile) ? kBuiltInFolder + nameOrFile + QStringLiteral(".json")
                                     : nameOrFile);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("找不到仪器配置 “%1”：%2").arg(nameOrFile, file.errorString());
        return std::nullopt;
    }
    return fromJson(file.read(1024 * 1024), nameOrFile, error);
}
