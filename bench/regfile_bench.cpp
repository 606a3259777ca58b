// Times reading and writing .reg files given on the command line, such as the
// 1 MB files of tests/registry/fuzz/make-large-inputs.py: each is read, its
// operations turned back into key blocks and written in its own format. A
// 1 MB file should read in well under a second.
//
// Usage: regfile_bench FILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "registry/RegFile.h"

namespace vantrel {
namespace {

constexpr int kRounds = 5;  // the best of these is reported

template <typename Body>
double BestMilliseconds(Body body) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count());
    }
    return best;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc < 2) {
        std::fprintf(stderr, "usage: regfile_bench FILE...\n");
        return 2;
    }
    std::printf("%-24s %8s %7s %8s %8s %8s\n", "file", "bytes", "ops", "read ms", "written", "write ms");
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        RegParseResult parsed;
        const double readMs = BestMilliseconds([&] { parsed = ParseRegFile(bytes); });
        const std::vector<RegKeyBlock> blocks = RegBlocksOf(parsed.ops);
        RegWriteResult written;
        const double writeMs = BestMilliseconds([&] { written = WriteRegFile(blocks, parsed.format); });
        const std::string name = std::string(argv[i]).substr(std::string(argv[i]).find_last_of("/\\") + 1);
        std::printf("%-24s %8zu %7zu %8.1f %8zu %8.1f%s\n", name.c_str(), bytes.size(), parsed.ops.size(), readMs,
                    written.bytes.size(), writeMs, parsed.ok() ? "" : ("  " + parsed.error).c_str());
    }
    return 0;
}
