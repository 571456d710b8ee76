#pragma once

#include <QString>

#include <optional>

// Where the history lives: an SQLite file, or a PostgreSQL database that every station of a
// line shares ("postgresql://user@host:port/db").
struct RecordsTarget
{
    enum class Kind
    {
        Sqlite,
        Postgres
    };

    static constexpr int kDefaultPostgresPort = 5432;

    Kind kind = Kind::Sqlite;
    QString path; // SQLite
    QString host; // PostgreSQL
    int port = kDefaultPostgresPort;
    QString user;
    QString password;
    QString database;

    // A PostgreSQL URL, or a path of an SQLite file; nothing (and the reason, without the
    // password) for a URL that does not parse or a path that looks like a mistyped URL.
    static std::optional<RecordsTarget> parse(const QString &text, QString *error);
    // The user's own history: records.sqlite in the application's data directory.
    static RecordsTarget userDefault();
    // Entries that could not be sent wait here, in the user's data folder: one spool per
    // target, so that they only ever reach the database they were meant for.
    QString spoolPath() const;
    // Beside the spool: when the target last did not answer, so that the next runs do not
    // each wait for it again.
    QString outagePath() const;

    // For messages: the URL without a password, or the file's path.
    QString displayName() const;
    bool operator==(const RecordsTarget &other) const;
};
