#include "masters/fdlmstfmredit.h"

#include "core/globals.h"
#include "core/helpers.h"
#include "core/uiservices.h"

#include <QFrame>
#include <QLabel>

namespace hb {

namespace {

using Grower = fdlMstFmrEdit;

const std::vector<MasterField> kGrowerFields = {
    {Grower::kBoxFmrNm, "FMR_NM", MasterField::Text},   {Grower::kBoxAdrs, "ADRS", MasterField::Text},
    {Grower::kBoxTelL, "TEL_NO_L", MasterField::Text},  {Grower::kBoxTelS, "TEL_NO_S", MasterField::Text},
    {Grower::kBoxNotes, "NOTES", MasterField::Text},    {Grower::kBoxLocate, "LOCATE", MasterField::Text},
    {Grower::kBoxBankNm, "BANK_NM", MasterField::Text}, {Grower::kBoxBrNm, "BR_NM", MasterField::Text},
    {Grower::kBoxAccKbn, "ACC_KBN", MasterField::Text}, {Grower::kBoxAccNo, "ACC_NO", MasterField::Text},
    {Grower::kBoxAccNm, "ACC_NM", MasterField::Text},   {Grower::kBoxFee1, "FEE_1", MasterField::Number},
    {Grower::kBoxFee2, "FEE_2", MasterField::Number},
};

}  // namespace

fdlMstFmrEdit::fdlMstFmrEdit()
    : MasterRowDialog(QStringLiteral("fdlMstFmrEdit"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID"), kGrowerFields)
{
    setWindowTitle(QStringLiteral("生産者情報編集"));
    setDesignSize(9600, 7500);

    int label = 0;
    const auto caption = [&](const QString &text, const QRect &g) {
        return addLabel(ctlName(QStringLiteral("Label1"), label++), text, g);
    };
    addTitle(ctlName(QStringLiteral("Label1"), label++), QStringLiteral("生産者情報編集"), QRect(16, 8, 260, 28));

    auto *shape = new QFrame(this);  // the rectangle around the fields
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    shape->setGeometry(12, 42, 608, 364);

    const int lx = 28, lw = 112, bx = 144, h = 24;
    // The boxes shown, by slot.
    const struct { const char *text; int width; int limit; } rows[kBoxFee1] = {
        {"生産者ｺｰﾄﾞ", 90, 8}, {"生産者名", 300, 50},   {"住所", 460, 50},     {"電話番号", 150, 15},
        {"ﾗﾍﾞﾙ電話番号", 150, 15}, {"備考", 460, 50},   {"生産地", 300, 50},   {"金融機関名", 300, 50},
        {"支店名", 300, 50},   {"口座種別", 80, 4},      {"口座番号", 150, 10}, {"口座名義", 300, 50},
    };
    for (int i = 0; i < kBoxFee1; ++i) {
        const int y = 54 + i * 28;
        caption(QString::fromUtf8(rows[i].text), QRect(lx, y, lw, h));
        addBox(i, QRect(bx, y, rows[i].width, h), rows[i].limit);
    }
    // The transfer fees: kept with the row, never shown.
    QLabel *fees = caption(QStringLiteral("振込手数料"), QRect(470, 306, 130, h));
    QLabel *under = caption(QStringLiteral("３万円未満"), QRect(470, 334, 80, h));
    addBox(kBoxFee1, QRect(552, 334, 60, h), 4);
    QLabel *over = caption(QStringLiteral("３万円以上"), QRect(470, 362, 80, h));
    addBox(kBoxFee2, QRect(552, 362, 60, h), 4);
    for (QWidget *w : {static_cast<QWidget *>(fees), static_cast<QWidget *>(under), static_cast<QWidget *>(over),
                       static_cast<QWidget *>(box(kBoxFee1)), static_cast<QWidget *>(box(kBoxFee2))})
        w->setVisible(false);

    addCommand(kCmdRegister, QStringLiteral("登録"), QRect(418, 426, 96, 30));
    addCommand(kCmdClose, QStringLiteral("閉じる"), QRect(524, 426, 96, 30));

    for (int i : {kBoxFmrId, kBoxFee1, kBoxFee2})
        box(i)->setAlignment(Qt::AlignRight);
    for (int i : {kBoxFmrId, kBoxTelL, kBoxTelS, kBoxFee1, kBoxFee2})
        setInputMethodOff(box(i));

    // The design state.
    for (int i = kBoxFmrId + 1; i < kBoxCount; ++i)
        setBackColor(box(i), menuColor());
    command(kCmdRegister)->setEnabled(false);

    connectCommands();
}

Value fdlMstFmrEdit::rowKey() const
{
    return gFmrID;
}

bool fdlMstFmrEdit::numericBox(int box) const
{
    return box == kBoxFmrId || box == kBoxFee1 || box == kBoxFee2;
}

void fdlMstFmrEdit::refuseNumber()
{
    ui().messageBox(this, QStringLiteral("数値を入力してください。"), kMsgExclamation, kAppName);
}

}  // namespace hb
