// The benchmarks' program: a headless application, the repetitions of all benchmarks interleaved
// at random unless told otherwise, the first opening of the diary-day window measured before
// anything else has opened a window, and after the run a summary of the medians with the ratios
// and limits they are judged by.

#include "history.h"

#include "core/appinit.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Figure {
    double median = -1, cv = 0, min = 0, max = 0;
    std::map<std::string, double> counters;  // the medians of the benchmark's counters
};

// The console's report, and the figures of every benchmark kept by name (without the run's
// own suffixes) for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            std::string name = r.run_name.function_name + "/" + r.run_name.args;
            if (r.run_name.args.empty())
                name.pop_back();
            Figure &f = figures_[name];
            const double ms = r.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond)
                              / benchmark::GetTimeUnitMultiplier(r.time_unit);
            if (r.run_type == Run::RT_Iteration && r.repetitions <= 1 && f.median < 0)
                f.median = ms;  // a benchmark of one run
            else if (r.aggregate_name == "median") {
                f.median = ms;
                for (const auto &[counter, value] : r.counters)
                    f.counters[counter] = value;
            }
            else if (r.aggregate_name == "cv")
                f.cv = r.real_accumulated_time * 100;  // a fraction
            else if (r.aggregate_name == "min")
                f.min = ms;
            else if (r.aggregate_name == "max")
                f.max = ms;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        if (figures_.empty())
            return;
        std::printf("\nSummary: medians of real time in ms (cv, min..max over the repetitions)\n");
        const char *const kinds[] = {"file (SQLite)", "server (MariaDB)"};
        for (int server : {0, 1}) {
            std::printf("\n%s\n%-16s %-9s %-26s %-26s %-26s %-26s %-26s %s\n", kinds[server], "years/growers", "",
                        "calendar data", "hand-written reads", "calendar redraw", "opening a day", "saving a day",
                        "data/reads");
            for (int years : {1, 10, 20, 40}) {
                for (int growers : {1, 5}) {
                    const std::string args = "/server:" + std::to_string(server) + "/years:" + std::to_string(years)
                                             + "/growers:" + std::to_string(growers);
                    std::printf("%-16s %-9s", (std::to_string(years) + "/" + std::to_string(growers)).c_str(), "");
                    for (const char *bm : {"BM_CalendarData", "BM_CalendarRaw", "BM_CalendarRedraw", "BM_OpenDay", "BM_SaveDay"})
                        std::printf(" %-26s", cell(bm + args).c_str());
                    std::printf(" %s\n", ratioText(median("BM_CalendarData" + args), median("BM_CalendarRaw" + args)).c_str());
                }
            }
        }
        std::printf("\nFirst opening of the day (window created and opened): file %s, server %s\n",
                    number(median("BM_OpenDayFirst/server:0/years:20/growers:1")).c_str(),
                    number(median("BM_OpenDayFirst/server:1/years:20/growers:1")).c_str());
        std::printf("Lunisolar date of a day: %s\n", cell("BM_LunisolarDate").c_str());
        std::printf("\nTwo statements of the stock within a save (ms a save): the uses' sum, the rests' fix-up\n");
        for (int server : {0, 1}) {
            for (int growers : {1, 5}) {
                std::printf("  %-6s %d grower%s", server ? "server" : "file", growers, growers == 1 ? " " : "s");
                for (int years : {1, 10, 20, 40}) {
                    const std::string save = name("BM_SaveDay", server, years, growers);
                    std::printf("  %d y: %s, %s", years, number(counter(save, "use_sum_ms")).c_str(),
                                number(counter(save, "rest_fix_ms")).c_str());
                }
                std::printf("\n");
            }
        }

        growthSummary();

        std::printf("\nLimits (one grower and five):\n");
        for (int server : {0, 1}) {
            const char *kind = server ? "server" : "file";
            for (int growers : {1, 5}) {
                const auto at = [&](const char *bm, int years) { return median(name(bm, server, years, growers)); };
                const double dataLimit = server ? 8 : 2, redrawLimit = server ? 20 : 10, saveLimit = server ? 60 : 30;
                check(kind, growers, "calendar data at 10 years", at("BM_CalendarData", 10), dataLimit);
                check(kind, growers, "calendar data at 20 years", at("BM_CalendarData", 20), dataLimit);
                check(kind, growers, "calendar redraw at 10 years", at("BM_CalendarRedraw", 10), redrawLimit);
                check(kind, growers, "calendar redraw 20 years / 10 years",
                      ratio(at("BM_CalendarRedraw", 20), at("BM_CalendarRedraw", 10)), 1.2);
                // The growth of a save is judged without the sum of the day's purchases' uses
                // over every day they were used, which grows with the history itself.
                const auto saveLessUses = [&](int years) {
                    const double uses = counter(name("BM_SaveDay", server, years, growers), "use_sum_ms");
                    return at("BM_SaveDay", years) < 0 || uses < 0 ? -1 : at("BM_SaveDay", years) - uses;
                };
                check(kind, growers, "saving a day at 20 years", at("BM_SaveDay", 20), saveLimit);
                check(kind, growers, "saving less uses' sum 20 y / 1 y", ratio(saveLessUses(20), saveLessUses(1)), 1.5);
                check(kind, growers, "opening a day at 20 years", at("BM_OpenDay", 20), 15);
                check(kind, growers, "saving a day at 40 years", at("BM_SaveDay", 40), saveLimit);
                check(kind, growers, "saving less uses' sum 40 y / 1 y", ratio(saveLessUses(40), saveLessUses(1)), 1.5);
                check(kind, growers, "opening a day at 40 years", at("BM_OpenDay", 40), 15);
                if (growers == 5)
                    check(kind, growers, "opening a day 40 years / 10 years",
                          ratio(at("BM_OpenDay", 40), at("BM_OpenDay", 10)), 1.15);
            }
        }
    }

