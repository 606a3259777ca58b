// Text to number conversion used by SaveStringLong and the check box rows.
#include <gtest/gtest.h>

#include "registry/RegistryRoutines.h"

namespace vantrel::test {
namespace {

TEST(TextToLongTest, ConvertsDecimalTextRoundingHalvesToEven) {
    const struct {
        const char* text;
        std::optional<std::int32_t> number;
    } cases[] = {
        {"0", 0},
        {"12", 12},
        {"-1", -1},
        {"+7", 7},
        {"  42\t", 42},
        {"007", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.51", 3},
        {"2.4999", 2},
        {"0.5", 0},
        {"1.", 1},
        {".6", 1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483647.4", 2147483647},
        {"2147483647.5", std::nullopt},
        {"2147483648", std::nullopt},
        {"99999999999", std::nullopt},
        {"000000000000000000000000001", 1},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"--1", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToLong(c.text), c.number) << '"' << c.text << '"';
}

TEST(TextToIntegerTest, UsesTheSixteenBitRange) {
    EXPECT_EQ(TextToInteger("1"), std::int16_t{1});
    EXPECT_EQ(TextToInteger("32767"), std::int16_t{32767});
    EXPECT_EQ(TextToInteger("-32768"), std::int16_t{-32768});
    EXPECT_EQ(TextToInteger("32768"), std::nullopt);
    EXPECT_EQ(TextToInteger("0.5"), std::int16_t{0});
    EXPECT_EQ(TextToInteger(""), std::nullopt);
}

}  // namespace
}  // namespace vantrel::test
