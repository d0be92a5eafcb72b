// The batch box and its files: what is asked before an edit is lost, files written back as they
// came, and the box's lines as the batch counts them.
#include "WindowHarness.h"

#include "app/Language.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>

using namespace pwm20;
using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

QTextEdit &batchBox(WindowHarness &window)
{
    return window.control<QTextEdit>(u"RichTextBox1"_s);
}

QByteArray fileHolds(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Answers what the next input opens: the question about edits with `button`, its text kept in
// `asked`, and a file dialog with `path`.
[[nodiscard]] std::unique_ptr<QTimer> answer(QMessageBox::StandardButton button,
                                             const QString &path, QString *asked)
{
    return whenShown([=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            *asked = box->text();
            box->button(button)->click();
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
            dialog->setOption(QFileDialog::DontConfirmOverwrite);
            QMetaObject::invokeMethod(dialog, "accept");
            if (dialog->isVisible()) // never left open: that would hang the test
                QMetaObject::invokeMethod(dialog, "reject");
        }
        return false;
    });
}

// A shortcut of the batch box's menu, its window active as after a person's click.
void press(WindowHarness &window, QKeyCombination keys)
{
    window.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.form()));
    batchBox(window).setFocus();
    QTest::keyClick(&batchBox(window), keys.key(), keys.keyboardModifiers());
}

// An edit at stake: the box as left, then the window closed or a.txt opened over it.
struct Edit
{
    bool opened; // a.txt, holding "off\n", opened first
    QString typed;
    bool closing;
    QMessageBox::StandardButton button; // the answer to the question
    QString saveTo;                     // the answer to a save dialog
    bool asked, kept; // kept: the window stays open, or the box keeps what was typed
    QString file = u"a.txt"_s;
    QByteArray bytes = "off\n"; // what `file` holds afterwards
    QString message = {};
};

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestBatchFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installLanguage(m_chinese, u"zh"_s); }
    void asksBeforeLosing_data();
    void asksBeforeLosing();
    void savesAsOpened_data();
    void savesAsOpened();
    void linesAsCounted();

private:
    QTranslator m_chinese;
};

void TestBatchFiles::asksBeforeLosing_data()
{
    QTest::addColumn<Edit>("edit");
    using B = QMessageBox::StandardButton;
    QTest::newRow("empty") << Edit{false, {}, true, B::Save, {}, false, false};
    QTest::newRow("typed and erased") << Edit{false, u"x\b"_s, true, B::Save, {}, false, false};
    QTest::newRow("opened, unchanged") << Edit{true, {}, true, B::Save, {}, false, false};
    QTest::newRow("typed, cancel") << Edit{false, u"1=1"_s, true, B::Cancel, {}, true, true};
    QTest::newRow("typed, discard") << Edit{false, u"1=1"_s, true, B::Discard, {}, true, false};
    QTest::newRow("opened and edited, saved back")
        << Edit{true, u"# "_s, true, B::Save, {}, true, false, u"a.txt"_s, "# off\n"};
    QTest::newRow("typed, saved as")
        << Edit{false, u"1=1"_s, true, B::Save, u"b.txt"_s, true, false, u"b.txt"_s, "1=1"};
    QTest::newRow("typed, the save fails")
        << Edit{false,
                u"1=1"_s,
                true,
                B::Save,
                u"/pwm20-none/x.txt"_s,
                true,
                true,
                u"a.txt"_s,
                "off\n",
                u"⚠ 无法保存“/pwm20-none/x.txt”：此文件或目录不存在"_s};
    QTest::newRow("open over typed, cancel")
        << Edit{false, u"1=1"_s, false, B::Cancel, {}, true, true};
    QTest::newRow("open over typed, discard")
        << Edit{false, u"1=1"_s, false, B::Discard, {}, true, false};
}

