#include "tools/calibrate_cli.h"

#include <QFileInfo>
#include <ostream>

#include "io/designfile.h"
#include "io/export.h"
#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/measured.h"
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

// The observation's exposure, airmass and gain describe that night, not the
// instrument: the design keeps its own.
design::DesignInput withoutObservation(design::DesignInput in, const design::DesignInput& base) {
    in.pose_s = base.pose_s;
    in.poses = base.poses;
    in.masse_air = base.masse_air;
    in.gain_e_adu = base.gain_e_adu;
    return in;
}

int save(const design::DesignInput& in, const design::DesignInput& base,
         const design::Calibration& c, const CalcOptions& o, const DetectorCatalogue& catalogue,
         std::ostream& err) {
    io::DesignFile file;  // the design file's window texts, when one was given
    if (o.file && !io::readDesignFile(*o.file, catalogue, file).empty()) file = {};
    file.design = withoutObservation(in, base);
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
        if (key == "gain_e_adu") user.gain_e_adu = in.gain_e_adu;  // over the file's EGAIN
    }
    return user;
}

// The sensor a calibration was measured with.
std::string sensorOf(const design::MeasuredRatio& m) {
    const auto it = m.instrument.keys.find("detecteur");
    return it == m.instrument.keys.end() ? std::string() : it->second;
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
    const std::string name =
        QFileInfo(QString::fromStdString(*o.spectrumFile)).fileName().toStdString();
    const design::Calibration c = design::calibrate(in, read.spectrum, "", name, overrides(in, o));
    if (!c.error.empty()) return err << "kelvora-calc : " << c.error << '\n', 1;
    printTable(c, o.format, out);
    err << design::calibrationSummary(c, ".") << '\n';
    return o.saveTo ? save(in, base, c, o, catalogue, err) : 0;
}

int listCalibrations(const io::DesignFile& file, const CalcOptions& o, std::ostream& out,
                     std::ostream& err) {
    const auto& list = file.design.etalonnages;
    if (o.remove) {
        if (o.remove > list.size())
            return err << "kelvora-calc : pas d'étalonnage n° " << o.remove << " (" << list.size()
                       << " dans ce fichier)\n",
                   2;
        io::DesignFile kept = file;
        kept.design.etalonnages.erase(kept.design.etalonnages.begin() +
                                      static_cast<std::ptrdiff_t>(o.remove - 1));
        if (const std::string e = io::writeDesignFile(*o.saveTo, kept); !e.empty())
            return err << "kelvora-calc : " << e << '\n', 2;
        return 0;
    }
    TableWriter table(o.format == OutputFormat::Default ? OutputFormat::Csv : o.format, out,
                      {"numero", "date", "etoile", "fichier", "snr", "rapport_median",
                       "lambda_min_a", "lambda_max_a", "capteur", "difference"});
    for (std::size_t i = 0; i < list.size(); ++i) {
        design::DesignInput one = file.design;
        one.etalonnages = {list[i]};
        table.row({Cell::ofNumber(static_cast<double>(i + 1)), Cell::ofText(list[i].date),
                   Cell::ofText(list[i].star), Cell::ofText(list[i].file),
                   Cell::ofNumber(list[i].snr), Cell::ofNumber(design::medianRatio(list[i])),
                   Cell::ofNumber(list[i].points.front().first),
                   Cell::ofNumber(list[i].points.back().first), Cell::ofText(sensorOf(list[i])),
                   Cell::ofText(design::instrumentDifference(one))});
    }
    table.finish();
    return 0;
}

}  // namespace kelvora::cli
