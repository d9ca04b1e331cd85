#pragma once
// The grower master dialog: the row of the current grower (gFmrID) in M_FMR; at the first start
// the default grower, which it creates.

#include "masters/masterdialog.h"

namespace hb {

class fdlMstFmrEdit : public MasterRowDialog {
public:
    // The slots of the boxes.
    enum Box : int {
        kBoxFmrId = kBoxKey,
        kBoxFmrNm = 1,
        kBoxAdrs = 2,
        kBoxTelL = 3,  // "電話番号"
        kBoxTelS = 4,  // "ﾗﾍﾞﾙ電話番号"
        kBoxNotes = 5,
        kBoxLocate = 6,
        kBoxBankNm = 7,
        kBoxBrNm = 8,
        kBoxAccKbn = 9,
        kBoxAccNo = 10,
        kBoxAccNm = 11,
        kBoxFee1 = 12,  // the transfer fees: kept with the row, never shown
        kBoxFee2 = 13,
        kBoxCount = 14,
    };

    fdlMstFmrEdit();

protected:
    Value rowKey() const override;
    bool numericBox(int box) const override;
    void refuseNumber() override;
};

}  // namespace hb
