#include "ui/designwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include "io/report.h"
#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/lines.h"
#include "model/design/measured.h"
#include "model/design/shown.h"
#include "model/design/sun.h"
#include "ui/calibrationdialog.h"
#include "ui/designform.h"
#include "ui/linesreport.h"
#include "ui/paths.h"
#include "ui/plotsloader.h"
#include "ui/workbench.h"

namespace kelvora::ui {

namespace {

namespace form = designform;

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const char* const kCustomSensor = "(saisi)";
const char* const kRed = "color: #b00000; font-weight: bold";

// Wide enough for any result (5 significant digits), so that the window
// keeps its width as they change.
int resultWidth(const QWidget* w) {
    return w->fontMetrics().horizontalAdvance(QStringLiteral("−0,0000e+00")) + 8;
}

int inputWidth(const QWidget* w) {
    return w->fontMetrics().horizontalAdvance(QStringLiteral("0000,000")) + 12;
}

}  // namespace

DesignWindow::DesignWindow(Workbench& workbench, QWidget* parent)
    : QWidget(parent, Qt::Window), workbench_(workbench) {
    setObjectName(QStringLiteral("conception"));
    // Inputs above the plots, the results beside both: the window fits a
    // 1280×800 screen.
    auto* grid = new QGridLayout(this);
    createMenus();
    grid->addWidget(inputs_ = createInputs(), 0, 0);
    grid->addWidget(createPlots(), 1, 0);
    grid->addWidget(createResults(), 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    showTitle({}, false);
}

void DesignWindow::createMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuConception"));
    QMenu* file = bar->addMenu(QStringLiteral("&Fichier"));
    file->addAction(QStringLiteral("&Enregistrer"), QKeySequence::Save,
                    [this] { workbench_.save(); });
    file->addAction(QStringLiteral("Enregistrer &sous…"), QKeySequence::SaveAs,
                    [this] { workbench_.saveAs(); });
    export_ = file->addAction(QStringLiteral("E&xporter la conception…"), [this] { askExport(); });
    export_->setObjectName(QStringLiteral("exporterConception"));
    print_ =
        file->addAction(QStringLiteral("&Imprimer…"), QKeySequence::Print, [this] { askPrint(); });
    print_->setObjectName(QStringLiteral("imprimer"));
    pdf_ = file->addAction(QStringLiteral("Exporter en &PDF…"), [this] { askPdf(); });
    pdf_->setObjectName(QStringLiteral("exporterPdf"));
    file->addSeparator();
    file->addAction(QStringLiteral("&Fermer"), QKeySequence::Close, [this] { close(); });
    QMenu* designMenu = bar->addMenu(QStringLiteral("&Conception"));
    QAction* take = designMenu->addAction(QStringLiteral("&Reprendre les valeurs de la fenêtre"),
                                          [this] { workbench_.takeWindowValues(); });
    take->setObjectName(QStringLiteral("reprendre"));
    QAction* propose =
        designMenu->addAction(QStringLiteral("&Proposer…"), [this] { workbench_.openProposer(); });
    propose->setObjectName(QStringLiteral("proposer"));
    undo_ = designMenu->addAction(QStringLiteral("&Annuler le chargement"), QKeySequence::Undo,
                                  [this] { undoLoad(); });
    undo_->setObjectName(QStringLiteral("annulerChargement"));
    undo_->setEnabled(false);
    designMenu->addSeparator();
    QAction* calibrate = designMenu->addAction(QStringLiteral("É&talonner sur un spectre…"),
                                               [this] { askCalibration(); });
    calibrate->setObjectName(QStringLiteral("etalonner"));
    removeOne_ = designMenu->addMenu(QStringLiteral("Retirer &un étalonnage"));
    removeOne_->setObjectName(QStringLiteral("retirerEtalonnage"));
    removeMeasured_ = designMenu->addAction(QStringLiteral("Re&tirer le rendement mesuré"), [this] {
        design::DesignInput in = input_;
        in.etalonnages = {};
        load(in);
    });
    removeMeasured_->setObjectName(QStringLiteral("retirerRendement"));
    removeMeasured_->setEnabled(false);
    layout()->setMenuBar(bar);
}

void DesignWindow::showTitle(const QString& fileName, bool modified) {
    const QString name = fileName.isEmpty() ? QStringLiteral("sans titre") : fileName;
    setWindowTitle(QStringLiteral("Conception avancée — %1[*] — Kelvora").arg(name));
    setWindowModified(modified);
}

void DesignWindow::addField(QFormLayout* form, const char* key, const QString& label) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(key));
    // A date is wider than the numbers.
    edit->setFixedWidth(design::findKey(key)->valid
                            ? edit->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) +
                                  12
                            : inputWidth(edit));
    edit->setAccessibleName(label);
    edit->setToolTip(QString::fromUtf8(design::findKey(key)->hint));
    edit->setAccessibleDescription(edit->toolTip());
    form->addRow(label, edit);
    fields_[key] = edit;
    // Any change of the text, typed or set by an assistive tool.
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!loading_) edited();
    });
}

