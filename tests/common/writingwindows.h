#pragma once
// The windows that write what they load and the lists that open an input, each opened as the
// program opens it, with rows for each to load; the stored state that none of them may change
// when its load failed. Header only: the test programs that include it link the windows.

#include "app/fdlsetconctrl.h"
#include "app/fdlsetlocalctrl.h"
#include "bookkeeping/frmdiaryledgeinput.h"
#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "common/harness.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "cultivation/frmchemiinput.h"
#include "cultivation/frmchemilist.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/frmplantlist.h"
#include "diary/frmdairyinput.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstprdedit.h"
#include "masters/fdlmstshopedit.h"
#include "printing/fdlexppricetag.h"
#include "printing/fdlprintpricetag.h"
#include "printing/fdlsetmgn.h"
#include "printing/fdlsetprintcopy.h"
#include "shipments/frmshipinput.h"
#include "shipments/frmshiplist.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
#include <vector>

namespace hbtest {

// Rows of grower 1 and shop 1 (which exist already) for every window to load, dated 2026-12-08,
// last written by `computer`; the globals the windows read.
inline void putWindowRows(const QString &computer)
{
    for (const char *row :
         {"INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM, CHK_FLG) VALUES (1, 101, 'トマト', -1)",
          "INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM, CHK_FLG) VALUES (1, 102, 'なす', -1)",
          "INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY, PLANT_DATE, START_DATE, PRD_ID, PRD_NM, CROP_NM1, "
          "LAST_TM) VALUES (1, 1, '冬トマト', 2026, #2026-09-01#, #2026-09-01#, 101, 'トマト', 'トマト', ?)",
          "INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, PUR_QTY, USED_QTY, REST_QTY, LEDGE_ID, CHK_FLG, "
          "LAST_TM) VALUES (1, 1, 'A剤', #2026-12-01#, 10, 0, 10, 0, -1, ?)",
          "INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID, SHOP_ID, PRD_ID, PRD_NM, PLAS, ACC_ID, SHOP_PRC, "
          "SHIP_QTY, RTN_QTY, SALES_QTY, SALES_AMT, FEE_RT, FEE_AMT, LEDGE_ID_S, LEDGE_ID_F, LAST_TM) VALUES "
          "(1, 1, #2026-12-08#, 1, 1, 101, 'トマト', -1, 1040, 150, 10, 0, 10, 1500, 10, 150, 0, 0, ?)",
          "INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, CTR_NM, AMT, LAST_TM) "
          "VALUES (1, 1, #2026-12-08#, 1000, 4020, '直売所', 500, ?)",
          "INSERT INTO D_DIARY (FMR_ID, WORK_DATE, ONE_MSG, LAST_TM) VALUES (1, #2026-12-08#, '晴', ?)",
          "INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM) "
          "VALUES (1, #2026-12-08#, 1, 1, 0, '収穫')"}) {
        const QString sql = QString::fromUtf8(row);
        hb::gDb->EXEC(sql, sql.contains('?') ? std::vector<hb::Value>{hb::Value(computer)} : std::vector<hb::Value>{});
    }
    hb::gWorkDate = hb::Value(QDate(2026, 12, 8));
    hb::gCalMonth = QDate(2026, 12, 1);
    hb::gRepId = 1;
    hb::gPageCount = 1;
}

// Every row of the settings, work, data and master databases (or of those named), read outside
// the data layer: "TABLE: cells", sorted.
inline QStringList storedRows(std::vector<hb::DbObject *> dbs = {})
{
    if (dbs.empty())
        dbs = {hb::gINI.get(), hb::gWork.get(), hb::gDb.get(), hb::gMst.get()};
    QStringList out;
    for (hb::DbObject *db : dbs) {
        for (const QString &t : db->connection().tables()) {
            QSqlQuery q("SELECT * FROM " + t, db->connection());
            while (q.next()) {
                QStringList cells{t + ":"};
                for (int i = 0; i < q.record().count(); ++i)
                    cells << q.value(i).toString();
                out << cells.join('|');
            }
        }
    }
    out.sort();
    return out;
}

// The rows of `now` that `before` has not ("+ ") and the other way round ("- "); "" when none.
inline QString changedRows(const QStringList &before, const QStringList &now)
{
    QStringList changed;
    for (const QString &row : now)
        changed << (before.contains(row) ? QString() : "+ " + row);
    for (const QString &row : before)
        changed << (now.contains(row) ? QString() : "- " + row);
    changed.removeAll(QString());
    return changed.join('\n');
}

// Clicks every button of a window that may write (not the ones that close it), as long as the
// window is open to take the click.
inline void pressWritingButtons(QWidget *window)
{
    const QStringList closing{"閉じる", "ｷｬﾝｾﾙ", "キャンセル", "終了", "中止"};
    for (QPushButton *b : window->findChildren<QPushButton *>()) {
        if (window->isVisible() && b->isVisible() && b->isEnabled() && !closing.contains(b->text()))
            click(b);
    }
}

struct WritingWindow {
    using Load = std::function<void(bool)>;
    using Drive = std::function<void(QWidget *)>;
    const char *name;
    // Opens the window: load(true) before its load, load(false) once it is loaded, then `drive`
    // acts on it, then closes it (an input: opened by 修正 for the first row of its list). A
    // window of its own is driven first as shown and not yet activated (behind another window,
    // or where the window manager withholds the focus), then again once activated.
    std::function<void(const Load &, const Drive &)> open;
};

// Holds back a window's activation for its scope, then delivers it, as a window manager that
// shows a window behind another does until the window is clicked.
class ActivationHeld : public QObject {
public:
    explicit ActivationHeld(QWidget *window) : window_(window) { window->installEventFilter(this); }
    ~ActivationHeld() override
    {
        window_->removeEventFilter(this);
        if (held_) {
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(window_, &activate);
        }
    }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::WindowActivate)
            return false;
        held_ = true;
        return true;
    }

