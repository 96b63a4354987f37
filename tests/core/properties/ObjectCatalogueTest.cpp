#include "properties/ObjectCatalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

namespace morvi {
namespace {

TEST(ObjectCatalogue, CategoriesInListOrder) {
    const auto categories = ObjectCategories();
    ASSERT_EQ(categories.size(), 10u);
    EXPECT_EQ(categories[0], "Player and Safe");
    EXPECT_EQ(categories[3], "Imperial Troops");
    EXPECT_EQ(categories[5], "Robots and Traps");
    EXPECT_EQ(categories[6], "Weapons and Ammunition");
    EXPECT_EQ(categories[9], "Decoratives");
}

TEST(ObjectCatalogue, EntriesAreGroupedByCategoryWithTheirCounts) {
    const auto entries = ObjectCatalogue();
    ASSERT_EQ(entries.size(), 91u);
    const std::array<int, 10> expected{2, 10, 4, 3, 5, 8, 18, 10, 11, 20};
    std::array<int, 10> counts{};
    int previous = 0;
    for (const CatalogueEntry& e : entries) {
        ASSERT_GE(e.m_nCategory, previous) << e.m_strFile; // categories never interleave
        ASSERT_LT(e.m_nCategory, 10);
        previous = e.m_nCategory;
        ++counts[static_cast<std::size_t>(e.m_nCategory)];
    }
    EXPECT_EQ(counts, expected);
}

TEST(ObjectCatalogue, ExactEntries) {
    const auto entries = ObjectCatalogue();
    auto same = [](const CatalogueEntry& e, int category, std::string_view file, std::string_view text) {
        return e.m_nCategory == category && e.m_strFile == file && e.m_strDescription == text;
    };
    EXPECT_TRUE(same(entries[0], 0, "spirit", "Player Start Position"));
    EXPECT_TRUE(same(entries[1], 0, "safe", "Restart Position"));
    EXPECT_TRUE(same(entries[20], 4, "gamguard.wax", "Gamorean Guard"));
    EXPECT_TRUE(same(entries[34], 6, "ifusion.fme", "Fusion Cutter"));
    EXPECT_TRUE(same(entries[61], 8, "concexp.wax", "Light Bulp"));
    EXPECT_TRUE(same(entries[90], 9, "table.wax", "Table"));
    // Two entries share a description but not a file.
    EXPECT_TRUE(same(entries[27], 5, "landmine.fme", "Land Mine"));
    EXPECT_TRUE(same(entries[43], 6, "imine.fme", "Land Mine"));
}

TEST(ObjectCatalogue, FileNamesAreLowerCaseAndUnique) {
    std::set<std::string_view> seen;
    for (const CatalogueEntry& e : ObjectCatalogue()) {
        EXPECT_FALSE(e.m_strFile.empty());
        EXPECT_FALSE(e.m_strDescription.empty());
        for (const char c : e.m_strFile)
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << e.m_strFile;
        EXPECT_TRUE(seen.insert(e.m_strFile).second) << e.m_strFile;
    }
}

TEST(ObjectCatalogue, FindIsExact) {
    const CatalogueEntry* storm = FindCatalogueEntry("stormfin.wax");
    ASSERT_NE(storm, nullptr);
    EXPECT_EQ(storm->m_strDescription, "Stormtrooper");
    EXPECT_EQ(storm->m_nCategory, 3);
    ASSERT_NE(FindCatalogueEntry("safe"), nullptr);
    EXPECT_EQ(FindCatalogueEntry("STORMFIN.WAX"), nullptr);
    EXPECT_EQ(FindCatalogueEntry("ifusiont.fme"), nullptr);
    EXPECT_EQ(FindCatalogueEntry(""), nullptr);
}

} // namespace
} // namespace morvi
