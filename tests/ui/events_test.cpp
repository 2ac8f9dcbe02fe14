#include <QSignalSpy>

#include "model/instrument.h"
#include "tests/ui/window_fixture.h"

namespace kelvora::ui {
namespace {

using testing::WindowTest;

const char* const kResults[] = {"txtAngle",        "txtDispersion", "txtLambda1",
                                "txtLambda2",      "txtSeparation", "txtResolution",
                                "txtDCollimateur", "txtDGrating",   "txtDChambre",
                                "txtFD",           "txtSB"};
const char* const kDefaultResults[] = {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426",
                                       "20.83", "20.83", "24.",     "2.08",    "214.7"};

std::vector<QString> inputTexts(WindowTest&, MainWindow& w) {
    std::vector<QString> texts;
    for (std::size_t i = 0; i < kInputCount; ++i)
        texts.push_back(
            w.findChild<QLineEdit*>(QString::fromUtf8(controlName(inputAt(i)).data()))->text());
    return texts;
}

TEST(WindowCreated, EmptyAndEnabledBeforeLoad) {
    MainWindow w;
    for (QLineEdit* e : w.findChildren<QLineEdit*>()) {
        EXPECT_EQ(e->text(), "") << e->objectName().toStdString();
        EXPECT_TRUE(e->isEnabled());
    }
    for (QRadioButton* r : w.findChildren<QRadioButton*>()) EXPECT_FALSE(r->isChecked());
}

TEST_F(WindowTest, StartUpState) {
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const std::string name(controlName(inputAt(i)));
        EXPECT_EQ(text(name.c_str()).toStdString(), defaultText(inputAt(i))) << name;
    }
    for (const char* r : kResults) EXPECT_EQ(text(r), "") << r;
    EXPECT_EQ(get<QLabel>("lblLambda")->text(), "");
    EXPECT_TRUE(get<QRadioButton>("optKaf400")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("optBarlow")->isChecked());
    EXPECT_FALSE(get<QRadioButton>("optFente")->isChecked());
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());
    EXPECT_EQ(text("txtSlitWide"), "1");
    EXPECT_EQ(QApplication::focusWidget(), field("txtDiametre"));
}

TEST_F(WindowTest, TabWalksTheFocusSequence) {
    const char* const sequence[] = {
        "txtDiametre",   "txtFocale",       "optBarlow",     "txtTraits",    "txtCollimateur",
        "txtChambre",    "txtSeeing",       "txtWavelength", "optKaf400",    "txtAngle",
        "cmdCalcul",     "txtOrdre",        "txtDispersion", "txtLambda1",   "txtLambda2",
        "txtSeparation", "txtDCollimateur", "txtDGrating",   "txtDistance",  "txtDChambre",
        "txtResolution", "txtFD",           "txtSB",         "txtMagEtoile", "txtMagCiel",
        "txtTi",         "txtNexposure",    "cmdAnnuler",    "txtBruit",     "txtBin1",
        "txtBin2",       "txtDiametre"};
    std::vector<std::string> walked{QApplication::focusWidget()->objectName().toStdString()};
    for (std::size_t i = 1; i < std::size(sequence); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(walked, std::vector<std::string>(std::begin(sequence), std::end(sequence)));
}

TEST_F(WindowTest, TabReachesTheSlitFieldWhenEnabled) {
    click("optFente");
    field("txtNexposure")->setFocus();
    QTest::keyClick(field("txtNexposure"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), field("txtSlitWide"));
}

void expectInvariant(WindowTest& t, MainWindow& w) {
    (void)t;
    EXPECT_EQ(w.findChild<QLineEdit*>("txtSlitWide")->isEnabled(),
              w.findChild<QRadioButton*>("optFente")->isChecked());
}

TEST_F(WindowTest, EntranceModelByMouseKeyboardAndCode) {
    type("txtSlitWide", "0.05");
    click("optFente");
    EXPECT_TRUE(field("txtSlitWide")->isEnabled());
    expectInvariant(*this, window());
    click("optBarlow");
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());
    click("optBarlow");  // already selected: nothing changes
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());

    get<QRadioButton>("optBarlow")->setFocus();
    QTest::keyClick(get("optBarlow"), Qt::Key_Right);
    EXPECT_TRUE(get<QRadioButton>("optFente")->isChecked());
    expectInvariant(*this, window());
    QTest::keyClick(get("optFente"), Qt::Key_Left);
    EXPECT_TRUE(get<QRadioButton>("optBarlow")->isChecked());
    expectInvariant(*this, window());

    get<QRadioButton>("optFente")->setChecked(true);
    expectInvariant(*this, window());
    EXPECT_EQ(text("txtSlitWide"), "0.05");
    for (const char* r : kResults) EXPECT_EQ(text(r), "") << "no recalculation";
}

