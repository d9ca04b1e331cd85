#include "core/picklist.h"

#include "core/db.h"

#include <QComboBox>

namespace hb {

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

void addPickRows(QComboBox *box, Recordset &rs)
{
    while (!rs.eof()) {
        const Value id = rs.Fields(0);
        const Value name = rs.Fields(1);
        box->addItem(name.isNull() ? QString() : name.displayText(),
                     QVariant::fromValue<qlonglong>(id.isNull() ? 0 : static_cast<qlonglong>(id.toLong())));
        rs.MoveNext();
    }
    rs.Close();
}

void fillPickList(QComboBox *box, Recordset &rs)
{
    box->setCurrentIndex(-1);
    box->clear();
    box->addItem(QString(), QVariant::fromValue<qlonglong>(0));
    addPickRows(box, rs);
    box->setCurrentIndex(-1);
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
    box->setCurrentIndex(-1);
    box->clear();
    box->addItem(QString(), QVariant::fromValue<qlonglong>(0));
    qlonglong n = 1;
    for (; !rs->eof(); rs->MoveNext(), ++n)
        box->addItem(NullToVal(rs->Fields(0), Value("")).displayText(), QVariant::fromValue(n));
    rs->Close();
    box->setCurrentIndex(-1);
}

}  // namespace hb
