#include <iostream>
#include <string>
#include <vector>

#include "io/usercatalogue.h"
#include "tools/calc_cli.h"
#include "ui/regional.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string warning;
    const kelvora::DetectorCatalogue catalogue = kelvora::io::loadCatalogue(&warning);
    if (!warning.empty()) std::cerr << "kelvora-calc : " << warning << '\n';
    return kelvora::cli::runCalc(args, kelvora::regionalDecimalSeparator(), catalogue, std::cout,
                                 std::cerr);
}
