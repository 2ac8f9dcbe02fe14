#include "io/designfile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "io/usercatalogue.h"
#include "io/userlines.h"
#include "model/design/keys.h"
#include "tests/support/keyed.h"

namespace kelvora::io {
namespace {

DesignFile unusualFile() {
    DesignFile f;
    f.window.texts[indexOf(Control::txtDiametre)] = " 2,5 \"mm\"\t\\ é";
    f.window.texts[indexOf(Control::txtWavelength)] = "";
    f.window.detector.reset();
    f.window.barlow = false;
    f.design = testkeys::designWith({{"detecteur", "IMX183"},
                                     {"geometrie", "deviation"},
                                     {"deviation_deg", "0.1"},
                                     {"qe", "0.30000000000000004"},
                                     {"bruit_e", "2.2250738585072014e-308"}});
    design::MeasuredRatio m{{{5000, 0.21}, {5500.5, 0.7500000000000001}, {6000, 1.2}},
                            "2026-11-30",
                            "γ Cas",
                            "nuit « 1 ».fits",
                            127.5,
                            design::calibratedWith(f.design)};
    m.instrument.keys["detecteur"] = "une caméra « à moi »";
    f.design.etalonnages = {m, m};
    f.design.etalonnages[1].snr = 0;
    f.hasDesign = true;
    return f;
}

TEST(DesignFile, WhatIsWrittenReadsBackToTheSameValues) {
    const DesignFile written = unusualFile();
    DesignFile read;
    ASSERT_EQ(parseDesignFile(serializeDesignFile(written), DetectorCatalogue(), read), "");
    EXPECT_EQ(read.window.texts, written.window.texts);
    EXPECT_EQ(read.window.detector, written.window.detector);
    EXPECT_EQ(read.window.barlow, written.window.barlow);
    for (const std::string& key : design::inputKeys())
        EXPECT_EQ(design::keyText(read.design, key), design::keyText(written.design, key)) << key;
    EXPECT_EQ(read.design.etalonnages, written.design.etalonnages);
    EXPECT_TRUE(read.hasDesign);
}

// A file saved before any design was made holds the window only, and reads
// back as holding no design of its own.
TEST(DesignFile, NoDesignWrittenWhenNoneIsHeld) {
    DesignFile f;
    f.design.traits_mm = 600;  // not the user's: hasDesign is false
    const std::string bytes = serializeDesignFile(f);
    EXPECT_EQ(bytes.find("conception"), std::string::npos);
    DesignFile read;
    ASSERT_EQ(parseDesignFile(bytes, DetectorCatalogue(), read), "");
    EXPECT_FALSE(read.hasDesign);
}

TEST(DesignFile, AbsentPartsTakeTheirDefaults) {
    DesignFile f;
    ASSERT_EQ(parseDesignFile(R"({"format": "kelvora", "version": 1,
        "fenetre": {"txtTraits": "600"}, "conception": {"detecteur": "IMX533", "qe": 0.5}})",
                              DetectorCatalogue(), f),
              "");
    EXPECT_EQ(f.window.texts[indexOf(Control::txtTraits)], "600");
    EXPECT_EQ(f.window.texts[indexOf(Control::txtDiametre)], "200");
    EXPECT_EQ(f.window.detector, "KAF-0400");
    EXPECT_EQ(f.design.pixel_um, 3.76);  // from the sensor
    EXPECT_EQ(f.design.qe, 0.5);         // the file's own value wins
}

