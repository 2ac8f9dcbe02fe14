// Runs the window's calculation on inputs read from standard input, one
// run a line: the seventeen field texts, the detector (empty: none) and the
// entrance model ("barlow" or "fente"), separated by tabs. Writes the shown
// texts and the fault message, tab-separated, one line a run. Built natively
// and as WebAssembly: the two outputs must be the same bytes.
#include <iostream>
#include <string>
#include <vector>

#include "model/calculation.h"

namespace {

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == '\t')
            out.emplace_back();
        else
            out.back().push_back(c);
    }
    return out;
}

}  // namespace

int main() {
    std::ios::sync_with_stdio(false);
    const kelvora::DetectorCatalogue catalogue;
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::vector<std::string> f = fields(line);
        if (f.size() != kelvora::kInputCount + 2) return 2;
        kelvora::RunInput in;
        for (std::size_t i = 0; i < kelvora::kInputCount; ++i) in.texts[i] = f[i];
        const kelvora::DetectorModel* d = catalogue.find(f[kelvora::kInputCount]);
        in.detector = d ? *d : kelvora::DetectorModel{};
        in.barlowSelected = f[kelvora::kInputCount + 1] == "barlow";
        const kelvora::RunOutput out = kelvora::runCalculation(in);
        for (const kelvora::ShownText& s : out.shown) std::cout << s.text << '\t';
        std::cout << (out.fault ? kelvora::faultMessage(*out.fault) : "") << '\n';
    }
    return 0;
}
