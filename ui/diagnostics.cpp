#include "ui/diagnostics.h"

#include <QLineEdit>
#include <QPalette>

#include "model/numbertext.h"

namespace kelvora::ui {

// The note shows as the text's colour, the tooltip and the accessible
// description: a mark inside the form's narrow fields would cover the
// very text it is about.
void attachReadingNotes(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString& text) {
        const QString note = QString::fromStdString(readingNote(text.toStdString()));
        QPalette pal = field->palette();
        pal.setColor(QPalette::Text, note.isEmpty()
                                         ? field->parentWidget()->palette().color(QPalette::Text)
                                         : QColor(0xb0, 0x40, 0x00));
        field->setPalette(pal);
        field->setToolTip(note);
        field->setAccessibleDescription(note);
    });
}

}  // namespace kelvora::ui
