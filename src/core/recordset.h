#pragma once
// The rows a statement read.

#include "core/value.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace hb {

class DbObject;

// Rows read from a statement. Forward-only recordsets move forward only; static and dynamic
// ones move both ways and can be searched with Find; dynamic ones also add, edit and delete
// rows of the statement's table by its primary key.
class Recordset {
public:
    enum Cursor { ForwardOnly = 0, Dynamic = 2, Static = 3 };

    Cursor cursor() const { return cursor_; }
    bool eof() const { return closed_ || pos_ >= static_cast<long>(rows_.size()); }
    bool bof() const { return closed_ || pos_ < 0 || rows_.empty(); }
    long RecordCount() const { return static_cast<long>(rows_.size()); }
    long AbsolutePosition() const { return pos_; }
    void MoveNext();
    void MovePrevious();
    void MoveFirst();
    void MoveLast();

    int FieldCount() const { return static_cast<int>(names_.size()); }
    QString FieldName(int i) const { return names_.at(i); }
    int fieldIndex(const QString &name) const;  // -1 when absent (case-insensitive)
    Value Fields(const QString &name) const;
    Value Fields(int i) const;
    // Sets a field of the current (or new) row; starts editing the current row if needed.
    void setField(const QString &name, const Value &v);

    // Searches from the current row (forward, or backward) for the first row meeting a
    // criterion "FIELD op value" (op: = <> < > <= >= LIKE; value: number, 'text' or #date#).
    // Ends at EOF (or BOF) when no row meets it.
    void Find(const QString &criterion, bool backward = false);

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    void Close() { closed_ = true; }
    bool editing() const { return mode_ != Mode::None; }

private:
    friend class DbObject;
    enum class Mode { None, Add, Edit };
    void requireRow() const;
    void requireUpdatable() const;
    void flushEdit();
    // The current row's key as stored ("K = ?" per key column, "K IS NULL" for a Null), its
    // values appended to params.
    QString keyCondition(std::vector<Value> &params) const;

    Cursor cursor_ = ForwardOnly;
    DbObject *owner_ = nullptr;
    QString table_;
    QStringList keys_;
    QStringList tableColumns_;
    QStringList names_;
    std::vector<std::vector<Value>> rows_;
    long pos_ = 0;
    bool closed_ = false;
    Mode mode_ = Mode::None;
    std::vector<Value> buffer_;
    std::vector<bool> changed_;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

}  // namespace hb
