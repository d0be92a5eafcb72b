#include "BatchArea.h"

#include "BoxText.h"
#include "PlanWindow.h"
#include "RecentFolder.h"
#include "batch/BatchMessages.h"
#include "serial/MessagePresenter.h"
#include "serial/PortMessages.h"
#include "serial/SerialService.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

namespace pwm20 {
namespace {

const QString batchFileFilter()
{
    return QCoreApplication::translate("BatchArea", "文本文件 (*.txt);;所有文件 (*)");
}

} // namespace

BatchArea::BatchArea(QTextEdit &editor, QPushButton &button, SerialService &comm,
                     MessagePresenter &messages, BatchOutput &output, const ChannelTable &channels,
                     RecentFolder *recentFolder)
    : m_editor(editor), m_button(button), m_comm(comm), m_messages(messages), m_output(output),
      m_channels(channels), m_player(output, comm.line(), channels), m_recentFolder(recentFolder)
{
    m_insertPose = addAction(QCoreApplication::translate("BatchArea", "插入当前姿态"),
                             QKeySequence(Qt::CTRL | Qt::Key_I), &BatchArea::insertCurrentPose);
    m_insertMove = addAction(QCoreApplication::translate("BatchArea", "插入移动"),
                             QKeySequence(Qt::CTRL | Qt::Key_M), &BatchArea::insertMove);
    // Spelt out: not every desktop's key scheme has a Save As.
    m_open = addAction(QCoreApplication::translate("BatchArea", "打开…"),
                       QKeySequence(Qt::CTRL | Qt::Key_O), &BatchArea::chooseFileToOpen);
    m_save = addAction(QCoreApplication::translate("BatchArea", "保存"),
                       QKeySequence(Qt::CTRL | Qt::Key_S), &BatchArea::save);
    m_saveAs =
        addAction(QCoreApplication::translate("BatchArea", "另存为…"),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &BatchArea::chooseFileToSave);
    m_showPlan = addAction(QCoreApplication::translate("BatchArea", "查看计划…"), QKeySequence(),
                           &BatchArea::showPlan);
    m_edit = addAction(QCoreApplication::translate("BatchArea", "动作编辑…"),
                       QKeySequence(Qt::CTRL | Qt::Key_E), &BatchArea::editorRequested);
    m_editor.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_editor, &QTextEdit::customContextMenuRequested, this, &BatchArea::showMenu);
    connect(&m_player, &BatchPlayer::lineStarted, this, &BatchArea::highlightLine);
    connect(&m_player, &BatchPlayer::lineStarted, this, &BatchArea::lineStarted);
    connect(&m_player, &BatchPlayer::finished, this, [this] {
        m_recording = false;
        showRunning(false);
        Q_EMIT playingEnded();
    });
}

template <typename Result>
QAction *BatchArea::addAction(const QString &text, const QKeySequence &keys,
                              Result (BatchArea::*act)())
{
    auto *action = new QAction(text, &m_editor);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, act);
    m_editor.addAction(action);
    return action;
}

void BatchArea::startOrStop()
{
    if (m_player.isRunning())
        interrupt();
    else
        start();
}

void BatchArea::start()
{
    std::optional<std::vector<BatchStep>> steps = checkedSteps();
    if (steps && !steps->empty())
        play(std::move(*steps));
}

bool BatchArea::play(std::vector<BatchStep> steps,
                     const std::function<void(const QString &)> &tellStretched)
{
    if (!m_comm.portOpen()) {
        m_messages.showMessage(notOpenMessage());
        return false;
    }
    // The steps' lines are highlighted where the text holds them now.
    readLines();
    // A move that must take longer to keep its channels' limits is never silent.
    constexpr qint64 planNs = 600'000'000'000;
    m_playedFrom = m_output.channelValues();
    BatchPlan plan = planBatch(steps, m_channels, m_playedFrom, planNs);
    // A lead-in of no line (playing from a row) is nothing the user wrote.
    std::erase_if(plan.stretched, [](const StretchedMove &move) { return move.line == 0; });
    if (!plan.stretched.empty() && tellStretched)
        tellStretched(stretchedMovesMessage(plan.stretched, m_channels));
    else if (!plan.stretched.empty())
        m_messages.showMessage(stretchedMovesMessage(plan.stretched, m_channels));
    showRunning(true);
    m_playedSteps = steps;
    m_sent.clear();
    // The player starts once frames written before have left the line, as its plan does.
    m_playStartNs = std::max(m_comm.line().nowNs(), m_comm.line().freeAtNs());
    m_recording = true;
    Q_EMIT playingStarted();
    m_player.start(std::move(steps));
    return true;
}

void BatchArea::frameWritten(int channel, int value)
{
    if (m_recording)
        m_sent.push_back({m_comm.line().freeAtNs() - m_playStartNs, channel, value});
    Q_EMIT boardChanged();
}

