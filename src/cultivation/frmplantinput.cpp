#include "cultivation/frmplantinput.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/picklist.h"
#include "core/textlimit.h"

#include <QComboBox>
#include <QDate>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <limits>

namespace hb {

namespace {

using Box = frmPlantInput::Box;

bool isNumberBox(int i)
{
    return i == Box::kBoxHarvestYear || i == Box::kBoxHarvestMonth || i == Box::kBoxPrdId || i == Box::kBoxArea
           || i == Box::kBoxShipEst;
}

bool isDateBox(int i)
{
    return i == Box::kBoxStart || i == Box::kBoxEnd || i == Box::kBoxPlantDate || i == Box::kBoxShipFrom
           || i == Box::kBoxShipTo;
}

// The number a box holds, rounded to a whole number; 0 when it holds none.
long long wholeOf(const QString &text)
{
    double v = 0;
    if (!parseNumber(text, &v) || !std::isfinite(v) || std::fabs(v) > 1e15)
        return 0;
    return roundHalfEven(v);
}

void selectId(QComboBox *box, const Value &v)
{
    box->setCurrentIndex(0);
    if (v.isNull())
        return;
    const int i = findItemId(box, static_cast<long>(NullToVal(v, Value(0)).toLong()));
    if (i >= 0)
        box->setCurrentIndex(i);
}

const char *const kNumberMsg = "数値を指定してください。";
const char *const kDateMsg = "日付を指定してください。";

}  // namespace

frmPlantInput::frmPlantInput() : InputForm(QStringLiteral("frmPlantInput"), gPlant, QStringLiteral("D_PLANT"))
{
    setDesignSize(10350, 9300);
    setWindowTitle(QStringLiteral("作付入力"));
    buildControls();
}

void frmPlantInput::buildControls()
{
    int labelNo = 0;
    const auto caption = [this, &labelNo](QWidget *parent, const QString &text, int x, int y, int w = 84) {
        return makeCaptioned<QLabel>(parent, ctlName(QStringLiteral("Label1"), labelNo++), text, x, y + 2, w, 22);
    };
    const auto box = [this](QWidget *parent, int i, int x, int y, int w, int maxLength) {
        QLineEdit *e = makeControl<QLineEdit>(parent, ctlName(QStringLiteral("txtDATA"), i), x, y, w, 24);
        limitCharacters(e, maxLength);
        if (isNumberBox(i))
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (isDateBox(i))
            e->setAlignment(Qt::AlignCenter);
        if (isNumberBox(i) || isDateBox(i))
            e->setAttribute(Qt::WA_InputMethodEnabled, false);
        setSelectAllOnFocus(e);
        txtDATA[static_cast<std::size_t>(i)] = e;
        connect(e, &QLineEdit::textChanged, this, [this] { changed_ = true; });
        return e;
    };
    const auto combo = [this](QWidget *parent, int i, int x, int y, int w, bool editable) {
        QComboBox *c = makeControl<QComboBox>(parent, ctlName(QStringLiteral("cmbDATA"), i), x, y, w, 24);
        c->setEditable(editable);
        if (editable) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setCompleter(nullptr);
        }
        c->setMaxVisibleItems(16);
        cmbDATA[static_cast<std::size_t>(i)] = c;
        return c;
    };
    const auto display = [this](QWidget *parent, int i, int x, int y, int w) {
        QLabel *l = makeControl<QLabel>(parent, ctlName(QStringLiteral("lblDATA"), i), x, y, w, 24);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAutoFillBackground(true);
        l->setBackgroundRole(QPalette::Base);
        lblDATA[static_cast<std::size_t>(i)] = l;
        return l;
    };

    lblTITLE = makeCaptioned<QLabel>(this, QStringLiteral("lblTITLE"), QStringLiteral("作付入力"), 12, 8, 200, 30);
    QFont title = lblTITLE->font();
    title.setPointSize(14);
    title.setBold(true);
    lblTITLE->setFont(title);
    caption(this, QStringLiteral("作付ID"), 470, 12, 56);
    display(this, kLblPlantId, 530, 12, 90)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The grower is shown, never changed here.
    QLabel *fmrLabel = caption(this, QStringLiteral("生産者"), 16, 48);
    combo(this, kCmbGrower, 104, 48, 200, false);
    fmrLabel->setEnabled(false);
    cmbDATA[kCmbGrower]->setEnabled(false);

