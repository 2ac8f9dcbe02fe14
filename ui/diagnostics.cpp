#include "ui/diagnostics.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QStyle>

#include "model/numbertext.h"

namespace kelvora::ui {

// The mark is in the field only while it has something to say: a line
// edit keeps room for its actions, hidden or not, and the form's narrow
// fields have none to spare.
void attachReadingNotes(QLineEdit* field) {
    auto* mark = new QAction(field);
    mark->setObjectName(field->objectName() + QStringLiteral("_note"));
    QObject::connect(field, &QLineEdit::textChanged, mark, [field, mark](const QString& text) {
        const QString note = QString::fromStdString(readingNote(text.toStdString()));
        const bool shown = field->actions().contains(mark);
        if (note.isEmpty()) {
            if (shown) field->removeAction(mark);
        } else {
            if (mark->icon().isNull())  // the style is asked once it is needed
                mark->setIcon(field->style()->standardIcon(QStyle::SP_MessageBoxWarning));
            if (!shown) field->addAction(mark, QLineEdit::TrailingPosition);
        }
        mark->setToolTip(note);
        field->setToolTip(note);
        field->setAccessibleDescription(note);
    });
}

}  // namespace kelvora::ui
