#include "WindowHarness.h"

#include "app/Language.h"
#include "app/MessageLines.h"
#include "app/SongFont.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

QString captionOf(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    auto *box = qobject_cast<QLineEdit *>(control);
    return box ? box->text() : QString();
}

// The room a control leaves for its caption, after its frame or indicator.
int roomForCaption(QWidget *control)
{
    const QStyle *style = control->style();
    if (qobject_cast<QRadioButton *>(control))
        return control->width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    if (qobject_cast<QAbstractButton *>(control))
        return control->width() - 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
    return control->width();
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void places_data();
    void places();
    void windowAndInitialState();
    void languageChoice();
    void messageLines_data();
    void messageLines();
    void tabChainAndFocus();

private:
    QTranslator m_english;
    std::unique_ptr<WindowHarness> m_window; // in Chinese
    std::unique_ptr<WindowHarness> m_inEnglish;
};

void TestWindowLayout::initTestCase()
{
    m_window = std::make_unique<WindowHarness>();
    QVERIFY(pwm20::installLanguage(m_english, u"en"_s) == u"en");
    m_inEnglish = std::make_unique<WindowHarness>();
    QApplication::setActiveWindow(&m_window->form());
    QVERIFY(QTest::qWaitForWindowActive(&m_window->form()));
}

void TestWindowLayout::places_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<int>("fontPixels");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("english");
    const auto add = [](const QString &name, QRect pixels, int fontPixels, const QString &chinese,
                        const QString &english) {
        QTest::newRow(qPrintable(name)) << name << pixels << fontPixels << chinese << english;
    };
    // Channel rows: two banks of ten, 32 pixels apart; the lower bank 232 pixels down.
    for (int channel = 1; channel <= 20; ++channel) {
        const int left = 8 + 32 * ((channel - 1) % 10);
        const int down = channel <= 10 ? 0 : 232;
        const QString n = QString::number(channel);
        const QRect label(left, 8 + down, channel <= 9 ? 24 : 30, 12);
        add(u"Label"_s + n, label, 12, u"PWM"_s + n, u"PWM"_s + n);
        add(u"VScroll"_s + n, QRect(left, 24 + down, 25, 177), 12, {}, {});
        add(u"v"_s + n, QRect(left, 208 + down, 25, 18), 12, u"0"_s, u"0"_s);
    }
    add(u"Option1"_s, {352, 8, 49, 17}, 12, u"com1"_s, u"com1"_s);
    add(u"Option2"_s, {352, 24, 49, 17}, 12, u"com2"_s, u"com2"_s);
    add(u"Command1"_s, {424, 8, 73, 33}, 12, u"打开串口"_s, u"Open port"_s);
    add(u"Label21"_s, {328, 56, 80, 16}, 16, u"命令状态："_s, u"Sent:"_s);
    add(u"Text1"_s, {400, 48, 97, 25}, 16, {}, {});
    add(u"Label22"_s, {328, 88, 80, 16}, 16, u"返回数据："_s, u"Reply:"_s);
    add(u"Text2"_s, {400, 80, 97, 25}, 16, {}, {});
    add(u"Label23"_s, {376, 112, 64, 16}, 16, u"批量发送"_s, u"Batch"_s);
    add(u"RichTextBox1"_s, {328, 136, 177, 233}, 12, {}, {});
    add(u"Command2"_s, {328, 376, 169, 33}, 12, u"批量发送"_s, u"Send batch"_s);
    add(u"Command3"_s, {328, 416, 89, 41}, 12, u"全关"_s, u"All off"_s);
    add(u"Command4"_s, {424, 416, 81, 41}, 12, u"舵机全归中"_s, u"Centre all"_s);
}

void TestWindowLayout::places()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(int, fontPixels);
    QFETCH(QString, chinese);
    QFETCH(QString, english);
    for (WindowHarness *window : {m_window.get(), m_inEnglish.get()}) {
        auto *control = window->form().findChild<QWidget *>(name);
        QVERIFY(control && control->isVisible() && !control->accessibleName().isEmpty());
        QCOMPARE(control->geometry(), pixels);
        QCOMPARE(QFontInfo(control->font()).pixelSize(), fontPixels);
        const QString caption = captionOf(control);
        QCOMPARE(caption, window == m_window.get() ? chinese : english);
        // Each caption fits its control, and Chinese comes from the font itself, never as boxes.
        const QFontMetrics metrics(control->font());
        QVERIFY(metrics.horizontalAdvance(caption) <= roomForCaption(control));
        QVERIFY(metrics.height() <= control->height() + 1);
        for (char32_t character : caption.toUcs4())
            QVERIFY(metrics.inFontUcs4(character));
    }
}

