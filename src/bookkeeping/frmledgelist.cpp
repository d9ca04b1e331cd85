#include "bookkeeping/frmledgelist.h"

#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/ledgelist.h"
#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/filters.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/waitcursor.h"
#include "core/picklist.h"
#include "core/textlimit.h"

#include <QApplication>
#include <QHash>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace hb {

frmLedgeList::frmLedgeList() : ListForm(QStringLiteral("frmLedgeList"))
{
    setWindowTitle(QStringLiteral("伝票一覧"));
    setDesignSize(12400, 9200);
    buildControls();
}

void frmLedgeList::buildControls()
{
    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("伝票一覧"), 0, 0, 266, 36);
    lblTITLE->setIndent(12);
    QFont titleFont = lblTITLE->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    lblTITLE->setFont(titleFont);

    const auto caption = [this](int index, const QString &text, const QRect &g) {
        QLabel *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), index), text, g.x(), g.y(), g.width(),
                                          g.height());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto box = [this](int index, const QRect &g, int limit) {
        QLineEdit *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtCOND"), index), g.x(), g.y(), g.width(),
                                              g.height());
        limitCharacters(e, limit);
        setSelectAllOnFocus(e);
        txtCOND[static_cast<std::size_t>(index)] = e;
        return e;
    };

    caption(3, QStringLiteral("年度"), twipsRect(5700, 150, 840, 390));
    QLineEdit *year = box(kCondYear, twipsRect(6600, 100, 1140, 450), 10);
    year->setReadOnly(true);
    year->setFocusPolicy(Qt::NoFocus);
    year->setAlignment(Qt::AlignCenter);
    year->setAttribute(Qt::WA_InputMethodEnabled, false);
    QPalette grey = year->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        grey.setColor(g, QPalette::Base, palette().color(QPalette::Window));
    year->setPalette(grey);

    caption(0, QStringLiteral("種類"), twipsRect(8025, 150, 1065, 390));
    const QRect f = twipsRect(9150, 0, 3015, 540);
    Frame1 = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame1"), QString(), f.x(), f.y(), f.width(), f.height());
    const QRect o0 = twipsRect(375, 150, 1000, 315);
    const QRect o1 = twipsRect(1650, 150, 1000, 315);
    Option1[kViewVouchers] = makeCaptioned<QRadioButton>(Frame1, QStringLiteral("Option1_0"), QStringLiteral("伝票"),
                                                         o0.x(), o0.y(), o0.width(), o0.height());
    Option1[kViewLedger] = makeCaptioned<QRadioButton>(Frame1, QStringLiteral("Option1_1"), QStringLiteral("元帳"),
                                                       o1.x(), o1.y(), o1.width(), o1.height());
    Option1[kViewVouchers]->setChecked(true);
    for (QRadioButton *o : Option1) {
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                trapped(Trap::Plain, [this] { Option1_Click(); });
        });
    }

    caption(1, QStringLiteral("科目"), twipsRect(600, 825, 765, 390));
    const QRect c = twipsRect(1425, 750, 4000, 435);
    auto *acc = makeControl<QComboBox>(this, QStringLiteral("cmbCOND_0"), c.x(), c.y(), c.width(), c.height());
    acc->setEditable(true);
    acc->setInsertPolicy(QComboBox::NoInsert);
    acc->setCompleter(nullptr);
    acc->setMaxVisibleItems(16);
    cmbCOND[kCmbAccount] = acc;

    caption(2, QStringLiteral("相手名"), twipsRect(5700, 825, 1065, 390));
    box(kCondCounterparty, twipsRect(6825, 750, 3255, 450), 50);

    const QRect fb = twipsRect(10500, 825, 1600, 1000);
    cmdFIND = makeCaptioned<QPushButton>(this, QStringLiteral("cmdFIND"), QStringLiteral("検索"), fb.x(), fb.y(),
                                         fb.width(), fb.height());
    onClick(cmdFIND, [this] { cmdFIND_Click(); });

    caption(15, QStringLiteral("日付"), twipsRect(525, 1425, 840, 390));
    box(kCondFrom, twipsRect(1425, 1350, 2190, 450), 10);
    QLabel *tilde = caption(16, QStringLiteral("～"), twipsRect(3675, 1350, 390, 390));
    tilde->setAlignment(Qt::AlignCenter);
    box(kCondTo, twipsRect(4125, 1350, 2190, 450), 10);
    for (int i : {kCondFrom, kCondTo}) {
        txtCOND[static_cast<std::size_t>(i)]->setAlignment(Qt::AlignCenter);
        txtCOND[static_cast<std::size_t>(i)]->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    makeListView(0, 1950, 12240, 5040);
    ListView1->setAlternatingRowColors(true);

    const auto sumCap = [this](int index, const QString &text, const QRect &g) {
        QLabel *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("lblSUM_CAP"), index), text, g.x(), g.y(),
                                          g.width(), g.height());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblSUM_CAP[static_cast<std::size_t>(index)] = l;
    };
    const auto sum = [this](int index, const QRect &g) {
        QLabel *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("lblSUM"), index), QStringLiteral("0"), g.x(),
                                          g.y(), g.width(), g.height());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMargin(2);
        lblSUM[static_cast<std::size_t>(index)] = l;
    };
    sumCap(kSumCapCount, QStringLiteral("件数"), twipsRect(1500, 7050, 1065, 390));
    sum(kSumCount, twipsRect(2625, 7050, 1020, 390));
    sumCap(kSumCapLedger, QStringLiteral("合　計"), twipsRect(3900, 7050, 990, 390));
    sum(kSumOpening, twipsRect(4950, 7050, 1800, 390));
    sum(kSumIncreases, twipsRect(6745, 7050, 1695, 390));
    sum(kSumDecreases, twipsRect(8435, 7050, 1695, 390));
    sumCap(kSumCapVouchers, QStringLiteral("合　計"), twipsRect(9000, 7050, 1065, 390));
    sum(kSumTotal, twipsRect(10125, 7050, 1800, 390));

    std::array<QRect, kMenuCount> buttons;
    buttons[kMenuClose] = QRect(10350, 7575, 1800, 1000);
    for (int i = kMenuAdd; i <= kMenuPrint; ++i)
        buttons[static_cast<std::size_t>(i)] = QRect(150 + (i - kMenuAdd) * 1650, 7575, 1600, 1000);
    makeMenuButtons(buttons);

    picker_ = new DatePicker(*this, 7725, 3075);
    picker_->addBox(kCondFrom, txtCOND[kCondFrom]);
    picker_->addBox(kCondTo, txtCOND[kCondTo]);
    picker_->hideOn({QStringLiteral("txtCOND"), QStringLiteral("cmbCOND"), QStringLiteral("cmdFIND"),
                     QStringLiteral("Option1"), QStringLiteral("ListView1")});

    const QList<QWidget *> order{Option1[kViewVouchers],     Option1[kViewLedger], cmbCOND[kCmbAccount],
                                 txtCOND[kCondCounterparty], txtCOND[kCondFrom],   txtCOND[kCondTo],
                                 cmdFIND,                    ListView1,            cmdMENU[kMenuAdd],
                                 cmdMENU[kMenuModify],       cmdMENU[kMenuView],   cmdMENU[kMenuDelete],
                                 cmdMENU[kMenuCopy],         cmdMENU[kMenuPrint],  cmdMENU[kMenuClose]};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---- events ----------------------------------------------------------------------------------

