#pragma once

#include <QLocale>

// The language the program speaks. The window is Russian whatever the
// desktop's locale, as its members expect; the commands follow the
// terminal's locale, so that a script's log reads as the rest of its system.
class ProgramLanguage
{
public:
    enum class Language { English, Russian };

    static Language OfLocale(const QLocale &locale);
    // Installs the program's texts and, for Russian, Qt's own for its
    // dialogs and context menus. False when one of them was not found; the
    // program then speaks its English sources there.
    static bool Use(Language language);
};
