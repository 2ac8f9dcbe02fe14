#pragma once

// The design's results and the proposer's fields as people read them, and
// errors said in French. The inputs' labels live in the key table
// (keytable.h). One place for every face: the desktop window, the
// companion and the browser page.

#include <span>
#include <string>
#include <string_view>

#include "model/design/design.h"

namespace kelvora::design {

struct ResultRow {
    const char* key;
    const char* label;
    bool starOnly = false;  // the star's light: shown only for a star, not for the Sun
};
std::span<const ResultRow> resultRows();
// A result or verdict of the star's light, which a design of the Sun hides.
bool isStarOnlyResult(std::string_view key);

// The results told in words: the sampling verdict and the saturation flags.
std::span<const ResultRow> verdictRows();

// The proposer's own fields, and the columns of its candidates (design keys
// and results), each with its label.
std::span<const ResultRow> proposerRows();
std::span<const ResultRow> candidateColumns(bool sun = false);

// A label as read aloud or printed: without the window's mnemonic mark.
std::string withoutMnemonic(const char* label);
// The label of an input key with its unit, without its mnemonic; the key if unknown.
std::string labelOf(std::string_view key);

// The French sentence for an error, with the field's label and numbers in
// the face's decimal separator ("." or ","). A face that reads the comma
// passes ",": its message never says that the separator is the period.
std::string describe(const KeyError& error, std::string_view separator);

}  // namespace kelvora::design