QComboBox* DesignWindow::createChoice(const design::KeyRow& row, QWidget* parent) {
    const std::string_view key = row.key;
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(row.key));
    if (key == "geometrie") {
        for (int g = 0; g < design::kGeometryCount; ++g)
            box->addItem(QString::fromUtf8(design::geometryCaption(design::Geometry(g))), g);
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!loading_) edited();
        });
        geometry_ = box;
    } else if (row.kind == design::KeyKind::Choice || row.choices) {
        if (row.choices)
            for (const auto& [word, caption] : row.choices())
                box->addItem(QString::fromStdString(caption), QString::fromStdString(word));
        else
            for (int i = 0; i < 2; ++i)
                box->addItem(QString::fromUtf8(row.captions[i]), QString::fromLatin1(row.words[i]));
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!loading_) edited();
        });
        words_[row.key] = box;
    } else {
        for (const DetectorModel& d : workbench_.catalogue().rows()) box->addItem(qs(d.caption));
        box->addItem(QString::fromUtf8(kCustomSensor));
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!loading_) sensorChosen();
        });
        sensor_ = box;
    }
    return box;
}

QWidget* DesignWindow::createInputs() {
    auto* box = new QWidget(this);
    auto* columns = new QHBoxLayout(box);
    columns->setContentsMargins(0, 0, 0, 0);
    QVBoxLayout* column = nullptr;
    QFormLayout* form = nullptr;
    for (const design::KeyRow& row : design::keyRows()) {
        if (!column || row.newColumn) {
            if (column) column->addStretch();
            column = new QVBoxLayout;
            columns->addLayout(column);
        }
        if (row.group) {
            auto* g = new QGroupBox(QString::fromUtf8(row.group), box);
            column->addWidget(g);
            form = new QFormLayout(g);
        }
        const QString label = QString::fromStdString(design::fullLabel(row, true));
        const std::string_view key = row.key;
        if (!row.number && !row.valid) {  // a free word (a date) is typed like a number
            QComboBox* choice = createChoice(row, box);
            choice->setAccessibleName(QString::fromStdString(design::fullLabel(row)));
            if (key == "geometrie") {  // long captions: the list under its label
                auto* caption = new QLabel(label, box);
                caption->setBuddy(choice);
                form->addRow(caption);
                form->addRow(choice);
            } else {
                form->addRow(label, choice);
            }
        } else {
            addField(form, row.key, label);
        }
    }
    column->addStretch();
    return box;
}

QLineEdit* DesignWindow::addResult(QFormLayout* form, const char* key, const QString& label) {
    // A read-only field: a screen reader says its label, then its value.
    auto* value = new QLineEdit(this);
    value->setObjectName(QString::fromLatin1(key));
    value->setReadOnly(true);
    value->setFrame(false);
    value->setFixedWidth(resultWidth(value));
    value->setAccessibleName(label);
    form->addRow(label, value);
    return value;
}