QTextDocument &BatchArea::document() const
{
    return *m_editor.document();
}

std::optional<std::vector<BatchStep>> BatchArea::checkedSteps()
{
    const QByteArray text = readLines();
    const std::string_view view(text.constData(), std::size_t(text.size()));
    const BatchScript script = parseBatch(view, m_channels);
    if (script.error) {
        m_editor.setTextCursor(lineCursor(script.error->line, false));
        m_editor.setFocus();
        m_messages.showWarning(batchErrorMessage(*script.error, m_channels));
        return std::nullopt;
    }
    return script.steps;
}

QByteArray BatchArea::readLines()
{
    QByteArray text = boxText(*m_editor.document()).toUtf8();
    m_lines = boxLines(std::string_view(text.constData(), std::size_t(text.size())));
    return text;
}

void BatchArea::showPlan()
{
    const std::optional<std::vector<BatchStep>> steps = checkedSteps();
    if (!steps)
        return;
    // Kept once made, so that a plan shown again comes up where the user left it.
    if (!m_planWindow)
        m_planWindow = new PlanWindow(
            m_messages, [this] { return dialogFolder(); }, m_editor.window());
    m_planWindow->showPlan(*steps, m_channels, m_output.channelValues());
}

bool BatchArea::interrupt()
{
    const bool playing = m_player.isRunning();
    m_recording = false;
    if (m_player.interrupt())
        return true;
    showRunning(false);
    if (playing)
        Q_EMIT playingEnded();
    return false;
}

bool BatchArea::stop()
{
    if (!m_player.isRunning())
        return false;
    m_player.stop();
    m_recording = false;
    showRunning(false);
    Q_EMIT playingEnded();
    return true;
}

void BatchArea::showRunning(bool running)
{
    m_button.setText(running ? QCoreApplication::translate("BatchArea", "停止发送")
                             : QCoreApplication::translate("WindowLayout", "批量发送", "button"));
    m_editor.setReadOnly(running);
    m_insertPose->setEnabled(!running);
    m_insertMove->setEnabled(!running);
    m_open->setEnabled(!running);
    // A plan starts from where the channels stand, and while a batch plays they stand mid-way.
    m_showPlan->setEnabled(!running);
    if (!running)
        m_editor.setExtraSelections({});
}

void BatchArea::highlightLine(int line)
{
    if (line <= 0) {
        m_editor.setExtraSelections({});
        return;
    }
    // All of the line, on each of its rows when it wraps: a selection spans the rows across, and
    // an empty one at its end spans its last row.
    QTextEdit::ExtraSelection whole;
    whole.cursor = lineCursor(line, true);
    QColor colour = m_editor.palette().color(QPalette::Highlight);
    colour.setAlpha(64);
    whole.format.setBackground(colour);
    whole.format.setProperty(QTextFormat::FullWidthSelection, true);
    QTextEdit::ExtraSelection lastRow = whole;
    lastRow.cursor.clearSelection();
    m_editor.setExtraSelections({whole, lastRow});
    m_editor.setTextCursor(lineCursor(line, false));
}

QTextCursor BatchArea::lineCursor(int line, bool whole) const
{
    QTextCursor cursor(m_editor.document());
    const auto index = std::size_t(line - 1);
    if (index >= m_lines.size())
        return cursor;
    cursor.setPosition(m_lines[index].first);
    if (whole)
        cursor.setPosition(m_lines[index].second, QTextCursor::KeepAnchor);
    return cursor;
}

void BatchArea::insertCurrentPose()
{
    QStringList pairs;
    const ChannelValues values = m_output.channelValues();
    for (std::size_t index = 0; index < values.size(); ++index)
        pairs << QStringLiteral("%1=%2").arg(index + 1).arg(values[index]);
    insertLine(pairs.join(u' '));
}

void BatchArea::insertMove()
{
    QStringList pairs;
    const ChannelValues values = m_output.channelValues();
    for (std::size_t index = 0; index < values.size(); ++index) {
        // A channel that is off has no position to glide from.
        const std::string &name = m_channels.channel(int(index + 1)).name;
        if (values[index] != ChannelTable::offValue)
            pairs << QStringLiteral("%1=%2")
                         .arg(name.empty() ? QString::number(index + 1)
                                           : QString::fromStdString(name))
                         .arg(values[index]);
    }
    if (pairs.isEmpty())
        m_messages.showMessage(QCoreApplication::translate(
            "BatchArea", "没有插入移动：所有通道都是关（0）的，而移动从通道现在的位置出发。"
                         "请先用滑块或数值框把要移动的通道设到一个位置。"));
    else
        insertLine(QStringLiteral("move %1 in 500").arg(pairs.join(u' ')));
}

