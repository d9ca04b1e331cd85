#pragma once
// Reading and writing several rows of the settings table (S_CTRL) at once, for the settings
// dialogs.

#include "core/value.h"

#include <QHash>
#include <QString>
#include <utility>
#include <vector>

namespace hb {

class DbObject;

// Every setting by its key (CTRL_CD), as stored.
QHash<QString, Value> ReadSettings(DbObject &ini);

// One row to write: a missing row is added with its type; an existing one keeps its type.
struct SettingRow {
    QString key;
    Value value;      // stored as its text; Null stays Null
    bool keep = false;  // the stored value is left as it is (a missing row is still added)
    int type = 0;
};
// Writes the rows one by one (not as one transaction); raises on a database error.
void WriteSettingRows(DbObject &ini, const std::vector<SettingRow> &rows);

// Writes every key's text in one transaction on the settings database. A transaction that
// cannot begin writes nothing (logged); a failure rolls back; false in both cases.
bool SaveSettingsTogether(DbObject &ini, const std::vector<std::pair<QString, QString>> &values);

}  // namespace hb
