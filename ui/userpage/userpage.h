#pragma once

#include "config/userconfig.h"
#include "ui/userpage/userbindings.h"

#include <QList>
#include <QString>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QWidget;
QT_END_NAMESPACE

namespace Ui {
class MainWindow;
}

// The user page and its channel table as values: the table's cells built from the page's
// binding table, the page read into a UserConfig and one shown on it. Frequencies outside the
// window's band limits are marked as they are shown.
class UserPage
{
public:
    // The band limits are the window's, read whenever the page is read or shown.
    UserPage(Ui::MainWindow *ui, const quint32 &freqMin, const quint32 &freqMax);

    // The header and a row of cells per channel in wdgFreqBox; the frequency cells, in channel
    // order, for the window to check what is typed into them.
    QList<QLineEdit *> buildChannelTable();
    QLineEdit *frequencyCell(int channel, const QString &field) const;
    // The channel whose cell holds the focus, else 0.
    int channelOf(const QWidget *focus) const;

    UserBindings::Widgets widgets() const;
    UserConfig config() const;
    void apply(const UserConfig &config);
    // The power saving times mean something only while power saving is on.
    void followPowerSaveMode();

private:
    Ui::MainWindow *m_ui;
    const quint32 &m_freqMin;
    const quint32 &m_freqMax;
};
