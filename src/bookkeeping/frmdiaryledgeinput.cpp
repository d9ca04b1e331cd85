#include "bookkeeping/frmdiaryledgeinput.h"

#include "core/controls.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/picklist.h"
#include "core/uiservices.h"
#include "core/textlimit.h"

#include <QKeyEvent>
#include <QPalette>
#include <QWheelEvent>
#include <cmath>

namespace hb {

namespace {

constexpr int kTextLength = 50;
constexpr int kAmountLength = 12;

const QString kNotNumberMsg = QStringLiteral("数値を指定してください。");
const QString kNoAmountMsg = QStringLiteral("金額を入力してください。");

// Design geometry in twips, as pixels.
// Whether a stored ID equals a number: Null equals nothing, Empty equals 0.
bool sameId(const Value &v, long id)
{
    if (v.isNull())
        return false;
    if (v.isEmpty())
        return id == 0;
    if (v.isString() && !IsNumeric(v))
        return false;
    return v.toDouble() == static_cast<double>(id);
}

// An amount typed into a box: a number that fits a currency value. An empty box reads as 0.
bool amountOf(const QString &text, double *out)
{
    *out = 0;
    if (text.trimmed().isEmpty())
        return true;
    double v = 0;
    if (!parseNumber(text, &v) || std::fabs(v) >= 922337203685477.0)
        return false;
    *out = v;
    return true;
}

// A text box's content as stored: Null when empty.
Value textValue(const QLineEdit *box)
{
    return box->text().isEmpty() ? Value::null() : Value(box->text());
}

void setBaseColor(QWidget *w, const QColor *color)
{
    if (!color) {
        w->setPalette(QPalette());
        return;
    }
    QPalette p = w->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, *color);
    w->setPalette(p);
}

// An editable combo box that can be locked: no list, no keys, no wheel, no focus.
class LockableCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    void setLocked(bool locked)
    {
        locked_ = locked;
        if (lineEdit())
            lineEdit()->setReadOnly(locked);
        setFocusPolicy(locked ? Qt::NoFocus : Qt::StrongFocus);
    }
    void showPopup() override
    {
        if (!locked_)
            QComboBox::showPopup();
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (locked_)
            e->ignore();
        else
            QComboBox::keyPressEvent(e);
    }
    void wheelEvent(QWheelEvent *e) override
    {
        if (locked_)
            e->ignore();
        else
            QComboBox::wheelEvent(e);
    }

private:
    bool locked_ = false;
};

[[noreturn]] void outOfRange()
{
    throw HbError(kErrSubscript, QStringLiteral("インデックスが有効範囲にありません。"));
}


}  // namespace

frmDiaryLedgeInput::frmDiaryLedgeInput() : Form(QStringLiteral("frmDiaryLedgeInput"))
{
    setWindowTitle(QStringLiteral("元帳入力"));
    whenLoadFails(AfterFailedLoad::Close);
    setDesignSize(12400, 7200);
    buildControls();
}

// ---- layout --------------------------------------------------------------------------------

