#pragma once

// The design keys and results as people read them: French labels with
// their units, groups, hints, the words some keys take and the geometry
// names. One table for every face: the desktop window, the companion's help
// and the browser page.

#include <span>
#include <string>
#include <string_view>

#include "model/design/design.h"

namespace kelvora::design {

struct InputRow {
    const char* group;  // starts a new group
    const char* key;
    const char* label;  // '&' marks the window's keyboard mnemonic
    bool newColumn = false;
};
std::span<const InputRow> inputRows();

struct ResultRow {
    const char* key;
    const char* label;
};
std::span<const ResultRow> resultRows();

// The results told in words: the sampling verdict and the saturation flags.
std::span<const ResultRow> verdictRows();

// The proposer's own fields, and the columns of its candidates (design keys
// and results), each with its label.
std::span<const ResultRow> proposerRows();
std::span<const ResultRow> candidateColumns();

// A key written as one of two words, each with its caption.
struct WordChoice {
    const char* key;
    const char* words[2];
    const char* captions[2];
};
std::span<const WordChoice> wordChoices();

// « Littrow », « faisceau convergent (sans fente) »…, in the model's order.
const char* geometryCaption(Geometry g);
// What the key's short label leaves out; "" if nothing.
const char* hintOf(std::string_view key);
// A label as read aloud or printed: without the window's mnemonic mark.
std::string withoutMnemonic(const char* label);
// The label of an input key without its mnemonic; the key if unknown.
std::string labelOf(std::string_view key);
// The model's message with the first input key it names (« KEY = value »,
// « KEY : … ») replaced by « its label ».
std::string labelled(const std::string& error);

}  // namespace kelvora::design
