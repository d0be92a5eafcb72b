#pragma once

#include "serial/MessagePresenter.h"

#include <QStringList>

#include <functional>

namespace pwm20::testing {

// Records every message instead of blocking on a modal box, a warning marked "⚠ ". `whileShown`
// runs as if the box were up, for tests that need the program to go on living behind it.
class RecordingMessages final : public MessagePresenter
{
public:
    void showMessage(const QString &text) override
    {
        m_shown << text;
        if (m_whileShown)
            m_whileShown();
    }

    void showWarning(const QString &text) override { showMessage(QStringLiteral(u"⚠ ") + text); }

    QStringList takeShown() { return std::exchange(m_shown, {}); }
    void setWhileShown(std::function<void()> whileShown) { m_whileShown = std::move(whileShown); }

private:
    QStringList m_shown;
    std::function<void()> m_whileShown;
};

} // namespace pwm20::testing
