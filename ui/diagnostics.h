#pragma once

class QLineEdit;

namespace kelvora::ui {

// A warning mark inside an input field whose text the leading-number rule
// does not read whole; its tooltip and accessible description say how the
// text is read. The mark follows the text as the user types.
void attachReadingNotes(QLineEdit* field);

}  // namespace kelvora::ui
