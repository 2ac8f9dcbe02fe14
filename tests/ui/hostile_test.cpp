// Hostile texts in the window: no crash, either every result or the named
// fault, exactly as the model computes it, and every input kept as typed.
#include "tests/ui/window_fixture.h"
#include "ui/regional.h"

namespace kelvora::ui {
namespace {

class HostileInputTest : public testing::WindowTest {
  protected:
    RunOutput modelRun() {
        RunInput in;
        for (std::size_t i = 0; i < kInputCount; ++i) in.texts[i] = inputs()[i].toStdString();
        in.barlowSelected = get<QRadioButton>("optBarlow")->isChecked();
        in.decimalSeparator = regionalDecimalSeparator();
        return runCalculation(in);
    }

    // Presses "Calcul" and checks the window against the model's own run.
    void calculAsTheModel(const std::string& what) {
        const std::vector<QString> typed = inputs();
        const RunOutput expected = modelRun();
        if (expected.fault) {
            calculExpectingBox();
            EXPECT_EQ(watchdog_.lastText.toStdString(), faultMessage(*expected.fault)) << what;
        } else {
            click("cmdCalcul");
        }
        for (std::size_t i = 0; i < kShownCount; ++i) {
            if (shownAt(i) == Control::lblLambda) continue;
            const std::string want = i < expected.shown.size() ? expected.shown[i].text : "";
            EXPECT_EQ(text(name(shownAt(i))).toStdString(), want) << what << " " << i;
        }
        EXPECT_EQ(inputs(), typed) << what;
    }
};

TEST_F(HostileInputTest, TheSameTextInEveryInput) {
    const std::pair<const char*, QString> cases[] = {
        {"32767 digits", QString(32767, '7')},
        {"a number and 32766 blanks", "5" + QString(32766, ' ')},
        {"10000-digit number", "1" + QString(9999, '0')},
        {"10000-digit fraction", "0." + QString(9998, '0') + "1"},
        {"control characters", QString::fromUtf8("\x01\x02\x07\x1b[31m\t\x7f")},
        {"Arabic-Indic digits", QString::fromUtf8("٣٠٠")},
        {"Chinese", QString::fromUtf8("三百毫米")},
        {"Devanagari digits", QString::fromUtf8("१२०")},
        {"mathematical digits", QString::fromUtf8("𝟗𝟗")},
        {"emoji and bidi marks", QString::fromUtf8("\u202e12\u202c🔭")},
        {"Cyrillic", QString::fromUtf8("Спектр 300")},
        {"hex", "&HFFFF"},
    };
    for (const auto& [what, t] : cases) {
        for (std::size_t i = 0; i < kInputCount; ++i) type(name(inputAt(i)), t);
        calculAsTheModel(what);
    }
}

}  // namespace
}  // namespace kelvora::ui
