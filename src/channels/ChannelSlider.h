#pragma once

#include <QScrollBar>

namespace pwm20 {

// A channel's vertical slider: 0 at the top, 255 at the bottom, one step per arrow or track click,
// and one change per released drag.
class ChannelSlider final : public QScrollBar
{
    Q_OBJECT

public:
    static constexpr int offPosition = 255;

    explicit ChannelSlider(QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void endMousePress();

    QWidget *m_watchedWindow = nullptr;
};

} // namespace pwm20
