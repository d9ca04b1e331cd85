#include "cultivation/frmchemiinput.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/picklist.h"
#include "core/waitcursor.h"
#include "core/textlimit.h"
#include "bookkeeping/ledger.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>

namespace hb {

namespace {

// The largest amount the money column holds.
constexpr double kMaxAmount = 922337203685477.0;

using Box = frmChemiInput::Box;
using Combo = frmChemiInput::Combo;

// The column each text box edits.
Value &column(ChemiRec &r, int box)
{
    switch (box) {
    case Box::kBoxRegNo: return r.REG_NO;
    case Box::kBoxName: return r.CHEMI_NM;
    case Box::kBoxKind: return r.CHEMI_KIND;
    case Box::kBoxMaker: return r.MAKER_NM;
    case Box::kBoxPurDate: return r.PUR_DATE;
    case Box::kBoxPurShop: return r.PUR_SHOP;
    case Box::kBoxPurQty: return r.PUR_QTY;
    case Box::kBoxPurAmt: return r.PUR_AMT;
    default: return r.NOTES;
    }
}

// The column each pick list edits.
Value &choice(ChemiRec &r, int combo)
{
    switch (combo) {
    case Combo::kCmbUses: return r.USES;
    case Combo::kCmbChemiType: return r.CHEMI_TYPE;
    default: return r.PUR_UNIT;
    }
}

}  // namespace

frmChemiInput::frmChemiInput() : InputForm(QStringLiteral("frmChemiInput"), gChemi, QStringLiteral("D_CHEMI"))
{
    setDesignSize(12400, 9200);
    setWindowTitle(QStringLiteral("農薬入力"));
    setTabAfterLook(true);
    scaling().keepFont << QStringLiteral("VSc");
    buildControls();
}

void frmChemiInput::buildControls()
{
    int labelNo = 0;
    const auto caption = [this, &labelNo](QWidget *parent, const QString &text, int x, int y, int w = 84) {
        return makeCaptioned<QLabel>(parent, ctlName(QStringLiteral("Label1"), labelNo++), text, x, y + 2, w, 22);
    };
    const auto box = [this](int i, int x, int y, int w, int maxLength, Qt::Alignment align, bool ime) {
        QLineEdit *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtDATA"), i), x, y, w, 24);
        if (maxLength > 0)
            limitCharacters(e, maxLength);
        e->setAlignment(align | Qt::AlignVCenter);
        e->setAttribute(Qt::WA_InputMethodEnabled, ime);
        setSelectAllOnFocus(e);
        connect(e, &QLineEdit::textChanged, this, [this] { changed_ = true; });
        txtDATA[static_cast<std::size_t>(i)] = e;
        return e;
    };
    const auto combo = [this](int i, int x, int y, int w) {
        QComboBox *c = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbDATA"), i), x, y, w, 24);
        c->setMaxVisibleItems(16);
        setDropDownOnFocus(c);
        cmbDATA[static_cast<std::size_t>(i)] = c;
        return c;
    };
    const auto shown = [this](int i, int x, int y, int w) {
        QLabel *l = makeControl<QLabel>(this, ctlName(QStringLiteral("lblDATA"), i), x, y, w, 24);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblDATA[static_cast<std::size_t>(i)] = l;
        return l;
    };

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("農薬入力"), 12, 8, 200, 30);
    QFont title = lblTITLE->font();
    title.setPointSize(14);
    title.setBold(true);
    lblTITLE->setFont(title);
    caption(this, QStringLiteral("農薬ID"), 420, 12, 56);
    shown(kLblChemiId, 480, 12, 100);

