#include "WindowHarness.h"

#include "app/ChannelSetupDialog.h"
#include "app/Language.h"
#include "app/PlanWindow.h"
#include "setup/SetupFile.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSerialPort>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QToolTip>
#include <QTranslator>

#include <functional>
#include <future>
#include <termios.h>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

// Every control that follows the open state, and the port itself.
bool showsState(WindowHarness &window, bool open)
{
    return window.comm().portOpen() == open &&
           window.button(1).text() == (open ? u"关闭串口"_s : u"打开串口"_s) &&
           window.option(1).isEnabled() != open && window.option(2).isEnabled() != open &&
           window.button(3).isEnabled() == open && window.button(4).isEnabled() == open;
}

QString toolTipOf(QWidget &control)
{
    QHelpEvent hover(QEvent::ToolTip, {5, 5}, control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &hover);
    return QToolTip::text();
}

// Right-clicks `control` and reads its menu, a line per entry ("~" disabled, "✓" ticked), then
// picks the entry `pick` or closes the menu.
QStringList rightClickMenu(QWidget &control, const QString &pick = {})
{
    QStringList lines;
    const auto answering = whenShown([&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return false;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                lines << (action->isEnabled() ? u""_s : u"~"_s) +
                             (action->isChecked() ? u"✓"_s : u""_s) + action->text();
            if (action->text() == pick)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, menu->activeAction() ? Qt::Key_Return : Qt::Key_Escape);
        return true;
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {5, 5},
                                 control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &rightClick);
    return lines;
}

QTextEdit &batchBox(WindowHarness &window)
{
    return window.control<QTextEdit>(u"RichTextBox1"_s);
}

// Types `text` into the batch box, a line at a time, each ended with Enter, or with Shift+Enter
// where a U+2028 ends it.
void typeBatch(WindowHarness &window, const QString &text)
{
    batchBox(window).setFocus();
    for (const QString &line :
         QString(text).replace(QChar::LineSeparator, u"\u2028\n"_s).split(u'\n')) {
        const bool shift = line.endsWith(QChar::LineSeparator);
        QTest::keyClicks(&batchBox(window), line.chopped(shift));
        QTest::keyClick(&batchBox(window), Qt::Key_Return,
                        shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

// Answers the file dialog that the next input opens with `path`, as a person typing it would;
// `startedIn` is where it started.
[[nodiscard]] std::unique_ptr<QTimer> answerFileDialog(const QString &path,
                                                       QString *startedIn = nullptr)
{
    return whenShown([=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog) {
            if (startedIn)
                *startedIn = dialog->directory().path();
            dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
            // A question over the dialog would wait for an answer that never comes.
            dialog->setOption(QFileDialog::DontConfirmOverwrite);
            QMetaObject::invokeMethod(dialog, "accept");
            if (dialog->isVisible()) // never left open: that would hang the test
                QMetaObject::invokeMethod(dialog, "reject");
        }
        return dialog != nullptr;
    });
}

// Answers the question that the next input asks with `button`, its text kept in `asked`.
[[nodiscard]] std::unique_ptr<QTimer> answerQuestion(QMessageBox::StandardButton button,
                                                     QString *asked)
{
    return whenShown([=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        return box && (*asked = box->text(), box->button(button)->click(), true);
    });
}

// A key pressed in the batch box, its window active as after a person's click; a file dialog it
// opens is answered with `path`, and `startedIn` is where it started.
void pressInBatchBox(WindowHarness &window, QKeyCombination keys, const QString &path = {},
                     QString *startedIn = nullptr)
{
    const auto answering = answerFileDialog(path, startedIn);
    window.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.form()));
    batchBox(window).setFocus();
    QTest::keyClick(&batchBox(window), keys.key(), keys.keyboardModifiers());
}

// Types into the channel setup dialog's cells, given as "min5=40", all at once.
void typeCells(QWidget &dialog, const QStringList &cells)
{
    for (const QString &cell : cells)
        dialog.findChild<QLineEdit *>(cell.section(u'=', 0, 0))->setText(cell.section(u'=', 1));
}

// Clicks a button of the channel setup dialog; a file dialog it opens is answered with `path`.
void clickIn(QWidget &dialog, const QString &button, const QString &path)
{
    const auto answering = answerFileDialog(path);
    dialog.findChild<QPushButton *>(button)->click();
}

// A setup in `folder`: channel 5 is a shoulder that takes 7..32 and rests at 12; `onStop` is what
// a stopped batch sends.
QString setupFile(const QTemporaryDir &folder, const QByteArray &onStop = "none",
                  const QByteArray &shoulderLimits = {})
{
    const QString path = folder.filePath(u"arm.ini"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\n" + shoulderLimits +
                   "[batch]\non_stop=" + onStop) < 0)
        qFatal("cannot write the setup");
    return path;
}

// Input on a slider beside its keys and a drag to 0..255.
enum SliderInput { WheelUp = 1000, WheelDown, UpArrow, TrackAbove, MiddleClick, RightClick };

} // namespace

// An edit at stake: a.txt opened first unless empty, text typed at the box's end, then the window
// closed, a.txt opened or Ctrl+S ('c', 'o', 's'), the question answered with `button` and a save
// dialog with `saveTo`; whether it was asked, whether the window stays open or the box keeps what
// was typed, and what saveTo, else a.txt, holds at the end.
struct Edit
{
    QByteArray opened;
    QString typed;
    char act;
    QMessageBox::StandardButton button;
    QString saveTo;
    bool asked, kept;
    QByteArray after;
    QString message = {}; // %1: the folder
};
Q_DECLARE_METATYPE(Edit)

// Enter pressed in a value box whose slider stands at value 7; `sent` is -1 for no frame.
struct Entry
{
    int channel;
    QString typed, locale, boxAfter;
    int sent;
};
Q_DECLARE_METATYPE(Entry)

// What the window sends, where, and what it shows: its channel rows, group buttons and batches
// (on an open port unless said), the board's replies, the port's opening, closing and device, and
// the channel setup dialog.
class TestWindowFrames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // What the window remembers stays out of the user's own settings, and out of another
        // run's at the same time.
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        pwm20::installLanguage(m_chinese, u"zh"_s);
    }
    void valueEntry_data();
    void valueEntry();
    void closedPort();
    void centreAll();
    void replies();
    void playsAsIfByHand();
    void nothingSent_data();
    void nothingSent();
    void batchEnds_data();
    void batchEnds();
    void stopInOff();
    void limitsOnSlider_data();
    void limitsOnSlider();
    void limitsRefused();
    void handRamps();
    void poseAndFiles();
    void batchPlan();
    void unsavedEdits_data();
    void unsavedEdits();
    void openAndClose();
    void closingDrains();
    void failedOpen_data();
    void failedOpen();
    void deviceLost_data();
    void deviceLost();
    void deviceChoice();
    void setupSaved();
    void setupEdits_data();
    void setupEdits();

private:
    QTranslator m_chinese; // the window's language, as a Chinese user has it
    QTemporaryDir m_home;
};

