// The price-tag print dialog driven as a grower drives it, on both kinds of database: the day's
// list, the label and sheet counts, the skip, refused dates and failed listings, the frame option
// and the logo, the preview and its PDF, closing, resizing and the date picker.

#include "common/programbackends.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "printing/fdlpreview.h"
#include "printing/fdlprintpricetag.h"
#include "printing/printfixture.h"
#include "printing/ptag.h"
#include "printing/ptagsheet.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <optional>

using hb::Value;
using hbtest::settle;

namespace {

const QDate kDay(2024, 6, 3);

class PriceTagPrint : public hbtest::ProgramBackends {
protected:
    void SetUp() override
    {
        ProgramBackends::SetUp();
        if (IsSkipped())
            return;
        hb::gShopID = Value(1);
        hb::gFmrID = Value(1);
        hb::gRepId = 0;
        hb::gPageCount = 0;
        hb::gPtagData.assign(1, hb::PtagDataRec());
        printLog = hbtest::useFakePrinters();
        hbtest::putTagShop(1, Value("shop.example"));
        hbtest::putTagGrowers();
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        hbtest::resetPrinting();
        hb::gShopID = Value();
        hb::gFmrID = Value();
        ProgramBackends::TearDown();
    }

    static void ship(long fmr, long id, const QDate &day, const QString &name, double price, long labels)
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, SHOP_ID, PLANT_ID, PRD_ID, PRD_NM, LOCATE, PLAS, "
                      "SHOP_PRC, SHIP_QTY) VALUES (?, ?, ?, 1, 5, ?, ?, '信州', -1, ?, ?)",
                      {Value(fmr), Value(id), Value(day), Value(id * 10), Value(name),
                       Value(hb::Currency::fromDouble(price)), Value(labels)});
    }
    hb::fdlPrintPriceTag &open()
    {
        auto &f = hb::form<hb::fdlPrintPriceTag>();
        f.showModeless();
        EXPECT_TRUE(hbtest::activate(&f));
        settle();
        return f;
    }
    // Types a box's text and leaves the box with Tab.
    static void leave(QLineEdit *box, const QString &text)
    {
        hbtest::focusByClick(box);
        box->setText(text);
        hbtest::pressKey(Qt::Key_Tab);
        settle();
    }
    // The list's lines, their cells joined by "|".
    static QStringList lines(const hb::fdlPrintPriceTag &f)
    {
        QStringList out;
        for (int i = 0; i < f.ListView1->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << f.ListView1->topLevelItem(i)->text(c);
            out << cells.join('|');
        }
        return out;
    }
    // "枚数 ﾍﾟｰｼﾞ数".
    static QString totals(const hb::fdlPrintPriceTag &f) { return f.lblSUM[1]->text() + " " + f.lblSUM[0]->text(); }
    // Whether every tag the preview drew carries its outline.
    static std::optional<bool> outlined(const hb::fdlPreview &p)
    {
        const hb::RenderModel &m = p.renderModel();
        if (m.tags.empty())
            return std::nullopt;
        int framed = 0;
        for (const hb::RenderTag &t : m.tags) {
            for (const hb::RenderItem &i : m.itemsOf(t)) {
                if (i.kind == hb::RenderItem::Kind::Box && i.rect.topLeft() == t.corner
                    && qAbs(i.rect.width() - hb::kTagPitchX) < 1 && qAbs(i.rect.height() - hb::kTagPitchY) < 1)
                    ++framed;
            }
        }
        EXPECT_TRUE(framed == 0 || framed == static_cast<int>(m.tags.size()));
        return framed > 0;
    }
    static QString stored(const QString &key)
    {
        const Value v = hb::gINI->GetCtrl(key);
        return v.isEmpty() ? "<none>" : v.isNull() ? "<null>" : v.displayText();
    }

    std::shared_ptr<hbtest::FakePrintLog> printLog;
};