void TestWindowLayout::windowAndInitialState()
{
    WindowHarness &window = *m_window;
    QCOMPARE(window.form().windowTitle(), u"20路PWM上机位程序----Varnok"_s);
    QCOMPARE(m_inEnglish->form().windowTitle(), u"20-channel PWM host----Varnok"_s);
    QCOMPARE(window.form().minimumSize(), QSize(510, 466));
    QCOMPARE(window.form().maximumSize(), QSize(510, 466));
    const QImage icon = window.form().windowIcon().pixmap(32, 32).toImage();
    QVERIFY(icon.size() == QSize(32, 32) && !icon.hasAlphaChannel());
    QCOMPARE(QFontMetrics(window.form().font()).horizontalAdvance(u'M'), 6);
    QCOMPARE(QFontInfo(window.control<QTextEdit>(u"RichTextBox1"_s).font()).family(),
             u"WenQuanYi Micro Hei Mono"_s);

    // The port is set up but stays closed, and nothing is sent at start.
    QVERIFY(!window.comm().portOpen() && window.comm().commPort() == 1);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QVERIFY(window.messages().takeShown().isEmpty());
    for (int channel = 1; channel <= 20; ++channel) {
        QScrollBar &slider = window.slider(channel);
        QCOMPARE(QList({slider.value(), slider.minimum(), slider.maximum(), slider.singleStep(),
                        slider.pageStep(), int(slider.hasTracking())}),
                 QList({255, 0, 255, 1, 1, 0}));
        QCOMPARE(slider.accessibleName(), u"PWM%1"_s.arg(channel));
    }
    QVERIFY(window.option(1).isChecked() && !window.option(2).isChecked());
    QCOMPARE(QApplication::focusWidget(), &window.slider(1));
}

void TestWindowLayout::languageChoice()
{
    using pwm20::chooseLanguage;
    QCOMPARE(chooseLanguage({}, {u"zh-TW"_s, u"en"_s}) + chooseLanguage({}, {u"C"_s}) +
                 chooseLanguage({}, {}) + chooseLanguage(u"zh"_s, {u"en-US"_s}),
             u"zhzhzhzh"_s);
    QCOMPARE(chooseLanguage({}, {u"de-DE"_s, u"zh-CN"_s}) + chooseLanguage(u"en"_s, {u"zh-CN"_s}),
             u"enen"_s);
}

void TestWindowLayout::messageLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width"); // in the window's font: ASCII 6 pixels, Chinese 12
    QTest::addColumn<QString>("lines");
    QTest::newRow("Chinese, at punctuation and blanks")
        << u"无法打开串口 com1（设备 "
           u"/dev/ttyUSB0）：找不到该设备。\n请插上串口适配器，或用环境变量 "
           u"PWM20_COM1 指定设备。"_s
        << 200
        << u"无法打开串口 com1（设备\n/dev/ttyUSB0）：找不到该设备。\n请插上串口适配器，"
           u"或用环境变量\nPWM20_COM1 指定设备。"_s;
    QTest::newRow("a range stays whole") << u"通道 5（shoulder）只接受 0 或 7..32。"_s << 200
                                         << u"通道 5（shoulder）只接受 0 或\n7..32。"_s;
    QTest::newRow("English; a word wider than a line stays whole")
        << u"Cannot open serial port com1 (device /dev/serial/by-id/usb-FTDI-if00): not found."_s
        << 150
        << u"Cannot open serial port\ncom1 (device\n/dev/serial/by-id/usb-FTDI-if00):\nnot found."_s;
}

void TestWindowLayout::messageLines()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, lines);
    QCOMPARE(pwm20::breakMessageLines(text, QFontMetrics(pwm20::songFont(9)), width), lines);
}

void TestWindowLayout::tabChainAndFocus()
{
    QStringList expected;
    for (int channel = 2; channel <= 20; ++channel)
        expected << u"VScroll%1"_s.arg(channel);
    expected << u"Command1"_s << u"Option1"_s << u"Text1"_s;
    for (int channel : {1, 2, 3, 4, 5, 7, 6, 8, 9, 10, 12, 11, 13, 14, 15, 17, 16, 18, 19, 20})
        expected << u"v%1"_s.arg(channel);
    expected << u"Text2"_s << u"RichTextBox1"_s << u"Command2"_s << u"VScroll1"_s;

    // Ctrl+Tab leaves the batch box, where Tab indents; Ctrl+Shift+Tab goes back.
    auto &box = m_window->control<QTextEdit>(u"RichTextBox1"_s);
    m_window->slider(1).setFocus();
    QStringList visited;
    for (qsizetype step = 0; step < expected.size(); ++step) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus, Qt::Key_Tab, focus == &box ? Qt::ControlModifier : Qt::NoModifier);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);

    // A slider with the keyboard focus looks it.
    const QImage withFocus = m_window->slider(1).grab().toImage();
    m_window->valueBox(1).setFocus();
    QVERIFY(m_window->slider(1).grab().toImage() != withFocus);

    box.setFocus();
    QTest::keyClicks(&box, u"1=24\r\twait 10"_s);
    QCOMPARE(box.toPlainText(), u"1=24\n\twait 10"_s);
    // A tab indents four characters (of 7 pixels), not 80 pixels.
    QCOMPARE(box.document()->defaultTextOption().tabStopDistance(), 28.0);
    QTest::keyClick(&box, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), &m_window->text2());
}

QTEST_MAIN(TestWindowLayout)
#include "TestWindowLayout.moc"
