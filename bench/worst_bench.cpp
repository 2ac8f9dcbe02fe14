// The worst designs found: slitless at a line per mm (and a hundredth),
// the longest slit, and the slowest of 200,000 random designs drawn over
// every key's limits (tests/support/random_design.h, seeds 7 and 8). One
// evaluation each, and the plots' curves of the slitless one.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "model/design/curves.h"
#include "model/design/design.h"
#include "model/design/keys.h"

namespace {

using Keys = std::initializer_list<std::pair<const char*, const char*>>;

kelvora::design::DesignInput designOf(Keys keys) {
    std::vector<kelvora::design::KeyValue> values;
    for (const auto& [k, v] : keys) values.push_back({k, v});
    return kelvora::design::designFromKeys(values, kelvora::DetectorCatalogue()).input;
}

void evaluateDesign(benchmark::State& state, Keys keys) {
    const kelvora::design::DesignInput input = designOf(keys);
    if (!kelvora::design::evaluate(input).result) state.SkipWithError("design refused");
    for (auto _ : state) benchmark::DoNotOptimize(kelvora::design::evaluate(input));
}

void curvesOf(benchmark::State& state, Keys keys) {
    const kelvora::design::DesignInput input = designOf(keys);
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelvora::design::snrAgainstExposure(input));
        benchmark::DoNotOptimize(kelvora::design::snrAgainstMagnitude(input));
    }
}

const Keys kSlitless1 = {{"geometrie", "convergent"}, {"traits_mm", "1"}};
const Keys kSlitless001 = {{"geometrie", "convergent"}, {"traits_mm", "0.01"}};
const Keys kLongestSlit = {
    {"geometrie", "littrow"}, {"traits_mm", "2400"}, {"lambda_a", "6563"}, {"fente_um", "1000000"}};
const Keys kDrawn7 = {{"diametre_mm", "7.030342414106087"},
                      {"focale_mm", "66.4506645395722"},
                      {"miroirs", "2"},
                      {"seeing_arcsec", "12.253337452950442"},
                      {"lune_hauteur_deg", "33.413146187015045"},
                      {"lune_distance_deg", "79.35793522881917"},
                      {"geometrie", "convergent"},
                      {"blaze_a", "0.21582881375765356"},
                      {"efficacite_ordre0", "0.2855492947543147"},
                      {"distance_capteur_mm", "5.595441467050814"},
                      {"ordre0_px", "0.040074753788807475"},
                      {"collimateur_mm", "767.4705961375262"},
                      {"objectif_mm", "1e+300"},
                      {"distance_objectif_mm", "1.11234280078026"},
                      {"mag_etoile", "-26.808528672549777"},
                      {"poses", "1"},
                      {"roi_rangees", "41036"},
                      {"detecteur", "IMX290"},
                      {"courbe_qe", "plate"},
                      {"pixel_um", "1.8328824968673132"},
                      {"temperature_capteur_c", "8.6987254703524"}};
const Keys kDrawn8 = {{"diametre_mm", "51.508556607426925"},
                      {"obstruction_pct", "88.96439716520764"},
                      {"miroirs", "10"},
                      {"masse_air", "31.589269775221016"},
                      {"lune_hauteur_deg", "15.495059081170723"},
                      {"lune_phase_deg", "66.22144368028704"},
                      {"lune_distance_deg", "127.72665687905265"},
                      {"geometrie", "convergent"},
                      {"incidence_deg", "61.452030257503566"},
                      {"ordre0_px", "-0.043802151876506205"},
                      {"collimateur_mm", "1909.4859596413276"},
                      {"distance_objectif_mm", "33.94200249699979"},
                      {"temperature_k", "0"},
                      {"poses", "1"},
                      {"cible_snr", "8.562092396790117"},
                      {"raie", "cah"},
                      {"marge_pct", "99.79346207241863"},
                      {"roi_rangees", "59402"},
                      {"filtre_transmission", "0.6590381859858713"},
                      {"bits_adc", "11"},
                      {"bin_y", "3"}};

BENCHMARK_CAPTURE(evaluateDesign, slitless1, kSlitless1)
    ->Name("design-slitless-1-line")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(evaluateDesign, slitless001, kSlitless001)
    ->Name("design-slitless-0.01-line")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(evaluateDesign, longestSlit, kLongestSlit)
    ->Name("design-longest-slit")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(evaluateDesign, drawn7, kDrawn7)
    ->Name("design-worst-drawn-7")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(evaluateDesign, drawn8, kDrawn8)
    ->Name("design-worst-drawn-8")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(curvesOf, slitless1, kSlitless1)
    ->Name("design-curves-slitless-1-line")
    ->Unit(benchmark::kMillisecond);

}  // namespace
