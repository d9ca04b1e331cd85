#include "diary/frmdairyinput.h"

#include "bookkeeping/frmdiaryledgeinput.h"
#include "bookkeeping/ledger.h"
#include "core/controls.h"
#include "core/datachanged.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/textlimit.h"
#include "shipments/shiprec.h"
#include "shipments/frmshipinput.h"
#include "core/picklist.h"
#include "core/recordhold.h"
#include "core/uiservices.h"
#include "diary/diarysave.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTreeWidget>
#include <cmath>

namespace hb {

namespace {

constexpr int kOneMsgLength = 50;
constexpr int kNotesLength = 50;
constexpr int kQtyLength = 10;
constexpr int kMemoLength = 250;

QString shown(const Value &v, const QString &nullText = QString())
{
    if (v.isEmpty())
        return QString();
    if (v.isNull())
        return nullText;
    return v.displayText();
}


long listId(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item ? static_cast<long>(item->data(Qt::UserRole).toLongLong()) : 0;
}

// The entry chosen in a list (its current entry: the list changes it before it selects it).
bool hasSelection(const QListWidget *list)
{
    return list->currentRow() >= 0 && list->currentItem();
}

void selectRow(QListWidget *list, int row)
{
    const QSignalBlocker block(list);
    if (row < 0) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentRow(row);
    }
}

// Empties the list of an editable box, the box showing `text`: what it offers until the list is
// read again, and when that read fails (never the entries of what it followed before).
void emptyList(QComboBox *box, const QString &text)
{
    const QSignalBlocker block(box);
    box->clear();
    box->setEditText(text);
}

// Keeps a multi-line box within its length in characters.
void limitLength(QPlainTextEdit *box, int maxLength)
{
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, maxLength] {
        const QString t = box->toPlainText();
        if (characterCount(t) <= maxLength)
            return;
        const QSignalBlocker block(box);
        box->setPlainText(leftCharacters(t, maxLength));
        box->moveCursor(QTextCursor::End);
    });
}

}  // namespace

frmDairyInput::frmDairyInput() : Form(QStringLiteral("frmDairyInput"))
{
    setDesignSize(12400, 9200);
    scaling().keepHeight << QStringLiteral("Com");  // the work-name box keeps its height too
    buildControls();
    setTabOrders();
    // A day not wholly read, or not held, is not saved from this window: 登録 is refused.
    whenLoadFails(AfterFailedLoad::StayToBeRead, [this] { cmdMENU_[kMenuRegister]->setEnabled(false); });
}

// ---- layout --------------------------------------------------------------------------------

