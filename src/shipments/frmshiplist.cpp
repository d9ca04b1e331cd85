#include "shipments/frmshiplist.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/filters.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/waitcursor.h"
#include "core/textlimit.h"
#include "cultivation/plantrec.h"
#include "shipments/frmshipinput.h"
#include "shipments/shipcalc.h"
#include "shipments/shiplist.h"
#include "shipments/shipsave.h"
#include "shipments/shiprec.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace hb {

namespace {

constexpr int kPlantIdRole = Qt::UserRole;
constexpr int kFmrIdRole = Qt::UserRole + 1;

}  // namespace

frmShipList::frmShipList() : ListForm(QStringLiteral("frmShipList"))
{
    setWindowTitle(QStringLiteral("出荷一覧"));
    setDesignSize(12400, 9200);
    setRowRule(RowRule::SelectedItem);

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("出荷一覧"), 15, 8, 200, 30);
    QFont f = lblTITLE->font();
    f.setPointSize(14);
    f.setBold(true);
    lblTITLE->setFont(f);

    const auto label = [this](int n, const QString &text, int x, int y, int w) {
        return makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), n), text, x, y, w, 24);
    };
    const auto cond = [this](int i, int x, int w, int maxLength, Qt::Alignment align) {
        auto *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtCOND"), i), x, 52, w, 24);
        limitCharacters(e, maxLength);
        e->setAlignment(align);
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
        setSelectAllOnFocus(e);
        txtCOND[static_cast<std::size_t>(i)] = e;
    };
    label(0, QStringLiteral("年"), 15, 52, 20);
    cond(kCondYear, 38, 56, 4, Qt::AlignRight);
    label(1, QStringLiteral("出荷日"), 110, 52, 50);
    cond(kCondFrom, 160, 100, 10, Qt::AlignHCenter);
    label(2, QStringLiteral("～"), 264, 52, 16);
    cond(kCondTo, 282, 100, 10, Qt::AlignHCenter);

    Frame1 = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral("状況"), 400, 36, 300, 48);
    const char *const states[kShipStateCount] = {"出荷前", "出荷中", "完了", "全て"};
    for (int i = 0; i < kShipStateCount; ++i) {
        Option1[static_cast<std::size_t>(i)] = makeCaptioned<QRadioButton>(
            Frame1, ctlName(QStringLiteral("Option1"), i), QString::fromUtf8(states[i]), 10 + i * 72, 18, 70, 24);
    }
    Option1[kShipStateAny]->setChecked(true);
    cmdFIND = makeCaptioned<QPushButton>(this, QStringLiteral("cmdFIND"), QStringLiteral("検索"), 712, 46, 90, 34);
    onClick(cmdFIND, [this] {
        WaitCursor wait;
        SetList1();
    });

    label(3, QStringLiteral("作付"), 15, 92, 60);
    List1 = makeControl<QListWidget>(this, QStringLiteral("List1"), 15, 114, 190, 374);
    QObject::connect(List1, &QListWidget::currentRowChanged, this, [this](int) {
        if (isLoaded())
            trapped(Trap::Standard, [this] { SetList2(); });
    });

    makeListView(3225, 1380, 8790, 5940);  // 215, 92 .. 801, 488 pixels

    // The totals stand under their columns (ListView1's columns 4 to 8).
    label(4, QStringLiteral("合　計"), 215, 494, 70);
    const int sumX[kShipSumCount] = {369, 449, 529, 622, 722};
    const int sumW[kShipSumCount] = {80, 80, 93, 100, 80};
    for (int i = 0; i < kShipSumCount; ++i) {
        auto *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("lblSUM"), i), QStringLiteral("0"), sumX[i], 494,
                                        sumW[i], 24);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblSUM[static_cast<std::size_t>(i)] = l;
    }

    std::array<QRect, kMenuCount> g;
    for (int i = kMenuAdd; i <= kMenuPrint; ++i)
        g[static_cast<std::size_t>(i)] = QRect(225 + (i - kMenuAdd) * 1500, 8025, 1425, 540);
    g[kMenuClose] = QRect(10500, 8025, 1500, 540);
    makeMenuButtons(g);

    picker = new DatePicker(*this);
    picker->addBox(kCondFrom, txtCOND[kCondFrom]);
    picker->addBox(kCondTo, txtCOND[kCondTo]);
    picker->hideOn({QStringLiteral("txtCOND_0"), QStringLiteral("cmdFIND"), QStringLiteral("cmdMENU"),
                    QStringLiteral("List1"), QStringLiteral("Option1"), QStringLiteral("ListView1")});
}

Form &frmShipList::inputWindow()
{
    return form<frmShipInput>();
}

void frmShipList::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

Trap frmShipList::trapFor(Event event, QWidget *) const
{
    return plainFor(event, {Event::KeyPress});
}

void frmShipList::InitForm()
{
    const QDate month = gCalMonth.isValid() ? QDate(gCalMonth.year(), gCalMonth.month(), 1)
                                            : QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1);
    txtCOND[kCondYear]->setText(QString::number(month.year()));
    txtCOND[kCondFrom]->setText(month.toString(QStringLiteral("yyyy/MM/dd")));
    txtCOND[kCondTo]->setText(month.addMonths(1).addDays(-1).toString(QStringLiteral("yyyy/MM/dd")));
    InitList();
}

