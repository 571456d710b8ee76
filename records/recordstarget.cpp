#include "records/recordstarget.h"

#include "support/redaction.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace {
QString dataDirectory()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return dir.isEmpty() ? QDir::tempPath() : dir;
}
} // namespace

std::optional<RecordsTarget> RecordsTarget::parse(const QString &text, QString *error)
{
    RecordsTarget target;
    const auto refuse = [&] {
        if (error)
            *error = QStringLiteral("the records database \"%1\" is neither a file path nor a "
                                    "URL of the form postgresql://user@host:port/database")
                         .arg(Redaction::text(text));
        return std::nullopt;
    };
    // A word and a colon in front ("postgres:/…", "pgsql:…") is a URL mistyped, not a file
    // name: its entries would go to a file in the current folder instead of the line's
    // database. One letter is a Windows drive ("C:\…").
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    static const QRegularExpression postgresWord(QStringLiteral("^postgres(ql)?[:/]"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    if (!text.contains(QLatin1String("://")) && !scheme.match(trimmed).hasMatch() &&
        !postgresWord.match(trimmed).hasMatch()) {
        if (trimmed.isEmpty()) {
            if (error)
                *error = QStringLiteral("the records database is empty");
            return std::nullopt;
        }
        target.path = text;
        return target;
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString database = url.path().mid(1);
    if (!url.isValid() || !trimmed.contains(QLatin1String("://")) ||
        (url.scheme() != QLatin1String("postgresql") &&
         url.scheme() != QLatin1String("postgres")) ||
        url.host().isEmpty() || database.isEmpty() || database.contains(QLatin1Char('/')) ||
        url.port() == 0 || url.hasQuery() || url.hasFragment())
        return refuse();
    target.kind = Kind::Postgres;
    target.host = url.host();
    target.port = url.port(kDefaultPostgresPort);
    target.user = url.userName();
    target.password = url.password();
    target.database = database;
    return target;
}

RecordsTarget RecordsTarget::userDefault()
{
    RecordsTarget target;
    target.path = dataDirectory() + QStringLiteral("/records.sqlite");
    return target;
}

QString RecordsTarget::spoolPath() const
{
    const QByteArray name =
        kind == Kind::Sqlite ? QFileInfo(path).absoluteFilePath().toUtf8() : displayName().toUtf8();
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(12));
    return dataDirectory() + QStringLiteral("/records-spool-%1.sqlite").arg(key);
}

QString RecordsTarget::outagePath() const
{
    return spoolPath() + QStringLiteral(".unreachable");
}

QString RecordsTarget::displayName() const
{
    if (kind == Kind::Sqlite)
        return path;
    return QStringLiteral("postgresql://%1%2:%3/%4")
        .arg(user.isEmpty() ? QString() : user + QLatin1Char('@'), host)
        .arg(port)
        .arg(database);
}

bool RecordsTarget::operator==(const RecordsTarget &other) const
{
    return kind == other.kind && path == other.path && host == other.host && port == other.port &&
           user == other.user && password == other.password && database == other.database;
}
