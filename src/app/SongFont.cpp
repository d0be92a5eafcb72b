#include "SongFont.h"

#include <QStringList>

namespace pwm20 {

QFont songFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral(u"宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB")});
    font.setPointSize(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont fixedPitchFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"),
                      QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Consolas")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

} // namespace pwm20
