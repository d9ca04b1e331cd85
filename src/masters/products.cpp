#include "masters/products.h"

#include "core/db.h"
#include "core/recordhold.h"

#include <QDateTime>

namespace hb {

const std::vector<PrdRec::Column> &PrdRec::columns()
{
    static const std::vector<Column> c = {
        {"SHOP_ID", &PrdRec::SHOP_ID}, {"PRD_ID", &PrdRec::PRD_ID},         {"PRD_NM", &PrdRec::PRD_NM},
        {"PRD_OMT", &PrdRec::PRD_OMT}, {"PRD_YM", &PrdRec::PRD_YM},         {"M_CD", &PrdRec::M_CD},
        {"S_CD", &PrdRec::S_CD},       {"PRD_CD", &PrdRec::PRD_CD},         {"PRD_KBN", &PrdRec::PRD_KBN},
        {"REP_KBN", &PrdRec::REP_KBN}, {"NOTES", &PrdRec::NOTES},           {"I_NM", &PrdRec::I_NM},
        {"I_MTLS", &PrdRec::I_MTLS},   {"I_WEIGHT", &PrdRec::I_WEIGHT},     {"I_UNIT", &PrdRec::I_UNIT},
        {"I_PSRV", &PrdRec::I_PSRV},   {"I_TERM", &PrdRec::I_TERM},         {"I_DEF_DAYS", &PrdRec::I_DEF_DAYS},
        {"CHK_FLG", &PrdRec::CHK_FLG}, {"IDATE", &PrdRec::IDATE},           {"UDATE", &PrdRec::UDATE},
        {"LAST_TM", &PrdRec::LAST_TM}, {"HOLD_TM", &PrdRec::HOLD_TM},
    };
    return c;
}

long LoadProducts(DbObject &db, std::vector<PrdRec> &products, LoadedRows *loaded)
{
    if (loaded) {
        *loaded = LoadedRows();  // not loaded until read: a save refuses it
        *loaded = LoadedRows::read(db, QStringLiteral("M_PRD"), QStringLiteral("1=1"), {});
    }
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT M_PRD.* FROM M_PRD ORDER BY PRD_ID"));
    const long n = PrdRec::loadArray(*rs, products);
    rs->Close();
    return n;
}

long SaveProducts(DbObject &db, const std::vector<PrdRec> &products, LoadedRows *loaded)
{
    const QString insert = insertStatement(QStringLiteral("M_PRD"), PrdRec::columnNames());
    const Value now(QDateTime::currentDateTime());
    long count = 0;
    TransactionScope tx(db);
    if (loaded)
        loaded->check(db);  // another computer's products are not deleted unseen
    db.EXEC(QStringLiteral("DELETE M_PRD.* FROM M_PRD"));
    for (const PrdRec &rec : products) {
        if (!IsNumeric(rec.PRD_ID) || rec.PRD_ID.isEmpty() || rec.PRD_ID.toDouble() <= 0)
            continue;
        // Stored for the first time: inserted now, never updated; else updated now.
        const bool first = rec.IDATE.isEmpty();
        const HoldColumns hold = HoldColumns::forInsert(first ? now : rec.IDATE, first ? Value::null() : now);
        std::vector<Value> values;
        for (int i = 0; i < PrdRec::fieldCount(); ++i)
            values.push_back(rec.field(i));
        values[PrdRec::columnNames().indexOf(QStringLiteral("IDATE"))] = hold.idate;
        values[PrdRec::columnNames().indexOf(QStringLiteral("UDATE"))] = hold.udate;
        values[PrdRec::columnNames().indexOf(QStringLiteral("LAST_TM"))] = hold.lastTm;
        values[PrdRec::columnNames().indexOf(QStringLiteral("HOLD_TM"))] = hold.holdTm;
        db.EXEC(insert, values);
        ++count;
    }
    LoadedRows stored = loaded ? loaded->reread(db) : LoadedRows();
    tx.commit();
    if (loaded)
        *loaded = std::move(stored);
    return count;
}

}  // namespace hb
