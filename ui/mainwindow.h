#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "model/calculation.h"
#include "ui/layout.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kelvora::ui {

// The one window. Every value lives in its controls; the handlers below
// are the program's whole control flow.
class MainWindow : public QWidget {
  public:
    MainWindow();

    // Writes the default instrument, before the window is shown.
    void Form_Load();
    // One calculation run on the fields' texts.
    void cmdCalcul_Click();
    // Ends the program.
    void cmdAnnuler_Click();
    void optBarlow_Click();
    void optFente_Click();

    // Pixels per twip the window was laid out with.
    double scaleFactor() const { return scale_; }

  private:
    void createControls();
    QWidget* createControl(const ControlSpec& entry, QWidget* parent);
    void describeForScreenReaders(const ControlSpec& entry, QWidget* control, QLabel* leftLabel);
    void connectHandlers();
    void placeControls();
    void setTabOrder();
    QString textToFit(const ControlSpec& entry, const RunOutput& defaults) const;

    QLineEdit* field(Control c) const;
    QLabel* wavelengthNote() const;
    QRadioButton* option(const char* name) const;
    RunInput readWindow() const;
    DetectorModel selectedDetector() const;
    void showText(Control c, const QString& text);
    void reportFault(const RunOutput& out);

    double scale_ = 1.0 / kBaseTwipsPerPixel;
    // The controls a run reads or writes, by Control, found once.
    std::array<QWidget*, kControlCount> runControls_{};
};

}  // namespace kelvora::ui
