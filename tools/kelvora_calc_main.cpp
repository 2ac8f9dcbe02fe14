#include <iostream>
#include <string>
#include <vector>

#include "tools/calc_cli.h"
#include "ui/regional.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kelvora::cli::runCalc(args, kelvora::regionalDecimalSeparator(), std::cout, std::cerr);
}
