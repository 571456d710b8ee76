#include "ui/stats/chartparts.h"

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_scale_div.h>

#include <cmath>

namespace {
constexpr int kDigits = 5;
constexpr int kUprightCategories = 8; // more are slanted so that dates do not overlap
constexpr double kSlant = -40;        // degrees
} // namespace

ChartParts::CategoryScaleDraw::CategoryScaleDraw(const QStringList &names)
    : m_names(names)
{
    enableComponent(QwtAbstractScaleDraw::Ticks, false);
}

QwtText ChartParts::CategoryScaleDraw::label(double value) const
{
    const double index = std::round(value);
    if (std::abs(value - index) > 1e-6 || index < 0 || index >= m_names.size())
        return QwtText();
    return QwtText(m_names.at(int(index)));
}

void ChartParts::setCategories(QwtPlot *plot, int axis, const QStringList &names)
{
    QList<double> ticks;
    for (int i = 0; i < names.size(); ++i)
        ticks.append(i);
    auto *draw = new CategoryScaleDraw(names);
    if (names.size() > kUprightCategories) {
        draw->setLabelRotation(kSlant);
        draw->setLabelAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }
    plot->setAxisScaleDraw(axis, draw);
    plot->setAxisScaleDiv(axis, QwtScaleDiv(-0.5, qMax(1, int(names.size())) - 0.5, QList<double>(),
                                            QList<double>(), ticks));
}

QString ChartParts::number(double value)
{
    return QString::number(value, 'g', kDigits);
}

QString ChartParts::percent(double fraction)
{
    return QStringLiteral("%1%").arg(std::round(fraction * 100));
}

void ChartParts::prepare(QwtPlot *plot)
{
    plot->setCanvasBackground(Qt::white);
    plot->setAutoFillBackground(true);
    plot->setPalette(QPalette(Qt::white));
    auto *grid = new QwtPlotGrid;
    grid->setMajorPen(QColor(0xdd, 0xdd, 0xdd), 0, Qt::DotLine);
    grid->attach(plot);
    plot->insertLegend(new QwtLegend, QwtPlot::BottomLegend);
}

QwtText ChartParts::coloured(const QString &text, const QColor &colour)
{
    QwtText label(text);
    label.setColor(colour);
    return label;
}
