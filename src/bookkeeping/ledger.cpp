#include "bookkeeping/ledger.h"

#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/recordhold.h"
#include "core/uiservices.h"

#include <QLocale>
#include <iterator>

namespace hb {

std::vector<LedgeRec> gLedge(1);

const std::vector<LedgeRec::Column> &LedgeRec::columns()
{
    static const std::vector<Column> c = {
        {"FMR_ID", &LedgeRec::FMR_ID},
        {"LEDGE_ID", &LedgeRec::LEDGE_ID},
        {"LEDGE_DATE", &LedgeRec::LEDGE_DATE},
        {"D_ACC_ID", &LedgeRec::D_ACC_ID},
        {"D_OPT_KBN", &LedgeRec::D_OPT_KBN},
        {"D_OPT_ID", &LedgeRec::D_OPT_ID},
        {"D_OPT_NM", &LedgeRec::D_OPT_NM},
        {"C_ACC_ID", &LedgeRec::C_ACC_ID},
        {"C_OPT_KBN", &LedgeRec::C_OPT_KBN},
        {"C_OPT_ID", &LedgeRec::C_OPT_ID},
        {"C_OPT_NM", &LedgeRec::C_OPT_NM},
        {"CTR_NM", &LedgeRec::CTR_NM},
        {"NOTES", &LedgeRec::NOTES},
        {"AMT", &LedgeRec::AMT},
        {"IDATE", &LedgeRec::IDATE},
        {"UDATE", &LedgeRec::UDATE},
        {"LAST_TM", &LedgeRec::LAST_TM},
        {"HOLD_TM", &LedgeRec::HOLD_TM},
    };
    return c;
}

long AccountOptKind(long accId)
{
    if (accId == 0)
        return kOptNone;
    const Value kind = workDb().DLookup(QStringLiteral("OPT_KBN"), QStringLiteral("L_ACC"),
                                      QStringLiteral("ACC_ID=") + QString::number(accId));
    return IdOrZero(kind);
}

// A side's option ID is read by the kind: a PLANT_ID under kind 2, a CHEMI_ID under kind 3.
void SetLedgeOptKinds(LedgeRec &v)
{
    v.D_OPT_KBN = Value(AccountOptKind(IdOrZero(v.D_ACC_ID)));
    v.C_OPT_KBN = Value(AccountOptKind(IdOrZero(v.C_ACC_ID)));
}

long GetLedgeSrcKbn(long fmrId, long ledgeId)
{
    const QString f = QStringLiteral("FMR_ID=") + QString::number(fmrId);
    const QString l = QString::number(ledgeId);
    const auto hit = [&](const char *table, const char *column) {
        const QString wcs = f + QStringLiteral(" AND ") + QLatin1String(column) + QLatin1Char('=') + l;
        return NullToVal(dataDb().DCount(QStringLiteral("*"), QLatin1String(table), wcs), Value(0)).toLong() != 0;
    };
    if (hit("D_DIARY_DTL", "LEDGE_ID"))
        return kSrcDiary;
    if (hit("D_CHEMI", "LEDGE_ID"))
        return kSrcChemi;
    if (hit("D_SHIP", "LEDGE_ID_S") || hit("D_SHIP", "LEDGE_ID_F"))
        return kSrcShip;
    return kSrcFree;
}

QString LedgeRefusalMsg(long src, int editMode)
{
    const bool modify = editMode == 2;
    if (!modify && editMode != 4)
        return QString();
    switch (src) {
    case kSrcDiary:
        return modify ? QStringLiteral("この伝票は修正できません。日誌詳細から修正してください。")
                      : QStringLiteral("この伝票は削除できません。日誌詳細から削除してください。");
    case kSrcChemi:
        return modify ? QStringLiteral("この伝票は修正できません。農薬入力から修正してください。")
                      : QStringLiteral("この伝票は削除できません。農薬入力から削除してください。");
    case kSrcShip:
        return modify ? QStringLiteral("この伝票は修正できません。出荷入力から修正してください。")
                      : QStringLiteral("この伝票は削除できません。出荷入力から削除してください。");
    default:
        return QString();
    }
}

bool RefuseGeneratedLedge(long fmrId, long ledgeId, int editMode)
{
    if (editMode != 2 && editMode != 4)
        return false;
    const QString msg = LedgeRefusalMsg(GetLedgeSrcKbn(fmrId, ledgeId), editMode);
    if (msg.isEmpty())
        return false;
    ShowMsg(msg, kMsgExclamation);
    return true;
}

LoadedRows LoadedVouchers(DbObject &db, const Value &fmrId, std::initializer_list<Value> links)
{
    QStringList marks;
    std::vector<Value> params{fmrId};
    for (const Value &link : links) {
        if (IdOrZero(link) > 0) {
            marks << QStringLiteral("?");
            params.push_back(Value(IdOrZero(link)));
        }
    }
    if (marks.isEmpty())
        return LoadedRows::none();
    return LoadedRows::read(db, QStringLiteral("D_LEDGE"),
                            QStringLiteral("FMR_ID=? AND LEDGE_ID IN (%1)").arg(marks.join(QStringLiteral(", "))),
                            params);
}

std::vector<LoadedRows> LoadedLedge(const LedgeRec &row)
{
    return {LoadedRows::record(QStringLiteral("D_LEDGE"), QStringLiteral("FMR_ID=? AND LEDGE_ID=?"),
                               {row.FMR_ID, row.LEDGE_ID}, row)};
}

long WriteGeneratedLedge(DbObject &db, const GeneratedLedge &v, double decidingValue, Currency amount, long backLink)
{
    TransactionScope scope(db);
    if (backLink > 0)
        db.EXEC(QStringLiteral("DELETE D_LEDGE.* FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?"),
                {Value(v.fmrId), Value(backLink)});
    if (decidingValue == 0) {
        scope.commit();
        return 0;
    }
    const bool swap = decidingValue < 0;
    const LedgeSide &debit = swap ? v.credit : v.debit;
    const LedgeSide &credit = swap ? v.debit : v.credit;
    const Currency amt = swap ? Currency::fromScaled(-amount.scaled) : amount;
    const long ledgeId = backLink > 0 ? backLink : GetNewLedgeIDByFmr(db, v.fmrId);

    HoldColumns audit = HoldColumns::forInsert(v.idate, v.udate.isEmpty() ? Value::null() : v.udate);
    if (v.idate.isNull())
        audit.idate = Value::null();
    QStringList columns = LedgeRec::columnNames().mid(0, 14);  // FMR_ID to AMT
    std::vector<Value> values = {Value(v.fmrId),
                                 Value(ledgeId),
                                 v.ledgeDate.isValid() ? Value(v.ledgeDate) : Value::null(),
                                 debit.accId,
                                 debit.optKbn,
                                 debit.optId,
                                 debit.optNm,
                                 credit.accId,
                                 credit.optKbn,
                                 credit.optId,
                                 credit.optNm,
                                 v.ctrNm,
                                 v.notes,
                                 Value(amt)};
    columns << audit.insertColumns();
    const std::vector<Value> auditValues = audit.insertValues();
    values.insert(values.end(), auditValues.begin(), auditValues.end());
    db.EXEC(insertStatement(QStringLiteral("D_LEDGE"), columns), values);
    scope.commit();
    return ledgeId;
}

QString ledgeDateText(const Value &v)
{
    if (isBlank(v))
        return QString();
    if (v.isDate())
        return v.toDate().date().toString(QStringLiteral("yyyy/MM/dd"));
    QDateTime dt;
    if (v.isString() && parseDateText(v.displayText(), &dt) && dt.time() == QTime(0, 0))
        return dt.date().toString(QStringLiteral("yyyy/MM/dd"));
    return v.displayText();
}

QString FormatLedgeAmount(Currency amount)
{
    // Whole units, half away from zero.
    const std::int64_t s = amount.scaled;
    const std::int64_t whole = (s >= 0 ? s + 5000 : s - 5000) / 10000;
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(whole));
}

