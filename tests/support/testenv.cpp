#include "testenv.h"

#include "app/language.h"
#include "app/mjsonconfig.h"

ScopedSettings::ScopedSettings()
    : m_config(std::make_unique<MJsonConfig>(m_dir.filePath(QStringLiteral("settings.json"))))
    , m_previous(appConfig)
{
    appConfig = m_config.get();
    // A test's operations stay out of the user's own unit history.
    m_config->setValue(QStringLiteral("/Records/Enabled"), false);
}

ScopedSettings::~ScopedSettings()
{
    appConfig = m_previous;
}

QString ScopedSettings::filePath() const
{
    return m_config->filePath();
}

BoxRecorder::BoxRecorder(QMessageBox::StandardButton answer)
    : m_answer(answer)
{
    MessageBox::setInterceptor([this](const MessageBox::Shown &box) {
        shown.append(box);
        return m_answer;
    });
}

BoxRecorder::~BoxRecorder()
{
    MessageBox::setInterceptor({});
}

QStringList BoxRecorder::texts() const
{
    QStringList result;
    for (const auto &box : shown)
        result.append(box.text);
    return result;
}
