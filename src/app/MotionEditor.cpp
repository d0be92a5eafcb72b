#include "MotionEditor.h"

#include "BatchArea.h"
#include "BoxText.h"
#include "MotionPlot.h"
#include "PlanExport.h"
#include "SequenceDelegate.h"
#include "SequenceModel.h"
#include "WindowPlace.h"
#include "batch/BatchMessages.h"
#include "sequence/KeyframeText.h"
#include "sequence/PlayFrom.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace pwm20 {
namespace {

// Edits come in bursts (a held key, an undo after another): the plan waits for a pause.
constexpr int planPauseMs = 150;
constexpr int readPauseMs = 100;

std::string_view viewOf(const QByteArray &text)
{
    return {text.constData(), std::size_t(text.size())};
}

} // namespace

MotionEditor::MotionEditor(BatchArea &batch, const ChannelTable &table,
                           std::function<ChannelValues()> values, MessagePresenter &messages,
                           QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_batch(batch), m_table(table), m_values(std::move(values)),
      m_messages(messages)
{
    setObjectName(QStringLiteral("MotionEditor"));
    // Closing the main window ends the program, this one open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_model = new SequenceModel(this);
    m_steps = new QTableView(this);
    m_steps->setObjectName(QStringLiteral("steps"));
    m_steps->setModel(m_model);
    m_steps->setItemDelegate(new SequenceDelegate(m_steps));
    m_steps->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_steps->setSelectionMode(QAbstractItemView::SingleSelection);
    m_steps->setWordWrap(false);
    m_steps->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_steps->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_steps->setContextMenuPolicy(Qt::CustomContextMenu);
    // A click into the table, to edit a cell of it, comes after typing in the box.
    m_steps->installEventFilter(this);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->hide();
    m_plot = new MotionPlot(this);
    m_plot->setObjectName(QStringLiteral("plot"));

    auto *top = new QWidget(this);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(m_steps);
    topLayout->addWidget(m_message);
    auto *bottom = new QWidget(this);
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_note);
    bottomLayout->addWidget(m_plot);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(bottom);
    setCentralWidget(split);
    createActions();

    QTextDocument &document = m_batch.document();
    // Typing in the batch box is read after a pause, not at every key: a long text takes a
    // while to read. The editor's own edits are read at once.
    m_readTimer.setSingleShot(true);
    m_readTimer.setInterval(readPauseMs);
    connect(&m_readTimer, &QTimer::timeout, this, [this] { reread(); });
    // Hidden, it reads nothing until shown again.
    connect(&document, &QTextDocument::contentsChanged, this, [this] {
        if (!m_editing && isVisible())
            m_readTimer.start();
    });
    connect(&document, &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    connect(&document, &QTextDocument::undoAvailable, m_undo, &QAction::setEnabled);
    connect(&document, &QTextDocument::redoAvailable, m_redo, &QAction::setEnabled);
    connect(&m_batch, &BatchArea::currentFileChanged, this, &MotionEditor::showTitle);
    connect(&m_batch, &BatchArea::playingStarted, this, [this] {
        // A plan still waiting for a pause is made now, from where the play starts: made later
        // it would start mid-way, or draw over what the play sent.
        readNow();
        if (m_planTimer.isActive()) {
            m_planTimer.stop();
            replot();
        }
        showPlaying(true);
    });
    connect(&m_batch, &BatchArea::playingEnded, this, [this] {
        showPlaying(false);
        showPlayed();
    });
    // The plan starts from where the servos stand: moved by hand, they start it elsewhere. A
    // play's own frames wait for its end, whose plot shows what it sent.
    connect(&m_batch, &BatchArea::boardChanged, this, [this] {
        if (!m_batch.isPlaying() && isVisible())
            m_planTimer.start();
    });
    connect(&m_batch, &BatchArea::lineStarted, this, [this](int line) {
        m_model->setPlayingRow(line - 1);
        m_steps->scrollTo(m_model->index(line - 1, 0));
    });
    connect(m_model, &SequenceModel::lineEdited, this, &MotionEditor::setLine);
    connect(m_model, &SequenceModel::editRefused, this, &MotionEditor::showMessage);
    connect(m_steps->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                m_plot->showSpan(spanOfRow(current.isValid() ? current.row() : -1));
            });
    m_planTimer.setSingleShot(true);
    m_planTimer.setInterval(planPauseMs);
    connect(&m_planTimer, &QTimer::timeout, this, &MotionEditor::replot);

    m_undo->setEnabled(document.isUndoAvailable());
    m_redo->setEnabled(document.isRedoAvailable());
    setWindowModified(document.isModified());
    showTitle();
    reread();
    showPlaying(m_batch.isPlaying());
    replot();

    // Tall enough for the table and the plot both to be read (the main window is short), and
    // as wide as the room beside the main window allows, down to what the table needs.
    constexpr int widest = 1000, narrowest = 640, tallest = 760, windowFrame = 16;
    QSize size(widest, tallest);
    if (parent) {
        const QRect room = parent->screen()->availableGeometry();
        const int beside = room.width() - parent->frameGeometry().width() - windowFrame;
        size = QSize(std::clamp(beside, narrowest, widest), std::min(tallest, room.height()));
    }
    resize(size);
    // The plot has the more to show: keyframes and limits of every channel over time.
    split->setSizes({size.height() * 2 / 5, size.height() * 3 / 5});
    if (parent)
        moveBeside(*this, *parent);
}

