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
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::cli::runCalc(args, ",", out, err));
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(sweepRows)->Name("sweep-rows-per-s")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
