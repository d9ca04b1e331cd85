// The pesticide list and input windows driven as a person does: the list's filters and cells,
// the input's modes, silent field checks, registration look-up and use check, and the saves
// through the windows.

#include "chemifixture.h"
#include "common/failingstatement.h"
#include "core/datepicker.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>

using chemitest::day;
using hb::Value;
using hbtest::settle;

namespace {

using ChemiWindows = chemitest::ChemiDb;
using ChemiWindowSaves = chemitest::ChemiDb;
INSTANTIATE_TEST_SUITE_P(Sqlite, ChemiWindows, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);
HB_INSTANTIATE_BOTH_BACKENDS(ChemiWindowSaves);

QStringList cells(const QTreeWidget *list, int row)
{
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c)
        out << list->topLevelItem(row)->text(c);
    return out;
}

// Every purchase of the grower, as stored (no stock reset).
void listAll(hb::frmChemiList &list)
{
    list.Option1[2]->setChecked(true);
    list.SetList();
}

// The list row of a purchase.
long rowOf(const hb::frmChemiList &list, long chemiId)
{
    for (int i = 0; i < list.ListView1->topLevelItemCount(); ++i) {
        if (list.ListView1->topLevelItem(i)->text(0) == QString::number(chemiId))
            return i;
    }
    return -1;
}

QStringList ids(const hb::frmChemiList &list)
{
    QStringList out;
    for (int i = 0; i < list.ListView1->topLevelItemCount(); ++i)
        out << list.ListView1->topLevelItem(i)->text(0);
    return out;
}

// ---- pictures ------------------------------------------------------------------------------------