TEST(DesignFile, BrokenFilesSayWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "JSON invalide"},
        {"[1]", "le fichier n'est pas un objet JSON"},
        {R"({"format": "autre", "version": 1})", "ce n'est pas un fichier Kelvora"},
        {R"({"format": "kelvora", "version": 5})",
         "version 5 : fichier écrit par une version plus"},
        {R"({"format": "kelvora"})", "version absente ou invalide"},
        {R"({"format": "kelvora", "version": 0})", "version absente ou invalide"},
        {R"({"format": "kelvora", "version": 1e300})", "version absente ou invalide"},
        {R"({"format": "kelvora", "version": 1, "x": 110e5555555555555538287})",
         "JSON invalide (nombre hors limites)"},
        {R"({"format": "kelvora", "version": 1, "extra": 1})",
         "clé inconnue « extra » dans « racine »"},
        {R"({"format": "kelvora", "version": 2, "rendement_mesure": {"points": [[5000, 0.2]]}})",
         "« rendement_mesure » : de 2 à 10000 points attendus"},
        {R"({"format": "kelvora", "version": 2, "rendement_mesure": {"points": [[5000, 0.2], [4000, 0.3]]}})",
         "« rendement_mesure » : les longueurs d'onde doivent croître"},
        {R"({"format": "kelvora", "version": 2, "rendement_mesure": {"points": [[5000, 0.2], [6000, 1.5]]}})",
         "« rendement_mesure » : λ > 0 et rendement entre 0 et 1 attendus"},
        {R"({"format": "kelvora", "version": 2, "rendement_mesure": {"points": [[5000, 0.2], [6000, 0.3]], "date": 5}})",
         "« rendement_mesure » : « date » : texte attendu"},
        {R"({"format": "kelvora", "version": 3, "etalonnages": {"points": []}})",
         "« etalonnages » : liste d'au plus 1000 étalonnages attendue"},
        {R"({"format": "kelvora", "version": 1, "fenetre": {"txtX": "1"}})",
         "clé inconnue « txtX » dans « fenetre »"},
        {R"({"format": "kelvora", "version": 1, "fenetre": {"txtDiametre": 200}})",
         "« txtDiametre » doit être un texte"},
        {R"({"format": "kelvora", "version": 1, "conception": {"qe": "0.5"}})",
         "« QE au pic » : nombre attendu"},
        {R"({"format": "kelvora", "version": 1, "conception": {"ordre": 1.5}})",
         "« Ordre » : « 1.5 » n'est pas un nombre entier"},
        {R"({"format": "kelvora", "version": 1, "conception": {"geometrie": 2}})",
         "« Géométrie » : texte attendu"},
        {R"({"format": "kelvora", "version": 1, "conception": {"lambda": 1}})",
         "clé inconnue « lambda » dans « conception »"},
        {R"({"format": "kelvora", "version": 1, "conception": []})",
         "« conception » doit être un objet"},
    };
    for (const auto& [bytes, problem] : cases) {
        DesignFile f = unusualFile();
        const std::string e = parseDesignFile(bytes, DetectorCatalogue(), f);
        EXPECT_EQ(e.rfind(problem, 0), 0u) << bytes << " → " << e;
        EXPECT_EQ(f.window.texts, unusualFile().window.texts) << "unchanged";
    }
}

// A key absent from a file keeps the meaning it had when the file was written.
TEST(DesignFile, AbsentKeysKeepTheirMeaningOfTheFilesVersion) {
    for (const auto& [version, airmass, type] :
         {std::tuple{1, 0.0, "aucun"}, std::tuple{kDesignFileVersion, 1.2, "A0V"}}) {
        const std::string bytes = R"({"format": "kelvora", "version": )" + std::to_string(version) +
                                  R"(, "conception": {"traits_mm": 600}})";
        DesignFile f;
        ASSERT_EQ(parseDesignFile(bytes, DetectorCatalogue(), f), "") << version;
        EXPECT_EQ(f.design.traits_mm, 600);
        EXPECT_EQ(f.design.masse_air, airmass) << version;
        EXPECT_EQ(f.design.type_spectral, type) << version;
    }
    // Before version 4 a dark current was used as written, and no converter
    // capped the well; from 4 a sensor brings its law and its converter.
    struct Case {
        int version;
        const char* sensor;
        double doubling, bits;
    };
    for (const Case& c : {Case{3, "KAF-0400", 0, 0}, Case{kDesignFileVersion, "KAF-0400", 5, 0},
                          Case{3, "IMX571", 0, 0}, Case{kDesignFileVersion, "IMX571", 0, 16}}) {
        const auto& [version, sensor, doubling, bits] = c;
        const std::string bytes = R"({"format": "kelvora", "version": )" + std::to_string(version) +
                                  R"(, "conception": {"detecteur": ")" + sensor +
                                  R"(", "obscurite_e_s": 0.3}})";
        DesignFile f;
        ASSERT_EQ(parseDesignFile(bytes, DetectorCatalogue(), f), "") << version;
        EXPECT_EQ(f.design.doublement_obscurite_c, doubling) << version << sensor;
        EXPECT_EQ(f.design.bits_adc, bits) << version << sensor;
    }
}

