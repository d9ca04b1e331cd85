// The start to the first window, the whole process, on the 20- and 40-year histories of grower 1:
//  BM_StartUp      the program's start-up (Main: settings, data, master and work databases, the
//                  default grower and shop, the reset of unused pesticide purchases) until the
//                  calendar is shown and painted, from the process's launch;
//  BM_StartUpRaw   its baseline: a process that reads the same settings, opens the same
//                  databases, looks up the grower and the shop and resets the purchases with
//                  hand-written statements through the raw driver, then shows a bare window.
// Each iteration is one process (hb_bench_start), timed from its launch to its "SHOWN" line;
// before it every purchase is given a use, so that the start resets all the unused ones.
// Both processes run with the system clock on the morning of 2024-06-12 (libfaketime, preloaded:
// the clock starts there and runs on; the monotonic clock is left alone), so the calendar
// opens, as the program opens it on the current month, on June 2024, a month full of data; the
// program's start must show it with every day's diary row and marks, or the run is an error.

#include "history.h"
#include "rawdriver.h"

#include "core/db.h"
#include "core/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace {

using hb::Value;
using hbbench::History;

// A program folder of its own whose settings name the history as the data database, with the
// default grower and shop in its master file and every calendar layer on.
const QTemporaryDir *startFolder(const History &h)
{
    static std::map<const History *, std::unique_ptr<QTemporaryDir>> folders;
    std::unique_ptr<QTemporaryDir> &dir = folders[&h];
    if (dir)
        return dir.get();
    dir = std::make_unique<QTemporaryDir>();
    for (const char *sub : {"bin", "ini", "work", "data"})
        QDir(dir->path()).mkpath(QString::fromLatin1(sub));
    hb::createMissingDatabases(dir->filePath(QStringLiteral("bin")));
    auto ini = hb::DirectDb::file(dir->filePath(QStringLiteral("ini/INFO.MDB")), false);
    const bool server = h.backend() == hbbench::Backend::MariaDb;
    ini->SaveCtrl(QStringLiteral("DB_TYPE"), Value(server ? "1" : "2"));
    ini->SaveCtrl(QStringLiteral("DB_DSN"), Value(h.serverParams().dsn));
    ini->SaveCtrl(QStringLiteral("DB_NAME"), Value(server ? h.serverParams().database : h.filePath()));
    for (int i = 0; i < 5; ++i)
        ini->SaveCtrl(QStringLiteral("CAL_OPT%1").arg(i), Value(1));
    auto master = hb::DirectDb::file(dir->filePath(QStringLiteral("data/MASTER.MDB")), false);
    master->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (1, '緑丘 太郎', -1)"));
    master->EXEC(QStringLiteral("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM) VALUES (1, '直売所')"));
    return dir.get();
}

const char *const kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

// The environment of the children: the system clock set to the morning of the benchmarks' day.
QProcessEnvironment onTheDay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QString::fromLatin1(kFakeTime));
    env.insert(QStringLiteral("FAKETIME"), hbbench::kDay.toString(QStringLiteral("'@'yyyy-MM-dd 08:00:00")));
    env.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
    env.insert(QStringLiteral("NO_FAKE_STAT"), QStringLiteral("1"));
    return env;
}

// What the program's first window must say it shows: the calendar of the benchmarks' month,
// every one of its days with a diary row and a mark of each layer.
QByteArray fullMonth()
{
    const QByteArray days = QByteArray::number(hbbench::kMonth.daysInMonth());
    return "SHOWN frmDairyCal " + hbbench::kMonth.toString(QStringLiteral("yyyy-MM")).toLatin1() + " diary " + days
           + " money " + days + " pesticide " + days + " shipment " + days + "\n";
}

// One process from its launch to its "SHOWN" line, in seconds; -1 (with the output in *why)
// when it shows nothing, or for the program anything but the full month.
double startOnce(const char *mode, const QString &folder, QString *why)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.setProcessEnvironment(onTheDay());
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(HB_BENCH_START), {QString::fromLatin1(mode), folder});
    QByteArray out;
    double seconds = -1;
    while (p.waitForReadyRead(30000) || p.bytesAvailable() > 0) {
        out += p.readAllStandardOutput();
        if (seconds < 0 && out.contains("SHOWN "))
            seconds = t.nsecsElapsed() / 1e9;
        if (seconds >= 0 && out.indexOf('\n', out.indexOf("SHOWN ")) >= 0)
            break;  // the whole line, after the time was taken
    }
    p.waitForFinished(30000);
    out += p.readAllStandardOutput();
    if (seconds >= 0 && std::strcmp(mode, "program") == 0 && !out.contains(fullMonth()))
        seconds = -1;
    if (seconds < 0)
        *why = QString::fromUtf8(out + p.readAllStandardError()).left(300);
    return seconds;
}

void runStarts(benchmark::State &state, const char *mode)
{
    History *h = hbbench::historyFor(state);
    if (!h)
        return;
    if (!QFileInfo::exists(QString::fromLatin1(kFakeTime))) {
        state.SkipWithError("libfaketime is not installed (scripts/deps.sh installs it)");
        return;
    }
    const QString folder = startFolder(*h)->path();
    for (auto _ : state) {
        // Every purchase has a use recorded, so each start resets all the unused ones: the
        // worst case, whatever ran before (the time of this statement is not counted).
        hbbench::rawRun(*h, "UPDATE D_CHEMI SET USED_QTY=1, REST_QTY=PUR_QTY-1");
        QString why;
        const double s = startOnce(mode, folder, &why);
        if (s < 0) {
            static std::string message;
            message = ("the start showed no window: " + why).toStdString();
            state.SkipWithError(message.c_str());
            return;
        }
        state.SetIterationTime(s);
    }
}

void startArgs(benchmark::internal::Benchmark *b)
{
    hbbench::historyArgs(b, {20, 40}, {1}, true);
    b->Iterations(2);
}

void BM_StartUp(benchmark::State &state)
{
    runStarts(state, "program");
}
BENCHMARK(BM_StartUp)->Apply(startArgs);

void BM_StartUpRaw(benchmark::State &state)
{
    runStarts(state, "raw");
}
BENCHMARK(BM_StartUpRaw)->Apply(startArgs);

}  // namespace
