#include "ui/proposerwindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/design/keys.h"
#include "model/design/labels.h"
#include "ui/designform.h"
#include "ui/workbench.h"

namespace kelvora::ui {

namespace {

// Sorts by the number it shows, not by its text.
class NumberItem : public QTableWidgetItem {
  public:
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole + 1).toDouble() < other.data(Qt::UserRole + 1).toDouble();
    }
};

// Numbers sort as numbers, and show in the user's format.
QTableWidgetItem* item(const design::Candidate& c, const char* key) {
    auto* it = new NumberItem;
    const design::ResultCell cell = design::candidateCell(c, key);
    if (cell.kind == design::ResultCell::Kind::Text) {
        it->setText(QString::fromUtf8(cell.text));
        return it;
    }
    it->setText(designform::resultText(cell.number, QLocale::system()));
    it->setData(Qt::UserRole + 1, cell.number);
    return it;
}

}  // namespace

ProposerWindow::ProposerWindow(Workbench& workbench, QWidget* parent)
    : QWidget(parent, Qt::Window), workbench_(workbench) {
    setObjectName(QStringLiteral("proposer"));
    setWindowTitle(QStringLiteral("Proposer une conception — Kelvora"));
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("candidats"));
    table_->setAccessibleName(QStringLiteral("Conceptions proposées"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row) { loadRow(row); });
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("etat"));
    status_->setWordWrap(true);
    auto* load = new QPushButton(QStringLiteral("&Charger dans la conception"), this);
    load->setObjectName(QStringLiteral("charger"));
    connect(load, &QPushButton::clicked, this, [this] { loadRow(table_->currentRow()); });
    auto* column = new QVBoxLayout(this);
    column->addWidget(createFields());
    column->addWidget(status_);
    column->addWidget(table_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(load);
    column->addLayout(buttons);
    resize(1180, 600);
    propose();
}

QWidget* ProposerWindow::createFields() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    const design::ProposerRequest defaults;
    for (const design::ResultRow& row : design::proposerRows()) {
        const char* key = row.key;
        const char* label = row.label;
        auto* edit =
            new QLineEdit(QString::fromStdString(design::proposerKeyText(defaults, key)), box);
        edit->setObjectName(QString::fromLatin1(key));
        edit->setAccessibleName(QString::fromStdString(design::withoutMnemonic(label)));
        form->addRow(QString::fromUtf8(label), edit);
        fields_[key] = edit;
        connect(edit, &QLineEdit::textChanged, this, [this] { propose(); });  // as the user types
    }
    fields_["resolution_cible"]->setText(QStringLiteral("5000"));
    return box;
}

void ProposerWindow::propose() {
    design::ProposerRequest request;
    const std::string sep = designform::separator(QLocale::system());
    for (const auto& [key, edit] : fields_) {
        const QString text = edit->text().trimmed();
        if (text.isEmpty() && (key == "lambda_min_a" || key == "lambda_max_a")) continue;
        if (const auto e = design::setProposerKey(request, key, text.toStdString(), sep)) {
            status_->setText(QString::fromStdString(design::describe(*e, sep)));
            candidates_.clear();
            fillTable();
            return;
        }
    }
    const design::Proposal p = design::propose(workbench_.currentDesign(), request, 50);
    sun_ = workbench_.currentDesign().soleil;
    candidates_ = p.candidates;
    status_->setText(p.error.empty() ? QStringLiteral("%1 conceptions retenues sur %2 essayées ; "
                                                      "double-cliquez une ligne pour la charger.")
                                           .arg(candidates_.size())
                                           .arg(p.evaluated)
                                     : QString::fromStdString(p.error));
    fillTable();
}

// The columns of the design searched for: a spectroheliograph's are its own.
void ProposerWindow::fillTable() {
    const auto columns = design::candidateColumns(sun_);
    table_->setSortingEnabled(false);
    table_->setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const design::ResultRow& c : columns) headers << QString::fromUtf8(c.label);
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(candidates_.size()));
    for (std::size_t r = 0; r < candidates_.size(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            QTableWidgetItem* it = item(candidates_[r], columns[c].key);
            if (c == 0) it->setData(Qt::UserRole, static_cast<int>(r));  // survives sorting
            table_->setItem(static_cast<int>(r), static_cast<int>(c), it);
        }
    }
    table_->setSortingEnabled(true);
}

void ProposerWindow::loadRow(int row) {
    if (row < 0 || row >= table_->rowCount()) return;
    const int index = table_->item(row, 0)->data(Qt::UserRole).toInt();
    workbench_.loadCandidate(candidates_[static_cast<std::size_t>(index)].input);
}

}  // namespace kelvora::ui
