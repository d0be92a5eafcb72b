// The channel setup dialog beside the window: entering and leaving cells, closing with edits, a
// file that could not be used, and what the window says about setups.
#include "WindowHarness.h"

#include "app/ChannelSetupDialog.h"
#include "app/Language.h"
#include "setup/SetupFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

// Channel 5 is a shoulder taking 7..32.
const QByteArray arm = "[channel5]\nname=shoulder\nmin=7\nmax=32\n";

QString writeFile(const QTemporaryDir &folder, const QByteArray &text)
{
    QFile file(folder.filePath(u"arm.ini"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write the setup");
    return file.fileName();
}

// Right-clicks caption `channel`, which opens the dialog at that channel.
pwm20::ChannelSetupDialog *openDialog(WindowHarness &window, int channel)
{
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {}, QPoint());
    QApplication::sendEvent(&window.label(channel), &rightClick);
    return window.form().findChild<pwm20::ChannelSetupDialog *>();
}

// Answers the question the next input asks with the button named `answer`, else Esc; `asked`
// gets the question and its buttons.
[[nodiscard]] std::unique_ptr<QTimer> answer(const QString &answer, QString &asked)
{
    return whenShown([&asked, answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return false;
        asked = box->text();
        QAbstractButton *chosen = box->escapeButton();
        for (QAbstractButton *button : box->buttons()) {
            asked += u'|' + button->text();
            chosen = button->text() == answer ? button : chosen;
        }
        chosen->click();
        return true;
    });
}

} // namespace

class TestSetupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        pwm20::installLanguage(m_chinese, u"zh"_s);
    }
    void keys_data();
    void keys();
    void closing_data();
    void closing();
    void fileNotUsed_data();
    void fileNotUsed();
    void besideABatch();

private:
    QTranslator m_chinese;
};

void TestSetupDialog::keys_data()
{
    QTest::addColumn<QString>("keys");  // \t Tab, \b Backtab, \x1b Esc, typed otherwise
    QTest::addColumn<QString>("cells"); // what the cells of channel 5 hold then
    QTest::addColumn<QString>("asked"); // before closing, answered 取消
    const auto row = [](const char *name, const QString &keys, const QString &cells,
                        const QString &asked = {}) {
        QTest::newRow(name) << keys << cells << asked;
    };
    row("typed over the name selected on opening", u"arm"_s, u"arm 7 32 19 open"_s);
    row("typed over a cell entered by Tab", u"\t\t30"_s, u"shoulder 7 30 19 open"_s);
    row("typed over cells entered by Backtab and Tab", u"\t\t\t\b9\t2"_s, u"shoulder 7 9 2 open"_s);
    row("Esc puts back only the cell edited", u"arm\t9\x1b"_s, u"arm 7 32 19 open"_s);
    row("Esc again asks about the edits", u"arm\t9\x1b\x1b"_s, u"arm 7 32 19 open"_s,
        u"通道设置有改动，尚未保存。保存吗？"_s);
    row("Esc with nothing edited closes", u"\x1b"_s, u"shoulder 7 32 19"_s);
}

void TestSetupDialog::keys()
{
    QFETCH(QString, keys);
    QFETCH(QString, cells);
    QFETCH(QString, asked);
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(writeFile(folder, arm));
    QPointer dialog = openDialog(window, 5);
    QTRY_COMPARE(QApplication::activeWindow(), dialog.data());
    QString question;
    const auto answering = answer(u"取消"_s, question);
    for (const QChar key : keys) {
        if (key.isPrint())
            QTest::keyClicks(QApplication::focusWidget(), key);
        else
            QTest::keyClick(QApplication::focusWidget(), key == u'\t'   ? Qt::Key_Tab
                                                         : key == u'\b' ? Qt::Key_Backtab
                                                                        : Qt::Key_Escape);
    }
    QStringList shown;
    for (const char *field : {"name5", "min5", "max5", "home5"})
        shown << dialog->findChild<QLineEdit *>(QLatin1StringView(field))->text();
    QCOMPARE(shown.join(u' ') + (dialog->isVisible() ? u" open"_s : u""_s), cells);
    QCOMPARE(question.section(u'|', 0, 0), asked);
}

void TestSetupDialog::closing_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("after"); // min in the file, the dialog, the window
    QTest::addColumn<QString>("asked");
    const QString save = u"通道设置有改动，尚未保存。保存吗？|保存|取消|放弃改动"_s;
    QTest::newRow("close button, saved")
        << u"8"_s << u"close"_s << u"保存"_s << u"8 closed open"_s << save;
    QTest::newRow("取消 clicked, discarded")
        << u"8"_s << u"cancel"_s << u"放弃改动"_s << u"7 closed open"_s << save;
    QTest::newRow("window closed, kept")
        << u"8"_s << u"window"_s << u"取消"_s << u"7 open open"_s << save;
    QTest::newRow("window closed, discarded")
        << u"8"_s << u"window"_s << u"放弃改动"_s << u"7 closed closed"_s << save;
    QTest::newRow("a fault: no saving")
        << u"x"_s << u"close"_s << u"保存"_s << u"7 open open"_s
        << u"通道设置有改动，但其中有错误，无法保存。放弃这些改动吗？|取消|放弃改动"_s;
    QTest::newRow("nothing edited")
        << u"7"_s << u"window"_s << u"取消"_s << u"7 closed closed"_s << QString();
}

