#include "BatchArea.h"

#include "PlanWindow.h"
#include "RecentFolder.h"
#include "batch/BatchLines.h"
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

// The box's text as its lines are: paragraphs end in U+2029, as do the frames that pasted rich
// text brings, and U+2028 and no-break spaces stay as typed.
QString boxText(const QTextEdit &editor)
{
    return editor.document()
        ->toRawText()
        .replace(QChar(0xFDD0), QChar::ParagraphSeparator)
        .replace(QChar(0xFDD1), QChar::ParagraphSeparator);
}

// The length of UTF-8 text in UTF-16 code units, the box's positions.
int boxLength(std::string_view text)
{
    int length = 0;
    for (const char byte : text)
        length += int((byte & 0xC0) != 0x80) + int((byte & 0xF8) == 0xF0);
    return length;
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
    m_editor.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_editor, &QTextEdit::customContextMenuRequested, this, &BatchArea::showMenu);
    connect(&m_player, &BatchPlayer::lineStarted, this, &BatchArea::highlightLine);
    connect(&m_player, &BatchPlayer::finished, this, [this] {
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
    const std::optional<std::vector<BatchStep>> steps = checkedSteps();
    if (!steps || steps->empty())
        return;
    if (!m_comm.portOpen()) {
        m_messages.showMessage(notOpenMessage());
        return;
    }
    // A move that must take longer to keep its channels' limits is never silent.
    constexpr qint64 planNs = 600'000'000'000;
    const BatchPlan plan = planBatch(*steps, m_channels, m_output.channelValues(), planNs);
    if (!plan.stretched.empty())
        m_messages.showMessage(stretchedMovesMessage(plan.stretched, m_channels));
    showRunning(true);
    m_player.start(*steps);
}

std::optional<std::vector<BatchStep>> BatchArea::checkedSteps()
{
    const QByteArray text = boxText(m_editor).toUtf8();
    const std::string_view view(text.constData(), std::size_t(text.size()));
    m_lines.clear();
    int at = 0;
    for (const TextLine &line : splitLines(view)) {
        m_lines.emplace_back(at, at + boxLength(line.text));
        at = m_lines.back().second + boxLength(line.end);
    }
    const BatchScript script = parseBatch(view, m_channels);
    if (script.error) {
        m_editor.setTextCursor(lineCursor(script.error->line, false));
        m_editor.setFocus();
        m_messages.showWarning(batchErrorMessage(*script.error, m_channels));
        return std::nullopt;
    }
    return script.steps;
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
    if (!writeBatchFile(path, fileBytes(boxText(m_editor), m_fileStyle), error)) {
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

bool BatchArea::settleEdits()
{
    const QTextDocument &document = *m_editor.document();
    if (!document.isModified() || document.isEmpty())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        m_editor.window(), QApplication::applicationDisplayName(),
        QCoreApplication::translate("BatchArea", "批量命令框中的修改尚未保存。要保存吗？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Discard || (answer == QMessageBox::Save && save());
}

void BatchArea::useFile(const QString &path)
{
    m_currentFile = path;
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
