#include "cultivation/frmchemilist.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/helpers.h"
#include "core/filters.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/picklist.h"
#include "core/waitcursor.h"
#include "core/textlimit.h"
#include "cultivation/chemistock.h"
#include "cultivation/frmchemiinput.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace hb {

namespace {

// A quantity cell: the number as plain text, 0 when there is none.
QString quantityCell(const Value &v)
{
    return NullToVal(v, Value(0)).displayText();
}

QString dayCell(const Value &v)
{
    return v.isDate() ? v.toDate().toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

}  // namespace

frmChemiList::frmChemiList() : ListForm(QStringLiteral("frmChemiList"))
{
    setDesignSize(12400, 9200);
    setWindowTitle(QStringLiteral("農薬一覧"));

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("農薬一覧"), 12, 8, 220, 30);
    QFont title = lblTITLE->font();
    title.setPointSize(14);
    title.setBold(true);
    lblTITLE->setFont(title);

    int labelNo = 0;
    const auto caption = [this, &labelNo](const QString &text, int x, int y, int w) {
        makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), labelNo++), text, x, y + 2, w, 22);
    };
    const auto box = [this](int i, int x, int y, int w, int maxLength, Qt::Alignment align, bool ime) {
        QLineEdit *e = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtCOND"), i), x, y, w, 24);
        limitCharacters(e, maxLength);
        e->setAlignment(align | Qt::AlignVCenter);
        e->setAttribute(Qt::WA_InputMethodEnabled, ime);
        setSelectAllOnFocus(e);
        txtCOND[static_cast<std::size_t>(i)] = e;
    };

    caption(QStringLiteral("用途"), 16, 50, 40);
    cmbCOND[kCmbUses] = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbCOND"), kCmbUses), 60, 50, 160, 24);
    cmbCOND[kCmbUses]->setMaxVisibleItems(16);
    caption(QStringLiteral("名称"), 240, 50, 40);
    box(kCondName, 284, 50, 250, 50, Qt::AlignLeft, true);
    caption(QStringLiteral("登録番号"), 560, 50, 64);
    box(kCondRegNo, 628, 50, 70, 5, Qt::AlignRight, false);

    caption(QStringLiteral("購入日"), 16, 88, 44);
    box(kCondFrom, 60, 88, 110, 10, Qt::AlignHCenter, false);
    caption(QStringLiteral("～"), 176, 88, 18);
    box(kCondTo, 196, 88, 110, 10, Qt::AlignHCenter, false);

    caption(QStringLiteral("残量"), 330, 88, 36);
    Frame1 = makeControl<QGroupBox>(this, QStringLiteral("Frame1"), 368, 78, 230, 40);
    const char *const states[kStockCount] = {"あり", "なし", "全て"};
    for (int i = 0; i < kStockCount; ++i)
        Option1[static_cast<std::size_t>(i)] = makeCaptioned<QRadioButton>(
            Frame1, ctlName(QStringLiteral("Option1"), i), QString::fromUtf8(states[i]), 10 + i * 72, 10, 66, 24);
    stockOption(ChemiStock::Left)->setChecked(true);

    cmdFIND = makeCaptioned<QPushButton>(this, QStringLiteral("cmdFIND"), QStringLiteral("検索"), 620, 84, 90, 32);
    onClick(cmdFIND, [this] { cmdFIND_Click(); });

    // Wide enough for the columns and the scroll bar at every scale.
    makeListView(90, 1950, 12200, 5550);
    std::array<QRect, kMenuCount> g;
    g[kMenuClose] = QRect(10550, 7650, 1600, 550);
    for (int i = kMenuAdd; i <= kMenuPrint; ++i)
        g[static_cast<std::size_t>(i)] = QRect(150 + (i - kMenuAdd) * 1680, 7650, 1600, 550);
    makeMenuButtons(g);

    picker = new DatePicker(*this);
    picker->addBox(kCondFrom, txtCOND[kCondFrom]);
    picker->addBox(kCondTo, txtCOND[kCondTo]);
    picker->hideOn({QStringLiteral("txtCOND_0"), QStringLiteral("txtCOND_3")});

    const std::vector<QWidget *> order = {
        cmbCOND[kCmbUses],
        txtCOND[kCondName],
        txtCOND[kCondFrom],
        txtCOND[kCondTo],
        txtCOND[kCondRegNo],
        stockOption(ChemiStock::Left),
        stockOption(ChemiStock::None),
        stockOption(ChemiStock::All),
        cmdFIND,
        cmdMENU[kMenuAdd],
        cmdMENU[kMenuModify],
        cmdMENU[kMenuView],
        cmdMENU[kMenuDelete],
        cmdMENU[kMenuCopy],
        cmdMENU[kMenuPrint],
        cmdMENU[kMenuClose],
        ListView1,
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

Form &frmChemiList::inputWindow()
{
    return form<frmChemiInput>();
}

void frmChemiList::InitForm()
{
    SetCmb(kCmbUses);
    SetCmb(1);
    cmbCOND[kCmbUses]->setCurrentIndex(0);
    InitList();
}

void frmChemiList::InitList()
{
    setColumns({{QStringLiteral("CHEMI_ID"), QStringLiteral("ID"), 0, Qt::AlignLeft},
                {QStringLiteral("USED"), QStringLiteral("用途"), 1800, Qt::AlignLeft},
                {QStringLiteral("CHEMI_NM"), QStringLiteral("農薬名"), 2900, Qt::AlignLeft},
                {QStringLiteral("REG_NO"), QStringLiteral("登録番号"), 1600, Qt::AlignRight},
                {QStringLiteral("PUR_DATE"), QStringLiteral("購入日"), 2000, Qt::AlignHCenter},
                {QStringLiteral("PUR_QTY"), QStringLiteral("購入量"), 1200, Qt::AlignRight},
                {QStringLiteral("USED_QTY"), QStringLiteral("使用量"), 1200, Qt::AlignRight},
                {QStringLiteral("REST_QTY"), QStringLiteral("残量"), 1200, Qt::AlignRight}});
}

void frmChemiList::SetCmb(int index)
{
    if (index != kCmbUses)
        return;
    fillPickList(cmbCOND[kCmbUses], workDb(), QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=15 ORDER BY ID"));
}

bool frmChemiList::readFilter(ChemiFilter *f)
{
    std::optional<QDate> from;
    std::optional<QDate> to;
    if (!filterDate(txtCOND[kCondFrom], &from) || !filterDate(txtCOND[kCondTo], &to)) {
        clearRows();
        return false;
    }
    f->fmrId = currentFmrId();
    QComboBox *uses = cmbCOND[kCmbUses];
    f->uses = uses->currentIndex() >= 1 ? itemId(uses, uses->currentIndex()) : 0;
    f->name = txtCOND[kCondName]->text();
    f->from = from.value_or(QDate());
    f->to = to.value_or(QDate());
    // The registration number: its leading number, 0 when it starts with none.
    f->byRegNo = !txtCOND[kCondRegNo]->text().isEmpty();
    f->regNo = 0;
    if (f->byRegNo && !leadingWholeNumber(txtCOND[kCondRegNo]->text(), &f->regNo))
        f->regNo = 0;
    f->stock = stockOption(ChemiStock::Left)->isChecked()   ? ChemiStock::Left
               : stockOption(ChemiStock::None)->isChecked() ? ChemiStock::None
                                                            : ChemiStock::All;
    return true;
}

void frmChemiList::fill(const ChemiFilter &filter)
{
    clearRows();
    std::vector<ChemiRec> rows = queryChemi(filter);
    if (rows.empty())
        return;
    gChemi = std::move(rows);
    const std::map<long, QString> uses = chemiUseNames();
    ListView1->setUpdatesEnabled(false);
    for (const ChemiRec &r : gChemi) {
        const auto use = uses.find(static_cast<long>(NullToVal(r.USES, Value(0)).toLong()));
        addRow({shownText(r.CHEMI_ID), use == uses.end() ? QString() : use->second, shownText(r.CHEMI_NM), shownText(r.REG_NO),
                dayCell(r.PUR_DATE), quantityCell(r.PUR_QTY), quantityCell(r.USED_QTY), quantityCell(r.REST_QTY)});
    }
    ListView1->setUpdatesEnabled(true);
    if (isBlank(gLastChemiID))
        return;
    for (std::size_t j = 0; j < gChemi.size(); ++j) {
        if (gChemi[j].CHEMI_ID == gLastChemiID)
            selectRow(static_cast<long>(j));
    }
}

bool frmChemiList::SetList()
{
    const Search searching(*this);
    ChemiFilter filter;
    if (!readFilter(&filter))
        return false;
    fill(filter);
    return true;
}

void frmChemiList::cmdFIND_Click()
{
    WaitCursor wait;
    const Search searching(*this);
    ChemiFilter filter;
    if (!readFilter(&filter))
        return;
    resetChemiUse();
    fill(filter);
}

void frmChemiList::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

Trap frmChemiList::trapFor(Event event, QWidget *control) const
{
    return plainFor(event, {Event::KeyPress});
}

}  // namespace hb