void TestWindowFrames::valueEntry_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::newRow("channel 1, 255") << Entry{1, u"255"_s, u"C"_s, u"255"_s, 255};
    QTest::newRow("channel 20, 0") << Entry{20, u"0"_s, u"C"_s, u"0"_s, 0};
    QTest::newRow("channel 10, 19") << Entry{10, u"19"_s, u"C"_s, u"19"_s, 19};
    QTest::newRow("value S goes out raw") << Entry{3, u"83"_s, u"C"_s, u"83"_s, 83};
    QTest::newRow("decimal comma") << Entry{5, u"2,5"_s, u"de_DE"_s, u"3"_s, 3};
    QTest::newRow("007 leaves the position") << Entry{5, u"007"_s, u"C"_s, u"007"_s, -1};
    QTest::newRow("abc") << Entry{5, u"abc"_s, u"C"_s, u"0"_s, -1};
    QTest::newRow("40,000 zeros, then 9")
        << Entry{5, QString(40000, u'0') + u'9', u"C"_s, u"9"_s, 9};
}

void TestWindowFrames::valueEntry()
{
    QFETCH(Entry, entry);
    QLocale::setDefault(QLocale(entry.locale));
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(entry.channel, u"7"_s);
    window.com1().takeReceived(4);

    window.typeAndEnter(entry.channel, entry.typed);
    QLocale::setDefault(QLocale::c());
    const int value = entry.sent < 0 ? 7 : entry.sent;
    QCOMPARE(window.valueBox(entry.channel).text(), entry.boxAfter);
    QCOMPARE(window.slider(entry.channel).value(), 255 - value);
    QCOMPARE(window.com1().takeAllWithin(50),
             entry.sent < 0 ? QByteArray() : frame(entry.channel, value));
    QCOMPARE(window.text1().text(), u"S %1 %2 E"_s.arg(entry.channel).arg(value));
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QVERIFY(window.messages().takeShown().isEmpty());
}

void TestWindowFrames::closedPort()
{
    WindowHarness window;
    window.text1().setText(u"S 2 9 E"_s);
    QStringList text2WhileShown;
    window.messages().setWhileShown([&] { text2WhileShown << window.text2().text(); });
    window.clickOn(12, QStyle::SC_ScrollBarSubLine);
    window.typeAndEnter(13, u"1"_s);

    // One message, with no warning sign, for each change; "Wait..." only once it is gone.
    QCOMPARE(window.messages().takeShown(), QStringList(2, u"串口未打开，请检查串口"_s));
    QCOMPARE(text2WhileShown, QStringList({QString(), u"Wait..."_s}));
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QCOMPARE(window.text1().text(), u"S 2 9 E"_s);
    QCOMPARE(QList({window.slider(12).value(), window.slider(13).value()}), QList({254, 254}));
    QCOMPARE(window.valueBox(12).text() + window.valueBox(13).text(), u"11"_s);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

void TestWindowFrames::centreAll()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(20, u"19"_s);
    window.com1().takeReceived(4);

    // Slider 20 is centred already: it sends nothing (what is sent is decided in GroupFrames).
    window.click(window.button(4));
    for (int channel = 1; channel <= 20; ++channel) {
        QCOMPARE(window.valueBox(channel).text(), u"19"_s);
        QCOMPARE(window.slider(channel).value(), 236);
    }
    QCOMPARE(window.com1().takeReceived(76), everyChannel(19).first(76));
    QCOMPARE(window.text1().text(), u"S 19 19 E"_s);

    // Again: every slider is centred already, so nothing is sent, and text typed stays.
    QTest::keyClicks(&window.valueBox(11), u"x"_s);
    window.text2().setText(u"reply"_s);
    window.click(window.button(4));
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(window.valueBox(11).text() + window.text2().text(), u"19xreply"_s);
}

void TestWindowFrames::replies()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(1, u"5"_s);
    QVERIFY(window.com1().send("first part "));
    QTRY_COMPARE(window.text2().text(), u"first part "_s);
    QVERIFY(window.com1().send(QByteArray("second \x80\xff", 9)));
    QTRY_COMPARE(window.text2().text(), u"second \u0080\u00ff"_s);
    window.typeAndEnter(1, u"6"_s);
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QCOMPARE(window.com1().takeReceived(8), frame(1, 5) + frame(1, 6));

    // All of it waits on the line before the program reads any: one event shows 1,024 at most.
    qsizetype longest = 0;
    QObject::connect(&window.text2(), &QLineEdit::textChanged, &window.form(),
                     [&](const QString &text) { longest = std::max(longest, text.size()); });
    QVERIFY(window.com1().send(QByteArray(3000, 'x') + "END"));
    QThread::msleep(50);
    QTRY_VERIFY(window.text2().text().endsWith(u"END"));
    QCOMPARE(longest, 1024);

    // Closing the window closes the port and sends nothing.
    QVERIFY(window.form().close());
    QVERIFY(window.com1().programSideClosed());
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

void TestWindowFrames::playsAsIfByHand()
{
    WindowHarness window;
    window.openPortAndSettle();
    // The wait follows Shift+Enter, in the pose's paragraph, and wraps over rows.
    typeBatch(window, u"1=100 3=0\u2028wait 500 # "_s + QString(100, u'x') +
                          u"\noff\nrepeat 2\ncentre\nend\nS 5 19 E"_s);
    window.click(window.button(2));
    QCOMPARE(window.button(2).text(), u"停止发送"_s);
    QTextEdit &box = batchBox(window);
    QVERIFY(box.isReadOnly());
    // The line playing is highlighted on each of its rows, right of a short row's text.
    const auto highlighted = [&box](int position) {
        QTextCursor at(box.document());
        at.setPosition(position);
        const QPoint point(box.viewport()->width() - 6, box.cursorRect(at).center().y());
        return box.viewport()->grab().toImage().pixelColor(point) !=
               box.palette().color(QPalette::Base);
    };
    QTRY_VERIFY(highlighted(10) && highlighted(121) && !highlighted(0)); // the wait's rows

    // 3=0 is sent although channel 3 stands at 0; the second centre finds nothing to move, and
    // 5=19 is sent again all the same.
    const QByteArray expected = frame(1, 100) + frame(3, 0) + frame(1, 0) + everyChannel(0) +
                                everyChannel(19) + frame(5, 19);
    QCOMPARE(window.com1().takeReceived(expected.size()), expected);
    QTRY_COMPARE(window.button(2).text(), u"批量发送"_s);
    QVERIFY(!batchBox(window).isReadOnly());
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(QList({window.valueBox(1).text(), window.valueBox(20).text(), window.text1().text(),
                    window.text2().text()}),
             QList({u"19"_s, u"19"_s, u"S 5 19 E"_s, u"Wait..."_s}));
}

void TestWindowFrames::nothingSent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("message");
    QTest::newRow("comments only") << u"# nothing yet\n\n"_s << true << QString();
    QTest::newRow("port closed") << u"1=1"_s << false << u"串口未打开，请检查串口"_s;
    // The cursor goes to the bad line, the third, a U+2028 (Shift+Enter) ending the first.
    QTest::newRow("a bad line anywhere")
        << u"1=1\u2028wait 100\n21=100\n2=2"_s << true
        << u"⚠ 第 3 行“21=100”：“21=100”中的通道应在 1 到 20 之间。"_s;
}

