// Any keys, as the companion, a link or the page gives them (one "key=value"
// a line), read and evaluated: an answer within physical bounds or a French
// refusal, never a crash nor a hang; and the page's entry, asked the same
// keys, answers the same way.
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/design_invariants.h"
#include "web/api/api.h"

using namespace kelvora;

namespace {

std::vector<design::KeyValue> keysOf(std::string_view text) {
    std::vector<design::KeyValue> keys;
    while (!text.empty() && keys.size() < 96) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos)
            keys.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return keys;
}

void failWith(const std::string& why) {
    std::fprintf(stderr, "règle rompue : %s\n", why.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::vector<design::KeyValue> keys =
        keysOf(std::string_view(reinterpret_cast<const char*>(data), size));
    static const DetectorCatalogue sensors;
    const design::KeyedDesign read = design::designFromKeys(keys, sensors);
    for (const design::KeyError& e : read.errors)
        if (const std::string bad = invariants::badRefusal(e, ","); !bad.empty())
            failWith(bad);
    const design::DesignOutcome o = design::evaluate(read.input);
    if (const std::string bad = invariants::broken(read.input, o); !bad.empty()) failWith(bad);

    nlohmann::json asked = nlohmann::json::object();
    for (const design::KeyValue& k : keys) asked[k.key] = k.text;
    const std::string answer =
        web::call("design", nlohmann::json{{"cles", asked}}.dump(
                                -1, ' ', false, nlohmann::json::error_handler_t::replace));
    const auto page = nlohmann::json::parse(answer);
    if (!page.is_object() || (!page.contains("erreur") && !page.contains("nombres")))
        failWith("la page ne répond ni ne refuse");
    // Only where every key was valid UTF-8 does the page see the same keys.
    if (read.errors.empty() && o.result && page.contains("erreur") &&
        answer.find("\\ufffd") == std::string::npos)
        failWith("la page refuse ce que le modèle calcule : " + page["erreur"].get<std::string>());
    return 0;
}
