#include "model/design/proposer.h"

#include <algorithm>
#include <cmath>

#include "model/design/design_internal.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/floatconv.h"
#include "model/numbertext.h"

namespace kelvora::design {

namespace {

// Why a design is not kept, in the order the conditions are checked.
enum Reason {
    Impossible,
    TooLow,
    Sampling_,
    Range,
    GratingTooSmall,
    DiscOff,
    BandTooWide,
    TooFast,
    TooDim,
    Kept,
    ReasonCount
};

struct Search {
    std::vector<Candidate> kept;
    std::size_t count = 0;  // how many the caller wants
    std::size_t evaluated = 0;
    std::size_t total = 0;
    const Progress* progress = nullptr;
    bool stopped = false;
    std::size_t counts[ReasonCount] = {};
    std::optional<Candidate> bestR;    // the highest R of any possible design
    std::optional<Candidate> nearest;  // the highest R below the target of those fit otherwise
    bool sun = false;                  // a spectroheliograph: judged and ranked as one
};

// A spectroheliograph's conditions: the disc on the slit and the sensor,
// the bandpass inside the line's core, a frame rate the camera reaches and
// a frame long enough to fill the well.
Reason judgeSun(const ProposerRequest& q, const DesignInput& in, const DesignResult& r) {
    if (q.resolution_cible > 0 && r.resolution < q.resolution_cible) return TooLow;
    if (!(r.couverture_fente >= 1 && r.couverture_capteur >= 1)) return DiscOff;
    if (std::isfinite(r.coeur_a) && !r.isole_coeur) return BandTooWide;
    if (in.cadence_max_ips > 0 && r.cadence_ips > in.cadence_max_ips) return TooFast;
    if (!(r.pose_continuum_ms <= r.pose_max_ms)) return TooDim;
    if (r.longueur_reseau_mm > q.largeur_reseau_mm) return GratingTooSmall;
    return Kept;
}

// Every condition but R's.
Reason judgeOthers(const ProposerRequest& q, const DesignResult& r) {
    if (r.echantillonnage != Sampling::Good) return Sampling_;
    if ((q.lambda_min_a && r.lambda_min_a > *q.lambda_min_a) ||
        (q.lambda_max_a && r.lambda_max_a < *q.lambda_max_a))
        return Range;
    if (r.longueur_reseau_mm > q.largeur_reseau_mm) return GratingTooSmall;
    return Kept;
}

Reason judge(const ProposerRequest& q, const DesignResult& r) {
    return r.resolution < q.resolution_cible ? TooLow : judgeOthers(q, r);
}

// The Sun: the narrowest bandpass first (the core's contrast), then the
// higher S/N in the core.
bool betterForSun(const Candidate& a, const Candidate& b) {
    if (a.result.bande_passante_a != b.result.bande_passante_a)
        return a.result.bande_passante_a < b.result.bande_passante_a;
    return a.result.snr_coeur > b.result.snr_coeur;
}

// A star: the shortest exposure first, then the wider range.
bool betterForStar(const Candidate& a, const Candidate& b) {
    if (a.result.pose_cible_s != b.result.pose_cible_s)
        return a.result.pose_cible_s < b.result.pose_cible_s;
    return a.result.lambda_max_a - a.result.lambda_min_a >
           b.result.lambda_max_a - b.result.lambda_min_a;
}

// Only the best `count` can be shown: keeping every kept design let a large
// search run out of memory.
void keepBest(Search& s, Candidate c) {
    s.kept.push_back(std::move(c));
    if (s.kept.size() < 4 * s.count + 64) return;
    std::partial_sort(s.kept.begin(), s.kept.begin() + static_cast<std::ptrdiff_t>(s.count),
                      s.kept.end(), s.sun ? betterForSun : betterForStar);
    s.kept.resize(s.count);
}

bool goOn(Search& s) {
    if (s.stopped) return false;
    constexpr std::size_t kEvery = 4096;
    if (s.progress && *s.progress && s.evaluated % kEvery == 0 &&
        !(*s.progress)(s.evaluated, s.total))
        s.stopped = true;
    return !s.stopped;
}

void consider(const ProposerRequest& q, const DesignInput& in, Search& s) {
    if (!goOn(s)) return;
    ++s.evaluated;
    const DesignOutcome o = evaluate(in);
    if (!o.result) {
        ++s.counts[Impossible];
        return;
    }
    if (s.sun) {
        const Reason why = judgeSun(q, in, *o.result);
        ++s.counts[why];
        if (why == Kept) keepBest(s, {in, *o.result});
        return;
    }
    if (!s.bestR || o.result->resolution > s.bestR->result.resolution)
        s.bestR = Candidate{in, *o.result};
    const Reason why = judge(q, *o.result);
    ++s.counts[why];
    if (why == TooLow && judgeOthers(q, *o.result) == Kept &&
        (!s.nearest || o.result->resolution > s.nearest->result.resolution))
        s.nearest = Candidate{in, *o.result};
    if (why == Kept) keepBest(s, {in, *o.result});
}

// Lenses, slits and binnings in a collimated geometry.
void searchCollimated(const ProposerRequest& q, DesignInput in, Search& s) {
    for (double lines : q.reseaux)
        for (double coll : q.focales)
            for (double cam : q.focales)
                for (double slit : q.fentes)
                    for (double bin : q.binnings) {
                        in.traits_mm = lines;
                        in.collimateur_mm = coll;
                        in.objectif_mm = cam;
                        in.fente_um = slit;
                        in.bin_x = bin;
                        consider(q, in, s);
                    }
}

// No lenses and no slit in the converging beam: the grating's distance instead.
void searchConvergent(const ProposerRequest& q, DesignInput in, Search& s) {
    for (double lines : q.reseaux)
        for (double distance : q.distances)
            for (double bin : q.binnings) {
                in.traits_mm = lines;
                in.distance_capteur_mm = distance;
                in.bin_x = bin;
                consider(q, in, s);
            }
}

std::string grouped(double v) {
    return floatconv::general(std::round(v), 15);
}

std::string describe(const DesignInput& in) {
    std::string d = std::string(geometryName(in.geometrie)) + ", " +
                    shortestNumberText(in.traits_mm) + " traits/mm, ";
    if (in.geometrie == Geometry::Convergent) {
        d += "à " + shortestNumberText(in.distance_capteur_mm) + " mm du capteur";
    } else {
        d += "collimateur " + shortestNumberText(in.collimateur_mm) + " mm, objectif " +
             shortestNumberText(in.objectif_mm) + " mm, ";
        d += in.fente_um > 0 ? "fente " + shortestNumberText(in.fente_um) + " µm" : "sans fente";
    }
    return d + ", bin " + shortestNumberText(in.bin_x);
}

// How many designs each reason set aside, those it set aside at all:
// « 3 mal échantillonnées, 1 dont… ».
std::string countsSaid(const Search& s,
                       std::initializer_list<std::pair<Reason, const char*>> reasons) {
    std::string said;
    for (const auto& [reason, words] : reasons)
        if (s.counts[reason])
            said += (said.empty() ? "" : ", ") + std::to_string(s.counts[reason]) + " " + words;
    return said;
}

std::string noneKept(const ProposerRequest& q, const Search& s) {
    std::string e = "aucune conception n'atteint R = " + grouped(q.resolution_cible);
    if (!s.bestR) return e + " : aucun instrument possible avec ces choix";
    // The nearest that meets every other condition; else the highest R, if short of the target.
    if (s.nearest)
        e += " ; la plus proche qui remplit les autres conditions donne R = " +
             grouped(s.nearest->result.resolution) + " (" + describe(s.nearest->input) + ")";
    else if (s.bestR->result.resolution < q.resolution_cible)
        e += " ; la meilleure donne R = " + grouped(s.bestR->result.resolution) + " (" +
             describe(s.bestR->input) + ")";
    const std::string others =
        countsSaid(s, {{Sampling_, "mal échantillonnées"},
                       {Range, "ne couvrent pas le domaine demandé"},
                       {GratingTooSmall, "dont le faisceau déborde du réseau"}});
    if (!others.empty()) e += " ; atteignent R mais écartées : " + others;
    return e;
}

std::string noneForTheSun(const Search& s) {
    const std::string e = "aucune conception ne convient au Soleil";
    const std::string why =
        countsSaid(s, {{Impossible, "impossibles"},
                       {TooLow, "sous la résolution visée"},
                       {DiscOff, "dont le disque déborde de la fente ou du capteur"},
                       {BandTooWide, "dont la bande passante dépasse le cœur de la raie"},
                       {TooFast, "dont la cadence dépasse celle de la caméra"},
                       {TooDim, "dont la pose de remplissage dépasse l'intervalle entre images"},
                       {GratingTooSmall, "dont le faisceau déborde du réseau"}});
    return why.empty() ? e : e + " : " + why;
}

using NumberList = std::vector<double> ProposerRequest::*;
constexpr std::pair<const char*, NumberList> kLists[] = {
    {"reseaux", &ProposerRequest::reseaux},     {"focales", &ProposerRequest::focales},
    {"fentes", &ProposerRequest::fentes},       {"binnings", &ProposerRequest::binnings},
    {"distances", &ProposerRequest::distances},
};

std::vector<std::string_view> split(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return parts;
        start = comma + 1;
    }
}

std::optional<KeyError> readList(std::string_view key, std::string_view text,
                                 std::vector<double>& out) {
    std::vector<double> values;
    for (std::string_view part : split(text)) {
        const auto v = strictNumber(part);
        if (!v) return KeyError{KeyError::Cause::NotANumber, std::string(key), std::string(part)};
        if (*v < 0)
            return KeyError{
                KeyError::Cause::OutOfRange, std::string(key), {}, *v, 0, "doit être ≥ 0"};
        values.push_back(*v);
    }
    out = std::move(values);
    return std::nullopt;
}

std::optional<KeyError> readGeometries(std::string_view text, std::vector<Geometry>& out) {
    std::vector<Geometry> values;
    for (std::string_view part : split(text)) {
        const auto g = geometryByName(part);
        if (!g)
            return KeyError{KeyError::Cause::UnknownWord,
                            "geometries",
                            std::string(part),
                            0,
                            0,
                            geometryList()};
        values.push_back(*g);
    }
    out = std::move(values);
    return std::nullopt;
}

// One number, in the face's separator too.
std::optional<KeyError> readNumber(std::string_view key, std::string_view text,
                                   std::string_view separator, double& out) {
    auto v = strictNumber(periodText(text, separator));
    // A single number is never a list: « 25,4 » can only mean 25.4.
    if (!v) v = strictNumber(periodText(text, ","));
    if (!v) return KeyError{KeyError::Cause::NotANumber, std::string(key), std::string(text)};
    if (*v <= 0)
        return KeyError{KeyError::Cause::OutOfRange, std::string(key), {}, *v, 0, "doit être > 0"};
    out = *v;
    return std::nullopt;
}

std::string joined(const std::vector<double>& values) {
    std::string text;
    for (double v : values) {
        if (!text.empty()) text += ',';
        text += shortestNumberText(v);
    }
    return text;
}

}  // namespace