QAction *MotionEditor::addAction(const QString &name, const QString &text, const QKeySequence &keys,
                                 const std::function<void()> &act)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcut(keys);
    // The keys are said where the button is, or nobody finds F5.
    if (!keys.isEmpty())
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(QChar(0x2026)),
                                                         keys.toString(QKeySequence::NativeText)));
    // Every action works on the text as it is now, typing of a moment ago included.
    connect(action, &QAction::triggered, this, [this, act] {
        readNow();
        act();
    });
    QWidget::addAction(action);
    return action;
}

void MotionEditor::createActions()
{
    auto *bar = addToolBar(QCoreApplication::translate("MotionEditor", "步骤"));
    bar->setObjectName(QStringLiteral("tools"));
    const auto edit = [this](const QString &name, const QString &text, const QKeySequence &keys,
                             const std::function<void()> &act) {
        m_editActions.push_back(addAction(name, text, keys, act));
        return m_editActions.back();
    };
    edit(QStringLiteral("insert"), QCoreApplication::translate("MotionEditor", "插入行"),
         QKeySequence(Qt::Key_Insert), [this] { insertRow(); });
    // Delete alone clears a cell, as in a spreadsheet; the row goes with Ctrl.
    edit(QStringLiteral("delete"), QCoreApplication::translate("MotionEditor", "删除行"),
         QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { deleteRow(); });
    edit(QStringLiteral("duplicate"), QCoreApplication::translate("MotionEditor", "复制行"),
         QKeySequence(Qt::CTRL | Qt::Key_D), [this] { duplicateRow(); });
    edit(QStringLiteral("up"), QCoreApplication::translate("MotionEditor", "上移"),
         QKeySequence(Qt::ALT | Qt::Key_Up), [this] { moveRow(-1); });
    edit(QStringLiteral("down"), QCoreApplication::translate("MotionEditor", "下移"),
         QKeySequence(Qt::ALT | Qt::Key_Down), [this] { moveRow(1); });
    m_undo = edit(QStringLiteral("undo"), QCoreApplication::translate("MotionEditor", "撤销"),
                  QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undoOrRedo(&QTextDocument::undo); });
    m_redo = edit(QStringLiteral("redo"), QCoreApplication::translate("MotionEditor", "重做"),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                  [this] { undoOrRedo(&QTextDocument::redo); });
    edit(QStringLiteral("capture"), QCoreApplication::translate("MotionEditor", "记录姿态"),
         QKeySequence(Qt::CTRL | Qt::Key_R), [this] { capturePose(); });
    edit(QStringLiteral("update"), QCoreApplication::translate("MotionEditor", "更新姿态"),
         QKeySequence(), [this] { updatePose(); });
    QAction *clear =
        edit(QStringLiteral("clear"), QCoreApplication::translate("MotionEditor", "清空单元格"),
             QKeySequence(Qt::Key_Delete), [this] { clearCell(); });
    const std::vector<QAction *> rows = m_editActions;
    m_playActions = {
        addAction(QStringLiteral("play"), QCoreApplication::translate("MotionEditor", "播放"),
                  QKeySequence(Qt::Key_F5), [this] { playAll(); }),
        addAction(QStringLiteral("playFrom"),
                  QCoreApplication::translate("MotionEditor", "从此步播放"),
                  QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] { playFromHere(); }),
    };
    m_loop = addAction(QStringLiteral("loop"), QCoreApplication::translate("MotionEditor", "循环"),
                       QKeySequence(), [] {});
    m_loop->setCheckable(true);
    m_stop = addAction(QStringLiteral("stop"), QCoreApplication::translate("MotionEditor", "停止"),
                       QKeySequence(Qt::Key_Escape), [this] { m_batch.interrupt(); });
    QAction *save =
        addAction(QStringLiteral("save"), QCoreApplication::translate("MotionEditor", "保存"),
                  QKeySequence(Qt::CTRL | Qt::Key_S), [this] { m_batch.save(); });
    QAction *saveAs = addAction(
        QStringLiteral("saveAs"), QCoreApplication::translate("MotionEditor", "另存为…"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { m_batch.chooseFileToSave(); });
    QAction *exportCsv = addAction(QStringLiteral("exportCsv"),
                                   QCoreApplication::translate("MotionEditor", "导出 CSV…"),
                                   QKeySequence(), [this] { exportPlan(); });
    bar->addActions({rows.begin(), rows.begin() + 7});
    bar->addSeparator();
    bar->addActions({rows[7], rows[8]});
    // Two rows, so that no button hides behind the overflow arrow in a narrow window or in
    // English.
    addToolBarBreak();
    QToolBar *playBar = addToolBar(QCoreApplication::translate("MotionEditor", "播放"));
    playBar->setObjectName(QStringLiteral("playTools"));
    playBar->addActions({m_playActions[0], m_playActions[1], m_loop, m_stop});
    playBar->addSeparator();
    playBar->addActions({save, saveAs, exportCsv});

    connect(m_steps, &QWidget::customContextMenuRequested, this,
            [this, rows, clear](const QPoint &at) {
                QMenu menu(this);
                menu.addAction(clear);
                menu.addActions({rows.begin(), rows.begin() + 7});
                menu.addSeparator();
                menu.addActions({rows[7], rows[8], m_playActions[1]});
                menu.exec(m_steps->viewport()->mapToGlobal(at));
            });
}

