#pragma once
// The filter boxes of the list windows and the text filters of their statements.
//
// A list reads its filter boxes before it runs any statement:
//
//   std::optional<long> year;
//   std::optional<QDate> from;
//   if (!hb::filterYear(txtCOND[0], &year) || !hb::filterDate(txtCOND[1], &from)) {
//       ...empty the list and its totals...;
//       return;                                   // refused: no statement runs
//   }
//
// An empty box sets no condition (nullopt). A year that is no whole number is refused with
// "数値を指定してください。", a date that is no date with "日付を指定してください。" (exclamation,
// program title, one message); the box takes the focus with its text selected, without opening
// the window's date picker, and false is returned.
//
// A "contains" filter on a text column binds the typed text inside "%...%":
//
//   conds << QStringLiteral("D_LEDGE.CTR_NM") + hb::likeContains();   // " LIKE ? ESCAPE '!'"
//   params.push_back(hb::likeContainsPattern(text));
//
// A typed "%" or "_" keeps acting as a wildcard; every other character (a quote, "#", "*", a
// backslash, the escape character itself) matches itself, on both backends and whatever the
// server's backslash mode.

#include "core/value.h"

#include <QDate>
#include <QString>
#include <optional>

class QLineEdit;

namespace hb {

// The year in a filter box; true for an empty box (no year) and for a whole number.
bool filterYear(QLineEdit *box, std::optional<long> *year);
// The day in a filter box; true for an empty box (no day) and for a date.
bool filterDate(QLineEdit *box, std::optional<QDate> *date);
// Shows a filter box's refusal and gives the box the focus without opening its date picker.
void refuseFilterBox(QLineEdit *box, const QString &message);

// The escape character of the "contains" filters: not a backslash, which the server may or may
// not read as an escape.
inline constexpr char16_t kLikeEscape = u'!';
// " LIKE ? ESCAPE '!'": the condition after the column.
QString likeContains();
// The bound pattern: "%" + the text, its escape characters escaped + "%".
Value likeContainsPattern(const QString &typed);

}  // namespace hb