private:
    QWidget *window_;
    bool held_ = false;
};

inline std::vector<WritingWindow> writingWindows(ScriptedUi &ui)
{
    using Load = WritingWindow::Load;
    using Drive = WritingWindow::Drive;
    const auto shown = [](auto form) {
        return [form](const Load &load, const Drive &drive) {
            load(true);
            hb::Form &f = form();
            {
                const ActivationHeld behind(&f);
                f.showModeless();
                settle();
                drive(&f);
            }
            if (f.isLoaded())
                activate(&f);
            load(false);
            drive(&f);
            f.Unload();
        };
    };
    const auto fromList = [&ui](const char *name, auto list) {
        return [&ui, name, list](const Load &load, const Drive &drive) {
            hb::ListForm &l = list();
            l.showModeless();
            activate(&l);
            l.selectRow(0);
            onModal(ui, name, [&](QDialog *d) {
                settle();
                load(false);
                drive(d);
            });
            load(true);
            click(l.cmdMENU[hb::ListForm::kMenuModify]);
            l.Unload();
        };
    };
    using namespace hb;
    return {
        {"商品マスタ", shown(form<fdlMstPrdEdit>)},         {"生産者マスタ", shown(form<fdlMstFmrEdit>)},
        {"販売店マスタ", shown(form<fdlMstShopEdit>)},      {"日誌", shown(form<frmDairyInput>)},
        {"日誌の元帳入力", shown(form<frmDiaryLedgeInput>)}, {"作付一覧", shown(form<frmPlantList>)},
        {"作付入力", fromList("frmPlantInput", form<frmPlantList>)},
        {"農薬購入一覧", shown(form<frmChemiList>)},
        {"農薬購入入力", fromList("frmChemiInput", form<frmChemiList>)},
        {"出荷一覧", shown(form<frmShipList>)},
        {"出荷入力", fromList("frmShipInput", form<frmShipList>)},
        {"元帳一覧", shown(form<frmLedgeList>)},
        {"元帳入力", fromList("frmLedgeInput", form<frmLedgeList>)},
        {"余白・給紙設定", shown(form<fdlSetMgn>)},          {"印刷部数", shown(form<fdlSetPrintCopy>)},
        {"値札印刷", shown(form<fdlPrintPriceTag>)},         {"値札データ書出", shown(form<fdlExpPriceTag>)},
        {"接続設定", shown(form<fdlSetConCtrl>)},            {"基本設定", shown(form<fdlSetLocalCtrl>)},
        {"共通設定", shown(form<fdlSetMstCtrl>)},
    };
}

}  // namespace hbtest
