#include "tools/calibrate_cli.h"

#include <QDate>
#include <QFileInfo>
#include <ostream>

#include "io/designfile.h"
#include "io/export.h"
#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "tools/design_answers.h"

namespace kelvora::cli {

namespace {

void printTable(const design::Calibration& c, OutputFormat format, std::ostream& out) {
    TableWriter table(format == OutputFormat::Default ? OutputFormat::Csv : format, out,
                      {"lambda_a", "observe_e_s_a", "predit_e_s_a", "rapport", "snr",
                       "rendement_mesure", "masque"});
    for (const design::CalibrationBin& b : c.bins)
        table.row({io::Cell::ofNumber(b.lambda_a), io::Cell::ofNumber(b.observed),
                   io::Cell::ofNumber(b.predicted), io::Cell::ofNumber(b.ratio),
                   io::Cell::ofNumber(b.snr), io::Cell::ofNumber(b.efficiency),
                   io::Cell::ofText(b.masked ? "oui" : "non")});
    table.finish();
}

int save(const design::DesignInput& in, const design::Calibration& c, const CalcOptions& o,
         const DetectorCatalogue& catalogue, std::ostream& err) {
    io::DesignFile file;  // the design file's window texts, when one was given
    if (o.file && !io::readDesignFile(*o.file, catalogue, file).empty()) file = {};
    file.design = in;
    file.design.etalonnages.push_back(c.ratio);
    file.hasDesign = true;
    if (const std::string e = io::writeDesignFile(*o.saveTo, file); !e.empty()) {
        err << "kelvora-calc : " << e << '\n';
        return 2;
    }
    return 0;
}

// What the user said of the observation on the command line.
design::CalibrationOverrides overrides(const design::DesignInput& in, const CalcOptions& o) {
    design::CalibrationOverrides user;
    for (const auto& [key, values] : o.fields) {
        if (key == "pose_s") user.pose_s = in.pose_s;
        if (key == "masse_air") user.masse_air = in.masse_air;
    }
    return user;  // the gain: the design's gain_e_adu, set or not
}

}  // namespace

int printCalibration(const design::DesignInput& base, const CalcOptions& o,
                     const DetectorCatalogue& catalogue, std::ostream& out, std::ostream& err) {
    std::string error;
    const design::DesignInput in = applyKeys(base, o, catalogue, nullptr, error);
    if (!error.empty()) return err << "kelvora-calc : " << error << '\n', 2;
    const io::SpectrumRead read = io::readSpectrumFile(*o.spectrumFile);
    if (!read.error.empty())
        return err << "kelvora-calc : impossible de lire « " << *o.spectrumFile
                   << " » : " << read.error << '\n',
               2;
    const std::string date = design::observationDate(
        read.spectrum, QDate::currentDate().toString(Qt::ISODate).toStdString());
    const std::string name =
        QFileInfo(QString::fromStdString(*o.spectrumFile)).fileName().toStdString();
    const design::Calibration c =
        design::calibrate(in, read.spectrum, date, name, overrides(in, o));
    if (!c.error.empty()) return err << "kelvora-calc : " << c.error << '\n', 1;
    printTable(c, o.format, out);
    err << design::calibrationSummary(c, ".") << '\n';
    return o.saveTo ? save(in, c, o, catalogue, err) : 0;
}

}  // namespace kelvora::cli