void TestSetupDialog::closing()
{
    QFETCH(QString, edit);
    QFETCH(QString, how);
    QFETCH(QString, reply);
    QFETCH(QString, after);
    QFETCH(QString, asked);
    const QTemporaryDir folder;
    const QString path = writeFile(folder, arm);
    WindowHarness window;
    window.form().useSetup(path);
    QPointer dialog = openDialog(window, 5);
    dialog->findChild<QLineEdit *>(u"min5"_s)->setText(edit);
    QString question;
    {
        const auto answering = answer(reply, question);
        if (how == u"close")
            dialog->close();
        else if (how == u"window")
            window.form().close();
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (how == u"cancel" && button->text() == u"取消"_s)
                button->click();
    }
    QString error;
    QCOMPARE(u"%1 %2 %3"_s.arg(pwm20::loadSetupFile(path, error)->channel(5).min)
                 .arg(dialog && dialog->isVisible() ? u"open" : u"closed")
                 .arg(window.form().isVisible() ? u"open" : u"closed"),
             after);
    QCOMPARE(question, asked);
}

void TestSetupDialog::fileNotUsed_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("fault"); // under the table; FILE stands for the file
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("fix");
    QTest::newRow("a fault in a cell")
        << QByteArray("[channel5]\nname=shoulder\nmin=0\nmin=3")
        << u"通道 5，最小：应在 1 到 255 之间，而不是 0。"_s << u"min5"_s << u"7"_s;
    QTest::newRow("a fault outside the cells")
        << QByteArray("[channel5]\nname=shoulder\nspeed=3\n[batch]\non_stop=home")
        << u"这个文件无法使用，现用的是默认设置：FILE: [channel5] speed: 未知的键。\n"
           u"改正后保存，将用上表的内容改写这个文件。"_s
        << QString() << QString();
}

void TestSetupDialog::fileNotUsed()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, fault);
    QFETCH(QString, marked);
    QFETCH(QString, fix);
    const QTemporaryDir folder;
    const QString path = writeFile(folder, text);
    WindowHarness window;
    window.form().useSetup(path);
    QPointer dialog = openDialog(window, 1);
    QCOMPARE(dialog->windowTitle(), u"通道设置 — "_s + path);
    QCOMPARE(dialog->findChild<QLabel *>(u"fault"_s)->text(),
             QString(fault).replace(u"FILE"_s, path));
    for (QLineEdit *cell : dialog->findChildren<QLineEdit *>())
        QCOMPARE(cell->toolTip().isEmpty(), cell->objectName() != marked);
    if (!fix.isEmpty())
        dialog->findChild<QLineEdit *>(marked)->setText(fix);
    // Saved where it came from, without asking.
    dialog->findChild<QPushButton *>(u"save"_s)->click();
    QTRY_VERIFY(!dialog);
    QString error;
    const auto saved = pwm20::loadSetupFile(path, error);
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(saved->channel(5).name + ' ' + std::to_string(saved->channel(5).min),
             "shoulder " + (fix.isEmpty() ? "1" : fix.toStdString()));
    QCOMPARE(saved->stopPose(), fix.isEmpty() ? pwm20::ChannelTable::StopPose::Home
                                              : pwm20::ChannelTable::StopPose::None);
}

void TestSetupDialog::besideABatch()
{
    QTemporaryDir folder;
    const QString path = writeFile(folder, arm);
    WindowHarness window;
    window.form().useSetup(path);
    window.openPortAndSettle();
    auto &box = window.control<QTextEdit>(u"RichTextBox1"_s);
    const auto insertMove = [&box] {
        for (QAction *action : box.actions())
            if (action->text() == u"插入移动"_s)
                action->trigger();
    };
    insertMove(); // every channel off
    window.typeAndEnter(5, u"20"_s);
    window.typeAndEnter(3, u"19"_s);
    insertMove();
    QCOMPARE(box.toPlainText(), u"move 3=19 shoulder=20 in 500"_s);
    QCOMPARE(window.messages().takeShown(),
             QStringList(u"没有插入移动：所有通道都是关（0）的，而移动从通道现在的位置出发。"
                         u"请先用滑块或数值框把要移动的通道设到一个位置。"_s));

    // The dialog, opened twice, is one, and leaves the stop button within reach.
    box.setPlainText(u"repeat\n1=20\nwait 40\nend"_s);
    window.click(window.button(2));
    QPointer dialog = openDialog(window, 5);
    QCOMPARE(openDialog(window, 7), dialog.data());
    QCOMPARE(window.form().findChildren<pwm20::ChannelSetupDialog *>().size(), 1);
    QCOMPARE(dialog->focusWidget()->objectName(), u"name7"_s);
    QVERIFY(!QApplication::activeModalWidget());
    window.click(window.button(2));
    QCOMPARE(window.button(2).text(), u"批量发送"_s);

    // A remembered file gone: said once the window is on screen, not before.
    QVERIFY(QFile::remove(path));
    window.form().hide();
    window.form().useSetup(path);
    QCOMPARE(window.messages().takeShown(), QStringList());
    window.form().show();
    QStringList shown;
    QTRY_VERIFY(!(shown += window.messages().takeShown()).isEmpty());
    QCOMPARE(
        shown,
        QStringList(u"⚠ 上次使用的通道设置已不能使用，pwm20 不再记住它，现用默认设置。\n"
                    u"%1: 此文件或目录不存在\n要换用别的设置文件，请用 pwm20 --setup 文件 "
                    u"启动；或右键单击通道标题打开“通道设置”，改好后保存或另存为。"_s.arg(path)));
}

QTEST_MAIN(TestSetupDialog)
#include "TestSetupDialog.moc"
