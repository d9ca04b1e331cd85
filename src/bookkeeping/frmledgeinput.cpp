#include "bookkeeping/frmledgeinput.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/picklist.h"
#include "core/textlimit.h"

#include <QPushButton>
#include <cmath>

namespace hb {

namespace {

const QString kNoDateMsg = QStringLiteral("日付を指定してください。");
const QString kNotNumberMsg = QStringLiteral("数値を指定してください。");

Value textValue(const QLineEdit *box)
{
    return box->text().isEmpty() ? Value::null() : Value(box->text());
}

}  // namespace

// ---- window --------------------------------------------------------------------------------

frmLedgeInput::frmLedgeInput() : InputForm(QStringLiteral("frmLedgeInput"), gLedge, QStringLiteral("D_LEDGE"))
{
    setWindowTitle(QStringLiteral("伝票入力"));
    setDesignSize(12400, 9200);
    scaling().keepFont = {QStringLiteral("Sha")};
    setTabAfterLook(true);
    buildControls();
}

void frmLedgeInput::buildControls()
{
    // The two halves are drawn first, so that the boxes lie above them.
    for (int i = 0; i < 2; ++i) {
        const QRect g = twipsRect(i == 0 ? 150 : 6210, 2700, 5925, 2850);
        QFrame *f = makeControl<QFrame>(this, ctlName(QStringLiteral("Shape1"), i), g.x(), g.y(), g.width(), g.height());
        f->setFrameStyle(QFrame::Box | QFrame::Sunken);
        Shape1[static_cast<std::size_t>(i)] = f;
    }

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("伝票入力"), 0, 0, 266, 36);
    lblTITLE->setIndent(12);
    QFont titleFont = lblTITLE->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    lblTITLE->setFont(titleFont);

    int labelIndex = 0;
    const auto caption = [this, &labelIndex](const QString &text, const QRect &g) {
        QLabel *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), labelIndex++), text, g.x(), g.y(),
                                          g.width(), g.height());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto box = [this](int index, const QRect &g, int limit) {
        QLineEdit *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtDATA"), index), g.x(), g.y(), g.width(),
                                              g.height());
        limitCharacters(e, limit);
        setSelectAllOnFocus(e);
        connect(e, &QLineEdit::textChanged, this, [this] { changed_ = true; });
        txtDATA[static_cast<std::size_t>(index)] = e;
        return e;
    };
    const auto combo = [this](int index, const QRect &g, bool editable) {
        auto *c = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbDATA"), index), g.x(), g.y(), g.width(),
                                         g.height());
        c->setEditable(editable);
        if (editable) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setCompleter(nullptr);
            setDropDownOnFocus(c);
        }
        c->setMaxVisibleItems(16);
        cmbDATA[static_cast<std::size_t>(index)] = c;
        return c;
    };

    caption(QStringLiteral("ID"), twipsRect(300, 825, 975, 390));
    const QRect id = twipsRect(1350, 750, 1500, 450);
    lblDATA[kLblLedgeId] = makeCaptioned<QLabel>(this, QStringLiteral("lblDATA_0"), QString(), id.x(), id.y(), id.width(),
                                       id.height());
    lblDATA[kLblLedgeId]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblDATA[kLblLedgeId]->setAlignment(Qt::AlignCenter);

    // The grower box is kept with the voucher but never shown.
    QLabel *grower = caption(QStringLiteral("生産者"), twipsRect(6450, 825, 975, 390));
    combo(kCmbGrower, twipsRect(7500, 750, 3000, 435), false);
    grower->hide();
    cmbDATA[kCmbGrower]->hide();

    caption(QStringLiteral("日付"), twipsRect(300, 1425, 975, 390));
    box(kBoxDate, twipsRect(1350, 1350, 2190, 450), 10)->setAlignment(Qt::AlignCenter);
    txtDATA[kBoxDate]->setAttribute(Qt::WA_InputMethodEnabled, false);
    caption(QStringLiteral("相手先"), twipsRect(300, 2025, 975, 390));
    box(kBoxCounterparty, twipsRect(1350, 1950, 5000, 450), 50);

    for (int side = 0; side < 2; ++side) {
        const int x = side == 0 ? 150 : 6210;
        QLabel *head = caption(side == 0 ? QStringLiteral("借方") : QStringLiteral("貸方"), twipsRect(x + 150, 2800, 900, 390));
        head->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFont bold = head->font();
        bold.setBold(true);
        head->setFont(bold);
        caption(QStringLiteral("科目"), twipsRect(x + 150, 3375, 825, 390));
        combo(kCmbDebitAcc + side, twipsRect(x + 1050, 3300, 4650, 435), true);
        QLabel *opt = caption(QStringLiteral("補助"), twipsRect(x + 150, 3975, 825, 390));
        opt->hide();
        combo(kCmbDebitOpt + side, twipsRect(x + 1050, 3900, 4650, 435), true)->hide();
        caption(QStringLiteral("摘要"), twipsRect(x + 150, 4575, 825, 390));
        box(kBoxDebitText + side, twipsRect(x + 1050, 4500, 4650, 450), 50);
    }

    caption(QStringLiteral("備考"), twipsRect(300, 5925, 975, 390));
    box(kBoxNotes, twipsRect(1350, 5850, 7000, 450), 50);
    caption(QStringLiteral("金額"), twipsRect(300, 6525, 975, 390));
    box(kBoxAmount, twipsRect(1350, 6450, 2500, 450), 12);
    txtDATA[kBoxAmount]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtDATA[kBoxAmount]->setAttribute(Qt::WA_InputMethodEnabled, false);

    makeMenuButton(kMenuRegister, QStringLiteral("登録"), 150, 7575, 1600, 1000);
    makeMenuButton(kMenuClose, QStringLiteral("閉じる"), 10350, 7575, 1800, 1000);

    picker_ = new DatePicker(*this);
    picker_->addBox(kBoxDate, txtDATA[kBoxDate]);
    picker_->setCondition([] { return gEditMode == kEditAdd || gEditMode == kEditModify; });
    picker_->hideOn({QStringLiteral("txtDATA"), QStringLiteral("cmbDATA"), QStringLiteral("cmdMENU")});

    const QList<QWidget *> order{txtDATA[kBoxDate],      txtDATA[kBoxCounterparty], cmbDATA[kCmbDebitAcc],
                                 cmbDATA[kCmbDebitOpt],  txtDATA[kBoxDebitText],    cmbDATA[kCmbCreditAcc],
                                 cmbDATA[kCmbCreditOpt], txtDATA[kBoxCreditText],   txtDATA[kBoxNotes],
                                 txtDATA[kBoxAmount],    cmdMENU[kMenuRegister],    cmdMENU[kMenuClose]};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---- events --------------------------------------------------------------------------------

