#pragma once
// The grower master dialog: the row of the current grower (gFmrID) in M_FMR; at the first start
// the default grower, which it creates.

#include "masters/masterdialog.h"

namespace hb {

class fdlMstFmrEdit : public MasterRowDialog {
public:
    fdlMstFmrEdit();

protected:
    Value rowKey() const override;
    bool numericBox(int box) const override;
    void refuseNumber() override;
};

}  // namespace hb
