#include <benchmark/benchmark.h>

#include "model/calculation.h"
#include "model/design/design.h"
#include "model/numbertext.h"

namespace {

void modelRun(benchmark::State& state) {
    const kelvora::RunInput input;
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::runCalculation(input));
}
BENCHMARK(modelRun)->Name("model-run");

void readNumber(benchmark::State& state) {
    const std::string text = "5500";
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::readNumber(text));
}
BENCHMARK(readNumber)->Name("read-number");

void formatPattern(benchmark::State& state) {
    double value = 3227.5812345;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(kelvora::formatPattern(value, "#.##", ","));
    }
}
BENCHMARK(formatPattern)->Name("format-pattern");

}  // namespace

namespace {

// One design evaluation with both planning answers.
void designRun(benchmark::State& state) {
    kelvora::design::DesignInput input;
    input.geometrie = kelvora::design::Geometry::Littrow;
    input.fente_um = 20;
    input.cible_snr = 100;
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::design::evaluate(input));
}
BENCHMARK(designRun)->Name("design-run");

}  // namespace