// Version 2 stored the measured efficiency η itself; read today it becomes
// the ratio to the chain the file's design assumes, so the design predicts
// exactly the same efficiency as before.
TEST(DesignFile, AVersion2MeasuredEfficiencyBecomesARatio) {
    const std::string v2 = R"({"format": "kelvora", "version": 2,
        "conception": {"geometrie": "littrow", "traits_mm": 600, "lambda_a": 6000,
                       "detecteur": "IMX533"},
        "rendement_mesure": {"date": "2026-11-30", "etoile": "Véga", "fichier": "v.fits",
                             "points": [[5200, 0.2], [6000, 0.3], [6800, 0.25]]}})";
    DesignFile f;
    ASSERT_EQ(parseDesignFile(v2, DetectorCatalogue(), f), "");
    ASSERT_EQ(f.design.etalonnages.size(), 1u);
    const design::MeasuredRatio& m = f.design.etalonnages[0];
    EXPECT_EQ(m.date, "2026-11-30");
    EXPECT_EQ(m.star, "Véga");
    EXPECT_EQ(m.instrument.keys.at("detecteur"), "IMX533");
    EXPECT_EQ(m.instrument.keys.at("traits_mm"), "600");
    design::DesignInput assumed = f.design;
    assumed.etalonnages = {};
    const design::DesignOutcome o = design::evaluate(assumed);
    ASSERT_TRUE(o.result);
    const double eta[] = {0.2, 0.3, 0.25};
    ASSERT_EQ(m.points.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(m.points[i].second * design::assumedInstrumentAt(assumed, o, m.points[i].first),
                    eta[i], 1e-15);
    // Written back, it is a current file that reads the same.
    DesignFile again;
    ASSERT_EQ(parseDesignFile(serializeDesignFile(f), DetectorCatalogue(), again), "");
    EXPECT_EQ(again.design.etalonnages, f.design.etalonnages);
}

TEST(DesignFile, AtomicWriteAndMessagesNameTheFile) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("a.kelvora")).toStdString();
    ASSERT_EQ(writeDesignFile(path, unusualFile()), "");
    DesignFile read;
    EXPECT_EQ(readDesignFile(path, DetectorCatalogue(), read), "");
    EXPECT_EQ(read.window.texts, unusualFile().window.texts);
    const std::string missing = dir.filePath(QStringLiteral("none.kelvora")).toStdString();
    EXPECT_EQ(readDesignFile(missing, DetectorCatalogue(), read).rfind("« " + missing + " »", 0),
              0u);
    EXPECT_NE(writeDesignFile(dir.path().toStdString() + "/no/such/dir/x.kelvora", read), "");
}

TEST(UserCatalogue, OwnSensorsFollowTheBuiltIns) {
    std::string warning;
    const DetectorCatalogue c = catalogueFromJson(
        R"([{"nom": "Mon capteur", "pixel_um": 4.5, "pixels": 2000, "bruit_e": 3},
            {"nom": "KAF-0400", "pixel_um": 1, "pixels": 1},
            {"nom": "sans pixels", "pixel_um": 0, "pixels": 10}])",
        &warning);
    const DetectorModel* own = c.find("Mon capteur");
    ASSERT_TRUE(own);
    EXPECT_EQ(own->p, 0.0045);
    EXPECT_EQ(own->readNoise, 3);
    EXPECT_TRUE(std::isnan(own->qe));
    EXPECT_EQ(c.find("KAF-0400")->nx, 768) << "a built-in name stays built-in";
    EXPECT_FALSE(c.find("sans pixels"));
    EXPECT_EQ(warning,
              "capteur n° 3 (« sans pixels ») ignoré : « pixel_um » doit être un nombre > 0");
    EXPECT_EQ(c.rows().back().caption, "Mon capteur");
    catalogueFromJson("{}", &warning);
    EXPECT_EQ(warning, "un tableau JSON de capteurs est attendu");
}