TEST_P(ChemiWindows, PicturesAtTheDesignSizeAndMaximised)
{
    putRegistration(123, "ｶﾞｰﾄﾞA-1", "ﾋﾟﾚｽﾛｲﾄﾞ系", Value::null(), Value("殺虫剤"), Value("乳剤"));
    putRule({.regNo = 123, .cropWording = "トマト", .target = "アブラムシ類", .purpose = Value("（発生初期）"),
             .dilution = Value("2000～4000倍"), .useQty = Value("100～300L/10a"), .season = Value("収穫前日まで"),
             .times = Value("3回以内"), .way = Value("散布")});
    putMatch("トマト", Value("トマト"), Value::null(), Value::null(), Value::null());
    for (long i = 1; i <= 30; ++i)
        put({.id = i, .name = Value(QStringLiteral("ガードＡ－１ 乳剤 %1").arg(i)), .regNo = Value(123),
             .uses = Value(1 + i % 3), .date = day(2024, 6, static_cast<int>(i % 28 + 1)), .qty = Value(500.0),
             .unit = Value(4), .acc = Value(1000), .amt = Value(hb::Currency::fromDouble(2500)), .used = Value(123.5),
             .rest = Value(376.5)});
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 30);
    list.selectRow(3);
    hbtest::focusByClick(list.txtCOND[1]);
    settle();
    EXPECT_TRUE(list.picker->isShown());
    EXPECT_TRUE(list.rect().contains(list.picker->MonthView1()->geometry())) << "the picker stays inside the window";
    EXPECT_TRUE(hbtest::savePicture(&list, "/tmp/hb_chemi_list.png"));
    list.picker->hide();
    hbtest::resizeOuter(&list, QSize(1600, 1000));
    hbtest::focusByClick(list.txtCOND[2]);
    settle();
    EXPECT_TRUE(list.rect().contains(list.picker->MonthView1()->geometry()));
    EXPECT_TRUE(hbtest::savePicture(&list, "/tmp/hb_chemi_list_max.png"));
    hbtest::resizeOuter(&list, list.sizeHint());

    openInput(list, 2, 0, [&](hb::frmChemiInput &in) {
        enterCombo(in.cmbINFO, "トマト");
        EXPECT_EQ(in.lblINFO[0]->text(), QStringLiteral("アブラムシ類（発生初期）"));
        hbtest::focusByClick(in.txtDATA[4]);
        settle();
        EXPECT_TRUE(in.picker->isShown());
        EXPECT_TRUE(in.rect().contains(in.picker->MonthView1()->geometry()));
        EXPECT_TRUE(hbtest::savePicture(&in, "/tmp/hb_chemi_input.png"));
        in.picker->hide();
        hbtest::resizeOuter(&in, QSize(1600, 1000));
        hbtest::focusByClick(in.txtDATA[5]);
        hbtest::focusByClick(in.txtDATA[4]);
        settle();
        EXPECT_TRUE(in.rect().contains(in.picker->MonthView1()->geometry()));
        EXPECT_TRUE(hbtest::savePicture(&in, "/tmp/hb_chemi_input_max.png"));
        in.Unload();
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

// ---- the list --------------------------------------------------------------------------------------

TEST_P(ChemiWindows, TheListOpensWithTheStockLeftOfTheCurrentGrower)
{
    const Value null = Value::null();
    put({.id = 1, .name = Value("B剤"), .regNo = Value(123), .uses = Value(2), .date = day(2024, 6, 3),
         .qty = Value(10.0), .used = Value(2.5), .rest = Value(7.5)});
    put({.id = 2, .name = Value("A剤"), .uses = Value(99), .date = day(2024, 6, 3), .qty = Value(1.0),
         .rest = Value(1.0)});
    put({.id = 3, .name = Value("無い"), .date = day(2024, 6, 1), .qty = Value(1.0), .used = Value(1.0),
         .rest = Value(0.0)});
    put({.id = 4, .name = Value("使い過ぎ"), .date = day(2024, 6, 2), .rest = Value(-2.0)});
    put({.id = 5, .name = null, .date = null, .rest = null});
    put({.fmr = 2, .id = 6, .name = Value("他の人の"), .date = day(2024, 6, 1), .rest = Value(3.0)});
    putUse(1, 3, day(2024, 6, 5));  // used: the search's stock reset leaves them alone
    putUse(1, 4, day(2024, 6, 5), 2);
    auto &list = openList();
    EXPECT_EQ(list.windowTitle(), QStringLiteral("農薬一覧"));
    EXPECT_EQ(list.lblTITLE->text(), QStringLiteral("農薬一覧"));
    EXPECT_TRUE(list.Option1[0]->isChecked());
    EXPECT_EQ(list.cmbCOND[0]->currentIndex(), 0);
    EXPECT_EQ(list.cmbCOND[0]->itemText(1), QStringLiteral("殺虫剤"));
    EXPECT_TRUE(list.ListView1->isColumnHidden(0));
    EXPECT_FALSE(list.cmdMENU[6]->isEnabled());
    ASSERT_EQ(ids(list), QStringList({"2", "1"})) << "stock left, by date then name";
    EXPECT_EQ(cells(list.ListView1, 0), QStringList({"2", "", "A剤", "", "2024/06/03", "1", "0", "1"}))
        << "a use without name gives an empty cell";
    EXPECT_EQ(cells(list.ListView1, 1), QStringList({"1", "殺菌剤", "B剤", "123", "2024/06/03", "10", "2.5", "7.5"}));

    hbtest::click(list.Option1[1]);
    hbtest::click(list.cmdFIND);
    EXPECT_EQ(ids(list), QStringList({"5", "3", "4"})) << "0, negative and none";
    EXPECT_EQ(cells(list.ListView1, 0), QStringList({"5", "", "", "", "", "0", "0", "0"}));
    hbtest::click(list.Option1[2]);
    hbtest::click(list.cmdFIND);
    EXPECT_EQ(ids(list), QStringList({"5", "3", "4", "2", "1"}));

    struct Case { int box; QString text; QStringList ids; };
    const Case cases[] = {
        {0, "'", {}},
        {0, "剤", {"2", "1"}},
        {3, "123ab", {"1"}},
        {3, "a12", {}},
        {1, "20240603", {"2", "1"}},
    };
    for (const Case &c : cases) {
        for (QLineEdit *e : list.txtCOND)
            e->clear();
        enter(list.txtCOND[static_cast<std::size_t>(c.box)], c.text);
        list.picker->hide();
        if (c.box == 1)
            list.txtCOND[2]->setText(list.txtCOND[1]->text());  // the same day in both boxes
        hbtest::click(list.cmdFIND);
        EXPECT_EQ(ids(list), c.ids) << c.text.toStdString();
    }
    EXPECT_EQ(hb::gChemi.size(), 2u) << "a query without rows leaves the array as it was";
    list.txtCOND[3]->setText("9");
    hbtest::click(list.cmdFIND);
    ASSERT_EQ(list.rowCount(), 0);
    for (int b = 2; b <= 5; ++b)
        list.cmdMENU_Click(b);
    EXPECT_TRUE(ui->modalShown.isEmpty()) << "the row buttons do nothing on an empty list";
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(ChemiWindows, SearchReadsTheFiltersBeforeAnythingRuns)
{
    // Bought 10, 5 of it counted as used, though no diary line names it.
    put({.id = 1, .name = Value("A剤"), .date = day(2024, 6, 3), .qty = Value(10.0), .used = Value(5.0),
         .rest = Value(5.0)});
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 1);

    enter(list.txtCOND[1], "20081301");
    EXPECT_EQ(list.txtCOND[1]->text(), QStringLiteral("2008/13/01"));
    list.picker->hide();
    ui->prompts.clear();
    hbtest::click(list.cmdFIND);
    ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(ui->prompts[0].text, QStringLiteral("日付を指定してください。"));
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
    EXPECT_TRUE(list.txtCOND[1]->hasFocus());
    EXPECT_FALSE(list.picker->isShown()) << "the box takes the focus without the picker";
    EXPECT_EQ(list.rowCount(), 0) << "the list is left empty";
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 5) << "the stock reset did not run";

    // Coming back to the box reports the text once more; the picker stays as it was.
    hbtest::focusByClick(list.txtCOND[3]);
    ui->prompts.clear();
    hbtest::focusByClick(list.txtCOND[1]);
    EXPECT_EQ(ui->promptTexts(), QStringList({"日付を指定してください。"}));
    EXPECT_FALSE(list.picker->isShown());
    EXPECT_EQ(list.txtCOND[1]->text(), QStringLiteral("2008/13/01"));

    list.txtCOND[1]->clear();
    // A data file that cannot be written: the reset's failure once, as the start shows it, and
    // the purchases as stored.
    hb::gDb->EXEC("PRAGMA query_only = 1");
    ui->prompts.clear();
    hbtest::click(list.cmdFIND);
    hb::gDb->EXEC("PRAGMA query_only = 0");
    ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(ui->prompts[0].text, hb::DbObject::readOnlyText(hb::gDb->whereText()));
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(cells(list.ListView1, 0).mid(5), QStringList({"10", "5", "5"}));
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 5) << "nothing written";

    ui->prompts.clear();
    hbtest::click(list.cmdFIND);
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 0) << "a valid search resets the unused stock first";
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(cells(list.ListView1, 0).mid(5), QStringList({"10", "0", "10"}));
}