    // Creation order is the Tab order; the check box comes after the buttons.
    caption(this, QStringLiteral("登録番号"), 16, 52);
    box(kBoxRegNo, 104, 52, 100, 10, Qt::AlignRight, false);
    caption(this, QStringLiteral("農薬名"), 16, 84);
    // The diary line stores the purchase's "m/d" and this name in one 255-character column.
    box(kBoxName, 104, 84, 420, 250, Qt::AlignLeft, true);
    caption(this, QStringLiteral("種類"), 16, 116);
    box(kBoxKind, 104, 116, 420, 255, Qt::AlignLeft, true);
    caption(this, QStringLiteral("メーカー名"), 16, 148);
    box(kBoxMaker, 104, 148, 420, 255, Qt::AlignLeft, true);
    caption(this, QStringLiteral("用途"), 16, 180);
    combo(kCmbUses, 104, 180, 200);
    caption(this, QStringLiteral("剤型名"), 330, 180, 60);
    combo(kCmbChemiType, 394, 180, 200);
    caption(this, QStringLiteral("購入日"), 16, 212);
    box(kBoxPurDate, 104, 212, 110, 10, Qt::AlignHCenter, false);
    caption(this, QStringLiteral("購入先"), 330, 212, 60);
    box(kBoxPurShop, 394, 212, 300, 255, Qt::AlignLeft, true);
    caption(this, QStringLiteral("購入数"), 16, 244);
    box(kBoxPurQty, 104, 244, 110, 0, Qt::AlignRight, false);
    combo(kCmbPurUnit, 218, 244, 86);
    Frame1 = makeControl<QGroupBox>(this, QStringLiteral("Frame1"), 394, 236, 170, 38);
    Option1[kPayCash] =
        makeCaptioned<QRadioButton>(Frame1, QStringLiteral("Option1_0"), QStringLiteral("現金"), 10, 8, 70, 24);
    Option1[kPayPayable] =
        makeCaptioned<QRadioButton>(Frame1, QStringLiteral("Option1_1"), QStringLiteral("買掛"), 90, 8, 70, 24);
    Option1[kPayCash]->setChecked(true);
    caption(this, QStringLiteral("購入額"), 16, 276);
    box(kBoxPurAmt, 104, 276, 110, 0, Qt::AlignRight, false);
    caption(this, QStringLiteral("使用量"), 330, 276, 60);
    shown(kLblUsedQty, 394, 276, 90);
    caption(this, QStringLiteral("残量"), 500, 276, 40);
    shown(kLblRestQty, 544, 276, 90);
    caption(this, QStringLiteral("備考"), 16, 308);
    box(kBoxNotes, 104, 308, 600, 255, Qt::AlignLeft, true);

