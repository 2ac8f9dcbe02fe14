// The one table of labels that the window, the companion's help and the
// browser page read: complete, and used to name fields in messages.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"

namespace kelvora::design {
namespace {

TEST(DesignLabels, EveryKeyAndResultHasExactlyOneRow) {
    std::map<std::string, int> inputs;
    for (const InputRow& r : inputRows()) ++inputs[r.key];
    for (const std::string& key : inputKeys()) EXPECT_EQ(inputs[key], 1) << key;
    EXPECT_EQ(inputs.size(), inputKeys().size());

    std::map<std::string, int> results;
    for (const ResultRow& r : resultRows()) ++results[r.key];
    for (const ResultRow& r : verdictRows()) ++results[r.key];
    for (const char* name : resultNames(true)) EXPECT_EQ(results[name], 1) << name;
    EXPECT_EQ(results.size(), resultNames(true).size());

    for (const ResultRow& r : proposerRows()) EXPECT_TRUE(isProposerKey(r.key)) << r.key;
    const std::vector<const char*> names = resultNames(true);
    const std::set<std::string> named(names.begin(), names.end());
    for (const ResultRow& c : candidateColumns())
        EXPECT_TRUE(isInputKey(c.key) || named.count(c.key)) << c.key;
}

TEST(DesignLabels, MessagesNameTheFieldByItsLabel) {
    const struct {
        std::string error, shown;
    } cases[] = {
        {"valeur impossible : lambda_a = 0 (doit être > 0)",
         "valeur impossible : « Longueur d'onde (Å) » = 0 (doit être > 0)"},
        {"geometrie : « x » inconnue", "« Géométrie » : « x » inconnue"},
        {"xlambda_a = 0", "xlambda_a = 0"},      // part of another word
        {"inconnu_cle = 1", "inconnu_cle = 1"},  // not a key
        {"lambda_a vaut 0", "lambda_a vaut 0"},  // not followed by « = » or « : »
        {"Blambda_a = 0", "Blambda_a = 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(labelled(c.error), c.shown) << c.error;
    EXPECT_EQ(labelOf("snr_par"), "S/N visé");
    EXPECT_EQ(labelOf("pas_une_cle"), "pas_une_cle");
}

}  // namespace
}  // namespace kelvora::design
