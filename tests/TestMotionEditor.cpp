#include "WindowHarness.h"

#include "app/Language.h"
#include "app/MotionEditor.h"
#include "app/SequenceModel.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>
#include <QXYSeries>

using namespace pwm20;
using namespace pwm20::testing;
using namespace Qt::StringLiterals;

// The motion editor on the real window and board: its edits are the batch box's, one line and one
// undo step each; it checks, captures, plays and closes as the box does.
class TestMotionEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        installLanguage(m_chinese, u"zh"_s);
        // Channel 5 is a shoulder that takes 7..32; a stopped batch sends nothing more.
        QFile setup(m_home.filePath(u"arm.ini"_s));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write("[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\n[batch]\non_stop=none");
    }
    void init()
    {
        m_window = std::make_unique<WindowHarness>();
        m_window->form().useSetup(m_home.filePath(u"arm.ini"_s));
        // Ctrl+E in the batch box, as its menu says.
        m_window->form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_window->form()));
        box().setFocus();
        QTest::keyClick(&box(), Qt::Key_E, Qt::ControlModifier);
        m_editor = m_window->form().findChild<MotionEditor *>(u"MotionEditor"_s);
        QVERIFY(m_editor && m_editor->isVisible());
    }
    void cleanup() { m_window.reset(); }
    void rowEdits_data();
    void rowEdits();
    void checks();
    void plays();
    void closing();

private:
    QTextEdit &box() { return m_window->control<QTextEdit>(u"RichTextBox1"_s); }
    QTableView &steps() { return *m_editor->findChild<QTableView *>(u"steps"_s); }
    SequenceModel &model() { return *qobject_cast<SequenceModel *>(steps().model()); }
    QString message() { return m_editor->findChild<QLabel *>(u"message"_s)->text(); }
    void act(const QString &name) { m_editor->findChild<QAction *>(name)->trigger(); }
    void select(int row) { steps().selectRow(row); }

    QTranslator m_chinese;
    QTemporaryDir m_home;
    std::unique_ptr<WindowHarness> m_window;
    MotionEditor *m_editor = nullptr;
};

void TestMotionEditor::rowEdits_data()
{
    // An action on a selected row ("set N=V": the channel's cell), and the box's text after it;
    // undoing it once brings back the text before.
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("after");
    QTest::newRow("set a value") << 1 << u"set 2=25"_s << u"1=10\n2=25  # b\nwait 100"_s;
    QTest::newRow("clear a channel: the last one is kept")
        << 1 << u"set 2="_s << u"1=10\n2=20  # b\nwait 100"_s;
    QTest::newRow("insert") << 0 << u"insert"_s << u"1=10\n\n2=20  # b\nwait 100"_s;
    QTest::newRow("delete") << 1 << u"delete"_s << u"1=10\nwait 100"_s;
    QTest::newRow("delete the last") << 2 << u"delete"_s << u"1=10\n2=20  # b"_s;
    QTest::newRow("duplicate") << 2 << u"duplicate"_s << u"1=10\n2=20  # b\nwait 100\nwait 100"_s;
    QTest::newRow("up") << 1 << u"up"_s << u"2=20  # b\n1=10\nwait 100"_s;
    QTest::newRow("down") << 1 << u"down"_s << u"1=10\nwait 100\n2=20  # b"_s;
    // The board was sent 1=10 and shoulder=20: only the shoulder differs from the pose there.
    QTest::newRow("capture") << 0 << u"capture"_s
                             << u"1=10\nmove shoulder=20 in 500 smooth\n2=20  # b\nwait 100"_s;
}

void TestMotionEditor::rowEdits()
{
    QFETCH(int, row);
    QFETCH(QString, action);
    QFETCH(QString, after);
    m_window->typeAndEnter(1, u"10"_s);
    m_window->typeAndEnter(5, u"20"_s);
    const QString before = u"1=10\n2=20  # b\nwait 100"_s;
    box().setPlainText(before);
    m_editor->readNow(); // as a click into the table does
    select(row);
    if (action.startsWith(u"set ")) {
        const QString value = action.section(u'=', 1);
        model().setData(model().index(row, SequenceModel::firstChannelColumn + 1),
                        value.isEmpty() ? QVariant() : QVariant(value.toInt()));
    } else {
        act(action);
    }
    QCOMPARE(box().toPlainText(), after);
    if (after != before) {
        act(u"undo"_s);
        QCOMPARE(box().toPlainText(), before);
    }
}