TEST_F(WindowTest, CalculShowsTheDefaultResults) {
    click("cmdCalcul");
    for (std::size_t i = 0; i < std::size(kResults); ++i)
        EXPECT_EQ(text(kResults[i]), kDefaultResults[i]) << kResults[i];
    EXPECT_EQ(get<QLabel>("lblLambda")->text(), "à  5500 angstroms");
    EXPECT_EQ(get<QLabel>("Label33")->text(), "à 5500 angstroms");
}

TEST_F(WindowTest, CalculFollowsDetectorBinningAndModel) {
    struct Case {
        const char* option;
        const char* field;
        const char* typed;
        const char* result;
        const char* expected;
    } const cases[] = {
        {"optKaf3200", "txtBin1", "1", "txtSB", "189.2"},
        {"optKaf1600", "txtBin1", "1", "txtLambda1", "955.16"},
        {"optKaf400", "txtBin1", "2", "txtSB", "306.2"},
        {"optFente", "txtBin1", "1", "txtSB", "231.6"},
    };
    for (const Case& c : cases) {
        const QString before = text(c.result);
        click(c.option);
        type(c.field, c.typed);
        EXPECT_EQ(text(c.result), before) << "nothing changes before Calcul";
        click("cmdCalcul");
        EXPECT_EQ(text(c.result), c.expected) << c.option;
    }
}

TEST_F(WindowTest, TypedResultIsOverwrittenByTheNextRun) {
    type("txtAngle", "42");
    EXPECT_EQ(text("txtDiametre"), "200");
    click("cmdCalcul");
    EXPECT_EQ(text("txtAngle"), "9.497");
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
    std::size_t reached;  // result fields written before the stop
    bool noteReached;
    const char* message;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowFaultTest : public WindowTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(WindowFaultTest, BoxEmptiesWhatWasNotReachedAndKeepsEveryInput) {
    const FaultCase& c = GetParam();
    click("cmdCalcul");  // results of an earlier run must not stay beside fresh ones
    for (const auto& [name, t] : c.typed) type(name, t);
    click("optKaf3200");
    const std::vector<QString> inputs = inputTexts(*this, window());
    calculExpectingBox();
    EXPECT_EQ(watchdog_.lastTitle(), "Kelvora");
    EXPECT_EQ(watchdog_.lastText().toStdString(), c.message);
    for (std::size_t i = 0; i < std::size(kResults); ++i)
        EXPECT_EQ(text(kResults[i]).isEmpty(), i >= c.reached) << kResults[i];
    EXPECT_EQ(get<QLabel>("lblLambda")->text().isEmpty(), !c.noteReached);
    EXPECT_EQ(inputTexts(*this, window()), inputs);
    EXPECT_TRUE(get<QRadioButton>("optKaf3200")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("optBarlow")->isChecked());
    EXPECT_FALSE(field("txtSlitWide")->isEnabled());
    EXPECT_TRUE(window().isVisible());
    watchdog_.expectBox();
    ++boxesExpected_;
    click("cmdCalcul");  // still running: the same fault again
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WindowFaultTest,
    ::testing::Values(
        FaultCase{"order2",
                  {{"txtOrdre", "2"}, {"txtTraits", "1200"}},
                  0,
                  false,
                  "Argument incorrect au calcul de « Angle de diffraction » (txtAngle)"},
        FaultCase{"collimator",
                  {{"txtCollimateur", ""}},
                  4,
                  false,
                  "Division par zéro au calcul de « Pouvoir séparateur » (txtSeparation)"},
        FaultCase{"binY",
                  {{"txtBin2", ""}},
                  10,
                  true,
                  "Division par zéro au calcul de « Rapport signal/bruit » (txtSB)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, EnterAndEscapeDoNothing) {
    QSignalSpy quit(qApp, &QCoreApplication::aboutToQuit);
    QTest::keyClick(field("txtDiametre"), Qt::Key_Return);
    QTest::keyClick(field("txtDiametre"), Qt::Key_Enter);
    QTest::keyClick(field("txtDiametre"), Qt::Key_Escape);
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
