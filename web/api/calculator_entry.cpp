// The calculator's own WebAssembly module: the first page a visitor sees
// needs only the window's calculation, so it loads before the whole model.
#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#else
#define EMSCRIPTEN_KEEPALIVE
#endif

#include <exception>
#include <new>

#include "web/api/dispatch.h"

namespace kelvora::web {

namespace {

Json calculatorSchema(const Json&) {
    return formSchema();
}

const std::pair<const char*, Call> kCalls[] = {
    {"schemaCalculateur", calculatorSchema},
    {"calc", calculate},
    {"lecture", readingNotes},
};

}  // namespace

std::string calculatorCall(const std::string& name, const std::string& argumentsJson) {
    try {
        return dispatch(kCalls, name, argumentsJson);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::exception&) {
        return invalidRequest();
    }
}

}  // namespace kelvora::web

extern "C" EMSCRIPTEN_KEEPALIVE const char* kv_call(const char* name, const char* args) {
    static std::string answer;
    answer = kelvora::web::calculatorCall(name, args);
    return answer.c_str();
}
