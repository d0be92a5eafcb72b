#include "Language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace pwm20 {

QString chooseLanguage(const QString &requested, const QStringList &uiLanguages)
{
    if (!requested.isEmpty())
        return requested;
    const QString first = uiLanguages.value(0, QStringLiteral("C"));
    if (first == u"C" || first == u"POSIX" || first.startsWith(u"zh"))
        return QStringLiteral("zh");
    return QStringLiteral("en");
}

QString installLanguage(QTranslator &translator, const QString &requested)
{
    const QString language = chooseLanguage(requested, QLocale::system().uiLanguages());
    if (language == u"en" && translator.load(QStringLiteral(":/i18n/pwm20_en.qm")))
        QCoreApplication::installTranslator(&translator);
    return language;
}

} // namespace pwm20
