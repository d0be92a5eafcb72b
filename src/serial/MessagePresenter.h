#pragma once

#include <QString>

namespace pwm20 {

// Shows the user a message and returns once it has been dismissed. The window shows a modal box;
// tests put a recorder here so that nothing blocks.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    // A plain note, with no icon: that the port is not open.
    virtual void showMessage(const QString &text) = 0;
    // Something failed (a port, a device, a batch, a file): shown with a warning sign.
    virtual void showWarning(const QString &text) = 0;
};

} // namespace pwm20
