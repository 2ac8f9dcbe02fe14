// « Conception avancée »: never loses or silently changes a design, shows
// only current results, and is heard by screen readers.
#include <QAccessible>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QValueAxis>

#include "io/designfile.h"
#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/curves.h"
#include "model/design/keys.h"
#include "model/design/shown.h"
#include "tests/support/faces.h"
#include "tests/support/keyed.h"
#include "tests/ui/workbench_fixture.h"
#include "ui/designform.h"
#include "ui/designwindow.h"
#include "ui/plots/designplots.h"
#include "ui/plotset.h"

namespace kelvora::ui {
namespace {

class DesignWindowTest : public testing::WorkbenchTest {
  protected:
    DesignWindow& open() {
        bench().openDesignWindow();
        DesignWindow* w = bench().designWindow();
        EXPECT_TRUE(w && w->isVisible());
        return *w;
    }
    // A file made with another instrument in its design.
    QString fileWithDesign() {
        io::DesignFile f;
        f.design = testkeys::designWith({{"detecteur", "IMX533"},
                                         {"geometrie", "littrow"},
                                         {"traits_mm", "1800"},
                                         {"collimateur_mm", "200"},
                                         {"objectif_mm", "85"},
                                         {"lambda_a", "6563"}});
        f.hasDesign = true;
        const QString p = path("be.kelvora");
        EXPECT_EQ(io::writeDesignFile(p.toStdString(), f), "");
        return p;
    }
    static DesignPlots& plots(const DesignWindow& w) {
        return *static_cast<DesignPlots*>(w.plots());
    }
    static QString shown(double v) { return designform::resultText(v, QLocale::system()); }
    // Every result as the model gives it for this input.
    static void expectResultsOf(DesignWindow& w, const design::DesignInput& in) {
        const design::DesignResult r = *design::evaluate(in).result;
        for (const design::NamedResult& n : design::namedResults(r, in.cible_snr > 0)) {
            if (n.cell.kind == design::ResultCell::Kind::Number) {
                EXPECT_EQ(w.result(n.name)->text(), shown(n.cell.number)) << n.name;
            }
        }
    }
    static void choose(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
    }
};

TEST_F(DesignWindowTest, AnOpenedDesignIsShownAndSavedBackUnchanged) {
    const QString p = fileWithDesign();
    ASSERT_TRUE(bench().openFile(p));
    DesignWindow& w = open();
    EXPECT_EQ(w.field("traits_mm")->text(), "1800");
    EXPECT_EQ(w.field("objectif_mm")->text(), "85");
    EXPECT_EQ(w.sensorChoice()->currentText(), "IMX533");
    EXPECT_EQ(w.geometryChoice()->currentText(), "Littrow");
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(w.windowTitle(), "Conception avancée — be.kelvora[*] — Kelvora");
    const QByteArray before = [&] {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_TRUE(bench().save());
    QFile after(p);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(DesignWindowTest, StartsFromTheFormOnlyWhileNoDesignIsHeld) {
    type("txtTraits", "1200");
    DesignWindow& w = open();
    EXPECT_EQ(w.field("traits_mm")->text(), "1200") << "no design held: the form's";
    EXPECT_FALSE(bench().modified());
    w.field("objectif_mm")->setText("85.5");
    w.close();
    type("txtTraits", "600");
    open();
    EXPECT_EQ(w.field("traits_mm")->text(), "1200") << "edited: the design is kept";
    EXPECT_EQ(w.field("objectif_mm")->text(), "85.5");
    w.findChild<QAction*>("reprendre")->trigger();
    EXPECT_EQ(w.field("traits_mm")->text(), "600");
    EXPECT_EQ(w.field("objectif_mm")->text(), text("txtChambre"));
    EXPECT_TRUE(w.isWindowModified());
}

// The window and `kelvora-calc conception detecteur=…` agree, whatever
// sensor was chosen before.
TEST_F(DesignWindowTest, ASensorsResultsDoNotDependOnThePreviousChoice) {
    DesignWindow& w = open();
    choose(w.sensorChoice(), "IMX533");
    choose(w.sensorChoice(), "KAF-0400");
    const design::DesignInput expected = testkeys::designWith({{"detecteur", "KAF-0400"}});
    EXPECT_EQ(w.field("qe")->text(), "0" + QLocale::system().decimalPoint() + "4");
    expectResultsOf(w, expected);
    choose(w.sensorChoice(), "IMX174");  // written as the catalogue writes it
    EXPECT_EQ(w.field("pixel_um")->text(), "5" + QLocale::system().decimalPoint() + "86");
}

TEST_F(DesignWindowTest, AnInvalidInputLeavesNothingStaleOnScreen) {
    DesignWindow& w = open();
    ASSERT_FALSE(w.result("snr")->text().isEmpty());
    auto* exportAction = w.findChild<QAction*>("exporterConception");
    auto* png = w.findChild<QPushButton*>("spectre_png");
    for (const auto& [key, text, error] :
         {std::tuple{"seeing_arcsec", "abc",
                     "« Seeing (\") » : « abc » n'est pas un nombre (le séparateur décimal est le "
                     "point)"},
          {"lambda_a", "0", "valeur impossible : « Longueur d'onde (Å) » = 0 (doit être > 0)"}}) {
        w.field(key)->setText(text);
        EXPECT_EQ(w.errorLabel()->text(), error);
        EXPECT_EQ(w.result("snr")->text(), "") << key;
        EXPECT_FALSE(w.result("resolution")->isEnabled());
        EXPECT_FALSE(exportAction->isEnabled());
        EXPECT_FALSE(png->isEnabled());
        auto* stack = static_cast<QStackedWidget*>(plots(w).spectrumView()->parentWidget());
        EXPECT_EQ(stack->currentIndex(), 1) << "the plot says why instead";
        EXPECT_TRUE(static_cast<QLabel*>(stack->currentWidget())->text().contains(error));
        w.field(key)->setText(key == std::string("lambda_a") ? "5500" : "2");
        EXPECT_FALSE(w.errorLabel()->isVisibleTo(&w));
        EXPECT_TRUE(png->isEnabled());
        EXPECT_EQ(stack->currentIndex(), 0);
    }
}

// Long results, errors and verdicts never widen the window.
TEST_F(DesignWindowTest, WidthStaysAsValuesChange) {
    DesignWindow& w = open();
    const int width = w.sizeHint().width();
    for (const auto& [key, text] : {std::pair{"traits_mm", "2400"},
                                    {"lambda_a", "6563"},
                                    {"lambda_a", "1e-9"},
                                    {"mag_etoile", "-26.7"},
                                    {"diametre_mm", "abcdefghijklmnopqrstuvwxyz0123456789"}}) {
        w.field(key)->setText(text);
        EXPECT_EQ(w.sizeHint().width(), width) << key << "=" << text;
    }
}

// Without a file, the design window's edits are still asked about; the
// form alone never is.
TEST_F(DesignWindowTest, UnsavedDesignIsAskedAboutWithoutAFile) {
    DesignWindow& w = open();
    EXPECT_TRUE(bench().mayClose());
    w.field("traits_mm")->setText("600");
    watchdog_.expectBox(QMessageBox::Cancel);
    EXPECT_FALSE(bench().mayClose());
    EXPECT_EQ(watchdog_.lastText, "Enregistrer les modifications ?");
    watchdog_.expectBox(QMessageBox::Discard);
    click("cmdAnnuler");
}

// What a screen reader hears, and a change made through the accessibility
// interface as an assistive tool makes it.
TEST_F(DesignWindowTest, ResultsAreHeardAndAssistiveChangesRecompute) {
    DesignWindow& w = open();
    QAccessibleInterface* snr = QAccessible::queryAccessibleInterface(w.result("snr"));
    ASSERT_TRUE(snr);
    EXPECT_EQ(snr->text(QAccessible::Name), "S/N par pixel");
    EXPECT_EQ(snr->text(QAccessible::Value), w.result("snr")->text());
    EXPECT_FALSE(snr->text(QAccessible::Value).isEmpty());
    QAccessibleInterface* diameter = QAccessible::queryAccessibleInterface(w.field("diametre_mm"));
    diameter->setText(QAccessible::Value, QStringLiteral("400"));
    design::DesignInput in = bench().design().design;
    EXPECT_EQ(in.diametre_mm, 400);
    expectResultsOf(w, in);
    diameter->setText(QAccessible::Value, QStringLiteral("abc"));
    EXPECT_EQ(snr->text(QAccessible::Value), "");
    EXPECT_TRUE(snr->state().disabled);
}

TEST_F(DesignWindowTest, TitleAndSaveCoverTheWholeFile) {
    const QString p = fileWithDesign();
    ASSERT_TRUE(bench().openFile(p));
    DesignWindow& w = open();
    type("txtDiametre", "250");
    w.field("traits_mm")->setText("2400");
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_TRUE(window().isWindowModified());
    w.findChild<QMenuBar*>()->actions()[0]->menu()->actions()[0]->trigger();  // « Enregistrer »
    EXPECT_FALSE(w.isWindowModified());
    io::DesignFile back;
    ASSERT_EQ(io::readDesignFile(p.toStdString(), DetectorCatalogue(), back), "");
    EXPECT_EQ(back.window.texts[indexOf(Control::txtDiametre)], "250");
    EXPECT_EQ(back.design.traits_mm, 2400);
    EXPECT_EQ(back.design.detecteur, "IMX533");
}

TEST_F(DesignWindowTest, GeometriesHaveFrenchNamesAndKeepTheirKeys) {
    DesignWindow& w = open();
    QStringList names;
    for (int i = 0; i < w.geometryChoice()->count(); ++i) names << w.geometryChoice()->itemText(i);
    EXPECT_EQ(names, QStringList({"normale", "incidence donnée", "Littrow", "déviation fixe",
                                  "faisceau convergent (sans fente)"}));
    choose(w.geometryChoice(), "faisceau convergent (sans fente)");
    EXPECT_EQ(bench().design().design.geometrie, design::Geometry::Convergent);
    EXPECT_NE(io::serializeDesignFile(bench().design()).find("\"convergent\""), std::string::npos);
}

// Typed sensor values keep the last catalogue name, so the file reads back.
TEST_F(DesignWindowTest, TypedSensorValuesReadBackFromTheFile) {
    DesignWindow& w = open();
    choose(w.sensorChoice(), "(saisi)");
    w.field("qe")->setText("0.5");
    io::DesignFile back;
    ASSERT_EQ(
        io::parseDesignFile(io::serializeDesignFile(bench().design()), DetectorCatalogue(), back),
        "");
    EXPECT_EQ(back.design.qe, 0.5);
    EXPECT_EQ(back.design.detecteur, "KAF-0400");
}

// The plots draw the model's own curves and marks.
TEST_F(DesignWindowTest, PlotsDrawTheModelsCurves) {
    DesignWindow& w = open();
    w.field("cible_snr")->setText("100");
    const design::DesignInput in = bench().design().design;
    const design::DesignOutcome outcome = design::evaluate(in);
    const design::DesignResult r = *outcome.result;
    const PlotSet set =
        design::describePlots(in, outcome, design::linesOnSensor(in, outcome, bench().lines()));
    EXPECT_EQ(set[0].curves[0].second, design::snrAgainstExposure(in));
    EXPECT_EQ(set[0].mark->x, r.pose_cible_s);
    EXPECT_EQ(set[1].mark->x, r.magnitude_limite);
    EXPECT_EQ(set[2].curves[0].second.front().second, design::wavelengthAtPixel(in, 0));
    const auto points = [](QChartView* v) {
        return static_cast<QLineSeries*>(v->chart()->series().first())->points();
    };
    ASSERT_EQ(points(plots(w).exposureView()).size(),
              static_cast<qsizetype>(set[0].curves[0].second.size()));
    EXPECT_EQ(points(plots(w).exposureView()).back(),
              QPointF(set[0].curves[0].second.back().first, set[0].curves[0].second.back().second));
    EXPECT_EQ(plots(w).exposureView()->chart()->series().size(), 3) << "curve, target, mark";
}

// Plots fit for a report: round ticks, a legend of what is drawn, a wide PNG.
TEST_F(DesignWindowTest, PlotsHaveRoundTicksAndExportForAReport) {
    DesignWindow& w = open();
    for (QChartView* v : {plots(w).exposureView(), plots(w).spectrumView()}) {
        for (QAbstractAxis* a : v->chart()->axes()) {
            auto* axis = qobject_cast<QValueAxis*>(a);
            ASSERT_TRUE(axis);
            // The axes span the model's frame exactly (names are placed in
            // it); ticks fall on round values inside it.
            EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
            const double step = axis->tickInterval();
            const double unit = std::pow(10, std::floor(std::log10(step)));
            const double mantissa = step / unit;
            EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5 || mantissa == 10)
                << "tick step " << step;
            EXPECT_DOUBLE_EQ(std::remainder(axis->tickAnchor(), step), 0.0);
            EXPECT_GE(axis->tickAnchor(), axis->min());
            EXPECT_FALSE(axis->titleText().isEmpty());
        }
        for (QLegendMarker* m : v->chart()->legend()->markers()) {
            if (m->isVisible()) {
                EXPECT_FALSE(m->label().isEmpty());
            }
        }
    }
    EXPECT_EQ(plots(w).exposureView()->chart()->series().size(), 2) << "no target: no line";
    const QString png = path("spectre.png");
    ASSERT_TRUE(DesignPlots::exportTo(plots(w).spectrumView(), png));
    EXPECT_EQ(QImage(png).width(), DesignPlots::kPngWidth);
    const QString svg = path("spectre.svg");
    ASSERT_TRUE(DesignPlots::exportTo(plots(w).spectrumView(), svg));
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString family = QFontInfo(QApplication::font()).family();
    EXPECT_TRUE(f.readAll().contains(("font-family=\"" + family + "\"").toUtf8()));
}

// The design's keys and results, as the companion writes them.
TEST_F(DesignWindowTest, ExportsTheDesignAsCsvAndJson) {
    DesignWindow& w = open();
    w.field("cible_snr")->setText("100");
    ASSERT_TRUE(w.exportTo(path("c.csv")));
    ASSERT_TRUE(w.exportTo(path("c.json")));
    QFile csv(path("c.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("diametre_mm,focale_mm,"));
    EXPECT_TRUE(lines[0].endsWith(
        ",pose_cible_s,magnitude_limite,saturation_cible,poses_min_cible,erreur"));
    EXPECT_TRUE(lines[1].startsWith("200,1200,25,2,2,1.2,0,0.1,0,90,90,normale,300,1,"))
        << lines[1].toStdString();
    QFile json(path("c.json"));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_TRUE(json.readAll().contains("\"cible_snr\": 100"));
}

// « Imprimer… » and « Exporter en PDF… » draw the report on one A4 page,
// the same as the companion's --rapport.
TEST_F(DesignWindowTest, ThePdfReportIsOneA4Page) {
    DesignWindow& w = open();
    const auto* menu = w.findChild<QMenuBar*>(QStringLiteral("menuConception"));
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("imprimer")));
    EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("exporterPdf")));
    w.field("cible_snr")->setText("100");
    ASSERT_EQ(w.exportReportTo(path("rapport.pdf")), QString());
    QFile f(path("rapport.pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(f.readAll());
    EXPECT_TRUE(pdf.startsWith(QStringLiteral("%PDF")));
    EXPECT_EQ(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
    EXPECT_NE(w.exportReportTo(path("absent/rapport.pdf")), QString());
}

// « Étalonner sur un spectre… » on a synthetic spectrum made with a known
// efficiency: the measured curve within 3 % of it, used by every result
// after « Utiliser ce rendement », said under the results, and removable.
TEST_F(DesignWindowTest, CalibratingOnASpectrumMeasuresTheEfficiency) {
    DesignWindow& w = open();
    const design::DesignInput observing = testkeys::with(testkeys::kObserving);
    w.load(observing);
    const auto factor = [](double l) { return 0.5 + 0.2 * (l - 5000) / 2000; };
    const design::ObservedSpectrum s = design::syntheticSpectrum(observing, factor, 60, 3);
    QFile f(path("nuit.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# EXPTIME = 60\nOBJNAME = 'Vega bis'\n");
    for (std::size_t i = 0; i < s.flux.size(); ++i)
        f.write(QByteArray::number(s.lambda_a[i], 'g', 17) + " " +
                QByteArray::number(s.flux[i], 'g', 17) + "\n");
    f.close();
    const double before = w.result("snr")->text().toDouble();
    QDialog* dialog = w.calibrateWith(path("nuit.txt"));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->findChild<QWidget*>(QStringLiteral("etalonnage_signal")));
    ASSERT_TRUE(dialog->findChild<QWidget*>(QStringLiteral("etalonnage_rapport")));
    dialog->findChild<QPushButton*>(QStringLiteral("utiliserRendement"))->click();
    ASSERT_EQ(w.input().etalonnages.size(), 1u);
    ASSERT_GT(w.input().etalonnages[0].points.size(), 20u);
    for (const auto& [l, r] : w.input().etalonnages[0].points)
        EXPECT_NEAR(r / factor(l), 1, 0.03) << l;
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("rendementMesure"))
                    ->text()
                    .startsWith(QStringLiteral("rendement mesuré le ")));
    // S/N goes as √signal when the star dominates: about √0.6 of before at 6000 Å.
    EXPECT_NEAR(w.result("snr")->text().toDouble() / before, std::sqrt(factor(6000)), 0.05);
    // The same spectrum said to be at 2 e⁻/ADU: twice the light, a second
    // calibration listed and removable on its own.
    dialog = w.calibrateWith(path("nuit.txt"));
    ASSERT_TRUE(dialog);
    dialog->findChild<QLineEdit*>(QStringLiteral("gain_e_adu"))->setText(QStringLiteral("2"));
    dialog->findChild<QPushButton*>(QStringLiteral("recalculer"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dialog = nullptr;
    for (QDialog* d : w.findChildren<QDialog*>(QStringLiteral("etalonnage")))
        if (d->isVisible()) dialog = d;
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("gain_e_adu"))->text(), "2");
    dialog->findChild<QPushButton*>(QStringLiteral("utiliserRendement"))->click();
    ASSERT_EQ(w.input().etalonnages.size(), 2u);
    const auto middle = [&](std::size_t i) {
        const auto& points = w.input().etalonnages[i].points;
        const auto& [l, r] = points[points.size() / 2];
        return r / factor(l);
    };
    EXPECT_NEAR(middle(1), 2, 0.06);
    w.findChild<QAction*>(QStringLiteral("retirerEtalonnage1"))->trigger();
    ASSERT_EQ(w.input().etalonnages.size(), 1u);
    EXPECT_NEAR(middle(0), 1, 0.03);
    w.findChild<QAction*>(QStringLiteral("retirerRendement"))->trigger();
    EXPECT_TRUE(w.input().etalonnages.empty());
    EXPECT_EQ(w.result("snr")->text().toDouble(), before);
}

// A calibrated design file (the example, calibrated as the companion's
// --enregistrer does) opens with its measured efficiency, computes what the
// model computes from the file, and saves back byte for byte.
TEST_F(DesignWindowTest, ACalibratedDesignOpensComputesAndSavesTheSame) {
    const std::string example = KELVORA_SOURCE_DIR "/docs/exemple/";
    io::DesignFile file;
    ASSERT_EQ(io::readDesignFile(example + "instrument-exemple.kelvora", DetectorCatalogue(), file),
              "");
    const io::SpectrumRead spectrum = io::readSpectrumFile(example + "spectre-exemple.fits");
    ASSERT_EQ(spectrum.error, "");
    const design::Calibration c =
        design::calibrate(file.design, spectrum.spectrum, "2026-11-30", "spectre-exemple.fits");
    ASSERT_EQ(c.error, "");
    file.design.etalonnages = {c.ratio};
    const QString p = path("etalonne.kelvora");
    ASSERT_EQ(io::writeDesignFile(p.toStdString(), file), "");
    ASSERT_TRUE(bench().openFile(p));
    DesignWindow& w = open();
    EXPECT_EQ(w.input().etalonnages, file.design.etalonnages);
    const double snr = design::evaluate(file.design).result->snr;
    EXPECT_EQ(w.result("snr")->text(), design::shownResult(snr, ".").c_str());
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("rendementMesure"))->isVisibleTo(&w));
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    ASSERT_TRUE(bench().save());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

// Under French settings (the ui_french_settings run) the design window
// reads and shows the comma.
// Typed into the window, the sensor chosen first, the keys of every face's
// table give the design the model's reader gives.
TEST_F(DesignWindowTest, TypedKeysGiveWhatEveryFaceGives) {
    DesignWindow& w = open();
    for (const testkeys::Pairs& keys : testkeys::facesDesigns()) {
        w.load(design::DesignInput{});
        for (const auto& [key, text] : keys)
            if (key == "detecteur") choose(w.sensorChoice(), QString::fromStdString(text));
        for (const auto& [key, text] : keys) {
            if (key == "detecteur") continue;
            auto* box = w.findChild<QComboBox*>(QString::fromStdString(key));
            if (key == "geometrie")
                box->setCurrentIndex(static_cast<int>(*design::geometryByName(text)));
            else if (box)
                box->setCurrentIndex(box->findData(QString::fromStdString(text)));
            else
                w.field(key)->setText(QString::fromStdString(text));
        }
        std::vector<design::KeyValue> values;
        for (const auto& [key, text] : keys) values.push_back({key, text});
        const design::DesignInput expected =
            design::designFromKeys(values, DetectorCatalogue()).input;
        for (const std::string& key : design::inputKeys())
            EXPECT_EQ(design::keyText(w.input(), key), design::keyText(expected, key)) << key;
        expectResultsOf(w, expected);
    }
}

// A bad value typed in a field is said as every face says it.
TEST_F(DesignWindowTest, TypedMistakesAreSaidAsEverywhere) {
    if (QLocale::system().decimalPoint() != QLatin1Char('.')) GTEST_SKIP() << "the table's texts";
    DesignWindow& w = open();
    const testkeys::Json table = testkeys::facesTable();  // held: the loop refers into it
    for (const testkeys::Json& bad : table["bad"]) {
        const std::string key = bad["key"];
        if (!design::isInputKey(key) || design::isTextKey(key)) continue;  // no such field
        w.field(key)->setText(QString::fromStdString(bad["text"]));
        EXPECT_EQ(w.errorLabel()->text().toStdString(), bad["said"].get<std::string>());
        w.load(design::DesignInput{});
    }
}

TEST_F(DesignWindowTest, FrenchSettingsReadAndShowTheComma) {
    KELVORA_REQUIRE_FRENCH();
    DesignWindow& w = open();
    w.field("seeing_arcsec")->setText("2,5");
    EXPECT_FALSE(w.errorLabel()->isVisibleTo(&w));
    EXPECT_EQ(bench().design().design.seeing_arcsec, 2.5);
    w.field("qe")->setText("0.5");
    EXPECT_EQ(bench().design().design.qe, 0.5) << "the period is always accepted";
    EXPECT_TRUE(w.result("dispersion_a_px")->text().contains(QLatin1Char(',')));
    EXPECT_EQ(w.field("seeing_arcsec")->text(), "2,5");
}

}  // namespace
}  // namespace kelvora::ui
