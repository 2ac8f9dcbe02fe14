#include "model/design/lines.h"

#include <cmath>

namespace kelvora::design {

const std::vector<Line>& builtInLines() {
    static const std::vector<Line> lines{
        {"Hα", 6562.79, "Balmer"},
        {"Hβ", 4861.33, "Balmer"},
        {"Hγ", 4340.47, "Balmer"},
        {"Hδ", 4101.74, "Balmer"},
        {"Hε", 3970.07, "Balmer"},
        {"H8", 3889.05, "Balmer"},
        {"H9", 3835.38, "Balmer"},
        {"Na I D2", 5889.95, "Na"},
        {"Na I D1", 5895.92, "Na"},
        {"Mg I b1", 5183.60, "Mg"},
        {"Mg I b2", 5172.68, "Mg"},
        {"Mg I b4", 5167.32, "Mg"},
        {"He I 4471", 4471.48, "He I"},
        {"He I 5876", 5875.62, "He I"},
        {"He I 6678", 6678.15, "He I"},
        {"He I 7065", 7065.19, "He I"},
        {"He II 4686", 4685.7, "He II"},
        {"Ca II K", 3933.66, "Ca II"},
        {"Ca II H", 3968.47, "Ca II"},
        {"Ca II 8498", 8498.02, "Ca II"},
        {"Ca II 8542", 8542.09, "Ca II"},
        {"Ca II 8662", 8662.14, "Ca II"},
        {"[O III] 4959", 4958.91, "nébulaire"},
        {"[O III] 5007", 5006.84, "nébulaire"},
        {"[N II] 6548", 6548.05, "nébulaire"},
        {"[N II] 6583", 6583.45, "nébulaire"},
        {"[S II] 6716", 6716.44, "nébulaire"},
        {"[S II] 6731", 6730.82, "nébulaire"},
        {"[O I] 5577", 5577.34, "ciel"},
        {"[O I] 6300", 6300.30, "ciel"},
        {"O₂ B", 6867, "tellurique"},
        {"O₂ A", 7594, "tellurique"},
        {"Ne 5852", 5852.488, "lampe néon"},
        {"Ne 5882", 5881.895, "lampe néon"},
        {"Ne 5945", 5944.834, "lampe néon"},
        {"Ne 5976", 5975.534, "lampe néon"},
        {"Ne 6030", 6029.997, "lampe néon"},
        {"Ne 6074", 6074.338, "lampe néon"},
        {"Ne 6096", 6096.163, "lampe néon"},
        {"Ne 6143", 6143.063, "lampe néon"},
        {"Ne 6164", 6163.594, "lampe néon"},
        {"Ne 6217", 6217.281, "lampe néon"},
        {"Ne 6266", 6266.495, "lampe néon"},
        {"Ne 6305", 6304.789, "lampe néon"},
        {"Ne 6334", 6334.428, "lampe néon"},
        {"Ne 6383", 6382.992, "lampe néon"},
        {"Ne 6402", 6402.248, "lampe néon"},
        {"Ne 6507", 6506.528, "lampe néon"},
        {"Ne 6533", 6532.882, "lampe néon"},
        {"Ne 6599", 6598.953, "lampe néon"},
        {"Ne 6678", 6678.276, "lampe néon"},
        {"Ne 6717", 6717.043, "lampe néon"},
        {"Ne 6929", 6929.467, "lampe néon"},
        {"Ne 7032", 7032.413, "lampe néon"},
        {"Ne 7174", 7173.938, "lampe néon"},
        {"Ne 7245", 7245.167, "lampe néon"},
        {"Ne 7439", 7438.899, "lampe néon"},
        {"Hg 4047", 4046.563, "lampe mercure"},
        {"Hg 4358", 4358.328, "lampe mercure"},
        {"Hg 5461", 5460.735, "lampe mercure"},
        {"Hg 5770", 5769.598, "lampe mercure"},
        {"Hg 5791", 5790.663, "lampe mercure"},
        {"Ar 6965", 6965.431, "lampe argon"},
        {"Ar 7067", 7067.218, "lampe argon"},
        {"Ar 7504", 7503.869, "lampe argon"},
        {"Ar 7635", 7635.106, "lampe argon"},
    };
    return lines;
}

const std::vector<LinePair>& linePairs() {
    static const std::vector<LinePair> pairs{
        {"Na D1/D2", 5889.95, 5895.92},       {"Mg b1/b2", 5172.68, 5183.60},
        {"Mg b2/b4", 5167.32, 5172.68},       {"[N II] 6548/Hα", 6548.05, 6562.79},
        {"Hα/[N II] 6583", 6562.79, 6583.45}, {"[S II] 6716/6731", 6716.44, 6730.82},
        {"Ca H/Hε", 3968.47, 3970.07},        {"He I 5876/Na D2", 5875.62, 5889.95},
        {"Hβ/Hγ", 4340.47, 4861.33},          {"Hg 5770/5791", 5769.598, 5790.663},
    };
    return pairs;
}

const std::vector<std::string>& lampKinds() {
    static const std::vector<std::string> kinds{"lampe néon", "lampe argon", "lampe mercure"};
    return kinds;
}

namespace {

bool onSensor(const DesignInput& in, double pixel) {
    return pixel >= 0 && pixel <= in.pixels;
}

}  // namespace

bool markedOnPlots(const Line& line) {
    return !line.kind.starts_with("lampe");
}

const char* verdictText(const PairVerdict& v) {
    return v.separated ? "séparé" : "non séparé";
}

LineReport linesOnSensor(const DesignInput& in, const std::vector<Line>& lines) {
    return linesOnSensor(in, evaluate(in), lines);
}

LineReport linesOnSensor(const DesignInput& in, const DesignOutcome& outcome,
                         const std::vector<Line>& lines) {
    LineReport report;
    if (!outcome.result) return report;
    const SolvedGrating& o = outcome.grating;
    for (const Line& line : lines) {
        const double pixel = pixelOfWavelength(in, o, line.lambda_a);
        if (onSensor(in, pixel)) report.lines.push_back({&line, pixel});
    }
    for (const LinePair& pair : linePairs()) {
        if (!onSensor(in, pixelOfWavelength(in, o, pair.lambda1_a)) ||
            !onSensor(in, pixelOfWavelength(in, o, pair.lambda2_a)))
            continue;
        // The element where the pair lies, not at the design's wavelength.
        const double element =
            resolutionElementAt(in, outcome, (pair.lambda1_a + pair.lambda2_a) / 2);
        const double separation = std::fabs(pair.lambda2_a - pair.lambda1_a);
        report.pairs.push_back({&pair, separation, element, separation >= element});
    }
    for (const std::string& kind : lampKinds()) {
        int count = 0;
        for (const LineOnSensor& l : report.lines) count += l.line->kind == kind;
        report.lamps.push_back({kind, count});
    }
    return report;
}

}  // namespace kelvora::design
