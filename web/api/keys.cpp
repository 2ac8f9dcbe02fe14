#include "model/design/keys.h"
#include "io/designfile.h"
#include "model/design/labels.h"
#include "web/api/calls.h"

namespace kelvora::web {

const DetectorCatalogue& catalogue() {
    static const DetectorCatalogue c;
    return c;
}

std::string separatorOf(const Json& args) {
    const std::string sep = args.value("separateur", std::string("."));
    return sep == "," ? sep : ".";
}

KeyedJson readKeys(const Json& keys, const std::string& separator) {
    std::vector<design::KeyValue> values;
    for (const auto& [key, value] : keys.items())
        values.push_back({key, value.is_string() ? value.get<std::string>() : value.dump()});
    design::KeyedDesign read = design::designFromKeys(values, catalogue(), {}, separator);
    KeyedJson out{std::move(read.input), Json::object(), {}};
    for (const design::KeyError& e : read.errors) {
        const std::string said = design::describe(e, separator);
        out.errors[e.key] = said;
        if (out.first.empty()) out.first = said;
    }
    return out;
}

std::string readCalibrations(const Json& args, design::DesignInput& in) {
    const Json list = args.value("etalonnages", Json());
    if (list.is_null()) return {};
    return io::parseCalibrations(list.dump(), in.etalonnages);
}

Json calibrationsJson(const design::DesignInput& in) {
    return Json::parse(io::calibrationsJson(in.etalonnages));
}

}  // namespace kelvora::web
