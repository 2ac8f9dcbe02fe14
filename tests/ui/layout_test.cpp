#include <QGroupBox>

#include "tests/ui/window_fixture.h"
#include "ui/layout.h"
#include "ui/scaling.h"

namespace kelvora::ui {
namespace {

using testing::WindowTest;

QString captionOf(const QWidget* w) {
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    return {};
}

const char* className(Kind kind) {
    const char* const names[] = {"QGroupBox", "QLabel", "QLineEdit", "QRadioButton", "QPushButton"};
    return names[static_cast<int>(kind)];
}

TEST_F(WindowTest, EveryControlHasItsNameKindCaptionAndParent) {
    EXPECT_EQ(window().windowTitle(), "Kelvora");
    EXPECT_FALSE(window().windowIcon().isNull());
    for (const ControlSpec& entry : windowLayout()) {
        const QWidget* w = get(entry.name);
        ASSERT_TRUE(w);
        EXPECT_STREQ(w->metaObject()->className(), className(entry.kind)) << entry.name;
        if (entry.kind != Kind::TextField && std::string_view(entry.name) != "lblLambda") {
            EXPECT_EQ(captionOf(w), QString::fromUtf8(entry.caption)) << entry.name;
        }
        EXPECT_EQ(w->parentWidget()->objectName(), *entry.parent ? entry.parent : "Kelvora");
    }
}

// One factor for every twip; at it every caption and every text of the
// default run fits its box, and a smaller factor would cut one of them.
TEST_F(WindowTest, GeometryIsTheTwipsTimesTheSmallestFittingFactor) {
    click("cmdCalcul");
    const double f = window().scaleFactor();
    double needed = 1.0 / kBaseTwipsPerPixel;
    for (const ControlSpec& entry : windowLayout()) {
        const QWidget* w = get(entry.name);
        const QRect r = w->geometry();
        EXPECT_NEAR(r.x(), entry.left * f, 0.5) << entry.name;
        EXPECT_NEAR(r.y(), entry.top * f, 0.5) << entry.name;
        EXPECT_NEAR(r.width(), entry.width * f, 1.0) << entry.name;
        EXPECT_NEAR(r.height(), entry.height * f, 1.0) << entry.name;
        const QSize req = requiredSize(*w, entry.kind, captionOf(w));
        EXPECT_LE(req.width(), r.width()) << entry.name;
        EXPECT_LE(req.height(), r.height()) << entry.name;
        needed = fittingFactor(needed, req, entry.width, entry.height);
    }
    EXPECT_DOUBLE_EQ(f, needed);
    EXPECT_EQ(window().size(), clientPixels(f));
    const QRect before = get("txtSB")->geometry();
    window().resize(window().width() + 200, window().height() + 100);
    EXPECT_EQ(get("txtSB")->geometry(), before) << "resizing moves nothing";
}

TEST_F(WindowTest, ResultBackgrounds) {
    const auto base = [this](const char* n) {
        return field(n)->palette().color(QPalette::Active, QPalette::Base);
    };
    for (const char* bright : {"txtSeparation", "txtResolution", "txtSB"})
        EXPECT_EQ(base(bright), QColor(255, 255, 0)) << bright;
    for (const char* pale : {"txtAngle", "txtDispersion", "txtLambda1", "txtLambda2",
                             "txtDCollimateur", "txtDGrating", "txtDChambre", "txtFD"})
        EXPECT_EQ(base(pale), QColor(255, 255, 192)) << pale;
    EXPECT_EQ(base("txtDiametre"), QLineEdit().palette().color(QPalette::Active, QPalette::Base));
}

// Each field is named by the label on its left, without " :"; results say
// that they are computed.
TEST_F(WindowTest, AccessibleNamesAndDescriptions) {
    const QLabel* left = nullptr;
    int fields = 0;
    for (const ControlSpec& entry : windowLayout()) {
        if (entry.kind == Kind::Label) left = get<QLabel>(entry.name);
        if (entry.kind != Kind::TextField) continue;
        ++fields;
        ASSERT_TRUE(left) << entry.name;
        QString spoken = left->text();
        spoken.chop(2);
        EXPECT_EQ(field(entry.name)->accessibleName(), spoken);
        const bool result = entry.background != Background::Default;
        EXPECT_EQ(field(entry.name)->accessibleDescription(), result ? "Résultat calculé" : "");
    }
    EXPECT_EQ(fields, 28);
    EXPECT_EQ(field("txtDGrating")->accessibleName(), "Largeur minimale du réseau");
    EXPECT_EQ(field("txtFD")->accessibleName(), "F#");
    EXPECT_EQ(field("txtWavelength")->accessibleName(), "Longueur d'onde centrale");
}

}  // namespace
}  // namespace kelvora::ui
