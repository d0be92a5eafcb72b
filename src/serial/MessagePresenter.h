#pragma once

#include <QString>

namespace pwm20 {

// Shows the user a message and returns once it has been dismissed. The window shows a modal box;
// tests put a recorder here so that nothing blocks.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual void showMessage(const QString &text) = 0;
};

} // namespace pwm20
