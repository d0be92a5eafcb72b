#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

namespace pwm20 {

// "zh" or "en": the one asked for, else Chinese when the user's first interface language is
// Chinese or none is set (the C or POSIX locale), else English.
QString chooseLanguage(const QString &requested, const QStringList &uiLanguages);

// Installs the translation for `requested` (or the user's language) into the running
// application: the program's English for English, Qt's Chinese for Chinese. Returns the language.
QString installLanguage(QTranslator &translator, const QString &requested);

} // namespace pwm20