void frmDairyInput::buildControls()
{
    Label1_.assign(28, nullptr);
    const auto caption = [this](QWidget *parent, int index, const QString &text, int x, int y, int w, int h = 22) {
        QLabel *l = makeControl<QLabel>(parent, ctlName(QStringLiteral("Label1"), index), x, y, w, h);
        l->setText(text);
        Label1_[index] = l;
        return l;
    };
    const auto value = [](QWidget *parent, const QString &name, int x, int y, int w, int h = 22) {
        QLabel *l = makeControl<QLabel>(parent, name, x, y, w, h);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAutoFillBackground(true);
        l->setBackgroundRole(QPalette::Base);
        return l;
    };
    const auto lineBox = [this](QWidget *parent, int index, int x, int y, int w, int maxLength) {
        QLineEdit *e = makeControl<QLineEdit>(parent, ctlName(QStringLiteral("txtDATA"), index), x, y, w, 24);
        if (maxLength > 0)
            limitCharacters(e, maxLength);
        setSelectAllOnFocus(e);
        txtDATA_[index] = e;
        return e;
    };
    const auto combo = [this](QWidget *parent, int index, int x, int y, int w, bool editable) {
        QComboBox *c = makeControl<QComboBox>(parent, ctlName(QStringLiteral("cmbDATA"), index), x, y, w, 24);
        c->setEditable(editable);
        if (editable) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setCompleter(nullptr);
        }
        c->setMaxVisibleItems(16);
        cmbDATA_[index] = c;
        return c;
    };
    const auto button = [this](QWidget *parent, const QString &array, int index, const QString &text, int x, int y,
                               int w = 86, int h = 30) {
        QPushButton *b = makeControl<QPushButton>(parent, ctlName(array, index), x, y, w, h);
        b->setText(text);
        return b;
    };

    // Title and date.
    lblTITLE_ = makeControl<QLabel>(this, QStringLiteral("lblTITLE"), 12, 8, 200, 30);
    lblTITLE_->setText(QStringLiteral("日誌入力"));
    QFont titleFont = lblTITLE_->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    lblTITLE_->setFont(titleFont);
    caption(this, 24, QStringLiteral("作業日"), 624, 14, 48);
    lblDATA_[kLblWorkDate] = value(this, ctlName(QStringLiteral("lblDATA"), kLblWorkDate), 676, 12, 130, 24);
    lblDATA_[kLblWorkDate]->setAlignment(Qt::AlignCenter);

    // Header.
    caption(this, 1, QStringLiteral("天候"), 12, 47, 36);
    combo(this, kPickWeather, 48, 46, 136, false);
    caption(this, 26, QStringLiteral("最低気温"), 198, 47, 56);
    lineBox(this, kBoxLoTmp, 256, 46, 56, 0)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption(this, 3, QStringLiteral("℃"), 315, 47, 18);
    caption(this, 27, QStringLiteral("最高気温"), 342, 47, 56);
    lineBox(this, kBoxHiTmp, 400, 46, 56, 0)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption(this, 2, QStringLiteral("℃"), 459, 47, 18);
    caption(this, 0, QStringLiteral("ヒトコト"), 490, 47, 56);
    lineBox(this, kBoxOneMsg, 548, 46, 258, kOneMsgLength);

    // Page bar.
    Frame3_ = makeControl<QGroupBox>(this, QStringLiteral("Frame3"), 12, 78, 794, 36);
    const QStringList pages{QStringLiteral("作業日誌"), QStringLiteral("出納帳"), QStringLiteral("預金帳"),
                            QStringLiteral("売掛帳"), QStringLiteral("買掛帳")};
    for (int i = 0; i < kPageCount; ++i) {
        QRadioButton *o = makeControl<QRadioButton>(Frame3_, ctlName(QStringLiteral("Option1"), i), 12 + i * 100, 7, 92, 24);
        o->setText(pages.at(i));
        Option1_[i] = o;
        onClick(o, [this, i] { Option1_Click(i); });
    }
    Option1_[kPageWork]->setChecked(true);

    // Work diary page.
    QGroupBox *work = makeControl<QGroupBox>(this, ctlName(QStringLiteral("Frame1"), kFrameWork), 12, 118, 794, 338);
    Frame1_[kFrameWork] = work;
    caption(work, 4, QStringLiteral("作付"), 10, 8, 60);
    caption(work, 5, QStringLiteral("作業"), 200, 8, 60);
    for (int k = 0; k < kListCount; ++k) {
        QListWidget *l = makeControl<QListWidget>(work, ctlName(QStringLiteral("List1"), k), 10 + k * 190, 30, 180, 298);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        List1_[k] = l;
        connect(l, &QListWidget::currentRowChanged, this, [this, k](int) {
            trapped(trapFor(Event::Click, List1_[k]), [this, k] { List1_Click(k); });
        });
    }
    caption(work, 6, QStringLiteral("作物"), 394, 10, 44);
    lblDATA_[kLblCrop] = value(work, ctlName(QStringLiteral("lblDATA"), kLblCrop), 440, 8, 160);
    caption(work, 7, QStringLiteral("収穫"), 612, 10, 44);
    lblDATA_[kLblHarvest] = value(work, ctlName(QStringLiteral("lblDATA"), kLblHarvest), 658, 8, 100);
    caption(work, 8, QStringLiteral("作付日"), 394, 38, 44);
    lblDATA_[kLblPlantDate] = value(work, ctlName(QStringLiteral("lblDATA"), kLblPlantDate), 440, 36, 160);
    caption(work, 9, QStringLiteral("面積"), 612, 38, 44);
    lblDATA_[kLblArea] = value(work, ctlName(QStringLiteral("lblDATA"), kLblArea), 658, 36, 100);
    lblDATA_[kLblArea]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption(work, 10, QStringLiteral("㌃"), 762, 38, 20);

    caption(work, kCapWorkKbn, QStringLiteral("作業区分"), 394, 75, 58);
    combo(work, kPickWorkKbn, 456, 74, 190, false);
    caption(work, kCapWorkNm, QStringLiteral("作業"), 394, 105, 58);
    Combo1_ = makeControl<QComboBox>(work, ctlName(QStringLiteral("Combo1"), 0), 456, 104, 326, 24);
    Combo1_->setEditable(true);
    Combo1_->setInsertPolicy(QComboBox::NoInsert);
    Combo1_->setCompleter(nullptr);
    Combo1_->setMaxVisibleItems(16);
    caption(work, kCapLineNotes, QStringLiteral("内容"), 394, 135, 58);
    lineBox(work, kBoxLineNotes, 456, 134, 326, kNotesLength);

    Frame2_ = makeControl<QGroupBox>(work, QStringLiteral("Frame2"), 388, 166, 398, 110);
    caption(Frame2_, 13, QStringLiteral("使用農薬"), 8, 15, 60);
    combo(Frame2_, kPickChemi, 68, 14, 318, false);
    caption(Frame2_, 14, QStringLiteral("使用目的"), 8, 45, 60);
    combo(Frame2_, kPickPurpose, 68, 44, 318, true);
    caption(Frame2_, 15, QStringLiteral("使用量"), 8, 75, 60);
    lineBox(Frame2_, kBoxLineQty, 68, 74, 96, kQtyLength)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    combo(Frame2_, kPickUnit, 170, 74, 96, false);
    // Temperatures and quantities are numbers: typed without the input method.
    for (int i : {kBoxLoTmp, kBoxHiTmp, kBoxLineQty})
        txtDATA_[i]->setAttribute(Qt::WA_InputMethodEnabled, false);

    cmdSUB_[kSubAdd] = button(work, QStringLiteral("cmdSUB"), kSubAdd, QStringLiteral("追加"), 604, 298);
    cmdSUB_[kSubDelete] = button(work, QStringLiteral("cmdSUB"), kSubDelete, QStringLiteral("削除"), 696, 298);
    for (int i = 0; i < kSubCount; ++i)
        onClick(cmdSUB_[i], [this, i] { cmdSUB_Click(i); });

    // Voucher book page, in the same place.
    QGroupBox *book = makeControl<QGroupBox>(this, ctlName(QStringLiteral("Frame1"), kFrameBook), 12, 118, 794, 338);
    Frame1_[kFrameBook] = book;
    ListView1_ = makeControl<QTreeWidget>(book, QStringLiteral("ListView1"), 10, 10, 774, 252);
    ListView1_->setRootIsDecorated(false);
    ListView1_->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1_->setUniformRowHeights(true);
    ListView1_->setAllColumnsShowFocus(true);
    ListView1_->header()->setStretchLastSection(false);
    ListView1_->header()->setSectionsMovable(false);
    ListView1_->setColumnCount(0);
    // Under the columns 備考, the two amounts and 残高 of the book.
    const int sumLeft[kSumCount] = {310, 457, 564, 671};
    const int sumWidth[kSumCount] = {147, 107, 107, 107};
    for (int i = 0; i < kSumCount; ++i) {
        QLabel *s = value(book, ctlName(QStringLiteral("lblSUM"), i), sumLeft[i], 266, sumWidth[i]);
        s->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblSUM_[i] = s;
    }
    const QStringList edits{QStringLiteral("追加"), QStringLiteral("修正"), QStringLiteral("削除")};
    for (int i = 0; i < kVoucherEditCount; ++i) {
        cmdEDIT_[i] = button(book, QStringLiteral("cmdEDIT"), i, edits.at(i), 10 + i * 92, 298);
        onClick(cmdEDIT_[i], [this, i] { cmdEDIT_Click(i); });
    }
    book->hide();

    // Notes.
    caption(this, 19, QStringLiteral("メモ"), 12, 464, 36);
    caption(this, 21, QStringLiteral("備忘"), 414, 464, 36);
    for (int i = 0; i < static_cast<int>(memo_.size()); ++i) {
        QPlainTextEdit *m =
            makeControl<QPlainTextEdit>(this, ctlName(QStringLiteral("txtDATA"), kBoxMemo + i), 50 + i * 402, 462, 354,
                                        72);
        limitLength(m, kMemoLength);
        setSelectAllOnFocus(m);
        memo_[i] = m;
    }

    // Buttons.
    cmdMENU_[kMenuRegister] =
        button(this, QStringLiteral("cmdMENU"), kMenuRegister, QStringLiteral("登録"), 12, 546, 100, 32);
    cmdMENU_[kMenuClose] =
        button(this, QStringLiteral("cmdMENU"), kMenuClose, QStringLiteral("閉じる"), 706, 546, 100, 32);
    for (int i = 0; i < kMenuCount; ++i)
        onClick(cmdMENU_[i], [this, i] { cmdMENU_Click(i); });

    // The boxes of a line show only while a line is current.
    for (QWidget *w : std::initializer_list<QWidget *>{cmbDATA_[kPickWorkKbn], Combo1_, txtDATA_[kBoxLineNotes],
                                                       Label1_[kCapWorkKbn], Label1_[kCapWorkNm],
                                                       Label1_[kCapLineNotes], Frame2_})
        w->hide();
}