// ---- the input ------------------------------------------------------------------------------------

TEST_P(ChemiWindows, TheModesOfTheInput)
{
    put({.id = 1, .name = Value("登録なし"), .qty = Value(3.0), .chk = Value::null()});
    put({.id = 2, .name = Value("登録あり"), .regNo = Value(123), .acc = Value(2000), .chk = Value(0)});
    putRegistration(123, "ｶﾞｰﾄﾞA-1", "ｺﾞﾐ", Value::null(), Value("殺虫剤"), Value("乳剤"));
    put({.id = 3, .name = Value("口座なし"), .regNo = Value(5), .acc = Value::null()});
    auto &list = openList();
    listAll(list);
    ASSERT_EQ(list.rowCount(), 3);

    openInput(list, 1, -1, [&](hb::frmChemiInput &in) {
        EXPECT_EQ(in.windowTitle(), QStringLiteral("農薬入力"));
        EXPECT_EQ(in.cmdMENU[0]->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(in.cmdMENU[1]->text(), QStringLiteral("登録"));
        EXPECT_TRUE(in.Option1[0]->isChecked()) << "現金";
        EXPECT_EQ(in.work.ACC_ID.toLong(), 1000);
        EXPECT_TRUE(in.Check1->isChecked()) << "有効";
        EXPECT_TRUE(in.Frame2->isVisible()) << "a new purchase's number is unset, not Null";
        EXPECT_EQ(in.cmbINFO->findText("トマト") >= 0, true);
        for (QLineEdit *e : in.txtDATA)
            EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
        for (QComboBox *c : in.cmbDATA)
            EXPECT_EQ(c->currentIndex(), 0) << c->objectName().toStdString();
        EXPECT_EQ(in.work.FMR_ID.toLong(), 1);
        EXPECT_TRUE(in.work.CHEMI_ID.isNull());
        in.Unload();
    });
    // Stored without registration number: the check stays hidden, also once a number is typed.
    openInput(list, 2, rowOf(list, 1), [&](hb::frmChemiInput &in) {
        EXPECT_EQ(in.lblDATA[0]->text(), QStringLiteral("1"));
        EXPECT_FALSE(in.Frame2->isVisible());
        EXPECT_TRUE(in.Option1[0]->isChecked()) << "a stored purchase without account pays in cash";
        EXPECT_EQ(in.work.ACC_ID.toLong(), 1000);
        EXPECT_FALSE(in.Check1->isChecked()) << "Null counts as unchecked";
        enter(in.txtDATA[0], "123");
        EXPECT_EQ(in.txtDATA[1]->text(), QStringLiteral("ガードＡ－１"));
        EXPECT_FALSE(in.Frame2->isVisible());
        in.Unload();
    });
    openInput(list, 3, rowOf(list, 2), [&](hb::frmChemiInput &in) {
        EXPECT_EQ(in.cmdMENU[0]->text(), QStringLiteral("閉じる"));
        EXPECT_FALSE(in.cmdMENU[1]->isVisible()) << "閉じる alone";
        EXPECT_TRUE(in.Option1[1]->isChecked()) << "買掛";
        EXPECT_FALSE(in.Check1->isChecked());
        for (QLineEdit *e : in.txtDATA)
            EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
        EXPECT_FALSE(in.Check1->isEnabled());
        EXPECT_FALSE(in.Option1[0]->isEnabled());
        EXPECT_TRUE(in.Frame2->isVisible());
        EXPECT_TRUE(in.cmbINFO->isEnabled());
        EXPECT_NE(in.cmbINFO->focusPolicy(), Qt::NoFocus) << "the crop box stays usable";
        in.txtDATA[4]->setFocus();
        settle();
        EXPECT_FALSE(in.picker->isShown()) << "no picker in view mode";
        closePopups();
        hbtest::click(in.cmdMENU[0]);
        EXPECT_FALSE(in.isLoaded()) << "閉じる closes";
    });
    openInput(list, 4, rowOf(list, 3), [&](hb::frmChemiInput &in) {
        EXPECT_EQ(in.cmdMENU[0]->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(in.cmdMENU[1]->text(), QStringLiteral("削除"));
        EXPECT_TRUE(in.cmdMENU[1]->isVisible());
        EXPECT_EQ(in.work.ACC_ID.toLong(), 1000) << "a stored Null account reads as cash";
        in.Unload();
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(ChemiWindows, FieldChecksStaySilentAndStoreNull)
{
    put({.id = 1, .name = Value("A剤"), .qty = Value(8.0), .amt = Value(hb::Currency::fromDouble(100)),
         .used = Value(5.0), .rest = Value(3.0)});
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 1);
    struct Case { int box; const char *typed; const char *shown; Value stored; const char *rest; };
    const Value null = Value::null();
    const Case cases[] = {
        {6, "12a", "", null, ""},
        {6, "20", "20", Value(20.0), "15"},
        {6, "1,000", "1000", Value(1000.0), "995"},
        {4, "20081301", "", null, "3"},
        {4, "20240603", "2024/06/03", day(2024, 6, 3), "3"},
        {7, "x", "", null, "3"},
        {7, "-300", "-300", Value(hb::Currency::fromDouble(-300)), "3"},
        {1, "O'Neil #1", "O'Neil #1", Value("O'Neil #1"), "3"},
        {1, "", "", null, "3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        openInput(list, 2, 0, [&](hb::frmChemiInput &in) {
            ui->prompts.clear();
            QLineEdit *box = in.txtDATA[static_cast<std::size_t>(c.box)];
            enter(box, QString::fromUtf8(c.typed));
            in.picker->hide();
            EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
            EXPECT_FALSE(box->hasFocus()) << "the focus moves on";
            EXPECT_EQ(box->text(), QString::fromUtf8(c.shown));
            const Value stored = c.box == 6 ? in.work.PUR_QTY : c.box == 4 ? in.work.PUR_DATE
                                 : c.box == 7 ? in.work.PUR_AMT : in.work.CHEMI_NM;
            EXPECT_EQ(stored, c.stored);
            EXPECT_EQ(in.lblDATA[2]->text(), QString::fromUtf8(c.rest)) << "残量";
            if (c.box == 6 && c.stored.isNull()) {
                EXPECT_TRUE(in.work.REST_QTY.isNull());
            }
            in.Unload();
        });
    }
    // Leaving a box without changing it leaves the record untouched.
    openInput(list, 2, 0, [&](hb::frmChemiInput &in) {
        const hb::ChemiRec before = in.work;
        for (int i : {0, 1, 5, 6, 7})
            hbtest::focusByClick(in.txtDATA[static_cast<std::size_t>(i)]);
        hbtest::pressKey(Qt::Key_Tab);
        EXPECT_TRUE(in.txtDATA[8]->hasFocus());
        for (int f = 0; f < hb::ChemiRec::fieldCount(); ++f)
            EXPECT_EQ(in.work.field(f), before.field(f)) << f;
        // The name is required.
        enter(in.txtDATA[1], "");
        ui->prompts.clear();
        hbtest::click(in.cmdMENU[1]);
        EXPECT_EQ(ui->promptTexts(), QStringList({"名称は必須入力です。"}));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_TRUE(in.txtDATA[1]->hasFocus());
        EXPECT_TRUE(in.isVisible());
        in.Unload();
    });
}

TEST_P(ChemiWindows, ARegistrationNumberFillsTheProductFields)
{
    putMaker("GK", "緑丘化学");
    putRegistration(123, "ｶﾞｰﾄﾞA-1", "ﾋﾟﾚｽﾛｲﾄﾞ系", Value("GK"), Value("殺虫剤"), Value("乳剤"));
    putRegistration(200, "ｿﾞｰﾝ", "x", Value("GK"), Value("見ない用途"), Value("水和剤"));
    auto &list = openList();
    openInput(list, 1, -1, [&](hb::frmChemiInput &in) {
        struct Case { const char *typed; Value regNo; const char *name, *kind, *maker, *uses, *type; };
        const Case cases[] = {
            {"123ab", Value(123), "ガードＡ－１", "ピレスロイド系", "緑丘化学", "殺虫剤", "乳剤"},
            {"999", Value(999), "", "", "", "", ""},
            {"200", Value(200), "ゾーン", "ｘ", "緑丘化学", "", "水和剤"},
            {"abc", Value::null(), "", "", "", "", ""},
        };
        for (const Case &c : cases) {
            enter(in.txtDATA[0], QString::fromUtf8(c.typed));
            EXPECT_EQ(in.work.REG_NO, c.regNo) << c.typed;
            EXPECT_EQ(in.txtDATA[0]->text(), c.regNo.displayText()) << c.typed;
            EXPECT_EQ(in.txtDATA[1]->text(), QString::fromUtf8(c.name)) << c.typed;
            EXPECT_EQ(in.txtDATA[2]->text(), QString::fromUtf8(c.kind)) << c.typed;
            EXPECT_EQ(in.txtDATA[3]->text(), QString::fromUtf8(c.maker)) << c.typed;
            EXPECT_EQ(in.cmbDATA[0]->currentText(), QString::fromUtf8(c.uses)) << c.typed;
            EXPECT_EQ(in.cmbDATA[1]->currentText(), QString::fromUtf8(c.type)) << c.typed;
        }
        // A number whose registration cannot be read is not taken: the boxes show the one held.
        enter(in.txtDATA[0], "123");
        hbtest::withFailingStatements(*hb::gWork, QStringLiteral("WORK.MDB を読めません。"),
                                      [&] { enter(in.txtDATA[0], "200"); });
        EXPECT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(in.work.REG_NO, Value(123));
        EXPECT_EQ(in.txtDATA[0]->text(), "123");
        EXPECT_EQ(in.txtDATA[1]->text(), QStringLiteral("ガードＡ－１"));
        ui->prompts.clear();
        in.Unload();
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(ChemiWindows, WithoutRegistrationRowsTheFieldsEmptyAndNothingIsListed)
{
    put({.id = 1, .name = Value("自分で入れた名前"), .regNo = Value(5), .uses = Value(1)});
    hb::gDb->EXEC("UPDATE D_CHEMI SET CHEMI_KIND='粒', MAKER_NM='某社', CHEMI_TYPE=7 WHERE CHEMI_ID=1");
    auto &list = openList();
    listAll(list);
    openInput(list, 2, 0, [&](hb::frmChemiInput &in) {
        EXPECT_TRUE(in.Frame2->isVisible());
        enter(in.txtDATA[0], "6");
        for (int i : {1, 2, 3})
            EXPECT_TRUE(in.txtDATA[static_cast<std::size_t>(i)]->text().isEmpty()) << i;
        EXPECT_EQ(in.cmbDATA[0]->currentIndex(), 0);
        EXPECT_EQ(in.cmbDATA[1]->currentIndex(), 0);
        enterCombo(in.cmbINFO, "トマト");
        EXPECT_TRUE(in.lblINFO[0]->text().isEmpty());
        EXPECT_EQ(in.lblINFO[3]->text(), QStringLiteral(" "));
        in.Unload();
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(ChemiWindows, TheUseCheckPagesThroughTheRulesForACrop)
{
    putRegistration(123, "A", "B", Value::null(), Value("殺虫剤"), Value("乳剤"));
    putRule({.regNo = 123, .cropWording = "トマト", .target = "アブラムシ類", .purpose = Value("（初期）"),
             .dilution = Value("2000倍"), .useQty = Value("100L"), .season = Value("前日まで"),
             .times = Value("3回以内"), .way = Value("散布")});
    putRule({.regNo = 123, .cropWording = "トマト", .target = "ハダニ類"});
    putMatch("トマト", Value("トマト"), Value::null(), Value::null(), Value::null());
    put({.id = 1, .name = Value("A"), .regNo = Value(123)});
    auto &list = openList();
    listAll(list);
    openInput(list, 3, 0, [&](hb::frmChemiInput &in) {
        const int crops = in.cmbINFO->count();
        ASSERT_GT(crops, 10);
        EXPECT_EQ(in.cmbINFO->currentIndex(), -1);
        enterCombo(in.cmbINFO, "トマト");
        EXPECT_EQ(in.lblINFO[0]->text(), QStringLiteral("アブラムシ類（初期）"));
        EXPECT_EQ(in.lblINFO[1]->text(), QStringLiteral("2000倍100L"));
        EXPECT_EQ(in.lblINFO[2]->text(), QStringLiteral("前日まで"));
        EXPECT_EQ(in.lblINFO[3]->text(), QStringLiteral("3回以内 散布"));
        EXPECT_EQ(in.pagerMaximum(), 1);
        in.VScroll1->setValue(1);
        EXPECT_EQ(in.lblINFO[0]->text(), QStringLiteral("ハダニ類"));
        EXPECT_EQ(in.lblINFO[3]->text(), QStringLiteral(" "));

        // Rules that cannot be read: one message, and no rule of the crop before stays shown.
        ui->prompts.clear();
        hbtest::withFailingStatements(*hb::gWork, QStringLiteral("WORK.MDB を読めません。"),
                                      [&] { enterCombo(in.cmbINFO, "キャベツ"); });
        EXPECT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
        for (QLabel *l : in.lblINFO)
            EXPECT_TRUE(l->text().trimmed().isEmpty()) << l->text().toStdString();
        ui->prompts.clear();

        // No rule for the crop: empty labels, label 3 one blank, the pager from 0 to -1.
        enterCombo(in.cmbINFO, "キャベツ");
        EXPECT_EQ(in.pagerMaximum(), -1);
        EXPECT_EQ(in.VScroll1->value(), 0);
        EXPECT_TRUE(in.lblINFO[0]->text().isEmpty());
        EXPECT_EQ(in.lblINFO[3]->text(), QStringLiteral(" "));
        in.VScroll1->setValue(-1);
        EXPECT_TRUE(in.lblINFO[3]->text().isEmpty());
        in.VScroll1->setValue(0);
        EXPECT_EQ(in.lblINFO[3]->text(), QStringLiteral(" "));

        // A crop that is no entry keeps the focus; emptying the picker clears the labels.
        enterCombo(in.cmbINFO, "トマト");
        enterCombo(in.cmbINFO, "トマ");
        EXPECT_TRUE(in.cmbINFO->hasFocus());
        EXPECT_EQ(in.lblINFO[0]->text(), QStringLiteral("アブラムシ類（初期）"));
        enterCombo(in.cmbINFO, "");
        EXPECT_TRUE(in.lblINFO[0]->text().isEmpty());
        EXPECT_EQ(in.cmbINFO->currentIndex(), -1);

        // Each crop once: after a maximise and a restore, and after a second fill.
        const QSize normal = in.frameGeometry().size();
        hbtest::resizeOuter(&in, QSize(1600, 1000));
        hbtest::resizeOuter(&in, normal);
        EXPECT_EQ(in.cmbINFO->count(), crops);
        in.SetCmbInfo();
        in.SetCmbInfo();
        EXPECT_EQ(in.cmbINFO->count(), crops);
        EXPECT_EQ(in.cmbINFO->findText("トマト"), in.cmbINFO->findText("トマト", Qt::MatchExactly));
        in.Unload();
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

// ---- saves through the windows -----------------------------------------------------------------

TEST_P(ChemiWindowSaves, AnAddStoresWhatWasTypedPostsItsVoucherAndIsReselected)
{
    put({.fmr = 2, .id = 7, .name = Value("他の人の")});
    put({.id = 3, .name = Value("前の"), .date = day(2024, 5, 1), .rest = Value(1.0)});
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 1);
    openInput(list, 1, -1, [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[1], "ガードＡ 'x' #1");
        enter(in.txtDATA[4], "20240601");
        in.picker->hide();
        enter(in.txtDATA[5], "農協");
        enter(in.txtDATA[6], "12");
        choose(in.cmbDATA[2], "L");
        enter(in.txtDATA[7], "5,000");
        hbtest::click(in.cmdMENU[1]);
        EXPECT_FALSE(in.isLoaded()) << ui->promptTexts().join('|').toStdString();
    });
    const hb::ChemiRec s = row(8);
    EXPECT_EQ(s.FMR_ID.toLong(), 1);
    EXPECT_EQ(s.CHEMI_NM, Value("ガードＡ 'x' #1"));
    EXPECT_EQ(s.PUR_DATE.toDate().date(), QDate(2024, 6, 1));
    EXPECT_DOUBLE_EQ(s.PUR_QTY.toDouble(), 12);
    EXPECT_EQ(s.PUR_UNIT.toLong(), 5);
    EXPECT_EQ(s.ACC_ID.toLong(), 1000) << "the payment options were never visited: cash";
    EXPECT_DOUBLE_EQ(s.PUR_AMT.toDouble(), 5000);
    EXPECT_DOUBLE_EQ(s.USED_QTY.toDouble(), 0);
    EXPECT_DOUBLE_EQ(s.REST_QTY.toDouble(), 12);
    EXPECT_EQ(s.CHK_FLG.toLong(), -1);
    EXPECT_EQ(s.LEDGE_ID.toLong(), 1);
    EXPECT_EQ(one("SELECT C_ACC_ID FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=1").toLong(), 1000);
    EXPECT_EQ(one("SELECT D_OPT_NM FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=1"), Value("12.0L"));
    EXPECT_EQ(one("SELECT CTR_NM FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=1"), Value("農協"));
    EXPECT_EQ(hb::gLastChemiID.toLong(), 8);
    ASSERT_EQ(list.rowCount(), 2);
    ASSERT_GE(list.selectedRow(), 0);
    EXPECT_EQ(hb::gChemi.at(static_cast<std::size_t>(list.selectedRow())).CHEMI_ID.toLong(), 8)
        << "the saved purchase is selected";

    // Paid later; "12a" as the quantity: stored as no quantity, 0. The name takes 250 characters,
    // so that the diary line's "m/d" and the name fit their column.
    const QString name = QString(249, QChar(0x8FB2)) + QStringLiteral("𠮷");
    openInput(list, 1, -1, [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[1], name);
        hbtest::typeText(in.txtDATA[1], "B");
        EXPECT_EQ(in.txtDATA[1]->text(), name);
        enter(in.txtDATA[6], "12a");
        hbtest::click(in.Option1[1]);
        hbtest::click(in.cmdMENU[1]);
        EXPECT_FALSE(in.isLoaded()) << ui->promptTexts().join('|').toStdString();
    });
    EXPECT_EQ(col("ACC_ID", 9).toLong(), 2000);
    EXPECT_EQ(col("CHEMI_NM", 9), Value(name));
    for (const char *c : {"PUR_QTY", "USED_QTY", "REST_QTY", "PUR_AMT", "LEDGE_ID"})
        EXPECT_DOUBLE_EQ(col(c, 9).toDouble(), 0) << c;
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(ChemiWindowSaves, AModifyRepostsAsSeventeenAndACopyGetsItsOwnVoucher)
{
    put({.id = 5, .name = Value("A剤"), .date = day(2024, 6, 1), .qty = Value(2.0), .unit = Value(5),
         .acc = Value(2000), .amt = Value(hb::Currency::fromDouble(3000)), .used = Value(0.5), .rest = Value(1.5),
         .ledge = Value(17)});
    putVoucher(1, 17, day(2024, 6, 1), 1130, 2000, 3000);
    putVoucher(1, 20, day(2024, 6, 9), 1000, 4000, 10);
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 1);

    openInput(list, 5, 0, [&](hb::frmChemiInput &in) {
        EXPECT_TRUE(in.txtDATA[4]->text().isEmpty()) << "a copy is undated";
        EXPECT_TRUE(in.Check1->isChecked());
        EXPECT_TRUE(in.lblDATA[0]->text().isEmpty());
        EXPECT_TRUE(in.lblDATA[1]->text().isEmpty()) << "full stock";
        EXPECT_TRUE(in.work.LEDGE_ID.isNull()) << "no voucher";
        EXPECT_TRUE(in.Option1[1]->isChecked()) << "the copy keeps its account";
        EXPECT_EQ(in.txtDATA[7]->text(), QStringLiteral("3000"));
        enter(in.txtDATA[4], "20240701");
        in.picker->hide();
        hbtest::click(in.cmdMENU[1]);
        EXPECT_FALSE(in.isLoaded()) << ui->promptTexts().join('|').toStdString();
    });
    EXPECT_EQ(col("LEDGE_ID", 6).toLong(), 21) << "a new voucher number";
    EXPECT_EQ(col("LEDGE_ID", 5).toLong(), 17);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1 AND LEDGE_ID=17 AND AMT=3000"), 1) << "17 stays with the source";
    EXPECT_DOUBLE_EQ(col("REST_QTY", 6).toDouble(), 2);

    listAll(list);
    openInput(list, 2, rowOf(list, 5), [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[7], "3500");
        hbtest::click(in.cmdMENU[1]);
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_EQ(col("LEDGE_ID", 5).toLong(), 17);
    EXPECT_DOUBLE_EQ(one("SELECT AMT FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=17").toDouble(), 3500);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 5).toDouble(), 1.5) << "from the use it loaded";
    openInput(list, 2, rowOf(list, 5), [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[4], "");
        in.picker->hide();
        hbtest::click(in.cmdMENU[1]);
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_EQ(col("LEDGE_ID", 5).toLong(), 0);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1 AND LEDGE_ID=17"), 0);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1"), 2);
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(ChemiWindowSaves, ADeleteIsRefusedWhileUsedAndOtherwiseTakesTheVoucher)
{
    put({.id = 5, .name = Value("使用中"), .rest = Value(1.0), .ledge = Value(17)});
    put({.id = 6, .name = Value("未使用"), .rest = Value(1.0), .ledge = Value(18)});
    putVoucher(1, 17, day(2024, 6, 1), 1130, 1000, 3000);
    putVoucher(1, 18, day(2024, 6, 1), 1130, 1000, 100);
    putUse(1, 5, day(2024, 6, 3));
    auto &list = openList();
    const QStringList before = dumpPurchasesAndVouchers();
    openInput(list, 4, rowOf(list, 5), [&](hb::frmChemiInput &in) {
        hbtest::click(in.cmdMENU[1]);
        EXPECT_EQ(ui->promptTexts(), QStringList({"この農薬は6/3に使用されています。削除できません。"}));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_TRUE(in.isLoaded());
        in.Unload();
    });
    EXPECT_EQ(dumpPurchasesAndVouchers(), before);
    ui->prompts.clear();
    openInput(list, 4, rowOf(list, 6), [&](hb::frmChemiInput &in) {
        hbtest::click(in.cmdMENU[1]);
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_EQ(count("D_CHEMI", "CHEMI_ID=6"), 0);
    EXPECT_EQ(count("D_LEDGE", "LEDGE_ID=18"), 0);
    EXPECT_EQ(count("D_LEDGE", "LEDGE_ID=17"), 1);
    EXPECT_EQ(ids(list), QStringList({"5"}));
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

// A modify or a delete whose voucher could not be read, or whose purchase was deleted meanwhile,
// changes nothing: the first refuses its save (never saving uncompared), the second closes.
TEST_P(ChemiWindowSaves, APurchaseNotReadOrDeletedMeanwhileChangesNothing)
{
    for (int mode : {2, 4}) {
        SCOPED_TRACE(mode);
        hb::gDb->EXEC("DELETE FROM D_CHEMI");
        hb::gDb->EXEC("DELETE FROM D_LEDGE");
        put({.id = 5, .name = Value("消される"), .date = day(2024, 6, 1), .amt = Value(hb::Currency::fromDouble(10)),
             .rest = Value(1.0), .ledge = Value(17)});
        put({.id = 6, .name = Value("残る"), .rest = Value(1.0)});
        putVoucher(1, 17, day(2024, 6, 1), 1130, 1000, 10);
        auto &list = openList();
        ASSERT_EQ(list.rowCount(), 2);
        const QStringList stored = dumpPurchasesAndVouchers();
        openInput(list, mode, rowOf(list, 5), [&](hb::frmChemiInput &in) {
            hb::DbObject::statementStartHook = [](const hb::DbObject &, const QString &sql) {
                if (sql.contains("D_LEDGE"))
                    throw hb::HbError(hb::kErrDatabase, "read failed");
            };
            EXPECT_THROW(in.SetMode(), hb::HbError);
            hb::DbObject::statementStartHook = nullptr;
            ui->prompts.clear();
            hbtest::click(in.cmdMENU[1]);
            EXPECT_EQ(ui->promptTexts(), QStringList{hb::NotLoaded().description()});
            in.Unload();
        });
        EXPECT_EQ(dumpPurchasesAndVouchers(), stored);
        ui->prompts.clear();
        QStringList before;
        openInput(list, mode, rowOf(list, 5), [&](hb::frmChemiInput &in) {
            hb::gDb->EXEC("DELETE FROM D_CHEMI WHERE CHEMI_ID=5");  // another computer
            before = dumpPurchasesAndVouchers();
            if (mode == 2)
                enter(in.txtDATA[7], "20");
            hbtest::click(in.cmdMENU[1]);
            ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
            EXPECT_EQ(ui->prompts[0].text, QStringLiteral("該当データが存在しません。"));
            EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
            EXPECT_FALSE(in.isLoaded()) << "the window closes";
        });
        EXPECT_EQ(dumpPurchasesAndVouchers(), before) << "no voucher written or removed";
        EXPECT_EQ(ids(list), QStringList({"6"})) << "the list was queried again";
        list.Unload();
        settle();
    }
}

TEST_P(ChemiWindowSaves, AFailedSaveIsReportedAndTheWindowKeepsItsInputAndNumbers)
{
    put({.id = 5, .name = Value("A剤"), .date = day(2024, 6, 1), .qty = Value(2.0), .unit = Value(5),
         .acc = Value(1000), .amt = Value(hb::Currency::fromDouble(3000)), .rest = Value(2.0), .ledge = Value(17)});
    putVoucher(1, 17, day(2024, 6, 1), 1130, 1000, 3000);
    auto &list = openList();
    failRowWrites();
    const QStringList before = dumpPurchasesAndVouchers();
    openInput(list, 1, -1, [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[1], "新しい");
        enter(in.txtDATA[4], "20240605");
        in.picker->hide();
        enter(in.txtDATA[7], "700");
        hbtest::click(in.cmdMENU[1]);
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_TRUE(in.isLoaded());
        EXPECT_EQ(in.txtDATA[1]->text(), QStringLiteral("新しい"));
        EXPECT_EQ(in.txtDATA[7]->text(), QStringLiteral("700"));
        EXPECT_TRUE(in.work.CHEMI_ID.isNull());
        EXPECT_TRUE(in.work.LEDGE_ID.isNull());
        in.Unload();
    });
    EXPECT_EQ(dumpPurchasesAndVouchers(), before) << "an add leaves no voucher and no row";
    ui->prompts.clear();
    openInput(list, 2, rowOf(list, 5), [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[7], "3500");
        in.work.REST_QTY = Value(9.0);  // as loaded, other than the purchase less its use
        const hb::ChemiRec typed = in.work;
        hbtest::click(in.cmdMENU[1]);
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_TRUE(in.isLoaded());
        for (int f = 0; f < hb::ChemiRec::fieldCount(); ++f)
            EXPECT_EQ(in.work.field(f), typed.field(f)) << "the working record as before the click: " << f;
        EXPECT_EQ(in.txtDATA[7]->text(), QStringLiteral("3500"));
        EXPECT_EQ(in.work.CHEMI_ID.toLong(), 5);
        EXPECT_EQ(in.work.LEDGE_ID.toLong(), 17);
        in.Unload();
    });
    EXPECT_EQ(dumpPurchasesAndVouchers(), before) << "voucher 17 and the row as they were";
}

// Each statement of a modify's save failing in turn (the purchase and its voucher): reported as a
// failed save, the purchases, the vouchers and the window as they were; the save after the last
// one goes through.
TEST_P(ChemiWindowSaves, EachFailingStatementOfTheSaveLeavesTheRowsAndTheWindowAsTheyWere)
{
    put({.id = 5, .name = Value("A剤"), .date = day(2024, 6, 1), .qty = Value(2.0), .unit = Value(5),
         .acc = Value(1000), .amt = Value(hb::Currency::fromDouble(3000)), .rest = Value(2.0), .ledge = Value(17)});
    putVoucher(1, 17, day(2024, 6, 1), 1130, 1000, 3000);
    auto &list = openList();
    const QStringList before = dumpPurchasesAndVouchers();
    long statements = 0;
    openInput(list, 2, rowOf(list, 5), [&](hb::frmChemiInput &in) {
        enter(in.txtDATA[7], "3500");
        const hb::ChemiRec typed = in.work;
        statements = hbtest::failEachClick(*hb::gDb, ui.get(), in.cmdMENU[1], [&](long k, const QString &) {
                EXPECT_TRUE(in.isLoaded()) << k;
                for (int f = 0; f < hb::ChemiRec::fieldCount(); ++f)
                    EXPECT_EQ(in.work.field(f), typed.field(f)) << k << " field " << f;
                EXPECT_EQ(in.txtDATA[7]->text(), QStringLiteral("3500")) << k;
                EXPECT_EQ(dumpPurchasesAndVouchers(), before) << k;
            });
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_GE(statements, 4);
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_NE(dumpPurchasesAndVouchers(), before);
}

}  // namespace