    // The registered-use check.
    Frame2 = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame2"), QStringLiteral("適用確認"), 12, 344, 790, 150);
    caption(Frame2, QStringLiteral("作物"), 10, 24, 40);
    cmbINFO = makeControl<QComboBox>(Frame2, QStringLiteral("cmbINFO"), 54, 24, 170, 24);
    cmbINFO->setEditable(true);
    cmbINFO->setInsertPolicy(QComboBox::NoInsert);
    cmbINFO->setCompleter(nullptr);
    cmbINFO->setMaxVisibleItems(16);
    setDropDownOnFocus(cmbINFO);
    const char *const infoCaptions[kInfoCount] = {"適用病害虫・目的", "希釈倍数使用量散布量", "使用時期", "回数 使用方法"};
    const int infoX[kInfoCount] = {236, 10, 10, 10};
    const int infoY[kInfoCount] = {24, 60, 88, 116};
    for (int i = 0; i < kInfoCount; ++i) {
        const int x = infoX[i];
        caption(Frame2, QString::fromUtf8(infoCaptions[i]), x, infoY[i], 156);
        auto *l = makeControl<QLabel>(Frame2, ctlName(QStringLiteral("lblINFO"), i), x + 160, infoY[i],
                                      i == kInfoTarget ? 350 : 576, 24);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        lblINFO[static_cast<std::size_t>(i)] = l;
    }
    VScroll1 = makeControl<QScrollBar>(Frame2, QStringLiteral("VScroll1"), 756, 22, 22, 120);
    VScroll1->setOrientation(Qt::Vertical);
    VScroll1->setRange(0, 0);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int) { trapped(Trap::Plain, [this] { DispAppl(); }); });

    makeMenuButton(kMenuRegister, QStringLiteral("登録"), 8700, 7650, 1600, 550);
    makeMenuButton(kMenuClose, QStringLiteral("ｷｬﾝｾﾙ"), 10500, 7650, 1600, 550);
    Check1 = makeCaptioned<QCheckBox>(this, QStringLiteral("Check1"), QStringLiteral("有効"), 720, 12, 80, 24);

    picker = new DatePicker(*this);
    picker->addBox(kBoxPurDate, txtDATA[kBoxPurDate]);
    picker->setCondition([this] { return editable(); });
    picker->hideOn({QStringLiteral("txtDATA"), QStringLiteral("cmbDATA"), QStringLiteral("cmdMENU"),
                    QStringLiteral("cmbINFO")});

    const std::vector<QWidget *> order = {
        txtDATA[kBoxRegNo],     txtDATA[kBoxName],      txtDATA[kBoxKind],    txtDATA[kBoxMaker],
        cmbDATA[kCmbUses],      cmbDATA[kCmbChemiType], txtDATA[kBoxPurDate], txtDATA[kBoxPurShop],
        txtDATA[kBoxPurQty],    cmbDATA[kCmbPurUnit],   Option1[kPayCash],    Option1[kPayPayable],
        txtDATA[kBoxPurAmt],    txtDATA[kBoxNotes],     cmbINFO,              VScroll1,
        cmdMENU[kMenuRegister], cmdMENU[kMenuClose],    Check1,
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool frmChemiInput::editable() const
{
    return gEditMode == kEditAdd || gEditMode == kEditModify;
}

bool frmChemiInput::keepsEditable(QWidget *control) const
{
    return control == cmbINFO;
}

// ---- lists and display ---------------------------------------------------------------------

void frmChemiInput::InitForm()
{
    work = ChemiRec();
    rules_.assign(1, ApplRec());
    for (int i = 0; i < static_cast<int>(cmbDATA.size()); ++i)
        SetCmb(i);
}

void frmChemiInput::SetCmb(int index)
{
    QString sql;
    switch (index) {
    case kCmbUses:
        sql = QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=15 ORDER BY ID");
        break;
    case kCmbChemiType:
        sql = QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=16 ORDER BY ID");
        break;
    case kCmbPurUnit:
        sql = QStringLiteral("SELECT  L_CHEMI_UNIT.ID,  L_CHEMI_UNIT.NM  FROM L_CHEMI_UNIT  ORDER BY ID");
        break;
    default:
        return;
    }
    fillPickList(cmbDATA[static_cast<std::size_t>(index)], workDb(), sql);
}

void frmChemiInput::SetCmbInfo()
{
    const QStringList crops = cropNames();  // read before the box changes
    const QSignalBlocker quiet(cmbINFO);
    cmbINFO->setCurrentIndex(-1);
    cmbINFO->clear();
    qlonglong n = 0;
    for (const QString &crop : crops)
        cmbINFO->addItem(crop, QVariant::fromValue(n++));
    cmbINFO->setCurrentIndex(-1);
}

void frmChemiInput::newRowDefaults(ChemiRec &r)
{
    const Value null = Value::null();
    r.FMR_ID = gFmrID;
    r.CHEMI_ID = r.PUR_DATE = r.USED_QTY = r.REST_QTY = r.UDATE = r.LEDGE_ID = null;
    r.CHK_FLG = Value(1);
}

// A purchase that never had a payment account pays in cash, as the window shows it.
void frmChemiInput::recordDefaults(ChemiRec &r)
{
    if (isBlank(r.ACC_ID))
        r.ACC_ID = Value(static_cast<long>(kAccCash));
}

void frmChemiInput::DispData()
{
    lblDATA[kLblChemiId]->setText(shownText(work.CHEMI_ID));
    lblDATA[kLblUsedQty]->setText(shownText(work.USED_QTY));
    lblDATA[kLblRestQty]->setText(shownText(work.REST_QTY));
    for (int i = 0; i < static_cast<int>(txtDATA.size()); ++i)
        txtDATA[static_cast<std::size_t>(i)]->setText(shownText(column(work, i)));
    for (int i = 0; i < static_cast<int>(cmbDATA.size()); ++i) {
        QComboBox *box = cmbDATA[static_cast<std::size_t>(i)];
        const Value &v = choice(work, i);
        const int at = v.isNull() ? 0 : findItemId(box, static_cast<long>(NullToVal(v, Value(0)).toLong()));
        box->setCurrentIndex(at < 0 ? 0 : at);
    }
    const long acc = work.ACC_ID.isNumber() ? static_cast<long>(work.ACC_ID.toLong()) : 0;
    if (acc == kAccPayable)
        Option1[kPayPayable]->setChecked(true);
    else if (acc == kAccCash)
        Option1[kPayCash]->setChecked(true);
    Check1->setChecked(!work.CHK_FLG.isNull() && !work.CHK_FLG.isEmpty() && work.CHK_FLG.toBool());
    changed_ = false;
}

// ---- the working record from the boxes -------------------------------------------------------

bool frmChemiInput::validate(QWidget *control)
{
    if (control == cmbINFO)
        return cmbINFO_Validate();
    if (!ready() || !editable())
        return true;
    int i = ctlIndex(control, QStringLiteral("txtDATA"));
    if (i >= 0) {
        txtDATA_Validate(i);
        return true;
    }
    i = ctlIndex(control, QStringLiteral("cmbDATA"));
    if (i >= 0) {
        cmbDATA_Validate(i);
        return true;
    }
    i = ctlIndex(control, QStringLiteral("Option1"));
    if (i >= 0) {
        work.ACC_ID = Value(static_cast<long>(i == kPayCash ? kAccCash : kAccPayable));
        return true;
    }
    if (control == Check1)
        work.CHK_FLG = Value(Check1->isChecked() ? 1 : 0);
    return true;
}

// A box is stored only when it changed. What is no date or number is stored as Null, and the
// box shows empty once the record is shown again; the focus always moves on.
void frmChemiInput::txtDATA_Validate(int index)
{
    if (!changed_ || index < 0 || index >= static_cast<int>(txtDATA.size()))
        return;
    const QString text = txtDATA[static_cast<std::size_t>(index)]->text();
    Value v = Value::null();
    switch (index) {
    case kBoxPurDate: {
        QDateTime date;
        if (!text.isEmpty() && parseDateText(text, &date))
            v = Value(date.date());
        break;
    }
    case kBoxPurQty:
    case kBoxPurAmt: {
        double number = 0;
        if (!text.isEmpty() && parseNumber(text, &number)) {
            if (index == kBoxPurQty)
                v = Value(number);
            else if (std::fabs(number) <= kMaxAmount)
                v = Value(Currency::fromDouble(number));
        }
        break;
    }
    default:
        if (!text.isEmpty())
            v = Value(text);
        break;
    }
    const ChemiRec held = work;
    column(work, index) = v;
    if (index == kBoxPurQty)
        work.REST_QTY = chemiRestQty(work);
    if (index == kBoxRegNo) {
        try {
            SetChemiData();
        } catch (...) {
            // A registration that cannot be read is not taken: the boxes show the one held.
            work = held;
            DispData();
            throw;
        }
    }
    DispData();
}

void frmChemiInput::cmbDATA_Validate(int index)
{
    QComboBox *box = cmbDATA[static_cast<std::size_t>(index)];
    choice(work, index) = Value(itemId(box, box->currentIndex()));
}

bool frmChemiInput::cmbINFO_Validate()
{
    const QString text = cmbINFO->currentText();
    if (text.isEmpty()) {
        cmbINFO->setCurrentIndex(-1);
    } else {
        const int at = cmbINFO->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (at < 0)
            return false;
        cmbINFO->setCurrentIndex(at);
    }
    WaitCursor wait;
    SetAppl();
    return true;
}

// ---- registration and use check ----------------------------------------------------------------

void frmChemiInput::SetChemiData()
{
    work.REG_NO = registrationNumber(work.REG_NO);
    const RegisteredChemi r = lookupRegisteredChemi(work.REG_NO);
    work.CHEMI_NM = r.CHEMI_NM;
    work.CHEMI_KIND = r.CHEMI_KIND;
    work.MAKER_NM = r.MAKER_NM;
    work.CHEMI_TYPE = r.CHEMI_TYPE;
    work.USES = r.USES;
}

void frmChemiInput::setPager(int minimum, int maximum, int value)
{
    pagerMin_ = minimum;
    pagerMax_ = maximum;
    const QSignalBlocker quiet(VScroll1);
    // A maximum below the minimum runs the pager the other way, as the rule count asks.
    VScroll1->setInvertedAppearance(maximum < minimum);
    VScroll1->setInvertedControls(maximum < minimum);
    VScroll1->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    VScroll1->setValue(value);
}

void frmChemiInput::SetAppl()
{
    const QString crop = cmbINFO->currentText();
    rules_.assign(1, ApplRec());
    setPager(0, 0, 0);
    DispAppl();  // no rule of another crop stays shown while this crop's are read
    if (!work.REG_NO.isNull() && !work.REG_NO.isEmpty() && !crop.isEmpty()) {
        std::vector<ApplRec> found = applicableRules(work.REG_NO, crop);
        const int count = static_cast<int>(found.size());
        if (!found.empty())
            rules_ = std::move(found);
        setPager(0, count - 1, 0);
    }
    DispAppl();
}

void frmChemiInput::DispAppl()
{
    const int i = VScroll1->value();
    if (i < 0 || i >= static_cast<int>(rules_.size())) {
        for (QLabel *l : lblINFO)
            l->clear();
        return;
    }
    const ApplRec &r = rules_[static_cast<std::size_t>(i)];
    lblINFO[kInfoTarget]->setText(shownText(r.TARGET) + shownText(r.PURPOSE));
    lblINFO[kInfoDilution]->setText(shownText(r.DILUTION) + shownText(r.USE_QTY));
    lblINFO[kInfoSeason]->setText(shownText(r.SEASON));
    lblINFO[kInfoTimes]->setText(shownText(r.USE_TIMES) + QLatin1Char(' ') + shownText(r.USE_WAY));
}

// ---- events ------------------------------------------------------------------------------------

// The first resize of a showing prepares the record; the use check is shown for a purchase whose
// registration number is not Null (a new one's is still unset).
void frmChemiInput::onResize()
{
    const bool first = isFirstResize();
    WaitCursor wait;
    InputForm::onResize();
    if (!first || !ready())
        return;
    if (work.REG_NO.isNull()) {
        Frame2->hide();
    } else {
        SetCmbInfo();
        Frame2->show();
    }
}

void frmChemiInput::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

Trap frmChemiInput::trapFor(Event event, QWidget *control) const
{
    return inputTrap(event, control, {Event::Activate});
}

// ---- checks and the save -----------------------------------------------------------------------

bool frmChemiInput::ChkData()
{
    if (gEditMode == kEditDelete) {
        const QString refusal = chemiDeleteRefusal(work.FMR_ID, work.CHEMI_ID);
        if (!refusal.isEmpty()) {
            ShowMsg(refusal, kMsgExclamation);
            return false;
        }
        return true;
    }
    if (txtDATA[kBoxName]->text().isEmpty()) {
        ShowMsg(QStringLiteral("名称は必須入力です。"), kMsgExclamation);
        txtDATA[kBoxName]->setFocus();
        return false;
    }
    return true;
}

// The save works on a copy: a failure (raised to the button's trap) leaves the record, its
// numbers included, as it was. The remaining quantity is saved as the purchased quantity less
// the use the window loaded.
bool frmChemiInput::SaveData()
{
    ChemiRec saved = work;
    if (gEditMode == kEditAdd || gEditMode == kEditModify)
        saved.REST_QTY = chemiRestQty(saved);
    if (SaveChemi(dataDb(), gEditMode, saved, loaded) == ChemiSaveResult::Missing) {
        rowGone();  // deleted meanwhile elsewhere: nothing written
        return false;
    }
    work = saved;
    if (gEditMode == kEditAdd || gEditMode == kEditModify)
        gLastChemiID = saved.CHEMI_ID;
    return true;
}

}  // namespace hb