void frmDairyInput::setTabOrders()
{
    const std::vector<QWidget *> order = {
        cmbDATA_[kPickWeather],   txtDATA_[kBoxLoTmp],     txtDATA_[kBoxHiTmp],       txtDATA_[kBoxOneMsg],
        List1_[kListPlant],       List1_[kListLine],       cmbDATA_[kPickWorkKbn],    Combo1_,
        txtDATA_[kBoxLineNotes],  cmbDATA_[kPickChemi],    cmbDATA_[kPickPurpose],    txtDATA_[kBoxLineQty],
        cmbDATA_[kPickUnit],      cmdSUB_[kSubAdd],        cmdSUB_[kSubDelete],       memoBox(kBoxMemo),
        memoBox(kBoxReminder),    cmdMENU_[kMenuRegister], cmdMENU_[kMenuClose],      Option1_[kPageWork],
        Option1_[kPageCash],      Option1_[kPageBank],     Option1_[kPageReceivable], Option1_[kPagePayable],
        ListView1_,               cmdEDIT_[kVoucherAdd],   cmdEDIT_[kVoucherModify],  cmdEDIT_[kVoucherDelete],
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---- events --------------------------------------------------------------------------------

void frmDairyInput::onLoad()
{
    Form::onLoad();  // design sizes, WINDOW_STA
    const QDateTime d = workDate();
    setWindowTitle(DiaryCaption(d));
    lblDATA_[kLblWorkDate]->setText(d.toString(QStringLiteral("yyyy/MM/dd")));
}

// The day is read at the first display of each opening; later size changes only rescale, so
// they never drop what was typed.
void frmDairyInput::onResize()
{
    Form::onResize();
    applyLedgeColumnWidths();
    if (!isFirstResize())
        return;
    InitForm();
    LoadData();
    DispData();
    // A day whose hold could not be written is shown to be read; the failure is reported once
    // and 登録 stays refused.
    if (!holdFailure_.isEmpty())
        throw HbError(kErrDatabase, holdFailure_);
}

bool frmDairyInput::onUnload()
{
    ReleaseDataHolds(QStringLiteral("D_DIARY"));
    ReleaseDataHolds(QStringLiteral("D_LEDGE"));
    return true;
}

Trap frmDairyInput::trapFor(Event event, QWidget *control) const
{
    switch (event) {
    case Event::Unload:
        return Trap::Plain;
    case Event::KeyPress:
        return Trap::Plain;
    case Event::Validate:
        return ctlIndex(control, QStringLiteral("cmbDATA")) >= 0 ? Trap::Plain : Trap::Standard;
    case Event::Click:
        if (ctlIndex(control, QStringLiteral("cmdSUB")) >= 0 || ctlIndex(control, QStringLiteral("cmdEDIT")) >= 0
            || ctlIndex(control, QStringLiteral("List1")) >= 0 || ctlIndex(control, QStringLiteral("Combo1")) >= 0)
            return Trap::Plain;
        return Trap::Standard;
    default:
        return Trap::Standard;
    }
}

bool frmDairyInput::validate(QWidget *control)
{
    if (const int i = ctlIndex(control, QStringLiteral("txtDATA")); i >= 0)
        return txtDATA_Validate(i);
    if (const int i = ctlIndex(control, QStringLiteral("cmbDATA")); i >= 0) {
        cmbDATA_Validate(i);
        return true;
    }
    if (ctlIndex(control, QStringLiteral("Combo1")) == 0)
        Combo1_Validate();
    return true;
}

// ---- the day -------------------------------------------------------------------------------

long frmDairyInput::fmrId() const
{
    return currentFmrId();
}

QDateTime frmDairyInput::workDate() const
{
    return gWorkDate.toDate();
}

void frmDairyInput::InitForm()
{
    current_ = -1;
    day_ = DiaryRec();
    lines_.assign(1, DiaryDtlRec());
    loadedChemiIds_.clear();
    loadedLedge_.assign(1, LedgeRec());
    loadedRows_.assign(1, LoadedRows());  // not loaded until read
    dayLoaded_ = false;
    for (int k = 0; k < static_cast<int>(cmbDATA_.size()); ++k)
        SetCmb(k);
    for (int k = 0; k < static_cast<int>(List1_.size()); ++k)
        SetList(k);
    SetCombo1(0);
}

void frmDairyInput::LoadData()
{
    dayLoaded_ = false;
    holdFailure_.clear();
    // No voucher of an earlier window may outlive a failed load.
    gLedge.assign(1, LedgeRec());
    ListView1_->clear();
    DiaryDay d = LoadDiaryDay(fmrId(), workDate());
    day_ = std::move(d.day);
    lines_ = std::move(d.lines);
    gLedge = std::move(d.ledge);
    loadedLedge_ = gLedge;
    loadedChemiIds_ = std::move(d.loadedChemiIds);
    loadedRows_ = std::move(d.loadedRows);
    holdFailure_ = d.holdFailure;
    current_ = -1;
    dayLoaded_ = holdFailure_.isEmpty();
}

void frmDairyInput::DispData()
{
    lblDATA_[kLblWorkDate]->setText(day_.WORK_DATE.isDate()
                                        ? day_.WORK_DATE.toDate().toString(QStringLiteral("yyyy/MM/dd"))
                                        : shown(day_.WORK_DATE));
    txtDATA_[kBoxHiTmp]->setText(shown(day_.HI_TMP, QStringLiteral("0")));
    txtDATA_[kBoxLoTmp]->setText(shown(day_.LO_TMP, QStringLiteral("0")));
    txtDATA_[kBoxOneMsg]->setText(shown(day_.ONE_MSG));
    setTxtText(kBoxMemo, shown(day_.NOTES1));
    setTxtText(kBoxReminder, shown(day_.NOTES2));
    QComboBox *weather = cmbDATA_[kPickWeather];
    weather->setCurrentIndex(weather->count() > 0 ? 0 : -1);
    if (!day_.WTH_ID.isNull() && !day_.WTH_ID.isEmpty()) {
        const int i = findItemId(weather, IdOf(day_.WTH_ID));
        if (i >= 0)
            weather->setCurrentIndex(i);
    }
}

bool frmDairyInput::ChkData()
{
    return true;  // every box was stored as it was left
}

// ---- work lines ----------------------------------------------------------------------------

bool frmDairyInput::lineSelected() const
{
    return current_ >= 0 && current_ < static_cast<int>(lines_.size()) && hasSelection(List1_[kListLine]);
}

void frmDairyInput::SetList(int k)
{
    if (k == kListPlant) {
        current_ = -1;
        QListWidget *list = List1_[kListPlant];
        const QSignalBlocker block(list);
        list->clear();
        for (const PickEntry &p : PlantingsOfDay(fmrId(), workDate())) {
            auto *item = new QListWidgetItem(p.text, list);
            item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(p.id));
        }
        selectRow(list, -1);
    } else if (k == kListLine) {
        current_ = -1;
        QListWidget *list = List1_[kListLine];
        const QSignalBlocker block(list);
        list->clear();
        if (!hasSelection(List1_[kListPlant]))
            return;
        const long plant = listId(List1_[kListPlant]);
        for (const DiaryDtlRec &l : lines_) {
            if (IdOf(l.DTL_NO) == 0 || IdOf(l.PLANT_ID) != plant)
                continue;
            auto *item = new QListWidgetItem(shown(l.WORK_NM), list);
            item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(IdOf(l.DTL_NO)));
        }
        selectRow(list, -1);
    }
}