QWidget* DesignWindow::createResults() {
    auto* box = new QGroupBox(QStringLiteral("Résultats"), this);
    // The wrapped messages above the form: a form holding a wrapped label
    // caches its rows' heights and squeezes a row shown after it was hidden.
    auto* column = new QVBoxLayout(box);
    column->setSpacing(1);
    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(1);  // every result in one column within an 800-pixel screen
    auto label = [box](const char* name, const char* spoken, const char* style, bool wrap) {
        auto* l = new QLabel(box);
        l->setObjectName(QString::fromLatin1(name));
        l->setAccessibleName(QString::fromUtf8(spoken));
        l->setWordWrap(wrap);
        // Long messages wrap instead of widening the window.
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        l->setStyleSheet(QString::fromLatin1(style));
        return l;
    };
    error_ = label("erreur", "Erreur", kRed, true);
    column->addWidget(error_);
    verdict_ = label("echantillonnage", "Échantillonnage", "font-weight: bold", false);
    verdict_->setAlignment(Qt::AlignRight);
    saturation_ = label("saturation", "Saturation", kRed, false);
    saturation_->setAlignment(Qt::AlignRight);
    core_ = label("isole_coeur", "La fente isole le cœur", "font-weight: bold", false);
    core_->setAlignment(Qt::AlignRight);
    measured_ =
        label("rendementMesure", "Rendement mesuré", "color: #005a9e; font-weight: bold", true);
    column->addWidget(measured_);
    column->addLayout(form);
    resultsForm_ = form;
    for (const design::ResultRow& row : design::resultRows()) {
        results_[row.key] = addResult(form, row.key, QString::fromUtf8(row.label));
        if (std::string_view(row.key) == "echantillonnage_px") form->addRow(verdict_);
        if (std::string_view(row.key) == "electrons_pic") form->addRow(saturation_);
        if (std::string_view(row.key) == "coeur_a") form->addRow(core_);
    }
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return box;
}

void DesignWindow::load(const design::DesignInput& in) {
    undo_stack_.push_back(input_);
    undo_->setEnabled(true);
    showValues(in);
    workbench_.designEdited(input_);
}

void DesignWindow::undoLoad() {
    if (undo_stack_.empty()) return;
    showValues(undo_stack_.back());
    undo_stack_.pop_back();
    undo_->setEnabled(!undo_stack_.empty());
    workbench_.designEdited(input_);
}

// Without its plots library the window still computes; it says what is missing.
QWidget* DesignWindow::createPlots() {
    QString why;
    if (QWidget* plots = ui::createPlots(this, &plots_, why)) return plots;
    auto* note = new QLabel(QStringLiteral("Graphiques indisponibles : %1").arg(why), this);
    note->setObjectName(QStringLiteral("graphiquesIndisponibles"));
    note->setWordWrap(true);
    note->setMinimumHeight(280);
    return note;
}

void DesignWindow::showValues(const design::DesignInput& in) {
    input_ = in;
    loading_ = true;
    const std::string sep = form::separator(locale_);
    for (auto& [key, edit] : fields_)
        edit->setText(QString::fromStdString(design::shownKey(in, key, sep)));
    geometry_->setCurrentIndex(geometry_->findData(static_cast<int>(in.geometrie)));
    for (auto& [key, box] : words_)
        box->setCurrentIndex(box->findData(QString::fromStdString(design::keyText(in, key))));
    const int row = sensor_->findText(qs(in.detecteur));
    sensor_->setCurrentIndex(row >= 0 ? row : sensor_->count() - 1);
    loading_ = false;
    recompute();
}

