#include <fmt/format.h>
#include <chrono>
#include <cmath>

#include "model/design/curves.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/lines.h"
#include "model/design/proposer.h"
#include "web/api/calls.h"

namespace kelvora::web {

namespace {

// As the desktop shows a result: 5 significant digits; "—" where none applies.
std::string shown(double v) {
    return std::isfinite(v) ? fmt::format("{:.5g}", v) : "—";
}

Json cellText(const design::ResultCell& c) {
    switch (c.kind) {
        case design::ResultCell::Kind::Number:
            return shown(c.number);
        case design::ResultCell::Kind::Text:
            return c.text;
        case design::ResultCell::Kind::Flag:
            return c.flag ? "oui" : "non";
    }
    return "";
}

Json inputRows() {
    const design::DesignInput defaults;
    Json rows = Json::array();
    for (const design::InputRow& r : design::inputRows()) {
        Json choices = Json::array();
        for (const design::WordChoice& w : design::wordChoices())
            if (std::string_view(r.key) == w.key)
                for (int i = 0; i < 2; ++i) choices.push_back({w.words[i], w.captions[i]});
        rows.push_back({{"groupe", r.group ? Json(r.group) : Json()},
                        {"cle", r.key},
                        {"libelle", design::labelOf(r.key)},
                        {"aide", design::hintOf(r.key)},
                        {"defaut", design::keyText(defaults, r.key)},
                        {"choix", choices}});
    }
    return rows;
}

Json curve(const design::Curve& c) {
    Json xs = Json::array(), ys = Json::array();
    for (const auto& [x, y] : c) {
        xs.push_back(x);
        ys.push_back(std::isfinite(y) ? Json(y) : Json());
    }
    return {xs, ys};
}

Json spectrumRows(const design::DesignInput& in) {
    Json rows = Json::array();
    for (const design::SpectralPoint& p : design::spectrum(in, 60))
        rows.push_back({p.lambda_a, p.atmosphere, p.telescope, p.reseau, p.qe, p.fente, p.rendement,
                        p.signal_e_s_a, p.snr, p.snr_element});
    return rows;
}

Json linesReport(const design::DesignInput& in) {
    const design::LineReport r = design::linesOnSensor(in, design::builtInLines());
    Json lines = Json::array(), pairs = Json::array(), lamps = Json::array();
    for (const design::LineOnSensor& l : r.lines)
        lines.push_back({{"nom", l.line->name},
                         {"lambda_a", l.line->lambda_a},
                         {"genre", l.line->kind},
                         {"pixel", l.pixel}});
    for (const design::PairVerdict& p : r.pairs)
        pairs.push_back({{"nom", p.pair->name},
                         {"separation_a", shown(p.separation_a)},
                         {"element_a", shown(p.element_a)},
                         {"verdict", design::verdictText(p)}});
    for (const design::LampCount& l : r.lamps)
        lamps.push_back({{"lampe", l.kind}, {"raies", l.lines}});
    return {{"raies", lines}, {"paires", pairs}, {"lampes", lamps}};
}

Json rows(std::span<const design::ResultRow> table) {
    Json out = Json::array();
    for (const design::ResultRow& r : table)
        out.push_back({{"cle", r.key}, {"libelle", design::withoutMnemonic(r.label)}});
    return out;
}

Json proposerFields() {
    const design::ProposerRequest defaults;
    Json out = rows(design::proposerRows());
    for (Json& row : out)
        row["defaut"] = design::proposerKeyText(defaults, row["cle"].get<std::string>());
    return out;
}

}  // namespace

Json designSchema() {
    Json results = rows(design::resultRows()), verdicts = rows(design::verdictRows());
    Json geometries = Json::array();
    for (int g = 0; g <= static_cast<int>(design::Geometry::Convergent); ++g) {
        const auto geometry = static_cast<design::Geometry>(g);
        geometries.push_back({design::geometryName(geometry), design::geometryCaption(geometry)});
    }
    Json sensors = Json::array();
    for (const DetectorModel& d : catalogue().rows()) sensors.push_back(d.caption);
    return {{"entrees", inputRows()},
            {"resultats", results},
            {"verdicts", verdicts},
            {"proposeur", proposerFields()},
            {"colonnes", rows(design::candidateColumns())},
            {"geometries", geometries},
            {"capteurs", sensors}};
}

// {"cles": {key: text}} → the results as shown, the spectrum, the plots'
// curves and the lines; or the errors, each with the field's label.
Json evaluateDesign(const Json& args) {
    design::DesignInput in;
    Json errors = Json::object();
    const std::string keyError = applyKeys(in, args.at("cles"), errors);
    if (!keyError.empty()) return {{"erreur", keyError}, {"erreurs", errors}};
    const design::DesignOutcome outcome = design::evaluate(in);
    if (!outcome.result) return {{"erreur", design::labelled(outcome.error)}, {"erreurs", errors}};
    const bool target = in.cible_snr > 0;
    Json results = Json::object();
    for (const design::NamedResult& r : design::namedResults(*outcome.result, target))
        results[r.name] = cellText(r.cell);
    return {{"resultats", results},
            {"spectre", spectrumRows(in)},
            {"snr_pose", curve(design::snrAgainstExposure(in))},
            {"raies", linesReport(in)}};
}

// {"cles": …, "fois": N} → the time of one evaluation of the design, in
// nanoseconds, averaged over N: the benchmark's figure beside the native one.
Json timeEvaluation(const Json& args) {
    design::DesignInput in;
    Json errors = Json::object();
    if (const std::string e = applyKeys(in, args.value("cles", Json::object()), errors); !e.empty())
        return {{"erreur", e}};
    const int times = args.value("fois", 100000);
    double sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < times; ++i) sink += design::evaluate(in).result->resolution;
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return {{"ns", spent.count() / times}, {"controle", sink}};  // the sum keeps the loop
}

// {"detecteur": name} → every key's text once the sensor is chosen.
Json sensorValues(const Json& args) {
    design::DesignInput in;
    const std::string e =
        design::setKey(in, "detecteur", args.at("detecteur").get<std::string>(), catalogue());
    if (!e.empty()) return {{"erreur", design::labelled(e)}};
    Json keys = Json::object();
    for (const std::string& key : design::inputKeys()) keys[key] = design::keyText(in, key);
    return {{"cles", keys}};
}

}  // namespace kelvora::web
