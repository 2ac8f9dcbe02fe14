#include "ui/designwindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "model/design/keys.h"
#include "model/numbertext.h"
#include "ui/designplots.h"
#include "ui/workbench.h"

namespace kelvora::ui {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const char* const kCustomSensor = "(valeurs saisies)";

// Results: 5 significant digits, the regional separator, no grouping.
QString number(double v) {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return std::isfinite(v) ? locale.toString(v, 'g', 5) : QStringLiteral("—");
}

// A value as typed: plain decimals where they stay readable.
QString fieldText(const design::DesignInput& in, const std::string& key) {
    const std::string text = design::keyText(in, key);
    const auto v = design::strictNumber(text);
    if (!v || *v == 0 || std::fabs(*v) < 1e-6 || std::fabs(*v) >= 1e15) return qs(text);
    char buf[64];
    return QString::fromLatin1(
        buf, std::to_chars(buf, buf + sizeof buf, *v, std::chars_format::fixed).ptr - buf);
}

// The inputs in their group boxes, in two columns.
struct InputRow {
    const char* group;  // starts a new group box
    const char* key;
    const char* label;
    bool newColumn = false;
};
const InputRow kInputs[] = {
    {"Télescope", "diametre_mm", "Diamètre (mm)"},
    {nullptr, "focale_mm", "Focale (mm)"},
    {nullptr, "seeing_arcsec", "Seeing (\")"},
    {"Réseau", "geometrie", "&Géométrie"},
    {nullptr, "traits_mm", "Traits par mm"},
    {nullptr, "ordre", "Ordre"},
    {nullptr, "incidence_deg", "Incidence α (°)"},
    {nullptr, "deviation_deg", "Déviation δ (°)"},
    {nullptr, "distance_capteur_mm", "Réseau/capteur (mm)"},
    {nullptr, "ordre0_px", "Ordre 0 au pixel"},
    {"Spectrographe", "collimateur_mm", "Focale collimateur (mm)"},
    {nullptr, "objectif_mm", "Focale objectif (mm)"},
    {nullptr, "distance_objectif_mm", "Réseau/objectif (mm)"},
    {nullptr, "lambda_a", "Longueur d'onde (Å)"},
    {nullptr, "fente_um", "Fente (µm, 0 : sans)"},
    {"Capteur", "detecteur", "&Capteur", true},
    {nullptr, "pixel_um", "Pixel (µm)"},
    {nullptr, "pixels", "Pixels"},
    {nullptr, "bruit_e", "Bruit de lecture (e⁻)"},
    {nullptr, "obscurite_e_s", "Obscurité (e⁻/s)"},
    {nullptr, "puits_e", "Puits (e⁻)"},
    {nullptr, "qe", "Rendement quantique"},
    {nullptr, "bin_x", "Bin X"},
    {nullptr, "bin_y", "Bin Y"},
    {"Prise de vue", "mag_etoile", "Magnitude de l'étoile"},
    {nullptr, "mag_ciel", "Magnitude du ciel"},
    {nullptr, "pose_s", "Pose totale (s)"},
    {nullptr, "poses", "Nombre de poses"},
    {nullptr, "transmission", "Transmission"},
    {nullptr, "cible_snr", "S/N cible (0 : sans)"},
};

struct ResultRow {
    const char* key;
    const char* label;
};
const ResultRow kResults[] = {
    {"alpha_deg", "Incidence α (°)"},
    {"beta_deg", "Diffraction β (°)"},
    {"anamorphose", "Anamorphose"},
    {"dispersion_a_px", "Dispersion (Å/pixel)"},
    {"lambda_min_a", "Lambda min. (Å)"},
    {"lambda_max_a", "Lambda max. (Å)"},
    {"image_entree_px", "Image d'entrée (pixels)"},
    {"element_resolution_a", "Élément de résolution (Å)"},
    {"resolution", "Résolution R"},
    {"echantillonnage_px", "Échantillonnage (pixels)"},
    {"faisceau_mm", "Faisceau (mm)"},
    {"longueur_reseau_mm", "Longueur éclairée du réseau (mm)"},
    {"diametre_objectif_mm", "Diamètre de l'objectif (mm)"},
    {"ouverture_objectif", "Ouverture de l'objectif F/"},
    {"snr", "Rapport signal/bruit"},
    {"electrons_pic", "Électrons au pixel le plus lumineux"},
    {"poses_min", "Poses minimales sans saturation"},
    {"pose_cible_s", "Pose pour le S/N cible (s)"},
    {"magnitude_limite", "Magnitude limite"},
};

}  // namespace

