#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "model/calculation.h"
#include "model/design/design.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace kelvora::ui {

class DesignPlots;
class Workbench;

// « Conception avancée »: the design model on its own window, with Qt's
// layouts so that it resizes and follows the user's font. Results update
// as the user types; errors show in place.
class DesignWindow : public QWidget {
  public:
    DesignWindow(Workbench& workbench, QWidget* parent);

    // Takes the form's values for the quantities both models share.
    void startFrom(const RunInput& form);
    // Shows these values (a file opened, a new design).
    void showValues(const design::DesignInput& in);

    QLineEdit* field(const std::string& key) const { return fields_.at(key); }
    QLabel* result(const std::string& key) const { return results_.at(key); }
    QLabel* errorLabel() const { return error_; }
    DesignPlots& plots() const { return *plots_; }

  private:
    QWidget* createInputs();
    QComboBox* createChoice(const char* key, QWidget* parent);
    QWidget* createResults();
    void addField(QFormLayout* form, const char* key, const QString& label);
    void sensorChosen();
    void edited();
    void recompute();
    void showError(const std::string& error);
    void enableForGeometry();
    void showResults(const design::DesignResult& r, bool withTarget);

    Workbench& workbench_;
    design::DesignInput input_;
    std::map<std::string, QLineEdit*> fields_;
    std::map<std::string, QLabel*> results_;
    QComboBox* geometry_ = nullptr;
    QComboBox* sensor_ = nullptr;
    QLabel* error_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* saturation_ = nullptr;
    DesignPlots* plots_ = nullptr;
};

}  // namespace kelvora::ui
