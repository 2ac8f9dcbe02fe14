// Every face reads keys alike: for the same designs, the file reader, the
// companion and the model's own reader give the same results to the last
// digit, and each bad input the same French sentence. The page is held to
// the same table in web/tests/faces.test.js.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "io/designfile.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/shown.h"
#include "tests/support/faces.h"
#include "tools/calc_cli.h"

namespace kelvora::cli {
namespace {

using testkeys::Json;
using testkeys::Pairs;

Json resultsOf(const design::DesignInput& in) {
    const design::DesignOutcome o = design::evaluate(in);
    Json numbers = Json::object();
    if (!o.result) return numbers;
    for (const design::NamedResult& r : design::namedResults(*o.result, in.cible_snr > 0))
        if (r.cell.kind == design::ResultCell::Kind::Number && std::isfinite(r.cell.number))
            numbers[r.name] = r.cell.number;
    return numbers;
}

Json byModel(const Pairs& keys) {
    std::vector<design::KeyValue> values;
    for (const auto& [k, v] : keys) values.push_back({k, v});
    return resultsOf(design::designFromKeys(values, DetectorCatalogue()).input);
}

// A file holds numbers as numbers and words as texts.
std::string fileOf(const Pairs& keys) {
    Json design = Json::object();
    for (const auto& [k, v] : keys) {
        const auto number = design::strictNumber(v);
        design[k] = design::isTextKey(k) || !number ? Json(v) : Json(*number);
    }
    return Json{{"format", "kelvora"}, {"version", io::kDesignFileVersion}, {"conception", design}}
        .dump();
}

Json byFile(const Pairs& keys, std::string& error) {
    io::DesignFile file;
    error = io::parseDesignFile(fileOf(keys), DetectorCatalogue(), file);
    return error.empty() ? resultsOf(file.design) : Json::object();
}

Json byCompanion(const Pairs& keys, std::string& err) {
    std::vector<std::string> args{"conception", "--format", "json"};
    for (const auto& [k, v] : keys) args.push_back(k + "=" + v);
    std::ostringstream out, errors;
    runCalc(args, ".", DetectorCatalogue(), out, errors);
    err = errors.str();
    if (out.str().empty()) return Json::object();
    const Json rows = Json::parse(out.str());  // held: items() refers to it
    // An impossible instrument is said in its row's « erreur », a usage error on stderr.
    if (rows[0].value("erreur", Json()).is_string()) err += rows[0]["erreur"].get<std::string>();
    Json numbers = Json::object();
    const std::vector<const char*> results = design::resultNames(true, true);
    for (const auto& [name, value] : rows[0].items())
        if (value.is_number() &&
            std::find(results.begin(), results.end(), std::string_view(name)) != results.end())
            numbers[name] = value;
    return numbers;
}

TEST(Faces, TheSameDesignGivesTheSameResultsEverywhere) {
    for (const Pairs& keys : testkeys::facesDesigns()) {
        const std::string what = fileOf(keys);
        const Json expected = byModel(keys);
        ASSERT_FALSE(expected.empty()) << what;
        std::string error;
        EXPECT_EQ(byFile(keys, error), expected) << what << error;
        EXPECT_EQ(byCompanion(keys, error), expected) << what << error;
    }
}

// The page's link starting from the defaults and a sensor alone: IMX533's
// pixel (3.76 µm) at 300 lines/mm, normal incidence, a 50 mm camera:
// cos β / (N f) per mm of sensor.
TEST(Faces, ASensorNamedAloneBringsItsPixels) {
    const Json r = byModel({{"detecteur", "IMX533"}});
    EXPECT_NEAR(r["dispersion_a_px"].get<double>(),
                std::cos(std::asin(300 * 5500e-7)) / (300 * 50.0) * 1e7 * 3.76e-3, 1e-12);
    EXPECT_EQ(design::shownResult(r["dispersion_a_px"].get<double>(), ","), "2,4723");
}

TEST(Faces, EachBadInputIsSaidAlike) {
    const Json table = testkeys::facesTable();  // held: the loop refers into it
    for (const Json& bad : table["bad"]) {
        const Pairs keys{{bad["key"], bad["text"]}};
        const std::string said = bad["said"];
        std::string err;
        byCompanion(keys, err);
        EXPECT_NE(err.find(said), std::string::npos) << err;
        const bool typed = design::isTextKey(keys[0].first) ||
                           design::strictNumber(keys[0].second) ||
                           !design::isInputKey(keys[0].first);
        if (!typed) continue;  // a file holds a number key as a number: another mistake
        std::string fileError;
        const Json results = byFile(keys, fileError);
        if (bad.value("computed", false)) {
            EXPECT_TRUE(results.empty());
            io::DesignFile file;
            ASSERT_EQ(io::parseDesignFile(fileOf(keys), DetectorCatalogue(), file), "");
            EXPECT_EQ(design::describe(*design::evaluate(file.design).error, "."), said);
        } else {
            EXPECT_EQ(fileError.rfind(said, 0), 0u) << fileError;
        }
    }
}

}  // namespace
}  // namespace kelvora::cli
