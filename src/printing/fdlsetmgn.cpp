#include "printing/fdlsetmgn.h"

#include "core/controls.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/textlimit.h"
#include "printing/printer.h"
#include "printing/repsettings.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>
#include <optional>

namespace hb {

namespace {

constexpr double kTwipsPerCm = 567.0;

QString centimetres(const Value &twips)
{
    return RoundEx(Value(NullToVal(twips, Value(0)).toDouble() / kTwipsPerCm), 3, 2).toString();
}

QFrame *shape(QWidget *parent, int index, int x, int y, int w, int h)
{
    auto *f = makeControl<QFrame>(parent, Form::ctlName(QStringLiteral("Shape1"), index), x, y, w, h);
    f->setFrameShape(QFrame::Box);
    return f;
}

}  // namespace

fdlSetMgn::fdlSetMgn() : Form(QStringLiteral("fdlSetMgn"))
{
    setWindowTitle(QStringLiteral("余白・給紙設定"));
    whenLoadFails(AfterFailedLoad::Close);
    // Client area 7905 x 5625 twips.
    setDesignSize(7905 + 8 * 15, 5625 + 27 * 15);
    makeTitleLabel(this, QStringLiteral("Label1_9"), QStringLiteral("余白・給紙設定"), 20, 12, 300, 32);

    // The margins in a frame, with a sketch of the page area beside them.
    shape(this, 0, 20, 56, 300, 106);
    shape(this, 1, 340, 56, 90, 106);
    shape(this, 2, 356, 74, 62, 76)->setFrameShadow(QFrame::Sunken);
    struct MarginRow {
        int index;
        const char *caption;
        int y;
    };
    for (const MarginRow &m : {MarginRow{kMgnLeft, "左余白", 72}, MarginRow{kMgnTop, "上余白", 116}}) {
        makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), m.index), QString::fromUtf8(m.caption), 40, m.y,
                              80, 26);
        auto *box = makeControl<QLineEdit>(this, ctlName(QStringLiteral("Text1"), m.index), 124, m.y, 90, 26);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        limitCharacters(box, 5);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        setSelectAllOnFocus(box);
        makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), m.index + 2), QStringLiteral("cm"), 220, m.y, 40,
                              26);
        Text1[m.index] = box;
    }

    makeCaptioned<QLabel>(this, QStringLiteral("Label1_4"), QStringLiteral("ﾌﾟﾘﾝﾀ"), 40, 190, 80, 26);
    makeCaptioned<QLabel>(this, QStringLiteral("Label1_5"), QStringLiteral("給紙"), 40, 232, 80, 26);
    cmbDATA[kCmbPrinter] = makeControl<QComboBox>(this, QStringLiteral("cmbDATA_0"), 124, 190, 380, 26);
    cmbDATA[kCmbPaperBin] = makeControl<QComboBox>(this, QStringLiteral("cmbDATA_1"), 124, 232, 160, 26);
    struct Feed {
        const char *caption;
        int bin;
    };
    for (const Feed &f : {Feed{"", 0}, Feed{"既定", 7}, Feed{"トレイ", 1}, Feed{"手差し", 6}})
        cmbDATA[kCmbPaperBin]->addItem(QString::fromUtf8(f.caption), f.bin);

    Command1[kCmdCancel] =
        makeCaptioned<QPushButton>(this, QStringLiteral("Command1_0"), QStringLiteral("ｷｬﾝｾﾙ"), 394, 316, 120, 40);
    Command1[kCmdSet] =
        makeCaptioned<QPushButton>(this, QStringLiteral("Command1_1"), QStringLiteral("設定"), 264, 316, 120, 40);
    setTabOrder(Text1[kMgnLeft], Text1[kMgnTop]);
    setTabOrder(Text1[kMgnTop], cmbDATA[kCmbPrinter]);
    setTabOrder(cmbDATA[kCmbPrinter], cmbDATA[kCmbPaperBin]);
    setTabOrder(cmbDATA[kCmbPaperBin], Command1[kCmdSet]);
    setTabOrder(Command1[kCmdSet], Command1[kCmdCancel]);

    onClick(Command1[kCmdCancel], [this] { Unload(); });
    onClick(Command1[kCmdSet], [this] {
        if (!ChkData())
            return;
        if (SaveData())
            Unload();
        else
            ShowMsg(QStringLiteral("データの登録に失敗しました。"), kMsgExclamation);
    });
}

void fdlSetMgn::onLoad()
{
    // The window-state setting does not apply to this dialog.
    SetDefSize();
    SetCmb();
    showSettings();
}

void fdlSetMgn::SetCmb()
{
    QComboBox *printerBox = cmbDATA[kCmbPrinter];
    printerBox->clear();
    printerBox->addItems(printers().printerNames());
    printerBox->setCurrentIndex(-1);
}

void fdlSetMgn::showSettings()
{
    QComboBox *printerBox = cmbDATA[kCmbPrinter];
    QComboBox *binBox = cmbDATA[kCmbPaperBin];
    binBox->setCurrentIndex(-1);
    const RepSettings rep = ReadRepSettings(gRepId);
    if (!rep.found) {
        Text1[kMgnTop]->setText(QStringLiteral("1.5"));
        Text1[kMgnLeft]->setText(QStringLiteral("1.5"));
        return;
    }
    Text1[kMgnTop]->setText(centimetres(rep.TOP_MGN));
    Text1[kMgnLeft]->setText(centimetres(rep.LEFT_MGN));
    // The printer's name must match exactly, letter case included.
    const QString name = NullToVal(rep.PRINTER_NM, Value(QString())).toString();
    printerBox->setCurrentIndex(printerBox->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    const long bin = static_cast<long>(NullToVal(rep.PAPER_BIN, Value(0)).toLong());
    binBox->setCurrentIndex(binBox->findData(static_cast<int>(bin)));
}

bool fdlSetMgn::SaveData()
{
    std::optional<long> bin;
    if (cmbDATA[kCmbPaperBin]->currentIndex() >= 0)
        bin = cmbDATA[kCmbPaperBin]->currentData().toInt();
    try {
        SaveRepSettings(gRepId, Val(Text1[kMgnLeft]->text()) * kTwipsPerCm, Val(Text1[kMgnTop]->text()) * kTwipsPerCm,
                        cmbDATA[kCmbPrinter]->currentText(), bin);
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

}  // namespace hb
