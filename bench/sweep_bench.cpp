#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "tools/calc_cli.h"

namespace {

// Counts what it is given and keeps nothing, like /dev/null.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// 100 gratings x 100 cameras x 10 distances: 100,000 rows of CSV.
void sweepRows(benchmark::State& state) {
    std::vector<std::string> args;
    for (int i = 1; i <= 100; ++i) args.push_back("txtTraits=" + std::to_string(i * 12));
    for (int i = 1; i <= 100; ++i) args.push_back("txtChambre=" + std::to_string(20 + i));
    for (int i = 1; i <= 10; ++i) args.push_back("txtDistance=" + std::to_string(i * 5));
    NullBuffer nothing;
    std::ostream out(&nothing), err(&nothing);
    const kelvora::DetectorCatalogue catalogue;
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvora::cli::runCalc(args, ",", catalogue, out, err));
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(sweepRows)->Name("sweep-rows-per-s")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

namespace {

// 100 line densities x 100 wavelengths x 100 exposures: 1,000,000 design rows of CSV.
void designSweepRows(benchmark::State& state) {
    std::vector<std::string> args{"conception", "geometrie=littrow", "cible_snr=100",
                                  "detecteur=IMX533", "fente_um=20"};
    for (int i = 1; i <= 100; ++i) args.push_back("traits_mm=" + std::to_string(i * 24));
    for (int i = 1; i <= 100; ++i) args.push_back("lambda_a=" + std::to_string(3800 + i * 30));
    for (int i = 1; i <= 100; ++i) args.push_back("pose_s=" + std::to_string(i * 10));
    NullBuffer nothing;
    std::ostream out(&nothing), err(&nothing);
    const kelvora::DetectorCatalogue catalogue;
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvora::cli::runCalc(args, ".", catalogue, out, err));
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(designSweepRows)
    ->Name("design-sweep-rows-per-s")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
