#include "printing/fdlprintpricetag.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/filters.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/startup.h"
#include "printing/fdlpreview.h"
#include "printing/ptag.h"
#include "printing/ptaglist.h"
#include "printing/ptagsheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <optional>

namespace hb {

namespace {

const QString kFrameKey = QStringLiteral("PRINT_PTAG_FRAME");

}  // namespace

fdlPrintPriceTag::fdlPrintPriceTag()
    : Form(QStringLiteral("fdlPrintPriceTag")), logo_(defaultPtagLogo()), plasticMark_(plasticMarkPicture())
{
    whenLoadFails(AfterFailedLoad::Close);
    setWindowTitle(QStringLiteral("値札印刷"));
    setDesignSize(9600, 7200);
    // The pictures move with the window and keep their size.
    scaling().moveImages = true;
    const QFont text = sizedFont(font(), 15.75);

    const auto label = [&](int n, const QString &caption, int x, int y, int w, Qt::Alignment align) {
        auto *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), n), caption, x, y, w, 30);
        l->setFont(text);
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };
    const auto box = [&](int i, int x, int w, int maxLength, Qt::Alignment align) {
        auto *e = makePlainBox(this, ctlName(QStringLiteral("txtCOND"), i), QRect(x, 60, w, 30), text, maxLength, align);
        setSelectAllOnFocus(e);
        txtCOND[static_cast<std::size_t>(i)] = e;
    };
    const auto total = [&](int i, int x, int w) {
        auto *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("lblSUM"), i), QStringLiteral("0"), x, 350, w, 30);
        l->setFont(text);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblSUM[static_cast<std::size_t>(i)] = l;
    };
    const auto button = [&](int i, const QString &caption, int x) {
        auto *b = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("Command1"), i), caption, x, 395, 160, 55);
        b->setFont(sizedFont(font(), 24));
        Command1[static_cast<std::size_t>(i)] = b;
    };

    lblTitle = label(19, QStringLiteral("値札印刷"), 0, 5, 293, Qt::AlignLeft);
    lblTitle->setFont(sizedFont(font(), 24, true));
    lblTitle->setGeometry(0, 5, 293, 37);
    label(15, QStringLiteral("出荷日"), 20, 60, 90, Qt::AlignRight);
    box(kCondShipDate, 115, 146, 10, Qt::AlignHCenter);
    label(3, QStringLiteral("スキップ"), 270, 60, 100, Qt::AlignRight);
    box(kCondSkip, 375, 56, 3, Qt::AlignRight);
    txtCOND[kCondSkip]->setText(QStringLiteral("0"));
    Check1 = makeCaptioned<QCheckBox>(this, QStringLiteral("Check1"), QStringLiteral("枠線印刷"), 460, 60, 150, 30);
    Check1->setFont(text);

    // The grower condition is laid out but never shown nor filled: the list covers every grower.
    label(1, QStringLiteral("生産者"), 20, 100, 90, Qt::AlignRight)->setVisible(false);
    cmbCOND_0 = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbCOND"), 0), 115, 100, 240, 30);
    cmbCOND_0->setVisible(false);

    ListView1 = makeReportView(this, QStringLiteral("ListView1"), QRect(20, 105, 595, 235));

    label(0, QStringLiteral("枚数"), 270, 350, 60, Qt::AlignRight);
    total(kSumLabels, 335, 80);
    label(2, QStringLiteral("ﾍﾟｰｼﾞ数"), 420, 350, 110, Qt::AlignRight);
    total(kSumSheets, 535, 80);

    button(kCmdPrint, QStringLiteral("印刷"), 20);
    button(kCmdCancel, QStringLiteral("ｷｬﾝｾﾙ"), 455);

    // The pictures the sheet prints: held here, never shown.
    imgLOGO_S = makeControl<QLabel>(this, QStringLiteral("imgLOGO_S"), 300, 5, 120, 17);
    imgLOGO_S->setPixmap(QPixmap::fromImage(logo_));
    imgLOGO_S->setScaledContents(true);
    imgLOGO_S->setVisible(false);
    imgPURA = makeControl<QLabel>(this, QStringLiteral("imgPURA"), 430, 5, 24, 20);
    imgPURA->setPixmap(QPixmap::fromImage(plasticMark_));
    imgPURA->setScaledContents(true);
    imgPURA->setVisible(false);

    setTabOrder(txtCOND[kCondShipDate], txtCOND[kCondSkip]);
    setTabOrder(txtCOND[kCondSkip], Check1);
    setTabOrder(Check1, ListView1);
    setTabOrder(ListView1, Command1[kCmdPrint]);
    setTabOrder(Command1[kCmdPrint], Command1[kCmdCancel]);
    setCancelButton(Command1[kCmdCancel]);

    onClick(Command1[kCmdCancel], [this] { cancelDialog(*this); });
    onClick(Command1[kCmdPrint], [this] { printClick(); });

    picker = new DatePicker(*this);
    picker->addBox(kCondShipDate, txtCOND[kCondShipDate]);
    picker->hideOn({QStringLiteral("txtCOND_1"), QStringLiteral("cmbCOND"), QStringLiteral("Command1"),
                    QStringLiteral("ListView1")});
}