void TestMotionEditor::checks()
{
    box().setPlainText(u"1=10\nshoulder=40"_s); // read once typing pauses
    QTRY_COMPARE(model().data(model().index(1, 0), Qt::BackgroundRole).isValid(), true);
    QCOMPARE(model().data(model().index(0, 0), Qt::BackgroundRole).isValid(), false);
    QCOMPARE(message(), u"第 2 行“shoulder=40”：通道 5（shoulder）只接受 0 或 7..32。"_s);
    // Nothing to capture: every channel is off.
    select(0);
    act(u"capture"_s);
    QVERIFY(
        message().startsWith(u"没有可记录的通道：所有通道都是关（0）的，或与此处的姿态相同。"_s));
    QCOMPARE(box().toPlainText(), u"1=10\nshoulder=40"_s);
    // The start column follows the plan once the text reads.
    box().setPlainText(u"1=10\nwait 250\n2=20"_s);
    QTRY_COMPARE(model().data(model().index(2, 0)).toString(), u"0.254"_s);
}

void TestMotionEditor::plays()
{
    m_window->openPortAndSettle();
    box().setPlainText(u"1=10\nwait 5000\n2=20"_s);
    act(u"play"_s);
    QCOMPARE(m_window->com1().takeReceived(4), frame(1, 10));
    QTRY_COMPARE(model().playingRow(), 1);
    QVERIFY(box().isReadOnly());
    QVERIFY(!model().flags(model().index(0, 1)).testFlag(Qt::ItemIsEditable));
    act(u"stop"_s);
    QCOMPARE(model().playingRow(), -1);
    QVERIFY(!box().isReadOnly());
    QCOMPARE(message(), u"已发送 1 帧，与计划一致。"_s);
    // The frame sent stays drawn over the plan until the text changes.
    const auto sentShown = [this] {
        int count = 0;
        for (QAbstractSeries *series : m_editor->findChild<QChartView *>()->chart()->series())
            if (series->objectName() == u"sent"_s)
                count += int(static_cast<QXYSeries *>(series)->count());
        return count;
    };
    QCOMPARE(sentShown(), 1);
    QTest::qWait(400);
    QCOMPARE(sentShown(), 1);
    // From the last row: channel 1 stands where the rows before leave it, so only its step goes.
    select(2);
    act(u"playFrom"_s);
    QCOMPARE(m_window->com1().takeAllWithin(100), frame(2, 20));
}

void TestMotionEditor::closing()
{
    // Unsaved edits: Cancel keeps the editor open, Close leaves them in the box.
    const QString file = m_home.filePath(u"arm.txt"_s);
    QFile written(file);
    QVERIFY(written.open(QIODevice::WriteOnly) && written.write("1=10\n") == 5);
    written.close();
    m_window->form().editFile(m_home.filePath(u"none.txt"_s));
    QVERIFY(m_window->messages().takeShown().value(0).startsWith(u"⚠ 无法打开"_s));
    QCOMPARE(m_editor->windowTitle(), u"动作编辑器[*]"_s);
    m_window->form().editFile(file);
    QCOMPARE(m_editor->windowTitle(), u"动作编辑器 — arm.txt[*]"_s);
    act(u"save"_s); // to the file it came from, which stays the editor's
    QCOMPARE(m_editor->windowTitle(), u"动作编辑器 — arm.txt[*]"_s);
    m_editor->readNow();
    model().setData(model().index(0, SequenceModel::firstChannelColumn), 12);
    QVERIFY(m_editor->isWindowModified());
    QString asked;
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Close}) {
        const auto answering = whenShown([&] {
            auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            return question && (asked = question->text(), question->button(button)->click(), true);
        });
        m_editor->close();
        QCOMPARE(m_editor->isVisible(), button == QMessageBox::Cancel);
    }
    QCOMPARE(asked, u"动作编辑器中的修改尚未保存。要保存吗？不保存时，修改仍留在批量命令框中。"_s);
    QCOMPARE(box().toPlainText(), u"1=12\n"_s);
}

QTEST_MAIN(TestMotionEditor)
#include "TestMotionEditor.moc"
