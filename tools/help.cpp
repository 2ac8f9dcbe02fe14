#include "tools/help.h"

#include <algorithm>
#include <ostream>

#include "model/design/calibration.h"
#include "model/design/design.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"
#include "model/instrument.h"

namespace kelvora::cli {

namespace {

void printWindowHelp(std::ostream& out, const DetectorCatalogue& catalogue) {
    out << "usage : kelvora-calc [--detector NOM] [--model barlow|fente] "
           "[--decimal-separator SEP] [--format text|csv|json] [--textes] [--fichier F] "
           "[NOM=TEXTE ...]\n"
           "        kelvora-calc conception [FICHIER.kelvora] [CLE=VALEUR ...] "
           "[--format text|csv|json]\n"
           "        kelvora-calc etalonner SPECTRE [FICHIER.kelvora] [CLE=VALEUR ...] "
           "[--enregistrer F.kelvora]\n"
           "        kelvora-calc etalonnages FICHIER.kelvora [--retirer N --enregistrer F.kelvora]"
           "\n\n"
           "Calcule un spectrographe à réseau comme la fenêtre de Kelvora le fait à l'appui de\n"
           "« Calcul », et affiche chaque texte montré, une ligne par champ : NOM<tab>TEXTE.\n\n"
           "  --detector D            détecteur (KAF-0400 par défaut) : "
        << catalogue.captionList()
        << "\n"
           "  --model M               modèle d'entrée : barlow (sans fente, par défaut) ou fente\n"
           "  --decimal-separator S   séparateur décimal des textes ; par défaut celui des\n"
           "                          réglages régionaux (LC_ALL, puis LC_NUMERIC, puis LANG)\n"
           "  --format F              text (une exécution), csv (plusieurs) ou json\n"
           "  --textes                en csv et json, les textes de la fenêtre au lieu des "
           "nombres\n"
           "  --fichier F             part des valeurs de la fenêtre d'un fichier .kelvora\n"
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
           "par entrée variée, une par résultat et une colonne « erreur ». En csv et json,\n"
           "chaque résultat est un nombre (point décimal), vide ou null s'il n'est pas atteint.\n\n"
           "Erreur de calcul : les lignes montrées avant elle, puis sur la sortie d'erreur le nom\n"
           "de l'erreur (« Division par zéro », « Dépassement de capacité » ou « Argument\n"
           "incorrect ») et le champ où elle est survenue ; code de sortie 1.\n"
           "Option ou champ inconnu : code de sortie 2. Voir aussi kelvora-calc conception "
           "--help.\n\n"
           "etalonner : lit un spectre brut extrait (FITS ou texte à deux colonnes) d'une étoile\n"
           "de magnitude (mag_etoile) et de type (type_spectral) connus, le compare à ce que\n"
           "prévoit la conception et écrit par tranche de longueur d'onde l'observé, le prévu\n"
           "(e⁻/s/Å), leur rapport, le S/N (DER_SNR) et le rendement mesuré ; --enregistrer\n"
           "écrit la conception avec ce rendement mesuré, qui remplace alors celui supposé.\n";
}

void printDesignHelp(std::ostream& out, const DetectorCatalogue& catalogue) {
    const design::DesignInput defaults;
    out << "usage : kelvora-calc conception [FICHIER.kelvora] [CLE=VALEUR ...] "
           "[--format text|csv|json] [--spectre] [--raies] [--rapport F.pdf]\n\n"
           "Modèle de conception : réseau en incidence normale, à incidence donnée, en Littrow,\n"
           "à déviation fixe ou dans le faisceau convergent devant le capteur ; tout capteur ;\n"
           "S/N, saturation, pose pour un S/N cible et magnitude limite.\n\n"
           "Clés (valeur par défaut), par groupe :\n";
    for (const design::KeyRow& row : design::keyRows()) {
        if (row.group) out << row.group << '\n';
        std::string entry = "  " + std::string(row.key) + "=" + design::keyText(defaults, row.key);
        entry.resize(std::max<std::size_t>(entry.size() + 1, 30), ' ');
        out << entry << design::labelOf(row.key) << '\n';
    }
    out << "\ngeometrie : normale, incidence, littrow, deviation ou convergent.\n"
           "fente_um=0 : sans fente. cible_snr=0 : sans cible. masse_air=0 : hors atmosphère.\n"
           "blaze_a=0 : efficacité du réseau plate. temperature_k=0 : spectre plat en photons.\n"
           "courbe_qe : capteur (la courbe du capteur) ou plate (qe partout).\n"
           "snr_par : pixel ou element (le S/N que visent pose_cible_s et magnitude_limite).\n"
           "--spectre : la chaîne photométrique sur tout le domaine, une ligne par longueur\n"
           "d'onde (csv par défaut).\n"
           "--rapport F.pdf : la conception sur une page A4 (entrées, résultats, graphiques,\n"
           "raies), comme la fenêtre l'imprime ; sans écran.\n"
           "detecteur : "
        << catalogue.captionList()
        << ".\n\n"
           "Les valeurs sont lues strictement (« 2,5 » ou « abc » : code de sortie 2).\n"
           "Une clé donnée plusieurs fois fait un balayage (csv par défaut). Instrument\n"
           "impossible : l'erreur en français (colonne « erreur »), code de sortie 1.\n";
}

void printProposerHelp(std::ostream& out) {
    const design::ProposerRequest defaults;
    out << "usage : kelvora-calc proposer [FICHIER.kelvora] resolution_cible=R [CLE=VALEUR ...] "
           "[--nombre N] [--format text|csv|json]\n\n"
           "Essaie chaque combinaison des réseaux, focales (collimateur et objectif), fentes,\n"
           "géométries et binnings, sur les clés de conception données (télescope, seeing,\n"
           "capteur, étoile, ciel, pose, lambda_a, cible_snr : 100 par défaut) ; garde celles qui\n"
           "atteignent R à lambda_a, sont bien échantillonnées, couvrent lambda_min_a à\n"
           "lambda_max_a et dont le faisceau tient sur le réseau ; les classe par la pose pour\n"
           "cible_snr (la plus courte d'abord), puis par l'étendue du domaine. Chaque ligne porte\n"
           "les clés qui la reproduisent avec kelvora-calc conception. --nombre : 10 par "
           "défaut.\n"
           "Avec source=soleil, resolution_cible est facultative : garde celles dont le disque\n"
           "tient sur la fente et le capteur, dont la bande passante isole le cœur de la raie,\n"
           "dont la cadence reste sous cadence_max_ips et dont la pose de remplissage tient\n"
           "entre deux images ; les classe par la bande passante (la plus étroite d'abord).\n\n"
           "Clés du proposeur (valeur par défaut) :\n";
    for (const std::string& key : design::proposerKeys())
        out << "  " << key << "=" << design::proposerKeyText(defaults, key) << '\n';
    out << "\nAucune conception retenue : la meilleure résolution atteinte et ce qui limite,\n"
           "code de sortie 1. Voir kelvora-calc conception --help pour les autres clés.\n";
}

void printCalibrationHelp(std::ostream& out) {
    out << "usage : kelvora-calc etalonner SPECTRE [FICHIER.kelvora] [CLE=VALEUR ...] "
           "[--format csv|json|text] [--enregistrer F.kelvora]\n\n"
           "Lit le spectre brut extrait d'une étoile de magnitude (mag_etoile) et de type\n"
           "(type_spectral) connus, en ADU ou en électrons : FITS (image à un axe linéaire ou\n"
           "logarithmique, multispec IRAF à une ouverture, table binaire) ou texte à deux\n"
           "colonnes. Le compare à ce que prévoit la conception et écrit par tranche de\n"
           "longueur d'onde l'observé, le prévu (e⁻/s/Å), leur rapport, le S/N et le rendement\n"
           "mesuré ; sur la sortie d'erreur, le résumé et ce qui a été supposé ou écarté.\n\n"
           "L'en-tête donne la pose (EXPTIME, EXPOSURE), le gain (EGAIN en e⁻/ADU, sinon un\n"
           "GAIN d'au plus 20), la masse d'air (AIRMASS, ou la hauteur CENTALT, OBJCTALT), le\n"
           "binning (XBINNING, YBINNING), l'objet et la date ; ce que vous donnez l'emporte :\n"
           "  gain_e_adu=G   électrons par ADU\n"
           "  pose_s=T       durée de la pose (s)\n"
           "  masse_air=X    masse d'air de l'observation\n\n"
           "Refusés, avec la raison : un spectre calibré en flux ou normalisé, une médiane non\n"
           "positive, un rendement médian hors de 0,2 %–100 %. Le fichier est limité à "
        << (design::kMaxSpectrumBytes >> 20)
        << " Mo.\n"
           "--enregistrer F.kelvora ajoute cet étalonnage à ceux de la conception : leur\n"
           "rapport observé / prévu, pondéré par le S/N, multiplie alors le rendement supposé.\n\n"
           "kelvora-calc etalonnages F.kelvora [--format csv|json|text] : les étalonnages de\n"
           "la conception, un par ligne (numéro, date, étoile, fichier, S/N, rapport médian,\n"
           "domaine, capteur, ce qui diffère de l'instrument de la conception) ;\n"
           "--retirer N --enregistrer F2.kelvora écrit la conception sans le n-ième.\n"
           "Code de sortie 1 si le spectre ne s'étalonne pas, 2 s'il ne se lit pas.\n";
}

}  // namespace

void printHelp(std::ostream& out, const DetectorCatalogue& catalogue, bool design, bool propose,
               bool calibrate) {
    if (calibrate)
        printCalibrationHelp(out);
    else if (propose)
        printProposerHelp(out);
    else if (design)
        printDesignHelp(out, catalogue);
    else
        printWindowHelp(out, catalogue);
}

}  // namespace kelvora::cli
