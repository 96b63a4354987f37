#include "model/RecordArchive.h"

#include "model/CDataInfItem.h"
#include "model/CDataLevel.h"
#include "model/ResourceBlock.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <tuple>
#include <variant>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes given as numbers, one byte each, and texts.
Bytes Raw(std::initializer_list<std::variant<int, std::string_view>> parts) {
    Bytes out;
    for (const auto& part : parts) {
        if (const int* v = std::get_if<int>(&part)) out.push_back(static_cast<std::uint8_t>(*v));
        const std::string_view* text = std::get_if<std::string_view>(&part);
        if (text) out.insert(out.end(), text->begin(), text->end());
    }
    return out;
}

TEST(RecordArchive, ClassTagsAndObjectIndicesShareOneSequence) {
    RecordArchive ar(RecordArchive::Context{});
    CDataObjectSeq first("LOGIC", "TROOP");
    CDataObjectSeq second("EYE", "TRUE");
    ar.WriteObject(&first);
    ar.WriteObject(&second);
    ar.WriteObject(nullptr);
    // New class (index 1), object 2; then the known class 1 as 0x8001, object 3; then null.
    const Bytes expected = Raw({0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00, "CDataObjectSeq", 5, "LOGIC", 5, "TROOP",
                                0x01, 0x80, 3, "EYE", 4, "TRUE", 0x00, 0x00});
    EXPECT_EQ(ar.bytes(), expected);
}

