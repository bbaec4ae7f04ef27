#include "simulation/BlankDefinition.h"

#include <gtest/gtest.h>

namespace korvex::simulation {
namespace {

TEST(BlankDefinition, DefaultFieldsOfEachShapeGiveItsText) {
    const struct {
        int shape;
        const char* text;
    } cases[] = {{BlankFields::Box, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10"},
                 {BlankFields::CylinderZ, "ROHDEF ZYL1 XC0 YC0 RA50 ZP0 ZM-10"},
                 {BlankFields::CylinderX, "ROHDEF ZYL2 XM0 YC0 RA25 ZC0 XP50"},
                 {BlankFields::CylinderY, "ROHDEF ZYL3 XC0 YM-25 RA30 ZC0 YP25"},
                 {0, ""},
                 {5, ""}};
    for (const auto& c : cases) {
        BlankFields fields;
        fields.shape = c.shape;
        EXPECT_EQ(BuildBlankDefinition(fields), c.text) << c.shape;
    }
}

TEST(BlankDefinition, FieldTextsAreCopiedVerbatim) {
    BlankFields fields;
    fields.quader1.xm = "+5";
    fields.quader1.zm = "-1,5";
    const std::string text = BuildBlankDefinition(fields);
    EXPECT_EQ(text, "ROHDEF QUAD XM+5 YP50 ZP0 XP100 YM0 ZM-1,5");
    EXPECT_EQ(BlankValue(text, "XM"), 5);
    EXPECT_EQ(BlankValue(text, "ZM"), -1); // collection stops at ","
}

struct ValueCase {
    const char* text;
    const char* key;
    long double value;
};

class BlankValueOf : public ::testing::TestWithParam<ValueCase> {};

TEST_P(BlankValueOf, ReadsTheNumberAfterTheFirstKey) {
    EXPECT_EQ(BlankValue(GetParam().text, GetParam().key), GetParam().value)
        << GetParam().text << " / " << GetParam().key;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BlankValueOf,
    ::testing::Values(
        ValueCase{"ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", "ZM", -10},
        ValueCase{"ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", "XP", 100},
        ValueCase{"ROHDEF QUAD XM5 YP1 XM7", "XM", 5}, ValueCase{"ROHDEF QUAD XM- YP1", "XM", 0},
        ValueCase{"ROHDEF QUAD XM12abc", "XM", 12}, ValueCase{"ROHDEF QUAD XM1.2.3", "XM", 0},
        ValueCase{"ROHDEF QUAD XM", "XM", 0}, ValueCase{"ROHDEF QUAD XM 5", "XM", 0},
        ValueCase{"ROHDEF QUAD YP50", "RA", 0}, ValueCase{"ROHDEF ZYL1 RA2.5e3", "RA", 2.5L},
        ValueCase{"ROHDEF ZYL1 XC-.5", "XC", -0.5L}));

} // namespace
} // namespace korvex::simulation

TEST(BlankDefinition, RadiusThatIsNoPositiveNumberGivesNoCylinderAndIsNamed) {
    const struct {
        const char* definition;
        long double radius; // of CylinderOf
        const char* unusable;
    } rows[] = {
        {"ROHDEF ZYL3 XC0 YM-40 RA15 ZC-15 YP0", 15, nullptr},
        {"ROHDEF ZYL3 XC0 YM-40 RA-15 ZC-15 YP0", 0, "-15"},
        {"ROHDEF ZYL2 XM0 YC0 RA1e300 ZC-1 XP9", 0, "1e300"},
        {"ROHDEF ZYL2 XM0 YC0 RA0 ZC-1 XP9", 0, "0"},
        {"ROHDEF QUAD XM0 YP20 ZP0 XP30 YM0 ZM-5", 0, nullptr},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(korvex::simulation::CylinderOf(row.definition).Radius, row.radius)
            << row.definition;
        const auto unusable = korvex::simulation::UnusableRadius(row.definition);
        EXPECT_EQ(unusable.has_value(), row.unusable != nullptr) << row.definition;
        if (unusable && row.unusable) EXPECT_EQ(*unusable, row.unusable);
    }
}