// A new showing starts as laid out: the voucher list, no counterparty, the list's captions.
void frmLedgeList::onLoad()
{
    ListForm::onLoad();
    viewKbn_ = kViewVouchers;
    {
        const QSignalBlocker b0(Option1[kViewVouchers]);
        const QSignalBlocker b1(Option1[kViewLedger]);
        Option1[kViewVouchers]->setChecked(true);
    }
    txtCOND[kCondCounterparty]->clear();
    picker_->hide();
    for (QLabel *l : lblSUM)
        l->setText(QStringLiteral("0"));
}

bool frmLedgeList::validate(QWidget *control)
{
    if (control != cmbCOND[kCmbAccount])
        return true;
    // A typed account must be an item: the first item of that text is chosen; an empty text
    // chooses none. Any other text keeps the focus, without a message.
    QComboBox *box = cmbCOND[kCmbAccount];
    const QString t = box->currentText();
    if (t.isEmpty()) {
        box->setCurrentIndex(-1);
        return true;
    }
    if (box->currentIndex() >= 0 && box->itemText(box->currentIndex()) == t)
        return true;
    const int found = box->findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found < 0)
        return false;
    box->setCurrentIndex(found);
    return true;
}

void frmLedgeList::gotFocus(QWidget *control)
{
    picker_->gotFocus(control);
}

Trap frmLedgeList::trapFor(Event event, QWidget *control) const
{
    switch (event) {
    case Event::KeyPress:
        return Trap::Plain;
    case Event::Validate:
        return control == cmbCOND[kCmbAccount] ? Trap::Plain : Trap::Standard;
    default:
        return Trap::Standard;
    }
}

void frmLedgeList::Option1_Click()
{
    viewKbn_ = Option1[kViewLedger]->isChecked() ? kViewLedger : kViewVouchers;
    DispForm();
}

void frmLedgeList::cmdFIND_Click()
{
    WaitCursor wait;
    SetList();
}

void frmLedgeList::cmdMENU_Click(int index)
{
    ListForm::cmdMENU_Click(index);
    if (index != kMenuClose && isLoaded() && ListView1->isEnabled())
        ListView1->setFocus();
}

