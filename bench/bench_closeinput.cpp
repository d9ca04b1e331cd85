// Closing the input windows of the lists, on 10 and 40 years of five growers, each opened as
// its list opens it to modify one of grower 1's rows and closed with its "ｷｬﾝｾﾙ" button as a
// grower closes it: this computer's holds of the window's table released, the window unloaded.
//  BM_CloseShipInput    出荷入力 on the shipment of 2024-06-12 (D_SHIP);
//  BM_CloseChemiInput   農薬入力 on the purchase of June 2024 (D_CHEMI);
//  BM_ClosePlantInput   作付入力 on the planting being worked on that day (D_PLANT);
//  BM_Close...Raw       their baselines: that row released by its key, hand-written through the
//                       raw driver.
// Before each closing (not timed) the window's row is held by this computer, so that the
// program's release and the baseline's free the same one row.

#include "history.h"
#include "rawdriver.h"

#include "core/forms.h"
#include "core/globals.h"
#include "core/uiservices.h"
#include "cultivation/chemirec.h"
#include "cultivation/frmchemiinput.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/plantrec.h"
#include "shipments/frmshipinput.h"
#include "shipments/shiplist.h"
#include "shipments/shiprec.h"

#include <QApplication>
#include <QPushButton>
#include <memory>
#include <string>

namespace {

using hb::Value;

// Counts what the windows would ask or show: a closing that asks anything is not measured.
class CountingUi : public hb::UiServices {
public:
    int messageBox(QWidget *, const QString &, int, const QString &) override
    {
        ++prompts;
        return 1;
    }
    int execModal(QDialog *) override
    {
        ++prompts;
        return 0;
    }
    int prompts = 0;
};

// The counting services in place for one run of a benchmark.
class Prompts {
public:
    Prompts() : previous_(hb::setUi(std::unique_ptr<hb::UiServices>(ui_ = new CountingUi))) {}
    ~Prompts() { hb::setUi(std::move(previous_)); }
    int count() const { return ui_->prompts; }

private:
    CountingUi *ui_;
    std::unique_ptr<hb::UiServices> previous_;
};

// The master file of the histories' program folder, opened once, with the five growers and
// the shop the rows name.
void openMasters()
{
    if (hb::gMst)
        return;
    hb::InitMst();
    if (hb::gMst->DCount("*", "M_FMR", "").toLong() == 0) {
        for (int g = 1; g <= 5; ++g)
            hb::gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (?, ?, -1)"),
                           {Value(g), Value(QStringLiteral("生産者%1").arg(g))});
        hb::gMst->EXEC(QStringLiteral("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM) VALUES (1, '直売所')"));
    }
}

// One window: the list's rows it reads (the row to open at gEditRow), and the key of that row
// for the hand-written statements.
struct Target {
    long row = -1;
    std::string table, key;  // "D_SHIP", "FMR_ID=1 AND SHIP_ID=4321"
};

Target shipTarget()
{
    hb::ShipListFilter f;
    f.year = hbbench::kDay.year();
    f.listedYear = hbbench::kDay.year();
    f.from = f.to = hbbench::kDay;
    hb::LoadShipList(*hb::gDb, f);
    Target t{-1, "D_SHIP", {}};
    for (std::size_t i = 0; i < hb::gShip.size(); ++i) {
        if (hb::gShip[i].FMR_ID == Value(hbbench::kGrower) && !hb::gShip[i].SHIP_ID.isEmpty()) {
            t.row = static_cast<long>(i);
            t.key = "FMR_ID=1 AND SHIP_ID=" + std::to_string(hb::gShip[i].SHIP_ID.toLong());
            break;
        }
    }
    return t;
}

Target chemiTarget()
{
    hb::ChemiFilter f;
    f.fmrId = hbbench::kGrower;
    f.from = f.to = hbbench::kMonth;
    f.stock = hb::ChemiStock::All;
    hb::gChemi = hb::queryChemi(f);
    Target t{-1, "D_CHEMI", {}};
    if (hb::gChemi.size() == 1 && !hb::gChemi[0].CHEMI_ID.isEmpty()) {
        t.row = 0;
        t.key = "CHEMI_ID=" + std::to_string(hb::gChemi[0].CHEMI_ID.toLong());
    }
    return t;
}

