#pragma once

#include <QColor>
#include <QStringList>

#include <qwt_scale_draw.h>
#include <qwt_text.h>

class QwtPlot;

// What the statistics charts share: their colours (one per kind of item, so that an exported
// drawing can be checked for each), the labels of categories on an axis, the numbers they print.
namespace ChartParts {

inline const QColor kPoints{0x1f, 0x77, 0xb4};        // the values, first-pass yield
inline const QColor kSecondary{0x2c, 0xa0, 0x2c};     // final yield, the centre line
inline const QColor kControlLimits{0xd6, 0x27, 0x28}; // UCL, LCL and the points beyond them
inline const QColor kSpecLimits{0x8c, 0x56, 0x4b};    // the recipe's Min and Max
inline const QColor kMarginalBand{0xff, 0xdd, 0x71};  // inside a limit by Marginal
inline const QColor kRun{0xff, 0x7f, 0x0e};           // points of a run on one side
inline const QColor kHighlight{0x94, 0x67, 0xbd};     // the unit chosen in the table
inline const QColor kCumulative{0x17, 0xbe, 0xcf};    // the Pareto's cumulative share
inline const QColor kMedian{0x7f, 0x7f, 0x7f};
inline const QColor kFrequencyPoints[] = {
    {0x1f, 0x77, 0xb4}, {0x2c, 0xa0, 0x2c}, {0xd6, 0x27, 0x28}};

// Category names on an axis whose values are 0, 1, 2, ...; nothing between them.
class CategoryScaleDraw : public QwtScaleDraw
{
public:
    explicit CategoryScaleDraw(const QStringList &names);
    QwtText label(double value) const override;

private:
    QStringList m_names;
};

// names as the categories 0, 1, 2, ... of the axis, a tick at each; slanted when they are many.
void setCategories(QwtPlot *plot, int axis, const QStringList &names);
// Five significant digits: "19.393", "5.2067", "12.3".
QString number(double value);
// A whole percentage of a fraction: 0.4286 -> "43%".
QString percent(double fraction);
// The look the charts share: white canvas, a grid, the legend below.
void prepare(QwtPlot *plot);
// A text in a colour, for markers' labels.
QwtText coloured(const QString &text, const QColor &colour);

} // namespace ChartParts
