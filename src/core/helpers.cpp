#include "core/helpers.h"

#include "core/db.h"
#include "core/loadedrows.h"
#include "core/log.h"
#include "core/uiservices.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlError>
#include <cmath>

namespace hb {

namespace {

QString kindTag(int style)
{
    switch (style & 0xF0) {
    case kMsgCritical: return QStringLiteral("[警告]");
    case kMsgQuestion: return QStringLiteral("[問い合わせ]");
    case kMsgExclamation: return QStringLiteral("[注意]");
    case kMsgInformation: return QStringLiteral("[情報]");
    default: break;
    }
    switch (style & 0x0F) {
    case kMsgOk: return QStringLiteral("[OK]");
    case kMsgOkCancel: return QStringLiteral("[OK-CANCEL]");
    case kMsgAbortRetryIgnore: return QStringLiteral("[ABORT-RETRY-IGNORE]");
    case kMsgYesNoCancel: return QStringLiteral("[YES-NO-CANCEL]");
    case kMsgYesNo: return QStringLiteral("[YES-NO]");
    case kMsgRetryCancel: return QStringLiteral("[RETRY-CANCEL]");
    default: return QString();
    }
}

QString answerTag(int style, int answer)
{
    switch (style & 0x0F) {
    case kMsgOkCancel:
        return answer == kAnsOk ? QStringLiteral("[OK]") : answer == kAnsCancel ? QStringLiteral("[CANCEL]") : QString();
    case kMsgAbortRetryIgnore:
        return answer == kAnsAbort ? QStringLiteral("[ABORT]")
               : answer == kAnsRetry ? QStringLiteral("[RETRY]")
               : answer == kAnsIgnore ? QStringLiteral("[IGNORE]") : QString();
    case kMsgYesNoCancel:
        return answer == kAnsCancel ? QStringLiteral("[CANCEL]")
               : answer == kAnsYes ? QStringLiteral("[YES]")
               : answer == kAnsNo ? QStringLiteral("[NO]") : QString();
    case kMsgYesNo:
        return answer == kAnsYes ? QStringLiteral("[YES]") : answer == kAnsNo ? QStringLiteral("[NO]") : QString();
    case kMsgRetryCancel:
        return answer == kAnsCancel ? QStringLiteral("[CANCEL]") : answer == kAnsRetry ? QStringLiteral("[RETRY]") : QString();
    default:
        return QString();
    }
}

const QString kShopNmSql = QStringLiteral("SELECT M_SHOP.SHOP_NM FROM M_SHOP WHERE M_SHOP.SHOP_ID=");

Value readName(DbObject &db, const QString &sql, const Value &id)
{
    const long n = NullToVal(id, Value(0)).toLong();
    auto rs = db.GetFwdOnlyRst(sql + QString::number(n));
    const Value result = rs->eof() ? Value::null() : rs->Fields(0);
    rs->Close();
    return result;
}

// The look-ups of the windows report their own failure and give Null.
Value lookupName(DbObject &(*db)(), const QString &sql, const Value &id)
{
    Value result;
    trapped(Trap::Standard, [&] { result = readName(db(), sql, id); });
    return result;
}

}  // namespace

int ShowMsg(const QString &prompt, int buttons, QString &title)
{
    if (title.isEmpty())
        title = kProgramTitle;
    int answer = 0;
    try {
        answer = ui().messageBox(QApplication::activeWindow(), prompt, buttons, title);
    } catch (const HbError &) {
        return 0;
    }
    WriteLog(title + kindTag(buttons) + prompt + answerTag(buttons, answer));
    return answer;
}

int ShowMsg(const QString &prompt, int buttons, const QString &title)
{
    QString t = title;
    return ShowMsg(prompt, buttons, t);
}

QString imagesFolder()
{
    QString folder = appPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return QDir::cleanPath(folder + QStringLiteral("../images")) + QLatin1Char('/');
}

double Val(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

Currency RoundEx(const Value &value, int mode, int digits)
{
    Currency result;
    trapped(Trap::Rounding, [&] {
        if (mode == 0)
            mode = 3;
        if (value.isNull())
            return;
        const double v = value.toDouble();
        const double x = std::fabs(v) * std::pow(10.0, digits);
        // The decimal conversion keeps 15 significant digits: x = m * 10^e exactly.
        const QString text = QString::number(x, 'e', 14);
        const int ePos = text.indexOf(QLatin1Char('e'));
        QString mant = text.left(ePos);
        mant.remove(QLatin1Char('.'));
        __int128 m = mant.toLongLong();
        int e = text.mid(ePos + 1).toInt() - 14;
        __int128 whole = 0;
        bool frac = false;
        bool half = false;
        if (e >= 0) {
            if (e > 20)
                throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
            whole = m;
            for (int i = 0; i < e; ++i)
                whole *= 10;
        } else if (-e > 30) {
            frac = m != 0;
        } else {
            __int128 d = 1;
            for (int i = 0; i < -e; ++i)
                d *= 10;
            whole = m / d;
            const __int128 r = m % d;
            frac = r != 0;
            half = 2 * r >= d;
        }
        if (mode == 2 && frac)
            whole += 1;
        else if (mode != 1 && mode != 2 && half)
            whole += 1;
        // Back to ten-thousandths: whole * 10^(4 - digits), rounding half to even below that.
        __int128 scaled = whole;
        if (digits <= 4) {
            for (int i = 0; i < 4 - digits; ++i)
                scaled *= 10;
        } else {
            __int128 d = 1;
            for (int i = 0; i < digits - 4; ++i)
                d *= 10;
            const __int128 q = scaled / d, r = scaled % d;
            scaled = q + ((2 * r > d || (2 * r == d && (q % 2) != 0)) ? 1 : 0);
        }
        if (scaled > static_cast<__int128>(INT64_MAX))
            throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
        result.scaled = static_cast<std::int64_t>(v < 0 ? -scaled : scaled);
    });
    return result;
}

namespace {

constexpr const char *kSlashAddedProperty = "hbSlashAdded";

// A "/" typed right where the typing help has just put one is swallowed: true when it was.
bool swallowTypedSlash(QLineEdit *box)
{
    const QString added = box->property(kSlashAddedProperty).toString();
    box->setProperty(kSlashAddedProperty, QVariant());
    if (added.isEmpty() || box->text() != added + QLatin1Char('/'))
        return false;
    box->setText(added);
    box->setCursorPosition(added.size());
    return true;
}

void appendSlash(QLineEdit *box, const QString &text)
{
    box->setText(text + QLatin1Char('/'));
    box->deselect();
    box->setCursorPosition(box->text().size());
    box->setProperty(kSlashAddedProperty, box->text());
}

}  // namespace

void SetDateSlash(QLineEdit *box)
{
    if (swallowTypedSlash(box))
        return;
    const QString t = box->text();
    if (t.isEmpty())
        return;
    double n = 0;
    const bool fourDigits = t.size() == 4 && parseNumber(t, &n);
    // "yyyy/mm" gets its slash; "yyyy/m/" (the person typed the slash) does not get a second.
    const bool sevenWithSlash = t.size() == 7 && t.indexOf(QLatin1Char('/')) == 4 && t.back().isDigit();
    if (!fourDigits && !sevenWithSlash)
        return;
    appendSlash(box, t);
}

void SetYMSlash(QLineEdit *box)
{
    if (swallowTypedSlash(box))
        return;
    const QString t = box->text();
    double n = 0;
    if (t.size() != 4 || !parseNumber(t, &n))
        return;
    appendSlash(box, t);
}

QString shownText(const Value &v)
{
    return isBlank(v) ? QString() : v.displayText();
}

Value GetKbnNm(const Value &id)
{
    return lookupName(workDb, QStringLiteral("SELECT L_KBN.NM FROM L_KBN WHERE L_KBN.KBN=15 AND L_KBN.ID="), id);
}

Value GetAccNm(const Value &id)
{
    return lookupName(workDb, QStringLiteral("SELECT L_ACC.ACC_NM FROM L_ACC WHERE L_ACC.ACC_ID="), id);
}

Value GetFmrNm(const Value &id)
{
    return lookupName(masterDb, QStringLiteral("SELECT M_FMR.FMR_NM FROM M_FMR WHERE M_FMR.FMR_ID="), id);
}

Value GetShopNm(const Value &id)
{
    return lookupName(masterDb, kShopNmSql, id);
}

Value ReadShopNm(DbObject &master, const Value &id)
{
    return readName(master, kShopNmSql, id);
}

QString GetChemiUnitNm(const Value &id)
{
    const Value n = NullToVal(id, Value(0));
    const double num = n.isString() ? (IsNumeric(n) ? n.toDouble() : 0.0) : n.toDouble();
    auto rs = workDb().GetFwdOnlyRst(
        QStringLiteral("SELECT  L_CHEMI_UNIT.NM  FROM L_CHEMI_UNIT  WHERE ID=") + Value(num).displayText());
    if (rs->eof())
        return QString();
    const Value nm = rs->Fields(0);
    return nm.isNull() ? QString() : nm.displayText();
}

long GetNewLedgeIDByFmr(long fmrId)
{
    return GetNewLedgeIDByFmr(dataDb(), fmrId);
}

long GetNewLedgeIDByFmr(DbObject &db, long fmrId)
{
    const Value max = db.DMax(QStringLiteral("LEDGE_ID"), QStringLiteral("D_LEDGE"),
                                               QStringLiteral("FMR_ID=") + QString::number(fmrId));
    return static_cast<long>(NullToVal(max, Value(0)).toLong() + 1);
}

QString OpenDir(QWidget *owner, const Value &prompt)
{
    QString out;
    trapped(Trap::Standard, [&] { out = ui().browseFolder(owner, prompt.displayText()); });
    return out;
}

void reportError(Trap form, int number, const QString &description, DbObject *rollbackOn)
{
    // A lost server connection is told alike whichever form caught it: program title, exclamation.
    if (description == DbObject::lostServerText() && form != Trap::Silent && form != Trap::Rollback) {
        ShowMsg(description, kMsgExclamation);
        return;
    }
    switch (form) {
    case Trap::Standard:
        ShowMsg(description, kMsgExclamation);
        break;
    case Trap::Plain:
        try {
            ui().messageBox(QApplication::activeWindow(), description, kMsgOk, kAppName);
        } catch (const HbError &) {
        }
        break;
    case Trap::Rounding:
        ShowMsg(description, kMsgOk);
        break;
    case Trap::Critical:
        ShowMsg(description, kMsgCritical);
        break;
    case Trap::Numbered:
        ShowMsg(QStringLiteral("(%1)").arg(number) + description, kMsgCritical);
        break;
    case Trap::Silent:
        WriteLog(QStringLiteral("(%1)").arg(number) + description);
        break;
    case Trap::Rollback:
        if (rollbackOn && rollbackOn->inTransaction()) {
            try {
                rollbackOn->RollbackTrans();
            } catch (const HbError &) {
            }
        }
        break;
    }
}

bool trapped(Trap form, const std::function<void()> &body, DbObject *rollbackOn)
{
    try {
        body();
        return true;
    } catch (const ChangedElsewhere &e) {
        // A save refused because another computer changed its rows is a refusal, whatever the
        // procedure's trap: the message with the exclamation mark, the window keeps its input.
        reportError(Trap::Rollback, e.number(), e.description(), rollbackOn);
        ShowMsg(e.description(), kMsgExclamation);
    } catch (const HbError &e) {
        reportError(form, e.number(), e.description(), rollbackOn);
    } catch (const std::exception &e) {
        reportError(form, 5, QString::fromLocal8Bit(e.what()), rollbackOn);
    }
    return false;
}

}  // namespace hb
