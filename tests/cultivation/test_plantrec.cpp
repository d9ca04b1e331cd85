// Plantings in the data database: per-grower numbering, the audit columns, the delete refusal,
// the list's query and the atomic save, on both kinds of database.

#include "plantfixture.h"

using hb::Value;
using hb::PlantRec;
using hb::PlantSaveResult;

namespace planttest {
namespace {

using PlantRecords = PlantDb;
HB_INSTANTIATE_BOTH_BACKENDS(PlantRecords);

PlantRec named(long fmr, const QString &name)
{
    PlantRec r;
    r.FMR_ID = Value(fmr);
    r.PLANT_NM = Value(name);
    r.YYYY = Value(2024);
    r.HARVEST_SCHD_YM = Value("202409");
    return r;
}

TEST_P(PlantRecords, NewPlantingsAreNumberedPerGrower)
{
    put({.fmr = 2, .id = 7, .name = Value("他の人")});
    struct Case { long fmr; long expected; };
    const Case cases[] = {{1, 1}, {1, 2}, {2, 8}, {1, 3}, {3, 1}};
    for (const Case &c : cases) {
        PlantRec r = named(c.fmr, QStringLiteral("作付"));
        r.PLANT_ID = Value(99);  // a copy arrives with its source's number
        ASSERT_EQ(hb::savePlant(*hb::gDb, hb::kEditAdd, r), PlantSaveResult::Saved);
        EXPECT_EQ(r.PLANT_ID.toLong(), c.expected) << "grower " << c.fmr;
        EXPECT_EQ(row(c.fmr, c.expected).PLANT_NM, Value("作付"));
    }
}

TEST_P(PlantRecords, ModifyAndDeleteTouchOnlyTheGrowersRow)
{
    put({.fmr = 1, .id = 3, .name = Value("一の三")});
    put({.fmr = 2, .id = 3, .name = Value("二の三")});
    PlantRec r = row(2, 3);
    r.PLANT_NM = Value("二の三 改");
    ASSERT_EQ(hb::savePlant(*hb::gDb, hb::kEditModify, r), PlantSaveResult::Saved);
    EXPECT_EQ(row(1, 3).PLANT_NM, Value("一の三"));
    EXPECT_EQ(row(2, 3).PLANT_NM, Value("二の三 改"));

    PlantRec d = row(1, 3);
    ASSERT_EQ(hb::savePlant(*hb::gDb, hb::kEditDelete, d), PlantSaveResult::Saved);
    EXPECT_EQ(count("PLANT_ID=3"), 1);
    EXPECT_EQ(row(2, 3).PLANT_NM, Value("二の三 改"));
}

TEST_P(PlantRecords, SavesWriteAuditColumnsAndDropPicturePaths)
{
    put({.fmr = 1, .id = 1, .name = Value("春"), .img = Value("a.jpg")});
    hb::gDb->EXEC("UPDATE D_PLANT SET HOLD_TM='OTHER-PC'");

    PlantRec added = named(1, QStringLiteral("新"));
    added.IMG_PATH1 = Value("x.jpg");
    ASSERT_EQ(hb::savePlant(*hb::gDb, hb::kEditAdd, added), PlantSaveResult::Saved);
    const PlantRec a = row(1, 2);
    EXPECT_TRUE(a.IDATE.isDate());
    EXPECT_TRUE(a.UDATE.isNull());
    EXPECT_EQ(a.LAST_TM, Value("PC-TEST"));
    EXPECT_TRUE(a.HOLD_TM.isNull());
    EXPECT_TRUE(a.IMG_PATH1.isNull());

    PlantRec mod = row(1, 1);
    ASSERT_EQ(hb::savePlant(*hb::gDb, hb::kEditModify, mod), PlantSaveResult::Saved);
    const PlantRec m = row(1, 1);
    EXPECT_EQ(m.IDATE.toDate(), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))) << "IDATE is kept";
    EXPECT_TRUE(m.UDATE.isDate());
    EXPECT_EQ(m.LAST_TM, Value("PC-TEST"));
    EXPECT_TRUE(m.HOLD_TM.isNull());
    EXPECT_TRUE(m.IMG_PATH1.isNull());
    EXPECT_TRUE(m.IMG_PATH2.isNull());
}

