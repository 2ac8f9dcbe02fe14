#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#endif

#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"
#include "model/design/shown.h"
#include "web/api/calls.h"

#ifdef __EMSCRIPTEN__
// In the page's worker, each step of a search is posted to the page, which
// shows it while the search goes on; on the page's own thread nothing is posted.
// clang-format off
EM_JS(void, kv_progress, (double done, double total), {
    if (typeof WorkerGlobalScope !== "undefined" && self instanceof WorkerGlobalScope)
        postMessage({progres: [done, total]});
});
// clang-format on
#else
void kv_progress(double, double) {}
#endif

namespace kelvora::web {

namespace {

struct ReadRequest {
    KeyedJson design;
    design::ProposerRequest request;
    std::string error;
};

ReadRequest readRequest(const Json& args, const std::string& sep) {
    ReadRequest r{readKeys(args.at("cles"), sep), {}, {}};
    r.error = r.design.first;
    const Json own = args.value("proposeur", Json::object());  // held: items() refers to it
    for (const auto& [key, value] : own.items()) {
        if (!r.error.empty()) break;
        if (const auto e = design::setProposerKey(r.request, key, value.get<std::string>(), sep))
            r.error = design::describe(*e, sep);
    }
    if (r.error.empty()) r.error = design::missingTarget(r.design.input, r.request);
    return r;
}

// The keys that reproduce a candidate, and its columns as shown.
Json candidateRow(const design::Candidate& c, const std::string& sep) {
    Json keys = Json::object(), shown = Json::object();
    for (const std::string& key : design::candidateKeys())
        keys[key] = design::keyText(c.input, key);
    for (const design::ResultRow& column : design::candidateColumns(c.input.soleil)) {
        const design::ResultCell cell = design::candidateCell(c, column.key);
        shown[column.key] = cell.kind == design::ResultCell::Kind::Text
                                ? std::string(cell.text)
                                : design::shownResult(cell.number, sep);
    }
    return {{"cles", keys}, {"colonnes", shown}};
}

}  // namespace

// {"cles": design keys, "proposeur": {key: text}, "nombre": N} → the best
// candidates, each with the keys that reproduce it; or why none is kept.
Json proposeDesigns(const Json& args) {
    const std::string sep = separatorOf(args);
    const ReadRequest r = readRequest(args, sep);
    if (!r.error.empty()) return {{"erreur", r.error}};
    const design::Progress progress = [](std::size_t done, std::size_t total) {
        kv_progress(static_cast<double>(done), static_cast<double>(total));
        return true;
    };
    const design::Proposal p =
        design::propose(r.design.input, r.request, args.value("nombre", 20), progress);
    if (p.candidates.empty()) return {{"erreur", p.error}};
    Json rows = Json::array();
    for (const design::Candidate& c : p.candidates) rows.push_back(candidateRow(c, sep));
    Json columns = Json::array();
    for (const design::ResultRow& column : design::candidateColumns(r.design.input.soleil))
        columns.push_back(
            {{"cle", column.key}, {"libelle", design::withoutMnemonic(column.label)}});
    return {{"candidats", rows}, {"essayes", p.evaluated}, {"colonnes", columns}};
}

// The same arguments → how many designs the search would evaluate, and the
// French refusal when that is too many (null when it can run).
Json countProposals(const Json& args) {
    const ReadRequest r = readRequest(args, separatorOf(args));
    if (!r.error.empty()) return {{"erreur", r.error}};
    const std::string refusal = design::tooLarge(r.request);
    return {{"combinaisons", design::combinations(r.request)},
            {"plafond", design::kMaxCombinations},
            {"refus", refusal.empty() ? Json() : Json(refusal)}};
}

}  // namespace kelvora::web
