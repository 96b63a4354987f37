#include "properties/ObjectCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace morvi {
namespace {

// Object files are looked up by their lower-case name, exactly; every entry is found by its own.
TEST(ObjectCatalogue, EveryEntryIsFoundByItsLowerCaseNameOnly) {
    std::set<std::string_view> seen;
    for (const CatalogueEntry& e : ObjectCatalogue()) {
        EXPECT_FALSE(e.m_strFile.empty());
        EXPECT_FALSE(e.m_strDescription.empty());
        for (const char c : e.m_strFile)
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << e.m_strFile;
        EXPECT_TRUE(seen.insert(e.m_strFile).second) << e.m_strFile;
        EXPECT_EQ(FindCatalogueEntry(e.m_strFile), &e);
    }
    EXPECT_EQ(FindCatalogueEntry("stormfin.wax")->m_strDescription, "Stormtrooper");
    for (const char* missing : {"STORMFIN.WAX", "ifusiont.fme", ""})
        EXPECT_EQ(FindCatalogueEntry(missing), nullptr) << missing;
}

} // namespace
} // namespace morvi
