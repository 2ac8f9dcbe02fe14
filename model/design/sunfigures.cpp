#include "model/design/sunfigures.h"

#include <algorithm>
#include <cmath>

#include "model/design/shown.h"
#include "model/design/sun.h"

namespace kelvora::design {

namespace {

constexpr int kLinePoints = 241;

// The spectrum at disc centre relative to the continuum at the line: the
// template's slope beside the line times the atlas's core; the bandpass as
// a box of the slit's width, 1 inside.
PlotDescription linePlot(const DesignInput& in, const DesignResult& r) {
    PlotDescription p;
    p.id = "soleil_raie";
    const SolarLine* line = findSolarLine(in.raie);
    p.title = "Spectre solaire au centre du disque";
    if (line) p.title += std::string(" autour de ") + line->name;
    p.xTitle = "longueur d'onde (Å)";
    p.yTitle = "intensité (continu = 1)";
    const double centre = in.lambda_a, band = r.bande_passante_a;
    const double core = line ? line->coreA : 0;
    const double half = std::max({2.5 * core, 2 * band, 1.5});
    const ContinuumBeside c = continuumBeside(in, centre);
    Curve sun, box;
    for (int i = 0; i < kLinePoints; ++i) {
        const double x = centre - half + 2 * half * i / (kLinePoints - 1);
        const double core_ = line ? coreProfile(*line, x - centre) : 1;
        sun.emplace_back(x, c.at(x, centre) * core_);
        box.emplace_back(x, std::abs(x - centre) <= band / 2 ? 1.0 : 0.0);
    }
    p.curves.emplace_back("Soleil", std::move(sun));
    p.curves.emplace_back("bande passante", std::move(box));
    if (line) p.lineMarks.push_back({centre, 0, line->name});
    return p;
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char ch : text) {
        if (ch == '&')
            out += "&amp;";
        else if (ch == '<')
            out += "&lt;";
        else if (ch == '>')
            out += "&gt;";
        else if (ch == '"')
            out += "&quot;";
        else
            out += ch;
    }
    return out;
}

// SVG coordinates: whole hundredths, the same text on every build.
std::string at(double v) {
    return shownNumber(std::round(v * 100) / 100, 15, ".");
}

// The picture's sizes on the sensor, in mm: the disc's and the slit's
// images along the slit, the sensor (along the slit × along the
// dispersion) and the rows read.
struct Scene {
    double disc, slit, sensorAlong, sensorAcross, rows;
};

Scene sceneOf(const DesignInput& in, const DesignResult& r, double pixelMm) {
    const double toSensor = in.objectif_mm / in.collimateur_mm;
    return {r.soleil_diametre_mm * toSensor, in.fente_longueur_mm * toSensor,
            in.pixels_fente * pixelMm * in.bin_y, in.pixels * pixelMm, in.roi_rangees * pixelMm};
}

struct Canvas {
    std::string svg;
    double scale = 1, cx = 280, cy = 148;
    void rect(double w, double h, const char* style) {
        svg += "<rect x=\"" + at(cx - w * scale / 2) + "\" y=\"" + at(cy - h * scale / 2) +
               "\" width=\"" + at(w * scale) + "\" height=\"" + at(h * scale) + "\" " + style +
               "/>";
    }
    void legend(int row, const char* colour, const std::string& text) {
        const double y = 290 + 20 * (row / 2), x = 12 + 280 * (row % 2);
        svg += "<rect x=\"" + at(x) + "\" y=\"" + at(y - 11) +
               "\" width=\"12\" height=\"12\" stroke=\"#345\" stroke-width=\"0.5\" fill=\"" +
               colour + "\"/><text x=\"" + at(x + 18) + "\" y=\"" + at(y) + "\">" + escaped(text) +
               "</text>";
    }
};

std::string px(double pixels, std::string_view sep) {
    return shownNumber(std::round(pixels), 15, sep) + " px";
}

std::string drawing(const DesignInput& in, const DesignOutcome& o, const std::string& title,
                    std::string_view sep) {
    const DesignResult& r = *o.result;
    const double pixelMm = o.grating.p;
    const Scene s = sceneOf(in, r, pixelMm);
    Canvas c;
    const double wide = std::max({s.disc, s.slit, s.sensorAlong});
    const double tall = std::max(s.disc, s.sensorAcross);
    c.scale = std::min(536 / wide, 232 / tall);
    c.svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 560 320\" role=\"img\" "
        "font-family=\"sans-serif\" font-size=\"14\" aria-label=\"" +
        escaped(title) + "\"><title>" + escaped(title) + "</title>" +
        "<rect width=\"560\" height=\"320\" fill=\"#ffffff\"/>" +
        "<text x=\"280\" y=\"18\" text-anchor=\"middle\" font-weight=\"bold\">" + escaped(title) +
        "</text>";
    c.rect(s.sensorAlong, s.sensorAcross, "fill=\"#e8eef6\" stroke=\"#345\" stroke-width=\"1\"");
    c.svg += "<circle cx=\"" + at(c.cx) + "\" cy=\"" + at(c.cy) + "\" r=\"" +
             at(s.disc * c.scale / 2) +
             "\" fill=\"#f6c85f\" fill-opacity=\"0.75\" stroke=\"#b06000\" stroke-width=\"1\"/>";
    c.rect(s.sensorAlong, s.rows,
           "fill=\"#2a6fdb\" fill-opacity=\"0.35\" stroke=\"#2a6fdb\" stroke-width=\"1\"");
    c.rect(s.slit, 2 / c.scale, "fill=\"#222222\"");  // 2 units thick at any scale
    c.legend(0, "#f6c85f", "disque : " + px(r.soleil_diametre_px, sep));
    c.legend(1, "#222222", "fente : " + px(s.slit / pixelMm / in.bin_y, sep));
    c.legend(2, "#e8eef6", "capteur : " + px(in.pixels_fente, sep));
    c.legend(3, "#2a6fdb", "rangées lues : " + shownNumber(in.roi_rangees, 15, sep));
    return c.svg + "</svg>";
}

}  // namespace

std::optional<SunFigures> describeSun(const DesignInput& in, const DesignOutcome& outcome,
                                      std::string_view separator, PlotArea area) {
    if (!outcome.result || !outcome.result->soleil) return std::nullopt;
    SunFigures f;
    f.line = linePlot(in, *outcome.result);
    placeNames(f.line, area);
    f.drawingTitle = "Le disque sur la fente et le capteur, à l'échelle";
    f.drawing = drawing(in, outcome, f.drawingTitle, separator);
    return f;
}

std::vector<const PlotDescription*> shownPlots(const std::array<PlotDescription, kPlotCount>& plots,
                                               const std::optional<SunFigures>& sun) {
    if (sun) return {&sun->line, &plots[2], &plots[3]};
    std::vector<const PlotDescription*> all;
    for (const PlotDescription& plot : plots) all.push_back(&plot);
    return all;
}

}  // namespace kelvora::design
