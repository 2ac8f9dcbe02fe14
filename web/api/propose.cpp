#include <algorithm>

#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"
#include "web/api/calls.h"

namespace kelvora::web {

namespace {

Json candidateRow(const design::Candidate& c) {
    Json keys = Json::object(), results = Json::object();
    for (const std::string& key : design::candidateKeys())
        keys[key] = design::keyText(c.input, key);
    const std::vector<std::string> shown = design::candidateResults();
    for (const design::NamedResult& r : design::namedResults(c.result, true))
        if (std::find(shown.begin(), shown.end(), r.name) != shown.end())
            results[r.name] = r.cell.number;
    return {{"cles", keys}, {"resultats", results}};
}

}  // namespace

// {"cles": design keys, "proposeur": {key: text}, "nombre": N} → the best
// candidates, each with the keys that reproduce it; or why none is kept.
Json proposeDesigns(const Json& args) {
    design::DesignInput fixed;
    design::ProposerRequest request;
    Json errors = Json::object();
    if (const std::string e = applyKeys(fixed, args.at("cles"), errors); !e.empty())
        return {{"erreur", e}};
    const Json own = args.value("proposeur", Json::object());  // held: items() refers to it
    for (const auto& [key, value] : own.items()) {
        const std::string e = design::setProposerKey(request, key, value.get<std::string>());
        if (!e.empty()) return {{"erreur", e}};
    }
    if (!(request.resolution_cible > 0)) return {{"erreur", "Indiquez la résolution visée."}};
    const design::Proposal p = design::propose(fixed, request, args.value("nombre", 20));
    if (p.candidates.empty()) return {{"erreur", p.error}};
    Json rows = Json::array();
    for (const design::Candidate& c : p.candidates) rows.push_back(candidateRow(c));
    return {{"candidats", rows}, {"essayes", p.evaluated}};
}

}  // namespace kelvora::web
