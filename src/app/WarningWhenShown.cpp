#include "WarningWhenShown.h"

#include "serial/MessagePresenter.h"

#include <QEvent>
#include <QWidget>

namespace pwm20 {

WarningWhenShown::WarningWhenShown(QWidget &window, MessagePresenter &messages, QString text)
    : QObject(&window), m_messages(messages), m_text(std::move(text))
{
    window.installEventFilter(this);
}

bool WarningWhenShown::eventFilter(QObject *, QEvent *event)
{
    // Said once the window's first paint is done, so that the box comes over it.
    if (event->type() == QEvent::Paint && !m_due) {
        m_due = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_messages.showWarning(m_text);
                deleteLater();
            },
            Qt::QueuedConnection);
    }
    return false;
}

} // namespace pwm20
