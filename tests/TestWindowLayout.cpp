#include "RecordingMessages.h"

#include "app/Form1.h"
#include "serial/QtSerialService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextEdit>

using namespace pwm20;

namespace {

std::unique_ptr<Form1> makeWindow()
{
    auto window = std::make_unique<Form1>(
        std::make_unique<QtSerialService>([] { return QStringList(); }, nullptr),
        std::make_unique<testing::RecordingMessages>());
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("window not active");
    return window;
}

QString captionOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    return {};
}

// The room a control leaves for its caption, after its frame and indicator.
int roomForCaption(QWidget *widget)
{
    QStyle *style = widget->style();
    if (qobject_cast<QRadioButton *>(widget))
        return widget->width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    if (qobject_cast<QAbstractButton *>(widget))
        return widget->width() - 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
    return widget->width();
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void places_data();
    void places();
    void window();
    void initialState();
    void fontsAndCaptions();
    void tabChain();
    void optionsFormOneGroup();

private:
    std::unique_ptr<Form1> m_window;
};

void TestWindowLayout::initTestCase()
{
    m_window = makeWindow();
}

void TestWindowLayout::places_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<int>("fontPixels");
    // Channel rows: two banks of ten, 32 pixels apart; the lower bank 232 pixels down.
    for (int channel = 1; channel <= 20; ++channel) {
        const int column = (channel - 1) % 10;
        const int down = channel <= 10 ? 0 : 232;
        const int left = 8 + 32 * column;
        QTest::addRow("Label%d", channel)
            << QStringLiteral("Label%1").arg(channel)
            << QRect(left, 8 + down, channel <= 9 ? 24 : 30, 12) << 12;
        QTest::addRow("VScroll%d", channel)
            << QStringLiteral("VScroll%1").arg(channel) << QRect(left, 24 + down, 25, 177) << 12;
        QTest::addRow("v%d", channel)
            << QStringLiteral("v%1").arg(channel) << QRect(left, 208 + down, 25, 18) << 12;
    }
    const auto add = [](const char *name, QRect pixels, int fontPixels) {
        QTest::newRow(name) << QString::fromLatin1(name) << pixels << fontPixels;
    };
    add("Option1", {352, 8, 49, 17}, 12);
    add("Option2", {352, 24, 49, 17}, 12);
    add("Command1", {424, 8, 73, 33}, 12);
    add("Label21", {328, 56, 80, 16}, 16);
    add("Text1", {400, 48, 97, 25}, 16);
    add("Label22", {328, 88, 80, 16}, 16);
    add("Text2", {400, 80, 97, 25}, 16);
    add("Label23", {376, 112, 64, 16}, 16);
    add("RichTextBox1", {328, 136, 177, 233}, 12);
    add("Command2", {328, 376, 169, 33}, 12);
    add("Command3", {328, 416, 89, 41}, 12);
    add("Command4", {424, 416, 81, 41}, 12);
}

void TestWindowLayout::places()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(int, fontPixels);
    auto *control = m_window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(QFontInfo(control->font()).pixelSize(), fontPixels);
    QVERIFY(control->isVisible());
    if (!qobject_cast<QLabel *>(control))
        QVERIFY(!control->accessibleName().isEmpty());
}

void TestWindowLayout::window()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral(u"20路PWM上机位程序----Varnok"));
    QCOMPARE(m_window->size(), QSize(510, 466));
    QCOMPARE(m_window->minimumSize(), QSize(510, 466));
    QCOMPARE(m_window->maximumSize(), QSize(510, 466));
    const QIcon icon = m_window->windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = icon.pixmap(32, 32).toImage();
    QVERIFY(!image.hasAlphaChannel());
    QVERIFY(image.pixelColor(6, 10).red() == image.pixelColor(6, 10).blue()); // grey towers
}

