#include "printing/fdlprintaccrep.h"

#include "core/controls.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/startup.h"
#include "core/textlimit.h"
#include "printing/fdlpreview.h"
#include "printing/ptagsheet.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace hb {

ReportCondDialog::ReportCondDialog(const QString &name, const QString &caption, const QString &actionCaption)
    : Form(name), caption_(caption)
{
    setWindowTitle(caption);
    setDesignSize(9600, 7200);

    auto *title = addLabel(19, caption, 24, 16, 400);
    QFont f = title->font();
    f.setPointSize(14);
    f.setBold(true);
    title->setFont(f);
    title->setGeometry(24, 16, 400, 32);

    // The grower condition is laid out but never shown nor filled.
    addLabel(1, QStringLiteral("生産者"), 40, 68, 80)->setVisible(false);
    cmbCOND.resize(kCmbCount);
    cmbCOND[kCmbGrower] = makeControl<QComboBox>(this, ctlName(QStringLiteral("cmbCOND"), kCmbGrower), 130, 66, 240, 26);
    cmbCOND[kCmbGrower]->setVisible(false);

    auto *cancel = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("Command1"), kCmdCancel),
                                              QStringLiteral("ｷｬﾝｾﾙ"), 480, 384, 120, 40);
    auto *action = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("Command1"), kCmdAction), actionCaption,
                                              350, 384, 120, 40);
    Command1 << cancel << action;  // in the order of the slots
    setCancelButton(cancel);
    onClick(cancel, [this] { cancelDialog(*this); });
}

QLabel *ReportCondDialog::label(int index) const
{
    return findChild<QLabel *>(ctlName(QStringLiteral("Label1"), index), Qt::FindDirectChildrenOnly);
}

QLabel *ReportCondDialog::addLabel(int index, const QString &text, int x, int y, int w)
{
    auto *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), index), text, x, y, w, 26);
    l->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    return l;
}

QLineEdit *ReportCondDialog::addCondBox(int index, int maxLength, int x, int y, int w)
{
    if (txtCOND.size() <= index)
        txtCOND.resize(index + 1);
    auto *box = makeControl<QLineEdit>(this, ctlName(QStringLiteral("txtCOND"), index), x, y, w, 26);
    limitCharacters(box, maxLength);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    setSelectAllOnFocus(box);
    txtCOND[index] = box;
    return box;
}

void ReportCondDialog::InitForm()
{
    setWindowTitle(caption_);
}

void ReportCondDialog::onResize()
{
    Form::onResize();
    // The dialog initialises once per showing; a later change of size only rescales, so what
    // was typed stays.
    if (isFirstResize())
        InitForm();
}

void ReportCondDialog::printPreview()
{
    PreviewReport(kPtagReport, 1, this);
}

Trap ReportCondDialog::trapFor(Event event, QWidget *) const
{
    return plainFor(event, {Event::KeyPress, Event::Resize, Event::Validate});
}

fdlPrintAccRep::fdlPrintAccRep()
    : ReportCondDialog(QStringLiteral("fdlPrintAccRep"), QStringLiteral("試算表印刷"), QStringLiteral("印刷"))
{
    addLabel(15, QStringLiteral("年月"), 40, 110, 80);
    QLineEdit *from = addCondBox(kCondFrom, 7, 130, 110, 90);
    addLabel(0, QStringLiteral("～"), 228, 110, 24)->setAlignment(Qt::AlignCenter);
    QLineEdit *to = addCondBox(kCondTo, 7, 260, 110, 90);
    for (QLineEdit *box : {from, to})
        connect(box, &QLineEdit::textChanged, this, [box] { trapped(Trap::Standard, [box] { SetYMSlash(box); }); });

    onClick(Command1[kCmdAction], [this] { printPreview(); });
}

void fdlPrintAccRep::InitForm()
{
    ReportCondDialog::InitForm();
    const QDate today = QDate::currentDate();
    txtCOND[kCondFrom]->setText(QString::number(today.year()) + QStringLiteral("/01"));
    txtCOND[kCondTo]->setText(today.toString(QStringLiteral("yyyy/MM")));
}

}  // namespace hb