TEST_P(PlantRecords, TextsWithQuotesAndWildcardsRoundTripAndEmptyFieldsStoreNull)
{
    PlantRec r = named(1, QStringLiteral("O'Neil #1 100% \\ 畑"));
    r.NOTES1 = Value("it's");
    r.AREA = Value(12.5);
    r.PLANT_DATE = day(2024, 3, 1);
    ASSERT_EQ(hb::savePlant(*hb::gDb, hb::kEditAdd, r), PlantSaveResult::Saved);
    const PlantRec s = row(1, 1);
    EXPECT_EQ(s.PLANT_NM, Value("O'Neil #1 100% \\ 畑"));
    EXPECT_EQ(s.NOTES1, Value("it's"));
    EXPECT_DOUBLE_EQ(s.AREA.toDouble(), 12.5);
    EXPECT_EQ(s.PLANT_DATE.toDate().date(), QDate(2024, 3, 1));
    EXPECT_TRUE(s.CROP_NM.isNull()) << "an Empty field is stored as Null";
    EXPECT_TRUE(s.NOTES2.isNull());
}

TEST_P(PlantRecords, AMissingRowIsReportedAndNothingIsWritten)
{
    put({.fmr = 1, .id = 1, .name = Value("春")});
    const QStringList before = dump();
    for (int mode : {hb::kEditModify, hb::kEditDelete}) {
        PlantRec r = named(1, QStringLiteral("消えた"));
        r.PLANT_ID = Value(5);
        EXPECT_EQ(hb::savePlant(*hb::gDb, mode, r), PlantSaveResult::Missing) << mode;
        EXPECT_EQ(r.PLANT_NM, Value("消えた"));
    }
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(hb::gDb->inTransaction());
}

TEST_P(PlantRecords, AFailedSaveRollsBackAndLeavesTheRecord)
{
    put({.fmr = 1, .id = 1, .name = Value("春")});
    failUpdates();
    const QStringList before = dump();
    PlantRec r = row(1, 1);
    r.PLANT_NM = Value("変更");
    const PlantRec copy = r;
    EXPECT_THROW(hb::savePlant(*hb::gDb, hb::kEditModify, r), hb::HbError);
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(hb::gDb->inTransaction());
    EXPECT_EQ(r.PLANT_NM, copy.PLANT_NM);
    EXPECT_EQ(r.UDATE, copy.UDATE) << "the record is as before the save";
}

TEST_P(PlantRecords, DeletionIsRefusedWhileDiaryLinesOrShipmentsNameThePlanting)
{
    for (long id : {1, 2, 3})
        put({.fmr = 1, .id = id, .name = Value("p")});
    putLine(1, 1, day(2024, 5, 5), 1);
    putLine(1, 1, day(2024, 3, 3), 1);
    putShip(1, 1, 1, day(2024, 2, 1));
    putShip(1, 2, 2, day(2024, 7, 9));
    putShip(1, 3, 2, day(2024, 6, 20));
    putLine(2, 3, day(2024, 1, 1));  // another grower's line naming number 3
    putShip(2, 4, 3, day(2024, 1, 1));
    struct Case { long id; QString refusal; };
    const Case cases[] = {
        {1, "3月3日に作業登録されていますので、削除できません。"},
        {2, "6月20日に出荷登録されていますので、削除できません。"},
        {3, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hb::plantDeleteRefusal(Value(1), Value(c.id)), c.refusal) << c.id;
}

TEST_P(PlantRecords, TheListQueryFiltersAndOrders)
{
    put({.fmr = 1, .id = 1, .name = Value("b"), .yyyy = Value(2024), .crop = Value("トマト"), .type = Value(1),
         .planted = day(2024, 4, 2)});
    put({.fmr = 2, .id = 1, .name = Value("a"), .yyyy = Value(2024), .crop = Value("トマト"), .type = Value(2),
         .planted = day(2024, 3, 1)});
    put({.fmr = 1, .id = 2, .name = Value("c"), .yyyy = Value(2023), .crop = Value("なす"), .type = Value(1)});
    put({.fmr = 1, .id = 3, .name = Value("d"), .yyyy = Value(2024), .crop = Value("O'Brien"), .type = Value(1),
         .img = Value("p.jpg")});
    struct Case { hb::PlantFilter f; QStringList names; };
    const Case cases[] = {
        {{}, {"c", "d", "a", "b"}},  // every grower; year, crop, planting date
        {{2024, "", 0}, {"d", "a", "b"}},
        {{2024, "トマト", 0}, {"a", "b"}},
        {{std::nullopt, "トマト", 1}, {"b"}},
        {{std::nullopt, "O'Brien", 0}, {"d"}},
        {{1999, "", 0}, {}},
    };
    for (const Case &c : cases) {
        QStringList names;
        for (const PlantRec &r : hb::queryPlants(c.f)) {
            names << r.PLANT_NM.toString();
            EXPECT_TRUE(r.IMG_PATH1.isEmpty() && r.IMG_PATH2.isEmpty()) << "the list leaves the picture paths out";
        }
        EXPECT_EQ(names, c.names) << c.f.year.value_or(0) << "/" << c.f.crop.toStdString();
    }
}

}  // namespace
}  // namespace planttest
