// The .kelvora format itself, without Qt: the desktop, the companion and
// the browser edition read and write it with this one code.
#include <cmath>
#include <nlohmann/json.hpp>

#include "io/designfile.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/shown.h"

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

// [[λ, y]…], λ increasing, each y accepted by `fits`.
std::string readPoints(const Json& points, const std::string& bad, bool (*fits)(double),
                       const char* need, design::Curve& out) {
    if (!points.is_array() || points.size() < 2 || points.size() > 10000)
        return bad + "de 2 à 10000 points attendus";
    for (const Json& p : points) {
        if (!p.is_array() || p.size() != 2 || !p[0].is_number() || !p[1].is_number())
            return bad + "chaque point est [λ, valeur]";
        const double l = p[0].get<double>(), v = p[1].get<double>();
        if (!(l > 0) || !std::isfinite(l) || !fits(v)) return bad + need;
        if (!out.empty() && !(l > out.back().first))
            return bad + "les longueurs d'onde doivent croître";
        out.emplace_back(l, v);
    }
    return {};
}

std::string readTexts(const Json& o, const std::string& bad,
                      std::initializer_list<std::pair<const char*, std::string*>> fields) {
    for (const auto& [key, field] : fields) {
        if (!o.contains(key)) continue;
        if (!o.at(key).is_string()) return bad + "« " + key + " » : texte attendu";
        *field = o.at(key).get<std::string>();
    }
    return {};
}

bool positiveRatio(double v) {
    return v > 0 && std::isfinite(v);
}

bool efficiency(double v) {
    return v > 0 && v <= 1;
}

// The instrument a calibration measured: its keys as the design's section
// writes them. The sensor by its name alone: it may be one this machine's
// catalogue lacks.
std::string readInstrument(const Json& o, design::CalibratedWith& out) {
    const std::string bad = "« etalonnages » : instrument : ";
    design::CalibratedWith read;
    for (const auto& [key, value] : o.items()) {
        const design::KeyRow* row = design::findKey(key);
        if (!row || !row->instrument) return bad + "clé inconnue « " + key + " »";
        const bool word = design::isTextKey(key);
        if (word ? !value.is_string() : !value.is_number())
            return bad + "« " + design::labelOf(key) +
                   " » : " + (word ? "texte attendu" : "nombre attendu");
        read.keys[key] =
            word ? value.get<std::string>() : design::keyValueText({key, {}, value.get<double>()});
    }
    out = std::move(read);
    return {};
}

Json instrumentJson(const design::CalibratedWith& w) {
    Json out = Json::object();
    for (const auto& [key, text] : w.keys) {
        const auto number = design::isTextKey(key) ? std::nullopt : design::strictNumber(text);
        out[key] = number ? Json(*number) : Json(text);
    }
    return out;
}

// One of « etalonnages »: {"date", "etoile", "fichier", "snr", "instrument", "points": [[λ, r]…]}.
std::string readCalibration(const Json& o, design::MeasuredRatio& m) {
    const std::string bad = "« etalonnages » : ";
    if (!o.is_object() || !o.contains("points")) return bad + "objet avec « points » attendu";
    design::MeasuredRatio read;
    std::string e = readPoints(o.at("points"), bad, positiveRatio, "λ > 0 et rapport > 0 attendus",
                               read.points);
    if (e.empty())
        e = readTexts(o, bad,
                      {{"date", &read.date}, {"etoile", &read.star}, {"fichier", &read.file}});
    if (!e.empty()) return e;
    const Json snr = o.value("snr", Json(0));
    if (!snr.is_number() || !(snr.get<double>() >= 0) || !std::isfinite(snr.get<double>()))
        return bad + "« snr » : nombre ≥ 0 attendu";
    read.snr = snr.get<double>();
    if (o.contains("instrument")) {
        if (!o.at("instrument").is_object()) return bad + "« instrument » : objet attendu";
        if (e = readInstrument(o.at("instrument"), read.instrument); !e.empty()) return e;
    }
    m = std::move(read);
    return {};
}

// A file's calibrations: one that cannot be read is set aside with a note,
// so that the design opens and can be repaired.
std::string readFileCalibrations(const Json& list, std::vector<design::MeasuredRatio>& out,
                                 std::vector<std::string>& notes) {
    if (!list.is_array() || list.size() > 1000)
        return "« etalonnages » : liste d'au plus 1000 étalonnages attendue";
    out.clear();
    for (std::size_t i = 0; i < list.size(); ++i) {
        design::MeasuredRatio m;
        if (const std::string e = readCalibration(list[i], m); !e.empty())
            notes.push_back("étalonnage n° " + std::to_string(i + 1) + " mis de côté : " + e);
        else
            out.push_back(std::move(m));
    }
    return {};
}

