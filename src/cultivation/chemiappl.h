#pragma once
// The registration tables of the work database as the pesticide purchase input uses them: the
// registered pesticide behind a registration number, and the registered application rules of a
// pesticide that cover a crop.

#include "core/value.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace hb {

// The registration number a typed text names: its leading whole number ("123ab" -> 123); Null
// when it starts with none (the empty text included).
Value registrationNumber(const Value &typed);

// The product fields of a registered pesticide. Without a registration every field is Null;
// with one, the name and kind in full-width characters ("" when missing), the maker's name ("" when
// missing) and the IDs of its use (L_KBN kind 15) and formulation (kind 16), 0 where the
// registration's wording has no such row.
struct RegisteredChemi {
    bool found = false;
    Value CHEMI_NM = Value::null();
    Value CHEMI_KIND = Value::null();
    Value MAKER_NM = Value::null();
    Value USES = Value::null();
    Value CHEMI_TYPE = Value::null();
};
RegisteredChemi lookupRegisteredChemi(const Value &regNo);

// One registered application rule, the fields as read (Null stays Null).
struct ApplRec {
    Value TARGET;
    Value PURPOSE;
    Value DILUTION;
    Value USE_QTY;
    Value SEASON;
    Value USE_TIMES;
    Value USE_WAY;
};

// Whether a rule's crop lists cover a crop: a name or category hit and no exclusion. Each list is
// split at every ","; an element is compared whole and exactly (letter case, width and blanks
// count); an empty element covers nothing; a Null list has no element.
struct CropLists {
    Value names;
    Value kinds;
    Value namesNg;
    Value kindsNg;
};
bool coversCrop(const CropLists &lists, const QString &crop, const QString &crop2, const QString &kind);

// The rules of the registration that cover the crop (by its name, its second name or its
// category in L_CROP), in the order read; a rule joined to several covering match rows comes once
// for each. None without a registration number or crop.
std::vector<ApplRec> applicableRules(const Value &regNo, const QString &crop);

// The crop names the use check offers (L_CROP.CROP_NM1 in name order; Null as "").
QStringList cropNames();

}  // namespace hb
