#pragma once
// The condition dialogs the main menu opens for the trial balance, the production history and
// the trace-data upload. They share one layout: a bold title, a hidden grower label and box,
// the condition boxes, an action button Command1(1) and the cancel button Command1(0).

#include "core/formbase.h"

#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hb {

class ReportCondDialog : public Form {
    Q_OBJECT
public:
    // The slots of the shared controls; each dialog names its condition boxes.
    enum Command : int { kCmdCancel = 0, kCmdAction = 1 };
    enum CondCombo : int { kCmbGrower = 0, kCmbPlanting = 1, kCmbCount = 2 };  // the grower's is never shown

    QLineEdit *cond(int index) const { return txtCOND.value(index); }
    QComboBox *condBox(int index) const { return cmbCOND.value(index); }
    QPushButton *command(int index) const { return Command1.value(index); }
    QLabel *label(int index) const;

    // Sets the caption (and, in the trial-balance dialog, the default range).
    virtual void InitForm();

protected:
    ReportCondDialog(const QString &name, const QString &caption, const QString &actionCaption);
    void onResize() override;
    // The print button of the print dialogs: page 1 of report 10, the price-tag sheet drawn from
    // the price-tag rows as the last print listing or export left them, in the print preview over
    // this dialog, whatever the boxes hold.
    void printPreview();
    Trap trapFor(Event event, QWidget *control) const override;

    QLabel *addLabel(int index, const QString &text, int x, int y, int w);
    // A condition box (txtCOND): a year or a year and month, typed without the input method.
    QLineEdit *addCondBox(int index, int maxLength, int x, int y, int w);

    QString caption_;
    QList<QLineEdit *> txtCOND;   // by index; missing indices stay null
    QList<QComboBox *> cmbCOND;
    QList<QPushButton *> Command1;
};

// "試算表印刷": a year-month range, previewed on "印刷".
class fdlPrintAccRep : public ReportCondDialog {
    Q_OBJECT
public:
    enum Cond : int { kCondFrom = 0, kCondTo = 1 };  // year and month

    fdlPrintAccRep();
    void InitForm() override;
};

}  // namespace hb