void TestWindowFrames::nothingSent()
{
    QFETCH(QString, text);
    QFETCH(bool, open);
    QFETCH(QString, message);
    WindowHarness window;
    if (open)
        window.openPortAndSettle();
    typeBatch(window, text);
    window.click(window.button(2));
    QCOMPARE(window.messages().takeShown(),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(window.com1().takeAllWithin(100), QByteArray());
    if (message.startsWith(u"⚠"))
        QCOMPARE(batchBox(window).textCursor().position(),
                 batchBox(window).toPlainText().indexOf(u"21=100"_s));
}

void TestWindowFrames::batchEnds_data()
{
    QTest::addColumn<QByteArray>("onStop");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("pose"); // sent after the batch's own frames
    QTest::addColumn<QString>("message"); // none when empty
    const auto row = [](const char *name, const char *onStop, const QString &how,
                        const QByteArray &pose, const QString &message = {}) {
        QTest::newRow(name) << QByteArray(onStop) << how << pose << message;
    };
    row("stop clicked", "none", u"stop"_s, {});
    row("port closed", "home", u"close port"_s, {});
    row("device lost", "home", u"lost"_s, {},
        u"⚠ 串口 com1（设备 %1）已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。"_s);
    row("a new setup", "home", u"new setup"_s, {},
        u"新的通道设置已生效，正在进行的批量发送因此停止：它是按原来的设置检查的。"
        u"停止时没有再发送任何帧；请重新开始批量发送。"_s);
    // The stop pose from where the channels stand: 1 at 20 or 30, 9 at 9, the others off.
    row("stop clicked, home", "home", u"stop"_s, armHomes());
    row("stop clicked, off", "off", u"stop"_s, frame(1, 0) + frame(9, 0) + everyChannel(0));
    row("window closed, home", "home", u"close window"_s, armHomes());
    // A group button ends the batch, with its own frames for a stop pose.
    row("全关 pressed", "home", u"all off"_s, frame(1, 0) + frame(9, 0) + everyChannel(0));
    row("舵机全归中 pressed", "off", u"centre"_s, armHomes());
    row("Esc in a value box", "home", u"Esc v3"_s, armHomes());
    row("Esc on a slider", "home", u"Esc VScroll4"_s, armHomes());
    row("Esc in the batch box", "home", u"Esc RichTextBox1"_s, armHomes());
    // A signal (143 SIGTERM, 130 SIGINT) stops as closing does, asks nothing, and ends by the last.
    row("SIGTERM, home", "home", u"143"_s, armHomes());
    row("SIGTERM, then SIGINT during the stop pose", "home", u"143 130"_s, {});
}

void TestWindowFrames::batchEnds()
{
    QFETCH(QByteArray, onStop);
    QFETCH(QString, how);
    QFETCH(QByteArray, pose);
    QFETCH(QString, message);
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder, onStop));
    window.openPortAndSettle();
    window.form().show();
    typeBatch(window, u"repeat\n1=20\nwait 40\n1=30\nwait 40\nend"_s);
    window.click(window.button(2));
    QCOMPARE(window.com1().takeReceived(8), frame(1, 20) + frame(1, 30));

    // Sliders and boxes stay usable during a run: a change by hand goes out between two frames.
    window.typeAndEnter(9, u"9"_s);
    QVERIFY(window.com1().takeReceived(12).contains(frame(9, 9)));
    QString asked; // a close asks first, the batch playing: what was typed is dropped
    const auto dropping = answerQuestion(QMessageBox::Discard, &asked);
    QSignalSpy ended(&window.form(), &pwm20::Form1::stoppedBySignal);
    const QStringList signalled = how.at(0).isDigit() ? how.split(u' ') : QStringList();
    if (!signalled.isEmpty())
        for (const QString &exitStatus : signalled)
            window.form().stopBySignal(exitStatus.toInt());
    else if (how == u"stop")
        window.click(window.button(2));
    else if (how == u"close port")
        window.click(window.button(1));
    else if (how == u"close window")
        window.form().close();
    else if (how == u"new setup")
        window.form().useSetup(setupFile(folder, "off"));
    else if (how == u"all off" || how == u"centre")
        window.click(window.button(how == u"all off" ? 3 : 4));
    else if (how.startsWith(u"Esc ")) {
        window.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window.form()));
        window.control<QWidget>(how.mid(4)).setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else
        window.com1().closeBoardSide();
    QByteArray sent = how == u"lost" ? QByteArray() : window.com1().takeAllWithin(600);
    while (sent.startsWith(frame(1, 20)) || sent.startsWith(frame(1, 30)))
        sent = sent.mid(4); // on its way when the batch ended
    QCOMPARE(sent, pose);
    const bool closes = how == u"close port" || how == u"close window" || how == u"lost";
    QTRY_COMPARE(window.comm().portOpen(), !closes && signalled.isEmpty());
    QTRY_COMPARE(ended.size(), signalled.size() > 0 ? 1 : 0);
    QVERIFY(signalled.isEmpty() || ended[0] == QVariantList{signalled.last().toInt()});
    QTRY_COMPARE(window.button(2).text(), u"批量发送"_s);
    QCOMPARE(window.form().isVisible(), how != u"close window");
    // Only the close button asks about the box's text; a signal asks nothing.
    QCOMPARE(asked.isEmpty(), how != u"close window");
    QTest::qWait(100);
    QCOMPARE(window.messages().takeShown(),
             message.isEmpty() ? QStringList()
                               : QStringList{message.arg(window.com1().devicePath())});
}

void TestWindowFrames::stopInOff()
{
    // Stopped in the middle of `off`: each box and slider shows what the board was sent.
    WindowHarness window;
    window.openPortAndSettle();
    QString pose;
    for (int channel = 1; channel <= 20; ++channel)
        pose += u"%1=9 "_s.arg(channel);
    typeBatch(window, pose + u"\noff"_s);
    window.click(window.button(2));
    QCOMPARE(window.com1().takeReceived(84), everyChannel(9) + frame(1, 0));
    window.click(window.button(2));
    const QByteArray sent = window.com1().takeAllWithin(200);
    QVERIFY2(sent.size() < 4 * 19, "stopped after the step's end"); // 19 or 22 frames left
    QList<int> board(21, 9);
    board[1] = 0;
    for (qsizetype at = 0; at + 3 < sent.size(); at += 4)
        board[sent[at + 1]] = quint8(sent[at + 2]);
    for (int channel = 1; channel <= 20; ++channel) {
        QCOMPARE(window.valueBox(channel).text(), QString::number(board[channel]));
        QCOMPARE(window.slider(channel).value(), 255 - board[channel]);
    }
}

void TestWindowFrames::limitsOnSlider_data()
{
    QTest::addColumn<int>("channel"); // 4 takes 1..255, 5 (shoulder) 7..32
    QTest::addColumn<QList<int>>("input");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("one step per arrow, track click and notch; no jump, no menu; Home: the top")
        << 4
        << QList<int>{7, UpArrow, TrackAbove, WheelUp, MiddleClick, RightClick, Qt::Key_Home, 0}
        << frame(4, 7) + frame(4, 8) + frame(4, 9) + frame(4, 10) + frame(4, 255) + frame(4, 0);
    QTest::newRow("from off one step up: the minimum; one step down from it: off")
        << 5 << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}
        << frame(5, 7) + frame(5, 8) + frame(5, 7) + frame(5, 0);
    QTest::newRow("Home: the maximum, End: off")
        << 5 << QList<int>{Qt::Key_Home, Qt::Key_End} << frame(5, 32) + frame(5, 0);
    QTest::newRow("a drag let go below the minimum, the bottom end too")
        << 5 << QList<int>{3, 0} << frame(5, 7);
    QTest::newRow("a drag from the minimum to one below holds; a wheel notch down from it: off")
        << 5 << QList<int>{Qt::Key_Up, 6, Qt::Key_Up, WheelDown, WheelDown}
        << frame(5, 7) + frame(5, 8) + frame(5, 7) + frame(5, 0);
    QTest::newRow("pushed past off or the maximum: nothing more")
        << 5 << QList<int>{Qt::Key_Down, WheelDown,  Qt::Key_End,
                           Qt::Key_Home, Qt::Key_Up, Qt::Key_PageUp,
                           Qt::Key_Home, WheelUp,    UpArrow,
                           TrackAbove,   40}
        << frame(5, 32);
}