    caption(this, QStringLiteral("収穫予定月"), 16, 80);
    box(this, kBoxHarvestYear, 104, 80, 56, 4);
    caption(this, QStringLiteral("/"), 164, 80, 10);
    box(this, kBoxHarvestMonth, 176, 80, 36, 2);

    caption(this, QStringLiteral("区分"), 16, 112);
    combo(this, kCmbCropKind, 104, 112, 200, false);
    caption(this, QStringLiteral("作物"), 330, 112);
    combo(this, kCmbCrop, 418, 112, 200, true);

    caption(this, QStringLiteral("品種"), 16, 144);
    box(this, kBoxCrop1, 104, 144, 200, 50);
    caption(this, QStringLiteral("品目"), 330, 144);
    box(this, kBoxCrop2, 418, 144, 200, 50);

    caption(this, QStringLiteral("商品コード"), 16, 176);
    box(this, kBoxPrdId, 104, 176, 100, 8);
    caption(this, QStringLiteral("商品名"), 330, 176);
    box(this, kBoxPrdNm, 418, 176, 200, 50);

    caption(this, QStringLiteral("作付区分"), 16, 208);
    combo(this, kCmbPlantType, 104, 208, 200, false);
    caption(this, QStringLiteral("圃場/田畑"), 330, 208);
    box(this, kBoxField, 418, 208, 200, 50);

    caption(this, QStringLiteral("面積"), 16, 240);
    box(this, kBoxArea, 104, 240, 70, 5);
    caption(this, QStringLiteral("㌃"), 178, 240, 20);
    caption(this, QStringLiteral("栽培方式"), 330, 240);
    combo(this, kCmbMethod, 418, 240, 200, false);

    caption(this, QStringLiteral("名称"), 16, 272);
    box(this, kBoxName, 104, 272, 514, 50);

    Frame1 = makeControl<QGroupBox>(this, QStringLiteral("Frame1"), 12, 304, 644, 148);
    caption(Frame1, QStringLiteral("作業開始日"), 8, 16);
    box(Frame1, kBoxStart, 92, 16, 110, 10);
    caption(Frame1, QStringLiteral("作業終了日"), 318, 16);
    box(Frame1, kBoxEnd, 406, 16, 110, 10);
    caption(Frame1, QStringLiteral("作付日"), 8, 48);
    box(Frame1, kBoxPlantDate, 92, 48, 110, 10);
    caption(Frame1, QStringLiteral("収穫予定"), 8, 80);
    display(Frame1, kLblHarvestFrom, 92, 80, 110)->setEnabled(false);
    caption(Frame1, QStringLiteral("～"), 208, 80, 18);
    display(Frame1, kLblHarvestTo, 228, 80, 110)->setEnabled(false);
    caption(Frame1, QStringLiteral("予定収量"), 362, 80, 60);
    display(Frame1, kLblCropEst, 426, 80, 90)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDATA[kLblCropEst]->setEnabled(false);
    caption(Frame1, QStringLiteral("Kg"), 520, 80, 24);
    caption(Frame1, QStringLiteral("出荷予定日"), 8, 112);
    box(Frame1, kBoxShipFrom, 92, 112, 110, 10);
    caption(Frame1, QStringLiteral("～"), 208, 112, 18);
    box(Frame1, kBoxShipTo, 228, 112, 110, 10);
    caption(Frame1, QStringLiteral("予定出荷量"), 362, 112, 70);
    box(Frame1, kBoxShipEst, 436, 112, 70, 5);
    combo(Frame1, kCmbShipUnit, 512, 112, 120, false);

    caption(this, QStringLiteral("備考１"), 16, 464);
    box(this, kBoxNotes1, 104, 464, 514, 50);
    caption(this, QStringLiteral("備考２"), 16, 496);
    box(this, kBoxNotes2, 104, 496, 514, 50);

    makeMenuButton(kMenuRegister, QStringLiteral("登録"), 240, 8100, 1500, 540);
    makeMenuButton(kMenuComplete, QStringLiteral("完了"), 1860, 8100, 1500, 540);
    makeMenuButton(kMenuClose, QStringLiteral("終了"), 8340, 8100, 1500, 540);

