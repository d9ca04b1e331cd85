#pragma once
// What a window loaded of the rows its save will overwrite or delete. The hold is only a mark:
// two computers may open the same rows and save in turn. So a save reads those rows again inside
// its transaction, locking them, and compares them with what its window loaded; where another
// computer changed, added or removed one meanwhile, the save writes nothing.
//
// HOLD_TM and LAST_TM do not count: opening a row elsewhere sets HOLD_TM, and closing it there
// moves HOLD_TM into LAST_TM. A save by another computer changes the data and UDATE.

#include "core/db.h"
#include "core/rowrecord.h"
#include "core/value.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace hb {

// Raised inside a save whose rows another computer changed since its window loaded them; the
// description is the message the window shows (exclamation), keeping its input.
class ChangedElsewhere : public HbError {
public:
    ChangedElsewhere();

protected:
    explicit ChangedElsewhere(const QString &description);
};

// Raised inside a save whose window never loaded the rows it would overwrite (its read failed):
// a refusal like the one above, never a save without its comparison.
class NotLoaded : public ChangedElsewhere {
public:
    NotLoaded();
};

class LoadedRows {
public:
    // Not loaded: the window's read of these rows failed or never ran. A save refuses it.
    LoadedRows() = default;
    // Nothing to compare, said explicitly: a window that adds a row loads none.
    static LoadedRows none();

    // The rows of `table` that `where` selects ('?' bound to `params`), read now: a window
    // reads them before its own reads, so that it never shows older rows than these.
    static LoadedRows read(DbObject &db, const QString &table, const QString &where, std::vector<Value> params);

    // One row as a window holds it (the record a list read with "table.*"): the row that
    // `where` selects is expected to hold these values. A field the record holds Empty was not
    // read (a list leaves some columns out) and is not compared.
    template <class Rec>
    static LoadedRows record(const QString &table, const QString &where, std::vector<Value> params, const Rec &rec)
    {
        QStringList columns;
        std::vector<Value> values;
        for (int i = 0; i < Rec::fieldCount(); ++i) {
            if (rec.field(i).isEmpty())
                continue;
            columns << Rec::columnNames().at(i);
            values.push_back(rec.field(i));
        }
        return LoadedRows(table, where, std::move(params), columns, {values});
    }

    bool isSet() const { return !table_.isEmpty(); }

    // Inside the save's transaction, before it writes: reads the rows again (locking them on a
    // server) and raises ChangedElsewhere when they differ from those loaded. none(): nothing to
    // do; not loaded: NotLoaded.
    void check(DbObject &db) const;

    // The same rows read again now: after a save writes them, inside its transaction, what the
    // window holds from then on (a second save of the same computer compares with these).
    LoadedRows reread(DbObject &db) const;

private:
    LoadedRows(QString table, QString where, std::vector<Value> params, QStringList columns,
               const std::vector<std::vector<Value>> &rows);
    // The rows that the condition selects now, each as one comparable text, sorted.
    QStringList current(DbObject &db, bool lock, QStringList *columns) const;

    QString table_;
    QString where_;
    std::vector<Value> params_;
    QStringList columns_;  // the columns compared
    QStringList rows_;     // the rows as loaded, each as one comparable text, sorted
    bool nothing_ = false; // none(): a window that adds a row
};

// Checks each of the rows a save overwrites (LoadedRows::check), inside its transaction.
void CheckLoaded(DbObject &db, const std::vector<LoadedRows> &loaded);

}  // namespace hb