void TestWindowFrames::limitsOnSlider()
{
    QFETCH(int, channel);
    QFETCH(QList<int>, input);
    QFETCH(QByteArray, sent);
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder));
    window.openPortAndSettle();
    QScrollBar &slider = window.slider(channel);
    for (const int given : input) {
        const QPoint track = window.pointOn(channel, QStyle::SC_ScrollBarSubPage);
        if (given <= 255) {
            slider.setSliderDown(true);
            slider.setSliderPosition(255 - given);
            slider.setSliderDown(false);
        } else if (given == WheelUp || given == WheelDown) {
            QWheelEvent notch(track, slider.mapToGlobal(track), {},
                              {0, given == WheelUp ? 120 : -120}, {}, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&slider, &notch);
        } else if (given == UpArrow || given == TrackAbove) {
            window.clickOn(channel, given == UpArrow ? QStyle::SC_ScrollBarSubLine
                                                     : QStyle::SC_ScrollBarSubPage);
        } else if (given == MiddleClick) {
            QTest::mouseClick(&slider, Qt::MiddleButton, {}, track);
        } else if (given == RightClick) {
            QVERIFY(rightClickMenu(slider).isEmpty());
        } else {
            QTest::keyClick(&slider, Qt::Key(given));
        }
    }
    QCOMPARE(window.com1().takeReceived(sent.size()), sent);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    const int last = quint8(sent.at(sent.size() - 2));
    QCOMPARE(window.valueBox(channel).text(), QString::number(last));
    QCOMPARE(slider.value(), 255 - last);
}

void TestWindowFrames::handRamps()
{
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder, "none", "speed=100\n"));
    window.openPortAndSettle();
    window.typeAndEnter(5, u"12"_s); // on from off: at once
    QCOMPARE(window.com1().takeReceived(4), frame(5, 12));
    // At 100 a second, a step every 10 ms: every value on the way, the box on the value asked.
    window.typeAndEnter(5, u"32"_s);
    QCOMPARE(window.valueBox(5).text(), u"32"_s);
    QCOMPARE(window.slider(5).value(), 255 - 32);
    QByteArray ramp;
    for (int value = 13; value <= 32; ++value)
        ramp += frame(5, value);
    QCOMPARE(window.com1().takeReceived(ramp.size()), ramp);
    QCOMPARE(window.text1().text(), u"S 5 32 E"_s);
    // Back down, and "全关" midway: off at once, nothing of the ramp after it.
    window.typeAndEnter(5, u"7"_s);
    QCOMPARE(window.com1().takeReceived(8), frame(5, 31) + frame(5, 30));
    window.click(window.button(3));
    const QByteArray rest = window.com1().takeAllWithin(400);
    QVERIFY2(rest.endsWith(frame(5, 0) + everyChannel(0)), rest.toHex(' ').constData());
    QVERIFY(rest.size() <= 4 * 24);
}

void TestWindowFrames::limitsRefused()
{
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder));
    window.openPortAndSettle();
    window.typeAndEnter(5, u"20"_s);
    QCOMPARE(window.com1().takeReceived(4), frame(5, 20));
    window.typeAndEnter(5, u"40"_s);
    typeBatch(window, u"1=1\nshoulder=6"_s);
    window.click(window.button(2));
    QCOMPARE(window.messages().takeShown(),
             QStringList({u"⚠ 通道 5（shoulder）只接受 0 或 7..32。"_s,
                          u"⚠ 第 2 行“shoulder=6”：通道 5（shoulder）只接受 0 或 7..32。"_s}));
    QCOMPARE(window.valueBox(5).text(), u"20"_s);
    QCOMPARE(window.com1().takeAllWithin(100), QByteArray());
    // Off is allowed whatever the limits, and a move switching a servo off never glides through
    // the values below them; centre all brings each channel to its home.
    batchBox(window).setPlainText(u"shoulder=20\nmove shoulder=0 in 100"_s);
    window.click(window.button(2));
    QCOMPARE(window.com1().takeAllWithin(300), frame(5, 20) + frame(5, 0));
    window.click(window.button(4));
    QCOMPARE(window.com1().takeReceived(80), armHomes());
    QCOMPARE(window.label(5).toolTip(),
             u"通道 5（shoulder）\n可用数值：0（关）或 7..32\n归位：12"_s);
    // The remembered file gone: said once the window is on screen, and the defaults hold.
    const QString missing = folder.filePath(u"arm.ini"_s);
    QVERIFY(QFile::remove(missing));
    window.form().hide();
    window.form().useSetup(missing);
    QVERIFY(window.messages().takeShown().isEmpty());
    window.form().show();
    QStringList shown;
    QTRY_VERIFY(!(shown += window.messages().takeShown()).isEmpty());
    QCOMPARE(shown,
             QStringList(u"⚠ 上次使用的通道设置已不能使用，pwm20 不再记住它，现用默认设置。\n"
                         u"%1: 没有这个文件。\n要换用别的设置文件，请用 pwm20 --setup "
                         u"文件 启动；或右键单击通道标题打开“通道设置”，改好后保存或另存为。"_s.arg(
                             missing)));
    window.typeAndEnter(5, u"40"_s);
    QCOMPARE(window.com1().takeReceived(4), frame(5, 40));
}