TEST_P(PriceTagPrint, LabelPositionsAndSheetsFollowTheSkipAndTheLabels)
{
    struct Case {
        const char *skip;
        std::vector<long> labels;  // the day's shipments 1, 2, ... in order
        const char *totals;        // "枚数 ﾍﾟｰｼﾞ数"
        int skipCount;             // what the price-tag rows keep
    };
    const Case cases[] = {
        {"3", {10, 11}, "24 1", 3},
        {"3", {10, 11, 1}, "25 2", 3},
        {"30", {50}, "80 4", 30},
        {"0", {20, 28}, "48 2", 0},
        {"0", {}, "0 0", 0},
        {"5", {}, "5 1", 5},
        {"abc", {10}, "10 1", 0},
        {"2.5", {22}, "24 1", 2},
        {"3.5", {21}, "25 2", 4},
        {"-5", {24}, "24 1", 0},
        // No line for a shipment without labels; a negative count keeps its line and adds nothing.
        {"0", {10, 0, 5}, "15 1", 0},
        {"0", {10, -10, 5}, "15 1", 0},
    };
    auto &f = open();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.skip) + " / " + std::to_string(c.labels.size()) + " shipments");
        hb::gDb->EXEC("DELETE FROM D_SHIP");
        QStringList expected;
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            ship(1, static_cast<long>(i + 1), kDay, "大根", 100, c.labels[i]);
            if (c.labels[i] != 0)
                expected << QStringLiteral("%1|大根|100|%2").arg(i + 1).arg(c.labels[i]);
        }
        leave(f.txtCOND[0], "2024/06/03");
        leave(f.txtCOND[1], QString::fromUtf8(c.skip));
        EXPECT_EQ(totals(f), c.totals);
        EXPECT_EQ(lines(f), expected);
        EXPECT_EQ(f.txtCOND[1]->text(), QString::fromUtf8(c.skip));
        ASSERT_EQ(hb::gPtagData.size(), 1u);
        EXPECT_EQ(hb::gPtagData[0].SKIP_CNT, c.skipCount);
        EXPECT_EQ(hb::gPtagData[0].PTAG.size(), std::max<std::size_t>(1, c.labels.size()));
    }
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_P(PriceTagPrint, EveryGrowersShipmentsOfTheDayByIdProductAndPriceDescending)
{
    ship(1, 2, kDay, "トマト", 200, 3);
    ship(2, 2, kDay, "トマト", 300, 2);
    ship(2, 1, kDay, "なす", 100, 4);
    ship(1, 1, kDay, "かぶ", 150.5, 1);
    ship(1, 3, kDay.addDays(1), "翌日の分", 100, 9);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    EXPECT_EQ(lines(f), QStringList({"1|かぶ|150.5|1", "2|なす|100|4", "3|トマト|300|2", "4|トマト|200|3"}));
    EXPECT_EQ(totals(f), "10 1");
    std::vector<int> growers;
    for (const hb::PtagRec &r : hb::gPtagData[0].PTAG)
        growers.push_back(r.FMR_ID);
    EXPECT_EQ(growers, (std::vector<int>{1, 2, 2, 1}));

    // The columns: the position is hidden, the numbers stand right, widths at the window's scale.
    QTreeWidget *list = f.ListView1;
    EXPECT_EQ(list->headerItem()->text(1), "品名");
    EXPECT_EQ(list->headerItem()->text(2), "単価");
    EXPECT_EQ(list->headerItem()->text(3), "数量");
    EXPECT_TRUE(list->isColumnHidden(0));
    EXPECT_EQ(list->columnWidth(1), qRound(4800 * f.scaleX() / 15));
    EXPECT_EQ(list->columnWidth(2), qRound(1600 * f.scaleX() / 15));
    EXPECT_TRUE(list->topLevelItem(0)->textAlignment(2) & Qt::AlignRight);
    EXPECT_TRUE(list->topLevelItem(0)->textAlignment(1) & Qt::AlignLeft);
    EXPECT_FALSE(f.cmbCOND_0->isVisible());
    EXPECT_EQ(f.cmbCOND_0->count(), 0);
}

