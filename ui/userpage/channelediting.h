#pragma once

#include <QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QMainWindow;
QT_END_NAMESPACE

namespace Ui {
class MainWindow;
}

class ChannelUndo;
class UserPage;

// Channel plans on the user page: CHIRP's CSV through the file menu, copy, paste and clear on
// each channel's number, and the edit menu with the table's undo history.
class ChannelEditing
{
public:
    // What it asks of the window: a file name (empty when cancelled), a status text, and
    // whether an operation runs.
    struct WindowParts
    {
        std::function<QString(bool save, const QString &title, const QString &filter)> chooseFile;
        std::function<void(const QString &text)> showStatus;
        std::function<bool()> isOperationRunning;
    };

    ChannelEditing(QMainWindow *window, Ui::MainWindow *ui, UserPage &page, WindowParts parts);

    // The actions and menus; once, after the channel table is built.
    void build();
    void retranslate();
    ChannelUndo &undo() { return *m_undo; }

private:
    void importCsv();
    void exportCsv();
    void copyChannels(int channel); // 0: every channel in use
    void pasteChannels(int channel);
    void clearChannel(int channel);

    QMainWindow *m_window;
    Ui::MainWindow *m_ui;
    UserPage &m_page;
    WindowParts m_parts;
    ChannelUndo *m_undo = nullptr; // a child of the window
};
