#pragma once

#include "records/recordstarget.h"
#include "records/unitrecord.h"

#include <QObject>
#include <QThread>

class RecordsWriter;

// Keeps the history of the units without ever holding up a module operation: entries are
// handed to a thread of its own, which owns the database connections (Qt SQL connections
// stay on the thread that made them). An entry the database does not take goes to the local
// spool and is sent before the next one.
class Recorder : public QObject
{
    Q_OBJECT

public:
    explicit Recorder(const RecordsTarget &target, QObject *parent = nullptr);
    ~Recorder() override; // drains, then stops the thread

    // Returns at once; may be called from any thread.
    void record(const UnitRecord &record);
    // Waits until every entry handed over so far is stored or spooled.
    void drain();

signals:
    // Once for a database that cannot be written, once for a spool that cannot be either.
    void problem(const QString &text);

private:
    QThread m_thread;
    RecordsWriter *m_writer = nullptr; // lives on m_thread, deleted when it ends
};