// A catalogue sensor sets every sensor field; the typed entry keeps them.
void DesignWindow::sensorChosen() {
    if (const DetectorModel* d =
            workbench_.catalogue().find(sensor_->currentText().toStdString())) {
        design::applyDetector(input_, *d);
        loading_ = true;
        for (const design::KeyRow& row : design::keyRows())
            if (row.fromSensor)
                fields_[row.key]->setText(QString::fromStdString(
                    design::shownKey(input_, row.key, form::separator(locale_))));
        loading_ = false;
    }
    edited();
}

// Every field is read as every face reads keys; the first refused is the error.
std::string DesignWindow::readFields(design::DesignInput& in) const {
    std::vector<design::KeyValue> keys;
    keys.push_back(
        {"geometrie", design::geometryName(design::Geometry(geometry_->currentData().toInt()))});
    for (const auto& [key, box] : words_)
        keys.push_back({key, box->currentData().toString().toStdString()});
    // Typed values keep the last sensor's name: a file then reads back the
    // sensor and the typed values over it.
    if (workbench_.catalogue().find(sensor_->currentText().toStdString()))
        keys.push_back({"detecteur", sensor_->currentText().toStdString()});
    for (const auto& [key, edit] : fields_) keys.push_back({key, edit->text().toStdString()});
    const std::string sep = form::separator(locale_);
    design::KeyedDesign read = design::designFromKeys(keys, workbench_.catalogue(), in, sep);
    if (!read.errors.empty()) return design::describe(read.errors.front(), sep);
    in = std::move(read.input);
    return {};
}

void DesignWindow::edited() {
    design::DesignInput in = input_;
    const std::string error = readFields(in);
    if (!error.empty()) {
        showInvalid(QString::fromStdString(error));
        return;
    }
    input_ = in;
    workbench_.designEdited(input_);
    recompute();
}

void DesignWindow::enableForGeometry() {
    for (const design::KeyRow& row : design::keyRows()) {
        QWidget* widget = nullptr;
        if (const auto it = fields_.find(row.key); it != fields_.end()) {
            it->second->setEnabled(design::appliesTo(row, input_.geometrie));
            widget = it->second;
        } else if (const auto w = words_.find(row.key); w != words_.end()) {
            widget = w->second;
        }
        // The Sun's inputs only in the « Soleil » mode; the star's and the night's only without.
        if ((row.sunOnly || row.starOnly) && widget)
            if (auto* form = qobject_cast<QFormLayout*>(widget->parentWidget()->layout()))
                form->setRowVisible(widget, design::shownFor(row, input_.soleil));
    }
    // A group with nothing left to show takes no room.
    for (QGroupBox* group : inputs_->findChildren<QGroupBox*>()) {
        auto* form = qobject_cast<QFormLayout*>(group->layout());
        bool any = false;
        for (int i = 0; form && i < form->rowCount(); ++i) any = any || form->isRowVisible(i);
        group->setVisible(any);
    }
}

void DesignWindow::recompute() {
    enableForGeometry();
    const design::DesignOutcome o = design::evaluate(input_);
    if (!o.result) {
        showInvalid(QString::fromStdString(design::describe(*o.error, form::separator(locale_))));
        return;
    }
    valid_ = true;
    error_->clear();
    error_->setVisible(false);
    for (auto& [key, value] : results_) value->setEnabled(true);
    export_->setEnabled(true);
    showResults(*o.result, input_.cible_snr > 0);
    showCalibrations();
    if (plots_) {
        const design::LineReport lines = design::linesOnSensor(input_, o, workbench_.lines());
        const auto plots = design::describePlots(input_, o, lines, plots_->plotArea());
        plots_->show(plots);
        const auto sun =
            design::describeSun(input_, o, form::separator(locale_), plots_->plotArea());
        plots_->showSun(sun ? &*sun : nullptr);
        plots_->showNotes(linesReportHtml(lines));
        describePlotsAloud(plots);
    }
}

