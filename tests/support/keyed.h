#pragma once

// Designs for the tests, read from keys exactly as every face reads them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/design/keys.h"
#include "model/design/labels.h"

namespace kelvora::testkeys {

using Keys = std::initializer_list<std::pair<const char*, const char*>>;

// Every key must be read: a refused one fails the test that gave it.
inline design::DesignInput designWith(Keys keys, design::DesignInput base = {}) {
    std::vector<design::KeyValue> values;
    for (const auto& [key, text] : keys) values.push_back({key, text});
    design::KeyedDesign read = design::designFromKeys(values, DetectorCatalogue(), base);
    for (const design::KeyError& e : read.errors) ADD_FAILURE() << design::describe(e, ".");
    return read.input;
}

inline design::DesignInput with(Keys keys) {
    return designWith(keys);
}

// The outcome's error as the companion says it; "" without one.
inline std::string said(const design::DesignOutcome& o) {
    return o.error ? design::describe(*o.error, ".") : std::string();
}

// The results of a design that must be possible.
inline design::DesignResult result(const design::DesignInput& in) {
    const design::DesignOutcome o = design::evaluate(in);
    EXPECT_TRUE(o.result) << said(o);
    return o.result.value_or(design::DesignResult{});
}

// The instrument the calibration tests observe with: an IMX533 behind a
// Littrow 600 lines/mm, 3008 samples from about 5070 to 6920 Å, a V = 5 A0V star.
inline const Keys kObserving = {{"geometrie", "littrow"},  {"traits_mm", "600"},
                                {"lambda_a", "6000"},      {"detecteur", "IMX533"},
                                {"collimateur_mm", "100"}, {"objectif_mm", "100"},
                                {"mag_etoile", "5"}};

// The manual's spectroheliograph on a date: an 80 mm f/5 refractor,
// collimator 80 mm, objective 125 mm, 2400 lines/mm at 34° of deviation, a
// 10 µm × 4.5 mm slit and a 2.9 µm camera (1936 pixels along the slit), in Hα.
inline design::DesignInput sunBuild(const char* date, Keys more = {}) {
    const design::DesignInput in = with({{"source", "soleil"},
                                         {"date", date},
                                         {"raie", "halpha"},
                                         {"geometrie", "deviation"},
                                         {"deviation_deg", "34"},
                                         {"traits_mm", "2400"},
                                         {"diametre_mm", "80"},
                                         {"focale_mm", "400"},
                                         {"obstruction_pct", "0"},
                                         {"miroirs", "0"},
                                         {"collimateur_mm", "80"},
                                         {"objectif_mm", "125"},
                                         {"fente_um", "10"},
                                         {"fente_longueur_mm", "4.5"},
                                         {"detecteur", "IMX290"},
                                         {"pixels_fente", "1936"}});
    return designWith(more, in);
}

}  // namespace kelvora::testkeys