bool frmLedgeInput::validate(QWidget *control)
{
    for (int i = 0; i < kBoxCount; ++i) {
        if (control == txtDATA[static_cast<std::size_t>(i)]) {
            txtDATA_Validate(i);
            return true;
        }
    }
    for (int i = 0; i < kCmbCount; ++i) {
        if (control == cmbDATA[static_cast<std::size_t>(i)])
            return cmbDATA_Validate(i);
    }
    return true;
}

void frmLedgeInput::gotFocus(QWidget *control)
{
    if (refusing_)
        return;
    picker_->gotFocus(control);
}

Trap frmLedgeInput::trapFor(Event event, QWidget *control) const
{
    const QString name = control ? control->objectName() : QString();
    switch (event) {
    case Event::Load:
    case Event::Activate:
    case Event::Click:
    case Event::LostFocus:
        return Trap::Standard;
    case Event::GotFocus:
    case Event::Validate:
        return name.startsWith(QLatin1String("txtDATA")) ? Trap::Standard : Trap::Plain;
    case Event::Resize:
    case Event::Unload:
    case Event::KeyPress:
        return Trap::Plain;
    }
    return Trap::Standard;
}

// ---- procedures ----------------------------------------------------------------------------

void frmLedgeInput::InitForm()
{
    work = LedgeRec();
    optKbn_ = {0, 0};
    for (int i = kCmbDebitOpt; i <= kCmbCreditOpt; ++i) {
        cmbDATA[static_cast<std::size_t>(i)]->clear();
        cmbDATA[static_cast<std::size_t>(i)]->hide();
    }
    picker_->hide();
    for (int i = 0; i < kCmbCount; ++i)
        SetCmb(i);
}

void frmLedgeInput::SetCmb(int index)
{
    if (index == kCmbDebitAcc || index == kCmbCreditAcc) {
        QComboBox *box = cmbDATA[static_cast<std::size_t>(index)];
        box->clear();
        box->addItem(QString(), QVariant(qlonglong(0)));
        addPickRows(box, workDb(),
                             QStringLiteral("SELECT  L_ACC.ACC_ID,  L_ACC.ACC_NM  FROM L_ACC  ORDER BY ACC_ID"));
    } else if (index == kCmbGrower) {
        QComboBox *box = cmbDATA[kCmbGrower];
        box->setCurrentIndex(-1);
        box->clear();
        box->addItem(QString(), QVariant(qlonglong(0)));
        addPickRows(box, masterDb(), QStringLiteral(
                             "SELECT  M_FMR.FMR_ID,  M_FMR.FMR_NM  FROM M_FMR  WHERE CHK_FLG<>0 ORDER BY FMR_ID"));
    }
}

