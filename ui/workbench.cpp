#include "ui/workbench.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QUrl>
#include <sstream>

#include "io/usercatalogue.h"
#include "tools/calc_options.h"
#include "tools/window_sweep.h"
#include "ui/designwindow.h"
#include "ui/layout.h"
#include "ui/mainwindow.h"

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

const DetectorCatalogue& Workbench::catalogue() {
    if (!catalogue_) catalogue_ = io::loadCatalogue();
    return *catalogue_;
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
    if (designWindow_) designWindow_->showValues(design_.design);
    return true;
}

bool Workbench::save() {
    return path_.isEmpty() ? saveAs() : writeTo(path_);
}

bool Workbench::saveAs() {
    QString p =
        QFileDialog::getSaveFileName(&window_, QStringLiteral("Enregistrer sous"), path_, kFilter);
    if (p.isEmpty()) return false;
    if (!p.endsWith(QStringLiteral(".kelvora"))) p += QStringLiteral(".kelvora");
    return writeTo(p);
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
    modified_ = false;
    window_.setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] — Kelvora"));
    window_.setWindowModified(false);
}

void Workbench::newDesign() {
    if (!mayClose()) return;
    window_.Form_Load();
    window_.clearResults();
    design_ = io::DesignFile{};
    path_.clear();
    modified_ = false;
    window_.setWindowTitle(QString::fromUtf8(kWindowCaption));
    window_.setWindowModified(false);
    if (designWindow_) designWindow_->showValues(design_.design);
}

void Workbench::markModified() {
    modified_ = true;
    if (!path_.isEmpty()) window_.setWindowModified(true);
}

bool Workbench::mayClose() {
    if (path_.isEmpty() || !modified_) return true;
    const auto answer = QMessageBox::question(
        &window_, QStringLiteral("Kelvora"), QStringLiteral("Enregistrer les modifications ?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

// One CSV row of numbers, as kelvora-calc writes it.
void Workbench::exportResults() {
    QString p = QFileDialog::getSaveFileName(&window_, QStringLiteral("Exporter les résultats"), {},
                                             QStringLiteral("CSV (*.csv)"));
    if (p.isEmpty()) return;
    std::ostringstream csv, unused;  // a fault is in the row's « erreur » column
    cli::printWindowSweep(window_.readWindow(), cli::CalcOptions{}, catalogue(),
                          cli::OutputFormat::Csv, csv, unused);
    QSaveFile f(p);
    const std::string bytes = csv.str();
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0 || !f.commit())
        QMessageBox::warning(
            &window_, QStringLiteral("Kelvora"),
            QStringLiteral("« %1 » : écriture impossible (%2)").arg(p, f.errorString()));
}

void Workbench::openDesignWindow() {
    if (!designWindow_) designWindow_ = new DesignWindow(*this, &window_);
    designWindow_->startFrom(window_.readWindow());
    designWindow_->show();
    designWindow_->raise();
    designWindow_->activateWindow();
}

void Workbench::showManual() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/kelvora/README.md");
    if (QFileInfo::exists(installed)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(installed).canonicalFilePath()));
        return;
    }
    QMessageBox::information(&window_, QStringLiteral("Manuel"),
                             QStringLiteral("Le manuel : man kelvora et man kelvora-calc."));
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