void frmDairyInput::List1_Click(int index)
{
    if (index == kListPlant) {
        current_ = -1;
        SetList(kListLine);
        DispPlant();
        cmdSUB_[kSubDelete]->setText(QStringLiteral("削除"));
        return;
    }
    const long d = hasSelection(List1_[kListLine]) ? listId(List1_[kListLine]) : 0;
    current_ = -1;
    if (d != 0) {
        for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
            if (IdOf(lines_[i].DTL_NO) == d) {
                current_ = i;
                break;
            }
        }
    }
    DispDtl();
    SetLineLists();
}

// The facts of the planting marked, read after the rest is drawn: when they cannot be read they
// stay empty, never those of the planting marked before.
void frmDairyInput::DispPlant()
{
    for (int i = kLblCrop; i <= kLblArea; ++i)
        lblDATA_[i]->clear();
    DispDtl();
    if (!hasSelection(List1_[kListPlant]))
        return;
    const PlantFacts f = GetPlantFacts(fmrId(), listId(List1_[kListPlant]));
    if (f.found) {
        lblDATA_[kLblCrop]->setText(f.crop);
        lblDATA_[kLblHarvest]->setText(f.harvest);
        lblDATA_[kLblPlantDate]->setText(f.plantDate);
        lblDATA_[kLblArea]->setText(f.area);
    }
}

