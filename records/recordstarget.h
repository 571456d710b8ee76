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

    // A PostgreSQL URL, or any other text as the path of an SQLite file; nothing (and the
    // reason) for a URL that does not parse.
    static std::optional<RecordsTarget> parse(const QString &text, QString *error);
    // The user's own history: records.sqlite in the application's data directory.
    static RecordsTarget userDefault();
    // Entries that could not be sent wait here, in the user's data folder: one spool per
    // target, so that they only ever reach the database they were meant for.
    QString spoolPath() const;

    // For messages: the URL without a password, or the file's path.
    QString displayName() const;
    bool operator==(const RecordsTarget &other) const;
};
