#include "ui/widgetvalues.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include <memory>

namespace {
const QString kBlankText = QStringLiteral(" ");
const char kShownText[] = "shownText"; // the edit's text as the program set it
} // namespace

void WidgetValues::blank(QAbstractButton *first, QAbstractButton *second)
{
    for (QAbstractButton *button : {first, second}) {
        // An exclusive button cannot be unchecked while exclusivity holds.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void WidgetValues::blank(QSpinBox *spinBox)
{
    spinBox->setSpecialValueText(kBlankText);
    // Any change of the value (by the user or a read) shows numbers again, the minimum too.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(spinBox, QOverload<int>::of(&QSpinBox::valueChanged), spinBox,
                                   [spinBox, connection] {
                                       spinBox->setSpecialValueText(QString());
                                       QObject::disconnect(*connection);
                                   });
}

void WidgetValues::blank(QComboBox *comboBox)
{
    comboBox->setCurrentIndex(-1);
}

void WidgetValues::setValue(QSpinBox *spinBox, int value)
{
    spinBox->setSpecialValueText(QString());
    spinBox->setValue(value);
}

bool WidgetValues::isBlank(const QSpinBox *spinBox)
{
    return spinBox->text() == kBlankText;
}

bool WidgetValues::isBlank(const QAbstractButton *first, const QAbstractButton *second)
{
    return !first->isChecked() && !second->isChecked();
}

void WidgetValues::choose(QAbstractButton *first, QAbstractButton *second, bool firstChosen)
{
    (firstChosen ? first : second)->setChecked(true);
}

void WidgetValues::show(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setProperty(kShownText, edit->text());
}

bool WidgetValues::isShown(const QLineEdit *edit)
{
    const QVariant shown = edit->property(kShownText);
    return shown.isValid() && shown.toString() == edit->text();
}

std::optional<int> WidgetValues::valueOf(const QSpinBox *spinBox)
{
    if (isBlank(spinBox))
        return std::nullopt;
    return spinBox->value();
}

std::optional<bool> WidgetValues::firstChosen(const QAbstractButton *first,
                                              const QAbstractButton *second)
{
    if (isBlank(first, second))
        return std::nullopt;
    return first->isChecked();
}
