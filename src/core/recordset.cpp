// The rows a statement read, and the row-editing of dynamic recordsets.

#include "core/recordset.h"

#include "core/dbobject.h"

#include <QRegularExpression>

namespace hb {

void Recordset::requireRow() const
{
    if (closed_)
        throw HbError(kErrNoConnection, QStringLiteral("レコードセットは閉じられています。"));
    if (mode_ == Mode::Add)
        return;
    if (pos_ < 0 || pos_ >= static_cast<long>(rows_.size()))
        throw HbError(kErrNoCurrentRow, QStringLiteral("BOF と EOF のいずれかが True になっているか、または現在のレコードが削除されています。"));
}

void Recordset::requireUpdatable() const
{
    if (cursor_ != Dynamic || table_.isEmpty() || !owner_)
        throw HbError(kErrNotUpdatable, QStringLiteral("このレコードセットは更新できません。"));
}

void Recordset::MoveNext()
{
    flushEdit();
    if (eof())
        throw HbError(kErrNoCurrentRow, QStringLiteral("EOF です。"));
    ++pos_;
}

void Recordset::MovePrevious()
{
    if (cursor_ == ForwardOnly)
        throw HbError(kErrNotUpdatable, QStringLiteral("前方スクロール専用のレコードセットです。"));
    flushEdit();
    if (pos_ < 0)
        throw HbError(kErrNoCurrentRow, QStringLiteral("BOF です。"));
    --pos_;
}

void Recordset::MoveFirst()
{
    if (cursor_ == ForwardOnly && pos_ > 0)
        throw HbError(kErrNotUpdatable, QStringLiteral("前方スクロール専用のレコードセットです。"));
    flushEdit();
    pos_ = 0;
}

void Recordset::MoveLast()
{
    flushEdit();
    pos_ = rows_.empty() ? 0 : static_cast<long>(rows_.size()) - 1;
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < names_.size(); ++i) {
        if (names_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    // "T.COL" names the column COL of the statement's table.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        return fieldIndex(name.mid(dot + 1));
    return -1;
}

Value Recordset::Fields(int i) const
{
    requireRow();
    if (i < 0 || i >= static_cast<int>(names_.size()))
        throw HbError(kErrItemNotFound, QStringLiteral("要求された名前または序数に対応する項目がコレクションで見つかりません。"));
    return mode_ != Mode::None ? buffer_.at(i) : rows_.at(pos_).at(i);
}

Value Recordset::Fields(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw HbError(kErrItemNotFound, QStringLiteral("項目 %1 が見つかりません。").arg(name));
    return Fields(i);
}

void Recordset::setField(const QString &name, const Value &v)
{
    requireUpdatable();
    const int i = fieldIndex(name);
    if (i < 0)
        throw HbError(kErrItemNotFound, QStringLiteral("項目 %1 が見つかりません。").arg(name));
    if (mode_ == Mode::None) {
        requireRow();
        mode_ = Mode::Edit;
        buffer_ = rows_.at(pos_);
        changed_.assign(names_.size(), false);
    }
    buffer_[i] = v;
    changed_[i] = true;
}

void Recordset::AddNew()
{
    requireUpdatable();
    flushEdit();
    mode_ = Mode::Add;
    buffer_.assign(names_.size(), Value::null());
    changed_.assign(names_.size(), false);
}

void Recordset::CancelUpdate()
{
    mode_ = Mode::None;
    buffer_.clear();
    changed_.clear();
}

void Recordset::flushEdit()
{
    if (mode_ != Mode::None)
        Update();
}

QString Recordset::keyCondition(std::vector<Value> &params) const
{
    QStringList where;
    const auto &orig = rows_.at(pos_);
    const QStringList keys = keys_.isEmpty() ? tableColumns_ : keys_;
    for (const QString &k : keys) {
        const int ki = fieldIndex(k);
        if (ki < 0)
            throw HbError(kErrNotUpdatable, QStringLiteral("キー項目 %1 がありません。").arg(k));
        if (orig.at(ki).isNull()) {
            where << k + QStringLiteral(" IS NULL");
        } else {
            where << k + QStringLiteral(" = ?");
            params.push_back(orig.at(ki));
        }
    }
    return where.join(QStringLiteral(" AND "));
}

void Recordset::Update()
{
    requireUpdatable();
    if (mode_ == Mode::None)
        return;
    QStringList cols;
    std::vector<Value> params;
    for (int i = 0; i < names_.size(); ++i) {
        if (!changed_[i] || !tableColumns_.contains(names_.at(i), Qt::CaseInsensitive))
            continue;
        cols << names_.at(i);
        params.push_back(buffer_[i].isEmpty() ? Value::null() : buffer_[i]);
    }
    if (mode_ == Mode::Add) {
        if (!cols.isEmpty()) {
            owner_->execTranslated(insertStatement(table_, cols), params);
        }
        rows_.push_back(buffer_);
        pos_ = static_cast<long>(rows_.size()) - 1;
    } else {
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString &c : cols)
                sets << c + QStringLiteral(" = ?");
            const QString where = keyCondition(params);
            const long n = owner_->execTranslated(
                QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table_, sets.join(QStringLiteral(", ")), where), params);
            if (n == 0)
                throw HbError(kErrRowChanged, QStringLiteral("更新する行が見つかりません。ほかのユーザーが変更した可能性があります。"));
        }
        rows_[pos_] = buffer_;
    }
    CancelUpdate();
}

