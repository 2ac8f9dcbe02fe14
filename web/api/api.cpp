#include "web/api/api.h"

#include <emscripten/emscripten.h>

#include <exception>

#include "web/api/calls.h"

namespace kelvora::web {

std::string call(const std::string& name, const std::string& argumentsJson) {
    try {
        const Json args = argumentsJson.empty() ? Json::object() : Json::parse(argumentsJson);
        Json answer;
        if (name == "schema")
            answer = {{"calculateur", formSchema()}, {"conception", designSchema()}};
        else if (name == "calc")
            answer = calculate(args);
        else if (name == "design")
            answer = evaluateDesign(args);
        else if (name == "sensor")
            answer = sensorValues(args);
        else if (name == "mesure")
            answer = timeEvaluation(args);
        else if (name == "propose")
            answer = proposeDesigns(args);
        else if (name == "readFile")
            answer = readFile(args);
        else if (name == "writeFile")
            answer = writeFile(args);
        else
            answer = {{"erreur", "appel inconnu : " + name}};
        return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
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