void frmLedgeInput::SetCmbOpt(int index)
{
    if (index != kCmbDebitOpt && index != kCmbCreditOpt)
        return;
    QComboBox *box = cmbDATA[static_cast<std::size_t>(index)];
    box->clear();
    box->addItem(QString(), QVariant(qlonglong(0)));
    box->setCurrentIndex(-1);
    const long kind = optKbn_[static_cast<std::size_t>(index - kCmbDebitOpt)];
    QString sql;
    if (kind == kOptPlant)
        sql = QStringLiteral("SELECT  D_PLANT.PLANT_ID,  D_PLANT.PLANT_NM  FROM D_PLANT  WHERE FMR_ID=? ORDER BY PLANT_ID");
    else if (kind == kOptChemi)
        sql = QStringLiteral("SELECT  D_CHEMI.CHEMI_ID,  D_CHEMI.CHEMI_NM  FROM D_CHEMI  WHERE FMR_ID=? AND CHK_FLG<>0 "
                             "ORDER BY CHEMI_ID");
    if (sql.isEmpty())
        return;
    addPickRows(box, dataDb(), sql, {Value(currentFmrId())});
    box->setCurrentIndex(-1);
}

void frmLedgeInput::newRowDefaults(LedgeRec &r)
{
    r.FMR_ID = gFmrID;
    r.LEDGE_DATE = Value(QDateTime(QDate::currentDate(), QTime(0, 0)));
    for (Value *v : {&r.LEDGE_ID, &r.CTR_NM, &r.D_ACC_ID, &r.C_ACC_ID, &r.D_OPT_ID, &r.C_OPT_ID, &r.D_OPT_NM,
                     &r.C_OPT_NM, &r.AMT, &r.NOTES, &r.UDATE})
        *v = Value::null();
}

void frmLedgeInput::applyOptRule(int side, long kind)
{
    QComboBox *box = cmbDATA[static_cast<std::size_t>(kCmbDebitOpt + side)];
    long &current = optKbn_[static_cast<std::size_t>(side)];
    if (kind == 0) {
        box->hide();
        current = 0;
        return;
    }
    if (kind == current)
        return;
    current = kind;
    SetCmbOpt(kCmbDebitOpt + side);
    box->show();
}

void frmLedgeInput::DispData()
{
    const auto text = [](const Value &v) { return NullToVal(v, Value("")).displayText(); };
    lblDATA[kLblLedgeId]->setText(text(work.LEDGE_ID));
    txtDATA[kBoxDate]->setText(ledgeDateText(work.LEDGE_DATE));
    txtDATA[kBoxCounterparty]->setText(text(work.CTR_NM));
    txtDATA[kBoxDebitText]->setText(text(work.D_OPT_NM));
    txtDATA[kBoxCreditText]->setText(text(work.C_OPT_NM));
    txtDATA[kBoxAmount]->setText(text(work.AMT));
    txtDATA[kBoxNotes]->setText(text(work.NOTES));

    cmbDATA[kCmbGrower]->setCurrentIndex(0);
    if (!isBlank(work.FMR_ID)) {
        const int i = findItemId(cmbDATA[kCmbGrower], IdOrZero(work.FMR_ID));
        if (i >= 0)
            cmbDATA[kCmbGrower]->setCurrentIndex(i);
    }
    const Value *accounts[2] = {&work.D_ACC_ID, &work.C_ACC_ID};
    const Value *options[2] = {&work.D_OPT_ID, &work.C_OPT_ID};
    for (int side = 0; side < 2; ++side) {
        QComboBox *acc = cmbDATA[static_cast<std::size_t>(kCmbDebitAcc + side)];
        acc->setCurrentIndex(0);
        if (!isBlank(*accounts[side])) {
            const long id = IdOrZero(*accounts[side]);
            const int i = findItemId(acc, id);
            if (i >= 0)
                acc->setCurrentIndex(i);
            applyOptRule(side, AccountOptKind(id));
        }
    }
    for (int side = 0; side < 2; ++side) {
        QComboBox *opt = cmbDATA[static_cast<std::size_t>(kCmbDebitOpt + side)];
        opt->setCurrentIndex(isBlank(*options[side]) ? -1 : findItemId(opt, IdOrZero(*options[side])));
    }
    changed_ = false;
}

