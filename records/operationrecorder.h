#pragma once

#include "records/unitrecord.h"

#include <QString>

class Recorder;
struct OperationReport;

// The one way a finished operation becomes an entry of the unit history, for the window, the
// command-line tool and a station alike, so that the same operation reads the same in it
// whoever ran it. record() may be called from any thread (the recorder's is).
class OperationRecorder
{
public:
    // Who recorded the operation.
    struct Source
    {
        QString station;
        QString operatorName;
        QString tool;
        // This host, its user and this tool.
        static Source thisHost();
    };

    // What the caller knows beside the report.
    struct Extras
    {
        QString failureText; // said by an error entry whose operation collected no failure
        QString note;        // said first: a calibration written into another unit
        // The file read or written is the snapshot when the operation kept none.
        bool fileIsSnapshot = false;
    };

    OperationRecorder(Recorder &recorder, Source source);

    static UnitRecord entry(const OperationReport &report, const Source &source,
                            const Extras &extras);
    void record(const OperationReport &report, const Extras &extras) const;

private:
    Recorder &m_recorder;
    Source m_source;
};
