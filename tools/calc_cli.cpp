#include "tools/calc_cli.h"

#include <ostream>

#include "model/calculation.h"
#include "tools/calc_options.h"
#include "tools/sweep.h"

namespace kelvora::cli {

namespace {

const char* const kUsage =
    "usage : kelvora-calc [--detector KAF-0400|KAF-1600|KAF-3200] "
    "[--model barlow|fente] [--decimal-separator SEP] "
    "[--format text|csv|json] [NOM=TEXTE ...]";

void printHelp(std::ostream& out) {
    out << kUsage << "\n\n"
        << "Calcule un spectrographe à réseau comme la fenêtre de Kelvora le fait à l'appui de\n"
           "« Calcul », et affiche chaque texte montré, une ligne par champ : NOM<tab>TEXTE.\n\n"
           "  --detector D            détecteur : KAF-0400 (par défaut), KAF-1600 ou KAF-3200\n"
           "  --model M               modèle d'entrée : barlow (sans fente, par défaut) ou fente\n"
           "  --decimal-separator S   séparateur décimal des résultats ; par défaut celui des\n"
           "                          réglages régionaux (LC_ALL, puis LC_NUMERIC, puis LANG)\n"
           "  --format F              text (une exécution), csv (plusieurs) ou json\n"
           "  --version               affiche la version\n"
           "  NOM=TEXTE               texte d'un champ de saisie, lu exactement comme la fenêtre\n"
           "                          le lit (NOM= donne un champ vide) ; un champ non nommé\n"
           "                          garde son texte par défaut.\n\n"
           "Champs : ";
    for (std::size_t i = 0; i < kInputCount; ++i)
        out << (i ? ", " : "") << controlName(inputAt(i)) << "=" << defaultText(inputAt(i));
    out << ".\n\n"
           "Balayage : un NOM, --detector ou --model donné plusieurs fois fait calculer chaque\n"
           "combinaison ; le résultat est alors un tableau (csv par défaut) avec une colonne\n"
           "par entrée variée, une par résultat et une colonne « erreur ».\n\n"
           "Erreur de calcul : les lignes montrées avant elle, puis sur la sortie d'erreur le nom\n"
           "de l'erreur (« Division par zéro », « Dépassement de capacité » ou « Argument\n"
           "incorrect ») et le champ où elle est survenue ; code de sortie 1.\n"
           "Option ou champ inconnu : code de sortie 2.\n";
}

int printSingleRun(const RunInput& input, std::ostream& out, std::ostream& err) {
    const RunOutput result = runCalculation(input);
    for (const ShownText& s : result.shown) out << controlName(s.control) << '\t' << s.text << '\n';
    out.flush();
    if (!result.fault) return 0;
    err << faultMessage(*result.fault) << '\n';
    return 1;
}

}  // namespace

int runCalc(const std::vector<std::string>& args, const std::string& regionalSeparator,
            std::ostream& out, std::ostream& err) {
    const ParseResult parsed = parseArguments(args);
    if (!parsed.error.empty()) {
        err << "kelvora-calc : " << parsed.error << " ; voir kelvora-calc --help\n";
        return 2;
    }
    const CalcOptions& o = parsed.options;
    if (o.help) {
        printHelp(out);
        return 0;
    }
    if (o.version) {
        out << "Kelvora " KELVORA_VERSION "\n";
        return 0;
    }
    const Sweep sweep(o, o.separator.value_or(regionalSeparator));
    OutputFormat format = o.format;
    if (format == OutputFormat::Default)
        format = sweep.size() == 1 ? OutputFormat::Text : OutputFormat::Csv;
    if (format == OutputFormat::Text && sweep.size() == 1)
        return printSingleRun(sweep.input(0), out, err);
    return printSweep(sweep, format, out);
}

}  // namespace kelvora::cli