// Each chart's text alternative: its data as a table a screen reader reads.
void DesignWindow::describePlotsAloud(
    const std::array<design::PlotDescription, design::kPlotCount>& plots) {
    const std::string sep = form::separator(locale_);
    for (const design::PlotDescription& p : plots) {
        auto* view = findChild<QWidget*>(QString::fromLatin1(p.id));
        if (!view) continue;
        const design::PlotTable t = design::plotTable(p, sep, 20);
        QStringList lines{QString::fromStdString(p.title)};
        for (const auto& row : t.rows) {
            QStringList cells;
            for (std::size_t i = 0; i < row.size() && i < t.headers.size(); ++i)
                cells << QString::fromStdString(t.headers[i] + " " + row[i]);
            lines << cells.join(QStringLiteral(", "));
        }
        view->setAccessibleDescription(lines.join(QStringLiteral(" ; ")));
    }
}

// Nothing of the last valid instrument stays on screen as if it were current.
void DesignWindow::showInvalid(const QString& error) {
    valid_ = false;
    error_->setText(error);
    error_->setVisible(true);
    for (auto& [key, value] : results_) {
        value->clear();
        value->setEnabled(false);
    }
    verdict_->clear();
    saturation_->clear();
    core_->clear();
    export_->setEnabled(false);
    if (plots_) plots_->showError(error);
}

void DesignWindow::showResults(const design::DesignResult& r, bool withTarget) {
    // Emptied: the target's rows, without one. The Sun's rows only for a
    // design of the Sun; the star's light's only for a star.
    for (auto& [key, value] : results_) {
        value->clear();
        resultsForm_->setRowVisible(value, design::resultShownFor(key, r.soleil));
    }
    resultsForm_->setRowVisible(saturation_, !r.soleil);
    resultsForm_->setRowVisible(core_, r.soleil);
    core_->setText(QString::fromUtf8(design::coreVerdict(r)));
    core_->setStyleSheet(r.isole_coeur ? QStringLiteral("color: #006000; font-weight: bold")
                                       : QStringLiteral("color: #b06000; font-weight: bold"));
    for (const design::NamedResult& n : design::namedResults(r, withTarget))
        if (const auto it = results_.find(n.name); it != results_.end())
            it->second->setText(form::resultText(n.cell.number, locale_));
    verdict_->setText(QString::fromUtf8(design::samplingVerdict(r.echantillonnage)));
    const bool good = r.echantillonnage == design::Sampling::Good;
    verdict_->setStyleSheet(good ? QStringLiteral("color: #006000; font-weight: bold")
                                 : QStringLiteral("color: #b06000; font-weight: bold"));
    QStringList saturation;
    if (r.saturation)
        saturation << QStringLiteral("Saturation : %1 poses au moins")
                          .arg(form::resultText(r.poses_min, locale_));
    if (withTarget && r.saturation_cible)
        saturation << QStringLiteral("À la pose cible : %1 poses au moins")
                          .arg(form::resultText(r.poses_min_cible, locale_));
    saturation_->setText(saturation.join(QLatin1Char('\n')));
}

// The printed page: this design, titled with its file's name and today's date.
io::ReportSource DesignWindow::reportSource() const {
    io::ReportSource source;
    source.title = QFileInfo(workbench_.path()).fileName().toStdString();
    source.date = io::todayInFrench();
    source.input = input_;
    source.lines = workbench_.lines();
    source.separator = form::separator(locale_);
    return source;
}

void DesignWindow::askPrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimer la conception"));
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        QMessageBox::warning(this, QStringLiteral("Kelvora"),
                             QStringLiteral("Impression impossible."));
        return;
    }
    io::paintReport(painter, QRectF(0, 0, printer.width(), printer.height()), reportSource());
    painter.end();
}