void frmDiaryLedgeInput::buildControls()
{
    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QString(), 0, 0, 246, 36);
    lblTITLE->setIndent(12);
    QFont titleFont = lblTITLE->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    lblTITLE->setFont(titleFont);

    const auto caption = [this](const QString &name, const QString &text, const QRect &g) {
        QLabel *l = makeCaptioned<QLabel>(this, name, text, g.x(), g.y(), g.width(), g.height());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto box = [this](int index, const QRect &g, int limit) {
        QLineEdit *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtDATA"), index), g.x(), g.y(), g.width(),
                                              g.height());
        limitCharacters(e, limit);
        setSelectAllOnFocus(e);
        txtDATA[index] = e;
        return e;
    };
    const auto combo = [this](int index, const QRect &g) {
        auto *c = new LockableCombo(this);
        c->setObjectName(ctlName(QStringLiteral("cmbDATA"), index));
        c->setGeometry(g);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        c->setMaxVisibleItems(16);
        setDropDownOnFocus(c);
        cmbDATA[index] = c;
        return c;
    };
    constexpr int kRow = 360;  // height of a box

    caption(ctlName(QStringLiteral("Label1"), 12), QStringLiteral("相手先"), twipsRect(225, 900, 1275, kRow));
    box(kBoxCounterparty, twipsRect(1575, 900, 4020, kRow), kTextLength);
    lblOPT_NM_CAP[kCapFixedText] = caption(ctlName(QStringLiteral("lblOPT_NM_CAP"), kCapFixedText), QStringLiteral("摘要"),
                                           twipsRect(6150, 900, 1650, kRow));
    box(kBoxFixedText, twipsRect(7875, 900, 4020, kRow), kTextLength);

    caption(ctlName(QStringLiteral("Label1"), 6), QStringLiteral("科目"), twipsRect(225, 1800, 1275, kRow));
    combo(kCmbAccount, twipsRect(1575, 1800, 4000, kRow));
    lblOPT_CAP = caption(ctlName(QStringLiteral("lblOPT_CAP"), 0), QStringLiteral("補助"), twipsRect(6150, 1800, 825, kRow));
    combo(kCmbOption, twipsRect(7050, 1800, 4000, kRow));
    lblOPT_CAP->hide();
    cmbDATA[kCmbOption]->hide();

    lblOPT_NM_CAP[kCapOtherText] = caption(ctlName(QStringLiteral("lblOPT_NM_CAP"), kCapOtherText), QStringLiteral("摘要"),
                                           twipsRect(225, 2700, 1275, kRow));
    box(kBoxOtherText, twipsRect(1575, 2700, 4020, kRow), kTextLength);

    caption(ctlName(QStringLiteral("Label1"), 11), QStringLiteral("備考"), twipsRect(225, 3600, 1275, kRow));
    box(kBoxNotes, twipsRect(1575, 3600, 4845, kRow), kTextLength);

    lblAMT_CAP[kCapIncrease] = caption(ctlName(QStringLiteral("lblAMT_CAP"), kCapIncrease), QStringLiteral("金額"),
                                       twipsRect(2100, 4500, 1725, kRow));
    box(kBoxIncrease, twipsRect(3900, 4500, 1890, kRow), kAmountLength);
    lblAMT_CAP[kCapDecrease] = caption(ctlName(QStringLiteral("lblAMT_CAP"), kCapDecrease), QStringLiteral("金額"),
                                       twipsRect(6150, 4500, 1650, kRow));
    box(kBoxDecrease, twipsRect(7875, 4500, 1890, kRow), kAmountLength);
    for (int i : {kBoxIncrease, kBoxDecrease}) {
        txtDATA[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        txtDATA[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    const QRect reg = twipsRect(225, 5550, 2400, 1000);
    const QRect close = twipsRect(9675, 5550, 2400, 1000);
    cmdMENU[kMenuRegister] = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("cmdMENU"), kMenuRegister),
                                                        QStringLiteral("設定"), reg.x(), reg.y(), reg.width(),
                                                        reg.height());
    cmdMENU[kMenuClose] = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("cmdMENU"), kMenuClose),
                                                     QStringLiteral("閉じる"), close.x(), close.y(), close.width(),
                                                     close.height());

    const QList<QWidget *> order{txtDATA[kBoxCounterparty], txtDATA[kBoxFixedText], cmbDATA[kCmbAccount],
                                 cmbDATA[kCmbOption],       txtDATA[kBoxOtherText], txtDATA[kBoxNotes],
                                 txtDATA[kBoxIncrease],     txtDATA[kBoxDecrease],  cmdMENU[kMenuRegister],
                                 cmdMENU[kMenuClose]};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    onClick(cmdMENU[kMenuClose], [this] { Unload(); });
    onClick(cmdMENU[kMenuRegister], [this] { Register(); });
}

// ---- events --------------------------------------------------------------------------------

// The working voucher is prepared once per showing, in the first Resize; a later resize or
// maximise only rescales, so nothing typed is lost.
void frmDiaryLedgeInput::onResize()
{
    Form::onResize();
    if (!isFirstResize())
        return;
    ready_ = false;
    InitForm();
    SetMode();
    ready_ = true;
}

