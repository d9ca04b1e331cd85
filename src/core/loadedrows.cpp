#include "core/loadedrows.h"

#include <QDateTime>

namespace hb {

namespace {

// Opening a row elsewhere and closing it there change these; they tell nothing of its data.
bool compared(const QString &column)
{
    return column.compare(QLatin1String("HOLD_TM"), Qt::CaseInsensitive) != 0 &&
           column.compare(QLatin1String("LAST_TM"), Qt::CaseInsensitive) != 0;
}

// A value as text that is equal for equal values however they were read (a list's record or a
// plain read; Empty and Null alike).
QString comparable(const Value &v)
{
    if (v.isEmpty() || v.isNull())
        return QStringLiteral("\x01");
    if (v.isDate())
        return QStringLiteral("d") + v.toDate().toString(Qt::ISODate);
    if (v.isNumber())
        return QStringLiteral("n") + QString::number(v.toDouble(), 'g', 17);
    return QStringLiteral("s") + v.displayText();
}

QString rowText(const std::vector<Value> &values)
{
    QStringList parts;
    for (const Value &v : values)
        parts << comparable(v);
    return parts.join(QChar(0x1f));
}

}  // namespace

ChangedElsewhere::ChangedElsewhere()
    : ChangedElsewhere(QStringLiteral("ほかのコンピュータで変更されたため登録できません。開き直してください。"))
{
}

ChangedElsewhere::ChangedElsewhere(const QString &description) : HbError(kErrRowChanged, description) {}

NotLoaded::NotLoaded()
    : ChangedElsewhere(QStringLiteral("読み込めなかったデータは登録できません。開き直してください。"))
{
}

LoadedRows LoadedRows::none()
{
    LoadedRows nothing;
    nothing.nothing_ = true;
    return nothing;
}

LoadedRows::LoadedRows(QString table, QString where, std::vector<Value> params, QStringList columns,
                       const std::vector<std::vector<Value>> &rows)
    : table_(std::move(table)), where_(std::move(where)), params_(std::move(params))
{
    std::vector<int> kept;
    for (int i = 0; i < columns.size(); ++i) {
        if (compared(columns.at(i))) {
            kept.push_back(i);
            columns_ << columns.at(i);
        }
    }
    for (const auto &row : rows) {
        std::vector<Value> values;
        for (int i : kept)
            values.push_back(i < static_cast<int>(row.size()) ? row[i] : Value());
        rows_ << rowText(values);
    }
    rows_.sort();
}

LoadedRows LoadedRows::read(DbObject &db, const QString &table, const QString &where, std::vector<Value> params)
{
    LoadedRows loaded(table, where, std::move(params), {}, {});
    loaded.rows_ = loaded.current(db, false, &loaded.columns_);
    return loaded;
}

QStringList LoadedRows::current(DbObject &db, bool lock, QStringList *columns) const
{
    QString sql = QStringLiteral("SELECT * FROM ") + table_ + QStringLiteral(" WHERE ") + where_;
    // A server reads the latest rows and holds them until the save ends, so two saves at once
    // take turns and the second sees what the first wrote (a file lets one writer in at a time).
    if (lock && db.kind() == DbKind::Server)
        sql += QStringLiteral(" FOR UPDATE");
    auto rs = db.GetFwdOnlyRst(sql, params_);
    if (columns && columns->isEmpty()) {
        for (int i = 0; i < rs->FieldCount(); ++i) {
            if (compared(rs->FieldName(i)))
                *columns << rs->FieldName(i);
        }
    }
    std::vector<int> at;
    for (const QString &c : columns ? *columns : columns_) {
        const int i = rs->fieldIndex(c);
        if (i < 0)
            throw HbError(kErrItemNotFound, QStringLiteral("項目 %1 が見つかりません。").arg(c));
        at.push_back(i);
    }
    QStringList rows;
    for (; !rs->eof(); rs->MoveNext()) {
        std::vector<Value> values;
        for (int i : at)
            values.push_back(rs->Fields(i));
        rows << rowText(values);
    }
    rows.sort();
    return rows;
}

void LoadedRows::check(DbObject &db) const
{
    if (nothing_)
        return;
    if (!isSet())
        throw NotLoaded();
    if (current(db, true, nullptr) != rows_)
        throw ChangedElsewhere();
}

LoadedRows LoadedRows::reread(DbObject &db) const
{
    if (!isSet())
        return *this;
    LoadedRows again = *this;
    again.rows_ = current(db, false, nullptr);
    return again;
}

void CheckLoaded(DbObject &db, const std::vector<LoadedRows> &loaded)
{
    for (const LoadedRows &rows : loaded)
        rows.check(db);
}

}  // namespace hb
