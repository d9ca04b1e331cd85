#include "masters/masterdialog.h"

#include "core/helpers.h"
#include "core/startup.h"
#include "core/textlimit.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <algorithm>
#include <climits>

namespace hb {

namespace {

constexpr const char *kImeOffProperty = "hbInputMethodOff";

[[noreturn]] void typeMismatch()
{
    throw HbError(kErrTypeMismatch, QStringLiteral("型が一致しません。"));
}

}  // namespace

void setInputMethodOff(QLineEdit *box)
{
    box->setProperty(kImeOffProperty, true);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void setLocked(QLineEdit *box, bool locked)
{
    box->setReadOnly(locked);
    // Read-only changes turn the input method back on.
    if (box->property(kImeOffProperty).toBool())
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void setBackColor(QWidget *box, const QColor &color)
{
    QPalette p = box->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, color);
    box->setPalette(p);
}

QColor menuColor()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Window);
}

QColor buttonFaceColor()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

bool parseId(const QString &text, long *id)
{
    double v = 0;
    if (!parseNumber(text, &v))
        return false;
    if (v > static_cast<double>(INT_MAX) + 0.5 || v < static_cast<double>(INT_MIN) - 0.5)
        throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
    const std::int64_t r = roundHalfEven(v);
    if (r > INT_MAX || r < INT_MIN)
        throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
    *id = static_cast<long>(r);
    return true;
}

// ---- the dialog ------------------------------------------------------------------------------

MasterRowDialog::MasterRowDialog(const QString &name, const QString &table, const QString &keyColumn,
                                 std::vector<MasterField> fields)
    : Form(name), table_(table), keyColumn_(keyColumn), fields_(std::move(fields))
{
    scaling().keepFont << QStringLiteral("Sha");  // the frames keep their font; the fields scale theirs
    // The dialog sees the keys before its controls: Enter moves on from every control.
    setEnterLevel(EnterLevel::Window);
    // Nothing of the row, or not all of it, was read: the selection look with its key box closed
    // too, and no reload until the dialog is opened again.
    whenLoadFails(AfterFailedLoad::StayToBeRead, [this] {
        setMode(0);
        box(kBoxKey)->setEnabled(false);
    });
}