void Recordset::Delete()
{
    requireUpdatable();
    requireRow();
    if (mode_ == Mode::Add) {
        CancelUpdate();
        return;
    }
    CancelUpdate();
    std::vector<Value> params;
    const QString where = keyCondition(params);
    owner_->execTranslated(QStringLiteral("DELETE FROM %1 WHERE %2").arg(table_, where), params);
    rows_.erase(rows_.begin() + pos_);
}

namespace {

// Compares a field value with a criterion value: <0, 0, >0; false when they cannot be compared.
bool compareValues(const Value &a, const Value &b, int *out)
{
    if (a.isNull() || b.isNull() || a.isEmpty())
        return false;
    try {
        if (a.isDate() || b.isDate()) {
            const QDateTime x = a.toDate(), y = b.toDate();
            *out = x < y ? -1 : (x > y ? 1 : 0);
            return true;
        }
        if (a.isNumber() || b.isNumber()) {
            const double x = a.toDouble(), y = b.toDouble();
            *out = x < y ? -1 : (x > y ? 1 : 0);
            return true;
        }
    } catch (const HbError &) {
        return false;
    }
    *out = QString::compare(a.displayText(), b.displayText(), Qt::CaseInsensitive);
    return true;
}

bool likeMatch(const QString &text, const QString &pattern)
{
    QString re;
    for (QChar c : pattern) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%'))
            re += QStringLiteral(".*");
        else if (c == QLatin1Char('?') || c == QLatin1Char('_'))
            re += QLatin1Char('.');
        else
            re += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QStringLiteral("^") + re + QStringLiteral("$"),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

}  // namespace

void Recordset::Find(const QString &criterion, bool backward)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*\\[?([\\w.]+)\\]?\\s*(<=|>=|<>|=|<|>|\\bLIKE\\b)\\s*(.*?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(criterion);
    if (!m.hasMatch())
        throw HbError(kErrBadArguments, QStringLiteral("検索条件が不正です: %1").arg(criterion));
    const int fi = fieldIndex(m.captured(1));
    if (fi < 0)
        throw HbError(kErrItemNotFound, QStringLiteral("項目 %1 が見つかりません。").arg(m.captured(1)));
    const QString op = m.captured(2).toUpper();
    QString raw = m.captured(3);
    Value target;
    if (raw.size() >= 2 && raw.startsWith(QLatin1Char('#')) && raw.endsWith(QLatin1Char('#'))) {
        QDateTime dt;
        if (!parseDateText(raw.mid(1, raw.size() - 2), &dt))
            throw HbError(kErrBadArguments, QStringLiteral("検索条件が不正です: %1").arg(criterion));
        target = Value(dt);
    } else if (raw.size() >= 2 && raw.startsWith(QLatin1Char('\'')) && raw.endsWith(QLatin1Char('\''))) {
        target = Value(raw.mid(1, raw.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
    } else if (raw.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
        target = Value::null();
    } else {
        double d = 0;
        if (!parseNumber(raw, &d))
            throw HbError(kErrBadArguments, QStringLiteral("検索条件が不正です: %1").arg(criterion));
        target = Value(d);
    }
    flushEdit();
    if (rows_.empty()) {
        pos_ = backward ? -1 : 0;
        return;
    }
    long p = pos_;
    if (p < 0)
        p = 0;
    if (p >= static_cast<long>(rows_.size()))
        p = static_cast<long>(rows_.size()) - 1;
    const long step = backward ? -1 : 1;
    for (; p >= 0 && p < static_cast<long>(rows_.size()); p += step) {
        const Value &v = rows_.at(p).at(fi);
        bool hit = false;
        if (op == QLatin1String("LIKE")) {
            hit = !v.isNull() && likeMatch(v.displayText(), target.displayText());
        } else {
            int c = 0;
            if (compareValues(v, target, &c)) {
                hit = (op == QLatin1String("=") && c == 0) || (op == QLatin1String("<>") && c != 0) ||
                      (op == QLatin1String("<") && c < 0) || (op == QLatin1String(">") && c > 0) ||
                      (op == QLatin1String("<=") && c <= 0) || (op == QLatin1String(">=") && c >= 0);
            }
        }
        if (hit) {
            pos_ = p;
            return;
        }
    }
    pos_ = backward ? -1 : static_cast<long>(rows_.size());
}

}  // namespace hb