void frmShipList::InitList()
{
    setColumns({{QStringLiteral("SHIP_ID"), QStringLiteral("ID"), 0, Qt::AlignLeft},
                {QStringLiteral("SHIP_DATE"), QStringLiteral("月日"), 1000, Qt::AlignHCenter},
                {QStringLiteral("SHOP_PRC"), QStringLiteral("売価"), 1100, Qt::AlignRight},
                {QStringLiteral("SHIP_QTY"), QStringLiteral("出荷数"), 1200, Qt::AlignRight},
                {QStringLiteral("SALES_QTY"), QStringLiteral("売上数"), 1200, Qt::AlignRight},
                {QStringLiteral("DSC_AMT"), QStringLiteral("値引額"), 1400, Qt::AlignRight},
                {QStringLiteral("SALES_AMT"), QStringLiteral("売上額"), 1500, Qt::AlignRight},
                {QStringLiteral("FEE_AMT"), QStringLiteral("手数料"), 1200, Qt::AlignRight}});
}

void frmShipList::refresh()
{
    SetList1();
}

int frmShipList::shippingState() const
{
    for (int i = kShipStateNone; i < kShipStateAny; ++i) {
        if (Option1[static_cast<std::size_t>(i)]->isChecked())
            return i;
    }
    return kShipStateAny;
}

bool frmShipList::readFilters(Filters *f)
{
    if (filterYear(txtCOND[kCondYear], &f->year) && filterDate(txtCOND[kCondFrom], &f->from) &&
        filterDate(txtCOND[kCondTo], &f->to))
        return true;
    emptyList();
    return false;
}

void frmShipList::emptyList()
{
    clearRows();
    {
        const QSignalBlocker quiet(List1);
        List1->clear();
    }
    for (QLabel *l : lblSUM)
        l->clear();
    gShip.assign(1, ShipRec());
}

void frmShipList::SetList1()
{
    const Search searching(*this);
    Filters f;
    if (!readFilters(&f))
        return;
    const int state = shippingState();
    clearRows();
    {
        const QSignalBlocker quiet(List1);
        List1->clear();
        auto *blank = new QListWidgetItem(QString(), List1);
        blank->setData(kPlantIdRole, 0);
        blank->setData(kFmrIdRole, 0);
        listedYear_ = f.year;
        listedState_ = state;
        for (const ShipPlanting &p : QueryShipPlantings(dataDb(), f.year, state)) {
            auto *item = new QListWidgetItem(p.name, List1);
            item->setData(kPlantIdRole, QVariant::fromValue<qlonglong>(p.plantId));
            item->setData(kFmrIdRole, QVariant::fromValue<qlonglong>(p.fmrId));
        }
        // The planting saved last is current, the entry of its own grower; before any, the blank
        // entry.
        const long last = isBlank(gLastPlantID) ? 0 : static_cast<long>(gLastPlantID.toLong());
        const long fmr = isBlank(gLastPlantFmrID) ? currentFmrId() : static_cast<long>(gLastPlantFmrID.toLong());
        int current = 0;
        for (int i = 1; i < List1->count() && last != 0; ++i) {
            if (List1->item(i)->data(kPlantIdRole).toLongLong() == last &&
                List1->item(i)->data(kFmrIdRole).toLongLong() == fmr) {
                current = i;
                break;
            }
        }
        List1->setCurrentRow(current);
    }
    listShipments(f);
}

void frmShipList::SetList2()
{
    const Search searching(*this);
    Filters f;
    if (readFilters(&f))
        listShipments(f);
}

void frmShipList::listShipments(const Filters &f)
{
    ShipListFilter filter;
    filter.year = f.year;
    const int row = List1->currentRow();
    if (row >= 1) {
        QListWidgetItem *item = List1->item(row);
        filter.planting = std::make_pair(static_cast<long>(item->data(kFmrIdRole).toLongLong()),
                                         static_cast<long>(item->data(kPlantIdRole).toLongLong()));
    }
    filter.listedYear = listedYear_;
    filter.listedState = listedState_;
    filter.from = f.from;
    filter.to = f.to;

    clearRows();
    const long n = LoadShipList(dataDb(), filter);
    long selected = -1;
    for (long i = 0; i < n; ++i) {
        const ShipRec &r = gShip[static_cast<std::size_t>(i)];
        const QDate day = valueDate(r.SHIP_DATE);
        addRow({r.SHIP_ID.displayText(), day.isValid() ? day.toString(QStringLiteral("MM/dd")) : QString(),
                fmtAmount(r.SHOP_PRC), fmtAmount(r.SHIP_QTY), fmtAmount(r.SALES_QTY), fmtAmount(r.DSC_AMT),
                fmtAmount(r.SALES_AMT), fmtAmount(r.FEE_AMT)});
        if (!isBlank(gLastShipID) && r.SHIP_ID == gLastShipID &&
            (isBlank(gLastShipFmrID) || r.FMR_ID == gLastShipFmrID))
            selected = i;
    }
    selectRow(selected);

    // Totals over no rows are empty.
    const auto sums = ShipListTotals(dataDb(), filter);
    for (int i = 0; i < kShipSumCount; ++i)
        lblSUM[static_cast<std::size_t>(i)]->setText(sums ? fmtAmount((*sums)[static_cast<std::size_t>(i)]) : QString());
}

}  // namespace hb
