#pragma once

class QLineEdit;

namespace kelvora::ui {

// Marks an input field whose text the leading-number rule does not read
// whole: the text turns amber, and the tooltip and accessible description
// say how it is read. The mark follows the text as the user types.
void attachReadingNotes(QLineEdit* field);

}  // namespace kelvora::ui