std::vector<std::string> proposerKeys() {
    return {"resolution_cible", "lambda_min_a", "lambda_max_a", "reseaux",   "focales",
            "fentes",           "geometries",   "binnings",     "distances", "largeur_reseau_mm"};
}

bool isProposerKey(std::string_view key) {
    for (const std::string& k : proposerKeys())
        if (key == k) return true;
    return false;
}

std::optional<KeyError> setProposerKey(ProposerRequest& r, std::string_view key,
                                       std::string_view text, std::string_view separator) {
    if (!isProposerKey(key))
        return KeyError{KeyError::Cause::UnknownKey, std::string(key), std::string(text)};
    for (const auto& [name, field] : kLists)
        if (key == name) return readList(key, text, r.*field);
    if (key == "geometries") return readGeometries(text, r.geometries);
    double v = 0;
    if (auto e = readNumber(key, text, separator, v)) return e;
    if (key == "resolution_cible") r.resolution_cible = v;
    if (key == "lambda_min_a") r.lambda_min_a = v;
    if (key == "lambda_max_a") r.lambda_max_a = v;
    if (key == "largeur_reseau_mm") r.largeur_reseau_mm = v;
    return std::nullopt;
}

std::string proposerKeyText(const ProposerRequest& r, std::string_view key) {
    for (const auto& [name, field] : kLists)
        if (key == name) return joined(r.*field);
    if (key == "geometries") {
        std::string text;
        for (Geometry g : r.geometries) {
            if (!text.empty()) text += ',';
            text += geometryName(g);
        }
        return text;
    }
    if (key == "resolution_cible") return shortestNumberText(r.resolution_cible);
    if (key == "lambda_min_a") return r.lambda_min_a ? shortestNumberText(*r.lambda_min_a) : "";
    if (key == "lambda_max_a") return r.lambda_max_a ? shortestNumberText(*r.lambda_max_a) : "";
    if (key == "largeur_reseau_mm") return shortestNumberText(r.largeur_reseau_mm);
    return {};
}

