// Runs the window's calculation on inputs read from standard input, one
// run a line: the seventeen field texts, the detector (empty: none) and the
// entrance model ("barlow" or "fente"), separated by tabs. Writes the shown
// texts and the fault message, tab-separated, one line a run. Built natively
// and as WebAssembly: the two outputs must be the same bytes.
// With --par-controle, each line is what the window shows after the run:
// every result control as NAME=TEXT (empty where the run stopped before it),
// then the fault message.
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

void printShown(const kelvora::RunOutput& out, bool byControl) {
    if (!byControl) {
        for (const kelvora::ShownText& s : out.shown) std::cout << s.text << '\t';
        return;
    }
    for (std::size_t i = 0; i < kelvora::kShownCount; ++i) {
        const kelvora::Control c = kelvora::shownAt(i);
        std::string text;
        for (const kelvora::ShownText& s : out.shown)
            if (s.control == c) text = s.text;
        std::cout << kelvora::controlName(c) << '=' << text << '\t';
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool byControl = argc > 1 && std::string(argv[1]) == "--par-controle";
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
        printShown(out, byControl);
        std::cout << (out.fault ? kelvora::faultMessage(*out.fault) : "") << '\n';
    }
    return 0;
}
