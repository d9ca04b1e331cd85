#include "cultivation/plantrec.h"

#include "core/db.h"
#include "core/globals.h"
#include "core/loadedrows.h"
#include "core/recordhold.h"

#include <QStringList>

namespace hb {

std::vector<PlantRec> gPlant(1);
Value gLastPlantFmrID;

const std::vector<PlantRec::Column> &PlantRec::columns()
{
    static const std::vector<Column> c = {
        {"PLANT_ID", &PlantRec::PLANT_ID},
        {"PLANT_NM", &PlantRec::PLANT_NM},
        {"YYYY", &PlantRec::YYYY},
        {"FMR_ID", &PlantRec::FMR_ID},
        {"HARVEST_SCHD_YM", &PlantRec::HARVEST_SCHD_YM},
        {"CROP_NM", &PlantRec::CROP_NM},
        {"CROP_NM1", &PlantRec::CROP_NM1},
        {"CROP_NM2", &PlantRec::CROP_NM2},
        {"PRD_ID", &PlantRec::PRD_ID},
        {"PRD_NM", &PlantRec::PRD_NM},
        {"PLANT_TYPE", &PlantRec::PLANT_TYPE},
        {"FIELD_NM", &PlantRec::FIELD_NM},
        {"AREA", &PlantRec::AREA},
        {"CROP_EST", &PlantRec::CROP_EST},
        {"CROP_EST_UNIT", &PlantRec::CROP_EST_UNIT},
        {"PLANT_DATE", &PlantRec::PLANT_DATE},
        {"START_DATE", &PlantRec::START_DATE},
        {"END_DATE", &PlantRec::END_DATE},
        {"SHIP_EST", &PlantRec::SHIP_EST},
        {"SHIP_EST_UNIT", &PlantRec::SHIP_EST_UNIT},
        {"SHIP_SCHD_DATE1", &PlantRec::SHIP_SCHD_DATE1},
        {"SHIP_SCHD_DATE2", &PlantRec::SHIP_SCHD_DATE2},
        {"IMG_PATH1", &PlantRec::IMG_PATH1},
        {"IMG_PATH2", &PlantRec::IMG_PATH2},
        {"NOTES1", &PlantRec::NOTES1},
        {"NOTES2", &PlantRec::NOTES2},
        {"IDATE", &PlantRec::IDATE},
        {"UDATE", &PlantRec::UDATE},
        {"LAST_TM", &PlantRec::LAST_TM},
        {"HOLD_TM", &PlantRec::HOLD_TM},
    };
    return c;
}

namespace {

// The key condition of a planting; both parts are stored numbers.
QString keyCondition(const Value &fmrId, const Value &plantId)
{
    return QStringLiteral("FMR_ID=%1 AND PLANT_ID=%2").arg(NullToVal(fmrId, Value(0)).toLong()).arg(
        NullToVal(plantId, Value(0)).toLong());
}

// Empty fields are written as Null.
Value stored(const Value &v)
{
    return v.isEmpty() ? Value::null() : v;
}

// The columns a save writes from the record, in the order of the row.
const QStringList &writtenColumns()
{
    static const QStringList c = {
        QStringLiteral("PLANT_NM"),        QStringLiteral("YYYY"),          QStringLiteral("HARVEST_SCHD_YM"),
        QStringLiteral("CROP_NM"),         QStringLiteral("CROP_NM1"),      QStringLiteral("CROP_NM2"),
        QStringLiteral("PRD_ID"),          QStringLiteral("PRD_NM"),        QStringLiteral("PLANT_TYPE"),
        QStringLiteral("FIELD_NM"),        QStringLiteral("AREA"),          QStringLiteral("CROP_EST"),
        QStringLiteral("CROP_EST_UNIT"),   QStringLiteral("PLANT_DATE"),    QStringLiteral("START_DATE"),
        QStringLiteral("END_DATE"),        QStringLiteral("SHIP_EST"),      QStringLiteral("SHIP_EST_UNIT"),
        QStringLiteral("SHIP_SCHD_DATE1"), QStringLiteral("SHIP_SCHD_DATE2"), QStringLiteral("IMG_PATH1"),
        QStringLiteral("IMG_PATH2"),       QStringLiteral("NOTES1"),        QStringLiteral("NOTES2"),
    };
    return c;
}

Value fieldByName(const PlantRec &r, const QString &name)
{
    return r.field(static_cast<int>(PlantRec::columnNames().indexOf(name)));
}

}  // namespace

QString plantDateText(const Value &v)
{
    QDateTime d;
    if (v.isDate())
        d = v.toDate();
    else if (!v.isString() || !parseDateText(v.toString(), &d))
        return QString();
    return d.toString(QStringLiteral("yyyy/MM/dd"));
}

std::vector<PlantRec> queryPlants(const PlantFilter &filter)
{
    QStringList conds;
    std::vector<Value> params;
    if (filter.year) {
        conds << QStringLiteral(" D_PLANT.YYYY=?");
        params.emplace_back(static_cast<long long>(*filter.year));
    }
    if (!filter.crop.isEmpty()) {
        conds << QStringLiteral(" D_PLANT.CROP_NM=?");
        params.emplace_back(filter.crop);
    }
    if (filter.plantType != 0) {
        conds << QStringLiteral(" D_PLANT.PLANT_TYPE=?");
        params.emplace_back(filter.plantType);
    }
    QString sql = QStringLiteral("SELECT  D_PLANT.*  FROM D_PLANT ");
    if (!conds.isEmpty())
        sql += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY D_PLANT.YYYY, D_PLANT.CROP_NM, D_PLANT.PLANT_DATE");

    auto rs = dataDb().GetFwdOnlyRst(sql, params);
    std::vector<PlantRec> rows;
    std::vector<int> at;
    for (; !rs->eof(); rs->MoveNext()) {
        if (at.empty()) {
            for (const QString &name : PlantRec::columnNames()) {
                const int i = rs->fieldIndex(name);
                if (i < 0)
                    throw HbError(kErrItemNotFound, QStringLiteral("項目 %1 が見つかりません。").arg(name));
                at.push_back(i);
            }
        }
        PlantRec r;
        for (int k = 0; k < PlantRec::fieldCount(); ++k) {
            if (&r.field(k) == &r.IMG_PATH1 || &r.field(k) == &r.IMG_PATH2)
                continue;  // the list does not carry the picture paths
            r.field(k) = rs->Fields(at[static_cast<std::size_t>(k)]);
        }
        rows.push_back(std::move(r));
    }
    rs->Close();
    return rows;
}

QString plantDeleteRefusal(const Value &fmrId, const Value &plantId)
{
    const QString cond = keyCondition(fmrId, plantId);
    const auto earliest = [&](const QString &field, const QString &table) {
        const Value d = dataDb().DMin(field, table, cond);
        return d.isDate() || d.isString() ? d.toDate().toString(QStringLiteral("M月d日")) : QString();
    };
    if (dataDb().DCount(QStringLiteral("*"), QStringLiteral("D_DIARY_DTL"), cond).toLong() != 0)
        return earliest(QStringLiteral("WORK_DATE"), QStringLiteral("D_DIARY_DTL"))
               + QStringLiteral("に作業登録されていますので、削除できません。");
    if (dataDb().DCount(QStringLiteral("*"), QStringLiteral("D_SHIP"), cond).toLong() != 0)
        return earliest(QStringLiteral("SHIP_DATE"), QStringLiteral("D_SHIP"))
               + QStringLiteral("に出荷登録されていますので、削除できません。");
    return QString();
}

std::vector<LoadedRows> LoadedPlant(const PlantRec &row)
{
    return {LoadedRows::record(QStringLiteral("D_PLANT"), QStringLiteral("FMR_ID=? AND PLANT_ID=?"),
                               {stored(row.FMR_ID), stored(row.PLANT_ID)}, row)};
}

namespace {

// The first column of the first row of a statement; `none` when there is no row.
Value firstValue(DbObject &db, const QString &sql, const std::vector<Value> &params, const Value &none)
{
    auto rs = db.GetFwdOnlyRst(sql, params);
    const Value v = rs->eof() ? none : rs->Fields(0);
    rs->Close();
    return v;
}

}  // namespace

std::optional<PlantRec> FindPlanting(DbObject &db, const Value &fmrId, const Value &plantId)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_PLANT.* FROM D_PLANT WHERE PLANT_ID=? AND FMR_ID=?"),
                               {plantId, fmrId});
    if (rs->eof())
        return std::nullopt;
    return PlantRec::fromRow(*rs);
}

