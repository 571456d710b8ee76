#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QwtPlot;

// A chart as a file or as bytes, drawn without a window or a display (the report renders
// offscreen): PNG for mail and documents, SVG to embed in the HTML report.
namespace ChartExport {

inline constexpr QSize kSize{900, 520}; // px: readable on a 1366 x 768 screen and in a page

QByteArray svg(QwtPlot *plot, const QSize &size = kSize);
QImage image(QwtPlot *plot, const QSize &size = kSize);
// By the file's suffix, ".png" or ".svg"; false with the reason (in the user's language).
bool save(QwtPlot *plot, const QString &path, QString *error, const QSize &size = kSize);

} // namespace ChartExport