void TestWindowFrames::poseAndFiles()
{
    QTemporaryDir folder;
    WindowHarness window(folder.filePath(u"pwm20.conf"_s));
    window.form().useSetup(setupFile(folder));
    window.openPortAndSettle();
    pressInBatchBox(window, Qt::CTRL | Qt::Key_M); // every channel off: nothing, and why
    window.typeAndEnter(5, u"20"_s);
    window.typeAndEnter(20, u"19"_s);
    typeBatch(window, u"off"_s);
    // All of it selected, down to the empty last line: the selection stays, the pose follows it.
    batchBox(window).selectAll();
    pressInBatchBox(window, Qt::CTRL | Qt::Key_I);
    pressInBatchBox(window, Qt::CTRL | Qt::Key_M); // the channels that are not off, by name
    QCOMPARE(batchBox(window).toPlainText(),
             u"off\n1=0 2=0 3=0 4=0 5=20 6=0 7=0 8=0 9=0 10=0 11=0 12=0 13=0 14=0 15=0 16=0 "
             u"17=0 18=0 19=0 20=19\nmove shoulder=20 20=19 in 500"_s);
    // Qt's own entries of the menu speak Chinese too.
    const QStringList menu = rightClickMenu(*batchBox(window).viewport());
    QCOMPARE(menu.first() + menu.sliced(menu.size() - 4).join(u'|'),
             u"撤消(&U)\tCtrl+Z另存为…|查看计划…|动作编辑…|通道设置…"_s);

    // Saved and opened again through the menu's shortcuts and the file dialog; a name with no
    // suffix gets ".txt".
    pressInBatchBox(window, Qt::CTRL | Qt::SHIFT | Qt::Key_S, folder.filePath(u"pose"_s));
    QVERIFY(QFile::exists(folder.filePath(u"pose.txt"_s)));
    const QString before = batchBox(window).toPlainText();
    QVERIFY(QDir(folder.path()).mkdir(u"sub"_s));
    for (const auto &[name, bytes] :
         {std::pair{"gb2312.txt", QByteArray("1=1 # \xc8\xab\xb9\xd8")},
          std::pair{"fdd0.txt", QByteArray("1=1\xef\xb7\x90")},
          std::pair{"sub/good.txt", QByteArray("wait 5 # \xe5\x85\xa8")}}) {
        QFile other(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write(bytes) == bytes.size());
        other.close();
        pressInBatchBox(window, Qt::CTRL | Qt::Key_O, other.fileName());
        // A file refused leaves the box as it was.
        QCOMPARE(batchBox(window).toPlainText(),
                 qstrcmp(name, "sub/good.txt") ? before : u"wait 5 # 全"_s);
    }
    // Opening a file can be undone: what the box held is not lost.
    QTest::keyClick(&batchBox(window), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(batchBox(window).toPlainText(), before);
    QTest::keyClick(&batchBox(window), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);

    // The next run's dialogs start in the folder last used.
    WindowHarness next(folder.filePath(u"pwm20.conf"_s));
    QString startedIn;
    pressInBatchBox(next, Qt::CTRL | Qt::Key_S, folder.filePath(u"next.txt"_s), &startedIn);
    QCOMPARE(startedIn, folder.filePath(u"sub"_s));
    QCOMPARE(window.messages().takeShown() + next.messages().takeShown(),
             QStringList({u"没有插入移动：所有通道都是关（0）的，而移动从通道现在的位置出发。"
                          u"请先用滑块或数值框把要移动的通道设到一个位置。"_s,
                          u"⚠ 无法打开“%1/gb2312.txt”：文件不是 UTF-8 文本。"_s.arg(folder.path()),
                          u"⚠ 无法打开“%1/fdd0.txt”：文件不是 UTF-8 文本。"_s.arg(folder.path())}));
    // With an Open undone, the box no longer holds that file: Save asks where to write.
    pressInBatchBox(window, Qt::CTRL | Qt::Key_O, folder.filePath(u"pose.txt"_s));
    QTest::keyClick(&batchBox(window), Qt::Key_Z, Qt::ControlModifier);
    pressInBatchBox(window, Qt::CTRL | Qt::Key_S, folder.filePath(u"undone.txt"_s));
    QVERIFY(QFile::exists(folder.filePath(u"undone.txt"_s)));
}

// What the batch would send from where the channels stand, in a window beside the main one
// that each showing replaces, and as CSV; a batch with an error shows it and no plan.
void TestWindowFrames::batchPlan()
{
    QTemporaryDir folder;
    WindowHarness window(folder.filePath(u"pwm20.conf"_s));
    window.form().useSetup(setupFile(folder));
    window.openPortAndSettle();
    window.typeAndEnter(5, u"20"_s);
    typeBatch(window, u"1=1\nshoulder=40"_s);
    rightClickMenu(*batchBox(window).viewport(), u"查看计划…"_s);
    QCOMPARE(window.messages().takeShown(),
             QStringList{u"⚠ 第 2 行“shoulder=40”：通道 5（shoulder）只接受 0 或 7..32。"_s});
    QVERIFY(!window.form().findChild<pwm20::PlanWindow *>());

    batchBox(window).setPlainText(u"move shoulder=12 in 20\n3=7\nrepeat\nwait 30000\nend"_s);
    rightClickMenu(*batchBox(window).viewport(), u"查看计划…"_s);
    auto *plan = window.form().findChild<pwm20::PlanWindow *>();
    QVERIFY(plan && plan->isVisible());
    const QAbstractItemModel &rows = *plan->findChild<QTableView *>()->model();
    QCOMPARE(rows.rowCount(), 6);
    QCOMPARE(plan->findChild<QPlainTextEdit *>()->toPlainText(),
             u"批量命令不会自行结束：只列出前 60 秒。"_s);
    const auto cell = [&](int row, int column) {
        return rows.index(row, column).data().toString();
    };
    QCOMPARE(cell(0, 0) + u'|' + cell(0, 1) + u'|' + cell(5, 1) + u'|' + cell(5, 3),
             u"4.167|5 shoulder|3|2"_s);
    clickIn(*plan, u"export"_s, folder.filePath(u"plan.csv"_s));
    QFile csv(folder.filePath(u"plan.csv"_s));
    QCOMPARE(csv.open(QIODevice::ReadOnly) ? csv.readAll() : "",
             "time_ms,channel,value,line\n4.167,5,18,1\n8.333,5,17,1\n12.500,5,15,1\n"
             "16.667,5,13,1\n20.833,5,12,1\n25.000,3,7,2\n");
    clickIn(*plan, u"export"_s, folder.filePath(u"none/plan.csv"_s));
    QCOMPARE(
        window.messages().takeShown(),
        QStringList{u"⚠ 无法保存“%1/none/plan.csv”：它所在的文件夹不存在。"_s.arg(folder.path())});

    batchBox(window).setPlainText(u"off"_s);
    rightClickMenu(*batchBox(window).viewport(), u"查看计划…"_s);
    QCOMPARE(window.form().findChildren<pwm20::PlanWindow *>(), QList{plan});
    QCOMPARE(rows.rowCount(), 21); // shoulder's off, then the twenty
    QVERIFY(plan->findChild<QPlainTextEdit *>()->isHidden());
}

void TestWindowFrames::unsavedEdits_data()
{
    QTest::addColumn<Edit>("edit");
    const auto row = [](const char *name, const Edit &edit) { QTest::newRow(name) << edit; };
    const auto save = QMessageBox::Save, discard = QMessageBox::Discard, no = QMessageBox::Cancel;
    // Saved as it came, a paragraph typed past its end ended as its last.
    const QByteArray marked = "\xEF\xBB\xBF\t1=1\xC2\xA0\r\noff",
                     mixed = "1=1\xE2\x80\xA8\xE2\x80\xA9off\r";
    row("mark, tab, no-break space, CR LF, no end", {marked, {}, 's', no, {}, 0, 1, marked});
    row("U+2028, U+2029, lone CR, a line typed",
        {mixed, u"1=1\r"_s, 's', no, {}, 0, 1, mixed + "1=1\r"});
    row("typed and erased", {{}, u"x\b"_s, 'c', save, {}, 0, 0, {}});
    row("opened, unchanged", {"off\n", {}, 'c', save, {}, 0, 0, "off\n"});
    row("typed, cancel", {{}, u"1=1"_s, 'c', no, {}, 1, 1, {}});
    row("typed, discard", {{}, u"1=1"_s, 'c', discard, {}, 1, 0, {}});
    row("opened and edited, saved back", {"off\n", u"1=1"_s, 'c', save, {}, 1, 0, "off\n1=1"});
    row("typed, saved as", {{}, u"1=1"_s, 'c', save, u"b.txt"_s, 1, 0, "1=1"});
    const QString failed = u"⚠ 无法保存“%1/none/b.txt”：它所在的文件夹不存在。"_s;
    row("typed, the save fails", {{}, u"1=1"_s, 'c', save, u"none/b.txt"_s, 1, 1, {}, failed});
    row("open over typed, cancel", {{}, u"1=1"_s, 'o', no, {}, 1, 1, {}});
}

void TestWindowFrames::unsavedEdits()
{
    QFETCH(Edit, edit);
    const QTemporaryDir folder;
    const QString path = folder.filePath(edit.saveTo.isEmpty() ? u"a.txt"_s : edit.saveTo);
    QFile file(folder.filePath(u"a.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(edit.opened) >= 0 && file.flush());
    WindowHarness window;
    if (!edit.opened.isEmpty())
        pressInBatchBox(window, Qt::CTRL | Qt::Key_O, file.fileName());
    batchBox(window).moveCursor(QTextCursor::End);
    QTest::keyClicks(&batchBox(window), edit.typed);
    QString asked;
    const auto answering = answerQuestion(edit.button, &asked);
    const auto saving = answerFileDialog(path);
    if (edit.act == 'c')
        window.form().close();
    else
        pressInBatchBox(window, edit.act == 'o' ? Qt::CTRL | Qt::Key_O : Qt::CTRL | Qt::Key_S,
                        path);
    QCOMPARE(asked, edit.asked ? u"批量命令框中的修改尚未保存。要保存吗？"_s : QString());
    QCOMPARE(edit.act == 'o' ? batchBox(window).toPlainText() == edit.typed
                             : window.form().isVisible(),
             edit.kept);
    QVERIFY(edit.act == 's' || !edit.kept || batchBox(window).document()->isModified());
    QFile saved(path);
    QCOMPARE(saved.open(QIODevice::ReadOnly) ? saved.readAll() : "", edit.after);
    QCOMPARE(window.messages().takeShown().join(u""), edit.message.arg(folder.path()));
}

void TestWindowFrames::openAndClose()
{
    HandClock clock;
    WindowHarness window({}, {}, clock);
    QVERIFY(showsState(window, false));
    window.typeAndEnter(7, u"255"_s);
    window.typeAndEnter(3, u"155"_s);
    QCOMPARE(window.messages().takeShown().size(), 2);
    window.typeAndEnter(2, u"abc"_s);               // rejected: "0", the slider stays
    QTest::keyClicks(&window.valueBox(9), u"12"_s); // typed, never entered
    window.click(window.option(2));
    QVERIFY(!window.option(1).isChecked());

    // Opening sends each moved slider's off frame, then all off's twenty.
    window.click(window.button(1));
    // The line keeps its time for all 22 frames: the next may start only once they have left it.
    QCOMPARE(window.comm().line().freeAtNs(), 22 * pwm20::LineClock::frameNs);
    QVERIFY(showsState(window, true));
    QCOMPARE(window.com2().takeReceived(88), frame(3, 0) + frame(7, 0) + everyChannel(0));
    QCOMPARE(window.text1().text(), u"S 7 0 E"_s);
    QCOMPARE(window.valueBox(2).text() + window.valueBox(9).text(), u"00"_s);
    // The board reads 9600 baud, 8 data bits, no parity, one stop bit, no flow control.
    termios line{};
    QVERIFY(window.com2().lineSettings(line));
    QCOMPARE(QList({cfgetospeed(&line), cfgetispeed(&line)}),
             QList({speed_t(B9600), speed_t(B9600)}));
    QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));

    // All off, twice: the twenty each time, and no echo.
    window.click(window.button(3));
    window.click(window.button(3));
    QCOMPARE(window.com2().takeReceived(160), everyChannel(0) + everyChannel(0));
    QCOMPARE(window.text1().text(), u"S 7 0 E"_s);

    // Closing sends nothing; com2 stays chosen for the next open.
    window.click(window.button(1));
    QVERIFY(showsState(window, false));
    QVERIFY(window.com2().programSideClosed());
    QCOMPARE(window.com2().takeAllWithin(50), QByteArray());
    window.click(window.button(1));
    QCOMPARE(window.com2().takeReceived(80), everyChannel(0));
    QCOMPARE(window.com1().takeAllWithin(0), QByteArray());
}

// A board slower than the program: what still waits in the program's buffers when the port's
// button closes it reaches the board all the same.
void TestWindowFrames::closingDrains()
{
    WindowHarness window;
    window.openPortAndSettle();
    const QByteArray frames = frame(7, 7).repeated(100'000); // far more than a pty holds
    window.comm().output(frames);
    auto board = std::async(std::launch::async,
                            [&] { return window.com1().takeReceived(frames.size(), 3000, false); });
    window.click(window.button(1));
    QCOMPARE(board.get().size(), frames.size());
}

void TestWindowFrames::failedOpen_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("message"); // %1 stands for the pseudo-terminal's path
    QTest::newRow("missing device")
        << u"missing"_s
        << u"⚠ 无法打开串口 com1（设备 /dev/pwm20-none）：找不到该设备。\n"
           u"请插上串口适配器，或用环境变量 PWM20_COM1 指定设备。"_s;
    QTest::newRow("no device listed") << u"unlisted"_s
                                      << u"⚠ 无法打开串口 com1：系统中没有第 1 个串口。\n"
                                         u"请插上串口适配器，或用环境变量 PWM20_COM1 指定设备。"_s;
    QTest::newRow("held by another program")
        << u"busy"_s
        << u"⚠ 无法打开串口 com1（设备 %1）：该串口正被其他程序使用。\n"
           u"请先关闭占用该串口的程序，再打开串口。"_s;
    QTest::newRow("remembered device gone")
        << u"remembered"_s
        << u"⚠ 无法打开串口 com1（设备 /dev/pwm20-none）：找不到该设备。\n"
           u"请插上该设备，或右键单击“com1”选择其他设备。"_s;
}

void TestWindowFrames::failedOpen()
{
    QFETCH(QString, why);
    QFETCH(QString, message);
    QTemporaryDir folder; // remembers a device gone
    const QString settings = folder.filePath(u"pwm20.conf"_s);
    QSettings(settings, QSettings::IniFormat).setValue(u"ports/com1"_s, u"/dev/pwm20-none"_s);
    WindowHarness window(settings);
    QSerialPort otherProgram(window.com1().devicePath());
    if (why == u"missing")
        qputenv("PWM20_COM1", "/dev/pwm20-none");
    else if (why == u"busy")
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    else
        qunsetenv("PWM20_COM1");
    if (why == u"unlisted")
        window.comm().chooseDevice(1, {});

    window.click(window.button(1));
    QCOMPARE(window.messages().takeShown(), QStringList{message.arg(window.com1().devicePath())});
    QVERIFY(showsState(window, false));
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

void TestWindowFrames::deviceLost_data()
{
    QTest::addColumn<int>("commandAfterUnplug");
    QTest::newRow("while idle") << 0;
    QTest::newRow("during all off") << 3;
    QTest::newRow("during centre all") << 4;
}

void TestWindowFrames::deviceLost()
{
    QFETCH(int, commandAfterUnplug);
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(6, u"40"_s);
    window.com1().takeReceived(4);

    window.com1().closeBoardSide();
    // A group command runs before the program has had a chance to notice.
    if (commandAfterUnplug != 0)
        window.button(commandAfterUnplug).click();
    const QStringList texts{window.text1().text(), window.text2().text()};
    QTRY_VERIFY(showsState(window, false));
    QTest::qWait(200);
    QCOMPARE(window.messages().takeShown(),
             QStringList{u"⚠ 串口 com1（设备 %1）已断开连接，串口已关闭。\n"
                         u"请检查连接，然后重新打开串口。"_s.arg(window.com1().devicePath())});
    QCOMPARE(QStringList({window.text1().text(), window.text2().text()}), texts);

    // The adapter comes back under another name.
    PtyPair replugged;
    qputenv("PWM20_COM1", replugged.devicePath().toLocal8Bit());
    window.click(window.button(1));
    QVERIFY(showsState(window, true));
    QCOMPARE(replugged.takeReceived(80).right(80), everyChannel(0));
}

void TestWindowFrames::deviceChoice()
{
    QTemporaryDir folder;
    const QString settings = folder.filePath(u"pwm20.conf"_s);
    PtyPair chosen;
    { // Chosen in the menu in one run, in force in the next, where the system lists another port.
        WindowHarness earlier(settings, {chosen.devicePath()});
        qunsetenv("PWM20_COM1");
        QCOMPARE(rightClickMenu(earlier.option(1), chosen.devicePath()),
                 QStringList({u"✓自动"_s, chosen.devicePath()}));
    }
    WindowHarness window(settings, {u"ttyPWM20"_s});
    qunsetenv("PWM20_COM1");
    const auto opensOn = [&](PtyPair &board) {
        window.click(window.button(1));
        const bool opened = board.takeReceived(80) == everyChannel(0);
        window.click(window.button(1));
        return opened;
    };
    const QString hint = u"\n右键单击可选择设备。"_s;
    QCOMPARE(toolTipOf(window.option(1)),
             u"com1：%1（上次选择的设备）"_s.arg(chosen.devicePath()) + hint);
    QVERIFY(opensOn(chosen));

    // The environment comes before the remembered choice, and the command line before that: the
    // menu says so, and that "自动" (which forgets the choice) waits for them to be gone.
    const QString pty = window.com1().devicePath();
    qputenv("PWM20_COM1", pty.toLocal8Bit());
    QVERIFY(opensOn(window.com1()));
    QCOMPARE(rightClickMenu(window.option(1), u"自动"_s),
             QStringList(
                 {u"~由环境变量 PWM20_COM1 指定：%1"_s.arg(pty), u"自动"_s, u"/dev/ttyPWM20"_s}));
    window.comm().setPortDevice(1, u"ttyPWM20"_s);
    QCOMPARE(
        rightClickMenu(window.option(1), u"自动"_s),
        QStringList({u"~由命令行 --com1 指定：/dev/ttyPWM20"_s, u"自动"_s, u"✓/dev/ttyPWM20"_s}));
    QCOMPARE(window.messages().takeShown(),
             QStringList({u"已记住这一选择。现在 com1 由环境变量 PWM20_COM1 指定为 %1，"
                          u"去掉该环境变量后这一选择才生效。"_s.arg(pty),
                          u"已记住这一选择。现在 com1 由命令行 --com1 指定为 /dev/ttyPWM20，"
                          u"不带该选项启动时这一选择才生效。"_s}));
    window.comm().setPortDevice(1, {});
    qunsetenv("PWM20_COM1");
    QCOMPARE(toolTipOf(window.option(1)),
             u"com1：/dev/ttyPWM20（自动：系统中的第 1 个串口）"_s + hint);
    QVERIFY(!QSettings(settings, QSettings::IniFormat).contains(u"ports/com1"_s));
}

void TestWindowFrames::setupSaved()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"robot.ini"_s);
    QString error;
    WindowHarness window;
    window.openPortAndSettle();
    // From the batch box's menu; with no file in use, Save asks for one.
    const auto choosing = whenShown([] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu && menu->actions().constLast()->text() == u"通道设置…"_s)
            menu->actions().constLast()->trigger();
        return menu && menu->close();
    });
    Q_EMIT window.control<QTextEdit>(u"RichTextBox1"_s).customContextMenuRequested({});
    QPointer dialog = window.form().findChild<pwm20::ChannelSetupDialog *>();
    QVERIFY(dialog && !QApplication::activeModalWidget()); // the window's stop button stays usable
    QCOMPARE(dialog->windowTitle(), u"通道设置 — 默认设置"_s);
    typeCells(*dialog, {u"name3=elbow"_s, u"min3=40"_s, u"max3=200"_s, u"home3=100"_s,
                        u"speed3=50"_s, u"accel3=250"_s});
    dialog->findChild<QComboBox *>()->setCurrentText(u"归位"_s);
    clickIn(*dialog, u"save"_s, folder.filePath(u"robot"_s));
    QTRY_VERIFY(!dialog);
    pwm20::ChannelTable expected;
    expected.setChannel(3, {"elbow", 40, 200, 100, 50, 250});
    expected.setStopPose(pwm20::ChannelTable::StopPose::Home);
    QVERIFY(pwm20::loadSetupFile(path, error) == expected);
    // Used at once, and nothing moves until a person moves it.
    QCOMPARE(window.com1().takeAllWithin(300), QByteArray());
    QCOMPARE(window.control<QLabel>(u"Label3"_s).toolTip(),
             u"通道 3（elbow）\n可用数值：0（关）或 40..200\n归位：100\n速度上限：50/秒\n"
             u"加速度上限：250/秒²"_s);
    window.clickOn(3, QStyle::SC_ScrollBarSubLine);
    QCOMPARE(window.com1().takeReceived(4), frame(3, 40));

    // Two right-clicks on captions, one dialog; a failed save leaves it up.
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {}, QPoint());
    QApplication::sendEvent(&window.control<QLabel>(u"Label15"_s), &rightClick);
    QApplication::sendEvent(&window.control<QLabel>(u"Label16"_s), &rightClick);
    QCOMPARE(window.form().findChildren<pwm20::ChannelSetupDialog *>().size(), 1);
    dialog = window.form().findChild<pwm20::ChannelSetupDialog *>();
    typeCells(*dialog, {u"min3=41"_s});
    clickIn(*dialog, u"saveAs"_s, folder.filePath(u"none/other.ini"_s));
    QCOMPARE(window.messages().takeShown().value(0).section(u':', 0, 0),
             u"⚠ 无法保存通道设置。\n%1/none/other.ini"_s.arg(folder.path()));
    QVERIFY(dialog->isVisible());
    // Its question about unsaved edits blocks the dialog alone: the window's button still plays.
    window.form().show();
    typeBatch(window, u"1=5"_s);
    bool closed = true; // the window is not closed behind the question's back
    const auto asking = whenShown([&window, &closed] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box) // through the window system, where a modal box blocks what it blocks
            QTest::mouseClick(window.form().windowHandle(), Qt::LeftButton, {},
                              window.button(2).geometry().center());
        return box &&
               (closed = window.form().close(), box->button(QMessageBox::Cancel)->click(), true);
    });
    dialog->reject();
    QVERIFY(!closed && window.form().isVisible());
    QCOMPARE(window.com1().takeReceived(4), frame(1, 5));
    clickIn(*dialog, u"save"_s, folder.filePath(u"other.ini"_s));
    expected.setChannel(3, {"elbow", 41, 200, 100, 50, 250});
    QVERIFY(pwm20::loadSetupFile(path, error) == expected && !dialog->isVisible());
}

