// The .kelvora format itself, without Qt: the desktop, the companion and
// the browser edition read and write it with this one code.
#include <cmath>
#include <nlohmann/json.hpp>

#include "io/designfile.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"

namespace kelvora::io {

namespace {

using Json = nlohmann::json;

std::string unknownKey(const char* section, const std::string& key) {
    return std::string("clé inconnue « ") + key + " » dans « " + section + " »";
}

std::string readWindow(const Json& o, const DetectorCatalogue& catalogue, WindowState& w) {
    for (const auto& [key, value] : o.items()) {
        if (const auto c = inputByName(key)) {
            if (!value.is_string()) return "« " + key + " » doit être un texte";
            w.texts[indexOf(*c)] = value.get<std::string>();
        } else if (key == "detecteur") {
            if (value.is_null()) {
                w.detector.reset();
            } else if (!value.is_string() || !catalogue.find(value.get<std::string>())) {
                return "détecteur inconnu dans « fenetre »";
            } else {
                w.detector = value.get<std::string>();
            }
        } else if (key == "modele") {
            if (value != "barlow" && value != "fente")
                return "« modele » doit valoir « barlow » ou « fente »";
            w.barlow = value == "barlow";
        } else {
            return unknownKey("fenetre", key);
        }
    }
    return {};
}

std::string readDesign(const Json& o, const DetectorCatalogue& catalogue, design::DesignInput& in) {
    std::vector<design::KeyValue> keys;
    for (const auto& [key, value] : o.items()) {
        if (!design::isInputKey(key)) return unknownKey("conception", key);
        const bool word = design::isTextKey(key);
        if (word && !value.is_string()) return "« " + design::labelOf(key) + " » : texte attendu";
        if (!word && !value.is_number()) return "« " + design::labelOf(key) + " » : nombre attendu";
        keys.push_back(word ? design::KeyValue{key, value.get<std::string>()}
                            : design::KeyValue{key, {}, value.get<double>()});
    }
    design::KeyedDesign read = design::designFromKeys(keys, catalogue, in);
    if (!read.errors.empty()) return design::describe(read.errors.front(), ".");
    in = std::move(read.input);
    return {};
}

// « rendement_mesure »: {"date", "etoile", "fichier", "points": [[λ, η]…]}.
std::string readMeasured(const Json& o, design::MeasuredEfficiency& m) {
    const std::string bad = "« rendement_mesure » : ";
    if (!o.is_object() || !o.contains("points") || !o.at("points").is_array())
        return bad + "objet avec « points » attendu";
    const Json& points = o.at("points");
    if (points.size() < 2 || points.size() > 10000) return bad + "de 2 à 10000 points attendus";
    design::MeasuredEfficiency read;
    for (const Json& p : points) {
        if (!p.is_array() || p.size() != 2 || !p[0].is_number() || !p[1].is_number())
            return bad + "chaque point est [λ, rendement]";
        const double l = p[0].get<double>(), e = p[1].get<double>();
        if (!(l > 0) || !std::isfinite(l) || !(e > 0 && e <= 1))
            return bad + "λ > 0 et rendement entre 0 et 1 attendus";
        if (!read.points.empty() && !(l > read.points.back().first))
            return bad + "les longueurs d'onde doivent croître";
        read.points.emplace_back(l, e);
    }
    for (const auto& [key, field] : {std::pair{"date", &read.date}, std::pair{"etoile", &read.star},
                                     std::pair{"fichier", &read.file}}) {
        if (!o.contains(key)) continue;
        if (!o.at(key).is_string()) return bad + "« " + key + " » : texte attendu";
        *field = o.at(key).get<std::string>();
    }
    m = std::move(read);
    return {};
}

Json measuredJson(const design::MeasuredEfficiency& m) {
    Json points = Json::array();
    for (const auto& [l, e] : m.points) points.push_back({l, e});
    return {{"date", m.date}, {"etoile", m.star}, {"fichier", m.file}, {"points", points}};
}

std::string readSections(const Json& root, const DetectorCatalogue& catalogue, DesignFile& file) {
    for (const auto& [key, value] : root.items()) {
        std::string e;
        if (key == "format" || key == "version") continue;
        if (key == "fenetre" && value.is_object()) {
            e = readWindow(value, catalogue, file.window);
        } else if (key == "conception" && value.is_object()) {
            e = readDesign(value, catalogue, file.design);
            file.hasDesign = true;
        } else if (key == "rendement_mesure") {
            e = readMeasured(value, file.design.rendement_mesure);
        } else if (key == "fenetre" || key == "conception") {
            e = "« " + key + " » doit être un objet";
        } else {
            e = unknownKey("racine", key);
        }
        if (!e.empty()) return e;
    }
    return {};
}

}  // namespace

std::string parseMeasuredEfficiency(std::string_view json, design::MeasuredEfficiency& out) {
    try {
        return readMeasured(Json::parse(json.begin(), json.end()), out);
    } catch (const Json::exception&) {
        return "« rendement_mesure » : JSON invalide";
    }
}

std::string measuredEfficiencyJson(const design::MeasuredEfficiency& m) {
    return measuredJson(m).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string parseDesignFile(std::string_view bytes, const DetectorCatalogue& catalogue,
                            DesignFile& out) {
    Json root;
    try {
        root = Json::parse(bytes.begin(), bytes.end());
    } catch (const Json::parse_error& e) {
        return "JSON invalide (octet " + std::to_string(e.byte) + ")";
    } catch (const Json::out_of_range&) {
        // A number beyond the range of a double: nlohmann reports no position.
        return "JSON invalide (nombre hors limites)";
    }
    if (!root.is_object()) return "le fichier n'est pas un objet JSON";
    if (root.value("format", Json()) != "kelvora")
        return "ce n'est pas un fichier Kelvora (« format » n'est pas « kelvora »)";
    const Json version = root.value("version", Json());
    // Compared as a double first: converting a huge double to an integer is undefined.
    if (!version.is_number() || !(version.get<double>() >= 1) || version.get<double>() > 1e9 ||
        version.get<double>() != static_cast<double>(version.get<long long>()))
        return "version absente ou invalide";
    if (version.get<long long>() > kDesignFileVersion)
        return "version " + std::to_string(version.get<long long>()) +
               " : fichier écrit par une version plus récente de Kelvora";
    DesignFile file;
    // A key absent from an older file keeps the meaning it had then.
    if (version.get<long long>() < 2) file.design = design::legacyDefaults();
    if (std::string e = readSections(root, catalogue, file); !e.empty()) return e;
    out = std::move(file);
    return {};
}

std::string serializeDesignFile(const DesignFile& file) {
    Json window = Json::object();
    for (std::size_t i = 0; i < kInputCount; ++i)
        window[std::string(controlName(inputAt(i)))] = file.window.texts[i];
    window["detecteur"] = file.window.detector ? Json(*file.window.detector) : Json();
    window["modele"] = file.window.barlow ? "barlow" : "fente";
    Json root = {{"format", "kelvora"}, {"version", kDesignFileVersion}, {"fenetre", window}};
    if (file.hasDesign) {
        Json design = Json::object();
        for (const design::KeyRow& row : design::keyRows())
            design[row.key] = row.number ? Json(design::keyNumber(file.design, row))
                                         : Json(design::keyText(file.design, row.key));
        root["conception"] = design;
        if (!file.design.rendement_mesure.points.empty())
            root["rendement_mesure"] = measuredJson(file.design.rendement_mesure);
    }
    // Invalid UTF-8 typed in a field is kept as replacement characters, not refused.
    return root.dump(4, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace kelvora::io
