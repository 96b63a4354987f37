#include "model/RecordArchive.h"

#include "model/CDataInfItem.h"
#include "model/CDataLevel.h"
#include "model/ResourceBlock.h"

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

// Class tags and object indices share one sequence.
TEST(RecordArchive, ExactBytes) {
    RecordArchive ar(RecordArchive::Context{});
    CDataObjectSeq first("LOGIC", "TROOP");
    CDataObjectSeq second("EYE", "TRUE");
    ar.WriteObject(&first);
    ar.WriteObject(&second);
    ar.WriteObject(nullptr);
    // New class (index 1), object 2; then the known class 1 as 0x8001, object 3; then null.
    EXPECT_EQ(ar.bytes(), Raw({0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00, "CDataObjectSeq", 5, "LOGIC", 5, "TROOP",
                               0x01, 0x80, 3, "EYE", 4, "TRUE", 0x00, 0x00}));

    // The wider count and length forms start at 0xFFFF and 255.
    RecordArchive wide(RecordArchive::Context{});
    wide.WriteCount(0x10000);
    wide.WriteString(std::string(255, 'b'));
    EXPECT_EQ(Bytes(wide.bytes().begin(), wide.bytes().begin() + 9),
              Raw({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x00}));
}

TEST(RecordArchive, ObjectAndInfItemRoundTrip) {
    CDataObjectItem object;
    std::tie(object.m_strClass, object.m_dX, object.m_dZ) = std::tuple("FRAME", 1.004999, -1.006);
    object.m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "ITEM ENERGY"));
    CDataInfItem item;
    std::tie(item.m_strType, item.m_strName, item.m_nNum) = std::tuple("line", "door", 4);
    item.m_Lines = {"class:\ttrigger", "", "client:\tdoor"};
    RecordArchive out(RecordArchive::Context{});
    out.WriteObject(&object);
    out.WriteObject(&item);
    const std::pair<std::size_t, char> strings[] = {{254, 'a'}, {255, 'b'}, {0x10000, 'c'}};
    for (const auto& [n, c] : strings)
        out.WriteString(std::string(n, c));
    out.WriteCount(0xFFFE);
    out.WriteCount(0x10000);

    RecordArchive in(out.bytes(), RecordArchive::Context{});
    auto o = in.ReadObject<CDataObjectItem>();
    auto i = in.ReadObject<CDataInfItem>();
    ASSERT_TRUE(o && i);
    // Positions are rounded to hundredths when decoded.
    EXPECT_EQ(std::tuple(o->m_strClass, o->m_dX, o->m_dZ, o->m_pSeqs.size()),
              std::tuple("FRAME", 1.0, -1.01, 1u));
    EXPECT_EQ(o->m_pSeqs[0]->m_strValue, "ITEM ENERGY");
    EXPECT_EQ(std::tie(i->m_strType, i->m_strName, i->m_nNum, i->m_Lines),
              std::tie(item.m_strType, item.m_strName, item.m_nNum, item.m_Lines));
    for (const auto& [n, c] : strings)
        EXPECT_EQ(in.ReadString(), std::string(n, c));
    EXPECT_EQ(in.ReadCount(0), 0xFFFEu);
    EXPECT_EQ(in.ReadCount(0), 0x10000u);
    EXPECT_TRUE(in.AtEnd());
}

// Cut streams are refused by the library tests, at every cut; these are the records' own faults.
TEST(RecordArchive, BadInputIsRefusedCleanly) {
    CDataObjectSeq seq("A", "B");
    RecordArchive out(RecordArchive::Context{});
    out.WriteObject(&seq);
    Bytes twice = out.bytes();
    twice.insert(twice.end(), {0x02, 0x00});
    using Read = void (*)(RecordArchive&);
    const std::tuple<const char*, Bytes, Read> cases[] = {
        {"a reference back to object 2: our records share nothing", twice,
         [](RecordArchive& in) { in.ReadObject<CDataObjectSeq>(), in.ReadObject<CDataObjectSeq>(); }},
        {"the wrong record class", out.bytes(), [](RecordArchive& in) { in.ReadObject<CDataVertex>(); }},
        {"a huge array count in a tiny buffer, refused before allocating",
         Raw({0xFF, 0xFF, 0, 0, 8, 0, "CObArray", 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
         [](RecordArchive& in) {
             std::vector<std::unique_ptr<CDataVertex>> array;
             in.SerializeArray(array);
         }},
        {"an unknown class index", Raw({0x05, 0x80}),
         [](RecordArchive& in) { in.ReadObject<CDataObjectSeq>(); }},
    };
    for (const auto& [what, bytes, read] : cases) {
        RecordArchive in(bytes, RecordArchive::Context{});
        EXPECT_THROW(read(in), FormatError) << what;
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
