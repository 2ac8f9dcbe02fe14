#include "ui/workbench.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QUrl>
#include <sstream>

#include "io/export.h"
#include "io/usercatalogue.h"
#include "io/userlines.h"
#include "model/windowlayout.h"
#include "ui/designform.h"
#include "ui/designwindow.h"
#include "ui/mainwindow.h"
#include "ui/manual.h"
#include "ui/paths.h"

namespace kelvora::ui {

namespace {

const QString kFilter = QStringLiteral("Conceptions Kelvora (*.kelvora)");

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

Workbench::Workbench(MainWindow& window) : window_(window), bar_(new QMenuBar(&window)) {
    bar_->setObjectName(QStringLiteral("menuBar"));
    createMenus();
}

Workbench::~Workbench() = default;

// A broken user file is said once, when first read; its good entries still count.
const DetectorCatalogue& Workbench::catalogue() {
    if (catalogue_) return *catalogue_;
    std::string warning;
    catalogue_ = io::loadCatalogue(&warning);
    if (!warning.empty()) QMessageBox::warning(&window_, QStringLiteral("Kelvora"), qs(warning));
    return *catalogue_;
}

const std::vector<design::Line>& Workbench::lines() {
    if (lines_) return *lines_;
    std::string warning;
    lines_ = io::loadLines(&warning);
    if (!warning.empty()) QMessageBox::warning(&window_, QStringLiteral("Kelvora"), qs(warning));
    return *lines_;
}

void Workbench::createMenus() {
    QMenu* file = bar_->addMenu(QStringLiteral("&Fichier"));
    file->addAction(QStringLiteral("&Nouveau"), QKeySequence::New, [this] { newDesign(); });
    file->addAction(QStringLiteral("&Ouvrir…"), QKeySequence::Open, [this] {
        if (!mayClose()) return;
        const QString p =
            QFileDialog::getOpenFileName(&window_, QStringLiteral("Ouvrir"), {}, kFilter);
        if (!p.isEmpty()) openFile(p);
    });
    file->addAction(QStringLiteral("&Enregistrer"), QKeySequence::Save, [this] { save(); });
    file->addAction(QStringLiteral("Enregistrer &sous…"), QKeySequence::SaveAs,
                    [this] { saveAs(); });
    file->addAction(QStringLiteral("E&xporter les résultats…"), [this] { exportResults(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quitter"), QKeySequence::Quit, [this] {
        if (mayClose()) QCoreApplication::exit(0);
    });
    QMenu* tools = bar_->addMenu(QStringLiteral("O&utils"));
    tools->addAction(QStringLiteral("&Conception avancée…"), [this] { openDesignWindow(); });
    QMenu* help = bar_->addMenu(QStringLiteral("&Aide"));
    help->addAction(QStringLiteral("&Manuel"), [this] { showManual(); });
    help->addAction(QStringLiteral("À &propos de Kelvora"), [this] { showAbout(); });
}

bool Workbench::openFile(const QString& path) {
    io::DesignFile file;
    std::string error = io::readDesignFile(path.toStdString(), catalogue(), file);
    if (error.empty()) {
        error = window_.restoreWindowState(file.window);
        if (!error.empty()) error = "« " + path.toStdString() + " » : " + error;
    }
    if (!error.empty()) {
        QMessageBox::warning(&window_, QStringLiteral("Kelvora"), qs(error));
        return false;
    }
    design_ = file;
    holdFile(path);
    if (designWindow_) designWindow_->showValues(designToShow());
    // What reading set aside is said; the rest of the file is open.
    if (!file.notes.empty()) {
        QString said;
        for (const std::string& note : file.notes) said += qs(note) + QLatin1Char('\n');
        QMessageBox::warning(&window_, QStringLiteral("Kelvora"), said.trimmed());
    }
    return true;
}

bool Workbench::save() {
    return path_.isEmpty() ? saveAs() : writeTo(path_);
}

bool Workbench::saveAs() {
    QString p =
        QFileDialog::getSaveFileName(&window_, QStringLiteral("Enregistrer sous"), path_, kFilter);
    if (p.isEmpty()) return false;
    return writeTo(withSuffix(p, QStringLiteral("kelvora")));
}

bool Workbench::writeTo(const QString& path) {
    design_.window = window_.windowState();
    const std::string error = io::writeDesignFile(path.toStdString(), design_);
    if (!error.empty()) {
        QMessageBox::warning(&window_, QStringLiteral("Kelvora"), qs(error));
        return false;
    }
    holdFile(path);
    return true;
}

void Workbench::holdFile(const QString& path) {
    path_ = path;
    formModified_ = designModified_ = false;
    refreshTitles();
}

// Both windows name the file they belong to and show whether it changed.
void Workbench::refreshTitles() {
    const QString name = path_.isEmpty() ? QString() : QFileInfo(path_).fileName();
    window_.setWindowTitle(name.isEmpty() ? QString::fromUtf8(kWindowCaption)
                                          : name + QStringLiteral("[*] — Kelvora"));
    window_.setWindowModified(!path_.isEmpty() && modified());
    if (designWindow_) designWindow_->showTitle(name, modified());
}

void Workbench::newDesign() {
    if (!mayClose()) return;
    window_.Form_Load();
    window_.clearResults();
    design_ = io::DesignFile{};
    path_.clear();
    formModified_ = designModified_ = false;
    refreshTitles();
    if (designWindow_) designWindow_->showValues(designToShow());
}

void Workbench::markModified() {
    formModified_ = true;
    refreshTitles();
}

void Workbench::designEdited(const design::DesignInput& in) {
    design_.design = in;
    design_.hasDesign = true;
    designModified_ = true;
    refreshTitles();
}

void Workbench::takeWindowValues() {
    if (!designWindow_) return;
    const design::DesignInput in =
        designform::designFromForm(window_.readWindow(), catalogue(), design_.design);
    designWindow_->showValues(in);
    designEdited(in);
}

design::DesignInput Workbench::currentDesign() {
    return designWindow_ ? designWindow_->input() : designToShow();
}

void Workbench::loadCandidate(const design::DesignInput& in) {
    openDesignWindow();
    designWindow_->load(in);
}

void Workbench::openProposer() {
    if (!proposer_) proposer_ = new ProposerWindow(*this, &window_);
    proposer_->propose();
    proposer_->show();
    proposer_->raise();
    proposer_->activateWindow();
}

// The design held, or the form's values while none is.
design::DesignInput Workbench::designToShow() {
    if (design_.hasDesign) return design_.design;
    return designform::designFromForm(window_.readWindow(), catalogue(), design::DesignInput{});
}

bool Workbench::mayClose() {
    const bool unsaved = designModified_ || (formModified_ && !path_.isEmpty());
    if (!unsaved) return true;
    const auto answer = QMessageBox::question(
        &window_, QStringLiteral("Kelvora"), QStringLiteral("Enregistrer les modifications ?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

// Inputs and results in one CSV row, numbers as kelvora-calc writes them.
void Workbench::exportResults() {
    const QString p = QFileDialog::getSaveFileName(
        &window_, QStringLiteral("Exporter les résultats"), QStringLiteral("resultats.csv"),
        QStringLiteral("CSV (*.csv)"));
    if (!p.isEmpty()) exportResultsTo(withSuffix(p, QStringLiteral("csv")));
}

bool Workbench::exportResultsTo(const QString& path) {
    std::ostringstream csv;  // a fault is in the row's « erreur » column
    io::writeWindowRow(window_.readWindow(), io::OutputFormat::Csv, csv);
    return writeBytes(path, csv.str());
}

bool Workbench::exportDesign(const design::DesignInput& in, const QString& path) {
    std::ostringstream out;
    const bool json = path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
    io::writeDesignRow(in, json ? io::OutputFormat::Json : io::OutputFormat::Csv, out);
    return writeBytes(path, out.str());
}

// Atomic: an existing file stays whole until the new one is complete.
bool Workbench::writeBytes(const QString& path, const std::string& bytes) {
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) &&
        f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
            static_cast<qint64>(bytes.size()) &&
        f.commit())
        return true;
    QMessageBox::warning(
        &window_, QStringLiteral("Kelvora"),
        QStringLiteral("« %1 » : écriture impossible (%2)").arg(path, f.errorString()));
    return false;
}

void Workbench::openDesignWindow() {
    if (!designWindow_) {
        designWindow_ = new DesignWindow(*this, &window_);
        refreshTitles();
        designWindow_->showValues(designToShow());
    } else if (!designWindow_->isVisible()) {
        designWindow_->showValues(designToShow());
    }
    designWindow_->show();
    designWindow_->raise();
    designWindow_->activateWindow();
}

void Workbench::showManual() {
    showUserManual(&window_);
}

void Workbench::showAbout() {
    QMessageBox::about(
        &window_, QStringLiteral("À propos de Kelvora"),
        QStringLiteral("Kelvora %1\nCalcul des paramètres d'un spectrographe\n\n"
                       "Licence MIT\nQt %2")
            .arg(QCoreApplication::applicationVersion(), QString::fromLatin1(qVersion())));
}

std::optional<QString> Workbench::droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".kelvora")))
        return std::nullopt;
    return url.toLocalFile();
}

}  // namespace kelvora::ui
