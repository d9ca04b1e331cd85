#pragma once
// Row records: one value per column of a table, in the table's column order, and the shared
// arrays of them that list windows fill ("never empty": no row leaves one all-Empty element).

#include "core/db.h"
#include "core/value.h"

#include <QStringList>
#include <vector>

namespace hb {

// A record type derives from RowRecord<itself> and supplies
//   static const std::vector<Column> &columns();
// listing its columns (name and member) in table order.
template <class Rec>
struct RowRecord {
    struct Column {
        const char *name;
        Value Rec::*member;
    };

    static int fieldCount() { return static_cast<int>(Rec::columns().size()); }

    static const QStringList &columnNames()
    {
        static const QStringList names = [] {
            QStringList l;
            for (const Column &c : Rec::columns())
                l << QLatin1String(c.name);
            return l;
        }();
        return names;
    }

    Value &field(int i) { return static_cast<Rec *>(this)->*(Rec::columns()[i].member); }
    const Value &field(int i) const { return static_cast<const Rec *>(this)->*(Rec::columns()[i].member); }

    // The current row of a recordset that carries the table's columns, taken by name.
    static Rec fromRow(const Recordset &rs)
    {
        Rec r;
        for (int i = 0; i < fieldCount(); ++i)
            r.field(i) = rs.Fields(columnNames().at(i));
        return r;
    }

    // Replaces the array with the rows of the recordset from its current row to its end and
    // returns how many were loaded; with none, the array holds one all-Empty element. The
    // columns are found by name once: a missing one fails before anything is copied.
    static long loadArray(Recordset &rs, std::vector<Rec> &out)
    {
        out.assign(1, Rec());
        long n = 0;
        std::vector<int> columns;
        while (!rs.eof()) {
            if (columns.empty()) {
                for (const QString &name : columnNames()) {
                    const int i = rs.fieldIndex(name);
                    if (i < 0)
                        throw HbError(kErrItemNotFound, QStringLiteral("項目 %1 が見つかりません。").arg(name));
                    columns.push_back(i);
                }
            }
            if (n > 0)
                out.emplace_back();
            Rec &rec = out.back();
            for (int k = 0; k < fieldCount(); ++k)
                rec.field(k) = rs.Fields(columns[k]);
            ++n;
            rs.MoveNext();
        }
        return n;
    }
};

}  // namespace hb
