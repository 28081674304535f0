#include "IntegerRule.h"

#include <gtest/gtest.h>

#include <limits>

struct IntegerCase {
    const char* text;
    std::int32_t value;
};

class MagicIntegerRule : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(MagicIntegerRule, GivesTheValueOrTheMagnitudeReadBeforeTheFault) {
    EXPECT_EQ(ParseMagicInteger(GetParam().text), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MagicIntegerRule,
    ::testing::Values(
        IntegerCase{"12", 12}, IntegerCase{"  12", 12}, IntegerCase{"+12", 12},
        IntegerCase{"-12", -12}, IntegerCase{"007", 7}, IntegerCase{"12x", 12},
        IntegerCase{"-12x", 12}, IntegerCase{"12abc", 12}, IntegerCase{"abc", 0},
        IntegerCase{"", 0}, IntegerCase{"   ", 0}, IntegerCase{"\t5", 0}, IntegerCase{"-5 ", 5},
        IntegerCase{"$1F", 31}, IntegerCase{"x1f", 31}, IntegerCase{"X1F", 31},
        IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31}, IntegerCase{"$FFFFFFFF", -1},
        IntegerCase{"$80000000", std::numeric_limits<std::int32_t>::min()}, IntegerCase{"-$1F", 0},
        IntegerCase{"$", 0}, IntegerCase{"0x", 0}, IntegerCase{"$1G", 1}, IntegerCase{"+", 0},
        IntegerCase{"2147483647", 2147483647},
        IntegerCase{"-2147483648", std::numeric_limits<std::int32_t>::min()},
        // Beyond 32 bits: malformed at the digit that overflows, the digits before it kept.
        IntegerCase{"2147483648", 214748364}, IntegerCase{"-2147483649", 214748364},
        IntegerCase{"99999999999", 999999999}, IntegerCase{"$123456789", 0x12345678},
        IntegerCase{"70000", 70000}));

struct TrackNumberCase {
    const char* text;
    std::optional<std::int32_t> value;
};

class TrackNumberRule : public ::testing::TestWithParam<TrackNumberCase> {};

TEST_P(TrackNumberRule, AcceptsOnlyAWholeNumber) {
    EXPECT_EQ(ParseTrackNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TrackNumberRule,
    ::testing::Values(TrackNumberCase{"5", 5}, TrackNumberCase{" 5", 5}, TrackNumberCase{"+5", 5},
                      TrackNumberCase{"05", 5}, TrackNumberCase{"$11", 17},
                      TrackNumberCase{"x11", 17}, TrackNumberCase{"0x11", 17},
                      TrackNumberCase{"0X11", 17}, TrackNumberCase{"-3", -3},
                      TrackNumberCase{"0", 0}, TrackNumberCase{"18", 18},
                      TrackNumberCase{"5 ", std::nullopt}, TrackNumberCase{"", std::nullopt},
                      TrackNumberCase{"abc", std::nullopt}, TrackNumberCase{"5x", std::nullopt},
                      TrackNumberCase{"-$5", std::nullopt}, TrackNumberCase{"$", std::nullopt},
                      TrackNumberCase{"4294967296", std::nullopt},
                      TrackNumberCase{"2147483648", std::nullopt}));
