#include <QLocale>

#include "tests/ui/window_fixture.h"
#include "ui/layout.h"

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
    if (QLocale::system().decimalPoint() != QLatin1Char(',')) GTEST_SKIP() << "not French";
    click("cmdCalcul");
    EXPECT_EQ(text("txtAngle"), "9,497");
    EXPECT_EQ(text("txtDChambre"), "24,");
}

}  // namespace
}  // namespace kelvora::ui
