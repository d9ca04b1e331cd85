// The price-tag export and the price-tag print listing on a SQLite file and on the private MariaDB
// server (data source HB_TEST_DSN; skipped when it is not set):
// - ExpData of the export dialog over 10,000 shipments of the grower to the shop: the query, the
//   price-tag rows and the CSV file written and closed;
// - SetList of 値札印刷 over one day of 1,000 shipments of ten growers: the query, the rows, the
//   list and the totals.

#include "benchprogram.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/schema.h"
#include "core/uiservices.h"
#include "printing/fdlexppricetag.h"
#include "printing/fdlprintpricetag.h"
#include "printing/ptag.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kExportRows = 10000;
constexpr int kDayRows = 1000;
const QDate kExportFrom(2024, 1, 1);  // 100 days of 100 shipments
const QDate kListDay(2025, 1, 15);

// Prompts are counted, never shown: a benchmark must not wait for a person.
class QuietUi : public hb::UiServices {
public:
    int messageBox(QWidget *, const QString &, int, const QString &) override
    {
        ++prompts;
        return hb::kAnsOk;
    }
    int prompts = 0;
};

QuietUi *quietUi()
{
    static QuietUi *ui = [] {
        auto owned = std::make_unique<QuietUi>();
        QuietUi *raw = owned.get();
        hb::setUi(std::move(owned));
        return raw;
    }();
    return ui;
}

void fill(hb::DbObject &data, hb::DbObject &master)
{
    master.EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, BCD_PRD_ID_STA, BCD_PRD_ID_LEN, BCD_AMT_01_STA, BCD_AMT_01_LEN, "
                "BCD_FMR_ID_STA, BCD_FMR_ID_LEN, WWW_URL, UPLOAD_FILE_TYPE) "
                "VALUES (1, '直売所', 1, 4, 5, 5, 10, 3, 'trace.example.jp', 1)");
    for (int g = 1; g <= 10; ++g)
        master.EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, TEL_NO_S) VALUES (?, ?, '0263-12-3456')",
                    {hb::Value(g), hb::Value(QStringLiteral("生産者%1").arg(g))});
    const QString insert = QStringLiteral(
        "INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, SHOP_ID, PLANT_ID, PRD_ID, PRD_NM, LOCATE, PLAS, SHOP_PRC, "
        "SHIP_QTY) VALUES (?, ?, ?, 1, ?, ?, ?, '信州', -1, ?, ?)");
    const auto ship = [&](int fmr, int id, const QDate &day) {
        data.EXEC(insert, {hb::Value(fmr), hb::Value(id), hb::Value(day), hb::Value(1 + id % 20), hb::Value(100 + id % 50),
                           hb::Value(QStringLiteral("朝どれ野菜%1").arg(id % 50)),
                           hb::Value(hb::Currency::fromDouble(100 + id % 400)), hb::Value(1 + id % 12)});
    };
    data.Begintrans();
    for (int i = 0; i < kExportRows; ++i)
        ship(1, i + 1, kExportFrom.addDays(i / 100));
    for (int i = 0; i < kDayRows; ++i)
        ship(1 + i % 10, 100000 + i, kListDay);
    data.CommitTrans();
}

// The program's folder and, per kind, its data and master objects, put in place by use().
struct Program {
    QTemporaryDir dir;
    bench::KeptProgram kept{dir};
    std::unique_ptr<hb::clsDb> sqliteDb, serverDb;
    std::unique_ptr<hb::clsMst> sqliteMst, serverMst;
    hb::ServerParams admin;
    QString serverName;
    QTemporaryDir out;