// A curve given as (nm, QE) pairs is kept as its shape; its peak is the QE.
TEST(UserCatalogue, QeCurvesAsPairs) {
    std::string warning;
    const DetectorCatalogue c = catalogueFromJson(
        R"([{"nom": "courbe", "pixel_um": 5, "pixels": 1000,
             "qe_courbe": [[400, 0.4], [500, 0.8], [700, 0.2]]},
            {"nom": "désordre", "pixel_um": 5, "pixels": 1000, "qe_courbe": [[500, 0.8], [400, 0.4]]},
            {"nom": "trop", "pixel_um": 5, "pixels": 1000, "qe_courbe": [[400, 1.4], [500, 0.8]]}])",
        &warning);
    const DetectorModel* d = c.find("courbe");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->qe, 0.8);
    EXPECT_EQ(d->qeCurve,
              (std::vector<std::pair<double, double>>{{400, 0.5}, {500, 1}, {700, 0.25}}));
    EXPECT_FALSE(c.find("désordre"));
    EXPECT_FALSE(c.find("trop"));
    const std::vector<design::KeyValue> keys{{"lambda_a", "6000"},
                                             {"detecteur", "courbe"},
                                             {"masse_air", "0"},
                                             {"miroirs", "0"},
                                             {"transmission", "1"}};
    const design::KeyedDesign read = design::designFromKeys(keys, c);
    ASSERT_TRUE(read.errors.empty());
    const design::DesignInput& in = read.input;
    EXPECT_NEAR(design::evaluate(in).result->rendement / in.efficacite_reseau, 0.5, 1e-12);
}

// A broken sensor is named with the rule it breaks; a curve typed in
// percent or in Å is recognised.
TEST(UserCatalogue, EachBrokenSensorSaysWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"pixel_um": 5, "pixels": 10})", "capteur n° 1 ignoré : « nom » est requis"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 0})",
         "capteur n° 1 (« a ») ignoré : « pixels » doit être un nombre ≥ 1"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 9, "qe_courbe": [[400, 40], [500, 80]]})",
         "capteur n° 1 (« a ») ignoré : « qe_courbe » : QE en pourcentage ? des valeurs de 0 à 1 "
         "sont attendues (0.8, et non 80)"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 9, "qe_courbe": [[4000, 0.4], [5000, 0.8]]})",
         "capteur n° 1 (« a ») ignoré : « qe_courbe » : longueurs d'onde en Å ? des nm sont "
         "attendus (550, et non 5500)"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 9, "qe_courbe": [[500, 0.8], [400, 0.4]]})",
         "capteur n° 1 (« a ») ignoré : « qe_courbe » : les longueurs d'onde doivent croître"},
        {R"(3)", "capteur n° 1 ignoré : un objet est attendu"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 9, "bruit_courbe": [[100, 1.5], [0, 3.5]]})",
         "capteur n° 1 (« a ») ignoré : « bruit_courbe » : les réglages doivent croître"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 9, "bits_adc": 16.5})",
         "capteur n° 1 (« a ») ignoré : « bits_adc » doit être un entier de 8 à 24"},
        {R"({"nom": "a", "pixel_um": 5, "pixels": 9, "doublement_obscurite_c": -6})",
         "capteur n° 1 (« a ») ignoré : « doublement_obscurite_c » doit être 0 ou entre 1 et 20"},
    };
    for (const auto& [row, said] : cases) {
        std::string warning;
        const DetectorCatalogue c = catalogueFromJson(std::string("[") + row + "]", &warning);
        EXPECT_EQ(warning, said) << row;
        EXPECT_EQ(c.rows().size(), builtInDetectors().size());
    }
}

// The user's lines follow the built-in ones; a malformed one is said and skipped.
TEST(UserLines, OwnLinesFollowTheBuiltIns) {
    std::string warning;
    const std::vector<design::Line> lines = linesFromJson(
        R"([{"nom": "Fe II 5169", "lambda_a": 5169.03, "type": "Fe II"},
            {"nom": "sans longueur d'onde"}])",
        &warning);
    ASSERT_EQ(lines.size(), design::builtInLines().size() + 1);
    EXPECT_EQ(lines.back().name, "Fe II 5169");
    EXPECT_EQ(lines.back().kind, "Fe II");
    EXPECT_EQ(
        warning,
        "raie n° 2 (« sans longueur d'onde ») ignorée : « lambda_a » doit être un nombre > 0");
}

