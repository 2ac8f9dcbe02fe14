#pragma once

namespace kelvora {

// Creates the application and its one window, runs until the program ends.
int runKelvora(int argc, char** argv);

}  // namespace kelvora
