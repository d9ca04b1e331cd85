// Boxes whose text the window reads as a number, date, year, month, code or amount tell the input
// method it is off while they have the focus, so digits arrive as typed; free-text boxes leave it on.

#include "app/appwindows.h"
#include "app/fdlsetlocalctrl.h"
#include "bookkeeping/frmdiaryledgeinput.h"
#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "core/db.h"
#include "cultivation/frmchemiinput.h"
#include "cultivation/frmchemilist.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/frmplantlist.h"
#include "diary/frmdairyinput.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstprdedit.h"
#include "masters/fdlmstshopedit.h"
#include "printing/fdlexppricetag.h"
#include "printing/fdlpreview.h"
#include "printing/fdlprintaccrep.h"
#include "printing/fdlprintpricetag.h"
#include "printing/fdlprinttracerep.h"
#include "printing/fdlsetmgn.h"
#include "printing/fdlsetprintcopy.h"
#include "printing/fdluploadtracedata.h"
#include "printing/ptagsheet.h"
#include "shipments/frmshipinput.h"
#include "shipments/frmshiplist.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using hb::Value;
using hbtest::settle;

namespace {

struct ImeRow {
    const char *window;
    const char *box;
    bool on;  // what the focused box answers to ImEnabled
};

// Window by window; a box shown only in some state is checked in the state the opener reaches.
const ImeRow kRows[] = {
    {"frmDairyInput", "txtDATA_0", false}, {"frmDairyInput", "txtDATA_1", false},
    {"frmDairyInput", "txtDATA_4", false}, {"frmDairyInput", "txtDATA_2", true},
    {"frmDairyInput", "txtDATA_3", true},  {"frmDairyInput", "Combo1_0", true},
    {"frmDairyInput", "cmbDATA_3", true},
    {"frmPlantInput", "txtDATA_0", false},  {"frmPlantInput", "txtDATA_1", false},
    {"frmPlantInput", "txtDATA_4", false},  {"frmPlantInput", "txtDATA_7", false},
    {"frmPlantInput", "txtDATA_9", false},  {"frmPlantInput", "txtDATA_10", false},
    {"frmPlantInput", "txtDATA_11", false}, {"frmPlantInput", "txtDATA_12", false},
    {"frmPlantInput", "txtDATA_13", false}, {"frmPlantInput", "txtDATA_14", false},
    {"frmPlantInput", "txtDATA_2", true},   {"frmPlantInput", "cmbDATA_2", true},
    {"frmPlantList", "txtCOND_0", false}, {"frmPlantList", "cmbCOND_0", true},
    {"frmChemiInput", "txtDATA_0", false}, {"frmChemiInput", "txtDATA_4", false},
    {"frmChemiInput", "txtDATA_6", false}, {"frmChemiInput", "txtDATA_7", false},
    {"frmChemiInput", "txtDATA_1", true},  {"frmChemiInput", "cmbINFO", true},
    {"frmChemiList", "txtCOND_1", false}, {"frmChemiList", "txtCOND_2", false},
    {"frmChemiList", "txtCOND_3", false}, {"frmChemiList", "txtCOND_0", true},
    {"frmShipInput", "txtDATA_0", false}, {"frmShipInput", "txtDATA_2", false},
    {"frmShipInput", "txtDATA_4", false}, {"frmShipInput", "txtDATA_5", false},
    {"frmShipInput", "txtDATA_6", false}, {"frmShipInput", "txtDATA_7", false},
    {"frmShipInput", "txtDATA_8", false}, {"frmShipInput", "txtDATA_9", false},
    {"frmShipInput", "txtDATA_10", false}, {"frmShipInput", "txtDATA_1", true},
    {"frmShipInput", "txtDATA_3", true},  {"frmShipInput", "txtDATA_11", true},
    {"frmShipList", "txtCOND_0", false}, {"frmShipList", "txtCOND_1", false},
    {"frmShipList", "txtCOND_2", false},
    {"frmLedgeInput", "txtDATA_0", false}, {"frmLedgeInput", "txtDATA_4", false},
    {"frmLedgeInput", "txtDATA_1", true},  {"frmLedgeInput", "cmbDATA_1", true},
    {"frmLedgeList", "txtCOND_1", false}, {"frmLedgeList", "txtCOND_2", false},
    {"frmLedgeList", "txtCOND_0", true},
    {"frmDiaryLedgeInput", "txtDATA_5", false}, {"frmDiaryLedgeInput", "txtDATA_6", false},
    {"frmDiaryLedgeInput", "txtDATA_1", true},  {"frmDiaryLedgeInput", "cmbDATA_1", true},
    {"fdlMstShopEdit", "txtDATA_4", false},  {"fdlMstShopEdit", "txtDATA_5", false},
    {"fdlMstShopEdit", "txtDATA_6", false},  {"fdlMstShopEdit", "txtDATA_7", false},
    {"fdlMstShopEdit", "txtDATA_8", false},  {"fdlMstShopEdit", "txtDATA_9", false},
    {"fdlMstShopEdit", "txtDATA_10", false}, {"fdlMstShopEdit", "txtDATA_11", false},
    {"fdlMstShopEdit", "txtDATA_12", false}, {"fdlMstShopEdit", "txtDATA_13", false},
    {"fdlMstShopEdit", "txtDATA_14", false}, {"fdlMstShopEdit", "txtDATA_15", false},
    {"fdlMstShopEdit", "txtDATA_16", false}, {"fdlMstShopEdit", "txtDATA_22", false},
    {"fdlMstShopEdit", "txtDATA_1", true},   {"fdlMstShopEdit", "txtDATA_23", true},
    {"fdlMstFmrEdit", "txtDATA_3", false}, {"fdlMstFmrEdit", "txtDATA_4", false},
    {"fdlMstFmrEdit", "txtDATA_1", true},  {"fdlMstFmrEdit", "txtDATA_10", true},
    {"fdlMstPrdEdit", "txtDATA_1", true}, {"fdlMstPrdEdit", "txtCOND_0", true},
    {"fdlMstPrdEdit", "txtDATA_0", false},  // last: an empty ID is refused when left
    {"fdlSetLocalCtrl", "txtDATA_0", false}, {"fdlSetLocalCtrl", "txtDATA_1", false},
    {"fdlSetLocalCtrl", "txtDATA_2", true},
    {"fdlPreview", "txtPAGE", false},
    {"fdlSetMgn", "Text1_0", false}, {"fdlSetMgn", "Text1_1", false},
    {"fdlSetPrintCopy", "txtDATA_0", false}, {"fdlSetPrintCopy", "txtDATA_1", false},
    {"fdlSetPrintCopy", "txtDATA_2", false},
    {"fdlPrintPriceTag", "txtCOND_0", false}, {"fdlPrintPriceTag", "txtCOND_1", false},
    {"fdlExpPriceTag", "txtCOND_0", false}, {"fdlExpPriceTag", "txtCOND_1", false},
    {"fdlExpPriceTag", "txtCOND_2", false},
    {"fdlPrintAccRep", "txtCOND_0", false}, {"fdlPrintAccRep", "txtCOND_1", false},
    {"fdlPrintTraceRep", "txtCOND_0", false},
    {"fdlUploadTraceData", "txtCOND_0", false}, {"fdlUploadTraceData", "txtLOG", true},
};

class InputMethodBoxes : public hbtest::AppWindows {};

template <class W>
hb::Form &shown()
{
    hb::Form &f = hb::form<W>();
    f.showModeless();
    EXPECT_TRUE(hbtest::activate(&f)) << f.objectName().toStdString();
    settle();
    return f;
}

TEST_F(InputMethodBoxes, NumberDateAndCodeBoxesTurnTheInputMethodOff)
{
    hb::Form menu(QStringLiteral("fmnMain"));  // closing a dialog does not end the program
    menu.showModeless();
    // The diary's line boxes show with a pesticide line of a planting in progress; its voucher
    // book is the cash book.
    hb::gWorkDate = Value(QDate(2024, 5, 10));
    hb::gDiaryLedgeAcc = Value(hb::kAccCash);
    hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, START_DATE, PLANT_DATE) "
                  "VALUES (1, 1, 'トマト', #2024-04-01#, #2024-04-01#)");
    hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, LEDGE_ID) "
                  "VALUES (1, #2024-05-10#, 1, 1, ?, 0)", {Value(hb::kWorkChemi)});
    const std::map<QString, std::function<hb::Form &()>> open = {
        {"frmDairyInput", [] () -> hb::Form & {
             hb::Form &f = shown<hb::frmDairyInput>();
             f.findChild<QListWidget *>("List1_0")->setCurrentRow(0);
             f.findChild<QListWidget *>("List1_1")->setCurrentRow(0);
             settle();
             return f;
         }},
        {"frmPlantInput", shown<hb::frmPlantInput>},   {"frmPlantList", shown<hb::frmPlantList>},
        {"frmChemiInput", shown<hb::frmChemiInput>},   {"frmChemiList", shown<hb::frmChemiList>},
        {"frmShipInput", shown<hb::frmShipInput>},     {"frmShipList", shown<hb::frmShipList>},
        {"frmLedgeInput", shown<hb::frmLedgeInput>},   {"frmLedgeList", shown<hb::frmLedgeList>},
        {"frmDiaryLedgeInput", shown<hb::frmDiaryLedgeInput>},
        {"fdlMstShopEdit", shown<hb::fdlMstShopEdit>}, {"fdlMstFmrEdit", shown<hb::fdlMstFmrEdit>},
        {"fdlMstPrdEdit", shown<hb::fdlMstPrdEdit>},   {"fdlSetLocalCtrl", shown<hb::fdlSetLocalCtrl>},
        {"fdlPreview", [] () -> hb::Form & {
             hb::gRepId = hb::kPtagReport;
             hb::gPageCount = 2;
             return shown<hb::fdlPreview>();
         }},
        {"fdlSetMgn", shown<hb::fdlSetMgn>},
        {"fdlSetPrintCopy", [] () -> hb::Form & {
             hb::Form &f = shown<hb::fdlSetPrintCopy>();
             hbtest::click(f.findChild<QWidget *>("Option1_1"));  // ﾍﾟｰｼﾞ選択 opens the range
             return f;
         }},
        {"fdlPrintPriceTag", shown<hb::fdlPrintPriceTag>}, {"fdlExpPriceTag", shown<hb::fdlExpPriceTag>},
        {"fdlPrintAccRep", shown<hb::fdlPrintAccRep>},     {"fdlPrintTraceRep", shown<hb::fdlPrintTraceRep>},
        {"fdlUploadTraceData", shown<hb::fdlUploadTraceData>},
    };
    hb::Form *f = nullptr;
    for (const ImeRow &row : kRows) {
        const std::string where = std::string(row.window) + " " + row.box;
        if (!f || f->objectName() != QLatin1String(row.window)) {
            if (f)
                f->Unload();
            settle();
            f = &open.at(QString::fromLatin1(row.window))();
        }
        auto *box = f->findChild<QWidget *>(QString::fromLatin1(row.box));
        ASSERT_NE(box, nullptr) << where;
        if (auto *combo = qobject_cast<QComboBox *>(box)) {
            hbtest::focusCombo(combo);
        } else {
            box->setFocus(Qt::OtherFocusReason);
            settle();
        }
        ASSERT_EQ(QApplication::focusWidget(), box) << where;
        if (auto *e = qobject_cast<QLineEdit *>(box)) {
            ASSERT_FALSE(e->isReadOnly()) << where;  // as the grower types into it
        }
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QCoreApplication::sendEvent(qApp->focusObject(), &query);
        EXPECT_EQ(query.value(Qt::ImEnabled).toBool(), row.on) << where;
    }
    f->Unload();
    settle();
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
    menu.Unload();
}

}  // namespace
