// Where the plots' names go: never over one another, never past the
// plot's edge, and the permitted line keeps its name over a forbidden one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/design/lines.h"
#include "model/design/placement.h"
#include "model/design/plots.h"
#include "model/design/shown.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

// A label box in axis fractions, from the stated size of a name: 6.5 px a
// character plus 4 over the area's width; 14 px high over its height.
struct Box {
    double left, right, bottom, top;
};
Box boxOf(const PlotMark& m, const PlotFrame& f, PlotArea area) {
    std::size_t chars = 0;
    for (char c : m.name) chars += (c & 0xC0) != 0x80;
    const double w = (static_cast<double>(chars) * 6.5 + 4) / area.width;
    const double cx = (m.labelX - f.xLow) / (f.xHigh - f.xLow);
    const double b = (m.labelY - f.yLow) / (f.yHigh - f.yLow);
    return {cx - w / 2, cx + w / 2, b, b + 14.0 / area.height};
}

void expectApartAndInside(const std::vector<PlotMark>& marks, const PlotFrame& f,
                          PlotArea area = {}) {
    constexpr double kEps = 1e-9;
    std::vector<Box> shown;
    for (const PlotMark& m : marks)
        if (m.labelShown) shown.push_back(boxOf(m, f, area));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_GE(shown[i].left, -kEps);
        EXPECT_LE(shown[i].right, 1 + kEps);
        EXPECT_GE(shown[i].bottom, -kEps);
        EXPECT_LE(shown[i].top, 1 + kEps);
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(
                shown[i].left < shown[j].right - kEps && shown[j].left < shown[i].right - kEps &&
                shown[i].bottom < shown[j].top - kEps && shown[j].bottom < shown[i].top - kEps)
                << i << " over " << j;
    }
}

TEST(PlotNames, ALoneNameSitsJustAboveItsPointOrInsideTheEdge) {
    const PlotFrame f{0, 560, 0, 200};  // one unit a pixel
    struct Case {
        double x, y;
        std::string name;
        double labelX, labelY;
    };
    const Case cases[] = {
        {280, 100, "Hα", 280, 105},           // 5 px above, centred
        {560, 100, "Hα", 560 - 8.5, 105},     // 17 px wide: its right edge on the plot's
        {0, 100, "Na D", 15, 105},            // 30 px wide: its left edge on the plot's
        {280, 195, "Hα", 280, 195 - 5 - 14},  // no room above: below it
    };
    for (const Case& c : cases) {
        std::vector<PlotMark> marks{{c.x, c.y, c.name}};
        placeLabels(marks, f, false);
        ASSERT_TRUE(marks[0].labelShown) << c.name;
        EXPECT_NEAR(marks[0].labelX, c.labelX, 1e-9) << c.x;
        EXPECT_NEAR(marks[0].labelY, c.labelY, 1e-9) << c.y;
    }
}

// A name wider than the whole plot has no place: not written (and no
// clamp between bounds that cross).
TEST(PlotNames, ANameWiderThanThePlotIsLeftOut) {
    const PlotFrame f{0, 1, 0, 1};
    for (double width : {40.0, 20.0}) {
        std::vector<PlotMark> marks{{0.5, 0.5, "[S II] 6716 et 6731"}};
        placeLabels(marks, f, false, {width, 200});
        EXPECT_FALSE(marks[0].labelShown) << width;
    }
}

TEST(PlotNames, CloseLinesTakeRowsUnderTheTopAndTheLastOnesAreDropped) {
    const PlotFrame f{6700, 6750, 0, 10};
    std::vector<PlotMark> marks;
    for (int i = 0; i < 4; ++i) marks.push_back({6716.0 + i, 0, "[S II] 671" + std::to_string(i)});
    placeLabels(marks, f, true);
    // Three rows of 14 px under the top of a 200 px plot: 10 × (1 − 14/200·r).
    EXPECT_NEAR(marks[0].labelY, 10 * (1 - 0.07), 1e-9);
    EXPECT_NEAR(marks[1].labelY, 10 * (1 - 0.14), 1e-9);
    EXPECT_NEAR(marks[2].labelY, 10 * (1 - 0.21), 1e-9);
    EXPECT_FALSE(marks[3].labelShown);
    expectApartAndInside(marks, f);
}