void MotionEditor::showTitle()
{
    const QString file = QFileInfo(m_batch.currentFile()).fileName();
    setWindowTitle(file.isEmpty()
                       ? QCoreApplication::translate("MotionEditor", "动作编辑器") +
                             QStringLiteral("[*]")
                       : QCoreApplication::translate("MotionEditor", "动作编辑器 — %1").arg(file) +
                             QStringLiteral("[*]"));
}

int MotionEditor::selectedRow() const
{
    const QModelIndexList rows = m_steps->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void MotionEditor::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex at = m_model->index(row, std::max(m_steps->currentIndex().column(), 0));
    m_steps->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    m_steps->scrollTo(at);
}

void MotionEditor::showEvent(QShowEvent *event)
{
    // The box may have changed while the editor was closed.
    reread();
    QMainWindow::showEvent(event);
}

void MotionEditor::exportPlan()
{
    // What is written is the plan of the text as it reads now, or nothing.
    if (!m_checked) {
        m_message->setText(m_checkMessage);
        return;
    }
    if (m_planTimer.isActive()) {
        m_planTimer.stop();
        replot();
    }
    // Named after the batch file, where there is one: reach.txt's plan is reach.csv.
    const QFileInfo file(m_batch.currentFile());
    exportPlanCsv(this, m_plan,
                  file.fileName().isEmpty()
                      ? m_batch.dialogFolder()
                      : QDir(m_batch.dialogFolder())
                            .filePath(file.completeBaseName() + QStringLiteral(".csv")),
                  m_messages);
}

