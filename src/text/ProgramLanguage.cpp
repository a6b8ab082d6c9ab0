#include "text/ProgramLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

bool Install(const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

}

ProgramLanguage::Language ProgramLanguage::OfLocale(const QLocale &locale)
{
    return locale.language() == QLocale::Russian ? Language::Russian : Language::English;
}

bool ProgramLanguage::Use(Language language)
{
    if (language == Language::English) {
        // Only the plural forms: the sources are English already.
        return Install(QStringLiteral("picaroon_en"), QStringLiteral(":/translations"));
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const bool own = Install(QStringLiteral("picaroon_ru"), QStringLiteral(":/translations"));
    const bool qt = Install(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return own && qt;
}