Form &frmLedgeList::inputWindow()
{
    return form<frmLedgeInput>();
}

// Modify and delete are refused for vouchers that the diary, a purchase or a shipment made.
bool frmLedgeList::mayOpen(int mode, long row)
{
    if (mode != kEditModify && mode != kEditDelete)
        return true;
    if (row < 0 || row >= static_cast<long>(gLedge.size()))
        return false;
    const LedgeRec &r = gLedge[static_cast<std::size_t>(row)];
    return !RefuseGeneratedLedge(IdOrZero(r.FMR_ID), IdOrZero(r.LEDGE_ID), mode);
}

// ---- procedures ------------------------------------------------------------------------------

void frmLedgeList::InitForm()
{
    SetCmb(kCmbAccount);
    SetCmb(1);
    cmbCOND[kCmbAccount]->setCurrentIndex(0);
    QDate month = gCalMonth.isValid() ? gCalMonth : QDate::currentDate();
    month = QDate(month.year(), month.month(), 1);
    txtCOND[kCondFrom]->setText(month.toString(QStringLiteral("yyyy/MM/dd")));
    txtCOND[kCondTo]->setText(month.addMonths(1).addDays(-1).toString(QStringLiteral("yyyy/MM/dd")));
    txtCOND[kCondYear]->setText(QString::number(month.year()));
    picker_->hide();
    // The view's columns and captions; the first refresh follows.
    InitList();
    dispCaptions();
}

void frmLedgeList::SetCmb(int index)
{
    if (index != kCmbAccount)
        return;
    QComboBox *box = cmbCOND[kCmbAccount];
    box->setCurrentIndex(-1);
    box->clear();
    box->addItem(QString(), QVariant(qlonglong(0)));
    addPickRows(box, workDb(),
                         QStringLiteral("SELECT  L_ACC.ACC_ID,  L_ACC.ACC_NM  FROM L_ACC  ORDER BY ACC_ID"));
}

void frmLedgeList::InitList()
{
    const auto left = Qt::AlignLeft;
    const auto right = Qt::AlignRight;
    const auto centre = Qt::AlignHCenter;
    if (viewKbn_ == kViewVouchers) {
        setColumns({{QStringLiteral("LEDGE_ID"), QStringLiteral("ID"), 0, left},
                    {QStringLiteral("LEDGE_DATE"), QStringLiteral("日付"), 1900, centre},
                    {QStringLiteral("D_ACC_ID"), QStringLiteral("借方"), 1900, left},
                    {QStringLiteral("C_ACC_ID"), QStringLiteral("貸方"), 1900, left},
                    {QStringLiteral("CTR_NM"), QStringLiteral("相手先"), 2200, left},
                    {QStringLiteral("NOTES"), QStringLiteral("備考"), 2200, left},
                    {QStringLiteral("AMT"), QStringLiteral("金額"), 1800, right}});
    } else {
        setColumns({{QStringLiteral("LEDGE_ID"), QStringLiteral("ID"), 0, left},
                    {QStringLiteral("LEDGE_DATE"), QStringLiteral("日付"), 1900, centre},
                    {QStringLiteral("ID"), QStringLiteral("科目"), 1600, left},
                    {QStringLiteral("CTR_NM"), QStringLiteral("相手先"), 1600, left},
                    {QStringLiteral("NOTES"), QStringLiteral("備考"), 1600, left},
                    {QStringLiteral("D_AMT"), QStringLiteral("借方"), 1700, right},
                    {QStringLiteral("C_AMT"), QStringLiteral("貸方"), 1700, right},
                    {QStringLiteral("BLC"), QStringLiteral("残高"), 1800, right}});
    }
}

void frmLedgeList::DispForm()
{
    InitList();
    dispCaptions();
    SetList();
    sendTab();
}

void frmLedgeList::dispCaptions()
{
    const bool ledger = viewKbn_ == kViewLedger;
    const QString title = ledger ? QStringLiteral("元帳一覧") : QStringLiteral("伝票一覧");
    setWindowTitle(title);
    lblTITLE->setText(title);
    for (int i = kSumOpening; i <= kSumDecreases; ++i)
        lblSUM[static_cast<std::size_t>(i)]->setVisible(ledger);
    lblSUM_CAP[kSumCapLedger]->setVisible(ledger);
    lblSUM_CAP[kSumCapVouchers]->setVisible(!ledger);
    lblSUM[kSumTotal]->setVisible(true);
}

void frmLedgeList::clearSums()
{
    for (QLabel *l : lblSUM)
        l->clear();
}

void frmLedgeList::emptyList()
{
    ListView1->clearSelection();
    gLedge.assign(1, LedgeRec());
    clearRows();
    clearSums();
}

