// The floor for start-up time and memory: pwm20's window with the same controls, fonts, geometry,
// icon and translations, and nothing behind them.
#include "app/Language.h"
#include "app/SongFont.h"
#include "app/WindowLayout.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTranslator>

using namespace pwm20;

namespace {

QWidget *plainControl(const ControlPlace &place, QWidget *parent)
{
    switch (place.kind) {
    case ControlKind::Label:
        return new QLabel(place.caption, parent);
    case ControlKind::Slider: {
        auto *slider = new QScrollBar(Qt::Vertical, parent);
        slider->setRange(0, 255);
        slider->setValue(255);
        return slider;
    }
    case ControlKind::ValueBox:
    case ControlKind::TextBox:
        return new QLineEdit(place.caption, parent);
    case ControlKind::OptionButton:
        return new QRadioButton(place.caption, parent);
    case ControlKind::Button:
        return new QPushButton(place.caption, parent);
    case ControlKind::RichTextBox: {
        auto *text = new QTextEdit(parent);
        text->setFont(fixedPitchFont());
        return text;
    }
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    installLanguage(translator, {});
    QWidget window;
    window.setWindowTitle(WindowLayout::title());
    window.setWindowIcon(QIcon(QStringLiteral(":/pwm20/pwm20.png")));
    window.setFont(songFont(9));
    window.setFixedSize(WindowLayout::toPixels(WindowLayout::clientTwips()));
    for (const ControlPlace &place : WindowLayout::controls()) {
        QWidget *control = plainControl(place, &window);
        control->setGeometry(WindowLayout::toPixels(place.twips));
        control->setEnabled(place.enabled);
        if (place.font == FontRole::Large)
            control->setFont(songFont(12));
    }
    window.show();
    return QApplication::exec();
}
