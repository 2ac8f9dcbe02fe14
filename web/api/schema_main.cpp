// Prints the calculator's form as the page's engine describes it, for the
// site's HTML: the page draws the form from it before the engine loads.
#include <iostream>

#include "web/api/api.h"

int main() {
    std::cout << kelvora::web::call("schemaCalculateur", "{}") << '\n';
}
