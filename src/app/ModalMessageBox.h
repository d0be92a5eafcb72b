#pragma once

#include "serial/MessagePresenter.h"

#include <QMessageBox>

namespace pwm20 {

// A modal box with the text, one OK button, and the application's name as its title; a warning
// carries the warning sign.
class ModalMessageBox final : public MessagePresenter
{
public:
    explicit ModalMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget *parent) { m_parent = parent; }
    void showMessage(const QString &text) override;
    void showWarning(const QString &text) override;

private:
    void show(QMessageBox::Icon icon, const QString &text);

    QWidget *m_parent = nullptr;
};

} // namespace pwm20
