#include "io/designfile.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "web/api/calls.h"

namespace kelvora::web {

// {"texte": the file's bytes} → {"fenetre": {...}, "cles": design keys or
// null}; or {"erreur": the French problem}.
Json readFile(const Json& args) {
    io::DesignFile file;
    const std::string e =
        io::parseDesignFile(args.at("texte").get<std::string>(), catalogue(), file);
    if (!e.empty()) return {{"erreur", e}};
    Json texts = Json::object();
    for (std::size_t i = 0; i < kInputCount; ++i)
        texts[std::string(controlName(inputAt(i)))] = file.window.texts[i];
    Json keys;
    if (file.hasDesign) {
        keys = Json::object();
        for (const std::string& key : design::inputKeys())
            keys[key] = design::keyText(file.design, key);
    }
    return {{"fenetre",
             {{"textes", texts},
              {"capteur", file.window.detector ? Json(*file.window.detector) : Json()},
              {"barlow", file.window.barlow}}},
            {"cles", keys},
            {"etalonnages", calibrationsJson(file.design)},
            {"notes", file.notes}};
}

// The page's state in the shape readFile answers → {"texte": the file}.
Json writeFile(const Json& args) {
    io::DesignFile file;
    const Json& window = args.at("fenetre");
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const std::string name(controlName(inputAt(i)));
        if (window.at("textes").contains(name))
            file.window.texts[i] = window.at("textes").at(name).get<std::string>();
    }
    const Json& sensor = window.at("capteur");
    file.window.detector =
        sensor.is_null() ? std::nullopt : std::optional<std::string>(sensor.get<std::string>());
    file.window.barlow = window.value("barlow", true);
    const Json& keys = args.at("cles");
    if (!keys.is_null()) {
        file.hasDesign = true;
        KeyedJson read = readKeys(keys, ".");
        if (!read.first.empty()) return {{"erreur", read.first}};
        if (const std::string e = readCalibrations(args, read.input); !e.empty())
            return {{"erreur", e}};
        file.design = std::move(read.input);
    }
    return {{"texte", io::serializeDesignFile(file)}};
}

}  // namespace kelvora::web
