#include "io/userlines.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <cmath>

namespace kelvora::io {

std::string userLinesPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/kelvora/raies.json";
}

std::vector<design::Line> linesFromJson(std::string_view bytes, std::string* warning) {
    std::vector<design::Line> lines = design::builtInLines();
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!doc.isArray()) {
        if (warning) *warning = "un tableau JSON de raies est attendu";
        return lines;
    }
    int index = 0;
    for (const QJsonValue& v : doc.array()) {
        ++index;
        const QJsonObject o = v.toObject();
        const QString name = o.value(QLatin1String("nom")).toString();
        const double lambda = o.value(QLatin1String("lambda_a")).toDouble(NAN);
        const char* rule = name.isEmpty() ? "« nom » est requis"
                           : !(lambda > 0) || !std::isfinite(lambda)
                               ? "« lambda_a » doit être un nombre > 0"
                               : nullptr;
        if (rule) {
            if (warning && warning->empty())
                *warning = "raie n° " + std::to_string(index) +
                           (name.isEmpty() ? "" : " (« " + name.toStdString() + " »)") +
                           " ignorée : " + rule;
            continue;
        }
        const QString kind = o.value(QLatin1String("type")).toString(QStringLiteral("utilisateur"));
        lines.push_back({name.toStdString(), lambda, kind.toStdString()});
    }
    return lines;
}

std::vector<design::Line> loadLines(std::string* warning) {
    const std::string path = userLinesPath();
    QFile f(QString::fromStdString(path));
    if (!f.exists()) return design::builtInLines();
    if (!f.open(QIODevice::ReadOnly)) {
        if (warning) *warning = "« " + path + " » : lecture impossible";
        return design::builtInLines();
    }
    const QByteArray bytes = f.read(4 * 1024 * 1024);
    std::string problem;
    auto lines = linesFromJson(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &problem);
    if (!problem.empty() && warning) *warning = "« " + path + " » : " + problem;
    return lines;
}

}  // namespace kelvora::io
