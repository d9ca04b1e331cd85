#include "cultivation/frmplantlist.h"

#include "core/controls.h"
#include "core/db.h"
#include "core/filters.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/picklist.h"
#include "core/waitcursor.h"
#include "core/textlimit.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/plantrec.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace hb {

namespace {

// "yyyymm" shown as "yyyy/mm"; no text for Null.
QString monthCell(const Value &v)
{
    if (isBlank(v))
        return QString();
    double n = 0;
    const QString text = v.displayText();
    if (!parseNumber(text, &n))
        return text;
    QString digits = QString::number(static_cast<long long>(roundHalfEven(n))).rightJustified(6, QLatin1Char('0'));
    return digits.left(digits.size() - 2) + QLatin1Char('/') + digits.right(2);
}

}  // namespace

frmPlantList::frmPlantList() : ListForm(QStringLiteral("frmPlantList"))
{
    setDesignSize(12400, 9200);
    setWindowTitle(QStringLiteral("作付一覧"));

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("作付一覧"), 12, 8, 220, 30);
    QFont title = lblTITLE->font();
    title.setPointSize(14);
    title.setBold(true);
    lblTITLE->setFont(title);

    const auto caption = [this](int index, const QString &text, int x) {
        makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), index), text, x, 58, 36, 22);
    };
    caption(0, QStringLiteral("年"), 16);
    QLineEdit *year = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtCOND"), kCondYear), 40, 56, 60, 24);
    limitCharacters(year, 4);
    year->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    year->setAttribute(Qt::WA_InputMethodEnabled, false);
    setSelectAllOnFocus(year);
    txtCOND[kCondYear] = year;

    caption(1, QStringLiteral("作物"), 120);
    QComboBox *crop = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbCOND"), kCmbCrop), 156, 56, 200, 24);
    crop->setEditable(true);
    crop->setInsertPolicy(QComboBox::NoInsert);
    crop->setCompleter(nullptr);
    crop->setMaxVisibleItems(16);
    cmbCOND[kCmbCrop] = crop;

    caption(2, QStringLiteral("区分"), 376);
    cmbCOND[kCmbPlantType] =
        makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbCOND"), kCmbPlantType), 412, 56, 160, 24);
    cmbCOND[kCmbPlantType]->setMaxVisibleItems(16);

    cmdFIND = makeCaptioned<QPushButton>(this, QStringLiteral("cmdFIND"), QStringLiteral("検索"), 596, 53, 90, 30);
    onClick(cmdFIND, [this] { cmdFIND_Click(); });

    makeListView(150, 1400, 12000, 6000);
    std::array<QRect, kMenuCount> g;
    g[kMenuClose] = QRect(10550, 7650, 1600, 550);
    for (int i = kMenuAdd; i <= kMenuPrint; ++i)
        g[static_cast<std::size_t>(i)] = QRect(150 + (i - kMenuAdd) * 1680, 7650, 1600, 550);
    makeMenuButtons(g);

    const std::vector<QWidget *> order = {
        txtCOND[kCondYear],  cmbCOND[kCmbCrop],    cmbCOND[kCmbPlantType], cmdFIND,
        cmdMENU[kMenuAdd],   cmdMENU[kMenuModify], cmdMENU[kMenuView],     cmdMENU[kMenuDelete],
        cmdMENU[kMenuCopy],  cmdMENU[kMenuPrint],  cmdMENU[kMenuClose],    ListView1,
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

Form &frmPlantList::inputWindow()
{
    return form<frmPlantInput>();
}

void frmPlantList::InitForm()
{
    txtCOND[kCondYear]->setText(QString::number(gCalMonth.isValid() ? gCalMonth.year() : QDate::currentDate().year()));
    SetCmb(kCmbCrop);
    SetCmb(kCmbPlantType);
    cmbCOND[kCmbCrop]->setCurrentIndex(0);
    cmbCOND[kCmbPlantType]->setCurrentIndex(0);
    InitList();
}

void frmPlantList::InitList()
{
    setColumns({{QStringLiteral("PLANT_ID"), QStringLiteral("ID"), 0, Qt::AlignLeft},
                {QStringLiteral("PLANT_NM"), QStringLiteral("作付名"), 4200, Qt::AlignLeft},
                {QStringLiteral("PLANT_DATE"), QStringLiteral("作付日"), 2000, Qt::AlignHCenter},
                {QStringLiteral("HARVEST_SCHD_YM"), QStringLiteral("収穫月"), 1600, Qt::AlignHCenter},
                {QStringLiteral("CROP_NM1"), QStringLiteral("品種"), 2400, Qt::AlignLeft},
                {QStringLiteral("AREA"), QStringLiteral("耕作面積"), 1600, Qt::AlignRight}});
}

void frmPlantList::SetCmb(int index)
{
    if (index != kCmbCrop && index != kCmbPlantType)
        return;
    QComboBox *box = cmbCOND[static_cast<std::size_t>(index)];
    if (index == kCmbPlantType) {
        fillPickList(box, workDb(), QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=11 ORDER BY ID"));
        return;
    }
    fillNameList(box, workDb(), QStringLiteral("SELECT  L_CROP.CROP_NM1  FROM L_CROP  ORDER BY CROP_NM1"));
}

void frmPlantList::SetList()
{
    const Search searching(*this);
    // A year that is no whole number is refused before any statement: the list is left empty.
    PlantFilter filter;
    if (!filterYear(txtCOND[kCondYear], &filter.year)) {
        clearRows();
        return;
    }
    QComboBox *crop = cmbCOND[kCmbCrop];
    QComboBox *plantType = cmbCOND[kCmbPlantType];
    if (crop->currentIndex() >= 1)
        filter.crop = crop->currentText();
    if (plantType->currentIndex() >= 1)
        filter.plantType = itemId(plantType, plantType->currentIndex());

    clearRows();
    std::vector<PlantRec> rows = queryPlants(filter);
    if (rows.empty())
        return;
    gPlant = std::move(rows);
    for (const PlantRec &r : gPlant) {
        addRow({r.PLANT_ID.displayText(), NullToVal(r.PLANT_NM, Value("")).displayText(), plantDateText(r.PLANT_DATE),
                monthCell(r.HARVEST_SCHD_YM), NullToVal(r.CROP_NM1, Value("")).displayText(),
                NullToVal(r.AREA, Value(0)).displayText()});
    }
    if (isBlank(gLastPlantID))
        return;
    for (std::size_t j = 0; j < gPlant.size(); ++j) {
        const PlantRec &r = gPlant[j];
        const bool sameGrower = gLastPlantFmrID.isEmpty() || r.FMR_ID == gLastPlantFmrID;
        if (r.PLANT_ID == gLastPlantID && sameGrower)
            selectRow(static_cast<long>(j));
    }
}

void frmPlantList::cmdFIND_Click()
{
    WaitCursor wait;
    SetList();
}

bool frmPlantList::validate(QWidget *control)
{
    const int i = ctlIndex(control, QStringLiteral("cmbCOND"));
    return i < 0 || cmbCOND_Validate(i);
}

bool frmPlantList::cmbCOND_Validate(int index)
{
    QComboBox *box = cmbCOND[static_cast<std::size_t>(index)];
    const QString text = box->currentText();
    if (text.isEmpty()) {
        box->setCurrentIndex(-1);
        return true;
    }
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i) == text) {
            box->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

Trap frmPlantList::trapFor(Event event, QWidget *control) const
{
    if (event == Event::KeyPress)
        return Trap::Plain;
    if (event == Event::Validate && ctlIndex(control, QStringLiteral("cmbCOND")) >= 0)
        return Trap::Plain;
    return Trap::Standard;
}

}  // namespace hb
