#include "history.h"

#include "benchprogram.h"

#include "../tests/diary/test_calendar_benchdata.h"

#include "core/forms.h"
#include "core/globals.h"
#include "core/recordhold.h"
#include "core/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>

namespace hbbench {

namespace {

using hb::Value;
using hbtest::calbench::BatchInsert;

const char *const kWorkNames[] = {"耕うん", "施肥", "定植", "除草", "かん水", "整枝・誘引", "摘果", "見回り"};
const char *const kCrops[] = {"トマト", "きゅうり", "なす", "ピーマン"};
const char *const kNoteWords[] = {"晴れ", "朝露", "風強し", "午後雨", "霜注意", "生育良好", "虫発生", "出荷順調"};

// One grower's rows, day by day.
struct GrowerWriter {
    GrowerWriter(long grower, BatchInsert &p, BatchInsert &c, BatchInsert &d, BatchInsert &l, BatchInsert &s,
                 BatchInsert &v, std::mt19937 &r)
        : plants(p), chemi(c), diary(d), lines(l), ships(s), ledge(v), random(r), fmr(grower)
    {
    }
    BatchInsert &plants, &chemi, &diary, &lines, &ships, &ledge;
    std::mt19937 &random;
    long fmr = 0;
    long nextLedge = 1;
    long nextShip = 1;

    int pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    long voucher(const QDate &day, long debit, long dOptKbn, long dOptId, long credit, long cOptKbn, long cOptId,
                 const Value &cOptNm, const Value &ctr, double amount)
    {
        const long id = nextLedge++;
        ledge.add({Value(fmr), Value(id), Value(day), Value(debit), Value(dOptKbn), Value(dOptId), Value(credit),
                   Value(cOptKbn), Value(cOptId), cOptNm, ctr, Value(hb::Currency::fromDouble(amount)),
                   Value(QDateTime(day, QTime(19, 0))), Value(QStringLiteral("PC-BENCH"))});
        return id;
    }

    struct Planting {
        long id;
        QDate start, end;
    };
    struct Purchase {
        long id, unit;
        QString name;
    };
    std::vector<Planting> plantings;
    std::vector<Purchase> used;
    std::size_t current = 0;
    int dayIndex = 0;

    // The plantings and the purchases of the whole history.
    void start(const QDate &first, const QDate &last)
    {
        // Plantings: one a quarter, each worked for half a year; the latest has not ended.
        long plantId = 0;
        for (QDate s = first.addDays(-120); s <= last; s = s.addMonths(3)) {
            const QDate end = s.addDays(180);
            plantings.push_back({++plantId, s, end});
            const QString crop = QString::fromUtf8(kCrops[plantId % 4]);
            plants.add({Value(plantId), Value(QStringLiteral("%1 %2").arg(crop).arg(s.year())), Value(s.year()),
                        Value(fmr), Value(crop), Value(crop), Value(s.addDays(-20)), Value(s),
                        end > last ? Value::null() : Value(end), Value(10.0 + plantId % 7)});
        }
        // Three purchases used every day of the history, then one new purchase a month.
        const long base = fmr * 100000;
        used = {{base + 1, 4, QStringLiteral("殺虫剤A")}, {base + 2, 5, QStringLiteral("殺菌剤B")},
                {base + 3, 1, QStringLiteral("除草剤C")}};
        long chemiId = base + 3;
        const auto purchase = [&](long id, const QDate &day, long unit, const QString &name) {
            const double qty = unit == 5 ? 500.0 : 100000.0;
            const double amount = 20000.0 + pick(5000);
            const long ledgeId = voucher(day, 1130, 3, id, 1000, 0, 0, Value::null(), Value("農協"), amount);
            chemi.add({Value(fmr), Value(id), Value(name), Value(20000 + id % 1000), Value(day), Value(qty),
                       Value(unit), Value(1000), Value(hb::Currency::fromDouble(amount)), Value(0.0), Value(qty),
                       Value(ledgeId), Value(-1)});
        };
        for (const Purchase &p : used)
            purchase(p.id, first.addDays(-1), p.unit, p.name);
        for (QDate m = QDate(first.year(), first.month(), 1).addMonths(1); m <= last; m = m.addMonths(1)) {
            ++chemiId;
            purchase(chemiId, m, 1 + pick(5), QStringLiteral("月次購入%1").arg(chemiId % 1000));
        }
    }

