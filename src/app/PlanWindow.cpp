#include "PlanWindow.h"

#include "PlanExport.h"
#include "PlanModel.h"
#include "WindowPlace.h"
#include "batch/BatchMessages.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace pwm20 {
namespace {

// The note above the table scrolls beyond this many lines, so that the table keeps its room.
constexpr int noteLines = 5;

} // namespace

PlanWindow::PlanWindow(MessagePresenter &messages, std::function<QString()> folder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_messages(messages), m_folder(std::move(folder))
{
    setWindowTitle(QCoreApplication::translate("PlanWindow", "批量计划"));
    // Closing the main window ends the program, this one open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setReadOnly(true);
    m_note->setFrameShape(QFrame::NoFrame);
    m_note->viewport()->setAutoFillBackground(false);

    m_model = new PlanModel(this);
    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->setWordWrap(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    auto *exportButton =
        new QPushButton(QCoreApplication::translate("PlanWindow", "导出 CSV…"), this);
    exportButton->setObjectName(QStringLiteral("export"));
    connect(exportButton, &QPushButton::clicked, this, &PlanWindow::exportCsv);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
}

void PlanWindow::showPlan(const std::vector<BatchStep> &steps, const ChannelTable &table,
                          const ChannelValues &from)
{
    const bool endless = playsUntilStopped(steps);
    BatchPlan plan = planBatch(steps, table, from, shownPlanNs(steps));
    QStringList note;
    if (endless)
        note << QCoreApplication::translate("PlanWindow", "批量命令不会自行结束：只列出前 60 秒。");
    else if (plan.cut)
        note << QCoreApplication::translate("PlanWindow",
                                            "批量命令 10 分钟内不会结束：只列出前 10 分钟。");
    if (!plan.stretched.empty())
        note << stretchedMovesMessage(plan.stretched, table);
    const QString text = note.join(u'\n');
    m_note->setPlainText(text);
    m_note->setVisible(!text.isEmpty());
    const int lines = std::min(int(text.count(u'\n')) + 1, noteLines);
    m_note->setFixedHeight(lines * m_note->fontMetrics().lineSpacing() +
                           2 * int(m_note->document()->documentMargin()) + 2);

    m_model->setPlan(std::move(plan), table);
    m_table->resizeColumnsToContents();
    m_table->scrollToTop();
    if (!std::exchange(m_placed, true) && parentWidget())
        placeBeside(*parentWidget());
    show();
    raise();
    activateWindow();
}

void PlanWindow::placeBeside(const QWidget &window)
{
    // As tall as the main window and wide enough for the columns, to its right, or its left
    // where the screen has no room; never over it where either side has room.
    int width = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < PlanModel::columns; ++column)
        width += m_table->columnWidth(column);
    const QMargins margins = layout()->contentsMargins();
    // Wide enough too for a note on a stretched move to read on one line.
    constexpr int noteWidth = 520;
    resize(std::max({width + margins.left() + margins.right(), sizeHint().width(), noteWidth}),
           window.height());
    moveBeside(*this, window);
}

bool PlanWindow::exportCsv()
{
    return exportPlanCsv(this, m_model->plan(), m_folder(), m_messages);
}

} // namespace pwm20
