#pragma once

#include <QFrame>
#include <QString>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
QT_END_NAMESPACE

// One lane as the bench sees it from a few steps away: its number and port, its state as a
// large word on a coloured band (the word says it without the colour), what runs or what
// failed, the unit, the cycle time, the retries and the lane's totals. It only shows; its
// Start button and scan field are forwarded to the lane by the window.
class LaneTile : public QFrame
{
    Q_OBJECT

public:
    // How the state band is coloured.
    enum class Tone
    {
        Idle,     // waiting, not in use
        Running,  // a unit is being processed
        Pass,     // green
        Marginal, // amber
        Fail,     // red
        Error,    // the tool could not do its job
    };

    LaneTile(int number, const QString &port, QWidget *parent = nullptr);

    int number() const { return m_number; }
    QString port() const { return m_port; }

    void setState(Tone tone, const QString &word, const QString &detail = QString());
    // A step in progress: its name above a bar; a negative percent hides the bar.
    void setProgress(int percent);
    void setUnit(const QString &serialNumber, const QString &model);
    void setCycleSeconds(double seconds); // negative: none yet
    void setRetries(int retries);
    void setTotals(const QString &text);
    void setStartButton(bool shown, bool enabled);
    void setScanField(bool shown, bool enabled);

    QString stateWord() const;
    QString detailText() const;
    Tone tone() const { return m_tone; }

    void retranslate();

signals:
    void startClicked();
    void serialScanned(const QString &serialNumber);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitStateFont();

    int m_number = 0;
    QString m_port;
    Tone m_tone = Tone::Idle;
    double m_cycleSeconds = -1.0;
    int m_retries = 0;
    QLabel *m_title = nullptr;
    QLabel *m_state = nullptr;
    QLabel *m_detail = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_unit = nullptr;
    QLabel *m_cycle = nullptr;
    QLabel *m_retriesLabel = nullptr;
    QLabel *m_totals = nullptr;
    QLineEdit *m_scan = nullptr;
    QPushButton *m_start = nullptr;
};