void DesignWindow::askPdf() {
    const QString base = workbench_.path().isEmpty()
                             ? QStringLiteral("conception")
                             : QFileInfo(workbench_.path()).completeBaseName();
    const QString p =
        QFileDialog::getSaveFileName(this, QStringLiteral("Exporter en PDF"),
                                     base + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
    if (p.isEmpty()) return;
    const QString error = exportReportTo(withSuffix(p, QStringLiteral("pdf")));
    if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("Kelvora"), error);
}

QString DesignWindow::exportReportTo(const QString& path) const {
    return QString::fromStdString(io::writeReportPdf(path.toStdString(), reportSource()));
}

void DesignWindow::askCalibration() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Étalonner sur un spectre"), QString(),
        QStringLiteral("Spectres (*.fits *.fit *.fts *.txt *.csv *.dat);;Tous les fichiers (*)"));
    if (path.isEmpty()) return;
    QDialog* dialog = calibrateWith(path);
    if (dialog) dialog->open();
}

// The note under the results, one line a calibration, and one menu entry
// each to remove it.
void DesignWindow::showCalibrations() {
    const std::string sep = form::separator(locale_);
    QString text = QString::fromStdString(design::calibrationNote(input_, sep));
    removeOne_->clear();
    for (std::size_t i = 0; i < input_.etalonnages.size(); ++i) {
        const QString line =
            QString::fromStdString(design::calibrationLine(input_.etalonnages[i], sep));
        if (input_.etalonnages.size() > 1) text += QStringLiteral("\n• ") + line;
        QAction* remove = removeOne_->addAction(line, [this, i] { removeCalibration(i); });
        remove->setObjectName(QStringLiteral("retirerEtalonnage%1").arg(i));
    }
    measured_->setText(text);
    measured_->setVisible(!text.isEmpty());
    removeMeasured_->setEnabled(!text.isEmpty());
    removeOne_->setEnabled(!text.isEmpty());
}

void DesignWindow::removeCalibration(std::size_t index) {
    if (index >= input_.etalonnages.size()) return;
    design::DesignInput in = input_;
    in.etalonnages.erase(in.etalonnages.begin() + static_cast<std::ptrdiff_t>(index));
    load(in);
}

QDialog* DesignWindow::calibrateWith(const QString& path,
                                     const design::CalibrationOverrides& user) {
    const QString name = QFileInfo(path).fileName();
    const io::SpectrumRead read = io::readSpectrumFile(path.toStdString());
    std::string error = read.error;
    design::Calibration c;
    if (error.empty()) {
        c = design::calibrate(input_, read.spectrum, "", name.toStdString(), user);
        error = c.error;
    }
    if (!error.empty()) {
        QMessageBox::warning(this, QStringLiteral("Kelvora"),
                             QStringLiteral("Impossible d'étalonner sur « %1 » : %2")
                                 .arg(name, QString::fromStdString(error)));
        return nullptr;
    }
    CalibrationActions actions;
    actions.use = [this](const design::MeasuredRatio& measured) {
        design::DesignInput in = input_;
        in.etalonnages.push_back(measured);
        load(in);
    };
    actions.recalculate = [this, path](const design::CalibrationOverrides& again) {
        if (QDialog* d = calibrateWith(path, again)) d->open();
    };
    return calibrationDialog(this, c, input_.etalonnages, form::separator(locale_), actions);
}

void DesignWindow::askExport() {
    QString p = QFileDialog::getSaveFileName(this, QStringLiteral("Exporter la conception"),
                                             QStringLiteral("conception.csv"),
                                             QStringLiteral("CSV (*.csv);;JSON (*.json)"));
    if (p.isEmpty()) return;
    if (QFileInfo(p).suffix().toLower() != QLatin1String("json"))
        p = withSuffix(p, QStringLiteral("csv"));
    if (!exportTo(p))
        QMessageBox::warning(this, QStringLiteral("Kelvora"),
                             QStringLiteral("« %1 » : écriture impossible").arg(p));
}

bool DesignWindow::exportTo(const QString& path) {
    return workbench_.exportDesign(input_, path);
}

}  // namespace kelvora::ui
