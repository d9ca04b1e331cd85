#include "core/filters.h"

#include "core/datepicker.h"
#include "core/helpers.h"

#include <QLineEdit>
#include <cmath>

namespace hb {

void refuseFilterBox(QLineEdit *box, const QString &message)
{
    ShowMsg(message, kMsgExclamation);
    DatePicker::focusWithoutPicker(box);
    box->selectAll();
}

bool filterYear(QLineEdit *box, std::optional<long> *year)
{
    year->reset();
    const QString text = box->text();
    if (text.isEmpty())
        return true;
    double v = 0;
    if (!parseNumber(text, &v) || v != std::floor(v) || std::fabs(v) > 1e9) {
        refuseFilterBox(box, QStringLiteral("数値を指定してください。"));
        return false;
    }
    *year = static_cast<long>(v);
    return true;
}

bool filterDate(QLineEdit *box, std::optional<QDate> *date)
{
    date->reset();
    const QString text = box->text();
    if (text.isEmpty())
        return true;
    QDateTime dt;
    if (!parseDateText(text, &dt)) {
        refuseFilterBox(box, QStringLiteral("日付を指定してください。"));
        return false;
    }
    *date = dt.date();
    return true;
}

QString likeContains()
{
    return QStringLiteral(" LIKE ? ESCAPE '") + QChar(kLikeEscape) + QLatin1Char('\'');
}

Value likeContainsPattern(const QString &typed)
{
    QString escaped = typed;
    escaped.replace(QChar(kLikeEscape), QString(2, QChar(kLikeEscape)));
    return Value(QLatin1Char('%') + escaped + QLatin1Char('%'));
}

}  // namespace hb
