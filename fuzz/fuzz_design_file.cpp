// Hostile design files: reading never crashes, and a file that reads writes
// back to bytes that read to the same file again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "io/designfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kelvora::DetectorCatalogue catalogue;
    kelvora::io::DesignFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!kelvora::io::parseDesignFile(bytes, catalogue, file).empty()) return 0;
    const std::string once = kelvora::io::serializeDesignFile(file);
    kelvora::io::DesignFile again;
    if (!kelvora::io::parseDesignFile(once, catalogue, again).empty()) std::abort();
    if (kelvora::io::serializeDesignFile(again) != once) std::abort();
    return 0;
}