LedgeSaveResult SaveLedge(DbObject &db, int mode, long fmrId, LedgeRec &saved, const std::vector<LoadedRows> &loaded)
{
    TransactionScope tx(db);
    if (mode == kEditAdd) {
        saved.FMR_ID = Value(fmrId);
        saved.LEDGE_ID = Value(GetNewLedgeIDByFmr(db, fmrId));
        const HoldColumns h = HoldColumns::forInsert();
        saved.IDATE = h.idate;
        saved.UDATE = h.udate;
        saved.LAST_TM = h.lastTm;
        saved.HOLD_TM = h.holdTm;
        std::vector<Value> values;
        for (int i = 0; i < LedgeRec::fieldCount(); ++i)
            values.push_back(saved.field(i));
        db.EXEC(insertStatement(QStringLiteral("D_LEDGE"), LedgeRec::columnNames()), values);
    } else {
        const Value n = db.GetFwdOnlyRst(QStringLiteral("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?"),
                                         {saved.FMR_ID, saved.LEDGE_ID})
                            ->Fields(0);
        if (n.toLong() == 0)
            return LedgeSaveResult::Missing;
        CheckLoaded(db, loaded);
        if (mode == kEditModify) {
            const HoldColumns h = HoldColumns::forUpdate();
            saved.UDATE = h.udate;
            saved.LAST_TM = h.lastTm;
            saved.HOLD_TM = h.holdTm;
            db.EXEC(QStringLiteral("UPDATE D_LEDGE SET LEDGE_DATE=?, D_ACC_ID=?, D_OPT_KBN=?, D_OPT_ID=?, "
                                   "D_OPT_NM=?, C_ACC_ID=?, C_OPT_KBN=?, C_OPT_ID=?, C_OPT_NM=?, CTR_NM=?, AMT=?, "
                                   "NOTES=?, UDATE=?, LAST_TM=?, HOLD_TM=? WHERE FMR_ID=? AND LEDGE_ID=?"),
                    {saved.LEDGE_DATE, saved.D_ACC_ID, saved.D_OPT_KBN, saved.D_OPT_ID, saved.D_OPT_NM,
                     saved.C_ACC_ID, saved.C_OPT_KBN, saved.C_OPT_ID, saved.C_OPT_NM, saved.CTR_NM, saved.AMT,
                     saved.NOTES, saved.UDATE, saved.LAST_TM, saved.HOLD_TM, saved.FMR_ID, saved.LEDGE_ID});
        } else {
            db.EXEC(QStringLiteral("DELETE FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?"), {saved.FMR_ID, saved.LEDGE_ID});
        }
    }
    tx.commit();
    return LedgeSaveResult::Saved;
}

}  // namespace hb