bool MotionEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_steps && event->type() == QEvent::FocusIn)
        readNow();
    return QMainWindow::eventFilter(watched, event);
}

void MotionEditor::readNow()
{
    if (m_readTimer.isActive()) {
        m_readTimer.stop();
        reread();
    }
}

void MotionEditor::reread(int select)
{
    m_readTimer.stop();
    const int keep = select >= 0 ? select : selectedRow();
    const int column = m_steps->currentIndex().column();
    const QByteArray text = boxText(m_batch.document()).toUtf8();
    m_model->setSequence(MotionSequence::read(viewOf(text), m_table), m_table);
    m_steps->clearSpans();
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->isTextRow(row))
            m_steps->setSpan(row, SequenceModel::DurationColumn, 1,
                             m_model->columnCount() - SequenceModel::DurationColumn);
    if (keep >= 0) {
        const QModelIndex at =
            m_model->index(std::min(keep, m_model->rowCount() - 1), std::max(column, 0));
        m_steps->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    }
    check();
    m_planTimer.start();
}

void MotionEditor::check()
{
    const QByteArray text = boxText(m_batch.document()).toUtf8();
    const BatchScript script = parseBatch(viewOf(text), m_table);
    if (script.error) {
        m_checked.reset();
        // The plot cannot follow a text that does not read: it says whose plan it shows.
        m_note->setText(
            QCoreApplication::translate("MotionEditor", "文本有误：图中仍是上次无误时的计划。"));
        m_note->show();
        m_model->setErrorRow(script.error->line - 1);
        m_steps->scrollTo(m_model->index(script.error->line - 1, 0));
        m_checkMessage = batchErrorMessage(*script.error, m_table);
    } else {
        m_checked = script.steps;
        m_model->setErrorRow(-1);
        m_checkMessage.clear();
    }
    m_message->setText(m_checkMessage);
}

void MotionEditor::showMessage(const QString &text)
{
    // The text's fault stays in sight under what is said now.
    m_message->setText(m_checkMessage.isEmpty() ? text : text + u'\n' + m_checkMessage);
}

void MotionEditor::replot()
{
    if (!m_checked)
        return;
    const ChannelValues from = m_values();
    m_plan = planBatch(*m_checked, m_table, from, shownPlanNs(*m_checked));
    m_plotted = sequencePlot(*m_checked, m_plan, m_table, from);
    m_model->setStarts(m_plotted.spans);
    m_plot->showPlot(m_plotted, m_table);
    m_plot->showSpan(spanOfRow(selectedRow()));
    const bool cut = m_plotted.cut || m_plan.cut;
    m_note->setText(playsUntilStopped(*m_checked)
                        ? QCoreApplication::translate("MotionEditor", "只显示前 60 秒。")
                        : QCoreApplication::translate("MotionEditor", "只显示前 10 分钟。"));
    m_note->setVisible(cut);
}

std::optional<StepSpan> MotionEditor::spanOfRow(int row) const
{
    const StepSpan *span = row >= 0 ? m_plotted.spanOf(row + 1) : nullptr;
    return span ? std::optional(*span) : std::nullopt;
}

std::vector<std::pair<int, int>> MotionEditor::lines() const
{
    const QByteArray text = boxText(m_batch.document()).toUtf8();
    return boxLines(viewOf(text));
}

