#include "web/api/api.h"

#include <emscripten/emscripten.h>

#include <exception>
#include <utility>

#include "web/api/calls.h"

namespace kelvora::web {

namespace {

Json schema(const Json&) {
    return {{"calculateur", formSchema()}, {"conception", designSchema()}};
}

using Call = Json (*)(const Json&);
const std::pair<const char*, Call> kCalls[] = {
    {"schema", schema},       {"calc", calculate},        {"design", evaluateDesign},
    {"sensor", sensorValues}, {"mesure", timeEvaluation}, {"propose", proposeDesigns},
    {"readFile", readFile},   {"writeFile", writeFile},
};

}  // namespace

std::string call(const std::string& name, const std::string& argumentsJson) {
    try {
        const Json args = argumentsJson.empty() ? Json::object() : Json::parse(argumentsJson);
        for (const auto& [known, run] : kCalls)
            if (name == known)
                return run(args).dump(-1, ' ', false, Json::error_handler_t::replace);
        return Json({{"erreur", "appel inconnu : " + name}}).dump();
    } catch (const std::exception& e) {
        // The page builds every request; a bad one is the page's fault, said plainly.
        return Json({{"erreur", std::string("requête invalide : ") + e.what()}}).dump();
    }
}

}  // namespace kelvora::web

// The one entry point the page calls (through ccall). The answer stays
// valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kv_call(const char* name, const char* args) {
    static std::string answer;
    answer = kelvora::web::call(name, args);
    return answer.c_str();
}
