// Two computers on one database: both open the same rows, the first saves, the second's save is
// refused with its input kept; reopened, the second's save goes through. A computer that saves
// the same rows twice in a row is never refused.

#include "common/harness.h"
#include "common/scriptedui.h"
#include "common/twocomputers.h"
#include "core/forms.h"
#include "core/globals.h"
#include "diary/diaryday.h"
#include "diary/diarysave.h"
#include "diary/frmdairyinput.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using hb::Value;
using hbtest::ctl;
using hbtest::settle;

namespace {

const QString kRefused = QStringLiteral("ほかのコンピュータで変更されたため登録できません。開き直してください。");

class TwoComputersTest : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        pcs = std::make_unique<hbtest::TwoComputers>(fresh());
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (1, '緑丘 太郎')");
        hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM) VALUES (1, '道の駅みどりの丘')");
        hb::gFmrID = Value(1);
        hb::gShopID = Value(1);
        hb::gLedge.assign(1, hb::LedgeRec());
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        pcs.reset();
        hb::gFmrID = Value();
        hb::gWorkDate = Value();
        BothBackends::TearDown();
    }
    static Value one(const QString &sql)
    {
        auto rs = hb::gDb->GetFwdOnlyRst(sql);
        return rs->eof() ? Value() : rs->Fields(0);
    }
    // Types into a box as a person does and leaves it.
    static void typeAndLeave(QWidget *box, const QString &text)
    {
        hbtest::focusByClick(box);
        if (auto *e = qobject_cast<QLineEdit *>(box))
            e->selectAll();
        if (auto *p = qobject_cast<QPlainTextEdit *>(box))
            p->selectAll();
        hbtest::typeText(box, text);
        hbtest::pressKey(Qt::Key_Tab);
        settle();
    }
    // Runs a window that a procedure shows modally, driven by `drive`.
    template <class W>
    void showModal(const QString &name, const std::function<void(W &)> &drive)
    {
        hbtest::onModal(ui.get(), name, [&drive](QDialog *dlg) { drive(static_cast<W &>(*dlg)); });
        hb::form<W>().showModal(nullptr);
        settle();
    }
    // The prompts shown since the last call.
    QStringList takePrompts()
    {
        const QStringList texts = ui->promptTexts();
        ui->prompts.clear();
        return texts;
    }

    std::unique_ptr<hbtest::TwoComputers> pcs;
    hbtest::ScopedScriptedUi ui;
};

TEST_P(TwoComputersTest, TheDiaryDay)
{
    const QDate day(2026, 12, 8);
    hb::gWorkDate = Value(day);
    pcs->use(0);
    hb::DiaryDay pc1Day = hb::LoadDiaryDay(1, QDateTime(day, QTime()));  // pc1 opens the day

    pcs->use(1);
    showModal<hb::frmDairyInput>("frmDairyInput", [&](hb::frmDairyInput &f) {  // pc2 opens it too
        // pc1 saves ヒトコト "雨".
        pcs->use(0);
        hb::DiarySave s;
        s.day = pc1Day.day;
        s.day.ONE_MSG = Value("雨");
        s.day.HI_TMP = Value(12);
        s.lines = pc1Day.lines;
        s.ledge = pc1Day.ledge;
        s.loadedLedge = pc1Day.ledge;
        s.loadedRows = pc1Day.loadedRows;
        hb::SaveDiaryDay(s);
        pcs->use(1);

        // pc2 saves a change of メモ: refused, the window keeps its input.
        typeAndLeave(ctl(&f, "txtDATA_5"), "午後から晴れ");
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
        EXPECT_EQ(takePrompts(), QStringList{kRefused});
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(ctl<QPlainTextEdit>(&f, "txtDATA_5")->toPlainText(), "午後から晴れ");
        hbtest::click(ctl(&f, "cmdMENU_0"));  // 閉じる
    });
    EXPECT_EQ(ui->prompts.size(), 0u);
    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY"), Value("雨"));
    EXPECT_EQ(one("SELECT HI_TMP FROM D_DIARY").toDouble(), 12);
    EXPECT_TRUE(one("SELECT NOTES1 FROM D_DIARY").isNull());
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY"), Value("pc1"));

    // pc2 reopens the day (showing "雨") and saves: accepted; and again: accepted.
    for (const char *memo : {"午後から晴れ", "夕方に霜"}) {
        showModal<hb::frmDairyInput>("frmDairyInput", [&](hb::frmDairyInput &f) {
            EXPECT_EQ(ctl<QLineEdit>(&f, "txtDATA_2")->text(), "雨");
            typeAndLeave(ctl(&f, "txtDATA_5"), memo);
            hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_TRUE(takePrompts().isEmpty());
        EXPECT_EQ(one("SELECT NOTES1 FROM D_DIARY"), Value(memo));
        EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY"), Value("雨"));
        EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY"), Value("pc2"));
    }
}

HB_INSTANTIATE_BOTH_BACKENDS(TwoComputersTest);

}  // namespace