// A typed text must name an item; one that names none keeps the focus, without a message.
bool frmLedgeInput::cmbDATA_Validate(int index)
{
    QComboBox *box = cmbDATA[static_cast<std::size_t>(index)];
    const QString t = box->currentText();
    if (t.isEmpty()) {
        box->setCurrentIndex(-1);
    } else if (box->currentIndex() < 0 || box->itemText(box->currentIndex()) != t) {
        const int found = box->findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found < 0)
            return false;
        box->setCurrentIndex(found);
    }
    const int selected = box->currentIndex();
    const long id = selected >= 0 ? itemId(box, selected) : 0;
    switch (index) {
    case kCmbDebitAcc:
    case kCmbCreditAcc: {
        const int side = index - kCmbDebitAcc;
        (side == 0 ? work.D_ACC_ID : work.C_ACC_ID) = Value(id);
        const long before = optKbn_[static_cast<std::size_t>(side)];
        try {
            applyOptRule(side, selected >= 0 ? AccountOptKind(id) : 0);
        } catch (...) {
            // The account's options could not be read: the side shows and holds none, and the
            // next time the account is left they are read again.
            QComboBox *opt = cmbDATA[static_cast<std::size_t>(kCmbDebitOpt + side)];
            opt->clear();
            opt->hide();
            optKbn_[static_cast<std::size_t>(side)] = kOptUnread;
            (side == 0 ? work.D_OPT_ID : work.C_OPT_ID) = Value::null();
            throw;
        }
        // An option names a planting or a purchase only under an account of that kind: when the
        // kind changes, the side's option goes.
        if (optKbn_[static_cast<std::size_t>(side)] != before)
            (side == 0 ? work.D_OPT_ID : work.C_OPT_ID) = Value::null();
        break;
    }
    case kCmbDebitOpt:
        work.D_OPT_ID = Value(id);
        break;
    case kCmbCreditOpt:
        work.C_OPT_ID = Value(id);
        break;
    default:
        break;
    }
    return true;
}

// A changed box goes into the voucher as typed; the checks come before the save.
void frmLedgeInput::txtDATA_Validate(int index)
{
    if (!changed_)
        return;
    // In the order of the slots.
    Value *fields[kBoxCount] = {&work.LEDGE_DATE, &work.CTR_NM, &work.D_OPT_NM, &work.C_OPT_NM, &work.AMT, &work.NOTES};
    *fields[index] = textValue(txtDATA[static_cast<std::size_t>(index)]);
    DispData();
}

// The date must be a date and the amount a number (either may be left empty); what is saved is
// what the boxes show.
bool frmLedgeInput::ChkData()
{
    if (gEditMode != kEditAdd && gEditMode != kEditModify)
        return true;
    const auto refuse = [this](QLineEdit *box, const QString &msg) {
        ShowMsg(msg, kMsgExclamation);
        // The box takes the focus without its picker, which would report the text once more.
        refusing_ = true;
        box->setFocus();
        box->selectAll();
        refusing_ = false;
        return false;
    };
    Value date = Value::null();
    if (!txtDATA[kBoxDate]->text().isEmpty()) {
        QDateTime dt;
        if (!parseDateText(txtDATA[kBoxDate]->text(), &dt))
            return refuse(txtDATA[kBoxDate], kNoDateMsg);
        date = Value(QDateTime(dt.date(), QTime(0, 0)));
    }
    Value amount = Value::null();
    if (!txtDATA[kBoxAmount]->text().trimmed().isEmpty()) {
        double v = 0;
        if (!parseNumber(txtDATA[kBoxAmount]->text(), &v) || std::fabs(v) >= 922337203685477.0)
            return refuse(txtDATA[kBoxAmount], kNotNumberMsg);
        amount = Value(Currency::fromDouble(v));
    }
    work.LEDGE_DATE = date;
    work.AMT = amount;
    work.CTR_NM = textValue(txtDATA[kBoxCounterparty]);
    work.D_OPT_NM = textValue(txtDATA[kBoxDebitText]);
    work.C_OPT_NM = textValue(txtDATA[kBoxCreditText]);
    work.NOTES = textValue(txtDATA[kBoxNotes]);
    SetLedgeOptKinds(work);
    return true;
}

std::vector<LoadedRows> frmLedgeInput::loadedRowsOf(const LedgeRec &row)
{
    return LoadedLedge(row);
}

// A failure is reported and leaves the voucher in the window as it was; a voucher gone meanwhile
// writes nothing and closes the window.
bool frmLedgeInput::SaveData()
{
    const int mode = gEditMode;
    if (mode != kEditAdd && mode != kEditModify && mode != kEditDelete)
        return false;
    LedgeRec saved = work;
    LedgeSaveResult result = LedgeSaveResult::Saved;
    if (!trapped(Trap::Standard, [&] { result = SaveLedge(dataDb(), mode, currentFmrId(), saved, loaded); }))
        return false;
    if (result == LedgeSaveResult::Missing) {
        rowGone();  // deleted meanwhile elsewhere: nothing was written
        return false;
    }
    work = saved;
    if (mode != kEditDelete)
        gLastLedgeID = saved.LEDGE_ID;
    return true;
}

}  // namespace hb
