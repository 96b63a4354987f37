#include "resources/LfdArchive.h"

#include "support/TempDir.h"

#include "support/RawBytes.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds archive bytes by hand, so that the reader is tested against the format and not against
// our own writer.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    RawBytes& data(const Bytes& b) { return bytes(b); }
    // A 16-byte record whose fields are exactly as given, NUL-padded.
    RawBytes& record(std::string_view type, std::string_view name, std::uint32_t size) {
        return field(type, 4).field(name, 8).u32(size);
    }
};

using testing::Succeeded;

struct Summary {
    std::string m_strType;
    std::string m_strName;
    std::uint32_t m_nOffset;
    Bytes m_Data;
    bool operator==(const Summary&) const = default;
};

std::vector<Summary> Summarise(const LfdArchive& archive) {
    std::vector<Summary> out;
    for (const LfdMember& m : archive.members())
        out.push_back({m.m_strType, m.m_strName, m.m_nOffset, m.m_Data});
    return out;
}

LfdArchive ThreeMembers() {
    LfdArchive archive;
    EXPECT_TRUE(Succeeded(archive.AddMember("ANIM", "intro", {1, 2, 3})));
    EXPECT_TRUE(Succeeded(archive.AddMember("DELT", "pic", {9})));
    EXPECT_TRUE(Succeeded(archive.AddMember("PLTT", "palette1", {})));
    return archive;
}

Bytes ThreeMemberBytes() {
    return RawBytes()
        .record("RMAP", "resource", 48)
        .record("ANIM", "intro", 3)
        .record("DELT", "pic", 1)
        .record("PLTT", "palette1", 0)
        .record("ANIM", "intro", 3)
        .data({1, 2, 3})
        .record("DELT", "pic", 1)
        .data({9})
        .record("PLTT", "palette1", 0)
        .m_Bytes;
}

TEST(LfdArchiveTest, WritesMapHeaderMapMemberHeadersAndData) {
    const LfdArchive archive = ThreeMembers();
    EXPECT_EQ(archive.Write(), ThreeMemberBytes());
    EXPECT_EQ(archive.mapSize(), 48u);
    // Data offsets: 16 + 48 + 16, then each previous offset + size + 16.
    EXPECT_EQ(Summarise(archive), (std::vector<Summary>{{"ANIM", "intro", 80, {1, 2, 3}},
                                                        {"DELT", "pic", 99, {9}},
                                                        {"PLTT", "palette1", 116, {}}}));
    EXPECT_EQ(LfdArchive().Write(), RawBytes().record("RMAP", "resource", 0).m_Bytes);
}

TEST(LfdArchiveTest, ReadsWhatItWritesAndWritesWhatItReads) {
    LfdArchive read;
    ASSERT_TRUE(Succeeded(read.Read(ThreeMemberBytes(), "three.lfd")));
    EXPECT_EQ(Summarise(read), Summarise(ThreeMembers()));
    EXPECT_EQ(read.Write(), ThreeMemberBytes());

    morvi::testing::TempDir dir;
    ASSERT_TRUE(Succeeded(read.WriteFile(dir.path() / "out.lfd")));
    LfdArchive again;
    ASSERT_TRUE(Succeeded(again.ReadFile(dir.path() / "out.lfd")));
    EXPECT_EQ(Summarise(again), Summarise(read));
    EXPECT_FALSE(again.ReadFile(dir.path() / "missing.lfd"));
}

TEST(LfdArchiveTest, ReadsOddFieldsFromTheField) {
    // A map named "Resource" of type "rmap", names with garbage after their NUL, the types AMIN
    // and ANIX, and a type field holding control and high bytes.
    const Bytes bytes = RawBytes()
                            .record("rmap", "Resource", 48)
                            .record("AMIN", std::string("ab\0xyz", 6), 1)
                            .record("ANIX", "Full8chr", 0)
                            .record(std::string("\x01Z\0\xff", 4), "x", 2)
                            .record("AMIN", "zz", 1)
                            .data({7})
                            .record("ANIX", "Full8chr", 0)
                            .record("????", "x", 2)
                            .data({5, 6})
                            .m_Bytes;
    LfdArchive archive;
    ASSERT_TRUE(Succeeded(archive.Read(bytes, "odd.lfd")));
    EXPECT_EQ(Summarise(archive),
              (std::vector<Summary>{
                  {"AMIN", "ab", 80, {7}}, {"ANIX", "Full8chr", 97, {}}, {"\x01Z", "x", 113, {5, 6}}}));
    EXPECT_EQ(FindLfdTypeByType("AMIN"), nullptr);
    // Written back under the standard map header with clean fields.
    const Bytes written = archive.Write();
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 32),
              RawBytes().record("RMAP", "resource", 48).record("AMIN", "ab", 1).m_Bytes);
}

