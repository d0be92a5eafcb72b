#include "ChannelSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace pwm20 {

ChannelSlider::ChannelSlider(QWidget *parent) : QScrollBar(Qt::Vertical, parent)
{
    setRange(positionOf(ChannelTable::highestValue), positionOf(ChannelTable::lowestValue));
    setSingleStep(1);
    setPageStep(1);
    setValue(offPosition);
    // A drag writes one frame, on release, not one per pixel.
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    // The toolkit's "Scroll here", "Top" and "Bottom" would throw a servo across its whole range.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // With tracking off a drag moves the slider once, on release, as the wheel moves it: the
    // release tells the two apart.
    connect(this, &QAbstractSlider::sliderReleased, this,
            [this] { m_dropping = sliderPosition() != value(); });
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        m_dropped = std::exchange(m_dropping, false) && action == SliderMove;
    });
}

void ChannelSlider::mousePressEvent(QMouseEvent *event)
{
    // Only a plain left press steps or drags: a middle click or a shift click would jump the
    // thumb straight to the pointer.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QMouseEvent plain(event->type(), event->position(), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(), Qt::NoModifier,
                      event->pointingDevice());
    QScrollBar::mousePressEvent(&plain);
    event->setAccepted(plain.isAccepted());
}

void ChannelSlider::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    // A scroll bar draws no focus of its own, yet the arrow keys move this one: show it has them.
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void ChannelSlider::showEvent(QShowEvent *event)
{
    QScrollBar::showEvent(event);
    if (m_watchedWindow != window()) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = window();
        m_watchedWindow->installEventFilter(this);
    }
}

bool ChannelSlider::eventFilter(QObject *watched, QEvent *event)
{
    // A modal box swallows the mouse release, and a pressed arrow would go on stepping (and
    // raising box after box) behind it: the press ends when the window is blocked.
    if (watched == m_watchedWindow && event->type() == QEvent::WindowBlocked)
        endMousePress();
    return QScrollBar::eventFilter(watched, event);
}

void ChannelSlider::endMousePress()
{
    if (!isSliderDown() && repeatAction() == SliderNoAction)
        return;
    const QPointF inside(width() / 2.0, height() / 2.0);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, mapToGlobal(inside), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    mouseReleaseEvent(&release);
}

} // namespace pwm20
