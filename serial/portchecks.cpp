#include "serial/portchecks.h"

#include "serial/portadvice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
QString checkText(const char *source)
{
    return QCoreApplication::translate("PortChecks", source);
}

using Check = PortChecks::Check;

Check make(Check::Kind kind, Check::Result result, const QString &detail,
           const QString &fix = QString())
{
    return Check{kind, result, detail, result == Check::Result::Fail ? fix : QString()};
}

#ifdef Q_OS_LINUX
QString groupName(gid_t gid)
{
    const group *entry = ::getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

QStringList processGroupsLive()
{
    QStringList names{groupName(::getegid())};
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> ids(count > 0 ? count : 0);
    if (count > 0 && ::getgroups(count, ids.data()) == count) {
        for (gid_t id : ids)
            names.append(groupName(id));
    }
    names.removeDuplicates();
    return names;
}

QStringList accountGroupsLive()
{
    const passwd *account = ::getpwuid(::getuid());
    if (!account)
        return {};
    int count = 64;
    std::vector<gid_t> ids(count);
    if (::getgrouplist(account->pw_name, account->pw_gid, ids.data(), &count) < 0) {
        ids.resize(count);
        if (::getgrouplist(account->pw_name, account->pw_gid, ids.data(), &count) < 0)
            return {};
    }
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(groupName(ids[i]));
    names.removeDuplicates();
    return names;
}

QStringList runningProgramsLive()
{
    QStringList names;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        entry.toInt(&numeric);
        if (!numeric)
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(entry));
        if (comm.open(QIODevice::ReadOnly))
            names.append(QString::fromLocal8Bit(comm.readAll()).trimmed());
    }
    return names;
}
#endif
} // namespace

