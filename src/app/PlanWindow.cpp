#include "PlanWindow.h"

#include "PlanModel.h"
#include "batch/BatchFile.h"
#include "batch/BatchMessages.h"
#include "batch/PlanText.h"
#include "serial/MessagePresenter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace pwm20 {
namespace {

constexpr std::int64_t secondNs = 1'000'000'000;
// A batch that never ends by itself is shown for this long.
constexpr std::int64_t endlessPlanNs = 60 * secondNs;
// Any other is shown to its end, up to this: a few loops nested deep can run for years, and
// ten minutes at the line's pace are some 144,000 frames, planned in a blink.
constexpr std::int64_t longestPlanNs = 600 * secondNs;
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
    BatchPlan plan = planBatch(steps, table, from, endless ? endlessPlanNs : longestPlanNs);
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
    const QRect main = window.frameGeometry();
    const QRect room = window.screen()->availableGeometry();
    const int frameWidth = main.width() - window.width();
    QPoint at(main.right() + 1, main.top());
    if (at.x() + this->width() + frameWidth > room.right() + 1)
        at.setX(main.left() - this->width() - frameWidth);
    if (at.x() < room.left())
        at.setX(room.right() + 1 - this->width() - frameWidth);
    move(at);
}

bool PlanWindow::exportCsv()
{
    QString path = QFileDialog::getSaveFileName(
        this, QCoreApplication::translate("PlanWindow", "导出 CSV"), m_folder(),
        QCoreApplication::translate("PlanWindow", "CSV 文件 (*.csv);;所有文件 (*)"));
    if (path.isEmpty())
        return false;
    // A name typed without a suffix gets the one the dialog offers, as the batch files do.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString error;
    if (!writeBatchFile(path, planCsv(m_model->plan()).toUtf8(), error)) {
        m_messages.showWarning(error);
        return false;
    }
    return true;
}

} // namespace pwm20
