#pragma once
// Pick lists: a combo box that offers the rows of a table starts with an empty entry whose ID
// is 0 (no value), followed by one entry per row with the row's name as text (Null as "") and
// the row's ID as item data (Null as 0).

#include "core/value.h"

#include <QString>
#include <vector>

class QComboBox;

namespace hb {

class DbObject;
class Recordset;

// An entry of a pick list: its text and the ID it stands for.
struct PickEntry {
    QString text;
    long id = 0;
};

// The ID of an entry; 0 for no entry (-1).
long itemId(const QComboBox *box, int index);
// The first entry with that ID, or -1.
int findItemId(const QComboBox *box, long id);
// Appends the entries to the box, the ID as item data: one change of its list for them all.
void addPickEntries(QComboBox *box, const std::vector<PickEntry> &entries);
// Clears the box, adds the empty entry and the entries, and leaves nothing selected.
void fillPickList(QComboBox *box, const std::vector<PickEntry> &entries);
// Adds one entry per row of the recordset (column 0 the ID, column 1 the name) and closes it.
void addPickRows(QComboBox *box, Recordset &rs);
// Clears the box, adds the empty entry and the rows, and leaves nothing selected.
void fillPickList(QComboBox *box, Recordset &rs);
// The same for the rows of a statement (column 0 the ID, column 1 the name) on a database.
void addPickRows(QComboBox *box, DbObject &db, const QString &sql, const std::vector<Value> &params = {});
void fillPickList(QComboBox *box, DbObject &db, const QString &sql, const std::vector<Value> &params = {});
// A list of names (column 0 of a statement, Null as ""): the empty entry with ID 0, then the
// names numbered 1, 2, 3 ... as item data; nothing selected.
void fillNameList(QComboBox *box, DbObject &db, const QString &sql, const std::vector<Value> &params = {});

}  // namespace hb