void TestWindowFrames::setupEdits_data()
{
    QTest::addColumn<QByteArray>("onStop"); // ends the setup file, and may spoil it
    QTest::addColumn<QString>("keys");  // \t Tab, \b Backtab, \x1b Esc, ~ close button, ^ window's
    QTest::addColumn<QString>("reply"); // to the question, if one comes; Esc when not offered
    // The fault shown|cells marked|channel 5's cells|the file's min|asked.
    QTest::addColumn<QString>("after");
    const auto row = [](const char *name, const QString &keys, const QString &after,
                        const QString &reply = {}, const QByteArray &onStop = "none") {
        QTest::newRow(name) << onStop << keys << reply << after;
    };
    row("typed over cells entered by Tab, Backtab; Enter saves nothing", u"\t\t\t\b30\r"_s,
        u"||shoulder 7 30 12 open|7|"_s);
    row("typed over the name, Esc puts back only the cell edited", u"arm\t9\x1b"_s,
        u"||arm 7 32 12 open|7|"_s);
    const QString asked = u"通道设置有改动，尚未保存。保存吗？(保存 取消 放弃改动)"_s;
    row("Esc again asks", u"arm\t9\x1b\x1b"_s, u"||arm 7 32 12 open|7|"_s + asked, u"取消"_s);
    row("close button, saved", u"\t8~"_s, u"||shoulder 8 32 12 closed|8|"_s + asked, u"保存"_s);
    row("window closed, kept", u"\t8^"_s, u"||shoulder 8 32 12 open|7|"_s + asked, u"取消"_s);
    row("window closed, discarded", u"\t8^"_s,
        u"||shoulder 8 32 12 closed, window closed|7|"_s + asked, u"放弃改动"_s);
    row("a fault: no saving", u"\tx~"_s,
        u"通道 5，最小：“x”不是十进制整数。|min5 no save|shoulder x 32 12 open|7|"
        u"通道设置有改动，但其中有错误，无法保存。放弃这些改动吗？(取消 放弃改动)"_s,
        u"保存"_s);
    // Limits that do not fit: the cell typed last is at fault.
    row("home outside", u"{min3=200}"_s,
        u"通道 3，最小：归位（19）应在最小（200）和最大（255）之间。|min3 no save|"
        u"shoulder 7 32 12 open|7|"_s);
    row("max, then min", u"{max3=5}{min3=9}"_s,
        u"通道 3，最小：最小（9）大于最大（5）。|min3 no save|shoulder 7 32 12 open|7|"_s);
    row("not a number, first of two", u"{home12=x}{max4=}"_s,
        u"通道 4，最大：“”不是十进制整数。|max4 no save|shoulder 7 32 12 open|7|"_s);
    row("line break pasted", u"{name2=a\nb}{min3=x}"_s,
        u"通道 2，名称：名称“a b”只能由字母、数字和 _ 组成，且不能以数字开头。|name2 no save|"
        u"shoulder 7 32 12 open|7|"_s);
    row("a speed edited after the limits", u"{max3=5}{min3=9}{speed3=7}"_s,
        u"通道 3，最小：最小（9）大于最大（5）。|min3 no save|shoulder 7 32 12 open|7|"_s);
    row("speed out of range", u"{accel4=1}{speed4=2551}"_s,
        u"通道 4，速度：应在 1 到 2550 之间，而不是 2551；不限速就不写。|speed4 no save|"
        u"shoulder 7 32 12 open|7|"_s);
    row("put right", u"{min5=abc}{min5=10}{name5= arm }"_s, u"|| arm  10 32 12 open|7|"_s);
    row("a file with a fault in a cell", u"~"_s,
        u"通道 6，最小：%1|min6 no save|shoulder 7 32 12 closed|FILE: [channel6] min: %1|"_s.arg(
            u"应在 1 到 255 之间，而不是 0。"_s),
        {}, "none\n[channel6]\nmin=0");
    row("a file with a fault elsewhere, saved over", u"\t8~"_s,
        u"这个文件无法使用，现用的是默认设置：FILE: [batch] speed: 未知的键。\n"
        u"改正后保存，将用上表的内容改写这个文件。||shoulder 8 32 12 closed|8|"_s +
            asked,
        u"保存"_s, "none\nspeed=3");
}

