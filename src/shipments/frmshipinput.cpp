#include "shipments/frmshipinput.h"

#include "bookkeeping/ledger.h"
#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/textlimit.h"
#include "core/picklist.h"
#include "cultivation/plantrec.h"
#include "shipments/shiplist.h"
#include "shipments/shipsave.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace hb {

namespace {

// Marks the entry of an ID in a pick list; none for a blank ID.
void showChoice(QComboBox *c, const Value &v)
{
    const QSignalBlocker quiet(c);
    c->setCurrentIndex(isBlank(v) ? -1 : c->findData(QVariant::fromValue<qlonglong>(v.toLong())));
}

constexpr int kPlantIdRole = Qt::UserRole;

QLabel *caption(QWidget *parent, int n, const QString &text, int x, int y, int w = 90)
{
    auto *l = makeCaptioned<QLabel>(parent, Form::ctlName(QStringLiteral("Label1"), n), text, x, y, w, 24);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel *shown(QWidget *parent, const QString &name, int x, int y, int w, Qt::Alignment align = Qt::AlignLeft)
{
    auto *l = makeControl<QLabel>(parent, name, x, y, w, 24);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QString dayText(const Value &v)
{
    const QDate d = valueDate(v);
    return d.isValid() ? d.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString plainText(const Value &v)
{
    if (isBlank(v))
        return QString();
    if (v.isDate())
        return dayText(v);
    return v.displayText();
}

}  // namespace

frmShipInput::frmShipInput() : InputForm(QStringLiteral("frmShipInput"), gShip, QStringLiteral("D_SHIP"))
{
    setWindowTitle(QStringLiteral("出荷入力"));
    setDesignSize(9600, 8400);
    setTabAfterLook(true);

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("出荷入力"), 20, 10, 200, 30);
    QFont f = lblTITLE->font();
    f.setPointSize(14);
    f.setBold(true);
    lblTITLE->setFont(f);

    const auto box = [this](int i, int x, int y, int w, Qt::Alignment align = Qt::AlignLeft) {
        auto *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtDATA"), i), x, y, w, 24);
        e->setAlignment(align);
        setSelectAllOnFocus(e);
        QObject::connect(e, &QLineEdit::textChanged, this, [this] { changed_ = true; });
        txtDATA[static_cast<std::size_t>(i)] = e;
        return e;
    };
    const auto combo = [this](int i, int x, int y, int w) {
        auto *c = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbDATA"), i), x, y, w, 24);
        setDropDownOnFocus(c);
        cmbDATA[static_cast<std::size_t>(i)] = c;
        return c;
    };
    const Qt::Alignment right = Qt::AlignRight;

    // Creation order is the Tab order.
    caption(this, 0, QStringLiteral("出荷ID"), 10, 50);
    lblDATA[kLblShipId] = shown(this, QStringLiteral("lblDATA_0"), 105, 50, 90, right);
    caption(this, 1, QStringLiteral("出荷日"), 10, 82);
    limitCharacters(box(kBoxShipDate, 105, 82, 110), 10);
    caption(this, 2, QStringLiteral("生産者"), 300, 50, 80);
    combo(kCmbGrower, 385, 50, 220);
    caption(this, 3, QStringLiteral("出荷先"), 300, 82, 80);
    combo(kCmbShop, 385, 82, 220);

    caption(this, 4, QStringLiteral("作付"), 10, 116);
    List1 = makeControl<QListWidget>(this, QStringLiteral("List1"), 105, 116, 190, 116);
    caption(this, 5, QStringLiteral("作物"), 300, 116, 80);
    lblDATA[kLblCrop1] = shown(this, QStringLiteral("lblDATA_1"), 385, 116, 108);
    lblDATA[kLblCrop2] = shown(this, QStringLiteral("lblDATA_2"), 497, 116, 108);
    caption(this, 6, QStringLiteral("作付日"), 300, 146, 80);
    lblDATA[kLblPlantDate] = shown(this, QStringLiteral("lblDATA_3"), 385, 146, 108, Qt::AlignHCenter);
    caption(this, 7, QStringLiteral("面積"), 300, 176, 80);
    lblDATA[kLblArea] = shown(this, QStringLiteral("lblDATA_4"), 385, 176, 108, right);
    caption(this, 8, QStringLiteral("出荷予定"), 300, 206, 80);
    lblDATA[kLblShipFrom] = shown(this, QStringLiteral("lblDATA_5"), 385, 206, 100, Qt::AlignHCenter);
    makeCaptioned<QLabel>(this, QStringLiteral("Label2_0"), QStringLiteral("～"), 488, 206, 16, 24);
    lblDATA[kLblShipTo] = shown(this, QStringLiteral("lblDATA_6"), 505, 206, 100, Qt::AlignHCenter);

    caption(this, 9, QStringLiteral("商品コード"), 10, 244);
    box(kBoxPrdId, 105, 244, 80, right);
    box(kBoxPrdNm, 190, 244, 250);
    caption(this, 10, QStringLiteral("生産地"), 10, 276);
    box(kBoxLocate, 105, 276, 200);
    Check1 = makeCaptioned<QCheckBox>(this, QStringLiteral("Check1"), QStringLiteral("ﾌﾟﾗｽﾁｯｸ包装"), 330, 276, 150, 24);
    caption(this, 11, QStringLiteral("入金"), 10, 308);
    Option1[kPayCash] =
        makeCaptioned<QRadioButton>(this, QStringLiteral("Option1_0"), QStringLiteral("現金"), 110, 308, 70, 24);
    Option1[kPayReceivable] =
        makeCaptioned<QRadioButton>(this, QStringLiteral("Option1_1"), QStringLiteral("売掛"), 190, 308, 70, 24);

    caption(this, 12, QStringLiteral("売価"), 10, 346);
    box(kBoxShopPrc, 105, 346, 100, right);
    caption(this, 13, QStringLiteral("出荷数"), 210, 346, 80);
    box(kBoxShipQty, 295, 346, 80, right);
    caption(this, 14, QStringLiteral("返品数"), 410, 346, 80);
    box(kBoxRtnQty, 495, 346, 80, right);
    caption(this, 15, QStringLiteral("売上数"), 210, 378, 80);
    box(kBoxSalesQty, 295, 378, 80, right);
    caption(this, 16, QStringLiteral("値引額"), 410, 378, 80);
    box(kBoxDscAmt, 495, 378, 80, right);
    caption(this, 17, QStringLiteral("金額"), 10, 378);
    lblDATA[kLblSalesAmt] = shown(this, QStringLiteral("lblDATA_7"), 105, 378, 100, right);
    caption(this, 18, QStringLiteral("手数料率"), 10, 410);
    box(kBoxFeeRt, 105, 410, 80, right);
    makeCaptioned<QLabel>(this, QStringLiteral("Label2_1"), QStringLiteral("%"), 188, 410, 16, 24);
    caption(this, 19, QStringLiteral("手数料"), 210, 410, 80);
    box(kBoxFeeAmt, 295, 410, 80, right);
    caption(this, 20, QStringLiteral("備考"), 10, 442);
    box(kBoxNotes, 105, 442, 470);
    limitToColumns({{txtDATA[kBoxLocate], "D_SHIP.LOCATE"}, {txtDATA[kBoxPrdNm], "D_SHIP.PRD_NM"}, {txtDATA[kBoxNotes], "D_SHIP.NOTES"}});

    makeMenuButton(kMenuRegister, QStringLiteral("登録"), 5850, 7425, 1500, 540);
    makeMenuButton(kMenuClose, QStringLiteral("ｷｬﾝｾﾙ"), 7500, 7425, 1500, 540);

    for (QLineEdit *e : txtDATA) {
        if (e != txtDATA[kBoxLocate] && e != txtDATA[kBoxPrdNm] && e != txtDATA[kBoxNotes])
            e->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    picker = new DatePicker(*this);
    picker->addBox(kBoxShipDate, txtDATA[kBoxShipDate]);
    picker->setCondition([] { return gEditMode == kEditAdd || gEditMode == kEditModify; });
    picker->hideOn({QStringLiteral("txtDATA"), QStringLiteral("cmbDATA"), QStringLiteral("List1"),
                    QStringLiteral("cmdMENU")});

    QObject::connect(List1, &QListWidget::currentRowChanged, this, [this](int) {
        if (ready() && editable())
            trapped(Trap::Plain, [this] { List1_Click(); });
    });
    QObject::connect(Check1, &QCheckBox::toggled, this, [this](bool on) {
        if (ready() && editable())
            work.PLAS = Value(on);
    });
    for (QRadioButton *option : Option1) {
        QObject::connect(option, &QRadioButton::toggled, this, [this](bool) {
            if (ready() && editable())
                work.ACC_ID = Option1[kPayCash]->isChecked()         ? Value(kAccCash)
                              : Option1[kPayReceivable]->isChecked() ? Value(kAccReceivable)
                                                                     : Value::null();
        });
    }
}

bool frmShipInput::editable() const
{
    return gEditMode == kEditAdd || gEditMode == kEditModify;
}

void frmShipInput::InitForm()
{
    SetCmb(kCmbGrower);
    SetCmb(kCmbShop);
}

void frmShipInput::SetCmb(int index)
{
    QComboBox *c = cmbDATA[static_cast<std::size_t>(index)];
    const QSignalBlocker quiet(c);
    c->clear();
    const QString sql = index == kCmbGrower ? QStringLiteral("SELECT M_FMR.FMR_ID, M_FMR.FMR_NM FROM M_FMR WHERE CHK_FLG<>0 "
                                                    "ORDER BY FMR_ID")
                                   : QStringLiteral("SELECT M_SHOP.SHOP_ID, M_SHOP.SHOP_NM FROM M_SHOP WHERE CHK_FLG<>0 "
                                                    "ORDER BY M_SHOP.SHOP_ID");
    addPickRows(c, masterDb(), sql);
    c->setCurrentIndex(-1);
}

// The plantings of the record's grower (the current grower for a new row) live on the day.
void frmShipInput::SetList(int index)
{
    if (index != 0)
        return;
    const QSignalBlocker quiet(List1);
    List1->clear();
    const QDate day = valueDate(work.SHIP_DATE);
    if (!day.isValid())
        return;
    const Value fmr = isBlank(work.FMR_ID) ? NullToVal(gFmrID, Value(0)) : work.FMR_ID;
    for (const ShipPlanting &p : PlantingsOfDay(dataDb(), fmr, day)) {
        auto *item = new QListWidgetItem(p.name, List1);
        item->setData(kPlantIdRole, QVariant::fromValue<qlonglong>(p.plantId));
    }
}

void frmShipInput::newRowDefaults(ShipRec &r)
{
    const Value null = Value::null();
    const Value sourceGrower = r.FMR_ID;
    r.FMR_ID = gFmrID;
    r.SHIP_ID = null;
    r.SHIP_DATE = Value(QDate::currentDate());
    r.DTL_NO = null;
    if (gEditRow >= 0) {
        // A copy: a new shipment with new vouchers; the copied one is never touched. Another
        // grower's planting is none of the current grower's.
        if (sourceGrower != r.FMR_ID)
            r.PLANT_ID = null;
        r.PRINT_DATE = r.EXP_DATE = r.LEDGE_ID_S = r.LEDGE_ID_F = null;
        r.IDATE = r.UDATE = r.LAST_TM = r.HOLD_TM = null;
        return;
    }
    r.PLANT_ID = null;
    r.SHOP_ID = gShopID;
    r.PRD_ID = r.PRD_NM = null;
    r.LOCATE = GrowerLocation(masterDb(), r.FMR_ID);
    r.PLAS = Value(true);
    r.ACC_ID = ShopAccount(masterDb(), r.SHOP_ID);
    for (int i = ShipRec::columnNames().indexOf(QLatin1String("SHOP_PRC")); i < ShipRec::fieldCount(); ++i)
        r.field(i) = null;
}

std::vector<LoadedRows> frmShipInput::loadedRowsOf(const ShipRec &row)
{
    return LoadedShip(dataDb(), row);
}

void frmShipInput::SetMode()
{
    takeListRow();
    if (gEditMode == kEditAdd)
        newRowDefaults(work);
    applyCaptions(gEditMode);
    applyReadOnlyLook(gEditMode);
    if (editable()) {
        // The Tab order of the mode, from a window that may have shown another mode before.
        // Boxes out of the Tab order stay reachable with the mouse.
        for (QWidget *w : std::initializer_list<QWidget *>{List1, Check1})
            w->setFocusPolicy(Qt::StrongFocus);
        for (QLineEdit *e : txtDATA)
            e->setFocusPolicy(Qt::StrongFocus);
        const auto tabOut = [](QWidget *w) { w->setFocusPolicy(Qt::ClickFocus); };
        if (gEditMode == kEditAdd) {
            for (int i = kBoxRtnQty; i <= kBoxFeeAmt; ++i)
                tabOut(txtDATA[static_cast<std::size_t>(i)]);
        } else {
            for (int i = kBoxShipDate; i <= kBoxShipQty; ++i)
                tabOut(txtDATA[static_cast<std::size_t>(i)]);
            tabOut(txtDATA[kBoxSalesQty]);
            tabOut(List1);
            tabOut(Check1);
        }
    }
    // The grower of a stored shipment is shown, never changed (its vouchers and row are that
    // grower's); only a new shipment's grower can be chosen.
    cmbDATA[kCmbGrower]->setEnabled(gEditMode == kEditAdd);
    if (gEditMode == kEditView || gEditMode == kEditDelete) {
        QPalette p = List1->palette();
        p.setColor(QPalette::Disabled, QPalette::Base, palette().color(QPalette::Window));
        List1->setPalette(p);
    }
    if (gEditMode != kEditAdd)
        sendTab();
    DispData();
}

void frmShipInput::DispData()
{
    work.SALES_AMT = ShipSalesAmount(work);
    txtDATA[kBoxShipDate]->setText(shipDayText(work.SHIP_DATE));
    txtDATA[kBoxLocate]->setText(plainText(work.LOCATE));
    txtDATA[kBoxPrdId]->setText(plainText(work.PRD_ID));
    txtDATA[kBoxPrdNm]->setText(plainText(work.PRD_NM));
    txtDATA[kBoxShopPrc]->setText(plainText(work.SHOP_PRC));
    txtDATA[kBoxShipQty]->setText(plainText(work.SHIP_QTY));
    txtDATA[kBoxRtnQty]->setText(plainText(work.RTN_QTY));
    txtDATA[kBoxSalesQty]->setText(plainText(work.SALES_QTY));
    txtDATA[kBoxDscAmt]->setText(plainText(work.DSC_AMT));
    txtDATA[kBoxFeeRt]->setText(plainText(work.FEE_RT));
    txtDATA[kBoxFeeAmt]->setText(plainText(work.FEE_AMT));
    txtDATA[kBoxNotes]->setText(plainText(work.NOTES));
    try {
        SetList(0);
    } catch (...) {
        // The plantings could not be read: the list is empty, and the shipment holds no planting
        // it does not show (登録 asks for one).
        work.PLANT_ID = Value::null();
        DispPlantData();
        throw;
    }
    lblDATA[kLblShipId]->setText(gEditMode != kEditAdd ? plainText(work.SHIP_ID) : QString());
    lblDATA[kLblSalesAmt]->setText(fmtAmount(work.SALES_AMT));
    {
        const QSignalBlocker quiet(List1);
        List1->setCurrentRow(-1);
        if (!isBlank(work.PLANT_ID)) {
            for (int i = 0; i < List1->count(); ++i) {
                if (List1->item(i)->data(kPlantIdRole).toLongLong() == work.PLANT_ID.toLong()) {
                    List1->setCurrentRow(i);
                    break;
                }
            }
        }
    }
    showChoice(cmbDATA[kCmbGrower], work.FMR_ID);
    showChoice(cmbDATA[kCmbShop], work.SHOP_ID);
    {
        const QSignalBlocker q1(Check1);
        Check1->setChecked(!isBlank(work.PLAS) && work.PLAS.toBool());
        const QSignalBlocker q2(Option1[kPayCash]);
        const QSignalBlocker q3(Option1[kPayReceivable]);
        const long acc = isBlank(work.ACC_ID) ? 0 : static_cast<long>(work.ACC_ID.toLong());
        Option1[kPayCash]->setAutoExclusive(false);
        Option1[kPayReceivable]->setAutoExclusive(false);
        Option1[kPayCash]->setChecked(acc == kAccCash);
        Option1[kPayReceivable]->setChecked(acc == kAccReceivable);
        Option1[kPayCash]->setAutoExclusive(true);
        Option1[kPayReceivable]->setAutoExclusive(true);
    }
    DispPlantData();
    changed_ = false;
}

void frmShipInput::DispPlantData()
{
    for (int i = kLblCrop1; i <= kLblShipTo; ++i)
        lblDATA[static_cast<std::size_t>(i)]->clear();
    if (isBlank(work.PLANT_ID))
        return;
    const std::optional<PlantRec> p = FindPlanting(dataDb(), isBlank(work.FMR_ID) ? Value(0) : work.FMR_ID, work.PLANT_ID);
    if (!p)
        return;
    lblDATA[kLblCrop1]->setText(plainText(p->CROP_NM1));
    lblDATA[kLblCrop2]->setText(plainText(p->CROP_NM2));
    lblDATA[kLblPlantDate]->setText(dayText(p->PLANT_DATE));
    lblDATA[kLblArea]->setText(plainText(p->AREA));
    lblDATA[kLblShipFrom]->setText(dayText(p->SHIP_SCHD_DATE1));
    lblDATA[kLblShipTo]->setText(dayText(p->SHIP_SCHD_DATE2));
}

bool frmShipInput::validate(QWidget *control)
{
    if (!ready() || !editable())
        return true;
    const int t = ctlIndex(control, QStringLiteral("txtDATA"));
    if (t >= 0)
        return txtDATA_Validate(t);
    const int c = ctlIndex(control, QStringLiteral("cmbDATA"));
    if (c >= 0) {
        cmbDATA_Validate(c);
        return true;
    }
    if (control == List1)
        List1_Validate();
    return true;
}

// An entry goes into its column only when the box was changed. What is no number is stored as
// Null without a word, a day that is no date stays as typed (the save refuses it); only a shipped
// quantity that is no whole number is refused, keeping the focus and the text.
bool frmShipInput::txtDATA_Validate(int index)
{
    if (!changed_)
        return true;
    Value entry;
    if (!ShipEntry(index, txtDATA[static_cast<std::size_t>(index)]->text(), &entry)) {
        ShowMsg(QStringLiteral("数値を指定してください。"), kMsgExclamation);
        return false;
    }
    ShipRec next = work;
    try {
        ApplyShipEntry(next, index, entry);
    } catch (...) {
        DispData();  // an entry whose look-up cannot be read is not taken: the boxes show the shipment held
        throw;
    }
    work = next;
    DispData();
    return true;
}

void frmShipInput::cmbDATA_Validate(int index)
{
    QComboBox *c = cmbDATA[static_cast<std::size_t>(index)];
    const bool picked = c->currentIndex() >= 0;
    const Value id =
        picked ? Value(static_cast<long>(c->currentData().toLongLong())) : Value(index == kCmbGrower ? 0 : 1);
    if (index == kCmbGrower) {
        // Only a new shipment's grower can change; a planting of the grower before is none of
        // the new one's.
        if (gEditMode != kEditAdd || work.FMR_ID == id) {
            DispData();
            return;
        }
        work.FMR_ID = id;
        work.PLANT_ID = Value::null();
    } else {
        // The payment side follows the shop only when the shop changes.
        if (work.SHOP_ID == id)
            return;
        Value account;
        try {
            account = ShopAccount(masterDb(), id);
        } catch (...) {
            showChoice(c, work.SHOP_ID);  // the shop whose payment side the window shows
            throw;
        }
        work.SHOP_ID = id;
        work.ACC_ID = account;
    }
    DispData();
}

void frmShipInput::List1_Click()
{
    QListWidgetItem *item = List1->currentItem();
    if (!item)
        return;
    work.PLANT_ID = Value(static_cast<long>(item->data(kPlantIdRole).toLongLong()));
    DispPlantData();
}

// The planting's product fills the product boxes.
void frmShipInput::List1_Validate()
{
    if (isBlank(work.PLANT_ID))
        return;
    const std::optional<PlantRec> p = FindPlanting(dataDb(), isBlank(work.FMR_ID) ? Value(0) : work.FMR_ID, work.PLANT_ID);
    const Value prdId = p ? p->PRD_ID : Value::null();
    const Value prdNm = p ? p->PRD_NM : Value::null();
    work.PRD_ID = isBlank(prdId) ? Value::null() : prdId;
    work.PRD_NM = isBlank(prdNm) ? Value::null() : prdNm;
    txtDATA[kBoxPrdId]->setText(plainText(work.PRD_ID));
    txtDATA[kBoxPrdNm]->setText(plainText(work.PRD_NM));
    changed_ = false;
}

void frmShipInput::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

bool frmShipInput::ChkData()
{
    if (!editable())
        return true;
    if (isBlank(work.ACC_ID)) {
        work.ACC_ID = ShopAccount(masterDb(), work.SHOP_ID);
    }
    const auto refuse = [](const char *msg) {
        ShowMsg(QString::fromUtf8(msg), kMsgExclamation);
        return false;
    };
    if (!valueDate(work.SHIP_DATE).isValid())
        return refuse("日付を指定してください。");
    if (isBlank(work.FMR_ID) || !IsNumeric(work.FMR_ID))
        return refuse("生産者を指定してください。");
    if (work.FMR_ID.toDouble() <= 0)
        return refuse("生産者をを指定してください。");
    // The planting must be one of the shipment's grower.
    if (isBlank(work.PLANT_ID) || !IsNumeric(work.PLANT_ID) || work.PLANT_ID.toDouble() <= 0 ||
        !FindPlanting(dataDb(), Value(work.FMR_ID.toLong()), Value(work.PLANT_ID.toLong())))
        return refuse("作付を指定してください。");
    if (isBlank(work.SHIP_QTY) || !IsNumeric(work.SHIP_QTY))
        return refuse("出荷数を指定してください。");
    return true;
}

// Works on a copy: the record takes the new number and voucher numbers only once committed.
bool frmShipInput::SaveData()
{
    ShipRec rec = work;
    int result = 0;
    if (!trapped(Trap::Standard, [&] { result = SaveShipment(dataDb(), rec, gEditMode, loaded); }))
        return false;
    if (result != 1) {
        rowGone(true);  // reported by the save; nothing was written
        return false;
    }
    work = rec;
    return true;
}

Trap frmShipInput::trapFor(Event event, QWidget *control) const
{
    switch (event) {
    case Event::Load:
    case Event::Activate:
    case Event::LostFocus:
        return Trap::Standard;
    case Event::Resize:
    case Event::Unload:
    case Event::KeyPress:
        return Trap::Plain;
    case Event::Validate:
        return control && (control->objectName().startsWith(QLatin1String("txtDATA")) ||
                           control->objectName().startsWith(QLatin1String("Option1")))
                   ? Trap::Standard
                   : Trap::Plain;
    case Event::GotFocus:
        return control && (control->objectName().startsWith(QLatin1String("cmbDATA")) ||
                           control->objectName().startsWith(QLatin1String("cmdMENU")))
                   ? Trap::Plain
                   : Trap::Standard;
    case Event::Click:
        return Trap::Standard;
    }
    return Trap::Standard;
}

}  // namespace hb