DesignWindow::DesignWindow(Workbench& workbench, QWidget* parent)
    : QWidget(parent, Qt::Window), workbench_(workbench) {
    setObjectName(QStringLiteral("conception"));
    setWindowTitle(QStringLiteral("Conception avancée — Kelvora"));
    // Inputs and results side by side, the three plots below.
    plots_ = new DesignPlots(this);
    auto* grid = new QGridLayout(this);
    grid->addWidget(createInputs(), 0, 0);
    grid->addWidget(createResults(), 0, 1);
    grid->addWidget(plots_, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    showValues(workbench_.design().design);
}

void DesignWindow::addField(QFormLayout* form, const char* key, const QString& label) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(key));
    edit->setAccessibleName(label);
    form->addRow(label, edit);
    fields_[key] = edit;
    connect(edit, &QLineEdit::textEdited, this, [this] { edited(); });
}

QComboBox* DesignWindow::createChoice(const char* key, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(key));
    if (std::string_view(key) == "geometrie") {
        for (const char* g : {"normale", "incidence", "littrow", "deviation", "convergent"})
            box->addItem(QString::fromLatin1(g));
        connect(box, &QComboBox::activated, this, [this] { edited(); });
        geometry_ = box;
    } else {
        for (const DetectorModel& d : workbench_.catalogue().rows()) box->addItem(qs(d.caption));
        box->addItem(QString::fromUtf8(kCustomSensor));
        connect(box, &QComboBox::activated, this, [this] { sensorChosen(); });
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
    for (const InputRow& row : kInputs) {
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
        const QString label = QString::fromUtf8(row.label);
        const std::string_view key = row.key;
        if (key == "geometrie" || key == "detecteur") {
            QComboBox* choice = createChoice(row.key, box);
            choice->setAccessibleName(QString(label).remove(QLatin1Char('&')));
            form->addRow(label, choice);
        } else {
            addField(form, row.key, label);
        }
    }
    column->addStretch();
    return box;
}

QWidget* DesignWindow::createResults() {
    auto* box = new QGroupBox(QStringLiteral("Résultats"), this);
    auto* form = new QFormLayout(box);
    error_ = new QLabel(box);
    error_->setObjectName(QStringLiteral("erreur"));
    error_->setAccessibleName(QStringLiteral("Erreur"));
    error_->setWordWrap(true);
    error_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    form->addRow(error_);
    verdict_ = new QLabel(box);
    verdict_->setObjectName(QStringLiteral("echantillonnage"));
    verdict_->setAccessibleName(QStringLiteral("Échantillonnage"));
    saturation_ = new QLabel(box);
    saturation_->setObjectName(QStringLiteral("saturation"));
    saturation_->setAccessibleName(QStringLiteral("Saturation"));
    saturation_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    for (const ResultRow& row : kResults) {
        auto* value = new QLabel(box);
        value->setObjectName(QString::fromLatin1(row.key));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        value->setAccessibleName(QString::fromUtf8(row.label));
        form->addRow(QString::fromUtf8(row.label), value);
        results_[row.key] = value;
        if (std::string_view(row.key) == "echantillonnage_px") form->addRow(QString(), verdict_);
        if (std::string_view(row.key) == "electrons_pic") form->addRow(QString(), saturation_);
    }
    return box;
}

void DesignWindow::startFrom(const RunInput& form) {
    design::DesignInput in = input_;
    auto value = [&](Control c) { return readNumber(form.texts[indexOf(c)]).value; };
    if (!form.detector.caption.empty()) design::applyDetector(in, form.detector);
    in.diametre_mm = value(Control::txtDiametre);
    in.focale_mm = value(Control::txtFocale);
    in.seeing_arcsec = value(Control::txtSeeing);
    in.traits_mm = value(Control::txtTraits);
    in.ordre = value(Control::txtOrdre);
    in.collimateur_mm = value(Control::txtCollimateur);
    in.objectif_mm = value(Control::txtChambre);
    in.distance_objectif_mm = value(Control::txtDistance);
    in.lambda_a = value(Control::txtWavelength);
    in.mag_etoile = value(Control::txtMagEtoile);
    in.mag_ciel = value(Control::txtMagCiel);
    in.pose_s = value(Control::txtTi);
    in.poses = value(Control::txtNexposure);
    in.bruit_e = value(Control::txtBruit);
    in.bin_x = value(Control::txtBin1);
    in.bin_y = value(Control::txtBin2);
    in.fente_um = form.barlowSelected ? 0 : value(Control::txtSlitWide) * 1000;
    showValues(in);
    workbench_.design().design = input_;
}

