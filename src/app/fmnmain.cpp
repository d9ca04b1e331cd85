#include "app/fmnmain.h"

#include "app/fdlsetconctrl.h"
#include "app/fdlsetlocalctrl.h"
#include "core/controls.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/picklist.h"
#include "core/startup.h"
#include "diary/frmdairycal.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstprdedit.h"
#include "masters/fdlmstshopedit.h"
#include "printing/fdlexppricetag.h"
#include "printing/fdlprintaccrep.h"
#include "printing/fdlprintpricetag.h"
#include "printing/fdlprinttracerep.h"
#include "printing/fdluploadtracedata.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace hb {

fmnMain::fmnMain() : Form(QStringLiteral("fmnMain"))
{
    setWindowTitle(QStringLiteral("メインメニュー"));
    setDesignSize(12400, 9200);

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("処理メニュー"), 24, 16, 300, 34);
    QFont title = lblTITLE->font();
    title.setPointSize(16);
    title.setBold(true);
    lblTITLE->setFont(title);
    lblCAP_0 = makeCaptioned<QLabel>(this, QStringLiteral("lblCAP_0"), QStringLiteral("生産者"), 420, 24, 60, 24);
    cmbDATA_0 = makeControl<QComboBox>(this, QStringLiteral("cmbDATA_0"), 484, 22, 300, 26);
    cmbDATA_0->setEditable(false);

    struct FrameDef {
        const char *name;
        const char *caption;
        int x, y;
        std::initializer_list<std::pair<int, const char *>> buttons;
    };
    const FrameDef frames[] = {
        {"fraCal", "日誌入力", 24, 70, {{kMenuCalendar, "ｶﾚﾝﾀﾞｰ"}}},
        {"fraTrace", "トレーサビリティ", 24, 230, {{kMenuUpload, "ﾃﾞｰﾀｱｯﾌﾟﾛｰﾄﾞ"}, {kMenuTraceReport, "帳票印刷"}}},
        {"fraShip", "出荷関連", 286, 230, {{kMenuPriceTag, "値札印刷"}, {kMenuExport, "ﾃﾞｰﾀ書出"}}},
        {"fraAcc", "会計帳票", 548, 230, {{kMenuAccReport, "試算表"}}},
        {"fraSetting", "環境設定", 24, 390, {{kMenuConnection, "接続設定"}, {kMenuLocal, "基本設定"}}},
        {"fraMst", "マスタメンテナンス", 286, 390, {{kMenuShop, "販売店"}, {kMenuGrower, "生産者"}, {kMenuProduct, "商品"}}},
    };
    for (const FrameDef &f : frames) {
        auto *frame = makeCaptioned<QGroupBox>(this, QString::fromUtf8(f.name), QString::fromUtf8(f.caption), f.x, f.y,
                                               f.buttons.size() > 2 ? 500 : 246, 140);
        if (QString::fromUtf8(f.name) == QLatin1String("fraCal"))
            fraCal = frame;
        int x = 18;
        for (const auto &[index, caption] : f.buttons) {
            auto *b = makeCaptioned<QPushButton>(frame, QStringLiteral("cmdMENU_%1").arg(index),
                                                 QString::fromUtf8(caption), x, 40, 150, 72);
            if (f.buttons.size() > 1 && f.buttons.size() < 3)
                b->setGeometry(x, 40, 100, 72);
            x += f.buttons.size() == 2 ? 114 : 160;
            cmdMENU.insert(index, b);
            onClick(b, [this, index = index] { menuClick(index); });
        }
    }
    auto *close = makeCaptioned<QPushButton>(this, QStringLiteral("cmdMENU_0"), QStringLiteral("終了"), 660, 530, 130, 40);
    cmdMENU.insert(kMenuClose, close);
    onClick(close, [this] { menuClick(kMenuClose); });
}

void fmnMain::onLoad()
{
    Form::onLoad();
    switch (gUseType) {
    case kUseSingle:
        fraCal->hide();
        lblCAP_0->hide();
        cmbDATA_0->hide();
        cmdMENU.value(kMenuClose)->setText(QStringLiteral("閉じる"));
        break;
    case kUseMulti:
        fraCal->show();
        lblCAP_0->show();
        cmbDATA_0->show();
        SetCmb(0);
        cmdMENU.value(kMenuClose)->setText(QStringLiteral("終了"));
        break;
    default:
        EndApp();
    }
}

void fmnMain::onActivate()
{
    Form::onActivate();
    for (int i = 0; i < cmbDATA_0->count(); ++i) {
        if (Value(cmbDATA_0->itemData(i).toLongLong()) == NullToVal(gFmrID, Value(0))) {
            cmbDATA_0->setCurrentIndex(i);
            break;
        }
    }
}

void fmnMain::SetCmb(int index)
{
    if (index != 0)
        return;
    fillPickList(cmbDATA_0, masterDb(), QStringLiteral("SELECT  M_FMR.FMR_ID,  M_FMR.FMR_NM  FROM M_FMR  WHERE CHK_FLG<>0 ORDER BY FMR_ID"));
}

bool fmnMain::validate(QWidget *control)
{
    // Leaving the selector with no entry chosen keeps the current grower.
    if (control == cmbDATA_0 && cmbDATA_0->currentIndex() >= 0)
        gFmrID = Value(static_cast<long long>(cmbDATA_0->currentData().toLongLong()));
    return true;
}

Trap fmnMain::trapFor(Event event, QWidget *) const
{
    return plainFor(event, {Event::Resize});
}

void fmnMain::menuClick(int index)
{
    switch (index) {
    case kMenuClose:
        Unload();
        if (gUseType == kUseMulti)
            EndApp();
        break;
    case kMenuConnection:
        form<fdlSetConCtrl>().showModal(this);
        break;
    case kMenuLocal:
        form<fdlSetLocalCtrl>().showModal(this);
        break;
    case kMenuGrower:
        form<fdlMstFmrEdit>().showModal(this);
        break;
    case kMenuProduct:
        form<fdlMstPrdEdit>().showModal(this);
        break;
    case kMenuAccReport:
        form<fdlPrintAccRep>().showModal(this);
        break;
    case kMenuPriceTag:
        form<fdlPrintPriceTag>().showModal(this);
        break;
    case kMenuExport:
        form<fdlExpPriceTag>().showModal(this);
        break;
    case kMenuTraceReport:
        form<fdlPrintTraceRep>().showModal(this);
        break;
    case kMenuUpload:
        form<fdlUploadTraceData>().showModal(this);
        break;
    case kMenuShop:
        form<fdlMstShopEdit>().showModal(this);
        break;
    case kMenuCalendar:
        form<frmDairyCal>().showModal(this);
        break;
    default:
        // There is no button 6.
        break;
    }
}

}  // namespace hb
