#pragma once

#include <QLocale>

namespace kelvora::ui {

// Qt's own texts (file dialogs, message box buttons) in the language of the
// regional settings when Qt has it; the program's texts are French anyway.
// True if a translation was installed.
bool installQtTranslations(const QLocale& locale);

}  // namespace kelvora::ui