void BatchArea::insertLine(const QString &line)
{
    // A line of its own after the cursor's, so that every line stays one command; a selection is
    // left as it is.
    QTextCursor cursor = m_editor.textCursor();
    cursor.setPosition(cursor.selectionEnd());
    cursor.beginEditBlock();
    if (!cursor.block().text().trimmed().isEmpty()) {
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QStringLiteral("\n"));
    }
    cursor.insertText(line);
    if (!cursor.atBlockEnd())
        cursor.insertText(QStringLiteral("\n"));
    cursor.endEditBlock();
    m_editor.setTextCursor(cursor);
}

bool BatchArea::open(const QString &path)
{
    QString error;
    bool byteOrderMark = false;
    const std::optional<QByteArray> bytes = readBatchFile(path, error, &byteOrderMark);
    if (!bytes) {
        m_messages.showWarning(error);
        return false;
    }
    // One edit, so that Ctrl+Z brings back what the box held before.
    QTextCursor all(m_editor.document());
    all.select(QTextCursor::Document);
    all.insertText(QString::fromUtf8(*bytes));
    m_editor.moveCursor(QTextCursor::Start);
    m_editor.document()->setModified(false);
    m_fileStyle =
        fileStyle(std::string_view(bytes->constData(), std::size_t(bytes->size())), byteOrderMark);
    useFile(path);
    m_undoStepsAtOpen = m_editor.document()->availableUndoSteps();
    return true;
}

bool BatchArea::saveAs(const QString &path)
{
    QString error;
    if (!writeBatchFile(path, fileBytes(boxText(*m_editor.document()), m_fileStyle), error)) {
        m_messages.showWarning(error);
        return false;
    }
    m_editor.document()->setModified(false);
    useFile(path);
    m_undoStepsAtOpen = 0; // the file now holds the text, whatever is undone
    return true;
}

bool BatchArea::save()
{
    // With the Open undone, the box holds another text than that file's: ask where it goes.
    if (m_currentFile.isEmpty() || m_editor.document()->availableUndoSteps() < m_undoStepsAtOpen)
        return chooseFileToSave();
    return saveAs(m_currentFile);
}

bool BatchArea::settleEdits(const QString &question, QWidget *over)
{
    const QTextDocument &document = *m_editor.document();
    if (!document.isModified() || document.isEmpty())
        return true;
    // Another view closes with the edits left in the box, not dropped.
    const QMessageBox::StandardButton answer = QMessageBox::question(
        over ? over : m_editor.window(), QApplication::applicationDisplayName(),
        question.isEmpty()
            ? QCoreApplication::translate("BatchArea", "批量命令框中的修改尚未保存。要保存吗？")
            : question,
        QMessageBox::Save | (question.isEmpty() ? QMessageBox::Discard : QMessageBox::Close) |
            QMessageBox::Cancel,
        QMessageBox::Save);
    return answer == QMessageBox::Discard || answer == QMessageBox::Close ||
           (answer == QMessageBox::Save && save());
}

// By value: Save passes the current file's own name, which the exchange below would empty.
void BatchArea::useFile(QString path)
{
    if (std::exchange(m_currentFile, path) != path)
        Q_EMIT currentFileChanged(path);
    m_folder = QFileInfo(path).absolutePath();
    if (m_recentFolder)
        m_recentFolder->remember(m_folder);
}

QString BatchArea::dialogFolder() const
{
    return m_folder.isEmpty() && m_recentFolder ? m_recentFolder->folder() : m_folder;
}

void BatchArea::showMenu(const QPoint &at)
{
    QMenu *menu = m_editor.createStandardContextMenu(at);
    menu->addSeparator();
    menu->addActions({m_insertPose, m_insertMove, m_open, m_save, m_saveAs});
    menu->addSeparator();
    menu->addAction(m_showPlan);
    menu->addAction(m_edit);
    menu->addAction(QCoreApplication::translate("BatchArea", "通道设置…"), this,
                    &BatchArea::channelSetupRequested);
    menu->exec(m_editor.viewport()->mapToGlobal(at));
    delete menu;
}

void BatchArea::chooseFileToOpen()
{
    if (!settleEdits())
        return;
    const QString path = QFileDialog::getOpenFileName(
        m_editor.window(), QCoreApplication::translate("BatchArea", "打开"), dialogFolder(),
        batchFileFilter());
    if (!path.isEmpty())
        open(path);
}

bool BatchArea::chooseFileToSave()
{
    QFileDialog dialog(m_editor.window(), QCoreApplication::translate("BatchArea", "另存为"),
                       dialogFolder(), batchFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets one, so that the "*.txt" filter shows the file later.
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() &&
           saveAs(dialog.selectedFiles().constFirst());
}

} // namespace pwm20
