// The one table of labels that the window, the companion's help and the
// browser page read: complete, and used to name fields in messages.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"

namespace kelvora::design {
namespace {

TEST(DesignLabels, EveryKeyAndResultHasExactlyOneRow) {
    std::map<std::string, int> inputs;
    for (const KeyRow& r : keyRows()) ++inputs[r.key];
    for (const auto& [key, count] : inputs) EXPECT_EQ(count, 1) << key;
    for (const KeyRow& r : keyRows()) {  // every row is complete for its kind
        const bool number = r.kind == KeyKind::Number || r.kind == KeyKind::Whole;
        EXPECT_EQ(r.number != nullptr, number) << r.key;
        EXPECT_EQ(r.flag != nullptr, r.kind == KeyKind::Choice) << r.key;
        EXPECT_NE(r.geometries, 0u) << r.key;
    }

    std::map<std::string, int> results;
    for (const ResultRow& r : resultRows()) ++results[r.key];
    for (const ResultRow& r : verdictRows()) ++results[r.key];
    for (const char* name : resultNames(true, true)) EXPECT_EQ(results[name], 1) << name;
    EXPECT_EQ(results.size(), resultNames(true, true).size());

    for (const ResultRow& r : proposerRows()) EXPECT_TRUE(isProposerKey(r.key)) << r.key;
    const std::vector<const char*> names = resultNames(true, true);
    const std::set<std::string> named(names.begin(), names.end());
    for (const ResultRow& c : candidateColumns())
        EXPECT_TRUE(isInputKey(c.key) || named.count(c.key)) << c.key;
}

// Labels with their units, as the window, the page and the help show them.
TEST(DesignLabels, LabelsCarryTheirUnits) {
    const std::pair<const char*, const char*> cases[] = {
        {"diametre_mm", "Diamètre (mm)"},
        {"seeing_arcsec", "Seeing (\")"},
        {"fente_um", "Fente (µm, 0 : sans)"},
        {"cible_snr", "S/N cible (0 : sans)"},
        {"snr_par", "S/N visé"},
        {"ordre", "Ordre"},
        {"pas_une_cle", "pas_une_cle"},
        {"largeur_reseau_mm", "Largeur gravée du réseau (mm)"},
    };
    for (const auto& [key, label] : cases) EXPECT_EQ(labelOf(key), label);
    EXPECT_EQ(fullLabel(*findKey("geometrie"), true), "&Géométrie");
}

// Which fields a geometry uses: the page and the window disable the others.
TEST(DesignLabels, GeometriesUseTheirOwnFields) {
    auto uses = [](const char* key, Geometry g) { return appliesTo(*findKey(key), g); };
    EXPECT_TRUE(uses("incidence_deg", Geometry::Incidence));
    EXPECT_FALSE(uses("incidence_deg", Geometry::Littrow));
    EXPECT_FALSE(uses("deviation_deg", Geometry::Littrow));
    EXPECT_TRUE(uses("ordre0_px", Geometry::Convergent));
    EXPECT_FALSE(uses("fente_um", Geometry::Convergent));
    EXPECT_TRUE(uses("lambda_a", Geometry::Convergent));
}

}  // namespace
}  // namespace kelvora::design

namespace kelvora::design {
namespace {

// What the user typed is quoted to 40 characters at most: a huge value or
// key never makes a huge message.
TEST(DesignLabels, ATypedTextIsQuotedToFortyCharacters) {
    const std::string huge(100000, '7'), name = "é" + std::string(50, 'x');
    struct Case {
        KeyValue value;
        std::string said;
    };
    const Case cases[] = {
        {{"diametre_mm", huge + "x"},
         "« Diamètre (mm) » : « " + std::string(40, '7') + "… » n'est pas un nombre"},
        {{name, "1"}, "clé inconnue « é" + std::string(39, 'x') + "… »"},
        {{"diametre_mm", "2x"}, "« Diamètre (mm) » : « 2x » n'est pas un nombre"},
    };
    for (const Case& c : cases) {
        const std::vector<KeyValue> values{c.value};
        const KeyedDesign read = designFromKeys(values, DetectorCatalogue(), {});
        ASSERT_EQ(read.errors.size(), 1u);
        EXPECT_EQ(describe(read.errors[0], ",").rfind(c.said, 0), 0u)
            << describe(read.errors[0], ",");
    }
}

}  // namespace
}  // namespace kelvora::design
