// The price-tag print: 1,000 tags (100 shipments of 10 labels) drawn sheet by sheet into PDF files
// where no printer is installed, with 100 or 1,000 different trace addresses, with the peak of
// the process's resident memory while it prints; and the preview's page turn. Fonts are warmed
// by one run before the measured ones.

#include "benchprogram.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/schema.h"
#include "printing/fdlpreview.h"
#include "printing/printer.h"
#include "printing/printsetup.h"
#include "printing/ptag.h"
#include "printing/ptagsheet.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

class NoPrinters : public hb::PrinterSystem {
public:
    QStringList printerNames() override { return {}; }
    QString defaultPrinterName() override { return QString(); }
    std::unique_ptr<hb::PrintDevice> openPrinter(const QString &) override { return nullptr; }
};

struct Fixture {
    QTemporaryDir dir;
    bench::KeptProgram kept{dir};
    Fixture()
    {
        hb::setPrinterSystem(std::make_unique<NoPrinters>());
    }
    ~Fixture()
    {
        // Before the program's own statics (the database connections among them) go away.
        hb::destroyForms();
        hb::setPrinterSystem(nullptr);
        hb::gINI.reset();
        hb::gWork.reset();
    }
};

Fixture &fixture()
{
    static Fixture f;
    f.kept.enter();
    hb::gRepId = hb::kPtagReport;
    return f;
}

// 100 shipments of 10 labels; the labels of a shipment share their trace address, or each of the
// 1,000 labels has its own (one shipment a label).
void buildTags(int distinctAddresses)
{
    const int rows = distinctAddresses == 1000 ? 1000 : 100;
    const int labels = 1000 / rows;
    hb::gPtagData.assign(1, hb::PtagDataRec());
    hb::gPtagData[0].PTAG.clear();
    for (int i = 0; i < rows; ++i) {
        hb::PtagRec row;
        row.KIND = hb::PtagRec::kShipmentKind;
        row.LABEL_CNT = labels;
        hb::PtagLabelRec &l = row.LABEL;
        l.JAN_CD = hb::GetCheckDigit(QStringLiteral("49%1").arg(i, 10, 10, QLatin1Char('0')));
        l.QR_TEXT = QStringLiteral("http://trace.example.jp/cropsight/%1/%2/").arg(1 + i % 9).arg(i);
        l.FMR_NM = QStringLiteral("山田農園");
        l.TEL_NO_S = QStringLiteral("0263-12-3456");
        l.PRD_NM = QStringLiteral("大根");
        l.SHOP_PRC = hb::Currency::fromDouble(100 + i);
        l.LOCATE = QStringLiteral("信州");
        l.PLAS = i % 2 == 0;
        hb::gPtagData[0].PTAG.push_back(row);
    }
}

constexpr int kSheets = (1000 + hb::kTagsPerSheet - 1) / hb::kTagsPerSheet;

// A size line of /proc/self/status ("VmRSS:", "VmHWM:") in MB; -1 when it cannot be read.
double statusMb(const QByteArray &field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

// The process's peak resident set (VmHWM) put back to what is resident now, after the heap has
// returned what it holds free: the peak read afterwards is that of what runs in between.
bool resetPeakRss()
{
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// Counters: peak_MB, the process's peak resident set while it prints (what the process held
// before included: run the benchmark alone for the print's own figure), and rise_MB, that peak
// less what was resident before the print.
void BM_PrintThousandTagsToPdf(benchmark::State &state)
{
    fixture();
    buildTags(static_cast<int>(state.range(0)));
    hb::PrintOnPrinter(hb::kPtagReport, 1, 1);  // fonts and pictures warmed
    const bool peakKnown = resetPeakRss();
    const double before = statusMb("VmRSS:");
    for (auto _ : state) {
        const QStringList files = hb::PrintOnPrinter(hb::kPtagReport, 1, kSheets);
        if (files.size() != kSheets)
            state.SkipWithError("not every sheet was written");
    }
    state.counters["sheets"] = kSheets;
    const double peak = statusMb("VmHWM:");
    if (peakKnown && before >= 0 && peak >= 0) {
        state.counters["peak_MB"] = peak;
        state.counters["rise_MB"] = peak - before;
    }
}
BENCHMARK(BM_PrintThousandTagsToPdf)
    ->Arg(100)
    ->Arg(1000)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_PreviewPageTurn(benchmark::State &state)
{
    fixture();
    buildTags(100);
    hb::gPageCount = kSheets;
    hb::fdlPreview &f = hb::form<hb::fdlPreview>();
    f.showModeless();
    QPushButton *next = f.Command1[5];
    QPushButton *first = f.Command1[3];
    next->click();  // warmed
    for (auto _ : state) {
        if (!next->isEnabled())
            first->click();
        else
            next->click();
    }
    f.Unload();
    hb::destroyForms();
}
BENCHMARK(BM_PreviewPageTurn)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace
