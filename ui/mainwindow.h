#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

#include "io/designfile.h"
#include "model/calculation.h"
#include "model/windowlayout.h"

class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kelvora::ui {

class Workbench;

// The one window. Every value lives in its controls; the handlers below
// are the program's whole control flow.
class MainWindow : public QWidget {
  public:
    MainWindow();
    ~MainWindow() override;

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

    // What a design file keeps of the form, and putting it back: the
    // results are emptied, nothing is calculated.
    io::WindowState windowState() const;
    // "" or why the state cannot be shown (a sensor without a button).
    std::string restoreWindowState(const io::WindowState& state);
    RunInput readWindow() const;
    void clearResults();
    Workbench& workbench() { return *workbench_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

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
    DetectorModel selectedDetector() const;
    void watchEdits();
    void showText(Control c, const QString& text);
    void reportFault(const RunOutput& out);

    double scale_ = 1.0 / kBaseTwipsPerPixel;
    QWidget* form_ = nullptr;  // the fixed form, below the menu bar
    std::unique_ptr<Workbench> workbench_;
    // The controls a run reads or writes, by Control, found once.
    std::array<QWidget*, kControlCount> runControls_{};
};

}  // namespace kelvora::ui