bool frmDiaryLedgeInput::validate(QWidget *control)
{
    for (int i = kBoxCounterparty; i < kBoxCount; ++i) {
        if (control == txtDATA[i])
            return txtDATA_Validate(i);
    }
    for (int i = kCmbAccount; i < kCmbCount; ++i) {
        if (control == cmbDATA[i])
            return cmbDATA_Validate(i);
    }
    return true;
}

Trap frmDiaryLedgeInput::trapFor(Event event, QWidget *control) const
{
    const bool txt = control && control->objectName().startsWith(QLatin1String("txtDATA_"));
    switch (event) {
    case Event::Load:
    case Event::Activate:
    case Event::Click:
        return Trap::Standard;
    case Event::GotFocus:
    case Event::LostFocus:
    case Event::Validate:
        return txt ? Trap::Standard : Trap::Plain;
    case Event::Resize:
    case Event::Unload:
    case Event::KeyPress:
        return Trap::Plain;
    }
    return Trap::Standard;
}

// ---- procedures ----------------------------------------------------------------------------

void frmDiaryLedgeInput::InitForm()
{
    work_ = LedgeRec();
    optKbn_ = 0;
    cmbDATA[kCmbOption]->clear();
    lblOPT_CAP->hide();
    cmbDATA[kCmbOption]->hide();
    SetCmb(kCmbAccount);
}

void frmDiaryLedgeInput::SetCmb(int index)
{
    if (index != kCmbAccount)
        return;
    QComboBox *box = cmbDATA[kCmbAccount];
    box->clear();
    box->addItem(QString(), QVariant(qlonglong(0)));
    addPickRows(box, workDb(),
                     QStringLiteral("SELECT  L_ACC.ACC_ID,  L_ACC.ACC_NM  FROM L_ACC  ORDER BY ACC_ID"));
}

void frmDiaryLedgeInput::SetCmbOpt(int index)
{
    if (index != kCmbOption)
        return;
    QComboBox *box = cmbDATA[kCmbOption];
    box->clear();
    box->addItem(QString(), QVariant(qlonglong(0)));
    box->setCurrentIndex(-1);
    QString sql;
    if (optKbn_ == kOptChemi)
        sql = QStringLiteral("SELECT  D_CHEMI.CHEMI_ID,  D_CHEMI.CHEMI_NM  FROM D_CHEMI  WHERE FMR_ID=? AND CHK_FLG<>0 "
                             "ORDER BY CHEMI_ID");
    else if (optKbn_ == kOptPlant)
        sql = QStringLiteral("SELECT  D_PLANT.PLANT_ID,  D_PLANT.PLANT_NM  FROM D_PLANT  WHERE FMR_ID=? ORDER BY PLANT_ID");
    if (sql.isEmpty())
        return;
    addPickRows(box, dataDb(), sql, {Value(currentFmrId())});
    box->setCurrentIndex(-1);
}

long frmDiaryLedgeInput::fixedAccount() const
{
    return IdOrZero(gDiaryLedgeAcc);
}

