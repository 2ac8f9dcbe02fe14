#pragma once

#include <QLocale>
#include <QWidget>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "io/report.h"
#include "model/design/calibration.h"
#include "model/design/design.h"
#include "model/design/keytable.h"
#include "model/design/plots.h"

class QAction;
class QDialog;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace kelvora::ui {

class PlotsView;
class Workbench;

// « Conception avancée »: the design model on its own window, with Qt's
// layouts so that it resizes and follows the user's font. Results update
// as any field's text changes; while an input is invalid the results are
// empty, the plots say why and nothing can be exported.
class DesignWindow : public QWidget {
  public:
    DesignWindow(Workbench& workbench, QWidget* parent);

    // Shows these values without counting them as an edit.
    void showValues(const design::DesignInput& in);
    // Takes these values as an edit « Annuler le chargement » can undo.
    void load(const design::DesignInput& in);
    void undoLoad();
    const design::DesignInput& input() const { return input_; }
    // The title names the file the design belongs to.
    void showTitle(const QString& fileName, bool modified);
    // Writes the design's keys and results; CSV, or JSON for a .json path.
    bool exportTo(const QString& path);
    // « Étalonner sur un spectre… » on this file: the dialog, not yet shown;
    // nullptr after saying why the spectrum cannot be used.
    QDialog* calibrateWith(const QString& path, const design::CalibrationOverrides& user = {});
    // The printed page as a PDF; "" or why not, in French.
    QString exportReportTo(const QString& path) const;

    QLineEdit* field(const std::string& key) const { return fields_.at(key); }
    QLineEdit* result(const std::string& key) const { return results_.at(key); }
    QLabel* errorLabel() const { return error_; }
    QComboBox* geometryChoice() const { return geometry_; }
    QComboBox* sensorChoice() const { return sensor_; }
    QComboBox* wordChoice(const std::string& key) const { return words_.at(key); }
    PlotsView* plots() const { return plots_; }  // nullptr: the plots could not be loaded
    bool valid() const { return valid_; }

  private:
    void createMenus();
    QWidget* createInputs();
    QWidget* inputs_ = nullptr;  // the groups of inputs
    QComboBox* createChoice(const design::KeyRow& row, QWidget* parent);
    QWidget* createResults();
    QWidget* createPlots();
    void addField(QFormLayout* form, const char* key, const QString& label);
    QLineEdit* addResult(QFormLayout* form, const char* key, const QString& label);
    void sensorChosen();
    void edited();
    std::string readFields(design::DesignInput& in) const;
    io::ReportSource reportSource() const;
    void askPrint();
    void askCalibration();
    void showCalibrations();
    void removeCalibration(std::size_t index);
    void askPdf();
    void describePlotsAloud(const std::array<design::PlotDescription, design::kPlotCount>& plots);
    void recompute();
    void showInvalid(const QString& error);
    void enableForGeometry();
    void showResults(const design::DesignResult& r, bool withTarget);
    void askExport();

    Workbench& workbench_;
    QLocale locale_ = QLocale::system();
    design::DesignInput input_;
    bool loading_ = false;  // fields being filled, not typed
    bool valid_ = false;
    std::map<std::string, QLineEdit*> fields_;
    std::map<std::string, QLineEdit*> results_;
    QFormLayout* resultsForm_ = nullptr;
    std::map<std::string, QComboBox*> words_;  // keys written as one of a few words
    QComboBox* geometry_ = nullptr;
    QComboBox* sensor_ = nullptr;
    QLabel* error_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* saturation_ = nullptr;
    QLabel* core_ = nullptr;  // whether the slit isolates the line's core (the Sun)
    QAction* export_ = nullptr;
    QAction* print_ = nullptr;
    QAction* removeMeasured_ = nullptr;
    QMenu* removeOne_ = nullptr;  // « Retirer un étalonnage », one entry each
    QLabel* measured_ = nullptr;
    QAction* pdf_ = nullptr;
    QAction* undo_ = nullptr;
    std::vector<design::DesignInput> undo_stack_;  // the designs before each load
    PlotsView* plots_ = nullptr;
};

}  // namespace kelvora::ui
