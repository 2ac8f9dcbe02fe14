#include "model/fault.h"

namespace kelvora {

const char* faultName(FaultKind kind) {
    switch (kind) {
        case FaultKind::DivisionByZero:
            return "Division par zéro";
        case FaultKind::Overflow:
            return "Dépassement de capacité";
        case FaultKind::InvalidArgument:
            return "Argument incorrect";
    }
    return "";
}

std::string faultMessage(const Fault& fault) {
    std::string msg = faultName(fault.kind);
    msg += isInput(fault.at) ? " à la lecture de « " : " au calcul de « ";
    msg.append(controlLabel(fault.at)).append(" » (").append(controlName(fault.at)).append(")");
    return msg;
}

}  // namespace kelvora
