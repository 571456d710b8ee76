// Factory test bench values: the RSSI offsets and the transmit power tables of both factory
// pages, between their widgets and the session's single steps.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "session/factorysteps.h"
#include "ui/factorypages/factorybindings.h"
#include "ui/widgetvalues.h"

#include <QRadioButton>
#include <QSpinBox>

#include <optional>

namespace {
using FactoryBindings::Page;

template<class T, std::size_t N>
std::array<T *, N> widgets(const QWidget *window, const std::array<const char *, N> &names)
{
    std::array<T *, N> found{};
    for (std::size_t i = 0; i < N; ++i)
        found[i] = window->findChild<T *>(QString::fromLatin1(names[i]));
    return found;
}

template<std::size_t N>
std::optional<int> checkedIndex(const QWidget *window, const std::array<const char *, N> &names)
{
    const auto buttons = widgets<QRadioButton>(window, names);
    for (std::size_t i = 0; i < N; ++i) {
        if (buttons[i]->isChecked())
            return static_cast<int>(i);
    }
    return std::nullopt;
}

QSpinBox *rssiOffsetBox(const QWidget *window, int point)
{
    return widgets<QSpinBox>(window, FactoryBindings::rssiOffsetBoxes())[point];
}
} // namespace

bool MainWindow::readRssiOffset(int point)
{
    QSpinBox *box = rssiOffsetBox(this, point);
    WidgetValues::blank(box);
    const std::optional<int> value = factorySteps().readRssiOffset(point);
    if (!value)
        return false;
    WidgetValues::setValue(box, *value);
    return true;
}

bool MainWindow::writeRssiOffset(int point)
{
    return factorySteps().writeRssiOffset(point, WidgetValues::valueOf(rssiOffsetBox(this, point)));
}

bool MainWindow::readTxPowerTable(int page)
{
    const auto boxes =
        widgets<QSpinBox>(this, FactoryBindings::powerTableBoxes(static_cast<Page>(page)));
    for (QSpinBox *box : boxes)
        WidgetValues::blank(box);
    const std::optional<QByteArray> values = factorySteps().readPowerTable();
    if (!values)
        return false;
    for (std::size_t i = 0; i < boxes.size() && int(i) < values->size(); ++i)
        WidgetValues::setValue(boxes[i], static_cast<quint8>(values->at(int(i))));
    return true;
}

bool MainWindow::writeTxPowerTable(int page)
{
    std::optional<QByteArray> values = QByteArray();
    for (QSpinBox *box :
         widgets<QSpinBox>(this, FactoryBindings::powerTableBoxes(static_cast<Page>(page)))) {
        const std::optional<int> value = WidgetValues::valueOf(box);
        if (!value) {
            values.reset();
            break;
        }
        values->append(static_cast<char>(*value));
    }
    return factorySteps().writePowerTable(values);
}

bool MainWindow::stepTxPowerCell(int page, int delta)
{
    const FactoryBindings::PowerSelectors &selectors =
        FactoryBindings::powerSelectors(static_cast<Page>(page));
    return factorySteps().stepPowerCell(checkedIndex(this, selectors.powers),
                                        checkedIndex(this, selectors.points), delta);
}
