#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"
#include "model/design/shown.h"
#include "web/api/calls.h"

namespace kelvora::web {

namespace {

// The keys that reproduce a candidate, and its columns as shown.
Json candidateRow(const design::Candidate& c, const std::string& sep) {
    Json keys = Json::object(), shown = Json::object();
    for (const std::string& key : design::candidateKeys())
        keys[key] = design::keyText(c.input, key);
    for (const design::ResultRow& column : design::candidateColumns()) {
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
    const KeyedJson read = readKeys(args.at("cles"), sep);
    if (!read.first.empty()) return {{"erreur", read.first}};
    design::ProposerRequest request;
    const Json own = args.value("proposeur", Json::object());  // held: items() refers to it
    for (const auto& [key, value] : own.items())
        if (const auto e = design::setProposerKey(request, key, value.get<std::string>(), sep))
            return {{"erreur", design::describe(*e, sep)}};
    if (!(request.resolution_cible > 0)) return {{"erreur", "Indiquez la résolution visée."}};
    const design::Proposal p = design::propose(read.input, request, args.value("nombre", 20));
    if (p.candidates.empty()) return {{"erreur", p.error}};
    Json rows = Json::array();
    for (const design::Candidate& c : p.candidates) rows.push_back(candidateRow(c, sep));
    return {{"candidats", rows}, {"essayes", p.evaluated}};
}

}  // namespace kelvora::web
