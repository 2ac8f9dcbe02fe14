#pragma once

#include <string>

#include "model/instrument.h"

namespace kelvora {

// The three run-time errors a calculation run can stop on.
enum class FaultKind { DivisionByZero, Overflow, InvalidArgument };

// Thrown by the checked arithmetic; the run turns it into a located Fault.
struct ArithmeticFault {
    FaultKind kind;
};

// French name of the error, as the user sees it.
const char* faultName(FaultKind kind);

// Where a run stopped: the field being read or the result being computed.
struct Fault {
    FaultKind kind;
    Control at;
};

// French report of a fault, starting with the error's name, e.g.
// "Division par zéro au calcul de « Dispersion » (txtDispersion)".
std::string faultMessage(const Fault& fault);

}  // namespace kelvora