// Shows the current line from what the window holds, without reading: its pick lists follow
// (SetLineLists).
void frmDairyInput::DispDtl()
{
    QComboBox *workKbn = cmbDATA_[kPickWorkKbn];
    workKbn->setCurrentIndex(-1);
    txtDATA_[kBoxLineNotes]->clear();
    const std::initializer_list<QWidget *> lineBoxes{workKbn,
                                                     Combo1_,
                                                     txtDATA_[kBoxLineNotes],
                                                     Label1_[kCapWorkKbn],
                                                     Label1_[kCapWorkNm],
                                                     Label1_[kCapLineNotes]};
    for (QWidget *w : lineBoxes)
        w->hide();
    if (!hasSelection(List1_[kListPlant])) {
        cmdSUB_[kSubDelete]->setText(QStringLiteral("削除"));
        DispChemi();
        return;
    }
    if (!hasSelection(List1_[kListLine]) || current_ < 0) {
        DispChemi();
        return;
    }
    const DiaryDtlRec &line = lines_[current_];
    const long w = IdOf(line.WORK_KBN);
    workKbn->setCurrentIndex(w != 0 ? findItemId(workKbn, w) : -1);
    Combo1_->setEditText(shown(line.WORK_NM));
    txtDATA_[kBoxLineNotes]->setText(shown(line.NOTES));
    for (QWidget *c : lineBoxes)
        c->show();
    cmdSUB_[kSubDelete]->setText(w == kWorkShip ? QStringLiteral("参照") : QStringLiteral("削除"));
    DispChemi();
}

void frmDairyInput::DispChemi()
{
    if (current_ < 0 || IdOf(lines_[current_].WORK_KBN) != kWorkChemi) {
        for (int k = kPickChemi; k <= kPickUnit; ++k)
            cmbDATA_[k]->setCurrentIndex(-1);
        cmbDATA_[kPickPurpose]->setEditText(QString());
        txtDATA_[kBoxLineQty]->clear();
        Frame2_->hide();
        return;
    }
    const DiaryDtlRec &line = lines_[current_];
    Frame2_->show();
    cmbDATA_[kPickChemi]->setCurrentIndex(findItemId(cmbDATA_[kPickChemi], IdOf(line.CHEMI_ID)));
    // The purposes of the pesticide shown are read with the line's other lists.
    emptyList(cmbDATA_[kPickPurpose], shown(line.PURPOSE));
    txtDATA_[kBoxLineQty]->setText(shown(line.QTY));
    cmbDATA_[kPickUnit]->setCurrentIndex(findItemId(cmbDATA_[kPickUnit], IdOf(line.UNIT_ID)));
}

