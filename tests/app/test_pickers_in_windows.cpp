// The date picker of every window with date boxes stays whole inside its window, at the design
// size and maximised, and never covers the box it hangs under; Esc closes it, keeping the input.

#include "app/appwindows.h"
#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "core/datepicker.h"
#include "core/forms.h"
#include "core/globals.h"
#include "cultivation/frmchemiinput.h"
#include "cultivation/frmplantinput.h"
#include "printing/fdlexppricetag.h"
#include "shipments/frmshipinput.h"
#include "shipments/frmshiplist.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using hbtest::settle;

namespace {

struct PickerWindow {
    const char *name;
    std::function<hb::Form &()> open;
    std::function<hb::DatePicker *(hb::Form &)> picker;
    std::function<std::vector<QLineEdit *>(hb::Form &)> boxes;
};

template <class W>
W &as(hb::Form &f)
{
    return static_cast<W &>(f);
}

class PickersInWindows : public hbtest::AppWindows {};

TEST_F(PickersInWindows, HangsWholeInsideEveryWindowAtDesignSizeAndMaximised)
{
    hb::Form menu(QStringLiteral("fmnMain"));  // a cancel button closes its dialog beside the menu
    menu.showModeless();
    settle();
    const auto txt = [](hb::Form &f, const char *array, std::initializer_list<int> indexes) {
        std::vector<QLineEdit *> out;
        for (int i : indexes)
            out.push_back(f.findChild<QLineEdit *>(hb::Form::ctlName(QString::fromLatin1(array), i)));
        return out;
    };
    const PickerWindow windows[] = {
        {"作付入力", [] () -> hb::Form & { return hb::form<hb::frmPlantInput>(); },
         [](hb::Form &f) { return as<hb::frmPlantInput>(f).picker; },
         [&](hb::Form &f) { return txt(f, "txtDATA", {9, 10, 11, 13, 14}); }},
        {"農薬入力", [] () -> hb::Form & { return hb::form<hb::frmChemiInput>(); },
         [](hb::Form &f) { return as<hb::frmChemiInput>(f).picker; },
         [&](hb::Form &f) { return txt(f, "txtDATA", {4}); }},
        {"出荷入力", [] () -> hb::Form & { return hb::form<hb::frmShipInput>(); },
         [](hb::Form &f) { return as<hb::frmShipInput>(f).picker; },
         [&](hb::Form &f) { return txt(f, "txtDATA", {0}); }},
        {"伝票入力", [] () -> hb::Form & { return hb::form<hb::frmLedgeInput>(); },
         [](hb::Form &f) { return as<hb::frmLedgeInput>(f).picker(); },
         [&](hb::Form &f) { return txt(f, "txtDATA", {0}); }},
        {"出荷一覧", [] () -> hb::Form & { return hb::form<hb::frmShipList>(); },
         [](hb::Form &f) { return as<hb::frmShipList>(f).picker; },
         [&](hb::Form &f) { return txt(f, "txtCOND", {1, 2}); }},
        {"伝票一覧", [] () -> hb::Form & { return hb::form<hb::frmLedgeList>(); },
         [](hb::Form &f) { return as<hb::frmLedgeList>(f).picker(); },
         [&](hb::Form &f) { return txt(f, "txtCOND", {1, 2}); }},
        {"値札ﾃﾞｰﾀ書出", [] () -> hb::Form & { return hb::form<hb::fdlExpPriceTag>(); },
         [](hb::Form &f) { return as<hb::fdlExpPriceTag>(f).picker; },
         [&](hb::Form &f) { return txt(f, "txtCOND", {0, 1}); }},
    };
    for (const PickerWindow &w : windows) {
        hb::Form &f = w.open();
        f.showModeless();
        ASSERT_TRUE(hbtest::activate(&f)) << w.name;
        settle();
        hb::DatePicker *picker = w.picker(f);
        ASSERT_NE(picker, nullptr) << w.name;
        for (const bool maximised : {false, true}) {
            if (maximised) {
                f.showMaximized();
                settle();
            }
            const std::vector<QLineEdit *> boxes = w.boxes(f);
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                QLineEdit *box = boxes[i];
                ASSERT_NE(box, nullptr) << w.name;
                box->setText(QString());
                box->setFocus(Qt::OtherFocusReason);
                settle();
                const QString where = QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(w.name), box->objectName(),
                                                                      maximised ? "maximised" : "design size");
                ASSERT_TRUE(picker->isShown()) << where.toStdString();
                const QRect g = picker->MonthView1()->geometry();
                const QRect b(box->mapTo(&f, QPoint(0, 0)), box->size());
                EXPECT_TRUE(f.rect().contains(g)) << where.toStdString() << " picker " << g.x() << "," << g.y()
                                                  << " " << g.width() << "x" << g.height() << " in " << f.width()
                                                  << "x" << f.height();
                EXPECT_FALSE(g.intersects(b)) << where.toStdString();
                // Right edges flush where the window leaves room.
                if (b.right() + 1 >= g.width()) {
                    EXPECT_EQ(g.right(), b.right()) << where.toStdString();
                }
                if (i == 0) {
                    hbtest::savePicture(&f, QStringLiteral("/tmp/picker_%1_%2.png")
                                                .arg(f.objectName(), maximised ? "max" : "design"));
                }
            }
        }
        // A date typed as people type it stays a date; Esc closes the picker that opened by
        // itself and nothing more, a second Esc nothing at all where no cancel button takes it.
        QLineEdit *box = w.boxes(f).front();
        box->clear();
        box->clearFocus();
        box->setFocus(Qt::OtherFocusReason);
        settle();
        QTest::keyClicks(box, QStringLiteral("2008/2/3"));
        EXPECT_EQ(box->text(), QStringLiteral("2008/2/3")) << w.name;
        ASSERT_TRUE(picker->isShown()) << w.name;
        for (int esc = 0; esc < 2; ++esc) {
            hbtest::pressKey(Qt::Key_Escape, box);
            EXPECT_FALSE(picker->isShown()) << w.name;
            if (esc == 1 && f.cancelButton()) {
                EXPECT_FALSE(f.isLoaded()) << w.name;
                break;
            }
            EXPECT_TRUE(f.isVisible() && box->text() == QStringLiteral("2008/2/3")) << w.name;
        }
        f.Unload();
        settle();
    }
    EXPECT_TRUE(ui->prompts.empty()) << ui->prompts.front().text.toStdString();
    menu.Unload();
}

}  // namespace