std::string readCalibrations(const Json& list, std::vector<design::MeasuredRatio>& out) {
    if (!list.is_array() || list.size() > 1000)
        return "« etalonnages » : liste d'au plus 1000 étalonnages attendue";
    std::vector<design::MeasuredRatio> read(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        if (const std::string e = readCalibration(list[i], read[i]); !e.empty()) return e;
    out = std::move(read);
    return {};
}

Json calibrationsAsJson(const std::vector<design::MeasuredRatio>& list) {
    Json out = Json::array();
    for (const design::MeasuredRatio& m : list) {
        Json points = Json::array();
        for (const auto& [l, r] : m.points) points.push_back({l, r});
        out.push_back({{"date", m.date},
                       {"etoile", m.star},
                       {"fichier", m.file},
                       {"snr", m.snr},
                       {"instrument", instrumentJson(m.instrument)},
                       {"points", points}});
    }
    return out;
}

// Version 2's « rendement_mesure »: the efficiency itself, {"date",
// "etoile", "fichier", "points": [[λ, η]…]}, made a ratio to the chain the
// file's design assumes.
std::string convertMeasured(const Json& o, design::DesignInput& in) {
    const std::string bad = "« rendement_mesure » : ";
    if (!o.is_object() || !o.contains("points")) return bad + "objet avec « points » attendu";
    design::MeasuredRatio m;
    design::Curve efficiencies;
    std::string e = readPoints(o.at("points"), bad, efficiency,
                               "λ > 0 et rendement entre 0 et 1 attendus", efficiencies);
    if (e.empty())
        e = readTexts(o, bad, {{"date", &m.date}, {"etoile", &m.star}, {"fichier", &m.file}});
    if (!e.empty()) return e;
    design::DesignInput assumed = in;
    assumed.etalonnages = {};
    const design::DesignOutcome outcome = design::evaluate(assumed);
    if (!outcome.result) return bad + "la conception est impossible : rendement non converti";
    for (const auto& [l, eta] : efficiencies) {
        const double a = design::assumedInstrumentAt(assumed, outcome, l);
        if (a > 0 && std::isfinite(a)) m.points.emplace_back(l, eta / a);
    }
    if (m.points.size() < 2)
        return bad + "hors du domaine de la conception : rendement non converti";
    m.instrument = design::calibratedWith(assumed);
    in.etalonnages.push_back(std::move(m));
    return {};
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
        } else if (key == "etalonnages") {
            e = readFileCalibrations(value, file.design.etalonnages, file.notes);
        } else if (key == "rendement_mesure") {
            continue;  // version 2's, converted once the design is read
        } else if (key == "fenetre" || key == "conception") {
            e = "« " + key + " » doit être un objet";
        } else {
            e = unknownKey("racine", key);
        }
        if (!e.empty()) return e;
    }
    if (root.contains("rendement_mesure"))
        return convertMeasured(root.at("rendement_mesure"), file.design);
    return {};
}

// A saved ratio times the chain the design assumes is the efficiency it
// measured: one outside 0.01 %–100 % anywhere is no measurement of this
// instrument (a damaged or hand-edited file), and is set aside.
void setAsideImplausible(DesignFile& file) {
    design::DesignInput assumed = file.design;
    assumed.etalonnages.clear();
    const design::DesignOutcome o = design::evaluate(assumed);
    if (!o.result) return;  // nothing to check against: kept as written
    std::vector<design::MeasuredRatio> kept;
    for (std::size_t i = 0; i < file.design.etalonnages.size(); ++i) {
        const design::MeasuredRatio& m = file.design.etalonnages[i];
        std::string why;
        for (const auto& [l, ratio] : m.points) {
            const double a = design::assumedInstrumentAt(assumed, o, l), eta = ratio * a;
            if (a > 0 && !(eta >= 1e-4 && eta <= 1)) {
                why = "rendement de " + design::shownNumber(100 * eta, 3, ".") + " % à " +
                      design::shownNumber(l, 6, ".") + " Å, hors de 0,01 % à 100 %";
                break;
            }
        }
        if (why.empty())
            kept.push_back(m);
        else
            file.notes.push_back("étalonnage n° " + std::to_string(i + 1) + " (" + m.date + ", " +
                                 m.star + ") mis de côté : " + why);
    }
    file.design.etalonnages = std::move(kept);
}

// Before version 4 the dark current was used as written at every
// temperature and no converter capped the well: a sensor chosen in such a
// file brings neither.
void keepOlderCamera(const Json& root, design::DesignInput& in) {
    const Json conception = root.value("conception", Json::object());
    if (!conception.is_object()) return;
    if (!conception.contains("doublement_obscurite_c")) in.doublement_obscurite_c = 0;
    if (!conception.contains("bits_adc")) in.bits_adc = 0;
}

}  // namespace

std::string parseCalibrations(std::string_view json, std::vector<design::MeasuredRatio>& out) {
    try {
        const Json list = Json::parse(json.begin(), json.end());
        return list.is_null() ? (out.clear(), std::string()) : readCalibrations(list, out);
    } catch (const Json::exception&) {
        return "« etalonnages » : JSON invalide";
    }
}

std::string calibrationsJson(const std::vector<design::MeasuredRatio>& list) {
    return calibrationsAsJson(list).dump(-1, ' ', false, Json::error_handler_t::replace);
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
    if (version.get<long long>() < 4) keepOlderCamera(root, file.design);
    setAsideImplausible(file);
    out = std::move(file);
    return {};
}

bool isDesignFile(std::string_view bytes) {
    const Json root = Json::parse(bytes.begin(), bytes.end(), nullptr, false);
    return root.is_object() && root.value("format", Json()) == "kelvora";
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
        if (!file.design.etalonnages.empty())
            root["etalonnages"] = calibrationsAsJson(file.design.etalonnages);
    }
    // Invalid UTF-8 typed in a field is kept as replacement characters, not refused.
    return root.dump(4, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace kelvora::io
