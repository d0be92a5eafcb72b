#pragma once

#include "batch/BatchScript.h"
#include "channels/GroupFrames.h"

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QTableView;

namespace pwm20 {

class MessagePresenter;
class PlanModel;

// What a batch would send, frame by frame, shown before it plays: a window of its own beside
// the main one, which a new plan replaces; the plan can be written out as CSV.
class PlanWindow final : public QWidget
{
    Q_OBJECT

public:
    // `folder` names the folder the export dialog starts in, asked each time.
    PlanWindow(MessagePresenter &messages, std::function<QString()> folder, QWidget *parent);

    // Plans the batch from channels standing at `from`, shows it and brings the window up. A
    // batch that only ends when stopped is planned for its first minute, any other for ten at most.
    void showPlan(const std::vector<BatchStep> &steps, const ChannelTable &table,
                  const ChannelValues &from);
    // Asks for a file and writes the plan to it as CSV: true once written.
    bool exportCsv();

private:
    void placeBeside(const QWidget &window);

    MessagePresenter &m_messages;
    std::function<QString()> m_folder;
    PlanModel *m_model = nullptr;
    QPlainTextEdit *m_note = nullptr;
    QTableView *m_table = nullptr;
    bool m_placed = false;
};

} // namespace pwm20