    for (int i = kCmbCropKind; i < kCmbCount; ++i)
        setDropDownOnFocus(cmbDATA[static_cast<std::size_t>(i)]);

    picker = new DatePicker(*this);
    for (int i = 0; i < kBoxCount; ++i) {
        if (isDateBox(i))
            picker->addBox(i, txtDATA[static_cast<std::size_t>(i)]);
    }
    picker->setCondition([] { return gEditMode == kEditAdd || gEditMode == kEditModify; });
    picker->hideOn({QStringLiteral("txtDATA"), QStringLiteral("cmbDATA"), QStringLiteral("cmdMENU")});

    const std::vector<QWidget *> order = {
        txtDATA[kBoxHarvestYear], txtDATA[kBoxHarvestMonth], cmbDATA[kCmbCropKind], cmbDATA[kCmbCrop],
        txtDATA[kBoxCrop1],       txtDATA[kBoxCrop2],        txtDATA[kBoxPrdId],    txtDATA[kBoxPrdNm],
        cmbDATA[kCmbPlantType],   txtDATA[kBoxField],        txtDATA[kBoxArea],     cmbDATA[kCmbMethod],
        txtDATA[kBoxName],        txtDATA[kBoxStart],        txtDATA[kBoxPlantDate], txtDATA[kBoxShipEst],
        cmbDATA[kCmbShipUnit],    txtDATA[kBoxShipFrom],     txtDATA[kBoxShipTo],   txtDATA[kBoxNotes1],
        txtDATA[kBoxNotes2],      cmdMENU[kMenuRegister],    cmdMENU[kMenuComplete], cmdMENU[kMenuClose],
        txtDATA[kBoxEnd],
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---- lists and display ---------------------------------------------------------------------

void frmPlantInput::InitForm()
{
    work = PlantRec();
    for (int i = 0; i < kCmbCount; ++i)
        SetCmb(i);
}

void frmPlantInput::SetCmb(int index)
{
    if (index < 0 || index >= kCmbCount)
        return;
    QComboBox *box = cmbDATA[static_cast<std::size_t>(index)];
    const auto kbn = [](int kind) {
        return QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=%1 ORDER BY ID").arg(kind);
    };
    switch (index) {
    case kCmbGrower: {
        fillPickList(box, masterDb(),
            QStringLiteral("SELECT  M_FMR.FMR_ID,  M_FMR.FMR_NM  FROM M_FMR  WHERE CHK_FLG<>0 ORDER BY FMR_ID"));
        return;
    }
    case kCmbCropKind: {
        fillPickList(box, workDb(), QStringLiteral(
            "SELECT DISTINCT L_CROP_KBN.CROP_KBN,  L_CROP_KBN.CROP_KBN_NM  FROM L_CROP_KBN  ORDER BY CROP_KBN"));
        return;
    }
    case kCmbCrop: {
        QString sql = QStringLiteral("SELECT  L_CROP.CROP_NM1  FROM L_CROP ");
        std::vector<Value> params;
        const long kbn = itemId(cmbDATA[kCmbCropKind], cmbDATA[kCmbCropKind]->currentIndex());
        if (kbn > 0) {
            sql += QStringLiteral(" WHERE L_CROP.CROP_KBN LIKE ?");
            params.emplace_back(QString::number(kbn) + QLatin1Char('%'));
        }
        sql += QStringLiteral(" ORDER BY CROP_NM1");
        fillNameList(box, workDb(), sql, params);
        return;
    }
    case kCmbPlantType:
        fillPickList(box, workDb(), kbn(11));
        return;
    case kCmbMethod:
        fillPickList(box, workDb(), kbn(13));
        return;
    case kCmbShipUnit:
        fillPickList(box, workDb(), kbn(12));
        return;
    default:
        return;
    }
}

void frmPlantInput::newRowDefaults(PlantRec &r)
{
    r.FMR_ID = gFmrID;
    for (Value *d : {&r.START_DATE, &r.PLANT_DATE, &r.END_DATE, &r.SHIP_SCHD_DATE1, &r.SHIP_SCHD_DATE2})
        *d = Value::null();
}

void frmPlantInput::DispData()
{
    if (gEditMode != kEditAdd)
        lblDATA[kLblPlantId]->setText(NullToVal(work.PLANT_ID, Value(0)).displayText());
    lblDATA[kLblCropEst]->setText(NullToVal(work.CROP_EST, Value(0)).displayText());
    lblDATA[kLblHarvestFrom]->clear();
    lblDATA[kLblHarvestTo]->clear();

    // The harvest month "yyyymm" in its two boxes; a record that never had one shows zeros.
    QString ym;
    if (!work.HARVEST_SCHD_YM.isNull()) {
        double n = 0;
        const QString t = shownText(work.HARVEST_SCHD_YM);
        ym = parseNumber(t.isEmpty() ? QStringLiteral("0") : t, &n)
                 ? QString::number(static_cast<long long>(roundHalfEven(n))).rightJustified(6, QLatin1Char('0'))
                 : t;
    }
    txtDATA[kBoxHarvestYear]->setText(ym.left(4));
    txtDATA[kBoxHarvestMonth]->setText(ym.mid(4, 2));

    const std::pair<int, const Value *> texts[] = {
        {kBoxPrdId, &work.PRD_ID},   {kBoxPrdNm, &work.PRD_NM}, {kBoxCrop1, &work.CROP_NM1}, {kBoxCrop2, &work.CROP_NM2},  {kBoxField, &work.FIELD_NM},
        {kBoxArea, &work.AREA},     {kBoxName, &work.PLANT_NM}, {kBoxShipEst, &work.SHIP_EST}, {kBoxNotes1, &work.NOTES1}, {kBoxNotes2, &work.NOTES2},
    };
    for (const auto &[i, v] : texts)
        txtDATA[static_cast<std::size_t>(i)]->setText(shownText(*v));
    const std::pair<int, const Value *> dates[] = {
        {kBoxStart, &work.START_DATE},       {kBoxEnd, &work.END_DATE},        {kBoxPlantDate, &work.PLANT_DATE},
        {kBoxShipFrom, &work.SHIP_SCHD_DATE1}, {kBoxShipTo, &work.SHIP_SCHD_DATE2},
    };
    for (const auto &[i, v] : dates)
        txtDATA[static_cast<std::size_t>(i)]->setText(plantDateText(*v));

    // The crop, with its category, read before either box changes.
    const QString crop = shownText(work.CROP_NM);
    const QString code = crop.isEmpty() ? QString() : shownText(CropKind(workDb(), crop));
    cmbDATA[kCmbCropKind]->setCurrentIndex(0);
    cmbDATA[kCmbCrop]->setCurrentIndex(0);
    if (!crop.isEmpty()) {
        const int k = findItemId(cmbDATA[kCmbCropKind], static_cast<long>(wholeOf(code)));
        if (k >= 0 && !code.isEmpty())
            cmbDATA[kCmbCropKind]->setCurrentIndex(k);
        const int c = cmbDATA[kCmbCrop]->findText(crop, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (c >= 0)
            cmbDATA[kCmbCrop]->setCurrentIndex(c);
    }
    cropKindShown_ = cmbDATA[kCmbCropKind]->currentIndex();

    selectId(cmbDATA[kCmbGrower], work.FMR_ID);
    selectId(cmbDATA[kCmbPlantType], work.PLANT_TYPE);
    selectId(cmbDATA[kCmbShipUnit], work.SHIP_EST_UNIT);
    changed_ = false;
}

// ---- storing what is typed -----------------------------------------------------------------

// The focus stays in the box, which keeps its text as typed, not selected.
void frmPlantInput::refuse(int index, const QString &message)
{
    ShowMsg(message, kMsgExclamation);
    txtDATA[static_cast<std::size_t>(index)]->deselect();
}

bool frmPlantInput::validate(QWidget *control)
{
    int i = ctlIndex(control, QStringLiteral("txtDATA"));
    if (i >= 0)
        return txtDATA_Validate(i);
    i = ctlIndex(control, QStringLiteral("cmbDATA"));
    if (i >= 0)
        return cmbDATA_Validate(i);
    return true;
}

bool frmPlantInput::txtDATA_Validate(int index)
{
    if (!changed_ || index < 0 || index >= static_cast<int>(txtDATA.size()))
        return true;
    const QString text = txtDATA[static_cast<std::size_t>(index)]->text();
    double number = 0;
    const bool isNumber = !text.isEmpty() && parseNumber(text, &number) && std::isfinite(number);
    if (isNumberBox(index) && !text.isEmpty() && !isNumber) {
        refuse(index, QString::fromUtf8(kNumberMsg));
        return false;
    }
    QDateTime date;
    const bool isDate = !text.isEmpty() && parseDateText(text, &date);
    if (isDateBox(index) && !text.isEmpty() && !isDate) {
        refuse(index, QString::fromUtf8(kDateMsg));
        return false;
    }

    switch (index) {
    case kBoxHarvestYear:
    case kBoxHarvestMonth: {
        if (text.isEmpty()) {
            work.HARVEST_SCHD_YM = Value::null();
            break;
        }
        long long y = wholeOf(txtDATA[kBoxHarvestYear]->text());
        long long m = wholeOf(txtDATA[kBoxHarvestMonth]->text());
        if (y < 0) {
            refuse(index, QString::fromUtf8(kNumberMsg));
            return false;
        }
        const QDate today = QDate::currentDate();
        if (y == 0)
            y = today.year();
        else if (y < 100)
            y += 2000;  // a year of one or two digits is one of this century
        if (m == 0)
            m = today.month();
        // Months outside 1-12 roll over into the neighbouring years.
        const long long months = y * 12 + (m - 1);
        const long long year = months >= 0 ? months / 12 : -((-months + 11) / 12);
        const long long month = months - year * 12 + 1;
        if (year < 1 || year > 9999) {
            refuse(index, QString::fromUtf8(kNumberMsg));
            return false;
        }
        work.YYYY = Value(year);
        work.HARVEST_SCHD_YM = Value(QStringLiteral("%1%2").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')));
        break;
    }
    case kBoxPrdId:
        if (isNumber) {
            if (std::fabs(number) > static_cast<double>(std::numeric_limits<int>::max())) {
                refuse(index, QString::fromUtf8(kNumberMsg));
                return false;
            }
            const Value id(static_cast<long long>(roundHalfEven(number)));
            Value name;
            try {
                name = ProductName(masterDb(), id);
            } catch (...) {
                // A code whose product cannot be read is not taken: the box shows the one held.
                txtDATA[kBoxPrdId]->setText(shownText(work.PRD_ID));
                throw;
            }
            work.PRD_ID = id;
            work.PRD_NM = name;
        } else {
            work.PRD_ID = Value::null();
            work.PRD_NM = Value::null();
        }
        break;
    case kBoxArea:
        work.AREA = isNumber ? Value(number) : Value::null();
        break;
    case kBoxShipEst:
        work.SHIP_EST = isNumber ? Value(number) : Value::null();
        break;
    case kBoxStart:
    case kBoxEnd:
    case kBoxPlantDate:
    case kBoxShipFrom:
    case kBoxShipTo: {
        const Value v = isDate ? Value(date.date()) : Value::null();
        Value *target = index == kBoxStart    ? &work.START_DATE
                        : index == kBoxEnd ? &work.END_DATE
                        : index == kBoxPlantDate ? &work.PLANT_DATE
                        : index == kBoxShipFrom ? &work.SHIP_SCHD_DATE1
                                      : &work.SHIP_SCHD_DATE2;
        *target = v;
        break;
    }
    default: {
        const Value v = text.isEmpty() ? Value::null() : Value(text);
        switch (index) {
        case kBoxCrop1: work.CROP_NM1 = v; break;
        case kBoxCrop2: work.CROP_NM2 = v; break;
        case kBoxPrdNm: work.PRD_NM = v; break;
        case kBoxField: work.FIELD_NM = v; break;
        case kBoxName: work.PLANT_NM = v; break;
        case kBoxNotes1: work.NOTES1 = v; break;
        case kBoxNotes2: work.NOTES2 = v; break;
        default: break;
        }
        break;
    }
    }
    DispData();
    return true;
}

bool frmPlantInput::cmbDATA_Validate(int index)
{
    if (index < 0 || index >= static_cast<int>(cmbDATA.size()))
        return true;
    QComboBox *box = cmbDATA[static_cast<std::size_t>(index)];
    const QString text = box->currentText();
    if (text.isEmpty()) {
        box->setCurrentIndex(-1);
    } else {
        const int at = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (at < 0)
            return false;
        box->setCurrentIndex(at);
    }
    const Value chosen(static_cast<long long>(itemId(box, box->currentIndex())));
    switch (index) {
    case kCmbGrower:
        work.FMR_ID = chosen;
        break;
    case kCmbPlantType:
        work.PLANT_TYPE = chosen;
        break;
    case kCmbShipUnit:
        work.SHIP_EST_UNIT = chosen;
        break;
    case kCmbCrop:
        if (text.isEmpty()) {
            work.CROP_NM = Value();
        } else if (text != shownText(work.CROP_NM)) {
            // A crop fills the variety with its name and the item with its item name. An item
            // that cannot be read leaves the box on the crop the record holds.
            Value item;
            try {
                item = CropItemName(workDb(), text);
            } catch (...) {
                const int held = box->findText(shownText(work.CROP_NM), Qt::MatchExactly | Qt::MatchCaseSensitive);
                box->setCurrentIndex(held >= 0 ? held : 0);
                throw;
            }
            work.CROP_NM = Value(text);
            txtDATA[kBoxCrop1]->setText(text);
            changed_ = true;
            txtDATA_Validate(kBoxCrop1);
            txtDATA[kBoxCrop2]->setText(shownText(NullToVal(item, Value(""))));
            changed_ = true;
            txtDATA_Validate(kBoxCrop2);
        }
        break;
    case kCmbCropKind: {
        // The crop list follows the category; the crop stays chosen when the category has it. A
        // list that cannot be read leaves both boxes showing the category and crop of before.
        try {
            SetCmb(kCmbCrop);
        } catch (...) {
            box->setCurrentIndex(cropKindShown_);
            throw;
        }
        cropKindShown_ = box->currentIndex();
        cmbDATA[kCmbCrop]->setCurrentIndex(0);
        const QString crop = shownText(work.CROP_NM);
        for (int i = cmbDATA[kCmbCrop]->count() - 1; i >= 0 && !crop.isEmpty(); --i) {
            if (cmbDATA[kCmbCrop]->itemText(i) == crop) {
                cmbDATA[kCmbCrop]->setCurrentIndex(i);
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    return true;
}

// ---- events ------------------------------------------------------------------------------------

void frmPlantInput::onActivate()
{
    InputForm::onActivate();
    if (gEditMode == kEditView || gEditMode == kEditDelete)
        sendTab();
}

void frmPlantInput::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

Trap frmPlantInput::trapFor(Event event, QWidget *control) const
{
    return inputTrap(event, control);
}

void frmPlantInput::cmdMENU_Click(int index)
{
    if (index == kMenuComplete)
        complete();
    else
        InputForm::cmdMENU_Click(index);
}

void frmPlantInput::complete()
{
    work.END_DATE = Value(QDate::currentDate());
    txtDATA[kBoxEnd]->setText(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
}

// ---- checks and the save -----------------------------------------------------------------------

bool frmPlantInput::ChkData()
{
    if (gEditMode == kEditDelete) {
        const QString refusal = plantDeleteRefusal(work.FMR_ID, work.PLANT_ID);
        if (!refusal.isEmpty()) {
            ShowMsg(refusal, kMsgExclamation);
            return false;
        }
        return true;
    }
    if (gEditMode == kEditAdd || gEditMode == kEditModify) {
        if (txtDATA[kBoxName]->text().isEmpty()) {
            ShowMsg(QStringLiteral("名称は必須入力です。"), kMsgExclamation);
            txtDATA[kBoxName]->setFocus();
            return false;
        }
        // The boxes of a plain add show zeros while the record has no year: that is no year.
        if (txtDATA[kBoxHarvestYear]->text().isEmpty() || isBlank(work.YYYY)) {
            ShowMsg(QStringLiteral("収穫年は必須入力です。"), kMsgExclamation);
            txtDATA[kBoxHarvestYear]->setFocus();
            return false;
        }
    }
    return true;
}

// The save works on a copy: a failure (raised to the button's trap) leaves the record as it was.
bool frmPlantInput::SaveData()
{
    PlantRec saved = work;
    if (savePlant(dataDb(), gEditMode, saved, loaded) == PlantSaveResult::Missing) {
        rowGone();  // deleted meanwhile elsewhere: nothing to write; the list shows what is there now
        return false;
    }
    work = saved;
    gLastPlantID = saved.PLANT_ID;
    gLastPlantFmrID = saved.FMR_ID;
    return true;
}

}  // namespace hb
