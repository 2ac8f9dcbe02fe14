#include "tools/calc_options.h"

#include <algorithm>

namespace kelvora::cli {

namespace {

std::vector<std::string>& valuesFor(CalcOptions& o, Control c) {
    auto it = std::find_if(o.fields.begin(), o.fields.end(),
                           [c](const auto& entry) { return entry.first == c; });
    if (it == o.fields.end()) {
        o.fields.push_back({c, {}});
        return o.fields.back().second;
    }
    return it->second;
}

std::string applyOption(CalcOptions& o, const std::string& name, const std::string& value) {
    if (name == "--detector") {
        auto d = detectorByCaption(value);
        if (!d) return "détecteur inconnu « " + value + " » (KAF-0400, KAF-1600 ou KAF-3200)";
        o.detectors.push_back(*d);
    } else if (name == "--model") {
        if (value != "barlow" && value != "fente")
            return "modèle inconnu « " + value + " » (barlow ou fente)";
        o.barlowModels.push_back(value == "barlow");
    } else if (name == "--decimal-separator") {
        if (value.empty()) return "séparateur décimal vide";
        o.separator = value;
    } else if (name == "--format") {
        if (value == "text")
            o.format = OutputFormat::Text;
        else if (value == "csv")
            o.format = OutputFormat::Csv;
        else if (value == "json")
            o.format = OutputFormat::Json;
        else
            return "format inconnu « " + value + " » (text, csv ou json)";
    } else {
        return "option inconnue « " + name + " »";
    }
    return {};
}

bool takesValue(const std::string& name) {
    return name == "--detector" || name == "--model" || name == "--decimal-separator" ||
           name == "--format";
}

}  // namespace

ParseResult parseArguments(const std::vector<std::string>& args) {
    ParseResult r;
    for (std::size_t i = 0; i < args.size() && r.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            r.options.help = true;
        } else if (arg == "--version") {
            r.options.version = true;
        } else if (arg.rfind("--", 0) == 0) {
            const auto eq = arg.find('=');
            const std::string name = arg.substr(0, eq);
            if (!takesValue(name)) {
                r.error = "option inconnue « " + name + " »";
            } else if (eq != std::string::npos) {
                r.error = applyOption(r.options, name, arg.substr(eq + 1));
            } else if (i + 1 < args.size()) {
                r.error = applyOption(r.options, name, args[++i]);
            } else {
                r.error = "valeur manquante après " + name;
            }
        } else {
            const auto eq = arg.find('=');
            const auto control =
                eq == std::string::npos ? std::nullopt : inputByName(arg.substr(0, eq));
            if (!control)
                r.error = "champ inconnu « " + arg.substr(0, eq) + " »";
            else
                valuesFor(r.options, *control).push_back(arg.substr(eq + 1));
        }
    }
    return r;
}

}  // namespace kelvora::cli
