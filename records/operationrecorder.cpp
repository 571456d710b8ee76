#include "records/operationrecorder.h"

#include "records/recorder.h"
#include "session/operationreport.h"

#include <QFile>
#include <QJsonDocument>

#include <utility>

OperationRecorder::Source OperationRecorder::Source::thisHost()
{
    return {UnitRecord::defaultStation(), UnitRecord::defaultOperator(), UnitRecord::thisTool()};
}

OperationRecorder::OperationRecorder(Recorder &recorder, Source source)
    : m_recorder(recorder)
    , m_source(std::move(source))
{}

UnitRecord OperationRecorder::entry(const OperationReport &report, const Source &source,
                                    const Extras &extras)
{
    OperationReport said = report;
    // An error entry always says what went wrong.
    if (said.outcome == OperationReport::Outcome::Error && said.message.isEmpty())
        said.message = extras.failureText;
    // The note first: whose calibration the unit got, whatever else went wrong after.
    if (!extras.note.isEmpty())
        said.message =
            said.message.isEmpty() ? extras.note : extras.note + QLatin1Char('\n') + said.message;
    if (said.snapshot.isEmpty() && extras.fileIsSnapshot && !said.file.isEmpty()) {
        QFile file(said.file);
        if (file.open(QIODevice::ReadOnly))
            said.snapshot = QJsonDocument::fromJson(file.readAll()).object();
    }
    // The file and the texts lose their passwords there.
    UnitRecord entry = UnitRecord::fromReport(said);
    entry.station = source.station;
    entry.operatorName = source.operatorName;
    entry.toolVersion = source.tool;
    if (extras.station)
        addStationRun(&entry, *extras.station);
    return entry;
}

void OperationRecorder::addStationRun(UnitRecord *entry, const StationRun &run)
{
    entry->recipe = run.recipe;
    entry->revision = run.revision;
    entry->recipeSha256 = run.recipeSha256;
    entry->lane = run.lane;
    entry->failedStep = run.failedStep;
    entry->measurements = run.measurements;
    if (run.marginal &&
        entry->outcome == OperationReport::outcomeName(OperationReport::Outcome::Pass))
        entry->outcome = QStringLiteral("marginal");
}

bool OperationRecorder::record(const OperationReport &report, const Extras &extras,
                               QString *entryId) const
{
    const UnitRecord made = entry(report, m_source, extras);
    if (entryId)
        *entryId = made.entryId;
    return m_recorder.record(made);
}