    // The rows of one day.
    void day(const QDate &d)
    {
        const int i = dayIndex++;
        while (current + 1 < plantings.size() && plantings[current + 1].start <= d)
            ++current;
        const long plant = plantings[current].id;
        // The diary row.
        QString note;
        for (int w = pick(4); w > 0; --w)
            note += QString::fromUtf8(kNoteWords[pick(8)]) + QStringLiteral("。");
        const double lo = -5.0 + pick(200) / 10.0;
        diary.add({Value(fmr), Value(d), Value(1 + pick(10)), Value(lo), Value(lo + 3 + pick(150) / 10.0), Value(note),
                   Value(QStringLiteral("圃場%1を確認").arg(1 + pick(9))), Value(QDateTime(d, QTime(19, 0))),
                   Value(QStringLiteral("PC-BENCH"))});
        // The pesticide use and its voucher: a quantity in the purchase's unit or the other
        // unit of its family.
        const Purchase &p = used[i % 3];
        const long lineUnit = p.unit == 1 ? (pick(2) ? 1 : 2) : (pick(2) ? 4 : 5);
        const double qty = (1 + pick(500)) / 10.0;
        const char *const unitNames[] = {"", "g", "kg", "mg", "mL", "L"};
        const QString useText = QString::number(qty, 'f', 1) + QLatin1String(unitNames[lineUnit]);
        const long useLedge = voucher(d, 4160, 2, plant, 1130, 3, p.id, Value(useText), Value::null(), 1 + pick(300));
        lines.add({Value(fmr), Value(d), Value(1), Value(plant), Value(5), Value(QStringLiteral("農薬散布")), Value::null(),
                   Value(p.id), Value(p.name), Value(20000 + p.id % 1000), Value(QStringLiteral("害虫防除")), Value(qty),
                   Value(lineUnit), Value::null(), Value(useLedge)});
        // An ordinary work.
        lines.add({Value(fmr), Value(d), Value(2), Value(plant), Value(1 + pick(4)),
                   Value(QString::fromUtf8(kWorkNames[pick(8)])), Value(QStringLiteral("畝%1").arg(1 + pick(20))),
                   Value(0), Value::null(), Value::null(), Value::null(), Value::null(), Value(0), Value::null(),
                   Value(0)});
        // The shipment, its two vouchers and its line.
        const long shipId = nextShip++;
        const long shipQty = 10 + pick(90);
        const double price = 100 + pick(20) * 10;
        const double sales = shipQty * price;
        const double fee = std::round(sales * 0.15);
        const long payment = pick(2) ? 1000 : 1010;
        const long salesLedge = voucher(d, payment, 0, 0, 4000, 2, plant, Value(QStringLiteral("トマト")), Value("直売所"), sales);
        const long feeLedge = voucher(d, 4520, 2, plant, payment, 0, 0, Value::null(), Value("直売所"), fee);
        ships.add({Value(fmr), Value(shipId), Value(d), Value(plant), Value(1), Value(1), Value(QStringLiteral("トマト")),
                   Value(payment), Value(hb::Currency::fromDouble(price)), Value(shipQty), Value(0.0),
                   Value(static_cast<double>(shipQty)), Value(hb::Currency::fromDouble(sales)), Value(0.15),
                   Value(hb::Currency::fromDouble(fee)), Value(salesLedge), Value(feeLedge)});
        lines.add({Value(fmr), Value(d), Value(3), Value(plant), Value(8), Value(QStringLiteral("出荷")), Value::null(),
                   Value(0), Value::null(), Value::null(), Value::null(), Value::null(), Value(0), Value(shipId),
                   Value(0)});
    }
};

}  // namespace

void fillHistory(hb::DbObject &db, int years, int growers, unsigned seed)
{
    const QDate first = kLastDay.addYears(-years).addDays(1);
    std::mt19937 random(seed);
    db.Begintrans();
    BatchInsert plants(db,
                       QStringLiteral("INSERT INTO D_PLANT (PLANT_ID, PLANT_NM, YYYY, FMR_ID, CROP_NM, CROP_NM1, PLANT_DATE, "
                                      "START_DATE, END_DATE, AREA)"),
                       10);
    BatchInsert chemi(db,
                      QStringLiteral("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, REG_NO, PUR_DATE, PUR_QTY, PUR_UNIT, "
                                     "ACC_ID, PUR_AMT, USED_QTY, REST_QTY, LEDGE_ID, CHK_FLG)"),
                      13);
    BatchInsert diary(db,
                      QStringLiteral("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG, NOTES1, IDATE, "
                                     "LAST_TM)"),
                      9);
    BatchInsert lines(db,
                      QStringLiteral("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, NOTES, "
                                     "CHEMI_ID, CHEMI_NM, REG_NO, PURPOSE, QTY, UNIT_ID, SHIP_ID, LEDGE_ID)"),
                      15);
    BatchInsert ships(db,
                      QStringLiteral("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID, SHOP_ID, PRD_ID, PRD_NM, ACC_ID, "
                                     "SHOP_PRC, SHIP_QTY, RTN_QTY, SALES_QTY, SALES_AMT, FEE_RT, FEE_AMT, LEDGE_ID_S, "
                                     "LEDGE_ID_F)"),
                      17);
    BatchInsert ledge(db,
                      QStringLiteral("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, D_OPT_KBN, D_OPT_ID, "
                                     "C_ACC_ID, C_OPT_KBN, C_OPT_ID, C_OPT_NM, CTR_NM, AMT, IDATE, LAST_TM)"),
                      14);
    // The growers' days interleave in the tables, as years of use lay them down.
    std::vector<GrowerWriter> writers;
    for (long g = 1; g <= growers; ++g) {
        writers.emplace_back(g, plants, chemi, diary, lines, ships, ledge, random);
        writers.back().start(first, kLastDay);
    }
    for (QDate d = first; d <= kLastDay; d = d.addDays(1)) {
        for (GrowerWriter &w : writers)
            w.day(d);
    }
    for (BatchInsert *b : {&plants, &chemi, &diary, &lines, &ships, &ledge})
        b->flush();
    db.CommitTrans();
}

// ---- histories and the program around them ------------------------------------------------------

namespace {

// The program folder of the histories (settings and work databases), made once.
struct Program {
    QTemporaryDir dir;
    bench::KeptProgram kept{dir};
    Program()
    {
        hb::setCompNameSource([] { return QStringLiteral("PC-BENCH"); });
        for (int i = 0; i < 5; ++i)  // every calendar layer on
            hb::gINI->SaveCtrl(QStringLiteral("CAL_OPT%1").arg(i), Value(1));
    }
};

Program &program()
{
    static Program p;
    return p;
}

std::map<std::tuple<int, int, int>, std::unique_ptr<History>> &histories()
{
    static std::map<std::tuple<int, int, int>, std::unique_ptr<History>> h;
    return h;
}

History *&activeHistory()
{
    static History *a = nullptr;
    return a;
}

}  // namespace

History *History::get(Backend backend, int years, int growers)
{
    auto &all = histories();
    const auto key = std::make_tuple(static_cast<int>(backend), years, growers);
    if (auto it = all.find(key); it != all.end())
        return it->second.get();
    if (backend == Backend::MariaDb && qEnvironmentVariableIsEmpty("HB_TEST_DSN"))
        return nullptr;
    program();
    std::unique_ptr<History> h(new History);
    h->backend_ = backend;
    std::unique_ptr<hb::DirectDb> db;
    if (backend == Backend::Sqlite) {
        h->path_ = program().dir.filePath(QStringLiteral("data/DATA_%1y_%2g.MDB").arg(years).arg(growers));
        db = hb::DirectDb::file(h->path_, true);
    } else {
        h->params_.dsn = qEnvironmentVariable("HB_TEST_DSN");
        const QString name = QStringLiteral("hbbench_%1_%2y_%3g").arg(QCoreApplication::applicationPid()).arg(years).arg(growers);
        {
            auto admin = hb::DirectDb::server(h->params_);
            admin->EXEC(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
            admin->EXEC(QStringLiteral("CREATE DATABASE ") + name + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"));
        }
        h->params_.database = name;
        db = hb::DirectDb::server(h->params_);
    }
    hb::loadSchema(*db, hb::Schema::Data);
    fillHistory(*db, years, growers);
    if (backend == Backend::MariaDb)
        db->EXEC(QStringLiteral("ANALYZE TABLE D_DIARY, D_DIARY_DTL, D_LEDGE, D_SHIP, D_CHEMI, D_PLANT"));
    return (all[key] = std::move(h)).get();
}

History::~History()
{
    if (activeHistory() == this) {
        hb::gDb.reset();
        activeHistory() = nullptr;
    }
    if (!params_.database.isEmpty()) {
        try {
            hb::ServerParams admin = params_;
            admin.database.clear();
            hb::DirectDb::server(admin)->EXEC(QStringLiteral("DROP DATABASE IF EXISTS ") + params_.database);
        } catch (...) {
        }
    }
}

void History::activate()
{
    // Another benchmark may have put its own program folder in place, or changed the globals.
    program().kept.enter();
    hb::setCompNameSource([] { return QStringLiteral("PC-BENCH"); });
    hb::gUseType = hb::kUseSingle;
    hb::gFmrID = Value(kGrower);
    hb::gWorkDate = Value(kDay);
    hb::gCalMonth = kMonth;
    History *&active = activeHistory();
    if (active == this && hb::gDb)
        return;
    const bool server = backend_ == Backend::MariaDb;
    hb::gINI->SaveCtrl(QStringLiteral("DB_TYPE"), Value(server ? "1" : "2"));
    hb::gINI->SaveCtrl(QStringLiteral("DB_DSN"), Value(params_.dsn));
    hb::gINI->SaveCtrl(QStringLiteral("DB_NAME"), Value(server ? params_.database : path_));
    hb::InitDb();
    active = this;
}

void dropHistories()
{
    program().kept.enter();
    hb::destroyForms();
    histories().clear();
    hb::gDb.reset();
    hb::gWork.reset();
    hb::gINI.reset();
}

void plainArgs(benchmark::internal::Benchmark *b)
{
    b->UseRealTime()->MinTime(0.2);
    repeatedArgs(b);
}

void repeatedArgs(benchmark::internal::Benchmark *b)
{
    b->Repetitions(11)->Unit(benchmark::kMillisecond);
    b->ComputeStatistics("min", [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
    b->ComputeStatistics("max", [](const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); });
}

void historyArgs(benchmark::internal::Benchmark *b)
{
    historyArgs(b, {1, 10, 20}, {1, 5});
}

void historyArgs(benchmark::internal::Benchmark *b, std::initializer_list<int> years,
                 std::initializer_list<int> growers, bool timedByHand)
{
    b->ArgNames({"server", "years", "growers"});
    for (int server : {0, 1})
        for (int y : years)
            for (int g : growers)
                b->Args({server, y, g});
    if (timedByHand)
        repeatedArgs(b->UseManualTime());
    else
        plainArgs(b);
}

History *historyFor(benchmark::State &state)
{
    const auto backend = state.range(0) == 1 ? Backend::MariaDb : Backend::Sqlite;
    History *h = History::get(backend, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    if (!h) {
        state.SkipWithError("HB_TEST_DSN is not set: start the private MariaDB server (scripts/mariadb.sh)");
        return nullptr;
    }
    h->activate();
    return h;
}

}  // namespace hbbench