void frmDiaryLedgeInput::SetMode()
{
    work_ = LedgeRec();
    if (gEditRow >= 0) {
        if (gEditRow >= static_cast<long>(gLedge.size()))
            outOfRange();
        work_ = gLedge[static_cast<std::size_t>(gEditRow)];
    }
    const long acc = fixedAccount();
    if (gEditMode == kEditAdd) {
        work_.FMR_ID = gFmrID;
        work_.LEDGE_ID = Value(GetNewLedgeID(currentFmrId()));
        work_.LEDGE_DATE = gWorkDate;
        work_.D_ACC_ID = Value(acc);
        for (Value *v : {&work_.C_ACC_ID, &work_.D_OPT_ID, &work_.D_OPT_NM, &work_.C_OPT_ID, &work_.C_OPT_NM,
                         &work_.CTR_NM, &work_.NOTES, &work_.AMT, &work_.UDATE})
            *v = Value::null();
    }

    struct Captions { long acc; const char *title, *increase, *decrease, *fixedText; };
    static const Captions books[] = {
        {kAccCash, "現金出納帳入力", "入金", "出金", "現金適用"},
        {kAccBank, "預金帳入力", "預入", "払出", "預金適用"},
        {kAccReceivable, "売掛帳入力", "発生", "回収", "売掛金適用"},
        {kAccPayable, "買掛帳入力", "発生", "支払", "買掛金適用"},
    };
    QString title;
    QString increase = QStringLiteral("金額");
    QString decrease = QStringLiteral("金額");
    QString fixedText = QStringLiteral("摘要");
    for (const Captions &c : books) {
        if (c.acc == acc) {
            title = QString::fromUtf8(c.title);
            increase = QString::fromUtf8(c.increase);
            decrease = QString::fromUtf8(c.decrease);
            fixedText = QString::fromUtf8(c.fixedText);
        }
    }
    setWindowTitle(title);
    lblTITLE->setText(title);
    lblAMT_CAP[kCapIncrease]->setText(increase);
    lblAMT_CAP[kCapDecrease]->setText(decrease);
    lblOPT_NM_CAP[kCapFixedText]->setText(fixedText);

    if (gEditMode == kEditAdd || gEditMode == kEditModify) {
        cmdMENU[kMenuClose]->setText(QStringLiteral("ｷｬﾝｾﾙ"));
        cmdMENU[kMenuRegister]->setText(QStringLiteral("設定"));
    } else if (gEditMode == kEditDelete) {
        cmdMENU[kMenuClose]->setText(QStringLiteral("ｷｬﾝｾﾙ"));
        cmdMENU[kMenuRegister]->setText(QStringLiteral("削除"));
    }
    lockBoxes(gEditMode == kEditDelete);
    DispData();
}

// Delete mode: the boxes are read only, out of the tab order and painted in the window's colour.
void frmDiaryLedgeInput::lockBoxes(bool locked)
{
    const QColor window = palette().color(QPalette::Window);
    for (int i = kBoxCounterparty; i < kBoxCount; ++i) {
        QLineEdit *e = txtDATA[i];
        e->setReadOnly(locked);
        e->setFocusPolicy(locked ? Qt::NoFocus : Qt::StrongFocus);
        if (i == kBoxIncrease || i == kBoxDecrease)
            e->setAttribute(Qt::WA_InputMethodEnabled, false);  // read-only changes turn it back on
        setBaseColor(e, locked ? &window : nullptr);
    }
    for (int i = kCmbAccount; i < kCmbCount; ++i) {
        static_cast<LockableCombo *>(cmbDATA[i])->setLocked(locked);
        setBaseColor(cmbDATA[i], locked ? &window : nullptr);
        if (QLineEdit *e = cmbDATA[i]->lineEdit())
            setBaseColor(e, locked ? &window : nullptr);
    }
}

void frmDiaryLedgeInput::DispData()
{
    const long acc = fixedAccount();
    const bool fixedDebit = sameId(work_.D_ACC_ID, acc);
    const Value &otherAcc = fixedDebit ? work_.C_ACC_ID : work_.D_ACC_ID;
    const Value &otherOptId = fixedDebit ? work_.C_OPT_ID : work_.D_OPT_ID;
    const Value &otherOptNm = fixedDebit ? work_.C_OPT_NM : work_.D_OPT_NM;
    const Value &fixedOptNm = fixedDebit ? work_.D_OPT_NM : work_.C_OPT_NM;

    cmbDATA[kCmbAccount]->setCurrentIndex(0);
    if (!otherAcc.isNull()) {
        const int i = findItemId(cmbDATA[kCmbAccount], IdOrZero(otherAcc));
        if (i >= 0)
            cmbDATA[kCmbAccount]->setCurrentIndex(i);
        applyOptKind(AccountOptKind(IdOrZero(otherAcc)));
    }
    cmbDATA[kCmbOption]->setCurrentIndex(otherOptId.isNull() ? -1
                                                              : findItemId(cmbDATA[kCmbOption], IdOrZero(otherOptId)));

    const auto text = [](const Value &v) { return NullToVal(v, Value("")).displayText(); };
    txtDATA[kBoxOtherText]->setText(text(otherOptNm));
    txtDATA[kBoxFixedText]->setText(text(fixedOptNm));
    txtDATA[kBoxCounterparty]->setText(text(work_.CTR_NM));
    txtDATA[kBoxNotes]->setText(text(work_.NOTES));

    // An increase of the fixed account: in the payable book a voucher that credits 2000, in the
    // other books one whose credit side is not the fixed account.
    const bool increase = acc == kAccPayable ? sameId(work_.C_ACC_ID, kAccPayable) : !sameId(work_.C_ACC_ID, acc);
    const QString amount =
        isBlank(work_.AMT) ? QStringLiteral("0") : work_.AMT.displayText();
    txtDATA[kBoxIncrease]->setText(increase ? amount : QStringLiteral("0"));
    txtDATA[kBoxDecrease]->setText(increase ? QStringLiteral("0") : amount);
}

