#pragma once

// Random designs drawn from the key table: each key within its limits most
// of the time, beyond them sometimes, so that every rule is met from both
// sides. The same seed draws the same designs on every machine (the draw
// uses only the generator's integers, never a library distribution).

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/detectors.h"
#include "model/numbertext.h"

namespace kelvora::randomdesign {

class Draw {
  public:
    explicit Draw(std::uint64_t seed) : rng_(seed) {}
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(rng_() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(rng_() % n); }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    // Log-uniform over `decades` either side of `centre`.
    double around(double centre, double decades) {
        return centre * std::pow(10.0, between(-decades, decades));
    }

  private:
    std::mt19937_64 rng_;
};

// A value that breaks the limit, or a number no instrument has.
inline double beyond(Draw& d, const design::Limit& l) {
    const double picks[] = {
        std::isfinite(l.low) ? l.low - 1 - std::fabs(l.low) * d.unit() : -1e6,
        std::isfinite(l.high) ? l.high + 1 + std::fabs(l.high) * d.unit() : 1e300,
        -1,
        0,
        1e-300,
        -1e300,
        1e300,
        5e-324};
    return picks[d.below(std::size(picks))];
}

// A value within the limit: uniform where both ends are finite, otherwise
// spread over decades around the default, the scale people type.
inline double within(Draw& d, const design::KeyRow& row, double fallback) {
    const design::Limit& l = row.limit;
    if (l.zeroMeansWithout && d.chance(0.2)) return 0;
    double v = 0;
    if (std::isfinite(l.low) && std::isfinite(l.high)) {
        v = d.between(l.low, l.high);
    } else {
        const double centre = fallback > 0 ? fallback : 1;
        v = (std::isfinite(l.low) ? l.low : 0) + d.around(centre, 1.5);
        if (!std::isfinite(l.low) && d.chance(0.5)) v = -v;
    }
    if (row.kind == design::KeyKind::Whole) v = std::round(v);
    return design::within(l, v) ? v : fallback;
}

inline std::string wordFor(Draw& d, const design::KeyRow& row, const DetectorCatalogue& sensors) {
    if (row.kind == design::KeyKind::Choice) return row.words[d.below(2)];
    const std::string key = row.key;
    if (key == "geometrie")
        return design::geometryName(static_cast<design::Geometry>(d.below(design::kGeometryCount)));
    if (key == "detecteur") return sensors.rows()[d.below(sensors.rows().size())].caption;
    if (row.choices) {
        const design::WordList list = row.choices();
        return list[d.below(list.size())].first;
    }
    // A date: mostly valid, sometimes not a day at all.
    const int year = 1880 + static_cast<int>(d.below(240)),
              month = 1 + static_cast<int>(d.below(13));
    const int day = 1 + static_cast<int>(d.below(31));
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

// About a third of the keys; in half the designs every one within its
// limits, in the others each beyond them one time in ten.
inline std::vector<design::KeyValue> randomKeys(Draw& d, const DetectorCatalogue& sensors) {
    static const design::DesignInput defaults;
    const double beyondShare = d.chance(0.5) ? 0 : 0.1;
    std::vector<design::KeyValue> keys;
    for (const design::KeyRow& row : design::keyRows()) {
        const bool sun = std::string_view(row.key) == "source";
        if (!d.chance(sun ? 0.4 : 0.35)) continue;
        if (row.number) {
            const double v = !d.chance(beyondShare) ? within(d, row, defaults.*(row.number))
                                                    : beyond(d, row.limit);
            keys.push_back({row.key, shortestNumberText(v)});
        } else if (!d.chance(beyondShare / 3)) {
            keys.push_back({row.key, wordFor(d, row, sensors)});
        } else {
            keys.push_back({row.key, "n'importe quoi"});
        }
    }
    return keys;
}

// The keys as a command line, to replay a failure by hand.
inline std::string replay(const std::vector<design::KeyValue>& keys) {
    std::string line = "kelvora-calc conception";
    for (const design::KeyValue& k : keys) line += " '" + k.key + "=" + k.text + "'";
    return line;
}

}  // namespace kelvora::randomdesign
