// Runs every registered benchmark, then prints each operation's time as a
// ratio to memcpy of the same bytes and to its SDL2 counterpart. Times are
// CPU times: every operation runs on one thread and never waits, and on a
// shared machine other processes stretch the wall-clock time of a run by
// far more than they change its CPU time.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_reference.h"
#include "raster/row_transfer.h"

std::map<std::string, std::string>& SdlReferences();

namespace {

struct Result {
    std::string operation, size;
    double ns;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::vector<Result> results;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            // "<operation>/<W>x<H>", perhaps followed by "/min_time:...".
            const std::string name = run.benchmark_name();
            const size_t slash = name.find('/'), end = name.find('/', slash + 1);
            const Result r{name.substr(0, slash), name.substr(slash + 1, end - slash - 1),
                           run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit)};
            // With --benchmark_repetitions each repetition is a run of its
            // own; the fastest one stands for the operation.
            if (Result* seen = Find(r.operation, r.size))
                seen->ns = std::min(seen->ns, r.ns);
            else
                results.push_back(r);
        }
    }

    Result* Find(const std::string& operation, const std::string& size)
    {
        for (Result& r : results)
            if (r.operation == operation && r.size == size)
                return &r;
        return nullptr;
    }
};

void RegisterAll()
{
    for (auto [w, h] : {std::pair{800, 600}, std::pair{200, 200}, std::pair{400, 200}})
        RegisterReferences(w, h);
}

} // namespace

void RegisterRasterBenchmarks();

int main(int argc, char** argv)
{
    RegisterAll();
    RegisterRasterBenchmarks();
    benchmark::Initialize(&argc, argv);
    std::printf("Row kernels: %s\n", ActiveRowKernels().name);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-40s %-9s %12s %10s %10s\n", "operation", "size", "time (us)", "x memcpy", "x SDL2");
    for (const Result& r : reporter.results) {
        if (r.operation == "memcpy" || r.operation.rfind("SDL ", 0) == 0)
            continue;
        const Result* copy = reporter.Find("memcpy", r.size);
        std::printf("%-40s %-9s %12.1f", r.operation.c_str(), r.size.c_str(), r.ns / 1000);
        if (copy)
            std::printf(" %10.2f", r.ns / copy->ns);
        else
            std::printf(" %10s", "-");
        const auto sdl = SdlReferences().find(r.operation);
        const Result* ref = sdl == SdlReferences().end() ? nullptr : reporter.Find(sdl->second, r.size);
        if (ref)
            std::printf(" %10.2f  (%s)\n", r.ns / ref->ns, sdl->second.c_str());
        else
            std::printf(" %10s\n", "-");
    }
    benchmark::Shutdown();
    return 0;
}
