#pragma once

#include "records/unitrecord.h"

#include <QList>
#include <QString>

#include <optional>

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

    // What a station adds to its unit's entry: the recipe it ran, on which lane, how it was
    // judged.
    struct StationRun
    {
        QString recipe;
        QString revision;
        QString recipeSha256;
        int lane = 0;
        bool marginal = false; // the report's pass, with a value near a limit
        QString failedStep;    // the step that failed, empty when none did
        QList<UnitRecord::Measurement> measurements;
    };

    // What the caller knows beside the report.
    struct Extras
    {
        QString failureText; // said by an error entry whose operation collected no failure
        QString note;        // said first: a calibration written into another unit
        // The file read or written is the snapshot when the operation kept none.
        bool fileIsSnapshot = false;
        std::optional<StationRun> station = std::nullopt; // a station's unit
    };

    OperationRecorder(Recorder &recorder, Source source);

    static UnitRecord entry(const OperationReport &report, const Source &source,
                            const Extras &extras);
    // True when the entry is kept (stored or spooled; Recorder::record); entryId gets its id.
    bool record(const OperationReport &report, const Extras &extras,
                QString *entryId = nullptr) const;

private:
    static void addStationRun(UnitRecord *entry, const StationRun &run);

    Recorder &m_recorder;
    Source m_source;
};