Value CropKind(DbObject &work, const QString &crop)
{
    return firstValue(work, QStringLiteral("SELECT CROP_KBN FROM L_CROP WHERE CROP_NM1=?"), {Value(crop)}, Value());
}

Value CropItemName(DbObject &work, const QString &crop)
{
    return firstValue(work, QStringLiteral("SELECT CROP_NM2 FROM L_CROP WHERE CROP_NM1=?"), {Value(crop)}, Value::null());
}

Value ProductName(DbObject &master, const Value &prdId)
{
    return firstValue(master, QStringLiteral("SELECT PRD_NM FROM M_PRD WHERE PRD_ID=?"), {prdId}, Value(""));
}

PlantSaveResult savePlant(DbObject &db, int mode, PlantRec &rec, const std::vector<LoadedRows> &loaded)
{
    PlantRec out = rec;
    out.IMG_PATH1 = Value::null();
    out.IMG_PATH2 = Value::null();
    const long fmr = NullToVal(out.FMR_ID, Value(0)).toLong();

    TransactionScope tx(db);
    if (mode == kEditAdd) {
        const Value max = db.DMax(QStringLiteral("PLANT_ID"), QStringLiteral("D_PLANT"),
                                    QStringLiteral("FMR_ID=%1").arg(fmr));
        out.FMR_ID = Value(fmr);
        out.PLANT_ID = Value(static_cast<long long>(NullToVal(max, Value(0)).toLong() + 1));
        const HoldColumns h = HoldColumns::forInsert();
        out.IDATE = h.idate;
        out.UDATE = Value::null();
        out.LAST_TM = h.lastTm;
        out.HOLD_TM = h.holdTm;
        QStringList cols{QStringLiteral("FMR_ID"), QStringLiteral("PLANT_ID")};
        std::vector<Value> vals{out.FMR_ID, out.PLANT_ID};
        for (const QString &c : writtenColumns()) {
            cols << c;
            vals.push_back(stored(fieldByName(out, c)));
        }
        cols << QStringLiteral("IDATE") << QStringLiteral("UDATE") << QStringLiteral("LAST_TM")
             << QStringLiteral("HOLD_TM");
        vals.insert(vals.end(), {out.IDATE, out.UDATE, out.LAST_TM, out.HOLD_TM});
        db.EXEC(insertStatement(QStringLiteral("D_PLANT"), cols), vals);
    } else if (mode == kEditModify || mode == kEditDelete) {
        const std::vector<Value> key{Value(fmr), stored(out.PLANT_ID)};
        auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT IDATE FROM D_PLANT WHERE FMR_ID=? AND PLANT_ID=?"), key);
        if (rs->eof())
            return PlantSaveResult::Missing;
        const Value idate = rs->Fields(0);
        rs->Close();
        CheckLoaded(db, loaded);
        if (mode == kEditDelete) {
            db.EXEC(QStringLiteral("DELETE FROM D_PLANT WHERE FMR_ID=? AND PLANT_ID=?"), key);
        } else {
            const HoldColumns h = HoldColumns::forUpdate();
            out.IDATE = idate;
            out.UDATE = h.udate;
            out.LAST_TM = h.lastTm;
            out.HOLD_TM = h.holdTm;
            QStringList sets;
            std::vector<Value> vals;
            for (const QString &c : writtenColumns()) {
                sets << c + QStringLiteral("=?");
                vals.push_back(stored(fieldByName(out, c)));
            }
            sets << QStringLiteral("UDATE=?") << QStringLiteral("LAST_TM=?") << QStringLiteral("HOLD_TM=?");
            vals.insert(vals.end(), {out.UDATE, out.LAST_TM, out.HOLD_TM});
            vals.insert(vals.end(), key.begin(), key.end());
            db.EXEC(QStringLiteral("UPDATE D_PLANT SET %1 WHERE FMR_ID=? AND PLANT_ID=?").arg(sets.join(QStringLiteral(", "))),
                      vals);
        }
    } else {
        return PlantSaveResult::Missing;
    }
    tx.commit();
    rec = out;
    return PlantSaveResult::Saved;
}

}  // namespace hb