// A sensor named in an older file keeps no converter depth, as then; its
// frames are still 16-bit words, as the same sensor named by a key gives:
// the Sun's data volume is frames × rows × pixels × 2 bytes either way.
TEST(DesignFile, AnOlderFilesSensorGivesTheSameDataVolumeAsItsKey) {
    const std::string v3 = R"({"format": "kelvora", "version": 3, "conception": {
        "source": "soleil", "raie": "halpha", "geometrie": "littrow", "traits_mm": 2400,
        "fente_um": 10, "detecteur": "IMX290"}})";
    DesignFile f;
    ASSERT_EQ(parseDesignFile(v3, DetectorCatalogue(), f), "");
    EXPECT_EQ(f.design.bits_adc, 0);
    const std::vector<design::KeyValue> keys = {{"source", "soleil"},     {"raie", "halpha"},
                                                {"geometrie", "littrow"}, {"traits_mm", "2400"},
                                                {"fente_um", "10"},       {"detecteur", "IMX290"}};
    const design::KeyedDesign k = design::designFromKeys(keys, DetectorCatalogue());
    EXPECT_EQ(k.input.bits_adc, 12);
    const auto fromFile = design::evaluate(f.design), fromKeys = design::evaluate(k.input);
    ASSERT_TRUE(fromFile.result && fromKeys.result);
    const design::DesignResult& r = *fromFile.result;
    EXPECT_EQ(r.volume_mo, fromKeys.result->volume_mo);
    EXPECT_EQ(r.volume_mo, r.images_balayage * 64 * 1096 * 2 / 1e6);
}

// A damaged or implausible calibration is set aside with a note; the rest
// of the design opens, and can be written back without it.
TEST(DesignFile, ADamagedCalibrationIsSetAsideAndTheRestOpens) {
    const std::string good = R"({"date": "2026-11-30", "etoile": "Véga", "fichier": "v.fits",
        "points": [[5000, 0.5], [6000, 0.6]]})";
    const struct {
        std::string calibration;
        const char* note;
    } cases[] = {
        {R"({"points": [[5000, 0.2], [6000, 0]]})",
         "étalonnage n° 1 mis de côté : « etalonnages » : λ > 0 et rapport > 0 attendus"},
        {R"({"points": [[-5, 1], [6000, 1]]})",
         "étalonnage n° 1 mis de côté : « etalonnages » : λ > 0 et rapport > 0 attendus"},
        {R"({"points": [[5000, 1], [6000, 1]], "snr": -1})",
         "étalonnage n° 1 mis de côté : « etalonnages » : « snr » : nombre ≥ 0 attendu"},
        {R"({"points": [[5000, 1], [6000, 1]], "instrument": {"lambda": 1}})",
         "étalonnage n° 1 mis de côté : « etalonnages » : instrument : clé inconnue « lambda »"},
        // A ratio of 10⁹ on any chain is an efficiency far above 100 %.
        {R"({"date": "2026-12-01", "etoile": "x", "points": [[5000, 1e9], [6000, 1e9]]})",
         "étalonnage n° 1 (2026-12-01, x) mis de côté : rendement de"},
    };
    for (const auto& c : cases) {
        const std::string bytes = R"({"format": "kelvora", "version": 4, "conception": {},
            "etalonnages": [)" + c.calibration +
                                  ", " + good + "]}";
        DesignFile f;
        ASSERT_EQ(parseDesignFile(bytes, DetectorCatalogue(), f), "") << c.calibration;
        ASSERT_EQ(f.notes.size(), 1u) << c.calibration;
        EXPECT_EQ(f.notes[0].rfind(c.note, 0), 0u) << f.notes[0];
        ASSERT_EQ(f.design.etalonnages.size(), 1u);
        EXPECT_EQ(f.design.etalonnages[0].star, "Véga");
        DesignFile again;
        ASSERT_EQ(parseDesignFile(serializeDesignFile(f), DetectorCatalogue(), again), "");
        EXPECT_TRUE(again.notes.empty());
        EXPECT_EQ(again.design.etalonnages, f.design.etalonnages);
    }
}

}  // namespace
}  // namespace kelvora::io
