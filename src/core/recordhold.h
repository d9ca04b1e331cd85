#pragma once
// Which computer wrote a row last and which has it open.

#include "core/value.h"

#include <QString>
#include <functional>

namespace hb {

class Recordset;

// Frees this computer's holds on a table of the data database, when that database is open.
void ReleaseDataHolds(const QString &table);

// This computer's name: the host name, at most 15 characters; "" when there is none.
QString GetCompName();
// Tests replace the name; an empty function restores the host name.
void setCompNameSource(std::function<QString()> source);

// The bookkeeping columns IDATE, UDATE, LAST_TM and HOLD_TM as a save writes them.
struct HoldColumns {
    Value idate;
    Value udate;
    Value lastTm;
    Value holdTm;

    // A row inserted now (or re-inserted with its earlier IDATE, when given).
    static HoldColumns forInsert(const Value &earlierIdate = Value(), const Value &udate = Value::null());
    // A row modified now: IDATE is left as it is.
    static HoldColumns forUpdate();

    // Writes the columns into the current (or new) row of an updatable recordset.
    void applyTo(Recordset &rs) const;
    // Column names and values for an INSERT statement (IDATE only when set).
    QStringList insertColumns() const;
    std::vector<Value> insertValues() const;
};

}  // namespace hb