private:
    // The start, the closing of a day and of the input windows, the shipment list and the day's
    // pesticide pick list, each beside its baseline, with their limits.
    void growthSummary() const
    {
        struct Row {
            const char *what, *bm, *raw;
            int growers;
            std::vector<int> years;
        };
        const Row rows[] = {
            {"start to first window", "BM_StartUp", "BM_StartUpRaw", 1, {20, 40}},
            {"closing a day", "BM_CloseDay", "BM_CloseDayRaw", 1, {20, 40}},
            {"closing a day", "BM_CloseDay", "BM_CloseDayRaw", 5, {20, 40}},
            {"closing shipment input", "BM_CloseShipInput", "BM_CloseShipInputRaw", 5, {10, 40}},
            {"closing pesticide input", "BM_CloseChemiInput", "BM_CloseChemiInputRaw", 5, {10, 40}},
            {"closing planting input", "BM_ClosePlantInput", "BM_ClosePlantInputRaw", 5, {10, 40}},
            {"shipment list's month", "BM_ShipListMonth", "BM_ShipListMonthRaw", 5, {10, 40}},
            {"shipment list's plantings", "BM_ShipPlantings", "BM_ShipPlantingsRaw", 5, {10, 40}},
            {"day's pesticide pick list", "BM_PickList", "BM_PickListRaw", 5, {10, 40}},
        };
        const char *const kinds[] = {"file", "server"};
        std::printf("\n%-7s %-26s %-14s %-26s %-26s %s\n", "", "", "years/growers", "program", "baseline",
                    "program/baseline");
        for (int server : {0, 1}) {
            for (const Row &r : rows) {
                for (int y : r.years) {
                    const std::string a = name(r.bm, server, y, r.growers), b = name(r.raw, server, y, r.growers);
                    std::printf("%-7s %-26s %-14s %-26s %-26s %s\n", kinds[server], r.what,
                                (std::to_string(y) + "/" + std::to_string(r.growers)).c_str(), cell(a).c_str(),
                                cell(b).c_str(), ratioText(median(a), median(b)).c_str());
                }
            }
        }
        std::printf("\nLimits of the start, the closings, the shipment list and the pick list:\n");
        for (int server : {0, 1}) {
            const char *kind = kinds[server];
            check(kind, 1, "start at 20 years", median(name("BM_StartUp", server, 20, 1)), server ? 200 : 150);
            check(kind, 1, "start 40 years / 20 years",
                  ratio(median(name("BM_StartUp", server, 40, 1)), median(name("BM_StartUp", server, 20, 1))), 1.2);
            if (server) {
                check(kind, 5, "closing a day at 40 years", median(name("BM_CloseDay", server, 40, 5)), 5);
                for (const char *bm : {"BM_CloseShipInput", "BM_CloseChemiInput", "BM_ClosePlantInput"}) {
                    check(kind, 5, (std::string(bm + 3) + " at 40 years").c_str(), median(name(bm, server, 40, 5)), 5);
                    check(kind, 5, (std::string(bm + 3) + " 40 y / 10 y").c_str(),
                          ratio(median(name(bm, server, 40, 5)), median(name(bm, server, 10, 5))), 1.3);
                }
            }
            for (const char *bm : {"BM_ShipListMonth", "BM_ShipPlantings"}) {
                const std::string raw = std::string(bm) + "Raw";
                for (int y : {10, 40})
                    check(kind, 5, (std::string(bm + 3) + " / baseline, " + std::to_string(y) + " y").c_str(),
                          ratio(median(name(bm, server, y, 5)), median(name(raw.c_str(), server, y, 5))), 3);
                check(kind, 5, (std::string(bm + 3) + " 40 y / 10 y").c_str(),
                      ratio(median(name(bm, server, 40, 5)), median(name(bm, server, 10, 5))), 1.3);
            }
            // Beside sqlite3's own read of the rows on a file, the MariaDB C client's on a server.
            check(kind, 5, "PickList / baseline, 40 y",
                  ratio(median(name("BM_PickList", server, 40, 5)), median(name("BM_PickListRaw", server, 40, 5))), 3);
        }
        // 1,000 tags, each with its own trace address, on 42 sheets: the print empties its render
        // model after each sheet sent. Its peak is the process's: run alone, the print is judged
        // by it; beside the other benchmarks, whose histories the process keeps, by what the
        // print adds to what was resident before it (the 60 MB less the 45 MB a process that
        // only prints holds before its print).
        const bool printAlone = std::all_of(figures_.begin(), figures_.end(), [](const auto &f) {
            return f.first.rfind("BM_PrintThousandTagsToPdf", 0) == 0;
        });
        if (printAlone)
            check("file", 1, "print peak MB, 1,000 tags & addresses", counter("BM_PrintThousandTagsToPdf/1000", "peak_MB"), 60);
        else
            check("file", 1, "print rise MB, 1,000 tags & addresses", counter("BM_PrintThousandTagsToPdf/1000", "rise_MB"), 15);
    }

    // A benchmark's name with its arguments, as the figures keep it.
    static std::string name(const char *bm, int server, int years, int growers)
    {
        return std::string(bm) + "/server:" + std::to_string(server) + "/years:" + std::to_string(years)
               + "/growers:" + std::to_string(growers);
    }
    double counter(const std::string &bm, const std::string &counter) const
    {
        const auto it = figures_.find(bm);
        if (it == figures_.end())
            return -1;
        const auto c = it->second.counters.find(counter);
        return c == it->second.counters.end() ? -1 : c->second;
    }
    double median(const std::string &name) const
    {
        const auto it = figures_.find(name);
        return it == figures_.end() ? -1 : it->second.median;
    }
    static double ratio(double a, double b) { return a < 0 || b <= 0 ? -1 : a / b; }
    static std::string number(double v)
    {
        if (v < 0)
            return "-";
        char b[32];
        std::snprintf(b, sizeof b, v < 10 ? "%.2f" : "%.1f", v);
        return b;
    }
    static std::string ratioText(double a, double b) { return ratio(a, b) < 0 ? "-" : number(ratio(a, b)); }
    std::string cell(const std::string &name) const
    {
        const auto it = figures_.find(name);
        if (it == figures_.end() || it->second.median < 0)
            return "-";
        const Figure &f = it->second;
        char b[96];
        std::snprintf(b, sizeof b, "%s (%.1f%%, %s..%s)", number(f.median).c_str(), f.cv, number(f.min).c_str(),
                      number(f.max).c_str());
        return b;
    }
    static void check(const char *kind, int growers, const char *what, double value, double limit)
    {
        if (value < 0)
            return;
        std::printf("  %-6s %d grower%s  %-38s %8s  limit %-5s %s\n", kind, growers, growers == 1 ? " " : "s", what,
                    number(value).c_str(), number(limit).c_str(), value <= limit ? "met" : "NOT MET");
    }

    std::map<std::string, Figure> figures_;
};

}  // namespace

int main(int argc, char **argv)
{
    hb::readTimeZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hb::initApplication(app);

    std::vector<char *> args(argv, argv + argc);
    std::string filter;
    bool interleaving = false;
    for (char *a : args) {
        if (std::strncmp(a, "--benchmark_filter=", 19) == 0)
            filter = a + 19;
        interleaving = interleaving || std::strncmp(a, "--benchmark_enable_random_interleaving", 38) == 0;
    }
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (!interleaving)
        args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    if (filter.empty() || filter == "all" || std::regex_search("BM_OpenDayFirst", std::regex(filter)))
        hbbench::registerFirstOpenings();

    benchmark::Initialize(&count, args.data());
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    hbbench::dropHistories();
    return 0;
}
