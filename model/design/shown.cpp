#include "model/design/shown.h"

#include <cmath>

#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/floatconv.h"
#include "model/numbertext.h"

namespace kelvora::design {

namespace {

std::string withSeparator(const std::string& text, std::string_view separator) {
    const auto dot = text.find('.');
    if (dot == std::string::npos) return text;
    return text.substr(0, dot) + std::string(separator) + text.substr(dot + 1);
}

}  // namespace

std::string shownNumber(double value, int digits, std::string_view separator) {
    return withSeparator(floatconv::general(value, digits), separator);
}

std::string shownResult(double value, std::string_view separator) {
    return std::isfinite(value) ? shownNumber(value, 5, separator) : "—";
}

std::string shownValue(double value, std::string_view separator) {
    const double size = std::fabs(value);
    const bool plain = value != 0 && size >= 1e-6 && size < 1e15;
    return withSeparator(plain ? floatconv::shortestFixed(value) : shortestNumberText(value),
                         separator);
}

std::string shownKey(const DesignInput& in, std::string_view key, std::string_view separator) {
    const KeyRow* row = findKey(key);
    if (row && row->number) return shownValue(in.*(row->number), separator);
    return keyText(in, key);
}

std::string shownCell(const ResultCell& cell, std::string_view separator) {
    switch (cell.kind) {
        case ResultCell::Kind::Number:
            return shownResult(cell.number, separator);
        case ResultCell::Kind::Text:
            return cell.text;
        case ResultCell::Kind::Flag:
            return cell.flag ? "oui" : "non";
    }
    return {};
}

}  // namespace kelvora::design