void frmLedgeList::SetList()
{
    const Search searching(*this);
    // The period is read before any statement; a box that holds no date is refused (one message,
    // the focus in the box) and the list, its totals and gLedge are left empty.
    std::optional<QDate> from;
    std::optional<QDate> to;
    if (!filterDate(txtCOND[kCondFrom], &from) || !filterDate(txtCOND[kCondTo], &to)) {
        emptyList();
        return;
    }
    const bool ledger = viewKbn_ == kViewLedger;
    const int accIndex = cmbCOND[kCmbAccount]->currentIndex();
    if (ledger && accIndex < 1) {
        clearRows();
        clearSums();
        return;
    }
    bool yearOk = false;
    const int year = txtCOND[kCondYear]->text().toInt(&yearOk);

    LedgeFilter filter;
    filter.fmrId = currentFmrId();
    filter.accId = accIndex >= 1 ? itemId(cmbCOND[kCmbAccount], accIndex) : 0;
    filter.counterparty = txtCOND[kCondCounterparty]->text();
    filter.from = from;
    filter.to = to;
    filter.yearStart = yearOk ? std::optional<QDate>(QDate(year, 1, 1)) : std::nullopt;
    const long acc = filter.accId;

    // The ledger's opening balance, from the vouchers before the period.
    std::optional<AccountBalance> balance;
    if (ledger)
        balance = LedgerOpening(dataDb(), workDb(), filter);

    ListView1->clearSelection();
    gLedge.assign(1, LedgeRec());
    clearRows();
    const QHash<long, QString> accNames = AccountNames(workDb());
    const auto accName = [&accNames](const Value &id) {
        return isBlank(id) ? QString() : accNames.value(IdOrZero(id));
    };
    const auto text = [](const Value &v) { return NullToVal(v, Value("")).displayText(); };

    if (LoadLedges(dataDb(), filter, gLedge)) {
        ListView1->setUpdatesEnabled(false);
        for (const LedgeRec &r : gLedge) {
            const QString date = ledgeDateText(r.LEDGE_DATE);
            if (!ledger) {
                addRow({text(r.LEDGE_ID), date, accName(r.D_ACC_ID), accName(r.C_ACC_ID), text(r.CTR_NM),
                        text(r.NOTES), isBlank(r.AMT) ? QString() : FormatLedgeAmount(r.AMT.toCurrency())});
                continue;
            }
            const bool debitIsAcc = IdOrZero(r.D_ACC_ID) == acc && !r.D_ACC_ID.isNull();
            const bool creditIsAcc = IdOrZero(r.C_ACC_ID) == acc && !r.C_ACC_ID.isNull();
            // A voucher without amount shows empty amount cells and adds nothing.
            const bool noAmount = isBlank(r.AMT);
            const AccountBalance::Step step = balance->post(creditIsAcc, noAmount ? Currency{} : r.AMT.toCurrency());
            addRow({text(r.LEDGE_ID), date, debitIsAcc ? accName(r.C_ACC_ID) : accName(r.D_ACC_ID), text(r.CTR_NM),
                    text(r.NOTES), noAmount ? QString() : FormatLedgeAmount(step.increase),
                    noAmount ? QString() : FormatLedgeAmount(step.decrease), FormatLedgeAmount(balance->balance())});
        }
        ListView1->setUpdatesEnabled(true);
        long chosen = -1;
        if (!gLastLedgeID.isEmpty() && !gLastLedgeID.isNull()) {
            for (std::size_t i = 0; i < gLedge.size(); ++i) {
                if (IdOrZero(gLedge[i].LEDGE_ID) == IdOrZero(gLastLedgeID))
                    chosen = static_cast<long>(i);
            }
        }
        selectRow(chosen >= 0 ? chosen : 0);
    }

    const std::optional<LedgeTotals> totals = LedgeListTotals(dataDb(), filter);
    const QString count = totals ? FormatLedgeAmount(Currency::fromScaled(totals->count * 10000)) : QString();
    if (!totals) {
        clearSums();
    } else if (!ledger) {
        lblSUM[kSumCount]->setText(count);
        lblSUM[kSumTotal]->setText(totals->sum.isNull() || totals->sum.isEmpty() ? QString() : FormatLedgeAmount(totals->sum.toCurrency()));
    } else {
        lblSUM[kSumCount]->setText(count);
        lblSUM[kSumOpening]->setText(FormatLedgeAmount(balance->opening()));
        lblSUM[kSumIncreases]->setText(FormatLedgeAmount(balance->increases()));
        lblSUM[kSumDecreases]->setText(FormatLedgeAmount(balance->decreases()));
        lblSUM[kSumTotal]->setText(FormatLedgeAmount(balance->balance()));
    }
}

}  // namespace hb
