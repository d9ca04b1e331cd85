#pragma once
// The shop master dialog: the row of the shop in use (gShopID) in M_SHOP, with its barcode layout,
// the price-tag logo's file name, and the upload settings shown read-only.

#include "masters/masterdialog.h"

#include <QRadioButton>
#include <vector>

namespace hb {

class fdlMstShopEdit : public MasterRowDialog {
public:
    // The slots of the control arrays.
    enum Box : int {
        kBoxShopId = kBoxKey,
        kBoxShopNm = 1,
        kBoxOwnerNm = 2,
        kBoxAdrs = 3,
        kBoxTel = 4,
        kBoxFax = 5,
        kBoxFeeRt = 6,
        kBoxBcdFmrIdSta = 7,  // the barcode layout: start and length of each part
        kBoxBcdFmrIdLen = 8,
        kBoxBcdPrdIdSta = 9,
        kBoxBcdPrdIdLen = 10,
        kBoxBcdAmt01Sta = 11,
        kBoxBcdAmt01Len = 12,
        kBoxBcdAmt10Sta = 13,
        kBoxBcdAmt10Len = 14,
        kBoxBcdOptSta = 15,
        kBoxBcdOptLen = 16,
        kBoxFtpSvr = 17,  // the upload settings, shown only
        kBoxFtpDir = 18,
        kBoxFtpUsr = 19,
        kBoxFtpPwd = 20,
        kBoxWwwUrl = 21,
        kBoxPtagLogo = 22,
        kBoxNotes = 23,
        kBoxCount = 24,
    };
    enum ShopCommand : int { kCmdBrowse = 2 };  // the logo folder
    // The file type (UPLOAD_FILE_TYPE is the slot plus 1) and the account options.
    enum FileType : int { kTypeHtml = 0, kTypePhp = 1, kTypeCgi = 2, kTypeCount = 3 };
    enum Payment : int { kPayCash = 0, kPayReceivable = 1, kPayCount = 2 };

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
