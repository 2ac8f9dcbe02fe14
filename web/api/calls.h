#pragma once

// The page's calls, one per file by subject; see api.h.

#include <nlohmann/json.hpp>
#include <string>

#include "model/design/design.h"
#include "model/detectors.h"

namespace kelvora::web {

using Json = nlohmann::json;

// The built-in sensors, the ones a page can choose.
const DetectorCatalogue& catalogue();
// Sets design keys from their texts, the sensor first so that the keys
// typed after it override its values. The first error, each key's error in
// `errors`, all with the fields' labels; "" when every key is set.
std::string applyKeys(design::DesignInput& in, const Json& keys, Json& errors);

Json formSchema();
Json calculate(const Json& args);

Json designSchema();
Json evaluateDesign(const Json& args);
Json sensorValues(const Json& args);
Json timeEvaluation(const Json& args);
Json proposeDesigns(const Json& args);

Json readFile(const Json& args);
Json writeFile(const Json& args);

}  // namespace kelvora::web
