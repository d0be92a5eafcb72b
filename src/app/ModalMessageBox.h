#pragma once

#include "serial/MessagePresenter.h"

class QWidget;

namespace pwm20 {

// A modal box with the text, one OK button, no icon, and the application's name as its title.
class ModalMessageBox final : public MessagePresenter
{
public:
    explicit ModalMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget *parent) { m_parent = parent; }
    void showMessage(const QString &text) override;

private:
    QWidget *m_parent = nullptr;
};

} // namespace pwm20
