// The language the window speaks. English is the program's own; Farsi comes
// from the translation built with the program and from Qt's own Farsi for its
// dialogs, reads right to left and writes numbers in Persian digits.
#pragma once

#include <QString>
#include <optional>

#include "settings/settings.h"

class QLocale;

namespace zarv::ui {

using settings::LanguageChoice;

// The language of a start: the stored choice, else Farsi where the system speaks it.
LanguageChoice StartLanguage(const std::optional<LanguageChoice>& stored, const QLocale& system);

// Installs the language's translations, number format and reading direction.
// Every widget is sent a LanguageChange event, so what is on screen follows.
// False (and English kept) when the translation cannot be loaded.
bool UseLanguage(LanguageChoice language);
// The number format of an English window on this system: the system's own,
// with Latin digits.
QLocale EnglishLocale(const QLocale& system);
LanguageChoice CurrentLanguage();

// A number as the window writes it: Persian digits in Farsi.
QString Number(qlonglong n);
QString Number(double x, int decimals);
// Latin digits in a text (a version, a time) as the window writes digits.
QString LocalDigits(QString text);
// What a person typed, with Persian and Arabic-Indic digits read as 0-9.
QString LatinDigits(QString typed);
// A run that reads left to right (a card's name, a path, an address) kept in
// its order inside a right-to-left line by a left-to-right mark on each side;
// unchanged in English.
QString LeftToRightRun(const QString& run);

} // namespace zarv::ui
