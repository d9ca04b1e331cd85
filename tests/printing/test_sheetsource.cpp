// What the sheet draws with while the price-tag print dialog is not there: the stored frame
// option and the shop's logo file (master database of either kind), else the built-in logo.

#include "common/globaldbs.h"
#include "core/globals.h"
#include "printing/sheetsource.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using hb::Value;

namespace {

class StoredSource : public hbtest::GlobalDbs {
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
        hb::storedSheetSource().reload();
        hb::gShopID = Value();
        GlobalDbs::TearDown();
    }
    static void shopLogo(const Value &name)
    {
        hb::gMst->EXEC("DELETE FROM M_SHOP");
        hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, PTAG_LOGO) VALUES (1, '直売所', ?)", {name});
    }
};

TEST_P(StoredSource, TheFrameOptionIsOnOnlyForANumberOtherThanZero)
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
        hb::storedSheetSource().reload();
        EXPECT_EQ(hb::ptagSheetSource().frameOn(), c.on);
        // Read once, as the dialog reads it when it loads.
        hb::gINI->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD='PRINT_PTAG_FRAME'");
        EXPECT_EQ(hb::ptagSheetSource().frameOn(), c.on);
    }
}

TEST_P(StoredSource, TheShopsLogoFileElseTheBuiltInLogo)
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
    };
    const Case cases[] = {
        {"the shop's file", Value("ロゴ's.png"), QSize(200, 30)},
        {"no name", Value(""), QSize(1064, 151)},
        {"Null", Value::null(), QSize(1064, 151)},
        {"a missing file", Value("gone.png"), QSize(1064, 151)},
        {"no picture", Value("readme.png"), QSize(1064, 151)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shopLogo(c.name);
        hb::storedSheetSource().reload();
        EXPECT_EQ(hb::ptagSheetSource().logo().size(), c.size);
    }
    hb::gMst->EXEC("DELETE FROM M_SHOP");
    hb::storedSheetSource().reload();
    EXPECT_EQ(hb::ptagSheetSource().logo().size(), QSize(1064, 151));
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

HB_INSTANTIATE_BOTH_BACKENDS(StoredSource);

}  // namespace
