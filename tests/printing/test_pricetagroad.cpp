// The grower's daily road through the windows, on both kinds of database: a shipment entered in
// the shipment input, its price tags listed in 値札印刷 from the main menu, previewed, and the page
// printed where no printer is installed; every symbol of the PDF reads back as the shipment's
// bar-code text and trace address.

#include "app/fmnmain.h"
#include "printing/fdlprintpricetag.h"
#include "printing/printfixture.h"
#include "shipments/frmshipinput.h"
#include "shipments/frmshiplist.h"
#include "shipments/shipcalc.h"
#include "shipments/test_shipfixture.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using hb::Value;
using hbtest::settle;

namespace {

class PriceTagRoad : public shiptest::ShipDb {
protected:
    void SetUp() override
    {
        ShipDb::SetUp();
        if (IsSkipped())
            return;
        printLog = hbtest::useFakePrinters();  // no printer: each sheet becomes a PDF file
        hb::gUseType = hb::kUseMulti;
        hb::gPtagData.assign(1, hb::PtagDataRec());
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        hbtest::resetPrinting();
        ShipDb::TearDown();
    }
    static void type(QLineEdit *box, const QString &text)
    {
        hbtest::focusByClick(box);
        box->selectAll();
        QTest::keyClicks(box, text);
        settle();
    }

    std::shared_ptr<hbtest::FakePrintLog> printLog;
};

TEST_P(PriceTagRoad, AShipmentEnteredTodayIsPrintedAsTenReadableTags)
{
    const int year = QDate::currentDate().year();
    putPlant(1, 1, "春トマト", year, Value::null(), Value(101), Value("トマト"));
    // The shop's bar code: product in digits 1-4, price in 5-9, grower in 10-12; its trace site.
    hb::gMst->EXEC("UPDATE M_SHOP SET BCD_PRD_ID_STA=1, BCD_PRD_ID_LEN=4, BCD_AMT_01_STA=5, BCD_AMT_01_LEN=5, "
                   "BCD_FMR_ID_STA=10, BCD_FMR_ID_LEN=3, WWW_URL='trace.example.jp', UPLOAD_FILE_TYPE=1 "
                   "WHERE SHOP_ID=1");

    // 出荷入力: ten labels of tomatoes at 150 yen, today.
    auto &list = hb::form<hb::frmShipList>();
    list.showModeless();
    hbtest::activate(&list);
    settle();
    bool entered = false;
    hbtest::onModal(ui.get(), "frmShipInput", [&](QDialog *d) {
        auto &in = *static_cast<hb::frmShipInput *>(d);
        settle();
        hbtest::focusByClick(in.txtDATA[hb::kBoxShopPrc]);  // the day's picker goes up
        hbtest::focusByClick(in.List1);
        in.List1->setCurrentRow(0);
        settle();
        type(in.txtDATA[hb::kBoxShopPrc], "150");
        type(in.txtDATA[hb::kBoxShipQty], "10");
        hbtest::pressKey(Qt::Key_Tab);
        entered = in.txtDATA[hb::kBoxPrdNm]->text() == "トマト";
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    hbtest::click(list.cmdMENU[1]);
    ASSERT_TRUE(entered);
    ASSERT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1 AND SHIP_QTY=10 AND SHOP_PRC=150 AND PRD_ID=101"), 1);
    list.Unload();
    settle();

    // The main menu's 値札印刷 lists today's shipment; 印刷 opens the preview; ﾍﾟｰｼﾞ印刷 prints.
    auto &menu = hb::form<hb::fmnMain>();
    menu.showModeless();
    hbtest::activate(&menu);
    bool listed = false;
    bool previewed = false;
    hbtest::onModal(ui.get(), "fdlPreview", [&](QDialog *d) {
        auto *p = static_cast<hb::fdlPreview *>(d);
        previewed = p->txtPAGES->text() == "1" && p->renderModel().tags.size() == 10u;
        hbtest::click(p->Command1[1]);
        hbtest::click(p->Command1[0]);
    });
    hbtest::onModal(ui.get(), "fdlPrintPriceTag", [&](QDialog *d) {
        auto &f = *static_cast<hb::fdlPrintPriceTag *>(d);
        listed = f.ListView1->topLevelItemCount() == 1 && f.ListView1->topLevelItem(0)->text(3) == "10"
                 && f.lblSUM[1]->text() == "10" && f.lblSUM[0]->text() == "1";
        hbtest::click(f.Command1[1]);
        hbtest::click(f.Command1[0]);
    });
    hbtest::click(menu.menuButton(7));
    EXPECT_TRUE(listed);
    EXPECT_TRUE(previewed);
    EXPECT_EQ(hb::gRepId, 10);
    EXPECT_FALSE(hb::IsFormLoaded("fdlPrintPriceTag"));
    ASSERT_EQ(ui->promptTexts().filter("PDFファイルに出力しました。").size(), 1);

    const QString pdf = dir.path("pdf/農産物値札 1ﾍﾟｰｼﾞ.pdf");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    REQUIRE_READER();
    if (!hbtest::haveTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const QImage page = hbtest::pdfPage(pdf, 600);
    ASSERT_FALSE(page.isNull());
    // Each tag on its own picture: the reader reports a bar code repeated on one picture once.
    std::vector<QImage> tags;
    const double scale = 600.0 / 1440.0;  // the sheet stands at the paper's corner: no margins
    for (int i = 0; i < 10; ++i) {
        const QRectF tag(i / 8 * hb::kTagPitchX, i % 8 * hb::kTagPitchY, hb::kTagPitchX, hb::kTagPitchY);
        tags.push_back(page.copy(QRectF(tag.topLeft() * scale, tag.size() * scale).toRect()));
    }
    const auto found = hbtest::readSymbols(tags);
    ASSERT_EQ(found.size(), 10u);
    const QStringList expected{"EAN-13:" + hb::GetCheckDigit("010100150001"),
                               "QR-Code:http://trace.example.jp/cropsight/1/1/"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(found[static_cast<std::size_t>(i)], expected) << "tag " << i;
}

HB_INSTANTIATE_BOTH_BACKENDS(PriceTagRoad);

}  // namespace
