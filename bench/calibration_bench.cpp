// Reading and fitting a 4,000-point spectrum: a text file as capture
// software writes it, read by the spectrum reader and calibrated against
// the design (the target: 20 ms).
#include <benchmark/benchmark.h>

#include <cmath>
#include <sstream>

#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"

namespace {

using namespace kelvora;

design::DesignInput observing() {
    const std::vector<design::KeyValue> keys = {{"geometrie", "littrow"},  {"traits_mm", "600"},
                                                {"lambda_a", "6000"},      {"detecteur", "IMX455"},
                                                {"collimateur_mm", "100"}, {"objectif_mm", "100"},
                                                {"mag_etoile", "5"}};
    return design::designFromKeys(keys, DetectorCatalogue(), {}).input;
}

double tired(double l) {
    return 0.7 - 0.1 * (l - 5000) / 3000;
}

std::string fourThousandPoints(const design::DesignInput& in) {
    const design::ObservedSpectrum s = design::syntheticSpectrum(in, tired, 60, 5);
    std::ostringstream text;
    text.precision(10);
    text << "# EXPTIME = 60\n# GAIN = 1\nOBJNAME = 'banc'\n";
    for (std::size_t i = 0; i < s.flux.size() && i < 4000; ++i)
        text << s.lambda_a[i] << "," << s.flux[i] << "\n";
    return text.str();
}

void readAndFit(benchmark::State& state) {
    const design::DesignInput in = observing();
    const std::string file = fourThousandPoints(in);
    for (auto _ : state) {
        const io::SpectrumRead r = io::readSpectrum(file);
        const design::Calibration c = design::calibrate(in, r.spectrum, "2026-12-07", "banc.txt");
        benchmark::DoNotOptimize(c.ratio.points.data());
    }
}
BENCHMARK(readAndFit)->Name("etalonnage-4000-points")->Unit(benchmark::kMillisecond);

}  // namespace