std::vector<std::string> candidateKeys() {
    return {"geometrie", "traits_mm",           "collimateur_mm", "objectif_mm",
            "fente_um",  "distance_capteur_mm", "bin_x",          "cible_snr"};
}

ResultCell candidateCell(const Candidate& c, std::string_view key) {
    const KeyRow* row = findKey(key);
    if (key == "snr" && c.input.snr_par_element) key = "snr_element";
    if (!row) return {ResultCell::Kind::Number, resultNumber(c.result, key)};
    if (row->number && !appliesTo(*row, c.input.geometrie)) return {ResultCell::Kind::Number, NAN};
    if (row->number) return {ResultCell::Kind::Number, keyNumber(c.input, *row)};
    return {ResultCell::Kind::Text, 0, key == "geometrie" ? geometryName(c.input.geometrie) : ""};
}

std::vector<std::string> candidateResults(bool perElement, bool sun) {
    std::vector<std::string> keys;
    for (const ResultRow& column : candidateColumns(sun)) {
        const std::string_view key = column.key;
        if (findKey(key)) continue;  // a design key
        keys.emplace_back(key == "snr" && perElement ? "snr_element" : key);
    }
    return keys;
}

std::size_t combinations(const ProposerRequest& q) {
    std::size_t n = 0;
    for (Geometry g : q.geometries)
        n += g == Geometry::Convergent ? q.reseaux.size() * q.distances.size() * q.binnings.size()
                                       : q.reseaux.size() * q.focales.size() * q.focales.size() *
                                             q.fentes.size() * q.binnings.size();
    return n;
}

