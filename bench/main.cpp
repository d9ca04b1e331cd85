// The benchmarks' program: a headless application, the repetitions of all benchmarks interleaved
// at random unless told otherwise, the first opening of the diary-day window measured before
// anything else has opened a window, and after the run a summary of the medians with the ratios
// and limits they are judged by.

#include "history.h"

#include "core/appinit.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Figure {
    double median = -1, cv = 0, min = 0, max = 0;
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
            else if (r.aggregate_name == "median")
                f.median = ms;
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
            for (int years : {1, 10, 20}) {
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

        std::printf("\nLimits (one grower and five):\n");
        for (int server : {0, 1}) {
            const char *kind = server ? "server" : "file";
            for (int growers : {1, 5}) {
                const auto at = [&](const char *bm, int years) {
                    return median(std::string(bm) + "/server:" + std::to_string(server) + "/years:" + std::to_string(years)
                                  + "/growers:" + std::to_string(growers));
                };
                const double dataLimit = server ? 8 : 2, redrawLimit = server ? 20 : 10, saveLimit = server ? 60 : 30;
                check(kind, growers, "calendar data at 10 years", at("BM_CalendarData", 10), dataLimit);
                check(kind, growers, "calendar data at 20 years", at("BM_CalendarData", 20), dataLimit);
                check(kind, growers, "calendar redraw at 10 years", at("BM_CalendarRedraw", 10), redrawLimit);
                check(kind, growers, "calendar redraw 20 years / 10 years",
                      ratio(at("BM_CalendarRedraw", 20), at("BM_CalendarRedraw", 10)), 1.2);
                check(kind, growers, "saving a day at 20 years", at("BM_SaveDay", 20), saveLimit);
                check(kind, growers, "saving a day 20 years / 1 year", ratio(at("BM_SaveDay", 20), at("BM_SaveDay", 1)), 1.5);
                check(kind, growers, "opening a day at 20 years", at("BM_OpenDay", 20), 15);
            }
        }
    }

private:
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