void DesignWindow::showValues(const design::DesignInput& in) {
    input_ = in;
    for (auto& [key, edit] : fields_) edit->setText(fieldText(in, key));
    geometry_->setCurrentText(QString::fromLatin1(design::geometryName(in.geometrie)));
    const int row = sensor_->findText(qs(in.detecteur));
    sensor_->setCurrentIndex(row >= 0 ? row : sensor_->count() - 1);
    recompute();
}

void DesignWindow::sensorChosen() {
    if (const DetectorModel* d =
            workbench_.catalogue().find(sensor_->currentText().toStdString())) {
        design::applyDetector(input_, *d);
        for (const char* key : {"pixel_um", "pixels", "bruit_e", "obscurite_e_s", "puits_e", "qe"})
            fields_[key]->setText(fieldText(input_, key));
    }
    edited();
}

// Every field is read strictly; the first that is not a number is the error.
void DesignWindow::edited() {
    std::string error;
    design::DesignInput in = input_;
    in.geometrie = *design::geometryByName(geometry_->currentText().toStdString());
    // Typed values keep the last sensor's name: a file then reads back the
    // sensor and the typed values over it.
    if (workbench_.catalogue().find(sensor_->currentText().toStdString()))
        in.detecteur = sensor_->currentText().toStdString();
    for (auto& [key, edit] : fields_) {
        const std::string e =
            design::setKey(in, key, edit->text().toStdString(), workbench_.catalogue());
        if (!e.empty() && error.empty()) error = e;
    }
    if (!error.empty()) {
        showError(error);
        return;
    }
    input_ = in;
    workbench_.design().design = input_;
    workbench_.markModified();
    recompute();
}

// The error line is there only while there is something to say.
void DesignWindow::showError(const std::string& error) {
    error_->setText(qs(error));
    error_->setVisible(!error.empty());
}

void DesignWindow::enableForGeometry() {
    const auto g = input_.geometrie;
    const bool conv = g == design::Geometry::Convergent;
    fields_["incidence_deg"]->setEnabled(g == design::Geometry::Incidence);
    fields_["deviation_deg"]->setEnabled(g == design::Geometry::Deviation);
    fields_["distance_capteur_mm"]->setEnabled(conv);
    fields_["ordre0_px"]->setEnabled(conv);
    for (const char* key : {"collimateur_mm", "objectif_mm", "distance_objectif_mm", "fente_um"})
        fields_[key]->setEnabled(!conv);
}

void DesignWindow::recompute() {
    enableForGeometry();
    const design::DesignOutcome o = design::evaluate(input_);
    showError(o.error);
    if (!o.result) {
        for (auto& [key, label] : results_) label->clear();
        verdict_->clear();
        saturation_->clear();
        plots_->update(input_, nullptr);
        return;
    }
    showResults(*o.result, input_.cible_snr > 0);
    plots_->update(input_, &*o.result);
}

void DesignWindow::showResults(const design::DesignResult& r, bool withTarget) {
    for (auto& [key, label] : results_) label->clear();  // the target's rows, without one
    for (const design::NamedResult& n : design::namedResults(r, withTarget))
        if (const auto it = results_.find(n.name); it != results_.end())
            it->second->setText(number(n.cell.number));
    verdict_->setText(QString::fromUtf8(design::samplingVerdict(r.echantillonnage)));
    const bool good = r.echantillonnage == design::Sampling::Good;
    verdict_->setStyleSheet(good ? QStringLiteral("color: #006000; font-weight: bold")
                                 : QStringLiteral("color: #b06000; font-weight: bold"));
    saturation_->setText(
        r.saturation ? QStringLiteral("Saturation : %1 poses au moins").arg(number(r.poses_min))
                     : QString());
}

}  // namespace kelvora::ui