// Reads the lists that follow the current line once its boxes show it: the work names of its
// planting and kind, and for a pesticide application the purposes of its pesticide. A read that
// fails leaves its list empty under the line shown.
void frmDairyInput::SetLineLists()
{
    if (current_ < 0 || current_ >= static_cast<int>(lines_.size()))
        return;
    SetCombo1(0);
    const DiaryDtlRec &line = lines_[current_];
    if (IdOf(line.WORK_KBN) == kWorkChemi)
        SetCmb(kPickPurpose, shown(line.PURPOSE));
}

void frmDairyInput::cmdSUB_Click(int index)
{
    if (index == kSubAdd)
        addLine();
    else if (index == kSubDelete && cmdSUB_[kSubDelete]->text() == QStringLiteral("参照"))
        viewShipment();
    else if (index == kSubDelete)
        deleteLine();
}

void frmDairyInput::addLine()
{
    const Value plant = hasSelection(List1_[kListPlant]) ? Value(listId(List1_[kListPlant])) : Value();
    AddLine(lines_, day_, plant);
    List1_Click(kListPlant);
    QListWidget *list = List1_[kListLine];
    if (list->count() > 0) {
        selectRow(list, list->count() - 1);
        List1_Click(kListLine);
    }
    if (cmbDATA_[kPickWorkKbn]->isVisible()) {
        cmbDATA_[kPickWorkKbn]->setFocus(Qt::OtherFocusReason);
        dropDown(cmbDATA_[kPickWorkKbn]);
    }
}

void frmDairyInput::deleteLine()
{
    if (current_ >= 0 && current_ < static_cast<int>(lines_.size())) {
        const long voucher = IdOf(lines_[current_].LEDGE_ID);
        RemoveKeepingOne(lines_, static_cast<std::size_t>(current_));
        current_ = -1;
        if (voucher != 0 && RemoveLedge(gLedge, voucher))
            DispLedgeList();
    }
    List1_Click(kListPlant);
}

// A shipment line shows its shipment read-only in the shipment input; the shipment and its
// planting are looked up by grower and number.
void frmDairyInput::viewShipment()
{
    if (!lineSelected())
        return;
    const long ship = IdOf(lines_[static_cast<std::size_t>(current_)].SHIP_ID);
    if (ship == 0)
        return;
    LoadShipment(dataDb(), fmrId(), ship);
    gEditMode = kEditView;
    gEditRow = 0;
    form<frmShipInput>().showModal(this);
}

// ---- pick lists ----------------------------------------------------------------------------

void frmDairyInput::SetCmb(int k, const QString &text)
{
    if (k < 0 || k >= static_cast<int>(cmbDATA_.size()))
        return;
    const long chemi = k == kPickPurpose ? itemId(cmbDATA_[kPickChemi], cmbDATA_[kPickChemi]->currentIndex()) : 0;
    QComboBox *box = cmbDATA_[k];
    emptyList(box, text);
    const QSignalBlocker block(box);
    fillPickList(box, PickRows(k, fmrId(), chemi));
    if (box->isEditable())
        box->setEditText(text);
}

void frmDairyInput::SetCombo1(int k)
{
    if (k != 0 || current_ < 0 || current_ >= static_cast<int>(lines_.size()))
        return;
    const DiaryDtlRec &line = lines_[current_];
    emptyList(Combo1_, shown(line.WORK_NM));
    const QStringList names = WorkNameHistory(fmrId(), IdOf(line.PLANT_ID), IdOf(line.WORK_KBN));
    const QSignalBlocker block(Combo1_);
    Combo1_->clear();
    Combo1_->addItems(names);
    Combo1_->setCurrentIndex(-1);
    Combo1_->setEditText(shown(line.WORK_NM));
}

// ---- storing the boxes ---------------------------------------------------------------------

void frmDairyInput::cmbDATA_Validate(int index)
{
    QComboBox *box = cmbDATA_[index];
    const int i = box->currentIndex();
    const bool line = lineSelected();
    switch (index) {
    case kPickWeather:
        day_.WTH_ID = i >= 0 ? Value(itemId(box, i)) : Value::integer(0);
        break;
    case kPickWorkKbn:
        if (line) {
            DiaryDtlRec &l = lines_[current_];
            const long kind = i >= 0 ? itemId(box, i) : 0;
            l.WORK_KBN = Value(kind);
            // What is saved is what is shown: a line that is no pesticide application keeps no
            // pesticide use (its voucher number stays, so the save removes the voucher).
            if (kind != kWorkChemi && HasPesticide(l))
                ClearPesticide(l);
        }
        DispChemi();
        SetLineLists();
        break;
    case kPickChemi:
        if (line) {
            DiaryDtlRec &l = lines_[current_];
            if (i > 0) {
                l.CHEMI_ID = Value(itemId(box, i));
                l.CHEMI_NM = Value(box->itemText(i));
            } else {
                l.CHEMI_ID = Value(0);
                l.CHEMI_NM = Value::null();
            }
        }
        // The purposes follow the pesticide; the box shows what the line holds.
        SetCmb(kPickPurpose, line ? shown(lines_[current_].PURPOSE) : QString());
        break;
    case kPickPurpose:
        if (line) {
            const QString t = box->currentText();
            lines_[current_].PURPOSE = t.isEmpty() ? Value::null() : Value(t);
        }
        break;
    case kPickUnit:
        if (line)
            lines_[current_].UNIT_ID = Value(i >= 0 ? itemId(box, i) : 0);
        break;
    default:
        break;
    }
}

