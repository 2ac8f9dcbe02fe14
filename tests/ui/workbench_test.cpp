// The menu bar's workbench: design files, the question on close, reading
// notes, and the design window against the model.
#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QLineSeries>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "model/design/curves.h"
#include "model/design/keys.h"
#include "tests/ui/window_fixture.h"
#include "ui/designplots.h"
#include "ui/designwindow.h"
#include "ui/workbench.h"

namespace kelvora::ui {
namespace {

class WorkbenchTest : public testing::WindowTest {
  protected:
    Workbench& bench() { return window().workbench(); }
    QString path(const char* name) { return dir_.filePath(QString::fromLatin1(name)); }
    // A file holding the window as it is, then retyped by the user.
    QString savedAndRetyped() {
        const QString p = path("a.kelvora");
        io::DesignFile f;
        f.window.texts[indexOf(Control::txtTraits)] = "600";
        f.window.barlow = false;
        EXPECT_EQ(io::writeDesignFile(p.toStdString(), f), "");
        EXPECT_TRUE(bench().openFile(p));
        QTest::keyClicks(field("txtDiametre"), "5");
        return p;
    }
    QTemporaryDir dir_;
};

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
    EXPECT_TRUE(d->actions().isEmpty());
    QTest::keyClicks(d, ",5");
    EXPECT_EQ(d->actions().size(), 1);
    EXPECT_EQ(d->toolTip(), "« 200,5 » est lu comme 200 (le séparateur décimal est le point)");
    EXPECT_EQ(d->accessibleDescription(), d->toolTip());
    QTest::keyClick(d, Qt::Key_Backspace);
    QTest::keyClick(d, Qt::Key_Backspace);
    EXPECT_TRUE(d->actions().isEmpty());
    EXPECT_EQ(d->toolTip(), "");
    d->clear();
    EXPECT_EQ(d->toolTip(), "champ vide, lu comme 0");
}

TEST_F(WorkbenchTest, DesignWindowShowsTheModelAndItsPlots) {
    type("txtTraits", "1200");
    bench().openDesignWindow();
    auto* w = bench().designWindow();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_EQ(w->field("traits_mm")->text(), "1200") << "starts from the form";
    w->field("cible_snr")->setText("100");
    emit w->field("cible_snr")->textEdited("100");
    const design::DesignInput in = bench().design().design;
    const design::DesignResult r = *design::evaluate(in).result;
    EXPECT_EQ(w->result("snr")->text(), QLocale::system().toString(r.snr, 'g', 5));
    EXPECT_EQ(w->result("pose_cible_s")->text(),
              QLocale::system().toString(r.pose_cible_s, 'g', 5));
    const auto points = [](QChartView* v) {
        return static_cast<QLineSeries*>(v->chart()->series().first())->points();
    };
    const design::Curve exposure = design::snrAgainstExposure(in);
    ASSERT_EQ(points(w->plots().exposureView()).size(), static_cast<qsizetype>(exposure.size()));
    EXPECT_EQ(points(w->plots().exposureView()).back(),
              QPointF(exposure.back().first, exposure.back().second));
    EXPECT_EQ(points(w->plots().spectrumView()).front().y(), design::wavelengthAtPixel(in, 0));
    EXPECT_TRUE(DesignPlots::exportTo(w->plots().magnitudeView(), path("m.svg")));
    EXPECT_TRUE(DesignPlots::exportTo(w->plots().magnitudeView(), path("m.png")));
    EXPECT_GT(QFileInfo(path("m.svg")).size(), 1000);
    // An impossible instrument is said in place, without a box.
    w->field("traits_mm")->setText("2400");
    w->field("lambda_a")->setText("6563");
    emit w->field("lambda_a")->textEdited("6563");
    EXPECT_TRUE(w->errorLabel()->text().startsWith("pas de diffraction"));
    EXPECT_EQ(w->result("snr")->text(), "");
    w->field("traits_mm")->setText("1200");
    emit w->field("traits_mm")->textEdited("1200");
    EXPECT_FALSE(w->errorLabel()->isVisibleTo(w));
    w->field("qe")->setText("0,5");
    emit w->field("qe")->textEdited("0,5");
    EXPECT_TRUE(w->errorLabel()->text().startsWith("qe : « 0,5 »"));
    EXPECT_TRUE(w->errorLabel()->isVisibleTo(w));
    EXPECT_TRUE(window().isWindowModified() || bench().path().isEmpty());
    // Typed sensor values go into a file that reads back.
    auto* sensor = w->findChild<QComboBox*>("detecteur");
    sensor->setCurrentIndex(sensor->count() - 1);
    emit sensor->activated(sensor->count() - 1);
    w->field("qe")->setText("0.5");
    emit w->field("qe")->textEdited("0.5");
    io::DesignFile back;
    EXPECT_EQ(
        io::parseDesignFile(io::serializeDesignFile(bench().design()), DetectorCatalogue(), back),
        "");
    EXPECT_EQ(back.design.qe, 0.5);
}

}  // namespace
}  // namespace kelvora::ui
