#include <QSignalSpy>

#include "tests/ui/window_fixture.h"

namespace kelvora::ui {
namespace {

using testing::WindowTest;

// Result fields and their texts after "Calcul" on the default instrument.
// clang-format off
const std::pair<const char*, const char*> kDefaultResults[] = {
    {"txtAngle", "9.497"}, {"txtDispersion", "5.918"}, {"txtLambda1", "3227.58"},
    {"txtLambda2", "7772.42"}, {"txtSeparation", "12.921"}, {"txtResolution", "426"},
    {"txtDCollimateur", "20.83"}, {"txtDGrating", "20.83"}, {"txtDChambre", "24."},
    {"txtFD", "2.08"}, {"txtSB", "214.7"}};
// clang-format on

TEST(WindowCreated, EmptyAndEnabledBeforeLoad) {
    MainWindow w;
    for (QLineEdit* e : w.findChildren<QLineEdit*>())
        EXPECT_TRUE(e->text().isEmpty() && e->isEnabled()) << e->objectName().toStdString();
    for (QRadioButton* r : w.findChildren<QRadioButton*>()) EXPECT_FALSE(r->isChecked());
}

TEST_F(WindowTest, StartUpState) {
    const char* defaults[] = {"200", "1200", "2",  "300", "1", "125", "50", "25", "5500",
                              "6",   "18",   "60", "1",   "1", "18",  "1",  "1"};
    EXPECT_EQ(inputs(), std::vector<QString>(std::begin(defaults), std::end(defaults)));
    for (const auto& [result, _] : kDefaultResults) EXPECT_EQ(text(result), "") << result;
    EXPECT_EQ(get<QLabel>("lblLambda")->text(), "");
    EXPECT_TRUE(get<QRadioButton>("optKaf400")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("optBarlow")->isChecked());
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), field("txtDiametre"));
}

// Real Tab presses; a radio group is entered at its selected button.
TEST_F(WindowTest, TabWalksTheFocusSequence) {
    const QString sequence =
        "txtDiametre txtFocale optBarlow txtTraits txtCollimateur txtChambre txtSeeing "
        "txtWavelength optKaf400 txtAngle cmdCalcul txtOrdre txtDispersion txtLambda1 txtLambda2 "
        "txtSeparation txtDCollimateur txtDGrating txtDistance txtDChambre txtResolution txtFD "
        "txtSB txtMagEtoile txtMagCiel txtTi txtNexposure cmdAnnuler txtBruit txtBin1 txtBin2 "
        "txtDiametre";
    QStringList walked{QApplication::focusWidget()->objectName()};
    while (walked.size() < sequence.split(' ').size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(walked.join(' '), sequence);
    click("optFente");  // an enabled slit field joins the sequence
    field("txtNexposure")->setFocus();
    QTest::keyClick(field("txtNexposure"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), field("txtSlitWide"));
}

TEST_F(WindowTest, EntranceModelByMouseKeyboardAndCode) {
    auto* barlow = get<QRadioButton>("optBarlow");
    auto* fente = get<QRadioButton>("optFente");
    auto expectInvariant = [&] {
        EXPECT_EQ(field("txtSlitWide")->isEnabled(), fente->isChecked());
    };
    type("txtSlitWide", "0.05");
    click("optFente");
    EXPECT_TRUE(field("txtSlitWide")->isEnabled());
    click("optBarlow");
    click("optBarlow");  // already selected: nothing changes
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());
    barlow->setFocus();
    QTest::keyClick(barlow, Qt::Key_Right);
    EXPECT_TRUE(fente->isChecked());
    expectInvariant();
    QTest::keyClick(fente, Qt::Key_Left);
    EXPECT_TRUE(barlow->isChecked());
    expectInvariant();
    fente->setChecked(true);
    expectInvariant();
    EXPECT_EQ(text("txtSlitWide"), "0.05");
    EXPECT_EQ(text("txtSB"), "") << "selecting a model does not calculate";
}

TEST_F(WindowTest, CalculShowsTheDefaultResults) {
    type("txtAngle", "42");  // typed into a result: overwritten by the run
    click("cmdCalcul");
    for (const auto& [result, expected] : kDefaultResults) EXPECT_EQ(text(result), expected);
    EXPECT_EQ(get<QLabel>("lblLambda")->text(), "à  5500 angstroms");
    EXPECT_EQ(get<QLabel>("Label33")->text(), "à 5500 angstroms");
}

TEST_F(WindowTest, CalculReadsDetectorBinningAndModel) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"optKaf3200", "1", "txtSB", "189.2"}, {"optKaf1600", "1", "txtLambda1", "955.16"},
        {"optKaf400", "2", "txtDispersion", "11.836"}, {"optFente", "1", "txtSB", "231.6"}};
    // clang-format on
    for (const auto& [option, binX, result, expected] : cases) {
        const QString before = text(result);
        click(option);
        type("txtBin1", binX);
        EXPECT_EQ(text(result), before) << "nothing changes before Calcul";
        click("cmdCalcul");
        EXPECT_EQ(text(result), expected) << option;
    }
}

TEST_F(WindowTest, LongResultShowsFromItsFirstCharacter) {
    type("txtDiametre", "1e30");
    click("cmdCalcul");
    EXPECT_GT(text("txtDCollimateur").size(), 20);
    EXPECT_EQ(field("txtDCollimateur")->cursorPosition(), 0);
}

struct FaultCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed;
    int reached;  // result fields written before the stop
    const char* message;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowFaultTest : public WindowTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(WindowFaultTest, BoxEmptiesWhatWasNotReachedAndKeepsEveryInput) {
    const FaultCase& c = GetParam();
    click("cmdCalcul");  // results of an earlier run must not stay beside fresh ones
    for (const auto& [field, typed] : c.typed) type(field, typed);
    click("optKaf3200");
    const std::vector<QString> before = inputs();
    calculExpectingBox();
    EXPECT_EQ(watchdog_.lastTitle, "Kelvora");
    EXPECT_EQ(watchdog_.lastText.toStdString(), c.message);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(text(kDefaultResults[i].first).isEmpty(), i >= c.reached) << i;
    EXPECT_EQ(get<QLabel>("lblLambda")->text().isEmpty(), c.reached < 6);
    EXPECT_EQ(inputs(), before);
    EXPECT_TRUE(get<QRadioButton>("optKaf3200")->isChecked() && window().isVisible());
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());
    calculExpectingBox();  // still running: the same fault again
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Faults, WindowFaultTest, ::testing::Values(
    FaultCase{"order2", {{"txtOrdre", "2"}, {"txtTraits", "1200"}}, 0,
              "Argument incorrect au calcul de « Angle de diffraction » (txtAngle)"},
    FaultCase{"collimator", {{"txtCollimateur", ""}}, 4,
              "Division par zéro au calcul de « Pouvoir séparateur » (txtSeparation)"},
    FaultCase{"binY", {{"txtBin2", ""}}, 10,
              "Division par zéro au calcul de « Rapport signal/bruit » (txtSB)"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(WindowTest, EnterAndEscapeDoNothing) {
    QSignalSpy quit(qApp, &QCoreApplication::aboutToQuit);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(field("txtDiametre"), key);
    QTest::keyClick(&window(), Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_EQ(text("txtAngle"), "");
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(quit.count(), 0);
}

TEST_F(WindowTest, AnnulerEndsTheProgram) {
    QTimer::singleShot(0, [this] { click("cmdAnnuler"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // a hang fails, not blocks
    EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace kelvora::ui