void fdlPrintPriceTag::onLoad()
{
    Form::onLoad();
    InitForm();
}

void fdlPrintPriceTag::InitForm()
{
    setWindowTitle(QStringLiteral("値札印刷"));
    txtCOND[kCondShipDate]->setText(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
    Check1->setChecked(StoredPtagFrame());
    const QImage shop = ShopPtagLogo();
    if (!shop.isNull()) {
        logo_ = shop;
        imgLOGO_S->setPixmap(QPixmap::fromImage(logo_));
    }
}

// Every showing's first resize and every later change of size: the columns at the new width
// and the list anew from the boxes.
void fdlPrintPriceTag::onResize()
{
    Form::onResize();
    InitList();
    SetList();
}

void fdlPrintPriceTag::InitList()
{
    columns_ = {{QStringLiteral("SHIP_ID"), QStringLiteral("ID"), 0, Qt::AlignLeft},
                {QStringLiteral("PRD_NM"), QStringLiteral("品名"), 4800, Qt::AlignLeft},
                {QStringLiteral("SHOP_PRC"), QStringLiteral("単価"), 1600, Qt::AlignRight},
                {QStringLiteral("SHIP_QTY"), QStringLiteral("数量"), 1600, Qt::AlignRight}};
    setReportColumns(ListView1, columns_, scaleX());
}

bool fdlPrintPriceTag::SetList()
{
    if (txtCOND[kCondShipDate]->text().isEmpty())
        return true;
    std::optional<QDate> day;
    if (!filterDate(txtCOND[kCondShipDate], &day))
        return false;

    ListView1->clear();
    try {
        BuildDayPtagData(*day, PtagSkipCount(txtCOND[kCondSkip]->text()));
    } catch (...) {
        gPtagData.assign(1, PtagDataRec());
        showTotals(0, 0);
        throw;
    }
    const std::vector<PtagRec> &rows = gPtagData[0].PTAG;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PtagRec &r = rows[i];
        if (r.LABEL_CNT == 0)
            continue;
        addReportRow(ListView1, columns_,
                     {QString::number(i + 1), r.LABEL.PRD_NM, r.LABEL.SHOP_PRC.toString(), QString::number(r.LABEL_CNT)});
    }
    const PtagCounts counts = CountPtagLabels(gPtagData[0]);
    showTotals(counts.labels, counts.sheets);
    return true;
}

void fdlPrintPriceTag::showTotals(std::int64_t labels, std::int64_t sheets)
{
    lblSUM[kSumSheets]->setText(QString::number(sheets));
    lblSUM[kSumLabels]->setText(QString::number(labels));
}

bool fdlPrintPriceTag::frameOn()
{
    return Check1->isChecked();
}

void fdlPrintPriceTag::printClick()
{
    PreviewReport(kPtagReport, static_cast<int>(roundHalfEven(Val(lblSUM[kSumSheets]->text()))), this);
}

bool fdlPrintPriceTag::validate(QWidget *control)
{
    if (control == txtCOND[kCondShipDate] || control == txtCOND[kCondSkip])
        return SetList();
    if (control == Check1)
        iniDb().SaveCtrl(kFrameKey, Value(Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0")));
    return true;
}

void fdlPrintPriceTag::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

// The boxes' checks, the key presses and the resizes report plainly; everything else, the frame
// option's check included, in the program's exclamation box.
Trap fdlPrintPriceTag::trapFor(Event event, QWidget *control) const
{
    if (event == Event::Validate)
        return control == txtCOND[kCondShipDate] || control == txtCOND[kCondSkip] ? Trap::Plain : Trap::Standard;
    return plainFor(event, {Event::KeyPress, Event::Resize});
}

}  // namespace hb
