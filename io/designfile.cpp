#include "io/designfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "model/design/keys.h"
#include "model/numbertext.h"

namespace kelvora::io {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string unknownKey(const char* section, const QString& key) {
    return std::string("clé inconnue « ") + key.toStdString() + " » dans « " + section + " »";
}

std::string readWindow(const QJsonObject& o, const DetectorCatalogue& catalogue, WindowState& w) {
    for (auto it = o.begin(); it != o.end(); ++it) {
        const std::string key = it.key().toStdString();
        if (const auto c = inputByName(key)) {
            if (!it->isString()) return "« " + key + " » doit être un texte";
            w.texts[indexOf(*c)] = it->toString().toStdString();
        } else if (key == "detecteur") {
            if (it->isNull()) {
                w.detector.reset();
            } else if (!it->isString() || !catalogue.find(it->toString().toStdString())) {
                return "détecteur inconnu dans « fenetre »";
            } else {
                w.detector = it->toString().toStdString();
            }
        } else if (key == "modele") {
            const QString m = it->toString();
            if (m != QLatin1String("barlow") && m != QLatin1String("fente"))
                return "« modele » doit valoir « barlow » ou « fente »";
            w.barlow = m == QLatin1String("barlow");
        } else {
            return unknownKey("fenetre", it.key());
        }
    }
    return {};
}

std::string valueText(const QJsonValue& v) {
    if (v.isString()) return v.toString().toStdString();
    if (v.isDouble()) return shortestNumberText(v.toDouble());
    return "?";  // neither: the key's reader refuses it
}

std::string readDesign(const QJsonObject& o, const DetectorCatalogue& catalogue,
                       design::DesignInput& in) {
    // The sensor first: its values give way to the file's own.
    if (o.contains(QLatin1String("detecteur"))) {
        const std::string e = design::setKey(
            in, "detecteur", valueText(o.value(QLatin1String("detecteur"))), catalogue);
        if (!e.empty()) return e;
    }
    for (auto it = o.begin(); it != o.end(); ++it) {
        const std::string key = it.key().toStdString();
        if (key == "detecteur") continue;
        if (!design::isInputKey(key)) return unknownKey("conception", it.key());
        if (!design::isTextKey(key) && !it->isDouble()) return key + " : nombre attendu";
        const std::string e = design::setKey(in, key, valueText(*it), catalogue);
        if (!e.empty()) return e;
    }
    return {};
}

}  // namespace

std::string parseDesignFile(std::string_view bytes, const DetectorCatalogue& catalogue,
                            DesignFile& out) {
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &err);
    if (err.error != QJsonParseError::NoError)
        return "JSON invalide (" + err.errorString().toStdString() + ", octet " +
               std::to_string(err.offset) + ")";
    if (!doc.isObject()) return "le fichier n'est pas un objet JSON";
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String("kelvora"))
        return "ce n'est pas un fichier Kelvora (« format » n'est pas « kelvora »)";
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != version.toInt())
        return "version absente ou invalide";
    if (version.toInt() > kDesignFileVersion)
        return "version " + std::to_string(version.toInt()) +
               " : fichier écrit par une version plus récente de Kelvora";
    DesignFile file;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString key = it.key();
        std::string e;
        if (key == QLatin1String("format") || key == QLatin1String("version")) continue;
        if (key == QLatin1String("fenetre") && it->isObject()) {
            e = readWindow(it->toObject(), catalogue, file.window);
        } else if (key == QLatin1String("conception") && it->isObject()) {
            e = readDesign(it->toObject(), catalogue, file.design);
            file.hasDesign = true;
        } else if (key == QLatin1String("fenetre") || key == QLatin1String("conception")) {
            e = "« " + key.toStdString() + " » doit être un objet";
        } else {
            e = unknownKey("racine", key);
        }
        if (!e.empty()) return e;
    }
    out = std::move(file);
    return {};
}

std::string serializeDesignFile(const DesignFile& file) {
    QJsonObject window;
    for (std::size_t i = 0; i < kInputCount; ++i)
        window.insert(qs(controlName(inputAt(i))), qs(file.window.texts[i]));
    window.insert(QStringLiteral("detecteur"),
                  file.window.detector ? QJsonValue(qs(*file.window.detector)) : QJsonValue());
    window.insert(QStringLiteral("modele"),
                  file.window.barlow ? QStringLiteral("barlow") : QStringLiteral("fente"));
    QJsonObject designObj;
    for (const std::string& key : design::inputKeys()) {
        if (design::isTextKey(key))
            designObj.insert(qs(key), qs(design::keyText(file.design, key)));
        else
            designObj.insert(qs(key), *design::strictNumber(design::keyText(file.design, key)));
    }
    QJsonObject root{{QStringLiteral("format"), QStringLiteral("kelvora")},
                     {QStringLiteral("version"), kDesignFileVersion},
                     {QStringLiteral("fenetre"), window}};
    if (file.hasDesign) root.insert(QStringLiteral("conception"), designObj);
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string readDesignFile(const std::string& path, const DetectorCatalogue& catalogue,
                           DesignFile& out) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return "« " + path + " » : lecture impossible (" + f.errorString().toStdString() + ")";
    const QByteArray bytes = f.read(16 * 1024 * 1024);  // far above any design file
    const std::string e =
        parseDesignFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        catalogue, out);
    return e.empty() ? e : "« " + path + " » : " + e;
}

std::string writeDesignFile(const std::string& path, const DesignFile& file) {
    QSaveFile f(QString::fromStdString(path));
    const std::string bytes = serializeDesignFile(file);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !f.commit())
        return "« " + path + " » : écriture impossible (" + f.errorString().toStdString() + ")";
    return {};
}

}  // namespace kelvora::io
