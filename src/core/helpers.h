#pragma once
// Small procedures every window uses, and the error trap.

#include "core/uiservices.h"
#include "core/value.h"

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace hb {

class DbObject;

// The title of every message box raised through ShowMsg; the application's name titles the
// boxes that windows raise directly (the plain error form and a few field checks).
inline const QString kProgramTitle = QStringLiteral("緑丘作業手帳");
inline const QString kAppName = QStringLiteral("HarvestBook");

// A message box titled with the program title when the title is empty (the caller's title
// variable receives the title used); logs one line to WriteLog. Never raises.
int ShowMsg(const QString &prompt, int buttons, QString &title);
int ShowMsg(const QString &prompt, int buttons = 0, const QString &title = QString());

// Rounds the magnitude at `digits` decimals: mode 1 truncates, 2 rounds up, 3 (and 0) half up.
// A Null value gives 0; a value that is no number is reported (rounding form) and gives 0.
Currency RoundEx(const Value &value, int mode, int digits);

// The number a text begins with (spaces before it skipped): sign, digits, decimals and
// exponent as far as they go; 0 when the text begins with no number ("2.5 pages" gives 2.5).
double Val(const QString &text);

// Typing help of "yyyy/mm/dd" and "yyyy/mm" boxes (connected to the box's text changes): "/"
// after the four digits of the year (and after "yyyy/mm"); a "/" typed right where the help has
// just put one is swallowed, so a date typed in full is not doubled.
void SetDateSlash(QLineEdit *box);
void SetYMSlash(QLineEdit *box);

// The text a box or cell shows for a value: "" for Empty and Null, else its display text.
QString shownText(const Value &v);

// Name look-ups by ID: the name, or Null when there is no row.
Value GetKbnNm(const Value &id);
Value GetAccNm(const Value &id);
Value GetFmrNm(const Value &id);
Value GetShopNm(const Value &id);
// The shop's name as GetShopNm reads it, but a failure reaches the caller (a save that must
// not go on without it).
Value ReadShopNm(DbObject &master, const Value &id);
// The unit's name, "" when there is none.
QString GetChemiUnitNm(const Value &id);
// The grower's highest voucher number plus one (in the data database, or the one given).
long GetNewLedgeIDByFmr(long fmrId);
long GetNewLedgeIDByFmr(DbObject &db, long fmrId);
// The images folder beside the program's folder (with a final "/"), where the shops' logo
// files lie.
QString imagesFolder();

// The folder picker; "" when cancelled.
QString OpenDir(QWidget *owner, const Value &prompt);

// The forms in which a trapped error is reported.
enum class Trap {
    Standard,   // ShowMsg(description, 48)
    Plain,      // plain box with the description, titled with the application's name
    Rounding,   // ShowMsg(description, 0)
    Critical,   // ShowMsg(description, 16)
    Numbered,   // ShowMsg("(n)" + description, 16)
    Silent,     // WriteLog only
    Rollback,   // the given object's open transaction is rolled back; no message
};

void reportError(Trap form, int number, const QString &description, DbObject *rollbackOn = nullptr);

// Runs a procedure body with the error trap of the given form: a raised error skips the rest
// of the body, is reported, and false is returned. Program exit passes through.
bool trapped(Trap form, const std::function<void()> &body, DbObject *rollbackOn = nullptr);

}  // namespace hb
