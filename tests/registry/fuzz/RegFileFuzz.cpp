// libFuzzer target over the .reg reader: any input must be read without a
// crash, and a file that reads must read back the same once written.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "registry/RegRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string difference =
        vantrel::test::RegRoundTripDifference(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!difference.empty()) {
        std::fprintf(stderr, "round trip: %s\n", difference.c_str());
        std::abort();  // libFuzzer saves the input as a crash
    }
    return 0;
}
