// « Soleil » in the design window: the Sun's inputs, results and pictures in
// place of the star's, every row readable, and the proposer's own columns.
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>

#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "tests/ui/workbench_fixture.h"
#include "ui/designwindow.h"
#include "ui/plots/designplots.h"
#include "ui/proposerwindow.h"

namespace kelvora::ui {
namespace {

class SunWindowTest : public testing::WorkbenchTest {
  protected:
    DesignWindow& openSun() {
        bench().openDesignWindow();
        DesignWindow& w = *bench().designWindow();
        QComboBox* line = w.wordChoice("raie");
        line->setCurrentIndex(line->findData(QStringLiteral("halpha")));
        // A spectroheliograph has a slit: 10 µm on 1200 lines/mm isolates Hα's core.
        w.field("traits_mm")->setText("1200");
        w.field("fente_um")->setText("10");
        QComboBox* source = w.wordChoice("source");
        source->setCurrentIndex(1);  // Soleil
        return w;
    }
    static QTabWidget& tabs(const DesignWindow& w) {
        return *w.findChild<QTabWidget*>(QStringLiteral("graphiques"));
    }
};

// A row shown only for one source is shown with room to read it: a form that
// squeezed a row it had hidden before showed the Sun's last results 0 px tall.
void expectRowsFor(const DesignWindow& w, bool sun) {
    for (const design::ResultRow& row : design::resultRows()) {
        const QWidget* value = w.result(row.key);
        const bool wanted = sun ? !row.starOnly : !design::isSunResult(row.key);
        EXPECT_EQ(value->isVisible(), wanted) << row.key;
        if (wanted) {
            EXPECT_GE(value->height(), value->sizeHint().height()) << row.key;
        }
    }
    for (const design::KeyRow& row : design::keyRows()) {
        if (!row.starOnly && !row.sunOnly) continue;
        const QWidget* field = row.number || row.valid ? static_cast<QWidget*>(w.field(row.key))
                                                       : w.wordChoice(row.key);
        EXPECT_EQ(field->isVisible(), row.sunOnly == sun) << row.key;
    }
}

TEST_F(SunWindowTest, TheSunTakesTheStarsPlaceAndEveryRowIsReadable) {
    DesignWindow& w = openSun();
    ASSERT_TRUE(w.valid()) << w.errorLabel()->text().toStdString();
    w.resize(w.minimumSizeHint());
    QTest::qWait(50);
    expectRowsFor(w, true);
    auto& plots = *static_cast<DesignPlots*>(w.plots());
    QTabWidget& t = tabs(w);
    EXPECT_FALSE(t.isTabVisible(t.indexOf(plots.exposureView()->parentWidget()->parentWidget())));
    EXPECT_TRUE(t.isTabVisible(t.indexOf(w.findChild<QWidget*>(QStringLiteral("soleil")))));
    EXPECT_EQ(plots.sunLineView()->chart()->title(),
              "Spectre solaire au centre du disque autour de Hα");
    EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("soleil_dessin"))->accessibleName(),
              "Le disque sur la fente et le capteur, à l'échelle");
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("isole_coeur"))->text(),
              "la fente isole le cœur");
    for (QGroupBox* g : w.findChildren<QGroupBox*>())
        EXPECT_TRUE(g->title() != "Prise de vue" || !g->isVisible());
    // And back to the star: its rows and plots again, the Sun's gone.
    w.wordChoice("source")->setCurrentIndex(0);
    QTest::qWait(50);
    expectRowsFor(w, false);
    EXPECT_TRUE(t.isTabVisible(t.indexOf(plots.exposureView()->parentWidget()->parentWidget())));
    EXPECT_FALSE(t.isTabVisible(t.indexOf(w.findChild<QWidget*>(QStringLiteral("soleil")))));
}

TEST_F(SunWindowTest, TheProposerShowsASpectroheliographsColumns) {
    openSun();
    bench().openProposer();
    ProposerWindow& p = *bench().proposer();
    p.field("geometries")->setText("deviation");
    QStringList headers;
    for (int c = 0; c < p.table()->columnCount(); ++c)
        headers << p.table()->horizontalHeaderItem(c)->text();
    EXPECT_TRUE(headers.contains("Bande passante (Å)")) << headers.join(", ").toStdString();
    EXPECT_FALSE(headers.contains("R"));
}

}  // namespace
}  // namespace kelvora::ui
