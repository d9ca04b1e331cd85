#pragma once
// Ten years of a grower's diary for the month calendar: a diary row, a voucher, a pesticide line
// and a shipment on every day, varied so that every mark is set on some days and not on others
// (accounts that do or do not touch cash, pesticide IDs 0 / Null / positive, several plantings,
// some times of day other than midnight), and a second grower's rows on the same days.
// Shared by the calendar tests and the calendar benchmark.

#include "core/db.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <vector>

namespace hbtest::calbench {

inline const QDate kFirstDay(2015, 1, 1);
constexpr int kYears = 10;
constexpr long kGrower = 1;
constexpr long kOtherGrower = 2;
constexpr int kPlantings = 4;

// Inserts rows through one statement per batch of rows; flush() writes the last batch. A batch
// holds about 200 values: binding costs the file driver time in the square of a statement's
// values.
class BatchInsert {
public:
    BatchInsert(hb::DbObject &db, QString head, int columns) : db_(db), head_(std::move(head)), columns_(columns) {}
    void add(std::vector<hb::Value> row)
    {
        for (hb::Value &v : row)
            values_.push_back(std::move(v));
        if (++rows_ * columns_ >= 200)
            flush();
    }
    void flush()
    {
        if (rows_ == 0)
            return;
        QStringList tuples;
        const QString one = QStringLiteral("(") + QStringList(columns_, QStringLiteral("?")).join(QLatin1Char(',')) + QStringLiteral(")");
        for (int i = 0; i < rows_; ++i)
            tuples << one;
        db_.EXEC(head_ + QStringLiteral(" VALUES ") + tuples.join(QLatin1Char(',')), values_);
        values_.clear();
        rows_ = 0;
    }

private:
    hb::DbObject &db_;
    QString head_;
    int columns_;
    std::vector<hb::Value> values_;
    int rows_ = 0;
};

// The planting worked on a day (1..kPlantings).
inline long plantingOf(int dayIndex)
{
    return 1 + dayIndex % kPlantings;
}

// Fills an empty data database (schema loaded).
inline void fill(hb::DbObject &db)
{
    using V = hb::Value;
    const QDate end = kFirstDay.addYears(kYears);
    db.Begintrans();
    {
        BatchInsert plants(db, QStringLiteral("INSERT INTO D_PLANT (PLANT_ID, PLANT_NM, FMR_ID, PLANT_DATE, START_DATE, END_DATE)"), 6);
        for (long p = 1; p <= kPlantings; ++p) {
            const QDate start = kFirstDay.addDays(30 * (p - 1));
            plants.add({V(p), V(QStringLiteral("作付%1").arg(p)), V(kGrower), V(start.addDays(-10)), V(start),
                        p == kPlantings ? V::null() : V(end.addDays(-400 * p))});
            plants.add({V(p), V(QStringLiteral("他の作付%1").arg(p)), V(kOtherGrower), V(start), V(start), V::null()});
        }
        plants.flush();
    }
    {
        BatchInsert diary(db, QStringLiteral("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG, NOTES1)"), 7);
        BatchInsert ledge(db, QStringLiteral("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT)"), 6);
        BatchInsert lines(db, QStringLiteral("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, CHEMI_ID, QTY)"), 7);
        BatchInsert ships(db, QStringLiteral("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID, SHIP_QTY)"), 5);
        // Voucher accounts in turn: cash or bank on either side sets the money mark, the others not.
        const long accounts[][2] = {{1000, 4000}, {1130, 2000}, {4160, 1130}, {2000, 1010}, {1010, 1000}, {1040, 4000}};
        int i = 0;
        for (QDate d = kFirstDay; d < end; d = d.addDays(1), ++i) {
            const QDateTime midnight = d.startOfDay();
            const V wth = i % 13 == 12 ? V::null() : V(i % 12);  // 0..11 and Null
            const V lo = i % 17 == 0 ? V::null() : V(-5.0 + i % 20);
            const V hi = i % 19 == 0 ? V::null() : V(10.0 + i % 28);
            diary.add({V(kGrower), V(d), wth, lo, hi,
                       V(QStringLiteral("%1日目の作業。").arg(i).repeated(1 + i % 4)), V(QStringLiteral("備考 %1").arg(i))});
            const long *acc = accounts[i % 6];
            // Every 11th voucher is dated with a time of day: it never equals the day itself.
            ledge.add({V(kGrower), V(static_cast<long>(i + 1)), V(i % 11 == 5 ? midnight.addSecs(3600 * 9) : midnight),
                       V(acc[0]), V(acc[1]), V(1200)});
            const V chemi = i % 5 == 0 ? V::null() : V(static_cast<long>(i % 5 == 1 ? 0 : 1 + i % 40));
            lines.add({V(kGrower), V(midnight), V(1), V(plantingOf(i)), V(5), chemi, V(0.5)});
            ships.add({V(kGrower), V(static_cast<long>(i + 1)),
                       V(i % 9 == 4 ? midnight.addSecs(60 * 30) : midnight), V(plantingOf(i + 1)), V(10)});
            if (i % 3 == 0) {  // the other grower: every mark on these days
                diary.add({V(kOtherGrower), V(d), V(1), V(1.0), V(2.0), V(QStringLiteral("他")), V::null()});
                ledge.add({V(kOtherGrower), V(static_cast<long>(i + 1)), V(midnight), V(1000), V(4000), V(1)});
                lines.add({V(kOtherGrower), V(midnight), V(1), V(1), V(5), V(7), V(1.0)});
                ships.add({V(kOtherGrower), V(static_cast<long>(i + 1)), V(midnight), V(1), V(1)});
            }
        }
        for (BatchInsert *b : {&diary, &ledge, &lines, &ships})
            b->flush();
    }
    db.CommitTrans();
}

}  // namespace hbtest::calbench
