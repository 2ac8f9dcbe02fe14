// The printed report from the companion, without a display: one A4 page,
// titled with the design file's name; a refused key writes nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sstream>

#include "tools/calc_cli.h"

namespace kelvora::cli {
namespace {

int calc(std::vector<std::string> args, std::string* err = nullptr) {
    std::ostringstream out, errors;
    const int status = runCalc(args, ".", DetectorCatalogue(), out, errors);
    if (err) *err = errors.str();
    return status;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pages counted in the PDF's own objects; A4 is 595 × 842 points.
int pages(const QByteArray& pdf) {
    const QString text = QString::fromLatin1(pdf);
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

TEST(Report, TheCompanionWritesOneA4PageTitledWithTheFile) {
    QTemporaryDir dir;
    const QString design = dir.filePath(QStringLiteral("be-star.kelvora"));
    {
        QFile f(design);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            R"({"format":"kelvora","version":2,"conception":{"lambda_a":6563,"traits_mm":1800,"geometrie":"littrow"}})");
    }
    const QString pdf = dir.filePath(QStringLiteral("rapport.pdf"));
    std::string err;
    ASSERT_EQ(
        calc({"conception", design.toStdString(), "cible_snr=100", "--rapport", pdf.toStdString()},
             &err),
        0)
        << err;
    const QByteArray bytes = readAll(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(pages(bytes), 1);
    EXPECT_TRUE(bytes.contains("595") && bytes.contains("842"));
    // The document's title names the file (UTF-16 in the info dictionary).
    EXPECT_TRUE(bytes.contains(QStringLiteral("be-star.kelvora").toUtf8()) ||
                bytes.contains(QByteArray("b\0e\0-\0s\0t\0a\0r", 13)));
}

// A calibrated design's page lists its calibrations and still fits on one A4.
TEST(Report, ACalibratedDesignStillFitsOnePage) {
    QTemporaryDir dir;
    const std::string example = KELVORA_SOURCE_DIR "/docs/exemple/";
    const std::string design = dir.filePath(QStringLiteral("moi.kelvora")).toStdString();
    std::string err;
    ASSERT_EQ(calc({"etalonner", example + "spectre-exemple.fits",
                    example + "instrument-exemple.kelvora", "--enregistrer", design},
                   &err),
              0)
        << err;
    ASSERT_EQ(calc({"etalonner", example + "spectre-exemple-reechantillonne.fits", design,
                    "--enregistrer", design},
                   &err),
              0)
        << err;
    const QString pdf = dir.filePath(QStringLiteral("rapport.pdf"));
    ASSERT_EQ(calc({"conception", design, "--rapport", pdf.toStdString()}, &err), 0) << err;
    EXPECT_EQ(pages(readAll(pdf)), 1);
}

TEST(Report, ARefusedKeyOrAMisplacedOptionWritesNothing) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("rapport.pdf"));
    struct Case {
        std::vector<std::string> args;
        const char* said;
    };
    const Case cases[] = {
        {{"conception", "ordre=1.5", "--rapport", pdf.toStdString()}, "n'est pas un nombre entier"},
        {{"txtDiametre=200", "--rapport", pdf.toStdString()}, "ne vont qu'avec « conception »"},
        {{"proposer", "resolution_cible=1000", "--rapport", pdf.toStdString()},
         "ne vont qu'avec « conception »"},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_EQ(calc(c.args, &err), 2) << c.said;
        EXPECT_NE(err.find(c.said), std::string::npos) << err;
        EXPECT_FALSE(QFile::exists(pdf)) << c.said;
    }
}

}  // namespace
}  // namespace kelvora::cli
