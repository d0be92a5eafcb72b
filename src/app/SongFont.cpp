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

} // namespace pwm20