QLabel *MasterRowDialog::addLabel(const QString &name, const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *l = new QLabel(text, parent ? parent : this);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QLabel *MasterRowDialog::addTitle(const QString &name, const QString &text, const QRect &geometry)
{
    QLabel *l = addLabel(name, text, geometry);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(12);
    l->setFont(f);
    return l;
}

QLineEdit *MasterRowDialog::addBox(int index, const QRect &geometry, int limit, QWidget *parent, QLineEdit *made)
{
    QLineEdit *b = made ? made : new QLineEdit(parent ? parent : this);
    b->setObjectName(ctlName(QStringLiteral("txtDATA"), index));
    b->setGeometry(geometry);
    limitCharacters(b, limit);
    setSelectAllOnFocus(b);
    if (static_cast<int>(txtDATA.size()) <= index)
        txtDATA.resize(index + 1, nullptr);
    txtDATA[index] = b;
    return b;
}

QPushButton *MasterRowDialog::addCommand(int index, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(ctlName(QStringLiteral("Command1"), index));
    b->setGeometry(geometry);
    if (static_cast<int>(Command1.size()) <= index)
        Command1.resize(index + 1, nullptr);
    Command1[index] = b;
    return b;
}

void MasterRowDialog::connectCommands()
{
    onClick(command(kCmdClose), [this] { cancelDialog(*this); });
    onClick(command(kCmdRegister), [this] { Register(); });
}

void MasterRowDialog::setMode(int mode)
{
    QLineEdit *key = box(kBoxKey);
    if (mode == 2) {
        setBackColor(key, menuColor());
        setLocked(key, true);
        key->setEnabled(false);
        for (int i = kBoxKey + 1; i < boxCount(); ++i) {
            if (!opensInEditLook(i))
                continue;
            setBackColor(box(i), Qt::white);
            setLocked(box(i), false);
            box(i)->setEnabled(true);
        }
        command(kCmdRegister)->setEnabled(true);
        command(kCmdClose)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    } else {
        setBackColor(key, Qt::white);
        setLocked(key, false);
        key->setEnabled(true);
        for (int i = kBoxKey + 1; i < boxCount(); ++i) {
            box(i)->setText(QString());
            setBackColor(box(i), menuColor());
            setLocked(box(i), true);
            box(i)->setEnabled(false);
        }
        command(kCmdRegister)->setEnabled(false);
        command(kCmdClose)->setText(QStringLiteral("閉じる"));
    }
    mode_ = mode;
}

bool MasterRowDialog::GetData(long id)
{
    // What the save overwrites, read first: the boxes never show an older row than this.
    loaded_ = LoadedRows();
    loadedId_ = -1;
    loaded_ = LoadedRows::read(masterDb(), table_, keyColumn_ + QStringLiteral("=?"), {Value(id)});
    loadedId_ = id;
    auto rs = masterDb().GetFwdOnlyRst(QStringLiteral("SELECT %1.* FROM %1 WHERE %2=").arg(table_, keyColumn_)
                                     + QString::number(id));
    if (rs->eof()) {
        rs->Close();
        return false;
    }
    for (const MasterField &f : fields_)
        box(f.box)->setText(NullToVal(rs->Fields(QLatin1String(f.column)), Value("")).displayText());
    readExtra([&rs](const QString &column) { return rs->Fields(column); });
    rs->Close();
    return true;
}

// What a box stores: Null when empty, else its text, or for a numeric column the number the
// shared parser reads (what is no number never reaches the column).
Value MasterRowDialog::boxValue(const MasterField &f) const
{
    const QString text = box(f.box)->text();
    if (text.isEmpty())
        return Value::null();
    if (f.kind == MasterField::Text)
        return Value(text);
    double v = 0;
    if (!parseNumber(text, &v))
        typeMismatch();
    if (f.kind == MasterField::Number)
        return Value(v);
    long n = 0;
    parseId(text, &n);
    return Value(n);
}

bool MasterRowDialog::SaveData(long id)
{
    DbObject *db = gMst.get();
    refused_ = false;
    return trapped(
        Trap::Rollback,
        [&] {
            TransactionScope tx(masterDb());
            // The row as the boxes showed it, unless another computer changed it since; a row
            // the boxes never showed is not written.
            try {
                if (loadedId_ != id)
                    throw NotLoaded();
                loaded_.check(masterDb());
            } catch (const ChangedElsewhere &) {
                refused_ = true;
                throw;
            }
            auto rs = masterDb().GetDynamicRst(QStringLiteral("SELECT %1.* FROM %1 WHERE %2=").arg(table_, keyColumn_)
                                             + QString::number(id));
            adding_ = rs->eof();
            if (adding_) {
                rs->AddNew();
                rs->setField(keyColumn_, Value(id));
            }
            for (const MasterField &f : fields_)
                put(*rs, QLatin1String(f.column), boxValue(f));
            writeExtra([this, &rs](const QString &column, const Value &value) { put(*rs, column, value); });
            rs->Update();
            rs->Close();
            tx.commit();
        },
        db);
}

// Only what differs from the stored row is written: a server counts the rows an update changes,
// and an update that changes nothing would read as a row that has gone.
void MasterRowDialog::put(Recordset &rs, const QString &column, const Value &value)
{
    if (adding_ || rs.Fields(column) != value)
        rs.setField(column, value);
}

void MasterRowDialog::onLoad()
{
    Form::onLoad();
    setMode(0);
}

// The dialog finds its row itself: the key of the row in use, loaded when it exists, and the
// edit look either way.
void MasterRowDialog::onActivate()
{
    if (loadFailed())
        return;
    Form::onActivate();
    const Value key = NullToVal(rowKey(), Value(0));
    long id = 0;
    if (!key.isEmpty() && !parseId(key.displayText(), &id))
        typeMismatch();
    box(kBoxKey)->setText(QString::number(id));
    GetData(id);
    setMode(2);
    box(kBoxKey + 1)->setFocus(Qt::OtherFocusReason);  // the first box of the row
}

bool MasterRowDialog::validate(QWidget *control)
{
    const auto it = std::find(txtDATA.begin(), txtDATA.end(), control);
    if (it == txtDATA.end())
        return true;
    const int i = static_cast<int>(it - txtDATA.begin());
    const QString text = box(i)->text();
    if (!numericBox(i) || text.isEmpty() || parseNumber(text, nullptr))
        return true;
    refuseNumber();
    return false;
}

// Enter in the key box (the selection look): the row of the typed key, when it exists, opens in
// the edit look with the focus on the close button.
void MasterRowDialog::keyPress(QWidget *control, int &key)
{
    if (key != 13 || control != box(kBoxKey) || !box(kBoxKey)->isEnabled() || loadFailed())
        return;
    long id = 0;
    if (!parseId(box(kBoxKey)->text(), &id))
        return;  // moves on, and the box's check refuses the text
    if (GetData(id)) {
        setMode(2);
        command(kCmdClose)->setFocus(Qt::OtherFocusReason);
        key = 0;
    }
}

void MasterRowDialog::Register()
{
    long id = 0;
    if (!parseId(box(kBoxKey)->text(), &id))
        typeMismatch();
    ChkData();
    if (SaveData(id))
        Unload();
    else if (!refused_)  // a refusal has said why
        ShowMsg(QStringLiteral("データの登録に失敗しました。"), kMsgExclamation);
}

}  // namespace hb
