#include "model/design/keys.h"
#include "model/design/labels.h"
#include "web/api/calls.h"

namespace kelvora::web {

const DetectorCatalogue& catalogue() {
    static const DetectorCatalogue c;
    return c;
}

std::string applyKeys(design::DesignInput& in, const Json& keys, Json& errors) {
    std::string first;
    auto set = [&](const std::string& key, const Json& value) {
        const std::string e = design::setKey(in, key, value.get<std::string>(), catalogue());
        if (e.empty()) return;
        errors[key] = design::labelled(e);
        if (first.empty()) first = design::labelled(e);
    };
    if (keys.contains("detecteur")) set("detecteur", keys.at("detecteur"));
    for (const auto& [key, value] : keys.items())
        if (key != "detecteur") set(key, value);
    return first;
}

}  // namespace kelvora::web