TEST(RecordArchive, CountsAndStringLengthsSwitchToWiderForms) {
    RecordArchive ar(RecordArchive::Context{});
    ar.WriteCount(0xFFFE);
    ar.WriteCount(0x10000);
    ar.WriteString(std::string(254, 'a'));
    ar.WriteString(std::string(255, 'b'));
    ar.WriteString(std::string(0x10000, 'c'));
    const Bytes& b = ar.bytes();
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), Raw({0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(b[8], 254);
    EXPECT_EQ(Bytes(b.begin() + 263, b.begin() + 266), Raw({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(Bytes(b.begin() + 521, b.begin() + 528), Raw({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));

    RecordArchive in(b, RecordArchive::Context{});
    EXPECT_EQ(in.ReadCount(0), 0xFFFEu);
    EXPECT_EQ(in.ReadCount(0), 0x10000u);
    EXPECT_EQ(in.ReadString(), std::string(254, 'a'));
    EXPECT_EQ(in.ReadString(), std::string(255, 'b'));
    EXPECT_EQ(in.ReadString(), std::string(0x10000, 'c'));
    EXPECT_TRUE(in.AtEnd());
}

TEST(RecordArchive, SectorBodyLayout) {
    CDataLevel level;
    testing::BuildRoom(level);
    CDataSector& sector = *level.m_Lev.m_pSectors[0];
    sector.m_pWalls.resize(1);
    sector.m_pVertices.resize(1);
    RecordArchive ar(RecordArchive::Context{&level.m_Lev, 0});
    ar.WriteObject(&sector);
    const Bytes& b = ar.bytes();

    std::size_t at = 0;
    auto expect = [&](const Bytes& part) {
        ASSERT_LE(at + part.size(), b.size());
        EXPECT_EQ(Bytes(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + part.size())),
                  part)
            << "at offset " << at;
        at += part.size();
    };
    expect(Raw({0xFF, 0xFF, 1, 0, 11, 0, "CDataSector"}));
    at += 4 + 1 + 4 + 3 * 8 + 3 * 4;                         // index, empty name, ambient, altitudes, flags
    expect(Raw({0xFF, 0xFF, 0, 0, 8, 0, "CObArray", 1, 0})); // class 3, object 4
    expect(Raw({0xFF, 0xFF, 1, 0, 9, 0, "CDataWall"}));      // class 5, object 6
    at += 10 * 4;
    expect(Raw({11, "RWRWALL1.BM"})); // mid texture travels by name
    at += 8 + 8 + 4;
    at += 2 * (12 + 20) + 1 + 20;    // top, bottom, empty sign
    expect(Raw({0x03, 0x80, 1, 0})); // known CObArray class
    expect(Raw({0xFF, 0xFF, 1, 0, 11, 0, "CDataVertex"}));
    at += 16;
    expect(Raw({6, "IF3.BM"}));
    at += 20;
    expect(Raw({10, "IPBIGLT.BM"}));
    at += 20;
    EXPECT_EQ(at, b.size());
}

TEST(RecordArchive, ObjectAndInfItemRoundTrip) {
    CDataObjectItem object;
    std::tie(object.m_strClass, object.m_dX) = std::tuple("FRAME", 1.004999);
    object.m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "ITEM ENERGY"));
    CDataInfItem item;
    std::tie(item.m_strType, item.m_strName, item.m_nNum) = std::tuple("line", "door", 4);
    item.m_Lines = {"class:\ttrigger", "client:\tdoor"};
    RecordArchive out(RecordArchive::Context{});
    out.WriteObject(&object);
    out.WriteObject(&item);

    RecordArchive in(out.bytes(), RecordArchive::Context{});
    auto o = in.ReadObject<CDataObjectItem>();
    auto i = in.ReadObject<CDataInfItem>();
    ASSERT_TRUE(o && i);
    // Positions are rounded to hundredths when decoded.
    EXPECT_EQ(std::tuple(o->m_strClass, o->m_dX, o->m_pSeqs.size()), std::tuple("FRAME", 1.0, 1u));
    EXPECT_EQ(o->m_pSeqs[0]->m_strValue, "ITEM ENERGY");
    EXPECT_EQ(std::tie(i->m_strType, i->m_strName, i->m_nNum, i->m_Lines),
              std::tie(item.m_strType, item.m_strName, item.m_nNum, item.m_Lines));
}

// Cut streams are refused by the library tests, at every cut; these are the records' own faults.
TEST(RecordArchive, BadInputIsRefusedCleanly) {
    CDataObjectSeq seq("A", "B");
    RecordArchive out(RecordArchive::Context{});
    out.WriteObject(&seq);
    const Bytes good = out.bytes();

    { // a reference back to object 2 cannot be shared by our records
        Bytes twice = good;
        twice.insert(twice.end(), {0x02, 0x00});
        RecordArchive in(twice, RecordArchive::Context{});
        in.ReadObject<CDataObjectSeq>();
        EXPECT_THROW(in.ReadObject<CDataObjectSeq>(), FormatError);
    }
    { // the right archive, the wrong record class
        RecordArchive in(good, RecordArchive::Context{});
        EXPECT_THROW(in.ReadObject<CDataVertex>(), FormatError);
    }
    { // a huge array count in a tiny buffer is refused before anything is allocated
        Bytes huge = Raw({0xFF, 0xFF, 0, 0, 8, 0, "CObArray", 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
        RecordArchive in(huge, RecordArchive::Context{});
        std::vector<std::unique_ptr<CDataVertex>> array;
        EXPECT_THROW(in.SerializeArray(array), FormatError);
    }
    { // an unknown class index
        const Bytes unknown = Raw({0x05, 0x80});
        RecordArchive in(unknown, RecordArchive::Context{});
        EXPECT_THROW(in.ReadObject<CDataObjectSeq>(), FormatError);
    }
}

// How the members travel and merge is the library tests' subject; this is the block's layout.
TEST(ResourceBlock, CarriesResourceMembersOnlyInNewLibraries) {
    CDataLevel source;
    for (const auto& [name, data] : {std::pair("WALL.BM", Bytes{1, 2, 3}), std::pair("SECBASE.LEV", Bytes{9}),
                                     std::pair("GUARD.WAX", Bytes{4, 5}), std::pair("EMPTY.VOC", Bytes{})})
        ASSERT_TRUE(source.AddMember(name, data));
    RecordArchive out(RecordArchive::Context{});
    SerializeResourceBlock(source, out, kLibraryVersionTag);
    EXPECT_EQ(out.bytes(),
              Raw({3, 0, 0, 0, 7, "WALL.BM", 1, 2, 3, 2, 0, 0, 0, 9, "GUARD.WAX", 4, 5, 0, 0, 0, 0}));

    RecordArchive old(RecordArchive::Context{});
    SerializeResourceBlock(source, old, kLibraryVersionTagWithoutResources);
    EXPECT_TRUE(old.bytes().empty());
}

} // namespace
} // namespace morvi
