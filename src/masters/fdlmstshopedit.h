#pragma once
// The shop master dialog: the row of the shop in use (gShopID) in M_SHOP, with its barcode layout,
// the price-tag logo's file name, and the upload settings shown read-only.

#include "masters/masterdialog.h"

#include <QRadioButton>
#include <vector>

namespace hb {

class fdlMstShopEdit : public MasterRowDialog {
public:
    fdlMstShopEdit();

    QRadioButton *fileTypeOption(int i) const { return Option1.at(i); }
    QRadioButton *accountOption(int i) const { return Option2.at(i); }

protected:
    Value rowKey() const override;
    bool opensInEditLook(int box) const override;
    bool numericBox(int box) const override;
    void refuseNumber() override;
    void readExtra(const ColumnReader &field) override;
    void writeExtra(const ColumnWriter &put) override;

private:
    std::vector<QRadioButton *> Option1;  // file type: HTML, PHP, CGI
    std::vector<QRadioButton *> Option2;  // account: cash, receivable
};

}  // namespace hb
