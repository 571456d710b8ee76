#include "ui/stats/chartexport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QSvgGenerator>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>

namespace {
QString text(const char *source)
{
    return QCoreApplication::translate("ChartExport", source);
}

void render(QwtPlot *plot, QPaintDevice &device)
{
    plot->replot(); // the axes follow the data only once it is plotted
    QwtPlotRenderer renderer;
    // The window's frame and background are not part of the chart.
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground, false);
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasFrame);
    renderer.renderTo(plot, device);
}
} // namespace

QByteArray ChartExport::svg(QwtPlot *plot, const QSize &size)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(plot->title().text());
    render(plot, generator);
    return buffer.data();
}

QImage ChartExport::image(QwtPlot *plot, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    render(plot, image);
    return image;
}

bool ChartExport::save(QwtPlot *plot, const QString &path, QString *error, const QSize &size)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray content;
    if (suffix == QLatin1String("svg")) {
        content = svg(plot, size);
    } else if (suffix == QLatin1String("png")) {
        QBuffer buffer(&content);
        buffer.open(QIODevice::WriteOnly);
        image(plot, size).save(&buffer, "PNG");
    } else {
        *error =
            text(QT_TRANSLATE_NOOP("ChartExport", "图表只能保存为 PNG 或 SVG 文件：%1")).arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        *error = text(QT_TRANSLATE_NOOP("ChartExport", "无法写入文件 %1：%2"))
                     .arg(path, file.errorString());
        return false;
    }
    return true;
}