void frmDiaryLedgeInput::applyOptKind(long kind)
{
    if (kind == optKbn_)
        return;
    optKbn_ = kind;
    if (kind != 0) {
        SetCmbOpt(kCmbOption);
        lblOPT_CAP->show();
        cmbDATA[kCmbOption]->show();
    } else {
        lblOPT_CAP->hide();
        cmbDATA[kCmbOption]->hide();
    }
}

// The entry decides the sides: an increase of a debit-normal book (1000, 1010, 1040) and a
// decrease of the payable book put the fixed account on the debit side, the other account on
// the credit side; the other entries the reverse.
bool frmDiaryLedgeInput::ChkData()
{
    if (gEditMode == kEditDelete)
        return true;  // the voucher goes as it is
    double increaseAmt = 0;
    double decreaseAmt = 0;
    const bool increaseOk = amountOf(txtDATA[kBoxIncrease]->text(), &increaseAmt);
    const bool decreaseOk = amountOf(txtDATA[kBoxDecrease]->text(), &decreaseAmt);
    if (!increaseOk || !decreaseOk) {
        QLineEdit *bad = increaseOk ? txtDATA[kBoxDecrease] : txtDATA[kBoxIncrease];
        ShowMsg(kNotNumberMsg, kMsgExclamation);
        bad->setFocus();
        bad->selectAll();
        return false;
    }
    bool increase = true;
    double amount = 0;
    if (increaseAmt > 0) {
        amount = increaseAmt;
    } else if (decreaseAmt > 0) {
        amount = decreaseAmt;
        increase = false;
    } else {
        // A voucher without an amount (and, when new, without its other account) is refused.
        ShowMsg(kNoAmountMsg, kMsgExclamation);
        txtDATA[kBoxIncrease]->setFocus();
        txtDATA[kBoxIncrease]->selectAll();
        return false;
    }

    const long acc = fixedAccount();
    const bool fixedDebit = acc == kAccPayable ? !increase : increase;
    const bool wasFixedDebit = sameId(work_.D_ACC_ID, acc);
    if (fixedDebit != wasFixedDebit) {
        // The fixed account changes sides: each side's option goes with its account.
        std::swap(work_.D_OPT_KBN, work_.C_OPT_KBN);
        std::swap(work_.D_OPT_ID, work_.C_OPT_ID);
    }
    const int selected = cmbDATA[kCmbAccount]->currentIndex();
    const long other = selected >= 0 ? itemId(cmbDATA[kCmbAccount], selected) : 0;
    Value &fixedAcc = fixedDebit ? work_.D_ACC_ID : work_.C_ACC_ID;
    Value &otherAcc = fixedDebit ? work_.C_ACC_ID : work_.D_ACC_ID;
    Value &fixedOptNm = fixedDebit ? work_.D_OPT_NM : work_.C_OPT_NM;
    Value &otherOptNm = fixedDebit ? work_.C_OPT_NM : work_.D_OPT_NM;
    Value &otherOptId = fixedDebit ? work_.C_OPT_ID : work_.D_OPT_ID;

    work_.AMT = Value(Currency::fromDouble(amount));
    if (!increase)
        txtDATA[kBoxIncrease]->setText(QStringLiteral("0"));
    fixedAcc = Value(acc);
    otherAcc = Value(other);
    fixedOptNm = textValue(txtDATA[kBoxFixedText]);
    otherOptNm = textValue(txtDATA[kBoxOtherText]);
    if (!cmbDATA[kCmbOption]->isHidden()) {
        const int opt = cmbDATA[kCmbOption]->currentIndex();
        otherOptId = opt >= 0 ? Value(itemId(cmbDATA[kCmbOption], opt)) : Value::null();
    } else {
        otherOptId = Value::null();  // an account without options names no planting or purchase
    }
    work_.CTR_NM = textValue(txtDATA[kBoxCounterparty]);
    work_.NOTES = textValue(txtDATA[kBoxNotes]);
    SetLedgeOptKinds(work_);
    return true;
}

