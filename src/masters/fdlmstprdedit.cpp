#include "masters/fdlmstprdedit.h"

#include "core/picklist.h"

#include "core/globals.h"
#include "core/helpers.h"
#include "core/textlimit.h"
#include "core/startup.h"
#include "masters/masterdialog.h"
#include "masters/products.h"

#include <QLabel>
#include <QRegularExpression>
#include <algorithm>
#include <climits>

namespace hb {

namespace {

// An ID held in a record or an item compared with a number: Empty counts as 0, Null matches
// nothing.
bool sameId(const Value &v, long id)
{
    if (v.isNull())
        return false;
    if (v.isEmpty())
        return id == 0;
    return IsNumeric(v) && v.toDouble() == static_cast<double>(id);
}

QString text(const Value &v)
{
    return NullToVal(v, Value("")).displayText();
}

}  // namespace

fdlMstPrdEdit::fdlMstPrdEdit() : Form(QStringLiteral("fdlMstPrdEdit"))
{
    setWindowTitle(QStringLiteral("商品マスタ編集"));
    whenLoadFails(AfterFailedLoad::Close);
    setDesignSize(9600, 7200);

    int label = 0;
    const auto caption = [&](const QString &t, const QRect &g) {
        auto *l = new QLabel(t, this);
        l->setObjectName(ctlName(QStringLiteral("Label1"), label++));
        l->setGeometry(g);
        return l;
    };
    QLabel *title = caption(QStringLiteral("商品マスタ編集"), QRect(16, 8, 260, 28));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(12);
    title->setFont(bold);

    // In tab order: the filter, the list, the (hidden) shop, the boxes, the buttons, the flag.
    caption(QStringLiteral("商品名"), QRect(16, 48, 56, 24));
    txtCOND = new QLineEdit(this);
    txtCOND->setObjectName(ctlName(QStringLiteral("txtCOND"), 0));
    txtCOND->setGeometry(76, 48, 200, 24);
    limitCharacters(txtCOND, 50);

    List1 = new QListWidget(this);
    List1->setObjectName(ctlName(QStringLiteral("List1"), 0));
    List1->setGeometry(16, 80, 260, 324);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    QLabel *shopLabel = caption(QStringLiteral("販売店"), QRect(300, 48, 80, 24));
    cmbDATA = new QComboBox(this);
    cmbDATA->setObjectName(ctlName(QStringLiteral("cmbDATA"), 0));
    cmbDATA->setGeometry(384, 48, 200, 24);
    shopLabel->setVisible(false);
    cmbDATA->setVisible(false);

    const struct { const char *label; int width; int limit; } boxes[kBoxCount] = {
        {"商品ID", 90, 8}, {"商品名", 230, 50}, {"略名", 230, 50}, {"ヨミ", 230, 50}};
    for (int i = 0; i < kBoxCount; ++i) {
        const int y = 80 + i * 30;
        caption(QString::fromUtf8(boxes[i].label), QRect(300, y, 80, 24));
        auto *b = new QLineEdit(this);
        b->setObjectName(ctlName(QStringLiteral("txtDATA"), i));
        b->setGeometry(384, y, boxes[i].width, 24);
        limitCharacters(b, boxes[i].limit);
        setSelectAllOnFocus(b);
        txtDATA[static_cast<std::size_t>(i)] = b;
    }
    txtDATA[kBoxPrdId]->setAlignment(Qt::AlignRight);
    setInputMethodOff(txtDATA[kBoxPrdId]);

    const auto button = [&](const QString &array, int index, const QString &t, const QRect &g) {
        auto *b = new QPushButton(t, this);
        b->setObjectName(ctlName(array, index));
        b->setGeometry(g);
        return b;
    };
    cmdSUB[kSubAdd] = button(QStringLiteral("cmdSUB"), kSubAdd, QStringLiteral("追加"), QRect(384, 244, 90, 30));
    cmdSUB[kSubRemove] = button(QStringLiteral("cmdSUB"), kSubRemove, QStringLiteral("削除"), QRect(484, 244, 90, 30));
    cmdMENU[kMenuRegister] =
        button(QStringLiteral("cmdMENU"), kMenuRegister, QStringLiteral("登録"), QRect(418, 410, 96, 30));
    cmdMENU[kMenuClose] = button(QStringLiteral("cmdMENU"), kMenuClose, QStringLiteral("閉じる"), QRect(524, 410, 96, 30));

    Check1 = new QCheckBox(QStringLiteral("有効"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(384, 206, 64, 24);

    // An entry chosen (by mouse, key or code) is a click on it; the focus entering the list
    // makes an entry current without choosing it, and changes nothing.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> chosen = List1->selectedItems();
        if (!filling_ && !chosen.isEmpty())
            trapped(Trap::Plain, [this, row = List1->row(chosen.first())] { listClicked(row); });
    });
    onClick(cmdSUB[kSubAdd], [this] { addProduct(); });
    onClick(cmdSUB[kSubRemove], [this] { removeProduct(); });
    onClick(cmdMENU[kMenuRegister], [this] { Register(); });
    onClick(cmdMENU[kMenuClose], [this] { cancelDialog(*this); });
    // The flag of the current product follows the check box.
    onClick(Check1, [this] {
        if (cur_ >= 0)
            prd_[cur_].CHK_FLG = Value(Check1->isChecked());
    });
}

// ---- events ----------------------------------------------------------------------------------

void fdlMstPrdEdit::onLoad()
{
    Form::onLoad();
    InitFrm();
    LoadData();
}

// The list is filled and the first product shown once per showing; a later resize only
// rescales, so text typed and not yet stored stays in its box.
void fdlMstPrdEdit::onResize()
{
    Form::onResize();
    if (isFirstResize())
        SetList();
}

bool fdlMstPrdEdit::validate(QWidget *control)
{
    if (control == txtCOND) {
        SetList();
        return true;
    }
    const auto it = std::find(txtDATA.begin(), txtDATA.end(), control);
    if (it == txtDATA.end() || cur_ < 0)
        return true;
    const int i = static_cast<int>(it - txtDATA.begin());
    PrdRec &rec = prd_[cur_];
    if (i == kBoxPrdId) {
        long id = 0;
        if (!checkId(&id))
            return false;
        rec.PRD_ID = Value(id);
    } else {
        Value &field = i == kBoxPrdNm ? rec.PRD_NM : i == kBoxPrdOmt ? rec.PRD_OMT : rec.PRD_YM;
        field = Value(txtDATA[static_cast<std::size_t>(i)]->text());
    }
    // The empty placeholder typed into becomes a product of the shop in use, valid unless its
    // flag was cleared already, as an added one (it would otherwise be stored without shop and
    // flag).
    if (rec.SHOP_ID.isEmpty())
        rec.SHOP_ID = gShopID;
    if (rec.CHK_FLG.isEmpty())
        rec.CHK_FLG = Value(true);
    SetList();
    return true;
}

// A product ID: a whole positive number (a decimal part is rounded, halves to even), which no
// other product has.
bool fdlMstPrdEdit::checkId(long *id)
{
    static const QRegularExpression plain(QStringLiteral("^\\s*\\d+(\\.\\d*)?\\s*$"));
    const QString t = txtDATA[kBoxPrdId]->text();
    double v = 0;
    if (!plain.match(t).hasMatch() || !parseNumber(t, &v) || roundHalfEven(v) < 1 || roundHalfEven(v) > INT_MAX) {
        ShowMsg(QStringLiteral("数値を入力してください。"), kMsgExclamation);
        return false;
    }
    *id = static_cast<long>(roundHalfEven(v));
    for (int j = 0; j < static_cast<int>(prd_.size()); ++j) {
        if (j != cur_ && sameId(prd_[j].PRD_ID, *id)) {
            ShowMsg(QStringLiteral("商品IDが重複しています。"), kMsgExclamation);
            return false;
        }
    }
    return true;
}

Form::EnterKey fdlMstPrdEdit::enterKey(QWidget *control) const
{
    if (control == Check1 || control == cmbDATA)
        return EnterKey::Drop;
    return Form::enterKey(control);
}

Trap fdlMstPrdEdit::trapFor(Event event, QWidget *control) const
{
    const auto inArray = [control](const QString &array) {
        return control && control->objectName().startsWith(array + QLatin1Char('_'));
    };
    switch (event) {
    case Event::Resize:
        return Trap::Plain;
    case Event::KeyPress:
        if (inArray(QStringLiteral("txtDATA")) || inArray(QStringLiteral("txtCOND")))
            return Trap::Plain;
        break;
    case Event::Validate:
        if (inArray(QStringLiteral("txtDATA")))
            return Trap::Plain;
        break;
    case Event::Click:
        if (inArray(QStringLiteral("cmdSUB")))
            return Trap::Plain;
        break;
    default:
        break;
    }
    return inArray(QStringLiteral("List1")) ? Trap::Plain : Trap::Standard;
}

void fdlMstPrdEdit::listClicked(int row)
{
    GetIdx(IdOrZero(Value::fromVariant(List1->item(row)->data(Qt::UserRole))));
    DispData();
}

void fdlMstPrdEdit::addProduct()
{
    const long id = GetMaxPrdId() + 1;
    size_t i = 0;
    if (!sameId(prd_[0].PRD_ID, 0)) {
        prd_.emplace_back();
        i = prd_.size() - 1;
    }
    prd_[i].SHOP_ID = gShopID;
    prd_[i].PRD_ID = Value(id);
    prd_[i].CHK_FLG = Value(true);
    if (List1->count() > 0)
        List1->setCurrentRow(List1->count() - 1);
    GetIdx(id);
    DispData();
    txtDATA[kBoxPrdId]->setFocus(Qt::OtherFocusReason);
}

// Removing the only product leaves the empty placeholder.
void fdlMstPrdEdit::removeProduct()
{
    if (cur_ < 0)
        return;
    if (prd_.size() == 1) {
        prd_[0] = PrdRec();
    } else {
        prd_.erase(prd_.begin() + cur_);
        if (cur_ > static_cast<int>(prd_.size()) - 1)
            cur_ = static_cast<int>(prd_.size()) - 1;
    }
    SetList();
    DispData();
}

void fdlMstPrdEdit::Register()
{
    if (SaveData() > 0)
        Unload();
}

// ---- procedures ------------------------------------------------------------------------------

void fdlMstPrdEdit::InitFrm()
{
    cur_ = 0;
    prd_.assign(1, PrdRec());
    SetCmb(0);
}

long fdlMstPrdEdit::LoadData()
{
    return LoadProducts(masterDb(), prd_, &loaded_);
}

void fdlMstPrdEdit::SetCmb(int k)
{
    if (k != 0)
        return;
    fillPickList(cmbDATA, masterDb(),
        QStringLiteral("SELECT  M_SHOP.SHOP_ID,  M_SHOP.SHOP_NM  FROM M_SHOP  WHERE CHK_FLG<>0 ORDER BY M_SHOP.SHOP_ID"));
}

void fdlMstPrdEdit::SetList()
{
    const long c = cur_ >= 0 && cur_ < static_cast<int>(prd_.size()) ? IdOrZero(prd_[cur_].PRD_ID) : 0;
    const QString filter = txtCOND->text();
    filling_ = true;
    List1->clear();
    for (const PrdRec &rec : prd_) {
        // A Null name is listed whatever the filter; an unnamed new product is not.
        if (!filter.isEmpty() && !rec.PRD_NM.isNull()
            && (rec.PRD_NM.isEmpty() || !rec.PRD_NM.displayText().contains(filter, Qt::CaseSensitive)))
            continue;
        auto *item = new QListWidgetItem(text(rec.PRD_NM), List1);
        item->setData(Qt::UserRole, static_cast<qlonglong>(IdOrZero(rec.PRD_ID)));
    }
    filling_ = false;
    for (int i = 0; i < List1->count(); ++i) {
        if (List1->item(i)->data(Qt::UserRole).toLongLong() == c) {
            List1->setCurrentRow(i);  // as a click on the entry
            return;
        }
    }
    // None chosen: a key in the list then starts from its first entry.
    List1->QAbstractItemView::setCurrentIndex(QModelIndex());
}

void fdlMstPrdEdit::GetIdx(long id)
{
    cur_ = -1;
    for (int i = 0; i < static_cast<int>(prd_.size()); ++i) {
        if (sameId(prd_[i].PRD_ID, id))
            cur_ = i;
    }
}

long fdlMstPrdEdit::GetMaxPrdId() const
{
    long max = 0;
    for (const PrdRec &rec : prd_) {
        const long id = IdOrZero(rec.PRD_ID);
        if (id > max)
            max = id;
    }
    return max;
}

void fdlMstPrdEdit::DispData()
{
    if (cur_ < 0)
        return;
    const PrdRec &rec = prd_[cur_];
    for (int i = 0; i < cmbDATA->count(); ++i) {
        if (sameId(rec.SHOP_ID, static_cast<long>(cmbDATA->itemData(i).toLongLong()))) {
            cmbDATA->setCurrentIndex(i);
            break;
        }
    }
    txtDATA[kBoxPrdId]->setText(text(rec.PRD_ID));
    txtDATA[kBoxPrdNm]->setText(text(rec.PRD_NM));
    txtDATA[kBoxPrdOmt]->setText(text(rec.PRD_OMT));
    txtDATA[kBoxPrdYm]->setText(text(rec.PRD_YM));
    // A Null flag counts as valid; the empty placeholder shows the box cleared.
    const Value flag = rec.CHK_FLG;
    Check1->setChecked(flag.isNull() || (!flag.isEmpty() && flag.toDouble() != 0));
}

long fdlMstPrdEdit::SaveData()
{
    return SaveProducts(masterDb(), prd_, &loaded_);
}

}  // namespace hb