PortChecks::SystemFacts PortChecks::SystemFacts::live()
{
    SystemFacts facts;
    facts.deviceExists = [](const QString &path) {
        return QFileInfo::exists(path);
    };
#ifdef Q_OS_LINUX
    facts.onLinux = true;
    facts.superUser = ::geteuid() == 0;
    facts.deviceGroup = [](const QString &path) {
        struct stat info = {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? groupName(info.st_gid)
                                                                       : QString();
    };
    facts.processGroups = processGroupsLive;
    facts.accountGroups = accountGroupsLive;
    facts.runningPrograms = runningProgramsLive;
    facts.brlttyInstalled = [] {
        for (const char *path : {"/usr/bin/brltty", "/bin/brltty", "/usr/sbin/brltty"}) {
            if (QFileInfo::exists(QLatin1String(path)))
                return true;
        }
        return false;
    };
    facts.serialLinkRoot = QStringLiteral("/dev/serial");
#endif
    return facts;
}

QString PortChecks::Check::name() const
{
    switch (kind) {
    case Kind::Exists:
        return checkText(QT_TRANSLATE_NOOP("PortChecks", "设备存在"));
    case Kind::Group:
        return checkText(QT_TRANSLATE_NOOP("PortChecks", "用户组"));
    case Kind::ModemManager:
        return QStringLiteral("ModemManager");
    case Kind::Brltty:
        return QStringLiteral("brltty");
    case Kind::StableNames:
        return checkText(QT_TRANSLATE_NOOP("PortChecks", "固定名称"));
    case Kind::Answers:
        return checkText(QT_TRANSLATE_NOOP("PortChecks", "打开并应答"));
    case Kind::Instrument:
        return checkText(QT_TRANSLATE_NOOP("PortChecks", "仪器"));
    }
    return QString();
}

QString PortChecks::Check::toText() const
{
    const char *mark = result == Result::Pass ? "PASS" : result == Result::Fail ? "FAIL" : "N/A ";
    QString text = QStringLiteral("[%1] %2: %3").arg(QLatin1String(mark), name(), detail);
    if (!fix.isEmpty())
        text += QStringLiteral("\n       ") + checkText(QT_TRANSLATE_NOOP("PortChecks", "解决：")) +
                fix;
    return text;
}

QJsonObject PortChecks::Check::toJson() const
{
    static const char *const kResult[] = {"pass", "fail", "not applicable"};
    return QJsonObject{{QStringLiteral("check"), name()},
                       {QStringLiteral("result"), QLatin1String(kResult[static_cast<int>(result)])},
                       {QStringLiteral("detail"), detail},
                       {QStringLiteral("fix"), fix}};
}

QString PortChecks::devicePath(const QString &port)
{
    return PortAdvice::systemLocation(port);
}

QStringList PortChecks::stableNames(const QString &devicePath, const QString &root)
{
    QStringList names;
    if (root.isEmpty())
        return names;
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    for (const char *folder : {"by-id", "by-path"}) {
        const QDir dir(root + QLatin1Char('/') + QLatin1String(folder));
        const QFileInfoList links = dir.entryInfoList(QDir::Files | QDir::System, QDir::Name);
        for (const QFileInfo &link : links) {
            if (!target.isEmpty() && link.canonicalFilePath() == target)
                names.append(link.absoluteFilePath());
        }
    }
    return names;
}

QList<PortChecks::Check> PortChecks::systemChecks(const QString &port, const SystemFacts &facts)
{
    using Kind = Check::Kind;
    using Result = Check::Result;
    const QString path = devicePath(port);
    QList<Check> checks;
    const bool exists = facts.deviceExists && facts.deviceExists(path);
    checks.append(
        make(Kind::Exists, exists ? Result::Pass : Result::Fail,
             exists ? path : checkText(QT_TRANSLATE_NOOP("PortChecks", "%1 不存在")).arg(path),
             checkText(QT_TRANSLATE_NOOP("PortChecks",
                                         "检查模块是否插好；lx815-cli ports 列出系统的串口。"))));
    if (!facts.onLinux) {
        const QString onlyLinux = checkText(QT_TRANSLATE_NOOP("PortChecks", "只在 Linux 上检查"));
        for (Kind kind : {Kind::Group, Kind::ModemManager, Kind::Brltty, Kind::StableNames})
            checks.append(make(kind, Result::NotApplicable, onlyLinux));
        return checks;
    }

    const QString group = exists && facts.deviceGroup ? facts.deviceGroup(path) : QString();
    if (group.isEmpty()) {
        checks.append(make(Kind::Group, Result::NotApplicable,
                           checkText(QT_TRANSLATE_NOOP("PortChecks", "设备的组未知"))));
    } else if (facts.superUser) {
        checks.append(
            make(Kind::Group, Result::Pass,
                 checkText(QT_TRANSLATE_NOOP("PortChecks", "%1 组；root 用户可以打开任何设备"))
                     .arg(group)));
    } else if (facts.processGroups && facts.processGroups().contains(group)) {
        checks.append(
            make(Kind::Group, Result::Pass,
                 checkText(QT_TRANSLATE_NOOP("PortChecks", "%1 组，当前用户在该组中")).arg(group)));
    } else if (facts.accountGroups && facts.accountGroups().contains(group)) {
        checks.append(make(
            Kind::Group, Result::Fail,
            checkText(QT_TRANSLATE_NOOP("PortChecks", "%1 组：用户已加入该组，但是在本次登录之后"))
                .arg(group),
            checkText(QT_TRANSLATE_NOOP("PortChecks", "注销并重新登录（或重启）后生效。"))));
    } else {
        checks.append(
            make(Kind::Group, Result::Fail,
                 checkText(QT_TRANSLATE_NOOP("PortChecks", "%1 组，当前用户不在该组中")).arg(group),
                 checkText(QT_TRANSLATE_NOOP("PortChecks",
                                             "sudo usermod -aG %1 $USER，然后注销并重新登录。"))
                     .arg(group)));
    }

    const QStringList programs = facts.runningPrograms ? facts.runningPrograms() : QStringList();
    const bool modemManager = programs.contains(QStringLiteral("ModemManager"));
    checks.append(make(
        Kind::ModemManager, modemManager ? Result::Fail : Result::Pass,
        modemManager
            ? checkText(QT_TRANSLATE_NOOP("PortChecks", "正在运行：它探测 USB 调制解调器，会破坏 "
                                                        "ttyACM 设备上最初的几个字节"))
            : checkText(QT_TRANSLATE_NOOP("PortChecks", "未运行")),
        checkText(QT_TRANSLATE_NOOP("PortChecks",
                                    "sudo systemctl stop ModemManager（长期：sudo systemctl "
                                    "disable ModemManager）"))));

    const bool brltty = facts.brlttyInstalled && facts.brlttyInstalled();
    checks.append(make(Kind::Brltty, brltty ? Result::Fail : Result::Pass,
                       brltty ? checkText(QT_TRANSLATE_NOOP(
                                    "PortChecks", "已安装：它会占用 CH340 和 CP210x 转换器"))
                              : checkText(QT_TRANSLATE_NOOP("PortChecks", "未安装")),
                       checkText(QT_TRANSLATE_NOOP(
                           "PortChecks", "sudo apt remove brltty，然后重新插入转换器。"))));

    const QStringList names = exists ? stableNames(path, facts.serialLinkRoot) : QStringList();
    checks.append(make(Kind::StableNames, names.isEmpty() ? Result::NotApplicable : Result::Pass,
                       names.isEmpty()
                           ? checkText(QT_TRANSLATE_NOOP(
                                 "PortChecks", "没有 /dev/serial/by-id 或 by-path 名称（不是 USB "
                                               "转换器）"))
                           : names.join(QStringLiteral(", "))));
    return checks;
}

QString PortChecks::openFailureAdvice(const QString &port, bool permission,
                                      const SystemFacts &facts)
{
    QStringList fixes;
    for (const Check &check : systemChecks(port, facts)) {
        if (check.result != Check::Result::Fail || check.kind == Check::Kind::Exists)
            continue;
        // A refused open is about rights; a busy one about who else holds the device.
        if ((check.kind == Check::Kind::Group) == permission)
            fixes.append(check.detail + QStringLiteral(": ") + check.fix);
    }
    return fixes.join(QLatin1Char('\n'));
}
