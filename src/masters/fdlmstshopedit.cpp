#include "masters/fdlmstshopedit.h"

#include "core/controls.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/uiservices.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace hb {

namespace {

using Shop = fdlMstShopEdit;

const std::vector<MasterField> kShopFields = {
    {Shop::kBoxShopNm, "SHOP_NM", MasterField::Text},
    {Shop::kBoxOwnerNm, "OWNER_NM", MasterField::Text},
    {Shop::kBoxAdrs, "ADRS", MasterField::Text},
    {Shop::kBoxTel, "TEL", MasterField::Text},
    {Shop::kBoxFax, "FAX", MasterField::Text},
    {Shop::kBoxFeeRt, "FEE_RT", MasterField::Number},
    {Shop::kBoxBcdFmrIdSta, "BCD_FMR_ID_STA", MasterField::Integer},
    {Shop::kBoxBcdFmrIdLen, "BCD_FMR_ID_LEN", MasterField::Integer},
    {Shop::kBoxBcdPrdIdSta, "BCD_PRD_ID_STA", MasterField::Integer},
    {Shop::kBoxBcdPrdIdLen, "BCD_PRD_ID_LEN", MasterField::Integer},
    {Shop::kBoxBcdAmt01Sta, "BCD_AMT_01_STA", MasterField::Integer},
    {Shop::kBoxBcdAmt01Len, "BCD_AMT_01_LEN", MasterField::Integer},
    {Shop::kBoxBcdAmt10Sta, "BCD_AMT_10_STA", MasterField::Integer},
    {Shop::kBoxBcdAmt10Len, "BCD_AMT_10_LEN", MasterField::Integer},
    {Shop::kBoxBcdOptSta, "BCD_OPT_STA", MasterField::Integer},
    {Shop::kBoxBcdOptLen, "BCD_OPT_LEN", MasterField::Integer},
    {Shop::kBoxFtpSvr, "FTP_SVR", MasterField::Text},
    {Shop::kBoxFtpDir, "FTP_DIR", MasterField::Text},
    {Shop::kBoxFtpUsr, "FTP_USR", MasterField::Text},
    {Shop::kBoxFtpPwd, "FTP_PWD", MasterField::Text},
    {Shop::kBoxWwwUrl, "WWW_URL", MasterField::Text},
    {Shop::kBoxPtagLogo, "PTAG_LOGO", MasterField::Text},
    {Shop::kBoxNotes, "NOTES", MasterField::Text},
};

bool isUploadBox(int i)
{
    return i >= Shop::kBoxFtpSvr && i <= Shop::kBoxWwwUrl;
}

// The logo box: a dropped file gives its bare name (empty when it is no file); dropped text is
// refused.
class LogoBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void dragEnterEvent(QDragEnterEvent *e) override
    {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dragMoveEvent(QDragMoveEvent *e) override
    {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dropEvent(QDropEvent *e) override
    {
        const QList<QUrl> urls = e->mimeData()->urls();
        if (urls.isEmpty()) {
            e->ignore();
            return;
        }
        e->acceptProposedAction();
        const QString path = urls.first().toLocalFile();
        if (path.isEmpty())
            return;
        const QFileInfo info(path);
        setText(info.isFile() ? info.fileName() : QString());
    }
};

}  // namespace

fdlMstShopEdit::fdlMstShopEdit()
    : MasterRowDialog(QStringLiteral("fdlMstShopEdit"), QStringLiteral("M_SHOP"), QStringLiteral("SHOP_ID"), kShopFields)
{
    setWindowTitle(QStringLiteral("販売店編集"));
    setDesignSize(12400, 7600);

    int label = 0;
    const auto caption = [&](const QString &text, const QRect &g) {
        return addLabel(ctlName(QStringLiteral("Label1"), label++), text, g);
    };
    addTitle(ctlName(QStringLiteral("Label1"), label++), QStringLiteral("販売店編集"), QRect(16, 8, 240, 28));

    // Left: the shop's own data.
    const int lx = 20, lw = 96, bx = 120, h = 24;
    const struct { int box; const char *text; int y; int width; int limit; } left[] = {
        {kBoxShopId, "販売店ｺｰﾄﾞ", 48, 90, 8}, {kBoxShopNm, "店舗名", 78, 290, 50},
        {kBoxOwnerNm, "母体名", 108, 290, 50},  {kBoxAdrs, "住所", 138, 290, 50},
        {kBoxTel, "電話番号", 168, 150, 15},    {kBoxFax, "FAX番号", 198, 150, 15},
    };
    for (const auto &row : left) {
        caption(QString::fromUtf8(row.text), QRect(lx, row.y, lw, h));
        addBox(row.box, QRect(bx, row.y, row.width, h), row.limit);
    }
    auto *account = new QGroupBox(this);
    account->setObjectName(ctlName(QStringLiteral("Frame1"), 1));
    account->setGeometry(bx, 226, 190, 36);
    for (int i = 0; i < kPayCount; ++i) {
        auto *o = new QRadioButton(i == kPayCash ? QStringLiteral("現金") : QStringLiteral("売掛"), account);
        o->setObjectName(ctlName(QStringLiteral("Option2"), i));
        o->setGeometry(12 + i * 88, 7, 80, 22);
        Option2.push_back(o);
    }
    caption(QStringLiteral("手数料率"), QRect(lx, 272, lw, h));
    addBox(kBoxFeeRt, QRect(bx, 272, 60, h), 4);
    caption(QStringLiteral("%"), QRect(bx + 66, 272, 20, h));

    // Right: the barcode layout.
    const int rx = 440, rlx = 456;
    caption(QStringLiteral("バーコード情報"), QRect(rx, 48, 200, h));
    caption(QStringLiteral("先頭"), QRect(566, 72, 44, 20))->setAlignment(Qt::AlignCenter);
    caption(QStringLiteral("長さ"), QRect(618, 72, 44, 20))->setAlignment(Qt::AlignCenter);
    const char *barcodeRows[] = {"生産者ID", "商品ID", "金額（ 1円)", "金額（10円)", "その他"};
    for (int r = 0; r < 5; ++r) {
        const int y = 94 + r * 28;
        caption(QString::fromUtf8(barcodeRows[r]), QRect(rlx, y, 104, h));
        addBox(kBoxBcdFmrIdSta + r * 2, QRect(566, y, 44, h), 2);  // start
        addBox(kBoxBcdFmrIdLen + r * 2, QRect(618, y, 44, h), 2);  // length
    }

    // The logo's file name (left, below the fee rate) and the folder it lies in.
    caption(QStringLiteral("値札ロゴ"), QRect(lx, 312, lw, h));
    addBox(kBoxPtagLogo, QRect(bx, 312, 210, h), 50, nullptr, new LogoBox(this));

    // Right: the upload settings, shown only.
    QLabel *uploadHeading = caption(QStringLiteral("ｱｯﾌﾟﾛｰﾄﾞ情報"), QRect(rx, 240, 200, h));
    uploadHeading->setEnabled(false);
    auto *fileType = new QGroupBox(QStringLiteral("ファイル形式"), this);
    fileType->setObjectName(ctlName(QStringLiteral("Frame1"), 0));
    fileType->setGeometry(rlx, 264, 340, 46);
    const char *types[kTypeCount] = {"HTML", "PHP", "CGI"};
    for (int i = 0; i < kTypeCount; ++i) {
        auto *o = new QRadioButton(QString::fromLatin1(types[i]), fileType);
        o->setObjectName(ctlName(QStringLiteral("Option1"), i));
        o->setGeometry(14 + i * 90, 18, 80, 22);
        Option1.push_back(o);
    }
    fileType->setEnabled(false);
    const char *uploadRows[] = {"ｻｰﾊﾞｰ", "ｻｰﾊﾞｰﾃﾞｨﾚｸﾄﾘ", "FTPﾕｰｻﾞｰ", "PWD", "WEBｻｰﾊﾞｰ"};
    for (int r = 0; r < 5; ++r) {
        const int y = 318 + r * 28;
        caption(QString::fromUtf8(uploadRows[r]), QRect(rlx, y, 108, h))->setEnabled(false);
        addBox(kBoxFtpSvr + r, QRect(570, y, 230, h), 50)->setEnabled(false);
    }

    caption(QStringLiteral("備考"), QRect(lx, 352, lw, h));
    addBox(kBoxNotes, QRect(bx, 352, 290, h), 50);

    addCommand(kCmdRegister, QStringLiteral("登録"), QRect(bx, 418, 96, 30));
    addCommand(kCmdClose, QStringLiteral("閉じる"), QRect(bx + 106, 418, 96, 30));
    addCommand(kCmdBrowse, QStringLiteral("参照..."), QRect(bx + 216, 311, 74, 26));

    // Tab order: the shop's data, the account, the fee, the barcode, the logo, the upload
    // settings, the notes, Register, close, and the folder button last.
    QList<QWidget *> order;
    for (int i = kBoxShopId; i <= kBoxFax; ++i)
        order << box(i);
    order << Option2[kPayCash] << Option2[kPayReceivable];
    for (int i = kBoxFeeRt; i <= kBoxBcdOptLen; ++i)
        order << box(i);
    order << box(kBoxPtagLogo) << Option1[kTypeHtml] << Option1[kTypePhp] << Option1[kTypeCgi];
    for (int i = kBoxFtpSvr; i <= kBoxWwwUrl; ++i)
        order << box(i);
    order << box(kBoxNotes) << command(kCmdRegister) << command(kCmdClose) << command(kCmdBrowse);
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    box(kBoxShopId)->setAlignment(Qt::AlignRight);
    for (int i = kBoxFeeRt; i <= kBoxBcdOptLen; ++i)
        box(i)->setAlignment(Qt::AlignRight);
    // The input method is off in the code, telephone, number, upload and logo boxes.
    for (int i : {kBoxShopId, kBoxTel, kBoxFax})
        setInputMethodOff(box(i));
    for (int i = kBoxFeeRt; i <= kBoxPtagLogo; ++i)
        setInputMethodOff(box(i));
    makePasswordBox(box(kBoxFtpPwd));
    box(kBoxPtagLogo)->setAcceptDrops(true);

    // The design state.
    setBackColor(box(kBoxShopId), buttonFaceColor());
    for (int i = kBoxShopId + 1; i < kBoxCount; ++i)
        setBackColor(box(i), menuColor());
    Option2[kPayCash]->setChecked(true);
    command(kCmdRegister)->setEnabled(false);

    connectCommands();
    onClick(command(kCmdBrowse), [] { ui().openFolder(imagesFolder()); });
}

Value fdlMstShopEdit::rowKey() const
{
    return gShopID;
}

bool fdlMstShopEdit::opensInEditLook(int box) const
{
    return box > kBoxShopId && !isUploadBox(box);
}

bool fdlMstShopEdit::numericBox(int box) const
{
    return box == kBoxShopId || (box >= kBoxFeeRt && box <= kBoxBcdOptLen);
}

void fdlMstShopEdit::refuseNumber()
{
    ShowMsg(QStringLiteral("数値を指定してください。"), kMsgExclamation);
}

void fdlMstShopEdit::readExtra(const ColumnReader &field)
{
    const Value type = field(QStringLiteral("UPLOAD_FILE_TYPE"));
    if (type.isNumber()) {
        const double t = type.toDouble();
        if (t == 1 || t == 2 || t == 3)
            Option1[static_cast<int>(t) - 1]->setChecked(true);
    }
    const Value acc = field(QStringLiteral("ACC_ID"));
    if (acc.isNumber()) {
        if (acc.toDouble() == 1000)
            Option2[kPayCash]->setChecked(true);
        else if (acc.toDouble() == 1040)
            Option2[kPayReceivable]->setChecked(true);
    }
}

void fdlMstShopEdit::writeExtra(const ColumnWriter &put)
{
    for (int i = 0; i < kTypeCount; ++i) {
        if (Option1[i]->isChecked()) {
            put(QStringLiteral("UPLOAD_FILE_TYPE"), Value::integer(i + 1));
            break;
        }
    }
    if (Option2[kPayCash]->isChecked())
        put(QStringLiteral("ACC_ID"), Value(1000));
    else if (Option2[kPayReceivable]->isChecked())
        put(QStringLiteral("ACC_ID"), Value(1040));
}

}  // namespace hb
