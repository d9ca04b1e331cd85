#pragma once
// What the shop and grower master dialogs share: one row of a master table edited in a column of
// text boxes (txtDATA), a selection look (only the key box open) and an edit look (the row's
// boxes open), Register (Command1 1) saving the row in one transaction, and the close button
// (Command1 0) that ends the program while the main menu is not loaded.
// Also the text-box helpers the product master uses.

#include "core/db.h"
#include "core/formbase.h"
#include "core/loadedrows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <functional>
#include <vector>

class QLabel;

namespace hb {

// The input method off (or disabled) for a box; kept when the box is locked or unlocked.
void setInputMethodOff(QLineEdit *box);
// Locks (read-only) or unlocks a box.
void setLocked(QLineEdit *box, bool locked);
// The box's background in every state (enabled or not).
void setBackColor(QWidget *box, const QColor &color);
// The system colours the dialogs use: menus, button faces, and white.
QColor menuColor();
QColor buttonFaceColor();

// A whole number typed into a key box (a shop, grower or product ID): the shared parser's value,
// rounded with halves to even. False when the text is no number; an HbError (overflow) when it
// does not fit a 32-bit integer.
bool parseId(const QString &text, long *id);

// One column of the row and the box that shows it.
struct MasterField {
    enum Kind { Text, Integer, Number };
    int box;
    const char *column;
    Kind kind;
};

class MasterRowDialog : public Form {
public:
    // The key box (txtDATA) and the close and register buttons (Command1); each dialog names its
    // other boxes.
    enum KeyBox : int { kBoxKey = 0 };
    enum Command : int { kCmdClose = 0, kCmdRegister = 1 };

    // 2 the edit look, any other value the selection look.
    int Mode() const { return mode_; }
    void setMode(int mode);
    // Fills the boxes from the row with that key; false when there is none (boxes unchanged).
    bool GetData(long id);
    // Inserts or updates the row with that key from the boxes, in one transaction; false (rolled
    // back, nothing shown) on failure. A row that another computer changed (or made) since the
    // boxes showed it is left as it is: the refusal is shown and false returned.
    bool SaveData(long id);
    bool ChkData() { return true; }

    QLineEdit *box(int i) const { return txtDATA.at(i); }
    QPushButton *command(int i) const { return Command1.at(i); }
    int boxCount() const { return static_cast<int>(txtDATA.size()); }

protected:
    MasterRowDialog(const QString &name, const QString &table, const QString &keyColumn,
                    std::vector<MasterField> fields);

    // Builders for the subclasses (geometry in pixels of the design).
    QLabel *addLabel(const QString &name, const QString &text, const QRect &geometry, QWidget *parent = nullptr);
    QLabel *addTitle(const QString &name, const QString &text, const QRect &geometry);
    // A box of txtDATA (`made`: a box of a derived kind, already created with its parent).
    QLineEdit *addBox(int index, const QRect &geometry, int limit, QWidget *parent = nullptr,
                      QLineEdit *made = nullptr);
    QPushButton *addCommand(int index, const QString &text, const QRect &geometry);
    // Connects the close and register buttons; call once the controls exist.
    void connectCommands();

    // The key of the row the dialog edits (gShopID or gFmrID).
    virtual Value rowKey() const = 0;
    // Whether the edit look opens a box (the key box excepted).
    virtual bool opensInEditLook(int box) const { return box > kBoxKey; }
    // Boxes whose non-empty text must be a number, and the refusal's message.
    virtual bool numericBox(int box) const = 0;
    virtual void refuseNumber() = 0;
    // Columns besides the boxes (option groups): read from the stored row by column name, and
    // written through `put` (which writes only what differs from the stored row).
    using ColumnReader = std::function<Value(const QString &column)>;
    using ColumnWriter = std::function<void(const QString &column, const Value &value)>;
    virtual void readExtra(const ColumnReader &field) {}
    virtual void writeExtra(const ColumnWriter &put) {}
    // Sets a column of the row being saved.
    void put(Recordset &rs, const QString &column, const Value &value);

    void onLoad() override;
    void onActivate() override;
    bool validate(QWidget *control) override;
    void keyPress(QWidget *control, int &key) override;

    void Register();

    std::vector<QLineEdit *> txtDATA;
    std::vector<QPushButton *> Command1;

private:
    Value boxValue(const MasterField &f) const;

    QString table_;
    QString keyColumn_;
    std::vector<MasterField> fields_;
    int mode_ = 0;
    bool adding_ = false;
    LoadedRows loaded_;    // the row of loadedId_ as the boxes were filled (none: no row)
    long loadedId_ = -1;
    bool refused_ = false;  // the last save found the row changed elsewhere
};

}  // namespace hb