QString MotionEditor::lineText(int row) const
{
    return QString::fromStdString(m_model->sequence().rows().at(std::size_t(row)).text);
}

void MotionEditor::editBox(int from, int to, const QString &text, int select)
{
    QTextCursor cursor(&m_batch.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    m_editing = true;
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    m_editing = false;
    reread(select);
}

void MotionEditor::undoOrRedo(void (QTextDocument::*step)())
{
    // Read at once, as the editor's own edits are.
    m_editing = true;
    (m_batch.document().*step)();
    m_editing = false;
    reread();
}

void MotionEditor::setLine(int row, const QString &text)
{
    const auto at = lines().at(std::size_t(row));
    editBox(at.first, at.second, text, row);
}

void MotionEditor::insertLine(int after, const QString &text)
{
    const std::vector<std::pair<int, int>> all = lines();
    const int row = after < 0 ? int(all.size()) - 1 : after;
    // A text that ends with a line end has an empty last row: a line added after it goes before
    // it, so that the text still ends with its line end.
    if (const auto last = all.back(); row + 1 == int(all.size()) && last.first == last.second) {
        editBox(last.first, last.first, row > 0 ? text + u'\n' : text, row);
        return;
    }
    const int end = all.at(std::size_t(row)).second;
    editBox(end, end, u'\n' + text, row + 1);
}

void MotionEditor::insertRow()
{
    insertLine(selectedRow(), QString());
}

void MotionEditor::deleteRow()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::vector<std::pair<int, int>> all = lines();
    const auto index = std::size_t(row);
    if (index + 1 < all.size())
        editBox(all[index].first, all[index + 1].first, QString(), row);
    else if (row > 0)
        editBox(all[index - 1].second, all[index].second, QString(), row - 1);
    else
        editBox(all[index].first, all[index].second, QString(), row);
}

void MotionEditor::clearCell()
{
    // A channel's cell of a keyframe: the step leaves that channel alone from now on.
    const QModelIndex at = m_steps->currentIndex();
    if (at.isValid() && m_model->channelAt(at.column()) != 0 && !m_model->isTextRow(at.row()))
        m_model->setData(at, QVariant(), Qt::EditRole);
}

void MotionEditor::duplicateRow()
{
    const int row = selectedRow();
    if (row >= 0)
        insertLine(row, lineText(row));
}

void MotionEditor::moveRow(int by)
{
    const int row = selectedRow();
    // The two lines swap, and so does nothing else: the end between them stays as it was.
    const int first = by < 0 ? row - 1 : row;
    if (row < 0 || first < 0 || first + 1 >= m_model->rowCount())
        return;
    const std::vector<std::pair<int, int>> all = lines();
    const auto upper = all[std::size_t(first)];
    const auto lower = all[std::size_t(first + 1)];
    const QString end = boxText(m_batch.document()).mid(upper.second, lower.first - upper.second);
    editBox(upper.first, lower.second, lineText(first + 1) + end + lineText(first), row + by);
}

void MotionEditor::capturePose()
{
    const int row = selectedRow();
    const std::size_t next = row < 0 ? m_model->sequence().rows().size() : std::size_t(row + 1);
    const std::optional<std::string> line =
        captureLine(m_values(), m_model->sequence().poseBefore(next), m_table);
    if (!line) {
        showMessage(QCoreApplication::translate(
            "MotionEditor", "没有可记录的通道：所有通道都是关（0）的，或与此处的姿态相同。"));
        return;
    }
    insertLine(row, QString::fromStdString(*line));
}

void MotionEditor::updatePose()
{
    const int row = selectedRow();
    if (row < 0 || m_model->isTextRow(row)) {
        showMessage(
            QCoreApplication::translate("MotionEditor", "请先选中一个关键帧（姿态或移动）的行。"));
        return;
    }
    const SequenceRow updated =
        updatedPose(m_model->sequence().rows()[std::size_t(row)], m_values(),
                    m_model->sequence().poseBefore(std::size_t(row)));
    setLine(row, QString::fromStdString(keyframeLine(updated, m_table)));
}

