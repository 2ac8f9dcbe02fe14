#include <benchmark/benchmark.h>

#include "model/calculation.h"
#include "model/design/design.h"
#include "model/design/keys.h"
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

// A design through the whole photometric chain: atmosphere, mirrors, blaze,
// a QE curve, a black body.
kelvora::design::DesignInput fullChain() {
    kelvora::design::DesignInput input;
    kelvora::design::setKey(input, "detecteur", "IMX533", kelvora::DetectorCatalogue());
    input.geometrie = kelvora::design::Geometry::Littrow;
    input.fente_um = 20;
    input.cible_snr = 100;
    input.masse_air = 1.3;
    input.miroirs = 2;
    input.blaze_a = 5000;
    input.temperature_k = 5800;
    return input;
}

// One design evaluation with both planning answers.
void designRun(benchmark::State& state) {
    const kelvora::design::DesignInput input = fullChain();
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::design::evaluate(input));
}
BENCHMARK(designRun)->Name("design-run");

// What `conception --spectre` computes: 200 rows of the chain.
void spectrum200(benchmark::State& state) {
    const kelvora::design::DesignInput input = fullChain();
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::design::spectrum(input, 199));
}
BENCHMARK(spectrum200)->Name("spectre-200-rows")->Unit(benchmark::kMicrosecond);

}  // namespace
