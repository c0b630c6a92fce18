#include "ui/base/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tomlet {

namespace {

// The language Qt knows under the English name a language file carries.
QLocale::Language LanguageNamed(const QString& name) {
    for (int value = QLocale::AnyLanguage + 1; value <= QLocale::LastLanguage; ++value) {
        const auto language = static_cast<QLocale::Language>(value);
        if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) == 0)
            return language;
    }
    return QLocale::AnyLanguage;
}

QTranslator& QtTranslator() {
    static QTranslator translator;
    return translator;
}

}  // namespace

bool UseQtTranslation(const QString& language) {
    QTranslator& translator = QtTranslator();
    QCoreApplication::removeTranslator(&translator);
    const QLocale::Language named = LanguageNamed(language);
    if (named == QLocale::AnyLanguage || named == QLocale::English)
        return false;
    // Qt's own folder on Linux; the kit's beside the program, where Qt's would lie outside it.
    for (const QString& folder :
         QStringList{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/translations")})
        if (translator.load(QLocale(named), QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return QCoreApplication::installTranslator(&translator);
    return false;
}

}  // namespace tomlet
