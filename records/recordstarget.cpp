#include "records/recordstarget.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
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
    if (!text.contains(QLatin1String("://"))) {
        if (text.trimmed().isEmpty()) {
            *error = QStringLiteral("the records database is empty");
            return std::nullopt;
        }
        target.path = text;
        return target;
    }
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    const QString database = url.path().mid(1);
    if (!url.isValid() ||
        (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres"))) {
        *error = QStringLiteral("the records database \"%1\" is neither a file nor a "
                                "postgresql://user@host:port/database URL")
                     .arg(text);
        return std::nullopt;
    }
    if (url.host().isEmpty() || database.isEmpty() || database.contains(QLatin1Char('/')) ||
        url.port() == 0 || url.hasQuery() || url.hasFragment()) {
        *error = QStringLiteral("the records URL \"%1\" needs the form "
                                "postgresql://user@host:port/database")
                     .arg(text);
        return std::nullopt;
    }
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
