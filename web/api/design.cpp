#include <chrono>
#include <cmath>

#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/lines.h"
#include "model/design/measured.h"
#include "model/design/plots.h"
#include "model/design/proposer.h"
#include "model/design/shown.h"
#include "model/design/sunfigures.h"
#include "web/api/calls.h"

namespace kelvora::web {

namespace {

Json inputRows() {
    const design::DesignInput defaults;
    Json rows = Json::array();
    for (const design::KeyRow& r : design::keyRows()) {
        Json choices = Json::array(), geometries = Json::array();
        if (r.kind == design::KeyKind::Choice)
            for (int i = 0; i < 2; ++i) choices.push_back({r.words[i], r.captions[i]});
        else if (r.choices)
            for (const auto& [word, caption] : r.choices()) choices.push_back({word, caption});
        for (int g = 0; g < design::kGeometryCount; ++g)
            if (design::appliesTo(r, design::Geometry(g)))
                geometries.push_back(design::geometryName(design::Geometry(g)));
        rows.push_back({{"groupe", r.group ? Json(r.group) : Json()},
                        {"cle", r.key},
                        {"libelle", design::fullLabel(r)},
                        {"aide", r.hint},
                        {"defaut", design::keyText(defaults, r.key)},
                        {"choix", choices},
                        {"capteur", r.fromSensor},
                        {"soleil", r.sunOnly},
                        {"etoile", r.starOnly},
                        {"geometries", geometries}});
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

Json mark(const design::PlotMark& m) {
    return {{"x", m.x},       {"y", m.y},       {"nom", m.name},
            {"lx", m.labelX}, {"ly", m.labelY}, {"ecrit", m.labelShown}};
}

Json table(const design::PlotDescription& p, const std::string& sep) {
    const design::PlotTable t = design::plotTable(p, sep, 20);
    return {{"colonnes", t.headers}, {"lignes", t.rows}};
}

Json marks(const std::vector<design::PlotMark>& list) {
    Json out = Json::array();
    for (const design::PlotMark& m : list) out.push_back(mark(m));
    return out;
}

}  // namespace

// A plot as the page draws it: the model's description, every number as a number.
Json plotJson(const design::PlotDescription& p, const std::string& sep) {
    Json curves = Json::array();
    for (const auto& [name, points] : p.curves)
        curves.push_back({{"nom", name}, {"points", curve(points)}});
    return {{"id", p.id},
            {"titre", p.title},
            {"x", p.xTitle},
            {"y", p.yTitle},
            {"entier", p.wholeX},
            {"courbes", curves},
            {"total", p.lastIsTotal},
            {"niveau", p.level ? Json(*p.level) : Json()},
            {"nomNiveau", p.levelName},
            {"point", p.mark ? mark(*p.mark) : Json()},
            {"etiquettes", marks(p.labels)},
            {"traits", marks(p.lineMarks)},
            {"tableau", table(p, sep)}};
}

namespace {

// The model's description of each plot the design shows, as the page
// draws it; for the Sun, its drawing too.
void addPlots(Json& answer, const design::DesignInput& in, const design::DesignOutcome& outcome,
              const design::LineReport& lines, const std::string& sep, design::PlotArea area) {
    const auto all = design::describePlots(in, outcome, lines, area);
    const auto sun = design::describeSun(in, outcome, sep, area);
    Json out = Json::array();
    for (const design::PlotDescription* p : design::shownPlots(all, sun))
        out.push_back(plotJson(*p, sep));
    answer["graphiques"] = out;
    if (sun) answer["dessin"] = {{"svg", sun->drawing}, {"titre", sun->drawingTitle}};
}

Json linesReport(const design::LineReport& r, const std::string& sep) {
    Json lines = Json::array(), pairs = Json::array(), lamps = Json::array();
    for (const design::LineOnSensor& l : r.lines)
        lines.push_back({{"nom", l.line->name},
                         {"lambda_a", l.line->lambda_a},
                         {"lambda", design::shownValue(l.line->lambda_a, sep)},
                         {"genre", l.line->kind},
                         {"marquee", design::markedOnPlots(*l.line)},
                         {"pixel", design::shownResult(l.pixel, sep)}});
    for (const design::PairVerdict& p : r.pairs)
        pairs.push_back({{"nom", p.pair->name},
                         {"separation_a", design::shownResult(p.separation_a, sep)},
                         {"element_a", design::shownResult(p.element_a, sep)},
                         {"verdict", design::verdictText(p)}});
    for (const design::LampCount& l : r.lamps)
        lamps.push_back({{"lampe", l.kind}, {"raies", l.lines}});
    return {{"raies", lines}, {"paires", pairs}, {"lampes", lamps}};
}

// Each row with its label; "soleil" marks the results of a design of the
// Sun, "etoile" those of the star's light, which a design of the Sun hides.
Json rows(std::span<const design::ResultRow> table) {
    Json out = Json::array();
    for (const design::ResultRow& r : table)
        out.push_back({{"cle", r.key},
                       {"libelle", design::withoutMnemonic(r.label)},
                       {"soleil", design::isSunResult(r.key)},
                       {"etoile", r.starOnly}});
    return out;
}

Json proposerFields() {
    const design::ProposerRequest defaults;
    Json out = rows(design::proposerRows());
    for (Json& row : out)
        row["defaut"] = design::proposerKeyText(defaults, row["cle"].get<std::string>());
    return out;
}

// Every key's value as the fields show it, and as files and links write it.
Json keyValues(const design::DesignInput& in, const std::string& sep) {
    Json shown = Json::object(), saved = Json::object();
    for (const design::KeyRow& r : design::keyRows()) {
        shown[r.key] = design::shownKey(in, r.key, sep);
        saved[r.key] = design::keyText(in, r.key);
    }
    return {{"valeurs", shown}, {"cles", saved}};
}

}  // namespace

namespace {

// Each calibration in a line.
Json calibrationLines(const design::DesignInput& in, const std::string& sep) {
    Json lines = Json::array();
    for (const design::MeasuredRatio& m : in.etalonnages)
        lines.push_back(design::calibrationLine(m, sep));
    return lines;
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
    return {
        {"entrees", inputRows()},
        {"resultats", results},
        {"verdicts", verdicts},
        {"proposeur", proposerFields()},
        {"colonnes", rows(design::candidateColumns())},
        {"geometries", geometries},
        {"capteurs", sensors},
        // One limit for every face, said before a file is read.
        {"limiteSpectre", {{"octets", design::kMaxSpectrumBytes}, {"message", io::tooLarge()}}}};
}

namespace {

// {"zone": {"largeur", "hauteur"}}: the plots' area inside their axes as the
// page draws them (px), where the names must fit; the default's otherwise.
design::PlotArea plotArea(const Json& args) {
    design::PlotArea area;
    const Json zone = args.value("zone", Json::object());
    if (!zone.is_object()) return area;
    const auto size = [&](const char* key, double fallback) {
        const Json v = zone.value(key, Json());
        return v.is_number() && v.get<double>() >= 50 && v.get<double>() <= 10000 ? v.get<double>()
                                                                                  : fallback;
    };
    area.width = size("largeur", area.width);
    area.height = size("hauteur", area.height);
    return area;
}

}  // namespace

// {"cles": {key: text}, "separateur": "," or "."} → the design read from
// the defaults and those keys: every key's value as shown, the results as
// shown, the spectrum, the plots' curves and the lines; or the errors.
Json evaluateDesign(const Json& args) {
    const std::string sep = separatorOf(args);
    KeyedJson read = readKeys(args.at("cles"), sep);
    if (!read.first.empty()) return {{"erreur", read.first}, {"erreurs", read.errors}};
    if (const std::string e = readCalibrations(args, read.input); !e.empty())
        return {{"erreur", e}, {"erreurs", Json::object()}};
    const design::DesignInput& in = read.input;
    const design::DesignOutcome outcome = design::evaluate(in);
    Json answer = keyValues(in, sep);
    if (!outcome.result) {
        answer["erreur"] = design::describe(*outcome.error, sep);
        answer["erreurs"] = Json::object();
        return answer;
    }
    const bool target = in.cible_snr > 0;
    Json results = Json::object(), numbers = Json::object();
    for (const design::NamedResult& r : design::namedResults(*outcome.result, target)) {
        results[r.name] = design::shownCell(r.cell, sep);
        if (r.cell.kind == design::ResultCell::Kind::Number)
            numbers[r.name] = std::isfinite(r.cell.number) ? Json(r.cell.number) : Json();
    }
    answer["resultats"] = results;
    answer["soleil"] = outcome.result->soleil;
    answer["note"] = design::calibrationNote(in, sep);
    answer["etalonnages"] = calibrationLines(in, sep);
    if (const auto history = design::calibrationHistory(in.etalonnages);
        history.curves[0].second.size() > 1)
        answer["historique"] = plotJson(history, sep);
    answer["nombres"] = numbers;  // every digit, for a copy and for the checks
    const design::LineReport lines = design::linesOnSensor(in, outcome, design::builtInLines());
    addPlots(answer, in, outcome, lines, sep, plotArea(args));
    answer["raies"] = linesReport(lines, sep);
    return answer;
}

// {"cles": …, "fois": N} → the time of one evaluation of the design, in
// nanoseconds, averaged over N: the benchmark's figure beside the native one.
Json timeEvaluation(const Json& args) {
    const KeyedJson read = readKeys(args.value("cles", Json::object()), ".");
    if (!read.first.empty()) return {{"erreur", read.first}};
    // A design the model refuses has no result to time.
    if (const design::DesignOutcome o = design::evaluate(read.input); !o.result)
        return {{"erreur", design::describe(*o.error, ".")}};
    const int times = args.value("fois", 100000);
    double sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < times; ++i) {
        const design::DesignOutcome o = design::evaluate(read.input);
        sink += o.result ? o.result->resolution : 0;
    }
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return {{"ns", spent.count() / times}, {"controle", sink}};  // the sum keeps the loop
}

}  // namespace kelvora::web