bool frmDairyInput::txtDATA_Validate(int index)
{
    const bool line = lineSelected();
    if ((index == kBoxLineNotes || index == kBoxLineQty) && !line)
        return true;
    const QString text = txtText(index);
    Value v = text.isEmpty() ? Value::null() : Value(text);
    if (index == kBoxLoTmp || index == kBoxHiTmp || index == kBoxLineQty) {
        // Temperatures and quantities are numbers, parsed once here.
        if (!text.trimmed().isEmpty()) {
            double n = 0;
            if (!parseNumber(text, &n)) {
                ShowMsg(QStringLiteral("数値を入力してください。"), kMsgExclamation);
                txtDATA_[index]->selectAll();
                return false;
            }
            v = Value(n);
        } else {
            v = Value::null();
        }
        txtDATA_[index]->setText(shown(v));
    }
    switch (index) {
    case kBoxLoTmp: day_.LO_TMP = v; break;
    case kBoxHiTmp: day_.HI_TMP = v; break;
    case kBoxOneMsg: day_.ONE_MSG = v; break;
    case kBoxLineNotes: lines_[current_].NOTES = v; break;
    case kBoxLineQty: lines_[current_].QTY = v; break;
    case kBoxMemo: day_.NOTES1 = v; break;
    case kBoxReminder: day_.NOTES2 = v; break;
    default: break;
    }
    return true;
}

void frmDairyInput::Combo1_Validate()
{
    if (current_ < 0 || current_ >= static_cast<int>(lines_.size()))
        return;
    const QString t = Combo1_->currentText();
    lines_[current_].WORK_NM = t.isEmpty() ? Value::null() : Value(t);
    if (hasSelection(List1_[kListLine]))
        List1_[kListLine]->currentItem()->setText(t);
}

// ---- pages and the voucher book ------------------------------------------------------------

void frmDairyInput::Option1_Click(int index)
{
    if (index == kPageWork) {
        Frame1_[kFrameWork]->show();
        Frame1_[kFrameBook]->hide();
        return;
    }
    // The book's page is shown before it is read: a book that cannot be read is shown empty.
    Frame1_[kFrameWork]->hide();
    Frame1_[kFrameBook]->show();
    DispLedgeList();
}

long frmDairyInput::bookAccount() const
{
    for (int i = kPageCash; i <= kPagePayable; ++i) {
        if (Option1_[i]->isChecked())
            return BookAccount(i);
    }
    return 0;
}

// Draws the book of the chosen account from gLedge; nothing on the work-line page.
void frmDairyInput::DispLedgeList()
{
    const long acc = bookAccount();
    if (acc == 0)
        return;
    InitLedgeList(acc);
    SetLedgeList(acc);
}