void TestWindowLayout::initialState()
{
    for (int channel = 1; channel <= 20; ++channel) {
        auto *slider = m_window->findChild<QScrollBar *>(QStringLiteral("VScroll%1").arg(channel));
        QCOMPARE(slider->value(), 255);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QCOMPARE(slider->singleStep(), 1);
        QCOMPARE(slider->pageStep(), 1);
        QCOMPARE(slider->orientation(), Qt::Vertical);
        QCOMPARE(slider->accessibleName(), QStringLiteral("PWM%1").arg(channel));
        auto *box = m_window->findChild<QLineEdit *>(QStringLiteral("v%1").arg(channel));
        QCOMPARE(box->text(), QStringLiteral("0"));
        QCOMPARE(box->accessibleName(), QStringLiteral("PWM%1").arg(channel));
        auto *label = m_window->findChild<QLabel *>(QStringLiteral("Label%1").arg(channel));
        QCOMPARE(label->text(), QStringLiteral("PWM%1").arg(channel));
    }
    QCOMPARE(m_window->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QString());
    QCOMPARE(m_window->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QString());
    QVERIFY(
        m_window->findChild<QTextEdit *>(QStringLiteral("RichTextBox1"))->document()->isEmpty());
    QVERIFY(m_window->findChild<QRadioButton *>(QStringLiteral("Option1"))->isChecked());
    QVERIFY(!m_window->findChild<QRadioButton *>(QStringLiteral("Option2"))->isChecked());
    const QStringList enabledButtons{QStringLiteral("Command1"), QStringLiteral("Command2")};
    for (const QString &name : {QStringLiteral("Command1"), QStringLiteral("Command2"),
                                QStringLiteral("Command3"), QStringLiteral("Command4")}) {
        auto *button = m_window->findChild<QAbstractButton *>(name);
        QCOMPARE(button->isEnabled(), enabledButtons.contains(name));
        QCOMPARE(button->accessibleName(), button->text());
    }
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("VScroll1"));
}

void TestWindowLayout::fontsAndCaptions()
{
    const QFontInfo windowFont(m_window->font());
    QVERIFY2(QStringList({QStringLiteral(u"宋体"), QStringLiteral("SimSun"),
                          QStringLiteral("AR PL UMing CN")})
                 .contains(windowFont.family()),
             qPrintable(windowFont.family()));
    QCOMPARE(QFontMetrics(m_window->font()).horizontalAdvance(QLatin1Char('M')), 6);

    for (QWidget *control : m_window->findChildren<QWidget *>()) {
        const QString caption = captionOf(control);
        if (caption.isEmpty())
            continue;
        const QFontMetrics metrics(control->font());
        QVERIFY2(metrics.horizontalAdvance(caption) <= roomForCaption(control),
                 qPrintable(control->objectName()));
        QVERIFY2(metrics.height() <= control->height() + 1, qPrintable(control->objectName()));
        // Chinese must come from the font itself, never as boxes.
        for (char32_t character : caption.toUcs4())
            QVERIFY2(metrics.inFontUcs4(character), qPrintable(control->objectName()));
    }
}

void TestWindowLayout::tabChain()
{
    QStringList expected;
    for (int channel = 1; channel <= 20; ++channel)
        expected << QStringLiteral("VScroll%1").arg(channel);
    expected << QStringLiteral("Command1") << QStringLiteral("Option1") << QStringLiteral("Text1");
    for (int channel : {1, 2, 3, 4, 5, 7, 6, 8, 9, 10, 12, 11, 13, 14, 15, 17, 16, 18, 19, 20})
        expected << QStringLiteral("v%1").arg(channel);
    expected << QStringLiteral("Text2") << QStringLiteral("RichTextBox1")
             << QStringLiteral("Command2");
    // Round the whole chain: from VScroll1 back to it.
    expected.move(0, expected.size() - 1);

    m_window->findChild<QWidget *>(QStringLiteral("VScroll1"))->setFocus();
    QStringList visited;
    for (qsizetype step = 0; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestWindowLayout::optionsFormOneGroup()
{
    auto *option1 = m_window->findChild<QRadioButton *>(QStringLiteral("Option1"));
    auto *option2 = m_window->findChild<QRadioButton *>(QStringLiteral("Option2"));
    QTest::mouseClick(option2, Qt::LeftButton);
    QVERIFY(option2->isChecked());
    QVERIFY(!option1->isChecked());
    QTest::mouseClick(option1, Qt::LeftButton);
    QVERIFY(option1->isChecked());
    QVERIFY(!option2->isChecked());
}

QTEST_MAIN(TestWindowLayout)
#include "TestWindowLayout.moc"