std::string tooLarge(const ProposerRequest& q) {
    const std::size_t n = combinations(q);
    if (n <= kMaxCombinations) return {};
    return "la recherche compte " + grouped(static_cast<double>(n)) +
           " combinaisons, plus que les " + grouped(static_cast<double>(kMaxCombinations)) +
           " permises : raccourcissez les listes";
}

Proposal propose(const DesignInput& fixed, const ProposerRequest& q, std::size_t count,
                 const Progress& progress) {
    DesignInput in = fixed;
    if (in.cible_snr <= 0) in.cible_snr = 100;  // the ranking needs an exposure
    Proposal p;
    if (p.error = tooLarge(q); !p.error.empty()) return p;
    Search s;
    s.sun = fixed.soleil;
    s.count = count;
    s.total = combinations(q);
    s.progress = &progress;
    for (Geometry g : q.geometries) {
        in.geometrie = g;
        if (g == Geometry::Convergent)
            searchConvergent(q, in, s);
        else
            searchCollimated(q, in, s);
    }
    p.evaluated = s.evaluated;
    p.stopped = s.stopped;
    std::sort(s.kept.begin(), s.kept.end(), s.sun ? betterForSun : betterForStar);
    if (s.kept.size() > count) s.kept.resize(count);
    p.candidates = std::move(s.kept);
    if (p.candidates.empty()) p.error = s.sun ? noneForTheSun(s) : noneKept(q, s);
    return p;
}

std::string missingTarget(const DesignInput& fixed, const ProposerRequest& q) {
    return fixed.soleil || q.resolution_cible > 0 ? std::string() : "Indiquez la résolution visée.";
}

}  // namespace kelvora::design
