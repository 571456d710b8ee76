#pragma once

#include "config/factoryconfig.h"

#include <QString>

class ModuleSession;

// The steps of the user side, each one request (the channel parameters one per channel).
enum class UserStep
{
    Band,
    Firmware,
    SerialNumber,
    FreqAndPower,
    ChannelParams,
    CtrlMode,
    CurrentChannel,
    TxProtect,
    Volume,
    PowerSave,
    PowerSaveTime,
    AudioWave,
    Sidetone,
    ScanMode,
};

// How a caller follows the sequences of a ModuleSession step by step. The window blanks what
// a step is about to read, fills it from the session's values afterwards, and knows which of
// its widgets are empty; the command-line tool needs none of it and passes no hooks.
class SessionHooks
{
public:
    virtual ~SessionHooks() = default;

    // Before a step's request, and after its reply went into the session's values. `channel`
    // is 1 to 16 for the channel parameters, 0 otherwise.
    virtual void stepStarting(UserStep step, int channel);
    virtual void stepRead(const ModuleSession &session, UserStep step, int channel);
    virtual void stepWritten(UserStep step, int channel);
    // Half a channel goes out as an empty one, and counts as empty from then on.
    virtual void channelEmptied(int channel);
    // A channel without both frequencies has no parameters to read or write.
    virtual void channelUnused(int channel);
    // The band check of one frequency cell before the table is written.
    virtual void frequencyChecked(int channel, const QString &field, bool outOfBand);
    // Values a form can leave empty, which a value type cannot.
    virtual bool isBlank(UserStep step) const;

    virtual void factoryStepStarting(const FactoryBulkStep &step);
    virtual void factoryStepRead(const ModuleSession &session, const FactoryBulkStep &step);
    virtual bool isBlank(const FactoryBulkStep &step) const;

    // What a refusal reports: the tool names the cell in its line, and what the cell may hold
    // when the refusal says it (a band's limits); the window marks the cell red instead. Empty
    // reports nothing.
    virtual QString refusalText(const QString &text, int channel, const QString &field,
                                const QString &allowed) const;
    // A band the tool does not know: the window's information bar already names its code.
    virtual bool reportsUnknownBand() const;
};
