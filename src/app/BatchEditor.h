#pragma once

#include <QTextEdit>

namespace pwm20 {

// The batch box. Tab indents, as a batch's loops are written; Ctrl+Tab and Ctrl+Shift+Tab move on
// to the next or the previous control. Its fixed-pitch font sets 1 apart from l and 0 from O,
// which the window's Song face does not.
class BatchEditor final : public QTextEdit
{
    Q_OBJECT

public:
    explicit BatchEditor(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void chooseWrapping(int position, int added);
};

} // namespace pwm20
