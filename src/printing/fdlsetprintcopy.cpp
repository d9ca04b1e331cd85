#include "printing/fdlsetprintcopy.h"

#include "core/controls.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/waitcursor.h"
#include "core/textlimit.h"
#include "printing/printer.h"
#include "printing/printsetup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <algorithm>

namespace hb {

namespace {

// A leading number as a 16-bit integer, halves to even.
int integerOf(const QString &text)
{
    const std::int64_t n = roundHalfEven(Val(text));
    if (n < INT16_MIN || n > INT16_MAX)
        throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
    return static_cast<int>(n);
}

void setGrey(QLineEdit *box, bool grey)
{
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, grey ? pal.color(QPalette::Button) : QColor(Qt::white));
    box->setPalette(pal);
}

}  // namespace

fdlSetPrintCopy::fdlSetPrintCopy() : Form(QStringLiteral("fdlSetPrintCopy"))
{
    setWindowTitle(QStringLiteral("印刷"));
    whenLoadFails(AfterFailedLoad::Close);
    // Client area 7110 x 5025 twips.
    setDesignSize(7110 + 8 * 15, 5025 + 27 * 15);
    makeTitleLabel(this, QStringLiteral("Label1_9"), QStringLiteral("印刷ページ・部数設定"), 20, 12, 300, 32);
    txtPAGES = makeControl<QLineEdit>(this, QStringLiteral("txtPAGES"), 398, 16, 56, 26);
    txtPAGES->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtPAGES->setEnabled(false);
    setGrey(txtPAGES, true);

    Option1[kPagesAll] =
        makeCaptioned<QRadioButton>(this, QStringLiteral("Option1_0"), QStringLiteral("全ﾍﾟｰｼﾞ印刷"), 40, 64, 130, 26);
    Option1[kPagesRange] =
        makeCaptioned<QRadioButton>(this, QStringLiteral("Option1_1"), QStringLiteral("ﾍﾟｰｼﾞ選択"), 40, 100, 130, 26);
    rangeLabels[kBoxFirstPage] =
        makeCaptioned<QLabel>(this, QStringLiteral("Label1_0"), QStringLiteral("ﾍﾟｰｼﾞ"), 70, 136, 52, 26);
    rangeLabels[kBoxLastPage] =
        makeCaptioned<QLabel>(this, QStringLiteral("Label1_1"), QStringLiteral("～"), 192, 136, 24, 26);
    makeCaptioned<QLabel>(this, QStringLiteral("Label1_2"), QStringLiteral("部数"), 40, 186, 60, 26);
    const int boxX[kBoxCount] = {126, 222, 126};
    const int boxY[kBoxCount] = {134, 134, 184};
    for (int i = 0; i < kBoxCount; ++i) {
        auto *box = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtDATA"), i), boxX[i], boxY[i], 60, 26);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        limitCharacters(box, 4);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        setSelectAllOnFocus(box);
        txtDATA[static_cast<std::size_t>(i)] = box;
    }
    txtDATA[kBoxCopies]->setText(QStringLiteral("1"));
    Command1[kCmdCancel] =
        makeCaptioned<QPushButton>(this, QStringLiteral("Command1_0"), QStringLiteral("ｷｬﾝｾﾙ"), 340, 272, 120, 40);
    Command1[kCmdPrint] =
        makeCaptioned<QPushButton>(this, QStringLiteral("Command1_1"), QStringLiteral("印刷"), 210, 272, 120, 40);
    setTabOrder(Option1[kPagesAll], Option1[kPagesRange]);
    setTabOrder(Option1[kPagesRange], txtDATA[kBoxFirstPage]);
    setTabOrder(txtDATA[kBoxFirstPage], txtDATA[kBoxLastPage]);
    setTabOrder(txtDATA[kBoxLastPage], txtDATA[kBoxCopies]);
    setTabOrder(txtDATA[kBoxCopies], Command1[kCmdPrint]);
    setTabOrder(Command1[kCmdPrint], Command1[kCmdCancel]);

    Option1[kPagesAll]->setChecked(true);
    optionChosen();
    connect(Option1[kPagesAll], &QRadioButton::toggled, this, [this] { optionChosen(); });
    onClick(Command1[kCmdCancel], [this] { Unload(); });
    onClick(Command1[kCmdPrint], [this] { PrintCopies(); });
}

void fdlSetPrintCopy::onLoad()
{
    // The window-state setting does not apply to this dialog.
    SetDefSize();
    txtPAGES->setText(QString::number(gPageCount));
    txtDATA[kBoxFirstPage]->setText(QStringLiteral("1"));
    txtDATA[kBoxLastPage]->setText(QString::number(gPageCount));
}

void fdlSetPrintCopy::optionChosen()
{
    const bool all = Option1[kPagesAll]->isChecked();
    for (int i = kBoxFirstPage; i <= kBoxLastPage; ++i) {
        txtDATA[i]->setEnabled(!all);
        setGrey(txtDATA[i], all);
        rangeLabels[i]->setEnabled(!all);
    }
}

void fdlSetPrintCopy::PrintCopies()
{
    const double copies = Val(txtDATA[kBoxCopies]->text());
    const int pageCount = integerOf(txtPAGES->text());
    int first = 1;
    int last = pageCount;
    if (Option1[kPagesRange]->isChecked()) {
        first = std::max(1, integerOf(txtDATA[kBoxFirstPage]->text()));
        last = std::min(pageCount, integerOf(txtDATA[kBoxLastPage]->text()));
    }
    if (first > last)
        return;

    QStringList files;
    {
        const WaitCursor busy;
        if (copies > 1)
            printer().setCopies(integerOf(txtDATA[kBoxCopies]->text()));
        const auto oneCopy = qScopeGuard([] { printer().setCopies(1); });
        files = PrintOnPrinter(gRepId, first, last);
    }
    NoticePdfFiles(files);
    Unload();
}

}  // namespace hb
