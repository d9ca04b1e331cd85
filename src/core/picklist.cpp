#include "core/picklist.h"

#include "core/db.h"

#include <QComboBox>
#include <QStandardItemModel>

namespace hb {

namespace {

// The entries of a recordset's rows (column 0 the ID, column 1 the name); the recordset is closed.
std::vector<PickEntry> pickEntries(Recordset &rs)
{
    std::vector<PickEntry> out;
    out.reserve(static_cast<std::size_t>(rs.RecordCount()));
    for (; !rs.eof(); rs.MoveNext()) {
        const Value id = rs.Fields(0);
        const Value name = rs.Fields(1);
        out.push_back({name.isNull() ? QString() : name.displayText(), id.isNull() ? 0 : static_cast<long>(id.toLong())});
    }
    rs.Close();
    return out;
}

}  // namespace

long itemId(const QComboBox *box, int index)
{
    return index < 0 ? 0 : static_cast<long>(box->itemData(index).toLongLong());
}

int findItemId(const QComboBox *box, long id)
{
    for (int i = 0; i < box->count(); ++i) {
        if (itemId(box, i) == id)
            return i;
    }
    return -1;
}

void addPickEntries(QComboBox *box, const std::vector<PickEntry> &entries)
{
    // The items the box itself makes for addItem, inserted together: the box and its list answer
    // one insertion, not one per entry.
    auto *model = qobject_cast<QStandardItemModel *>(box->model());
    if (!model) {
        for (const PickEntry &e : entries)
            box->addItem(e.text, QVariant::fromValue<qlonglong>(e.id));
        return;
    }
    QList<QStandardItem *> items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (const PickEntry &e : entries) {
        auto *item = new QStandardItem(e.text);
        item->setData(QVariant::fromValue<qlonglong>(e.id), Qt::UserRole);
        items.append(item);
    }
    model->invisibleRootItem()->appendRows(items);
}

void fillPickList(QComboBox *box, const std::vector<PickEntry> &entries)
{
    box->setCurrentIndex(-1);
    box->clear();
    addPickEntries(box, {PickEntry{}});
    addPickEntries(box, entries);
    box->setCurrentIndex(-1);
}

void addPickRows(QComboBox *box, Recordset &rs)
{
    addPickEntries(box, pickEntries(rs));
}

void fillPickList(QComboBox *box, Recordset &rs)
{
    fillPickList(box, pickEntries(rs));
}

void addPickRows(QComboBox *box, DbObject &db, const QString &sql, const std::vector<Value> &params)
{
    addPickRows(box, *db.GetFwdOnlyRst(sql, params));
}

void fillPickList(QComboBox *box, DbObject &db, const QString &sql, const std::vector<Value> &params)
{
    fillPickList(box, *db.GetFwdOnlyRst(sql, params));
}

void fillNameList(QComboBox *box, DbObject &db, const QString &sql, const std::vector<Value> &params)
{
    auto rs = db.GetFwdOnlyRst(sql, params);
    std::vector<PickEntry> names;
    names.reserve(static_cast<std::size_t>(rs->RecordCount()));
    for (long n = 1; !rs->eof(); rs->MoveNext(), ++n)
        names.push_back({NullToVal(rs->Fields(0), Value("")).displayText(), n});
    rs->Close();
    fillPickList(box, names);
}

}  // namespace hb
