#include "tools/calc_options.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>

#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"
#include "model/instrument.h"

namespace kelvora::cli {

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

void addOptions(QCommandLineParser& p) {
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    p.addOption({QStringList{"h", "help"}, {}});
    p.addOption({"version", {}});
    p.addOption({"textes", {}});
    p.addOption({"spectre", {}});
    p.addOption({"raies", {}});
    for (const char* name : {"detector", "model", "decimal-separator", "format", "fichier",
                             "nombre", "rapport", "enregistrer", "retirer"})
        p.addOption({QString::fromLatin1(name), {}, QStringLiteral("V")});
}

// QCommandLineParser's own messages are English: say the same in French.
std::string parseError(const QCommandLineParser& p) {
    if (!p.unknownOptionNames().isEmpty()) {
        const QString name = p.unknownOptionNames().first();
        return "option inconnue « " + std::string(name.size() == 1 ? "-" : "--") + str(name) + " »";
    }
    const auto m = QRegularExpression(QStringLiteral("'([^']*)'")).match(p.errorText());
    return "valeur manquante après " +
           (m.hasMatch() ? str(m.captured(1)) : std::string("une option"));
}

std::vector<std::string>& valuesFor(CalcOptions& o, const std::string& name) {
    auto it = std::find_if(o.fields.begin(), o.fields.end(),
                           [&](const auto& entry) { return entry.first == name; });
    if (it != o.fields.end()) return it->second;
    return o.fields.emplace_back(name, std::vector<std::string>{}).second;
}

std::string readOptions(const QCommandLineParser& p, const DetectorCatalogue& catalogue,
                        CalcOptions& o) {
    for (const QString& v : p.values(QStringLiteral("detector"))) {
        if (!catalogue.find(str(v)))
            return "détecteur inconnu « " + str(v) + " » (" + catalogue.captionList() + ")";
        o.detectors.push_back(str(v));
    }
    for (const QString& v : p.values(QStringLiteral("model"))) {
        if (v != QLatin1String("barlow") && v != QLatin1String("fente"))
            return "modèle inconnu « " + str(v) + " » (barlow ou fente)";
        o.barlowModels.push_back(v == QLatin1String("barlow"));
    }
    if (p.isSet(QStringLiteral("decimal-separator"))) {
        o.separator = str(p.value(QStringLiteral("decimal-separator")));
        if (o.separator->empty()) return "séparateur décimal vide";
    }
    if (p.isSet(QStringLiteral("fichier"))) o.file = str(p.value(QStringLiteral("fichier")));
    if (p.isSet(QStringLiteral("format"))) {
        const QString f = p.value(QStringLiteral("format"));
        if (f == QLatin1String("text"))
            o.format = OutputFormat::Text;
        else if (f == QLatin1String("csv"))
            o.format = OutputFormat::Csv;
        else if (f == QLatin1String("json"))
            o.format = OutputFormat::Json;
        else
            return "format inconnu « " + str(f) + " » (text, csv ou json)";
    }
    o.texts = p.isSet(QStringLiteral("textes"));
    o.spectrum = p.isSet(QStringLiteral("spectre"));
    o.lines = p.isSet(QStringLiteral("raies"));
    if (p.isSet(QStringLiteral("rapport"))) o.report = str(p.value(QStringLiteral("rapport")));
    if (p.isSet(QStringLiteral("enregistrer")))
        o.saveTo = str(p.value(QStringLiteral("enregistrer")));
    if (p.isSet(QStringLiteral("retirer"))) {
        bool ok = false;
        const int n = p.value(QStringLiteral("retirer")).toInt(&ok);
        if (!ok || n < 1) return "--retirer : le numéro d'un étalonnage (1, 2…) est attendu";
        o.remove = static_cast<std::size_t>(n);
    }
    if (p.isSet(QStringLiteral("nombre"))) {
        bool ok = false;
        const int n = p.value(QStringLiteral("nombre")).toInt(&ok);
        if (!ok || n < 1) return "--nombre : un entier ≥ 1 est attendu";
        o.count = static_cast<std::size_t>(n);
    }
    o.help = p.isSet(QStringLiteral("help"));
    o.version = p.isSet(QStringLiteral("version"));
    return {};
}

// The design keys are read strictly: a value that is not a number is a usage error.
std::string readDesignArgument(const std::string& name, const std::string& value,
                               const DetectorCatalogue& catalogue, bool propose) {
    std::optional<design::KeyError> e;
    if (propose && design::isProposerKey(name)) {
        design::ProposerRequest scratch;
        e = design::setProposerKey(scratch, name, value);
    } else {
        design::DesignInput scratch;
        e = design::setKey(scratch, {name, value}, catalogue);
    }
    return e ? design::describe(*e, ".") : std::string();
}

std::string readPositional(const QStringList& positional, const DetectorCatalogue& catalogue,
                           CalcOptions& o) {
    for (qsizetype i = o.design ? 1 : 0; i < positional.size(); ++i) {
        const std::string arg = str(positional[i]);
        const auto eq = arg.find('=');
        if (o.calibrate && i == 1) {  // the spectrum, whatever its name
            o.spectrumFile = arg;
            continue;
        }
        if (o.design && i == (o.calibrate ? 2 : 1) && eq == std::string::npos && !o.file) {
            o.file = arg;
            continue;
        }
        const std::string name = arg.substr(0, eq);
        if (eq == std::string::npos || name.empty())
            return (o.design ? "argument « " : "champ inconnu « ") + arg + " »";
        const std::string value = arg.substr(eq + 1);
        if (o.design) {
            if (std::string e = readDesignArgument(name, value, catalogue, o.propose); !e.empty())
                return e;
        } else if (!inputByName(name)) {
            return "champ inconnu « " + name + " »";
        }
        valuesFor(o, name).push_back(value);
    }
    return {};
}

}  // namespace