void TestBatchFiles::asksBeforeLosing()
{
    QFETCH(Edit, edit);
    const QTemporaryDir folder;
    const QString opened = folder.filePath(u"a.txt"_s);
    QFile file(opened);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("off\n") == 4);
    file.close();
    WindowHarness window;
    QTextEdit &box = batchBox(window);
    QString asked;
    if (edit.opened) {
        const auto answering = answer(QMessageBox::Cancel, opened, &asked);
        press(window, Qt::CTRL | Qt::Key_O);
    }
    box.setFocus();
    QTest::keyClicks(&box, edit.typed);
    {
        const auto answering = answer(
            edit.button, edit.closing ? QDir(folder.path()).filePath(edit.saveTo) : opened, &asked);
        if (edit.closing)
            window.form().close();
        else
            press(window, Qt::CTRL | Qt::Key_O);
    }
    QCOMPARE(asked, edit.asked ? u"批量命令框中的修改尚未保存。要保存吗？"_s : QString());
    QCOMPARE(edit.closing ? window.form().isVisible() : box.toPlainText() == edit.typed, edit.kept);
    QVERIFY(!edit.kept || box.document()->isModified()); // still unsaved, and asked about again
    QCOMPARE(fileHolds(QDir(folder.path()).filePath(edit.file)), edit.bytes);
    QCOMPARE(window.messages().takeShown().join(u'\n'), edit.message);
}

void TestBatchFiles::savesAsOpened_data()
{
    QTest::addColumn<QByteArray>("bytes");  // opened and saved unchanged: the same bytes
    QTest::addColumn<QByteArray>("edited"); // then saved with Enter and "1=1" typed at its end
    QTest::newRow("CR LF, no end at the end")
        << QByteArray("wait 5\r\noff") << QByteArray("wait 5\r\noff\r\n1=1");
    QTest::newRow("lone CR") << QByteArray("wait 5\roff\r") << QByteArray("wait 5\roff\r\r1=1");
    QTest::newRow("byte-order mark, tab, no-break space") << QByteArray("\xEF\xBB\xBF\t1=1\xC2\xA0"
                                                                        "2=2\n")
                                                          << QByteArray("\xEF\xBB\xBF\t1=1\xC2\xA0"
                                                                        "2=2\n\n1=1");
    QTest::newRow("U+2028, U+2029, then LF") << QByteArray("1=1\xE2\x80\xA8"
                                                           "2=2\xE2\x80\xA9off\n")
                                             << QByteArray("1=1\xE2\x80\xA8"
                                                           "2=2\xE2\x80\xA9off\n\n1=1");
}

void TestBatchFiles::savesAsOpened()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, edited);
    const QTemporaryDir folder;
    const QString path = folder.filePath(u"a.txt"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    WindowHarness window;
    QString asked;
    const auto answering = answer(QMessageBox::Cancel, path, &asked);
    press(window, Qt::CTRL | Qt::Key_O);
    press(window, Qt::CTRL | Qt::Key_S);
    QCOMPARE(fileHolds(path), bytes);
    batchBox(window).moveCursor(QTextCursor::End);
    QTest::keyClick(&batchBox(window), Qt::Key_Return);
    QTest::keyClicks(&batchBox(window), u"1=1"_s);
    press(window, Qt::CTRL | Qt::Key_S);
    QCOMPARE(fileHolds(path), edited);
}

void TestBatchFiles::linesAsCounted()
{
    WindowHarness window;
    window.openPortAndSettle();
    QTextEdit &box = batchBox(window);
    // Shift+Enter ends a line within a paragraph; the next line wraps over several rows.
    box.setFocus();
    QTest::keyClicks(&box, u"1=1"_s);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    box.insertPlainText(u"wait 3000 # "_s + QString(100, u'x'));
    const int wrapped = box.textCursor().position();
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, u"jump"_s);
    window.click(window.button(2));
    QCOMPARE(window.messages().takeShown(),
             QStringList(u"⚠ 第 3 行“jump”：无法识别的命令“jump”。"_s));
    QCOMPARE(box.textCursor().position(), wrapped + 1);

    // The line playing is highlighted on each of its rows, and only it.
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, u"\b\b\b\b"_s);
    window.click(window.button(2));
    QCOMPARE(window.com1().takeReceived(4), frame(1, 1));
    const auto highlighted = [&box](int position) {
        QTextCursor at(box.document());
        at.setPosition(position);
        // Right of a short row's text, inside the document's margin.
        const int right = box.viewport()->width() - int(box.document()->documentMargin()) - 2;
        const QPoint point(right, box.cursorRect(at).center().y());
        return box.viewport()->grab().toImage().pixelColor(point) !=
               box.palette().color(QPalette::Base);
    };
    QTRY_VERIFY(highlighted(4) && highlighted(wrapped) && !highlighted(0));
    window.click(window.button(2));
}

QTEST_MAIN(TestBatchFiles)
#include "TestBatchFiles.moc"
