#pragma once

#include <string>

namespace kelvora {

// The three run-time errors a calculation run can stop on.
enum class FaultKind { DivisionByZero, Overflow, InvalidArgument };

// Thrown by the checked arithmetic; the run turns it into a located Fault.
struct ArithmeticFault {
    FaultKind kind;
};

// French name of the error, as the user sees it.
const char* faultName(FaultKind kind);

}  // namespace kelvora
