#include "io/usercatalogue.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

namespace kelvora::io {

namespace {

// Points of a curve typed in percent, or in Å: recognised, with a hint.
constexpr double kLongestNm = 1200;

// "qe_courbe": [[nm, QE], ...], wavelengths increasing, QE in (0, 1]: kept
// as its shape relative to its peak, the peak becoming the sensor's QE
// unless "qe" says otherwise. "" or the rule the curve breaks.
std::string readCurve(const QJsonValue& v, DetectorModel& d) {
    if (v.isUndefined()) return {};
    const QJsonArray points = v.toArray();
    if (points.size() < 2) return "« qe_courbe » : au moins deux paires [nm, QE] sont attendues";
    double peak = 0;
    for (const QJsonValue& p : points) {
        const QJsonArray pair = p.toArray();
        const double nm = pair.at(0).toDouble(NAN), qe = pair.at(1).toDouble(NAN);
        if (pair.size() != 2 || !std::isfinite(nm) || !std::isfinite(qe))
            return "« qe_courbe » : chaque point est une paire [nm, QE] de nombres";
        if (qe > 1 && qe <= 100)
            return "« qe_courbe » : QE en pourcentage ? des valeurs de 0 à 1 sont attendues "
                   "(0.8, et non 80)";
        if (nm > kLongestNm)
            return "« qe_courbe » : longueurs d'onde en Å ? des nm sont attendus (550, et non "
                   "5500)";
        if (!(qe > 0 && qe <= 1)) return "« qe_courbe » : chaque QE doit être entre 0 et 1";
        if (!d.qeCurve.empty() && nm <= d.qeCurve.back().first)
            return "« qe_courbe » : les longueurs d'onde doivent croître";
        d.qeCurve.emplace_back(nm, qe);
        peak = std::max(peak, qe);
    }
    for (auto& point : d.qeCurve) point.second /= peak;
    if (std::isnan(d.qe)) d.qe = peak;
    return {};
}

// "bruit_courbe": [[setting, e⁻], ...], settings not decreasing (a step:
// two points at one setting), read noise ≥ 0. "" or the rule it breaks.
std::string readNoiseCurve(const QJsonValue& v, DetectorModel& d) {
    if (v.isUndefined()) return {};
    const QJsonArray points = v.toArray();
    if (points.isEmpty()) return "« bruit_courbe » : des paires [réglage, e⁻] sont attendues";
    for (const QJsonValue& p : points) {
        const QJsonArray pair = p.toArray();
        const double g = pair.at(0).toDouble(NAN), e = pair.at(1).toDouble(NAN);
        if (pair.size() != 2 || !(g >= 0) || !(e >= 0) || !std::isfinite(g) || !std::isfinite(e))
            return "« bruit_courbe » : chaque point est une paire [réglage ≥ 0, e⁻ ≥ 0]";
        if (!d.readNoiseCurve.empty() && g < d.readNoiseCurve.back().first)
            return "« bruit_courbe » : les réglages doivent croître";
        d.readNoiseCurve.emplace_back(g, e);
    }
    return {};
}

// The camera as run: "bits_adc", "temperature_reference_c", "doublement_obscurite_c".
std::string readCamera(const QJsonObject& o, DetectorModel& d) {
    d.bits = o.value(QLatin1String("bits_adc")).toDouble(0);
    d.darkReferenceC = o.value(QLatin1String("temperature_reference_c")).toDouble(25);
    d.darkDoublingC = o.value(QLatin1String("doublement_obscurite_c")).toDouble(0);
    if (d.bits != 0 && !(d.bits >= 8 && d.bits <= 24 && d.bits == std::floor(d.bits)))
        return "« bits_adc » doit être un entier de 8 à 24";
    if (!(d.darkReferenceC >= -100 && d.darkReferenceC <= 60))
        return "« temperature_reference_c » doit être entre -100 et 60";
    if (d.darkDoublingC != 0 && !(d.darkDoublingC >= 1 && d.darkDoublingC <= 20))
        return "« doublement_obscurite_c » doit être 0 ou entre 1 et 20";
    return readNoiseCurve(o.value(QLatin1String("bruit_courbe")), d);
}

// One sensor: {"nom", "pixel_um", "pixels"} and optionally "bruit_e",
// "obscurite_e_s", "puits_e", "qe", "qe_courbe" and the camera's figures
// (readCamera). "" or the rule it breaks.
std::string readRow(const QJsonObject& o, DetectorModel& d) {
    const QString name = o.value(QLatin1String("nom")).toString();
    const double pixel = o.value(QLatin1String("pixel_um")).toDouble(NAN);
    const double count = o.value(QLatin1String("pixels")).toDouble(NAN);
    if (name.isEmpty()) return "« nom » est requis";
    if (!(pixel > 0) || !std::isfinite(pixel)) return "« pixel_um » doit être un nombre > 0";
    if (!(count >= 1) || !std::isfinite(count)) return "« pixels » doit être un nombre ≥ 1";
    d.caption = name.toStdString();
    d.p = pixel / 1000;
    d.nx = count;
    d.readNoise = o.value(QLatin1String("bruit_e")).toDouble(NAN);
    d.dark = o.value(QLatin1String("obscurite_e_s")).toDouble(NAN);
    d.fullWell = o.value(QLatin1String("puits_e")).toDouble(NAN);
    d.qe = o.value(QLatin1String("qe")).toDouble(NAN);
    if (std::string e = readCamera(o, d); !e.empty()) return e;
    return readCurve(o.value(QLatin1String("qe_courbe")), d);
}

}  // namespace

std::string userCataloguePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/kelvora/detecteurs.json";
}

DetectorCatalogue catalogueFromJson(std::string_view bytes, std::string* warning) {
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    std::vector<DetectorModel> rows;
    if (!doc.isArray()) {
        if (warning) *warning = "un tableau JSON de capteurs est attendu";
        return DetectorCatalogue(rows);
    }
    int index = 0;
    for (const QJsonValue& v : doc.array()) {
        ++index;
        DetectorModel d;
        const std::string rule = v.isObject() ? readRow(v.toObject(), d) : "un objet est attendu";
        if (rule.empty()) {
            rows.push_back(std::move(d));
            continue;
        }
        const QString name = v.toObject().value(QLatin1String("nom")).toString();
        if (warning && warning->empty())  // the first: each fix then shows the next
            *warning = "capteur n° " + std::to_string(index) +
                       (name.isEmpty() ? "" : " (« " + name.toStdString() + " »)") +
                       " ignoré : " + rule;
    }
    return DetectorCatalogue(std::move(rows));
}

DetectorCatalogue loadCatalogue(std::string* warning) {
    const std::string path = userCataloguePath();
    QFile f(QString::fromStdString(path));
    if (!f.exists()) return DetectorCatalogue();
    if (!f.open(QIODevice::ReadOnly)) {
        if (warning) *warning = "« " + path + " » : lecture impossible";
        return DetectorCatalogue();
    }
    const QByteArray bytes = f.read(4 * 1024 * 1024);
    std::string problem;
    DetectorCatalogue c = catalogueFromJson(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &problem);
    if (!problem.empty() && warning) *warning = "« " + path + " » : " + problem;
    return c;
}

}  // namespace kelvora::io