// The actions read the text first, so the steps checked are the text's as it is now.
void MotionEditor::playAll()
{
    if (m_checked)
        play(*m_checked);
}

void MotionEditor::playFromHere()
{
    if (!m_checked)
        return;
    const int row = std::max(selectedRow(), 0);
    std::vector<BatchStep> steps = stepsFrom(
        *m_checked, row + 1, m_model->sequence().poseBefore(std::size_t(row)), m_values());
    if (steps.empty()) {
        showMessage(QCoreApplication::translate("MotionEditor", "从这一行起没有要播放的步骤。"));
        return;
    }
    play(std::move(steps));
}

void MotionEditor::play(std::vector<BatchStep> steps)
{
    if (steps.empty())
        return;
    // The plot flags stretched moves already: the line under the table says it, no box.
    m_batch.play(m_loop->isChecked() ? loopedSteps(std::move(steps)) : std::move(steps),
                 [this](const QString &text) { showMessage(text); });
}

void MotionEditor::showPlaying(bool playing)
{
    m_model->setEditable(!playing);
    if (playing)
        m_steps->closePersistentEditor(m_steps->currentIndex());
    for (QAction *action : m_editActions)
        action->setEnabled(!playing);
    for (QAction *action : m_playActions)
        action->setEnabled(!playing);
    m_stop->setEnabled(playing);
    if (!playing) {
        m_model->setPlayingRow(-1);
        m_undo->setEnabled(m_batch.document().isUndoAvailable());
        m_redo->setEnabled(m_batch.document().isRedoAvailable());
    }
}

void MotionEditor::showPlayed()
{
    const std::vector<SentFrame> &sent = m_batch.sentFrames();
    const std::int64_t forNs = sent.empty() ? 0 : sent.back().ns + secondNs;
    BatchPlan plan = planBatch(m_batch.playedSteps(), m_table, m_batch.playedFrom(), forNs);
    // What was sent is drawn over the plan of what was played (from a row, looped, from where the
    // servos stood), and stays until the text changes.
    m_plotted = sequencePlot(m_batch.playedSteps(), plan, m_table, m_batch.playedFrom());
    m_plan = plan; // what an export writes is the plan shown
    m_plot->showPlot(m_plotted, m_table);
    m_plot->showSent(sent);
    m_plot->showSpan(spanOfRow(selectedRow()));
    const std::optional<PlanDifference> most = largestDifference(plan, m_batch.playedFrom(), sent);
    if (!most || most->value == 0) {
        showMessage(QCoreApplication::translate("MotionEditor", "已发送 %1 帧，与计划一致。")
                        .arg(sent.size()));
        return;
    }
    const std::string &name = m_table.channel(most->channel).name;
    const QString channel = QStringLiteral("PWM%1").arg(most->channel) +
                            (name.empty() ? QString() : u' ' + QString::fromStdString(name));
    showMessage(
        QCoreApplication::translate("MotionEditor", "已发送 %1 帧；与计划最大相差 %2（%3，%4 s）")
            .arg(sent.size())
            .arg(most->value)
            .arg(channel)
            .arg(double(most->ns) / secondNs, 0, 'f', 3));
}

void MotionEditor::closeWithMain()
{
    m_closingWithMain = true;
    close();
}

void MotionEditor::closeEvent(QCloseEvent *event)
{
    // The edits are the box's: closing leaves them there, saved or not.
    if (!m_closingWithMain &&
        !m_batch.settleEdits(
            QCoreApplication::translate(
                "MotionEditor",
                "动作编辑器中的修改尚未保存。要保存吗？不保存时，修改仍留在批量命令框中。"),
            this)) {
        event->ignore();
        return;
    }
    m_closingWithMain = false;
    event->accept();
}

} // namespace pwm20