void TestWindowFrames::setupEdits()
{
    QFETCH(QByteArray, onStop);
    QFETCH(QString, keys);
    QFETCH(QString, reply);
    QFETCH(QString, after);
    const QTemporaryDir folder;
    const QString path = setupFile(folder, onStop);
    WindowHarness window;
    window.form().useSetup(path);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {}, QPoint());
    QApplication::sendEvent(&window.label(5), &rightClick);
    QPointer dialog = window.form().findChild<pwm20::ChannelSetupDialog *>();
    QCOMPARE(dialog->windowTitle(), u"通道设置 — "_s + path);
    QTRY_COMPARE(QApplication::activeWindow(), dialog.data());
    QString shown;
    const auto answering = whenShown([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QStringList buttons;
        for (QAbstractButton *button : box ? box->buttons() : QList<QAbstractButton *>())
            buttons << button->text();
        if (box)
            (buttons.contains(reply) ? box->buttons()[buttons.indexOf(reply)] : box->escapeButton())
                ->click();
        // False: every question that comes is answered, not only the first.
        return box && (shown += box->text() + u'(' + buttons.join(u' ') + u')').isEmpty();
    });
    for (qsizetype at = 0; at < keys.size(); ++at) {
        const QChar key = keys[at];
        if (key == u'{') { // {cell=text}: the text put in the cell at once, as pasted
            const qsizetype end = keys.indexOf(u'}', at);
            typeCells(*dialog, {keys.mid(at + 1, end - at - 1)});
            at = end;
        } else if (key == u'~' || key == u'^') {
            (key == u'~' ? static_cast<QWidget &>(*dialog) : window.form()).close();
        } else { // \b stands for Shift+Tab
            QTest::keyClick(dialog->focusWidget(), key == u'\b' ? '\t' : key.toLatin1(),
                            key == u'\b' ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    QString error;
    const auto saved = pwm20::loadSetupFile(path, error);
    // The fault under the table, the cells marked, whether it can be saved.
    QString result = dialog->findChild<QLabel *>(u"fault"_s)->text() + u'|';
    for (QLineEdit *cell : dialog->findChildren<QLineEdit *>())
        result += cell->toolTip().isEmpty() ? u""_s : cell->objectName() + u' ';
    result += dialog->findChild<QPushButton *>(u"save"_s)->isEnabled() ? u"|"_s : u"no save|"_s;
    for (const char *field : {"name5", "min5", "max5", "home5"})
        result += dialog->findChild<QLineEdit *>(QLatin1StringView(field))->text() + u' ';
    result += (dialog->isVisible() ? u"open"_s : u"closed"_s) +
              (window.form().isVisible() ? u""_s : u", window closed"_s) + u'|' +
              (saved ? QString::number(saved->channel(5).min) : error) + u'|' + shown;
    QCOMPARE(result.replace(path, u"FILE"_s), after);
}

QTEST_MAIN(TestWindowFrames)
#include "TestWindowFrames.moc"