TEST(LfdArchiveTest, AddsFilesByTheExtensionTable) {
    LfdArchive archive;
    ASSERT_TRUE(Succeeded(archive.AddFile("BigCity.ANM", Bytes{1, 2})));
    for (const LfdFileType& type : kLfdFileTypes)
        ASSERT_TRUE(Succeeded(archive.AddFile("m." + std::string(type.m_Extension), Bytes{3})));
    ASSERT_EQ(archive.members().size(), 8u);
    EXPECT_EQ(archive.members()[0].m_strType, "ANIM");
    EXPECT_EQ(archive.members()[0].m_strName, "bigcity");
    EXPECT_EQ(archive.members()[0].m_Data, (Bytes{1, 2}));
    for (std::size_t i = 0; i < kLfdFileTypes.size(); ++i)
        EXPECT_EQ(archive.members()[i + 1].m_strType, kLfdFileTypes[i].m_Type);

    // An LFD appends all its members; offsets follow the grown map.
    ASSERT_TRUE(Succeeded(archive.AddFile("more.lfd", ThreeMemberBytes())));
    ASSERT_EQ(archive.members().size(), 11u);
    EXPECT_EQ(archive.members()[8].m_strName, "intro");
    EXPECT_EQ(archive.members()[0].m_nOffset, 16u + 11 * 16 + 16);
    EXPECT_EQ(archive.members()[1].m_nOffset, archive.members()[0].m_nOffset + 2 + 16);
}

TEST(LfdArchiveTest, RefusesNamesTypesAndExtensionsThatDoNotFit) {
    LfdArchive archive;
    // Split at the first dot: the extension is "film.anm", which is not in the table.
    EXPECT_FALSE(archive.AddFile("Intro.Film.anm", Bytes{1}));
    EXPECT_FALSE(archive.AddFile("readme.txt", Bytes{1}));
    EXPECT_FALSE(archive.AddFile("noextension", Bytes{1}));
    EXPECT_FALSE(archive.AddFile(".anm", Bytes{1}));
    const Status tooLong = archive.AddFile("ninechars.dlt", Bytes{1});
    EXPECT_NE(tooLong.message().find("ninechars.dlt"), std::string::npos) << tooLong.message();
    EXPECT_FALSE(archive.AddMember("ANIM", "ninechars", {}));
    EXPECT_FALSE(archive.AddMember("ANIMS", "a", {}));
    EXPECT_FALSE(archive.AddMember("", "a", {}));
    EXPECT_FALSE(archive.AddMember("ANIM", std::string("a\0b", 3), {}));
    EXPECT_FALSE(archive.AddFile("bad.lfd", Bytes{1, 2, 3}));
    EXPECT_TRUE(archive.members().empty());
    EXPECT_TRUE(archive.AddMember("ANIM", "eightchr", {}));
}

TEST(LfdArchiveTest, DeleteKeepsOffsetsRight) {
    LfdArchive archive = ThreeMembers();
    ASSERT_TRUE(archive.DeleteMember(0));
    EXPECT_EQ(Summarise(archive), (std::vector<Summary>{{"DELT", "pic", 16 + 32 + 16, {9}},
                                                        {"PLTT", "palette1", 64 + 1 + 16, {}}}));
    EXPECT_EQ(archive.Write(), RawBytes()
                                   .record("RMAP", "resource", 32)
                                   .record("DELT", "pic", 1)
                                   .record("PLTT", "palette1", 0)
                                   .record("DELT", "pic", 1)
                                   .data({9})
                                   .record("PLTT", "palette1", 0)
                                   .m_Bytes);
    EXPECT_FALSE(archive.DeleteMember(2));
    ASSERT_TRUE(archive.DeleteMember(1));
    ASSERT_TRUE(archive.DeleteMember(0));
    EXPECT_EQ(archive.Write(), RawBytes().record("RMAP", "resource", 0).m_Bytes);
}

TEST(LfdArchiveTest, RefusesDamagedArchivesAndKeepsWhatItHad) {
    const Bytes good = ThreeMemberBytes();
    Bytes truncated(good.begin(), good.end() - 1);
    Bytes oddMap = good;
    oddMap[12] = 47;
    Bytes hugeMap = good;
    hugeMap[12] = 0xF0;
    hugeMap[13] = hugeMap[14] = hugeMap[15] = 0xFF;
    Bytes memberPastEnd = good;
    memberPastEnd[16 + 12 + 2] = 1; // the first member claims 65539 bytes
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(good.begin(), good.begin() + 15), "too short"},
        {oddMap, "not a multiple of 16"},
        {hugeMap, "map runs beyond the end"},
        {Bytes(good.begin(), good.begin() + 70), "map runs beyond the end"},
        {memberPastEnd, "\"intro\" (ANIM) (entry 1) lies beyond the end"},
        {truncated, "\"palette1\" (PLTT) (entry 3) lies beyond the end"},
    };
    for (const auto& [bytes, problem] : cases) {
        LfdArchive archive = ThreeMembers();
        const Status read = archive.Read(bytes, "damaged.lfd");
        ASSERT_FALSE(read) << problem;
        EXPECT_EQ(read.message().rfind("damaged.lfd: ", 0), 0u) << read.message();
        EXPECT_NE(read.message().find(problem), std::string::npos) << read.message();
        EXPECT_FALSE(archive.Append(bytes, "damaged.lfd"));
        EXPECT_EQ(Summarise(archive), Summarise(ThreeMembers()));
    }
}

} // namespace
} // namespace morvi
