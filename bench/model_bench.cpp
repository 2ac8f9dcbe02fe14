#include <benchmark/benchmark.h>

#include "model/calculation.h"
#include "model/design/design.h"
#include "model/design/keys.h"
#include "model/design/proposer.h"
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
    kelvora::design::applyDetector(input, *kelvora::DetectorCatalogue().find("IMX533"));
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

// The proposer's default search (thousands of designs) for a Be-star
// observer's target: R = 10,000 at Hα on a 200 mm f/10 with an IMX533.
void proposerDefault(benchmark::State& state) {
    kelvora::design::DesignInput fixed;
    kelvora::design::applyDetector(fixed, *kelvora::DetectorCatalogue().find("IMX533"));
    fixed.focale_mm = 2000;
    fixed.seeing_arcsec = 2.5;
    fixed.lambda_a = 6563;
    kelvora::design::ProposerRequest request;
    request.resolution_cible = 10000;
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::design::propose(fixed, request, 10));
}
BENCHMARK(proposerDefault)->Name("proposer-default")->Unit(benchmark::kMillisecond);

}  // namespace
