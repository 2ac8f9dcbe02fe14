#include <QLocale>
#include <QTranslator>

#include "tests/ui/window_fixture.h"
#include "model/windowlayout.h"
#include "ui/translations.h"

namespace kelvora::ui {
namespace {

using testing::WindowTest;

// The window is laid out at one scale; enlarging it moves nothing.
TEST_F(WindowTest, FixedFormThatShowsEveryDefaultResultWhole) {
    click("cmdCalcul");
    for (const char* name : {"txtLambda1", "txtLambda2", "txtSB"}) {
        const QLineEdit* e = field(name);
        EXPECT_LE(e->fontMetrics().horizontalAdvance(e->text()), e->contentsRect().width()) << name;
    }
    const QRect before = get("txtSB")->geometry();
    window().resize(window().width() + 200, window().height() + 100);
    EXPECT_EQ(get("txtSB")->geometry(), before) << "resizing moves nothing";
}

// Under French regional settings (a ctest run sets LC_ALL=fr_FR.UTF-8),
// results show a comma.
TEST_F(WindowTest, FrenchSettingsShowAComma) {
    KELVORA_REQUIRE_FRENCH();
    click("cmdCalcul");
    EXPECT_EQ(text("txtAngle"), "9,497");
    EXPECT_EQ(text("txtDChambre"), "24,");
}

// Qt's own buttons speak French under French settings; other settings keep
// Qt's English, the program's texts being French anyway.
TEST(QtTranslations, FrenchSettingsGiveFrenchDialogButtons) {
    EXPECT_FALSE(installQtTranslations(QLocale(QLocale::German)));
    ASSERT_TRUE(installQtTranslations(QLocale(QLocale::French, QLocale::France)));
    QMessageBox box(QMessageBox::Question, "Kelvora", "?", QMessageBox::Save | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Annuler");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "&Nom de fichier :");
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {  // the other tests' English
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

}  // namespace
}  // namespace kelvora::ui
