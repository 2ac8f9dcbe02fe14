// « Proposer… » and the « Raies » tab: the candidates a user can sort and
// load, and the lines the design shows.
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTextBrowser>

#include "tests/ui/workbench_fixture.h"
#include "ui/designwindow.h"
#include "ui/plots/designplots.h"
#include "ui/proposerwindow.h"

namespace kelvora::ui {
namespace {

class ProposerTest : public testing::WorkbenchTest {
  protected:
    ProposerWindow& open() {
        bench().openDesignWindow();
        bench().designWindow()->field("lambda_a")->setText("6563");
        bench().openProposer();
        return *bench().proposer();
    }
};

TEST_F(ProposerTest, CandidatesFollowTheTargetSortAndLoadUndoably) {
    ProposerWindow& p = open();
    p.field("resolution_cible")->setText("10000");
    ASSERT_GE(p.table()->rowCount(), 3) << p.status()->text().toStdString();
    for (const design::Candidate& c : p.candidates()) EXPECT_GE(c.result.resolution, 10000);
    p.table()->sortItems(1, Qt::DescendingOrder);  // traits/mm, as numbers
    EXPECT_GE(p.table()->item(0, 1)->data(Qt::UserRole + 1).toDouble(),
              p.table()->item(p.table()->rowCount() - 1, 1)->data(Qt::UserRole + 1).toDouble());
    DesignWindow& w = *bench().designWindow();
    const design::DesignInput before = w.input();
    const int index = p.table()->item(0, 0)->data(Qt::UserRole).toInt();
    p.loadRow(0);
    const design::Candidate& chosen = p.candidates()[static_cast<std::size_t>(index)];
    EXPECT_EQ(w.input().traits_mm, chosen.input.traits_mm);
    EXPECT_EQ(w.input().objectif_mm, chosen.input.objectif_mm);
    EXPECT_TRUE(w.isWindowModified());
    w.findChild<QAction*>("annulerChargement")->trigger();
    EXPECT_EQ(w.input().traits_mm, before.traits_mm);
    p.field("resolution_cible")->setText("900000");
    EXPECT_EQ(p.table()->rowCount(), 0);
    EXPECT_TRUE(p.status()->text().startsWith("aucune conception n'atteint R = 900"));
    p.field("reseaux")->setText("600,abc");
    EXPECT_TRUE(p.status()->text().startsWith("« Réseaux (traits/mm) » : « abc »"))
        << p.status()->text().toStdString();
}

TEST_F(ProposerTest, TheSpectrumMarksTheLinesAndTheTabJudgesThePairs) {
    bench().openDesignWindow();
    DesignWindow& w = *bench().designWindow();
    auto& plots = *static_cast<DesignPlots*>(w.plots());
    QStringList marked;
    for (QAbstractSeries* s : plots.spectrumView()->chart()->series())
        if (auto* point = qobject_cast<QScatterSeries*>(s)) marked << point->pointLabelsFormat();
    EXPECT_TRUE(marked.contains("Hα"));
    EXPECT_TRUE(marked.contains("Na I D1"));
    auto* notes = w.findChild<QTextBrowser*>("raies");
    ASSERT_TRUE(notes);
    EXPECT_TRUE(notes->toPlainText().contains("Na D1/D2"));
    EXPECT_TRUE(notes->toPlainText().contains("non séparé"));
    w.field("traits_mm")->setText("1200");
    w.field("lambda_a")->setText("5890");
    EXPECT_FALSE(notes->toPlainText().contains("non séparé")) << notes->toPlainText().toStdString();
}

}  // namespace
}  // namespace kelvora::ui
