#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
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
    // The program's texts are Chinese and Qt's own (buttons, standard menus, dialogs, --help's
    // headings) English: each language needs only the other half. Without Debian's Qt
    // translations Qt's texts stay English.
    const bool loaded = language == u"en"
                            ? translator.load(QStringLiteral(":/i18n/pwm20_en.qm"))
                            : translator.load(QStringLiteral("qtbase_zh_CN"),
                                              QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QCoreApplication::installTranslator(&translator);
    return language;
}

} // namespace pwm20