TEST(PlotNames, NoDesignsPlotWritesANameOverAnotherAndHalphaKeepsItsOwn) {
    const testkeys::Keys designs[] = {
        {{"lambda_a", "6563"}, {"traits_mm", "1800"}, {"geometrie", "littrow"}},
        {{"lambda_a", "6563"}, {"traits_mm", "150"}, {"geometrie", "convergent"}},
        {{"lambda_a", "5000"}, {"traits_mm", "300"}},
        {{"lambda_a", "6700"}, {"traits_mm", "2400"}, {"geometrie", "littrow"}},
    };
    // The page's smallest plot (280 px wide, its axes taken off), a phone's, a desktop's.
    const PlotArea areas[] = {{210, 182}, {320, 182}, {560, 200}};
    for (const auto& keys : designs)
        for (const PlotArea area : areas) {
            const DesignInput in = testkeys::with(keys);
            const DesignOutcome o = evaluate(in);
            ASSERT_TRUE(o.result);
            for (const PlotDescription& p :
                 describePlots(in, o, linesOnSensor(in, o, builtInLines()), area)) {
                PlotFrame f{INFINITY, -INFINITY, INFINITY, -INFINITY};
                for (const auto& [name, curve] : p.curves)
                    for (const auto& [x, y] : curve) {
                        f.xLow = std::min(f.xLow, x), f.xHigh = std::max(f.xHigh, x);
                        if (std::isfinite(y))
                            f.yLow = std::min(f.yLow, y), f.yHigh = std::max(f.yHigh, y);
                    }
                if (p.level)
                    f.yLow = std::min(f.yLow, *p.level), f.yHigh = std::max(f.yHigh, *p.level);
                std::vector<PlotMark> points = p.labels;
                if (p.mark) points.insert(points.begin(), *p.mark);
                expectApartAndInside(points, f, area);
                expectApartAndInside(p.lineMarks, f, area);
                for (const PlotMark& m : p.lineMarks) {
                    if (m.name == "Hα") {
                        EXPECT_TRUE(m.labelShown) << p.id;
                    }
                }
            }
        }
}

TEST(PlotNames, ATableSpeaksForEachPlotInTheFacesSeparator) {
    const DesignInput in = testkeys::with({{"lambda_a", "6563"}});
    const DesignOutcome o = evaluate(in);
    ASSERT_TRUE(o.result);
    const auto plots = describePlots(in, o, linesOnSensor(in, o, builtInLines()));
    const PlotTable t = plotTable(plots[3], ",", 20);
    // λ, then the six factors; 20 rows evenly spread from the first point
    // to the last: with 101 points, every 100/19 = 5.26, rounded (0, 5, 11, 16…).
    ASSERT_EQ(t.headers.size(), 7u);
    EXPECT_EQ(t.headers[6], "total");
    const auto& curve = plots[3].curves[0].second;
    ASSERT_EQ(curve.size(), 101u);
    ASSERT_EQ(t.rows.size(), 20u);
    EXPECT_EQ(t.rows[0][0], shownResult(curve[0].first, ","));
    EXPECT_EQ(t.rows[1][0], shownResult(curve[5].first, ","));
    EXPECT_EQ(t.rows[2][0], shownResult(curve[11].first, ","));
    EXPECT_EQ(t.rows[1][6], shownResult(plots[3].curves[5].second[5].second, ","));
    EXPECT_EQ(t.rows[19][0], shownResult(curve[100].first, ","));
    // Whatever the points, the table runs from the first to the last, each once.
    for (std::size_t n : {1u, 2u, 19u, 20u, 21u, 39u, 62u, 1000u}) {
        PlotDescription p;
        Curve c;
        for (std::size_t i = 0; i < n; ++i) c.emplace_back(static_cast<double>(i), 1.0);
        p.curves = {{"c", c}};
        const PlotTable table = plotTable(p, ".", 20);
        ASSERT_EQ(table.rows.size(), std::min<std::size_t>(n, 20)) << n;
        EXPECT_EQ(table.rows.front()[0], "0") << n;
        EXPECT_EQ(table.rows.back()[0], shownResult(static_cast<double>(n - 1), ".")) << n;
        for (std::size_t r = 1; r < table.rows.size(); ++r)
            EXPECT_NE(table.rows[r][0], table.rows[r - 1][0]) << n;
    }
    EXPECT_EQ(plotTable(plots[0], ".", 20).headers[1], "S/N");
}

}  // namespace
}  // namespace kelvora::design
