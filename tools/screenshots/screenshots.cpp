// Takes the README's screenshots of the real windows: run it under Xvfb
// (tools/screenshots/screenshots.sh) and it writes PNG files into the folder given.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "io/designfile.h"
#include "model/design/keys.h"
#include "ui/designwindow.h"
#include "ui/mainwindow.h"
#include "ui/plots/designplots.h"
#include "ui/plotsloader.h"
#include "ui/proposerwindow.h"
#include "ui/workbench.h"

namespace {

void shootScreen(const QString& path, QRect area) {
    QApplication::processEvents();
    QTest::qWait(300);
    QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kelvora::ui::usePlotsFactory(kelvora::ui::createDesignPlots);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    kelvora::ui::MainWindow window;
    window.Form_Load();
    window.move(0, 0);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.findChild<QPushButton*>(QStringLiteral("cmdCalcul"))->click();
    QMenu* file = window.findChild<QMenuBar*>()->actions().first()->menu();
    file->popup(window.mapToGlobal(QPoint(0, window.findChild<QMenuBar*>()->height())));
    shootScreen(out + "/screenshot.png", window.frameGeometry().united(file->geometry()));
    file->hide();
    auto* diameter = window.findChild<QLineEdit*>(QStringLiteral("txtDiametre"));
    diameter->setText(QStringLiteral("2,5"));
    diameter->setFocus();
    QToolTip::showText(diameter->mapToGlobal(QPoint(diameter->width(), diameter->height())),
                       diameter->toolTip());
    const QWidget* frame = window.findChild<QWidget*>(QStringLiteral("Frame1"));
    shootScreen(
        out + "/screenshot-avertissement.png",
        QRect(frame->mapToGlobal(QPoint(0, 0)), QSize(frame->width() + 300, frame->height() + 40)));
    QToolTip::hideText();
    window.findChild<QLineEdit*>(QStringLiteral("txtDiametre"))->setText(QStringLiteral("200"));
    window.workbench().openDesignWindow();
    auto* design = window.workbench().designWindow();
    design->field("cible_snr")->setText(QStringLiteral("100"));
    design->move(0, 0);
    if (!QTest::qWaitForWindowExposed(design)) return 1;
    shootScreen(out + "/screenshot-conception.png", design->frameGeometry());
    // The efficiencies across the range, through the air, with a blazed grating and a CMOS camera.
    auto* sensor = design->sensorChoice();
    sensor->setCurrentIndex(sensor->findText(QStringLiteral("IMX533")));
    for (const auto& [key, value] : {std::pair{"masse_air", "1.5"},
                                     {"miroirs", "2"},
                                     {"blaze_a", "5000"},
                                     {"traits_mm", "600"}})
        design->field(key)->setText(QString::fromLatin1(value));
    design->findChild<QTabWidget*>(QStringLiteral("graphiques"))->setCurrentIndex(3);
    shootScreen(out + "/screenshot-rendement.png", design->frameGeometry());
    // A Be-star observer's question: which design for R = 10,000 at Hα?
    for (const auto& [key, value] : {std::pair{"masse_air", "0"},
                                     {"miroirs", "0"},
                                     {"blaze_a", "0"},
                                     {"focale_mm", "2000"},
                                     {"seeing_arcsec", "2.5"},
                                     {"lambda_a", "6563"}})
        design->field(key)->setText(QString::fromLatin1(value));
    window.workbench().openProposer();
    auto* proposer = window.workbench().proposer();
    proposer->field("resolution_cible")->setText(QStringLiteral("10000"));
    proposer->move(0, 0);
    if (!QTest::qWaitForWindowExposed(proposer)) return 1;
    shootScreen(out + "/screenshot-proposer.png", proposer->frameGeometry());
    proposer->loadRow(0);
    proposer->hide();
    design->findChild<QTabWidget*>(QStringLiteral("graphiques"))->setCurrentIndex(2);
    design->raise();
    shootScreen(out + "/screenshot-raies.png", design->frameGeometry());
    // Calibrating the manual's example instrument on its example spectrum.
    const QString example = QStringLiteral(KELVORA_SOURCE_DIR "/docs/exemple/");
    kelvora::io::DesignFile instrument;
    if (!kelvora::io::readDesignFile((example + "instrument-exemple.kelvora").toStdString(),
                                     kelvora::DetectorCatalogue(), instrument)
             .empty())
        return 1;
    design->load(instrument.design);
    QDialog* calibration = design->calibrateWith(example + "spectre-exemple.fits");
    if (!calibration) return 1;
    calibration->move(0, 0);
    calibration->show();
    if (!QTest::qWaitForWindowExposed(calibration)) return 1;
    shootScreen(out + "/screenshot-etalonnage.png", calibration->frameGeometry());
    calibration->close();
    // A spectroheliograph: the manual's walk-through build, in Hα.
    std::vector<kelvora::design::KeyValue> sun;
    for (const auto& [key, value] : {std::pair{"source", "soleil"},
                                     {"raie", "halpha"},
                                     {"geometrie", "deviation"},
                                     {"deviation_deg", "34"},
                                     {"traits_mm", "2400"},
                                     {"diametre_mm", "80"},
                                     {"focale_mm", "400"},
                                     {"collimateur_mm", "80"},
                                     {"objectif_mm", "125"},
                                     {"fente_um", "10"},
                                     {"detecteur", "IMX290"},
                                     {"pixels_fente", "1936"}})
        sun.push_back({key, value});
    design->load(kelvora::design::designFromKeys(sun, kelvora::DetectorCatalogue(), {}).input);
    design->findChild<QTabWidget*>(QStringLiteral("graphiques"))
        ->setCurrentWidget(design->findChild<QWidget*>(QStringLiteral("soleil")));
    design->raise();
    shootScreen(out + "/screenshot-soleil.png", design->frameGeometry());
    return 0;
}
