// What the sheet draws with when the price-tag print dialog is not loaded: the first reference
// loads the dialog without showing it, which reads the stored frame option and the shop's logo
// file (master database of either kind), else keeps the built-in logo; it lists nothing.

#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/forms.h"
#include "core/globals.h"
#include "printing/fdlprintpricetag.h"
#include "printing/ptag.h"
#include "printing/sheetsource.h"

#include <QFile>
#include <QImage>
#include <QTreeWidget>
#include <gtest/gtest.h>

using hb::Value;

namespace {

class DialogAsSheetSource : public hbtest::GlobalDbs {
protected:
    void SetUp() override
    {
        GlobalDbs::SetUp();
        if (IsSkipped())
            return;
        openMaster();
        hb::gShopID = Value(1);
        hb::setPtagSheetSource(nullptr);
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hb::gShopID = Value();
        GlobalDbs::TearDown();
    }
    // The next reference loads the dialog anew.
    static void unloadDialog()
    {
        if (hb::IsFormLoaded("fdlPrintPriceTag"))
            hb::form<hb::fdlPrintPriceTag>().Unload();
        hbtest::settle();
    }
    static void shopLogo(const Value &name)
    {
        hb::gMst->EXEC("DELETE FROM M_SHOP");
        hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, PTAG_LOGO) VALUES (1, '直売所', ?)", {name});
    }
};

TEST_P(DialogAsSheetSource, TheFrameOptionIsOnOnlyForANumberOtherThanZero)
{
    struct Case {
        const char *what;
        Value stored;  // Empty: no key
        bool on;
    };
    const Case cases[] = {
        {"no key", Value(), false}, {"1", Value("1"), true},    {"0", Value("0"), false},
        {"Null", Value::null(), false}, {"no number", Value("abc"), false}, {"-1", Value("-1"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        hb::gINI->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD='PRINT_PTAG_FRAME'");
        if (!c.stored.isEmpty())
            hb::gINI->EXEC("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES ('PRINT_PTAG_FRAME', ?)", {c.stored});
        unloadDialog();
        EXPECT_EQ(hb::ptagSheetSource().frameOn(), c.on);
        EXPECT_TRUE(hb::IsFormLoaded("fdlPrintPriceTag"));
        EXPECT_FALSE(hb::form<hb::fdlPrintPriceTag>().isVisible());
        // Read once, as the dialog reads it when it loads.
        hb::gINI->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD='PRINT_PTAG_FRAME'");
        EXPECT_EQ(hb::ptagSheetSource().frameOn(), c.on);
    }
}

TEST_P(DialogAsSheetSource, TheShopsLogoFileElseTheBuiltInLogo)
{
    QImage shop(200, 30, QImage::Format_RGB32);
    shop.fill(Qt::red);
    ASSERT_TRUE(shop.save(dir.path("images/ロゴ's.png")));
    {
        QFile notAPicture(dir.path("images/readme.png"));
        ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
        notAPicture.write("text");
    }
    struct Case {
        const char *what;
        Value name;
        QSize size;
        const char *message;  // the start of the exclamation box's text; "" for none
    };
    const Case cases[] = {
        {"the shop's file", Value("ロゴ's.png"), QSize(200, 30), ""},
        {"no name", Value(""), QSize(1064, 151), ""},
        {"Null", Value::null(), QSize(1064, 151), ""},
        {"a missing file", Value("gone.png"), QSize(1064, 151), "ファイルが見つかりません："},
        {"no picture", Value("readme.png"), QSize(1064, 151), "ピクチャが不正です："},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shopLogo(c.name);
        unloadDialog();
        ui->prompts.clear();
        EXPECT_EQ(hb::ptagSheetSource().logo().size(), c.size);
        if (*c.message) {
            ASSERT_EQ(ui->prompts.size(), 1u);
            EXPECT_TRUE(ui->prompts[0].text.startsWith(QString::fromUtf8(c.message))) << ui->prompts[0].text.toStdString();
            EXPECT_TRUE(ui->prompts[0].text.endsWith(c.name.toString()));
            EXPECT_EQ(ui->prompts[0].style, 48);
            EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        } else {
            EXPECT_TRUE(ui->prompts.empty());
        }
    }
    hb::gMst->EXEC("DELETE FROM M_SHOP");
    unloadDialog();
    EXPECT_EQ(hb::ptagSheetSource().logo().size(), QSize(1064, 151));
}

// Loaded for the sheet, the dialog lists nothing: the price-tag rows and its list stay as they
// were, though today has a shipment.
TEST_P(DialogAsSheetSource, TheDialogLoadedForTheSheetListsNothing)
{
    hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, SHOP_ID, PRD_NM, SHIP_QTY) VALUES (1, 1, ?, 1, 'トマト', 5)",
                  {Value(QDate::currentDate())});
    hb::gPtagData.assign(1, hb::PtagDataRec());
    hb::gPtagData[0].SKIP_CNT = 7;
    EXPECT_EQ(hb::ptagSheetSource().plasticMark().size(), QSize(94, 80));
    auto &f = hb::form<hb::fdlPrintPriceTag>();
    EXPECT_TRUE(f.isLoaded());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(hb::gPtagData[0].SKIP_CNT, 7);
    EXPECT_EQ(hb::gPtagData[0].PTAG.size(), 1u);
    // An installed source stands in for the dialog.
    struct Other : hb::PtagSheetSource {
        hb::QrScratch scratch;
        bool frameOn() override { return true; }
        QImage logo() override { return QImage(1, 1, QImage::Format_RGB32); }
        QImage plasticMark() override { return QImage(); }
        hb::QrScratch &qrScratch() override { return scratch; }
    } other;
    hb::setPtagSheetSource(&other);
    EXPECT_EQ(&hb::ptagSheetSource(), &other);
    hb::setPtagSheetSource(nullptr);
    EXPECT_EQ(&hb::ptagSheetSource(), static_cast<hb::PtagSheetSource *>(&f));
    hb::gPtagData.assign(1, hb::PtagDataRec());
}

TEST(BuiltInPictures, LogoAndPlasticMarkHaveTheirSizes)
{
    const QImage logo = hb::defaultPtagLogo();
    EXPECT_EQ(logo.size(), QSize(1064, 151));
    EXPECT_EQ(logo.depth(), 1);
    const QImage mark = hb::plasticMarkPicture();
    EXPECT_EQ(mark.size(), QSize(94, 80));
    EXPECT_EQ(mark.depth(), 24);
    // Both carry a drawing, not a blank.
    for (const QImage &img : {logo.convertToFormat(QImage::Format_RGB32), mark.convertToFormat(QImage::Format_RGB32)}) {
        int dark = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                dark += qGray(img.pixel(x, y)) < 128;
        EXPECT_GT(dark, img.width() * img.height() / 50);
    }
}

HB_INSTANTIATE_BOTH_BACKENDS(DialogAsSheetSource);

}  // namespace
