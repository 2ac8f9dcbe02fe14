#pragma once

// The page's calls, one per file by subject; see api.h.

#include <nlohmann/json.hpp>
#include <string>

#include "model/design/design.h"
#include "model/design/plots.h"
#include "model/detectors.h"

namespace kelvora::web {

using Json = nlohmann::json;

// The built-in sensors, the ones a page can choose.
const DetectorCatalogue& catalogue();
// The page's decimal separator, "." or ",", from a call's "separateur".
std::string separatorOf(const Json& args);
// A design from the defaults and the keys given ({key: text}), read as every
// face reads keys; each refused key's French message in `errors`.
struct KeyedJson {
    design::DesignInput input;
    Json errors;        // {key: message}
    std::string first;  // the first message; "" when every key is read
};
KeyedJson readKeys(const Json& keys, const std::string& separator);

// The « etalonnages » of a call, as design files write them, into `in`;
// "" or the French refusal. And the other way, [] without one.
std::string readCalibrations(const Json& args, design::DesignInput& in);
Json calibrationsJson(const design::DesignInput& in);

Json formSchema();
Json calculate(const Json& args);
Json readingNotes(const Json& args);

Json designSchema();
Json plotJson(const design::PlotDescription& plot, const std::string& separator);
Json evaluateDesign(const Json& args);
Json timeEvaluation(const Json& args);
Json proposeDesigns(const Json& args);
Json countProposals(const Json& args);

Json readFile(const Json& args);
Json calibrateSpectrum(const Json& args);
Json timeCalibration(const Json& args);
Json writeFile(const Json& args);

}  // namespace kelvora::web