    Program()
    {
        quietUi();

        hb::InitDb();
        hb::InitMst();
        fill(*hb::gDb, *hb::gMst);
        sqliteDb = std::move(hb::gDb);
        sqliteMst = std::move(hb::gMst);

        if (qEnvironmentVariableIsEmpty("HB_TEST_DSN"))
            return;
        admin.dsn = qEnvironmentVariable("HB_TEST_DSN");
        serverName = QStringLiteral("hbbench_ptag_%1").arg(QCoreApplication::applicationPid());
        {
            auto a = hb::DirectDb::server(admin);
            a->EXEC(QStringLiteral("DROP DATABASE IF EXISTS ") + serverName);
            a->EXEC(QStringLiteral("CREATE DATABASE ") + serverName
                    + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"));
        }
        for (const char *prefix : {"DB_", "MST_"}) {
            const QString p = QString::fromLatin1(prefix);
            hb::gINI->SaveCtrl(p + QStringLiteral("TYPE"), hb::Value("1"));
            hb::gINI->SaveCtrl(p + QStringLiteral("DSN"), hb::Value(admin.dsn));
            hb::gINI->SaveCtrl(p + QStringLiteral("NAME"), hb::Value(serverName));
        }
        hb::InitDb();  // the empty server database gets its tables when connected
        hb::InitMst();
        fill(*hb::gDb, *hb::gMst);
        serverDb = std::move(hb::gDb);
        serverMst = std::move(hb::gMst);
    }
    ~Program()
    {
        hb::destroyForms();
        hb::gDb.reset();
        hb::gMst.reset();
        sqliteDb.reset();
        sqliteMst.reset();
        serverDb.reset();
        serverMst.reset();
        if (!serverName.isEmpty()) {
            try {
                hb::DirectDb::server(admin)->EXEC(QStringLiteral("DROP DATABASE IF EXISTS ") + serverName);
            } catch (...) {
            }
        }
        hb::gINI.reset();
        hb::gWork.reset();
    }

    // Puts the objects of one kind in place of the global ones, with the grower and the shop the
    // rows name (another benchmark may have changed them); false when there are none.
    bool use(bool server)
    {
        kept.enter();
        hb::gShopID = hb::Value(1);
        hb::gFmrID = hb::Value(1);
        hb::destroyForms();
        if (hb::gDb) {
            (hb::gDb->DBTYPE() == QLatin1String("MYSQL") ? serverDb : sqliteDb) = std::move(hb::gDb);
            (hb::gMst->DBTYPE() == QLatin1String("MYSQL") ? serverMst : sqliteMst) = std::move(hb::gMst);
        }
        std::unique_ptr<hb::clsDb> &db = server ? serverDb : sqliteDb;
        std::unique_ptr<hb::clsMst> &mst = server ? serverMst : sqliteMst;
        if (!db)
            return false;
        hb::gDb = std::move(db);
        hb::gMst = std::move(mst);
        return true;
    }
};

std::unique_ptr<Program> &programSlot()
{
    static std::unique_ptr<Program> p;
    return p;
}

// The server database is dropped while the application still exists.
void dropProgram()
{
    programSlot().reset();
}

Program &program()
{
    if (!programSlot()) {
        programSlot() = std::make_unique<Program>();
        qAddPostRoutine(dropProgram);
    }
    return *programSlot();
}

void exportRows(benchmark::State &state, bool server)
{
    Program &p = program();
    if (!p.use(server)) {
        state.SkipWithError("HB_TEST_DSN is not set: no MariaDB server to measure on");
        return;
    }
    hb::fdlExpPriceTag &f = hb::form<hb::fdlExpPriceTag>();
    f.txtCOND[0]->setText(kExportFrom.toString(QStringLiteral("yyyy/MM/dd")));
    f.txtCOND[1]->setText(kExportFrom.addDays(kExportRows / 100 - 1).toString(QStringLiteral("yyyy/MM/dd")));
    f.txtCOND[2]->setText(p.out.path());
    const int before = quietUi()->prompts;
    for (auto _ : state) {
        if (f.ExpData() != kExportRows) {
            state.SkipWithError("the export did not write every shipment");
            break;
        }
    }
    if (quietUi()->prompts != before)
        state.SkipWithError("the export reported a failure");
    state.counters["rows"] = kExportRows;
}

void listDay(benchmark::State &state, bool server)
{
    Program &p = program();
    if (!p.use(server)) {
        state.SkipWithError("HB_TEST_DSN is not set: no MariaDB server to measure on");
        return;
    }
    hb::fdlPrintPriceTag &f = hb::form<hb::fdlPrintPriceTag>();
    f.InitList();
    f.txtCOND[0]->setText(kListDay.toString(QStringLiteral("yyyy/MM/dd")));
    f.txtCOND[1]->setText(QStringLiteral("0"));
    for (auto _ : state) {
        f.SetList();
        if (f.ListView1->topLevelItemCount() != kDayRows) {
            state.SkipWithError("the day was not listed whole");
            break;
        }
    }
    state.counters["labels"] = f.lblSUM[1]->text().toDouble();
}

void BM_ExportTenThousandShipments_Sqlite(benchmark::State &s) { exportRows(s, false); }
void BM_ExportTenThousandShipments_MariaDb(benchmark::State &s) { exportRows(s, true); }
void BM_ListThousandShipmentsOfADay_Sqlite(benchmark::State &s) { listDay(s, false); }
void BM_ListThousandShipmentsOfADay_MariaDb(benchmark::State &s) { listDay(s, true); }

BENCHMARK(BM_ExportTenThousandShipments_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportTenThousandShipments_MariaDb)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListThousandShipmentsOfADay_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListThousandShipmentsOfADay_MariaDb)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
