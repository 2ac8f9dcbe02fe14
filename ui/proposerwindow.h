#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "model/design/proposer.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace kelvora::ui {

class Workbench;

// « Proposer… »: the designs that reach a target, from the design window's
// fixed keys and the parts a user owns or can buy, in a sortable table.
// Results follow the target as it is typed; choosing a row loads it into
// « Conception avancée ».
class ProposerWindow : public QWidget {
  public:
    ProposerWindow(Workbench& workbench, QWidget* parent);

    void propose();
    // Loads the candidate shown on this table row into the design window.
    void loadRow(int row);

    QLineEdit* field(const std::string& key) const { return fields_.at(key); }
    QTableWidget* table() const { return table_; }
    QLabel* status() const { return status_; }
    const std::vector<design::Candidate>& candidates() const { return candidates_; }

  private:
    QWidget* createFields();
    void fillTable();
    bool sun_ = false;  // the columns are a spectroheliograph's

    Workbench& workbench_;
    std::map<std::string, QLineEdit*> fields_;
    QTableWidget* table_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<design::Candidate> candidates_;
};

}  // namespace kelvora::ui
