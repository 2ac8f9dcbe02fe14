// The page's entry, built natively: its one bound on a spectrum is exact in
// bytes, whatever base64 adds; any call leaves it able to answer the next.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "model/design/calibration.h"
#include "web/api/api.h"

namespace kelvora::web {
namespace {

// base64 of n zero bytes: 4 characters for every 3 bytes, '=' for the rest.
std::string zeros(std::size_t n) {
    std::string text((n + 2) / 3 * 4, 'A');
    if (n % 3 == 1) text.replace(text.size() - 2, 2, "==");
    if (n % 3 == 2) text.back() = '=';
    return text;
}

std::string answerTo(std::size_t bytes) {
    const nlohmann::json args = {
        {"cles", nlohmann::json::object()}, {"nom", "zeros.fits"}, {"octets", zeros(bytes)}};
    return nlohmann::json::parse(call("etalonner", args.dump())).value("erreur", "");
}

TEST(PageEntry, TheSpectrumBoundIsExactInBytes) {
    const std::size_t limit = design::kMaxSpectrumBytes;  // 2²⁵
    for (std::size_t n : {limit - 1, limit}) {
        const std::string said = answerTo(n);
        EXPECT_EQ(said.find("trop grand"), std::string::npos) << n << " : " << said;
        EXPECT_NE(said, "") << "zeros are no spectrum";
    }
    EXPECT_NE(answerTo(limit + 1).find("trop grand"), std::string::npos);
    // And it answers the next call.
    const auto design = nlohmann::json::parse(call("design", R"({"cles": {}})"));
    EXPECT_TRUE(design.contains("nombres"));
}

// A file whose calibration is damaged opens in the page too, saying so.
TEST(PageEntry, ADamagedCalibrationIsSaidAndTheFileOpens) {
    const std::string file = R"({"format": "kelvora", "version": 4, "conception": {},
        "etalonnages": [{"points": [[5000, 1e9], [6000, 1e9]]}]})";
    const auto answer =
        nlohmann::json::parse(call("readFile", nlohmann::json{{"texte", file}}.dump()));
    ASSERT_FALSE(answer.contains("erreur")) << answer.dump();
    ASSERT_EQ(answer["notes"].size(), 1u);
    EXPECT_EQ(answer["etalonnages"].size(), 0u);
}

}  // namespace
}  // namespace kelvora::web
