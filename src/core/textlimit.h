#pragma once
// Text boxes that take no more characters than their column holds.

#include <QString>
#include <initializer_list>
#include <utility>

class QLineEdit;

namespace hb {

// Characters as a person counts them: one outside the basic plane (𠮷) counts once.
int characterCount(const QString &text);

// The first n characters of a text, never half of one.
QString leftCharacters(const QString &text, int n);

// The n of a column declared VARCHAR(n) in the program's schema ("TABLE.COLUMN"); 0 for a column
// of another type or one the schema does not have.
int columnLength(const QString &tableDotColumn);

// Typing, pasting or an input method's text may not make a box longer than `limit` characters;
// a text that does not fit is refused whole. A longer text the program puts there is shown whole
// and may be shortened. Used in place of QLineEdit's maximum, which counts UTF-16 units.
void limitCharacters(QLineEdit *box, int limit);

// Typing, pasting or an input method's text may not make a box longer than its column
// ("TABLE.COLUMN"), counted in characters; a longer text the program puts there is shown whole
// and may be shortened. For boxes whose window gives them no length of its own.
void limitToColumns(std::initializer_list<std::pair<QLineEdit *, const char *>> boxes);

}  // namespace hb
