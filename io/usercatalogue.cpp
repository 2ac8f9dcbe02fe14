#include "io/usercatalogue.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <cmath>

namespace kelvora::io {

namespace {

// One sensor: {"nom", "pixel_um", "pixels"} and optionally "bruit_e",
// "obscurite_e_s", "puits_e", "qe".
bool readRow(const QJsonObject& o, DetectorModel& d) {
    const QString name = o.value(QLatin1String("nom")).toString();
    const double pixel = o.value(QLatin1String("pixel_um")).toDouble(NAN);
    const double count = o.value(QLatin1String("pixels")).toDouble(NAN);
    if (name.isEmpty() || !(pixel > 0) || !(count >= 1) || !std::isfinite(pixel) ||
        !std::isfinite(count))
        return false;
    d.caption = name.toStdString();
    d.p = pixel / 1000;
    d.nx = count;
    d.readNoise = o.value(QLatin1String("bruit_e")).toDouble(NAN);
    d.dark = o.value(QLatin1String("obscurite_e_s")).toDouble(NAN);
    d.fullWell = o.value(QLatin1String("puits_e")).toDouble(NAN);
    d.qe = o.value(QLatin1String("qe")).toDouble(NAN);
    return true;
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
        if (v.isObject() && readRow(v.toObject(), d)) {
            rows.push_back(std::move(d));
        } else if (warning) {
            *warning = "capteur n° " + std::to_string(index) +
                       " ignoré (« nom », « pixel_um » > 0 et « pixels » ≥ 1 sont requis)";
        }
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
