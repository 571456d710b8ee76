#pragma once

#include "config/userconfig.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// CHIRP's generic CSV, the channel plan format technicians exchange: the channel table to and
// from its rows. Nothing is dropped silently: every row that is skipped, changed or placed
// elsewhere than its Location leaves a line in the report. A file from elsewhere costs bounded
// time and memory whatever it holds: it is read as far as the table needs, plus a short look
// ahead for the report, and the rest is summed up in one line.
namespace ChirpCsv {

using Channels = std::array<UserChannel, Wire::kChannelCount>;

// The header exactly as CHIRP writes it.
QString header();

// The module's band in 10 Hz; a maximum of 0 while it is not known (nothing is out of band).
struct Band
{
    quint32 min = 0;
    quint32 max = 0;
};

struct Import
{
    Channels channels{};    // the table after the rows went in
    QVector<int> placed;    // the channels that got a row, in file order
    QVector<int> outOfBand; // placed channels with a frequency outside the band
    QString headline;       // how many rows went into which channels
    QStringList outcome;    // a whole-table import: every channel filled, emptied or kept
    QStringList notes;      // each row skipped, changed, moved or out of band, by line; then
                            // file-wide notes
};

// A file's rows into the whole table: by Location when every usable row names a different
// channel 1-16, else in file order; channels without a row end up empty. The squelch level of
// a row that names none is the one its channel has in current.
Import importTable(QIODevice &source, const Channels &current, Band band = {});
Import importTable(const QByteArray &csv, const Channels &current, Band band = {});
// Rows in file order into channels first, first + 1, ... 16; the other channels stay.
Import paste(const QByteArray &csv, const Channels &current, int first, Band band = {});
// importTable() of a file; nothing, with a sentence for the user, when it cannot be read.
std::optional<Import> importFile(const QString &path, const Channels &current, Band band,
                                 QString *error);

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

// An atomic write; the error is a sentence for the user.
bool writeFile(const QString &path, const QByteArray &data, QString *error);

} // namespace ChirpCsv