void frmDairyInput::InitLedgeList(long accId)
{
    ListView1_->clear();
    for (QLabel *sum : lblSUM_)
        sum->clear();
    bookColumns_ = LedgeBookColumns(accId);
    QStringList captions;
    for (const LedgeBookColumn &c : bookColumns_)
        captions << c.caption;
    ListView1_->setColumnCount(static_cast<int>(bookColumns_.size()));
    ListView1_->setHeaderLabels(captions);
    QTreeWidgetItem *header = ListView1_->headerItem();
    for (int i = 0; i < static_cast<int>(bookColumns_.size()); ++i) {
        header->setData(i, Qt::UserRole, bookColumns_[i].key);
        header->setTextAlignment(i, (bookColumns_[i].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    applyLedgeColumnWidths();
}

// Design widths times the window's horizontal factor; the ID column is not shown.
void frmDairyInput::applyLedgeColumnWidths()
{
    QHeaderView *header = ListView1_->header();
    header->setMinimumSectionSize(0);
    for (int i = 0; i < static_cast<int>(bookColumns_.size()) && i < ListView1_->columnCount(); ++i) {
        const int width = static_cast<int>(std::lround(bookColumns_[i].twips * scaleX() / kTwipsPerPixel));
        ListView1_->setColumnWidth(i, width);
        ListView1_->setColumnHidden(i, width == 0);
    }
}

void frmDairyInput::SetLedgeList(long accId)
{
    const LedgeBook book = BuildLedgeBook(accId, fmrId(), workDate(), gLedge);
    const int columns = ListView1_->columnCount();
    for (const LedgeBookRow &r : book.rows) {
        const QStringList texts = {r.ledgeId,
                                   QString::number(r.number),
                                   r.accNm,
                                   r.ctrNm,
                                   r.notes,
                                   FormatLedgeAmount(r.increase),
                                   FormatLedgeAmount(r.decrease),
                                   FormatLedgeAmount(r.balance)};
        auto *item = new QTreeWidgetItem(ListView1_);
        for (int i = 0; i < columns && i < texts.size(); ++i) {
            item->setText(i, texts.at(i));
            const bool right = i < static_cast<int>(bookColumns_.size()) && bookColumns_[i].right;
            item->setTextAlignment(i, (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
    }
    lblSUM_[kSumOpening]->setText(FormatLedgeAmount(book.opening));
    lblSUM_[kSumIncrease]->setText(FormatLedgeAmount(book.increaseTotal));
    lblSUM_[kSumDecrease]->setText(FormatLedgeAmount(book.decreaseTotal));
    lblSUM_[kSumBalance]->setText(FormatLedgeAmount(book.balance));
}

// Add, modify or delete a voucher of the book through the diary's voucher dialog.
// Vouchers that a work line, a pesticide purchase or a shipment made are refused with the
// message naming the window where they are changed.
void frmDairyInput::cmdEDIT_Click(int index)
{
    if (const long acc = bookAccount(); acc != 0)
        gDiaryLedgeAcc = Value(acc);
    if (index == kVoucherAdd) {
        gEditMode = kEditAdd;
        gEditRow = -1;
    } else if (index == kVoucherModify || index == kVoucherDelete) {
        const QList<QTreeWidgetItem *> selected = ListView1_->selectedItems();
        if (selected.isEmpty())
            return;
        // The row's own text is the voucher's number: its leading numeric value.
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^\\s*[-+]?\\d+")).match(selected.first()->text(0));
        const long ledgeId = m.hasMatch() ? m.captured(0).trimmed().toLong() : 0;
        long row = -1;
        for (std::size_t i = 0; i < gLedge.size(); ++i) {
            if (IdOf(gLedge[i].LEDGE_ID) == ledgeId) {
                row = static_cast<long>(i);
                break;
            }
        }
        if (row < 0)
            return;
        const int mode = index == kVoucherModify ? kEditModify : kEditDelete;
        const LedgeRec &voucher = gLedge[static_cast<std::size_t>(row)];
        const QString refusal = LedgeRefusalMsg(GetLedgeSrcKbn(IdOf(voucher.FMR_ID), IdOf(voucher.LEDGE_ID)), mode);
        if (!refusal.isEmpty()) {
            ShowMsg(refusal, kMsgExclamation);
            return;
        }
        gEditRow = row;
        gEditMode = mode;
    } else {
        return;
    }
    auto &dialog = form<frmDiaryLedgeInput>();
    dialog.ledgeChanged = [this](const Value &acc) {
        const long a = isBlank(acc) ? 0 : static_cast<long>(acc.toLong());
        InitLedgeList(a);
        SetLedgeList(a);
    };
    dialog.showModal(nullptr);
}

// ---- "登録" and "閉じる" --------------------------------------------------------------------

void frmDairyInput::cmdMENU_Click(int index)
{
    if (index == kMenuClose) {
        Unload();
    } else if (index == kMenuRegister) {
        if (!ChkData())
            return;
        SaveData();  // closes the window after a save
    }
}

// Writes the day in one transaction from copies of the day record, the lines and gLedge, and
// takes the copies over only after the commit: a failed save leaves the window as it was, the
// lines' voucher numbers included, and a second "登録" starts afresh. Then the calendar shows the
// saved day and the window closes.
void frmDairyInput::SaveData()
{
    if (!dayLoaded_)
        throw HbError(kErrDatabase, QStringLiteral("日誌を読み込めなかったため登録できません。"));
    DiarySave s;
    s.day = day_;
    s.lines = lines_;
    s.ledge = gLedge;
    s.loadedLedge = loadedLedge_;
    s.loadedChemiIds = loadedChemiIds_;
    s.loadedRows = loadedRows_;
    DiarySave saved = SaveDiaryDay(dataDb(), std::move(s));
    day_ = std::move(saved.day);
    lines_ = std::move(saved.lines);
    gLedge = std::move(saved.ledge);
    loadedLedge_ = std::move(saved.loadedLedge);
    loadedChemiIds_ = std::move(saved.loadedChemiIds);
    loadedRows_ = std::move(saved.loadedRows);

    dataChanged();
    Unload();
}

// ---- helpers -------------------------------------------------------------------------------

QString frmDairyInput::txtText(int index) const
{
    if (index >= kBoxMemo)
        return memoBox(index)->toPlainText();
    return txtDATA_[index]->text();
}

void frmDairyInput::setTxtText(int index, const QString &text)
{
    if (index >= kBoxMemo)
        memoBox(index)->setPlainText(text);
    else
        txtDATA_[index]->setText(text);
}

}  // namespace hb
