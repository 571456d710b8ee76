#pragma once

#include "ui/messagebox.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class MJsonConfig;

// Points appConfig at a settings file of its own for the lifetime of the object.
class ScopedSettings
{
public:
    ScopedSettings();
    ~ScopedSettings();
    QString filePath() const;
    QString dirPath() const { return m_dir.path(); }
    MJsonConfig *config() const { return m_config.get(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MJsonConfig> m_config;
    MJsonConfig *m_previous = nullptr;
};

// Answers every message box instead of a user and remembers what was shown.
class BoxRecorder
{
public:
    explicit BoxRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~BoxRecorder();
    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    QList<MessageBox::Shown> shown;
    QStringList texts() const;
    void clear() { shown.clear(); }

private:
    QMessageBox::StandardButton m_answer;
};