bool frmDiaryLedgeInput::SaveData()
{
    switch (gEditMode) {
    case kEditAdd:
        // The diary's empty element of a day without vouchers is replaced.
        if (gLedge.empty() || IdOrZero(gLedge.back().LEDGE_ID) > 0)
            gLedge.push_back(work_);
        else
            gLedge.back() = work_;
        break;
    case kEditModify:
        if (gEditRow < 0 || gEditRow >= static_cast<long>(gLedge.size()))
            outOfRange();
        gLedge[static_cast<std::size_t>(gEditRow)] = work_;
        break;
    case kEditDelete:
        if (gEditRow < 0 || gEditRow >= static_cast<long>(gLedge.size()))
            outOfRange();
        if (gLedge.size() == 1)
            gLedge.assign(1, LedgeRec());
        else
            gLedge.erase(gLedge.begin() + gEditRow);
        break;
    default:
        break;
    }
    // gLedge holds the entry now: a failing rebuild of the book is reported, and the dialog
    // still closes (a second "設定" would enter the voucher twice).
    if (ledgeChanged) {
        const Value acc(fixedAccount());
        trapped(Trap::Standard, [this, &acc] { ledgeChanged(acc); });
    }
    return true;
}

long frmDiaryLedgeInput::GetNewLedgeID(long fmrId)
{
    long id = GetNewLedgeIDByFmr(fmrId);
    for (const LedgeRec &l : gLedge) {
        const long n = IdOrZero(l.LEDGE_ID);
        if (id <= n)
            id = n + 1;
    }
    return id;
}

void frmDiaryLedgeInput::Register()
{
    if (!ready_)
        return;  // the voucher could not be prepared; that was reported
    if (!ChkData())
        return;
    if (SaveData())
        Unload();
}

// The counterparty and the notes go into the voucher when they are left; an amount that is no
// number is refused; a positive amount empties the other amount box, so one voucher has one
// amount.
bool frmDiaryLedgeInput::txtDATA_Validate(int index)
{
    QLineEdit *box = txtDATA[index];
    switch (index) {
    case kBoxCounterparty:
        work_.CTR_NM = textValue(box);
        break;
    case kBoxNotes:
        work_.NOTES = textValue(box);
        break;
    case kBoxIncrease:
    case kBoxDecrease: {
        double v = 0;
        if (!amountOf(box->text(), &v)) {
            ShowMsg(kNotNumberMsg, kMsgExclamation);
            box->selectAll();
            return false;
        }
        if (v > 0)
            txtDATA[index == kBoxIncrease ? kBoxDecrease : kBoxIncrease]->setText(QStringLiteral("0"));
        break;
    }
    default:
        break;
    }
    return true;
}

// A typed text must name an item: the item showing it stays chosen, else the first item of that
// text is chosen; an empty text chooses none. A text that names no item keeps the focus. Then
// the option box follows the chosen account.
bool frmDiaryLedgeInput::cmbDATA_Validate(int index)
{
    QComboBox *box = cmbDATA[index];
    const QString t = box->currentText();
    if (t.isEmpty()) {
        box->setCurrentIndex(-1);
    } else if (box->currentIndex() < 0 || box->itemText(box->currentIndex()) != t) {
        const int found = box->findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found < 0)
            return false;
        box->setCurrentIndex(found);
    }
    const int selected = cmbDATA[kCmbAccount]->currentIndex();
    try {
        applyOptKind(AccountOptKind(selected >= 0 ? itemId(cmbDATA[kCmbAccount], selected) : 0));
    } catch (...) {
        // The account's options could not be read: none is shown or saved, and the next time
        // the account is left they are read again.
        cmbDATA[kCmbOption]->clear();
        lblOPT_CAP->hide();
        cmbDATA[kCmbOption]->hide();
        optKbn_ = kOptUnread;
        throw;
    }
    return true;
}

}  // namespace hb
