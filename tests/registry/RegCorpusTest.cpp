// The saved .reg inputs: the seed files (real regedit-style files in both
// encodings) and every input the fuzzer saved in found/. Each must keep its
// keys and values through a write and a second reading; the seed files must
// also read without an error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "registry/RegFile.h"
#include "registry/RegRoundTrip.h"

namespace vantrel::test {
namespace {

TEST(RegCorpusTest, EverySavedInputKeepsItsKeysAndValues) {
    const std::filesystem::path corpus = std::filesystem::path(VANTREL_TESTS_DIR) / "registry" / "corpus";
    int seeds = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string name = entry.path().lexically_relative(corpus).string();
        EXPECT_EQ(RegRoundTripDifference(bytes), "") << name;
        if (entry.path().parent_path() == corpus) {
            ++seeds;
            EXPECT_EQ(ParseRegFile(bytes).error, "") << name;
        }
    }
    EXPECT_GE(seeds, 3);
}

}  // namespace
}  // namespace vantrel::test