Target plantTarget()
{
    hb::PlantFilter f;
    f.year = hbbench::kDay.year();
    hb::gPlant = hb::queryPlants(f);
    Target t{-1, "D_PLANT", {}};
    QDate latest;
    for (std::size_t i = 0; i < hb::gPlant.size(); ++i) {
        const hb::PlantRec &p = hb::gPlant[i];
        const QDate start = p.START_DATE.toDate().date();
        if (p.FMR_ID == Value(hbbench::kGrower) && start <= hbbench::kDay && (!latest.isValid() || start > latest)) {
            latest = start;
            t.row = static_cast<long>(i);
            t.key = "FMR_ID=1 AND PLANT_ID=" + std::to_string(p.PLANT_ID.toLong());
        }
    }
    return t;
}

std::string holdSql(const Target &t)
{
    return "UPDATE " + t.table + " SET HOLD_TM='PC-BENCH' WHERE " + t.key;
}

// The window opened on the target's row to modify, then closed with its cancel button, once
// per iteration; only the closing is timed.
template <class Window>
void closeWindow(benchmark::State &state, Target (*target)())
{
    hbbench::History *h = hbbench::historyFor(state);
    if (!h)
        return;
    openMasters();
    const Target t = target();
    if (t.row < 0) {
        state.SkipWithError("the row to open is not in the history");
        return;
    }
    const std::string hold = holdSql(t);
    const std::string held = "SELECT HOLD_TM FROM " + t.table + " WHERE HOLD_TM IS NOT NULL";
    Prompts prompts;
    for (auto _ : state) {
        state.PauseTiming();
        const bool heldOk = hbbench::rawRun(*h, hold.c_str()) >= 0;
        hb::gEditMode = hb::kEditModify;
        hb::gEditRow = t.row;
        Window &w = hb::form<Window>();
        w.showModeless();
        QCoreApplication::processEvents();
        const bool opened = w.isLoaded() && prompts.count() == 0;
        state.ResumeTiming();
        w.cmdMENU[hb::InputFormBase::kMenuClose]->click();  // "ｷｬﾝｾﾙ"
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the unloaded window goes
        state.PauseTiming();
        const bool released = hbbench::rawRun(*h, held.c_str()) == 0;
        state.ResumeTiming();
        if (!heldOk || !opened || !released || prompts.count() != 0) {
            state.SkipWithError(!opened ? "the window did not open on the row quietly"
                                : !released ? "a hold was left"
                                            : "the hold could not be set");
            break;
        }
    }
}

// That row held and released by its key through the raw driver; only the release is timed.
void releaseRaw(benchmark::State &state, Target (*target)())
{
    hbbench::History *h = hbbench::historyFor(state);
    if (!h)
        return;
    const Target t = target();
    if (t.row < 0) {
        state.SkipWithError("the row is not in the history");
        return;
    }
    const std::string hold = holdSql(t);
    const std::string release =
        "UPDATE " + t.table + " SET LAST_TM=HOLD_TM, HOLD_TM=NULL WHERE " + t.key + " AND HOLD_TM='PC-BENCH'";
    for (auto _ : state) {
        state.PauseTiming();
        const bool ok = hbbench::rawRun(*h, hold.c_str()) >= 0;
        state.ResumeTiming();
        if (!ok || hbbench::rawRun(*h, release.c_str()) < 0) {
            state.SkipWithError("the hand-written release failed");
            return;
        }
    }
}

void closeArgs(benchmark::internal::Benchmark *b)
{
    hbbench::historyArgs(b, {10, 40}, {5});
}

void BM_CloseShipInput(benchmark::State &state)
{
    closeWindow<hb::frmShipInput>(state, shipTarget);
}
BENCHMARK(BM_CloseShipInput)->Apply(closeArgs);

void BM_CloseShipInputRaw(benchmark::State &state)
{
    releaseRaw(state, shipTarget);
}
BENCHMARK(BM_CloseShipInputRaw)->Apply(closeArgs);

void BM_CloseChemiInput(benchmark::State &state)
{
    closeWindow<hb::frmChemiInput>(state, chemiTarget);
}
BENCHMARK(BM_CloseChemiInput)->Apply(closeArgs);

void BM_CloseChemiInputRaw(benchmark::State &state)
{
    releaseRaw(state, chemiTarget);
}
BENCHMARK(BM_CloseChemiInputRaw)->Apply(closeArgs);

void BM_ClosePlantInput(benchmark::State &state)
{
    closeWindow<hb::frmPlantInput>(state, plantTarget);
}
BENCHMARK(BM_ClosePlantInput)->Apply(closeArgs);

void BM_ClosePlantInputRaw(benchmark::State &state)
{
    releaseRaw(state, plantTarget);
}
BENCHMARK(BM_ClosePlantInputRaw)->Apply(closeArgs);

}  // namespace
