// The start to the first window, the whole process, on the 20- and 40-year histories of grower 1:
//  BM_StartUp      the program's start-up (Main: settings, data, master and work databases, the
//                  default grower and shop, the reset of unused pesticide purchases) until the
//                  calendar is shown and painted, from the process's launch;
//  BM_StartUpRaw   its baseline: a process that reads the same settings, opens the same
//                  databases, looks up the grower and the shop and resets the purchases with
//                  hand-written statements through the raw driver, then shows a bare window.
// Each iteration is one process (hb_bench_start), timed from its launch to its "SHOWN" line;
// before it every purchase is given a use, so that the start resets all the unused ones.

#include "history.h"
#include "rawdriver.h"

#include "core/db.h"
#include "core/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
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

// One process from its launch to its "SHOWN" line, in seconds; -1 (with the output in *why)
// when it shows nothing.
double startOnce(const char *mode, const QString &folder, QString *why)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(HB_BENCH_START), {QString::fromLatin1(mode), folder});
    QByteArray out;
    double seconds = -1;
    while (p.waitForReadyRead(30000) || p.bytesAvailable() > 0) {
        out += p.readAllStandardOutput();
        if (out.contains("SHOWN ")) {
            seconds = t.nsecsElapsed() / 1e9;
            break;
        }
    }
    p.waitForFinished(30000);
    if (seconds < 0)
        *why = QString::fromUtf8(out + p.readAllStandardOutput() + p.readAllStandardError()).left(300);
    return seconds;
}

void runStarts(benchmark::State &state, const char *mode)
{
    History *h = hbbench::historyFor(state);
    if (!h)
        return;
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