ParseResult parseArguments(const std::vector<std::string>& args,
                           const DetectorCatalogue& catalogue) {
    QStringList list{QStringLiteral("kelvora-calc")};
    for (const std::string& a : args) list << QString::fromStdString(a);
    QCommandLineParser p;
    addOptions(p);
    ParseResult r;
    if (!p.parse(list)) {
        r.error = parseError(p);
        return r;
    }
    CalcOptions& o = r.options;
    r.error = readOptions(p, catalogue, o);
    const QStringList positional = p.positionalArguments();
    o.propose = !positional.isEmpty() && positional.first() == QLatin1String("proposer");
    o.calibrate = !positional.isEmpty() && positional.first() == QLatin1String("etalonner");
    o.listCalibrations =
        !positional.isEmpty() && positional.first() == QLatin1String("etalonnages");
    o.design = o.propose || o.calibrate || o.listCalibrations ||
               (!positional.isEmpty() && positional.first() == QLatin1String("conception"));
    if (o.help) return r;  // « etalonner --help » needs no spectrum
    if (r.error.empty() && o.design &&
        (!o.detectors.empty() || !o.barlowModels.empty() || o.separator || o.texts))
        r.error = "« conception » ne prend que --format (le détecteur : detecteur=NOM)";
    if (r.error.empty() && o.saveTo && !o.calibrate && !o.listCalibrations)
        r.error = "--enregistrer ne va qu'avec « etalonner » et « etalonnages »";
    if (r.error.empty() && o.remove && !(o.listCalibrations && o.saveTo))
        r.error = "--retirer ne va qu'avec « etalonnages » et --enregistrer";
    if (r.error.empty() && (o.spectrum || o.lines || o.report) &&
        (!o.design || o.propose || o.calibrate))
        r.error = "--spectre, --raies et --rapport ne vont qu'avec « conception »";
    if (r.error.empty() && p.isSet(QStringLiteral("nombre")) && !o.propose)
        r.error = "--nombre ne va qu'avec « proposer »";
    if (r.error.empty()) r.error = readPositional(positional, catalogue, o);
    if (r.error.empty() && o.calibrate && !o.spectrumFile)
        r.error = "« etalonner » attend le fichier du spectre";
    if (r.error.empty() && o.listCalibrations && (!o.file || !o.fields.empty()))
        r.error = "« etalonnages » attend un fichier .kelvora et rien d'autre";
    if (r.error.empty() && (o.spectrum || o.lines || o.propose || o.report || o.calibrate) &&
        std::any_of(o.fields.begin(), o.fields.end(),
                    [](const auto& f) { return f.second.size() > 1; }))
        r.error = "une seule valeur par clé ici (une liste : reseaux=600,1200)";
    return r;
}

}  // namespace kelvora::cli
