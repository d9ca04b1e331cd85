#include "cultivation/chemiappl.h"

#include "core/db.h"
#include "core/helpers.h"
#include "core/widechars.h"
#include "cultivation/chemirec.h"

namespace hb {

namespace {

// An element of the comma-separated list equals one of the texts; empty elements never do.
bool listHas(const Value &list, const QString &a, const QString &b = QString())
{
    if (isBlank(list))
        return false;
    const QStringList elements = list.displayText().split(QLatin1Char(','));
    for (const QString &e : elements) {
        if (!e.isEmpty() && (e == a || e == b))
            return true;
    }
    return false;
}

}  // namespace

Value registrationNumber(const Value &typed)
{
    if (isBlank(typed))
        return Value::null();
    long n = 0;
    return leadingWholeNumber(typed.displayText(), &n) ? Value(n) : Value::null();
}

RegisteredChemi lookupRegisteredChemi(const Value &regNo)
{
    RegisteredChemi r;
    if (isBlank(regNo))
        return r;
    // The kinds stand in the joins: a wording without its kind row leaves that ID 0, not the row out.
    auto rs = workDb().GetFwdOnlyRst(
        QStringLiteral("SELECT L_CHEMI.*,  L_MAKER.MAKER_NM,  L_KBN.ID AS USES_ID,  L_KBN_1.ID AS CHEMI_TYPE_ID "
                       " FROM ((L_CHEMI  LEFT JOIN L_MAKER  ON L_CHEMI.MAKER_OMT = L_MAKER.MAKER_OMT) "
                       " LEFT JOIN L_KBN  ON L_CHEMI.USES = L_KBN.NOTE AND L_KBN.KBN=15) "
                       " LEFT JOIN L_KBN AS L_KBN_1  ON L_CHEMI.CHEMI_TYPE = L_KBN_1.NOTE AND L_KBN_1.KBN=16"
                       " WHERE L_CHEMI.REG_NO=?"),
        {regNo});
    if (!rs->eof()) {
        r.found = true;
        r.CHEMI_NM = Value(toFullWidth(shownText(rs->Fields(QStringLiteral("CHEMI_NM")))));
        r.CHEMI_KIND = Value(toFullWidth(shownText(rs->Fields(QStringLiteral("CHEMI_KIND")))));
        r.MAKER_NM = Value(shownText(rs->Fields(QStringLiteral("MAKER_NM"))));
        r.CHEMI_TYPE = NullToVal(rs->Fields(QStringLiteral("CHEMI_TYPE_ID")), Value(0));
        r.USES = NullToVal(rs->Fields(QStringLiteral("USES_ID")), Value(0));
    }
    rs->Close();
    return r;
}

bool coversCrop(const CropLists &l, const QString &crop, const QString &crop2, const QString &kind)
{
    const bool hit = listHas(l.names, crop, crop2) || listHas(l.kinds, kind);
    const bool excluded = listHas(l.namesNg, crop, crop2) || listHas(l.kindsNg, kind);
    return hit && !excluded;
}

std::vector<ApplRec> applicableRules(const Value &regNo, const QString &crop)
{
    std::vector<ApplRec> rules;
    if (isBlank(regNo) || crop.isEmpty())
        return rules;
    auto rs = workDb().GetFwdOnlyRst(
        QStringLiteral("SELECT DISTINCT  L_CHEMI_APPL.TARGET,  L_CHEMI_APPL.PURPOSE,  L_CHEMI_APPL.DILUTION, "
                       " L_CHEMI_APPL.USE_QTY,  L_CHEMI_APPL.SEASON,  L_CHEMI_APPL.USE_TIMES,  L_CHEMI_APPL.USE_WAY, "
                       " L_CHEMI_APPL_MATCH.CROP_NM,  L_CHEMI_APPL_MATCH.CROP_KBN,  L_CHEMI_APPL_MATCH.CROP_NM_NG, "
                       " L_CHEMI_APPL_MATCH.CROP_KBN_NG  FROM L_CHEMI_APPL "
                       " INNER JOIN L_CHEMI_APPL_MATCH  ON L_CHEMI_APPL.CROP_NM = L_CHEMI_APPL_MATCH.CHEMI_CROP_NM "
                       " WHERE L_CHEMI_APPL.REG_NO=?"),
        {regNo});
    if (rs->eof()) {
        rs->Close();
        return rules;
    }
    QString kind;
    QString crop2;
    {
        auto c = workDb().GetFwdOnlyRst(QStringLiteral("SELECT L_CROP.CROP_KBN, L_CROP.CROP_NM2 FROM L_CROP WHERE CROP_NM1=?"),
                                      {Value(crop)});
        if (!c->eof()) {
            kind = shownText(c->Fields(0));
            crop2 = shownText(c->Fields(1));
        }
        c->Close();
    }
    for (; !rs->eof(); rs->MoveNext()) {
        const CropLists lists{rs->Fields(7), rs->Fields(8), rs->Fields(9), rs->Fields(10)};
        if (coversCrop(lists, crop, crop2, kind))
            rules.push_back({rs->Fields(0), rs->Fields(1), rs->Fields(2), rs->Fields(3), rs->Fields(4), rs->Fields(5),
                             rs->Fields(6)});
    }
    rs->Close();
    return rules;
}

QStringList cropNames()
{
    QStringList names;
    auto rs = workDb().GetFwdOnlyRst(QStringLiteral("SELECT  L_CROP.CROP_NM1  FROM L_CROP  ORDER BY CROP_NM1"));
    for (; !rs->eof(); rs->MoveNext())
        names << shownText(rs->Fields(0));
    rs->Close();
    return names;
}

}  // namespace hb
