#pragma once

#include "records/recordstarget.h"
#include "records/unitrecord.h"

#include <QObject>
#include <QThread>

class RecordsWriter;

// Keeps the history of the units without ever holding up a module operation, and without
// losing an entry: each entry goes into the local spool at once, on the caller's thread (a
// local file, quick; an SQLite history is written there directly), and a thread of its own
// then delivers the spool to the database (Qt SQL connections stay on the thread that made
// them). Every database call there has a deadline; what the database does not take waits in
// the spool for the next delivery, which comes with the next entry, every 30 s or so, and
// with the next run.
class Recorder : public QObject
{
    Q_OBJECT

public:
    explicit Recorder(const RecordsTarget &target, QObject *parent = nullptr);
    // Where the entries go: a lane reads its recipe's population there.
    const RecordsTarget &target() const { return m_target; }
    ~Recorder() override; // drains, then stops the thread

    // The entry is in the history or the spool when this returns true; delivery follows. When
    // neither local file takes it, the database is tried at once (with its deadline): false
    // when that failed too, and the entry is kept nowhere but in memory. May be called from
    // any thread but the recorder's own delivery thread.
    bool record(const UnitRecord &record);
    // Delivers the spool now, even when the database was found unreachable a moment ago (by
    // this process or another run): for a reader who needs the whole history.
    void deliverNow();
    // Waits until every delivery asked for so far has been tried (each call has a deadline).
    void drain();

signals:
    // Once for entries that wait in the spool, once for entries lost: each says one true thing.
    void problem(const QString &text);

private:
    RecordsTarget m_target;
    QString m_spoolPath;
    QThread m_thread;
    RecordsWriter *m_writer = nullptr; // lives on m_thread, deleted when it ends
};
