#pragma once

#include "config/userconfig.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// CHIRP's generic CSV, the channel plan format technicians exchange: the channel table to and
// from its rows. Nothing is dropped silently: every row that is skipped, changed or placed
// elsewhere than its Location leaves a line in the report.
namespace ChirpCsv {

using Channels = std::array<UserChannel, Wire::kChannelCount>;

// The header exactly as CHIRP writes it.
QString header();

struct Import
{
    Channels channels{}; // the table after the rows went in
    QVector<int> placed; // the channels that got a row, in file order
    QString headline;    // how many rows went into which channels
    QStringList notes;   // each row skipped, changed or moved, by line; then file-wide notes
};

// A file's rows into the whole table: by Location when every usable row names a different
// channel 1-16, else in file order; channels without a row end up empty. The squelch level of
// a row that names none is the one its channel has in current.
Import importTable(const QByteArray &csv, const Channels &current);
// Rows in file order into channels first, first + 1, ... 16; the other channels stay.
Import paste(const QByteArray &csv, const Channels &current, int first);

struct Export
{
    QByteArray csv;       // UTF-8, CR LF line ends, as CHIRP writes it
    QVector<int> written; // the channels that got a row
    QStringList notes;    // channels written with defaults or not written
    QString headline;
};

// The header and one row per channel with a receive frequency among those given (all when
// the list is empty).
Export write(const Channels &channels, const QVector<int> &which = {});

// Whole-file read, and an atomic write; the error is a sentence for the user.
std::optional<QByteArray> readFile(const QString &path, QString *error);
bool writeFile(const QString &path, const QByteArray &data, QString *error);

} // namespace ChirpCsv