TEST_P(PriceTagPrint, AnEmptyOrBadDateChangesNothing)
{
    ship(1, 1, kDay, "大根", 100, 10);
    ship(2, 2, kDay, "かぶ", 120, 5);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    leave(f.txtCOND[1], "2");
    const QStringList listed = lines(f);
    const std::vector<hb::PtagRec> tags = hb::gPtagData[0].PTAG;
    ASSERT_EQ(listed.size(), 2);
    ASSERT_EQ(totals(f), "17 1");

    struct Case {
        const char *typed;
        const char *message;  // "" for none
    } cases[] = {{"", ""}, {"2008/13/40", "日付を指定してください。"}, {"6月3日", "日付を指定してください。"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        ui->prompts.clear();
        leave(f.txtCOND[0], QString::fromUtf8(c.typed));
        if (*c.message) {
            ASSERT_EQ(ui->prompts.size(), 1u);
            EXPECT_EQ(ui->prompts[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(ui->prompts[0].style, 48);
            EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
            EXPECT_EQ(QApplication::focusWidget(), f.txtCOND[0]);
        } else {
            EXPECT_TRUE(ui->prompts.empty());
        }
        EXPECT_EQ(f.txtCOND[0]->text(), QString::fromUtf8(c.typed));
        EXPECT_EQ(lines(f), listed);
        EXPECT_EQ(totals(f), "17 1");
        EXPECT_EQ(hb::gPtagData[0].PTAG, tags);
        EXPECT_EQ(hb::gPtagData[0].SKIP_CNT, 2);
    }
}

TEST_P(PriceTagPrint, AListingThatFailsEmptiesTheListTheTotalsAndTheTags)
{
    ship(1, 1, kDay, "大根", 100, 10);
    ship(1, 2, kDay, "かぶ", 120, 5);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    ASSERT_EQ(lines(f).size(), 2);

    // A bar-code block outside the 12 digits fails the build of the first row.
    hb::gMst->EXEC("UPDATE M_SHOP SET BCD_PRD_ID_STA=13");
    struct Case {
        const char *what;
        std::function<void()> relist;
    } cases[] = {
        {"leaving the skip box", [&] { leave(f.txtCOND[1], "1"); }},
        {"a change of size", [&] {
             f.showMaximized();
             settle();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ui->prompts.clear();
        c.relist();
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, "販売店のバーコード設定が範囲外です。");
        EXPECT_EQ(ui->prompts[0].style, 0);
        EXPECT_EQ(ui->prompts[0].title, hb::kAppName);
        EXPECT_TRUE(lines(f).isEmpty());
        EXPECT_EQ(totals(f), "0 0");
        ASSERT_EQ(hb::gPtagData.size(), 1u);
        EXPECT_EQ(hb::gPtagData[0].SKIP_CNT, 0);
        ASSERT_EQ(hb::gPtagData[0].PTAG.size(), 1u);
        EXPECT_EQ(hb::gPtagData[0].PTAG[0], hb::PtagRec());
    }

    // A skip beyond a 16-bit count fails the listing too.
    hb::gMst->EXEC("UPDATE M_SHOP SET BCD_PRD_ID_STA=1");
    f.showNormal();
    settle();
    ASSERT_EQ(lines(f).size(), 2);
    ui->prompts.clear();
    leave(f.txtCOND[1], "9e9");
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, "オーバーフローしました。");
    EXPECT_TRUE(lines(f).isEmpty());
    EXPECT_EQ(totals(f), "0 0");
    EXPECT_EQ(hb::gPtagData[0].PTAG.size(), 1u);
}

TEST_P(PriceTagPrint, TheFrameOptionIsStoredOnLeavingItAndOutlinesThePrintedTags)
{
    ship(1, 1, kDay, "大根", 100, 3);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    EXPECT_FALSE(f.Check1->isChecked());
    std::optional<bool> seen;
    int pages = -1;
    hbtest::onModal(ui.get(), "fdlPreview", [&](QDialog *d) {
        seen = outlined(*static_cast<hb::fdlPreview *>(d));
        pages = hb::gPageCount;
    });
    for (const bool on : {true, false, true}) {
        SCOPED_TRACE(on ? "checked" : "unchecked");
        hbtest::click(f.Check1);
        ASSERT_EQ(f.Check1->isChecked(), on);
        seen.reset();
        hbtest::click(f.Command1[1]);  // leaving the check box for the print button stores it
        EXPECT_EQ(stored("PRINT_PTAG_FRAME"), on ? "1" : "0");
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(*seen, on);
        EXPECT_EQ(hb::gRepId, 10);
        EXPECT_EQ(pages, 1);
    }
    // Leaving the check box for a text box stores it as well.
    hbtest::click(f.Check1);
    hbtest::focusByClick(f.txtCOND[1]);
    EXPECT_EQ(stored("PRINT_PTAG_FRAME"), "0");
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_P(PriceTagPrint, TheStoredFrameOptionAndTheShopsLogoApplyOnLoad)
{
    QImage logo(300, 40, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ASSERT_TRUE(logo.save(dir.path("images/shop_logo.png")));
    hb::gMst->EXEC("UPDATE M_SHOP SET PTAG_LOGO='shop_logo.png'");
    struct Case {
        const char *what;
        Value stored;  // Empty: no key
        bool checked;
    } cases[] = {
        {"no key", Value(), false}, {"Null", Value::null(), false}, {"no number", Value("abc"), false},
        {"0", Value("0"), false},   {"1", Value("1"), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        hb::gINI->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD='PRINT_PTAG_FRAME'");
        if (!c.stored.isEmpty())
            hb::gINI->EXEC("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES ('PRINT_PTAG_FRAME', ?)", {c.stored});
        auto &f = open();
        EXPECT_EQ(f.Check1->isChecked(), c.checked);
        EXPECT_EQ(f.frameOn(), c.checked);
        EXPECT_EQ(f.logo().size(), QSize(300, 40));  // the logo loads whatever the option holds
        EXPECT_EQ(f.windowTitle(), "値札印刷");
        EXPECT_EQ(f.txtCOND[0]->text(), QDate::currentDate().toString("yyyy/MM/dd"));
        EXPECT_EQ(f.txtCOND[1]->text(), "0");
        EXPECT_TRUE(ui->prompts.empty());
        f.Unload();
        settle();
    }
}

TEST_P(PriceTagPrint, AMissingLogoFileIsReportedTheBuiltInLogoStaysAndTheDayIsListed)
{
    hb::gMst->EXEC("UPDATE M_SHOP SET PTAG_LOGO='gone.png'");
    ship(1, 1, QDate::currentDate(), "大根", 100, 4);
    auto &f = open();
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_TRUE(ui->prompts[0].text.startsWith("ファイルが見つかりません："));
    EXPECT_TRUE(ui->prompts[0].text.endsWith("gone.png"));
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_EQ(f.logo().size(), QSize(1064, 151));
    EXPECT_EQ(lines(f), QStringList{"1|大根|100|4"});
    EXPECT_EQ(totals(f), "4 1");
}

TEST_P(PriceTagPrint, PrintPreviewsTheSheetsAndPagePrintWritesThePdf)
{
    for (long i = 1; i <= 3; ++i)
        ship(1, i, kDay, "大根", 100 + i, 10);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    ASSERT_EQ(totals(f), "30 2");
    bool shown = false;
    hbtest::onModal(ui.get(), "fdlPreview", [&](QDialog *d) {
        shown = true;
        auto *p = static_cast<hb::fdlPreview *>(d);
        EXPECT_EQ(hb::gRepId, 10);
        EXPECT_EQ(hb::gPageCount, 2);
        EXPECT_EQ(p->windowTitle(), "農産物値札");
        EXPECT_EQ(p->txtPAGES->text(), "2");
        EXPECT_EQ(hbtest::tagPositions(p->renderModel(), p->originX(), p->originY()).size(), 24u);
        EXPECT_EQ(p->parentWidget(), &f);
        hbtest::click(p->Command1[1]);  // ﾍﾟｰｼﾞ印刷
        hbtest::click(p->Command1[0]);
    });
    hbtest::click(f.Command1[1]);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(QFileInfo::exists(dir.path("pdf/農産物値札 1ﾍﾟｰｼﾞ.pdf")));
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_TRUE(ui->prompts[0].text.startsWith("PDFファイルに出力しました。"));
    EXPECT_TRUE(f.isVisible());

    // A day without shipments hands over no page.
    leave(f.txtCOND[0], "2024/06/04");
    shown = false;
    hbtest::onModal(ui.get(), "fdlPreview", [&](QDialog *) { shown = true; });
    hbtest::click(f.Command1[1]);
    EXPECT_TRUE(shown);
    EXPECT_EQ(hb::gPageCount, 0);
}

TEST_P(PriceTagPrint, CancelOrEscClosesBesideTheMenuAndEndsTheProgramWithoutIt)
{
    hb::Form menu(QStringLiteral("fmnMain"));
    menu.showModeless();
    settle();
    enum class Close { Click, Esc, EscPickerOpen };
    for (const Close how : {Close::Click, Close::Esc, Close::EscPickerOpen}) {
        auto &f = open();
        EXPECT_EQ(f.Command1[0]->text(), "ｷｬﾝｾﾙ");
        if (how == Close::Click) {
            hbtest::click(f.Command1[0]);
        } else if (how == Close::Esc) {
            f.picker->hide();
            hbtest::pressKey(Qt::Key_Escape, f.focusWidget() ? f.focusWidget() : &f);
        } else {
            // The picker that opened by itself takes the first Esc alone; the next one cancels.
            ASSERT_TRUE(f.picker->isShown());
            f.txtCOND[0]->setText(QStringLiteral("2024/06/03"));
            f.txtCOND[1]->setText(QStringLiteral("2"));
            f.Check1->setChecked(!f.Check1->isChecked());
            const bool frame = f.Check1->isChecked();
            QTest::keyClick(f.windowHandle(), Qt::Key_Escape);
            settle();
            EXPECT_FALSE(f.picker->isShown());
            ASSERT_TRUE(hb::IsFormLoaded("fdlPrintPriceTag") && f.isVisible());
            EXPECT_EQ(f.txtCOND[0]->text(), "2024/06/03");
            EXPECT_EQ(f.txtCOND[1]->text(), "2");
            EXPECT_EQ(f.Check1->isChecked(), frame);
            QTest::keyClick(f.windowHandle(), Qt::Key_Escape);
        }
        settle();
        EXPECT_FALSE(hb::IsFormLoaded("fdlPrintPriceTag")) << static_cast<int>(how);
    }
    EXPECT_TRUE(ui->endCodes.empty());
    menu.Unload();
    settle();
    auto &f = open();
    EXPECT_THROW(hbtest::click(f.Command1[0]), hb::ProgramEnded);
    EXPECT_EQ(ui->endCodes, std::vector<int>{0});
}

TEST_P(PriceTagPrint, AChangeOfSizeListsAnewFromTheBoxes)
{
    ship(1, 1, kDay, "大根", 100, 4);
    ship(1, 2, kDay.addDays(1), "かぶ", 100, 6);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    ASSERT_EQ(lines(f), QStringList{"1|大根|100|4"});
    const int designWidth = f.ListView1->columnWidth(1);
    const QRect logoDesign = f.imgLOGO_S->geometry();
    // Typed but not left: the resize lists from what the boxes hold.
    hbtest::focusByClick(f.txtCOND[0]);
    f.txtCOND[0]->setText("2024/06/04");
    f.txtCOND[1]->setText("1");
    f.showMaximized();
    settle();
    ASSERT_TRUE(f.isMaximized());
    EXPECT_EQ(lines(f), QStringList{"1|かぶ|100|6"});
    EXPECT_EQ(totals(f), "7 1");
    EXPECT_GT(f.ListView1->columnWidth(1), designWidth);
    // The pictures move with the window and keep their size.
    EXPECT_GT(f.imgLOGO_S->x(), logoDesign.x());
    EXPECT_EQ(f.imgLOGO_S->size(), logoDesign.size());
    EXPECT_EQ(f.txtCOND[0]->text(), "2024/06/04");
    f.showNormal();
    settle();
    EXPECT_EQ(f.ListView1->columnWidth(1), designWidth);
    EXPECT_EQ(f.imgLOGO_S->geometry(), logoDesign);
    EXPECT_EQ(lines(f), QStringList{"1|かぶ|100|6"});

    // WINDOW_STA opens it maximised, listing today.
    f.Unload();
    settle();
    hb::gINI->SaveCtrl("WINDOW_STA", Value(true), 1);
    ship(2, 1, QDate::currentDate(), "今日の大根", 100, 2);
    auto &g = open();
    EXPECT_TRUE(g.isMaximized());
    EXPECT_EQ(lines(g), QStringList{"1|今日の大根|100|2"});
}

TEST_P(PriceTagPrint, TheDateBoxDropsThePickerAndAPickedDayIsListed)
{
    ship(1, 1, kDay, "大根", 100, 4);
    auto &f = open();
    hbtest::focusByClick(f.txtCOND[0]);
    EXPECT_TRUE(f.picker->isShown());
    f.picker->DateClick(kDay);
    settle();
    EXPECT_EQ(f.txtCOND[0]->text(), "2024/06/03");
    EXPECT_FALSE(f.picker->isShown());
    EXPECT_EQ(lines(f), QStringList{"1|大根|100|4"});
    EXPECT_EQ(QApplication::focusWidget(), f.txtCOND[1]);
    hbtest::focusByClick(f.txtCOND[0]);
    EXPECT_TRUE(f.picker->isShown());
    hbtest::focusByClick(f.txtCOND[1]);
    EXPECT_FALSE(f.picker->isShown());
    // The typing help puts the slashes in.
    hbtest::focusByClick(f.txtCOND[0]);
    f.txtCOND[0]->clear();
    QTest::keyClicks(f.txtCOND[0], "20240603");
    EXPECT_EQ(f.txtCOND[0]->text(), "2024/06/03");
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_P(PriceTagPrint, PicturesAtTheDesignSizeMaximisedAndOfThePreview)
{
    if (GetParam() != hbtest::Backend::Sqlite)
        GTEST_SKIP() << "pictures are taken once";
    ship(1, 1, kDay, "ミニトマト（房どり）", 198, 12);
    ship(2, 2, kDay, "朝どれ大根", 150, 8);
    auto &f = open();
    leave(f.txtCOND[0], "2024/06/03");
    leave(f.txtCOND[1], "3");
    hbtest::focusByClick(f.txtCOND[0]);  // with the picker down
    QStringList shown;
    for (QLabel *l : f.findChildren<QLabel *>())
        if (l->isVisible())
            shown << l->text();
    for (const char *t : {"値札印刷", "出荷日", "スキップ", "枚数", "ﾍﾟｰｼﾞ数"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(t))) << t;
    EXPECT_FALSE(shown.contains("生産者"));
    EXPECT_TRUE(f.lblTitle->font().bold());
    EXPECT_FALSE(f.imgLOGO_S->isVisible());
    ASSERT_TRUE(hbtest::savePicture(&f, hbtest::picturePath("hb_pricetag_design.png")));
    hbtest::focusByClick(f.txtCOND[1]);  // the picker goes up
    f.showMaximized();
    settle();
    ASSERT_TRUE(hbtest::savePicture(&f, hbtest::picturePath("hb_pricetag_maximised.png")));
    EXPECT_EQ(lines(f).size(), 2);
    f.showNormal();
    settle();
    hbtest::click(f.Check1);  // tags with their outlines
    bool saved = false;
    hbtest::onModal(ui.get(), "fdlPreview", [&](QDialog *d) {
        saved = hbtest::savePicture(d, hbtest::picturePath("hb_pricetag_preview.png"));
    });
    hbtest::click(f.Command1[1]);
    EXPECT_TRUE(saved);
}

HB_INSTANTIATE_BOTH_BACKENDS(PriceTagPrint);

}  // namespace
