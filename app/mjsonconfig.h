#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QPair>
#include <QString>
#include <QVector>

#include <memory>
#include <stdexcept>

QT_BEGIN_NAMESPACE
class QFile;
QT_END_NAMESPACE

// Thrown when the backing file cannot be opened for reading and writing.
class ConfigFileError : public std::runtime_error
{
public:
    ConfigFileError();
};

// A JSON document backed by one file, read and written by slash-separated paths such as
// "/SerialPort/PortName". Every change rewrites the whole file, atomically.
class MJsonConfig
{
public:
    using Entries = QVector<QPair<QString, QJsonValue>>;

    // The application's settings file beside the executable.
    MJsonConfig();
    explicit MJsonConfig(const QString &filePath);
    ~MJsonConfig();

    MJsonConfig(const MJsonConfig &) = delete;
    MJsonConfig &operator=(const MJsonConfig &) = delete;

    // A store with no file: it keeps what it is given for the run only.
    static std::unique_ptr<MJsonConfig> inMemory();
    // The application's settings: beside the executable, else in the user's configuration
    // directory, else in memory. Never fails.
    static std::unique_ptr<MJsonConfig> openAppConfig();
    static QString appConfigFileName();

    QJsonValue value(const QString &path, const QJsonValue &defaultValue = QJsonValue()) const;
    void setValue(const QString &path, const QJsonValue &value);
    // Stores every entry in order and writes the file once.
    void setValues(const Entries &entries);

    QString filePath() const;
    QJsonObject toObject() const { return document.object(); }
    bool isInMemory() const { return !file; }

private:
    struct MemoryTag
    {
    };
    explicit MJsonConfig(MemoryTag);
    void open(const QString &filePath);
    void insert(const QString &path, const QJsonValue &value);
    void write();

    std::unique_ptr<QFile> file;
    QJsonDocument document;
};
