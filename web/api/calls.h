#pragma once

// The page's calls, one per file by subject; see api.h.

#include <nlohmann/json.hpp>

namespace kelvora::web {

using Json = nlohmann::json;

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
