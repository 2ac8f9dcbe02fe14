#pragma once

// What the design window shows of the design model: its rows with their
// French labels, geometry names, and numbers read and written with the
// user's decimal separator.

#include <QLocale>
#include <QString>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/calculation.h"
#include "model/design/design.h"

namespace kelvora::ui::designform {

// For a key written as one of a few words: each (word, caption); empty otherwise.
std::vector<std::pair<QString, QString>> wordChoices(std::string_view key);

// « Littrow », « faisceau convergent (sans fente) »…, in the model's order.
QString geometryCaption(design::Geometry g);

// A number as the user writes it: the period, or the separator of their
// regional settings. nullopt when it is not one number.
std::optional<double> readDecimal(const QString& text, const QLocale& locale);
// A key's value as a field shows it, with the regional separator.
QString fieldText(const design::DesignInput& in, const std::string& key, const QLocale& locale);
// A result: 5 significant digits, the regional separator, no grouping.
QString resultText(double v, const QLocale& locale);

// The form's values for the quantities both models share, over `base`.
design::DesignInput designFromForm(const RunInput& form, design::DesignInput base);

// The model's message with the field's label instead of its key.
QString labelled(const std::string& error);
// What the key's short label leaves out; empty if nothing.
QString hintOf(std::string_view key);
// The label of an input key, without its mnemonic; the key if unknown.
QString labelOf(std::string_view key);

}  // namespace kelvora::ui::designform
