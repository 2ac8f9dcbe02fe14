// The menu bar's workbench: design files, the question on close, reading
// notes.
#include <QAction>
#include <QMenuBar>
#include <QTextBrowser>

#include "tests/ui/workbench_fixture.h"
#include "ui/paths.h"

namespace kelvora::ui {
namespace {

using testing::WorkbenchTest;

TEST_F(WorkbenchTest, MenusWithShortcutsOutsideTheTabOrder) {
    QMenuBar* bar = window().findChild<QMenuBar*>();
    ASSERT_TRUE(bar);
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&Fichier", "O&utils", "&Aide"}));
    EXPECT_EQ(bar->actions()[0]->menu()->actions()[1]->shortcut(),
              QKeySequence(QKeySequence::Open));
    EXPECT_EQ(bar->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(window().windowTitle(), "Kelvora");
}

TEST_F(WorkbenchTest, OpeningRestoresTheFormAndEmptiesTheResults) {
    click("cmdCalcul");
    const QString p = savedAndRetyped();
    EXPECT_EQ(text("txtTraits"), "600");
    EXPECT_EQ(text("txtSB"), "");
    EXPECT_TRUE(get<QRadioButton>("optFente")->isChecked());
    EXPECT_TRUE(field("txtSlitWide")->isEnabled());
    EXPECT_EQ(window().windowTitle(), "a.kelvora[*] — Kelvora");
    EXPECT_TRUE(window().isWindowModified()) << "typed after opening";
    ASSERT_TRUE(bench().save());
    EXPECT_FALSE(window().isWindowModified());
    io::DesignFile back;
    ASSERT_EQ(io::readDesignFile(p.toStdString(), DetectorCatalogue(), back), "");
    EXPECT_EQ(back.window.texts[indexOf(Control::txtDiametre)], "2005");
}

TEST_F(WorkbenchTest, ABrokenFileChangesNothing) {
    const QString p = path("broken.kelvora");
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": \"kelvora\", \"version\": 9}");
    f.close();
    type("txtTraits", "150");
    watchdog_.expectBox();
    EXPECT_FALSE(bench().openFile(p));
    EXPECT_TRUE(watchdog_.lastText.startsWith("« " + p + " » : version 9"));
    EXPECT_EQ(text("txtTraits"), "150");
    EXPECT_EQ(window().windowTitle(), "Kelvora");
}

// With unsaved changes to a held file, closing asks; the answers save,
// discard or cancel. Without a file the program ends at once.
TEST_F(WorkbenchTest, TheQuestionOnClose) {
    EXPECT_TRUE(bench().mayClose()) << "no file: no question";
    const QString p = savedAndRetyped();
    watchdog_.expectBox(QMessageBox::Cancel);
    EXPECT_FALSE(bench().mayClose());
    EXPECT_EQ(watchdog_.lastText, "Enregistrer les modifications ?");
    watchdog_.expectBox(QMessageBox::Discard);
    EXPECT_TRUE(bench().mayClose());
    watchdog_.expectBox(QMessageBox::Save);
    EXPECT_TRUE(bench().mayClose());
    EXPECT_FALSE(window().isWindowModified());
    EXPECT_TRUE(bench().mayClose()) << "saved: no question";
}

TEST_F(WorkbenchTest, ReadingNotesComeAndGoAsTheUserTypes) {
    QLineEdit* d = field("txtDiametre");
    const QColor plain = d->palette().color(QPalette::Text);
    QTest::keyClicks(d, ",5");
    EXPECT_NE(d->palette().color(QPalette::Text), plain);
    EXPECT_TRUE(d->actions().isEmpty()) << "no mark over the text";
    EXPECT_EQ(d->toolTip(), "« 200,5 » est lu comme 200 (le séparateur décimal est le point)");
    EXPECT_EQ(d->accessibleDescription(), d->toolTip());
    QTest::keyClick(d, Qt::Key_Backspace);
    QTest::keyClick(d, Qt::Key_Backspace);
    EXPECT_EQ(d->palette().color(QPalette::Text), plain);
    EXPECT_EQ(d->toolTip(), "");
    d->clear();
    EXPECT_EQ(d->toolTip(), "champ vide, lu comme 0");
}

// What the user sees: the inputs as typed, then the results as numbers.
TEST_F(WorkbenchTest, ExportedResultsCarryTheInputs) {
    type("txtTraits", "600");
    ASSERT_TRUE(bench().exportResultsTo(path("r.csv")));
    QFile f(path("r.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    EXPECT_EQ(lines[0],
              "txtDiametre,txtFocale,txtSeeing,txtTraits,txtOrdre,txtCollimateur,txtChambre,"
              "txtDistance,txtWavelength,txtMagEtoile,txtMagCiel,txtTi,txtNexposure,txtSlitWide,"
              "txtBruit,txtBin1,txtBin2,detector,model,txtAngle,txtDispersion,txtLambda1,"
              "txtLambda2,txtSeparation,txtResolution,lblLambda,txtDCollimateur,txtDGrating,"
              "txtDChambre,txtFD,txtSB,erreur");
    EXPECT_TRUE(lines[1].startsWith("200,1200,2,600,1,")) << lines[1].toStdString();
    for (const auto& [typed, kept] :
         {std::pair{"r", "r.csv"}, {"r.CSV", "r.CSV"}, {"r.txt", "r.txt.csv"}})
        EXPECT_EQ(withSuffix(typed, "csv"), kept);
}

// « Aide › Manuel » opens the French manual built into the program.
TEST_F(WorkbenchTest, TheManualOpensInFrench) {
    QMenu* help = window().findChild<QMenuBar*>()->actions()[2]->menu();
    help->actions()[0]->trigger();
    auto* text = window().findChild<QTextBrowser*>("texteManuel");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->toPlainText().startsWith("Manuel de Kelvora"));
    EXPECT_TRUE(text->toPlainText().contains("Reprendre les valeurs de la fenêtre"));
    help->actions()[0]->trigger();
    EXPECT_EQ(window().findChildren<QTextBrowser*>().size(), 1) << "one manual window";
}

}  // namespace
}  // namespace kelvora::ui
