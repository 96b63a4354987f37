#include "resources/LfdArchive.h"

#include "PictureHelpers.h"

namespace morvi {
namespace {

using namespace testing;

// Archive bytes by hand: 16-byte records whose fields are exactly as given, NUL-padded.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    RawBytes& record(std::string_view type, std::string_view name, std::uint32_t size) {
        return field(type, 4).field(name, 8).u32(size);
    }
};

using Summary = std::tuple<std::string, std::string, std::uint32_t, Bytes>; // type, name, offset, data

std::vector<Summary> Summarise(const LfdArchive& archive) {
    std::vector<Summary> out;
    for (const LfdMember& m : archive.members())
        out.emplace_back(m.m_strType, m.m_strName, m.m_nOffset, m.m_Data);
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
    RawBytes raw;
    raw.record("RMAP", "resource", 48).record("ANIM", "intro", 3).record("DELT", "pic", 1);
    raw.record("PLTT", "palette1", 0).record("ANIM", "intro", 3).bytes({1, 2, 3});
    return raw.record("DELT", "pic", 1).bytes({9}).record("PLTT", "palette1", 0).m_Bytes;
}

// The map header, the map, then each member's header and data; reading the bytes back gives the
// same members and the same bytes.
TEST(LfdArchiveTest, WritesMapAndMembersAndReadsThemBack) {
    const LfdArchive archive = ThreeMembers();
    EXPECT_EQ(archive.Write(), ThreeMemberBytes());
    // Data offsets: 16 + 48 + 16, then each previous offset + size + 16.
    EXPECT_EQ(Summarise(archive), (std::vector<Summary>{{"ANIM", "intro", 80, {1, 2, 3}},
                                                        {"DELT", "pic", 99, {9}},
                                                        {"PLTT", "palette1", 116, {}}}));
    LfdArchive read;
    ASSERT_TRUE(Succeeded(read.Read(ThreeMemberBytes(), "three.lfd")));
    EXPECT_EQ(Summarise(read), Summarise(archive));
    EXPECT_EQ(read.Write(), ThreeMemberBytes());
}

// Files are added under the type of their extension and the name before the first dot, which
// must fit eight characters; an LFD appends all its members. Offsets follow the map as it grows
// and shrinks; nothing is added when a name or type is refused.
TEST(LfdArchiveTest, AddAppendAndDeleteKeepOffsetsRight) {
    LfdArchive archive;
    ASSERT_TRUE(Succeeded(archive.AddFile("BigCity.ANM", Bytes{1, 2})));
    ASSERT_TRUE(Succeeded(archive.AddFile("more.lfd", ThreeMemberBytes())));
    std::vector<Summary> expected{{"ANIM", "bigcity", 16 + 4 * 16 + 16, {1, 2}}};
    for (Summary member : Summarise(ThreeMembers())) {
        std::get<2>(member) += 16 + 16 + 2;
        expected.push_back(member);
    }
    EXPECT_EQ(Summarise(archive), expected);
    ASSERT_TRUE(archive.DeleteMember(1));
    EXPECT_EQ(Summarise(archive), (std::vector<Summary>{{"ANIM", "bigcity", 16 + 48 + 16, {1, 2}},
                                                        {"DELT", "pic", 82 + 16, {9}},
                                                        {"PLTT", "palette1", 99 + 16, {}}}));
    EXPECT_FALSE(archive.DeleteMember(3));
    for (const char* file : {"Intro.Film.anm", "readme.txt", "ninechars.dlt"})
        EXPECT_FALSE(archive.AddFile(file, Bytes{1})) << file;
    EXPECT_FALSE(archive.AddFile("bad.lfd", Bytes{1, 2, 3}));
    for (const auto& [type, name] : std::vector<std::pair<std::string, std::string>>{
             {"ANIM", "ninechars"}, {"ANIMS", "a"}, {"ANIM", std::string("a\0b", 3)}})
        EXPECT_FALSE(archive.AddMember(type, name, {})) << type << " " << name;
    EXPECT_EQ(archive.members().size(), 3u);
}

TEST(LfdArchiveTest, RefusesDamagedArchivesAndKeepsWhatItHad) {
    const Bytes good = ThreeMemberBytes();
    Bytes oddMap = good, memberPastEnd = good;
    oddMap[12] = 47;
    memberPastEnd[16 + 12 + 2] = 1; // the first member claims 65539 bytes
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(good.begin(), good.begin() + 15), "too short"},
        {oddMap, "not a multiple of 16"},
        {memberPastEnd, "\"intro\" (ANIM) (entry 1) lies beyond the end"},
        {Bytes(good.begin(), good.end() - 1), "\"palette1\" (PLTT) (entry 3) lies beyond the end"},
    };
    for (const auto& [bytes, problem] : cases) {
        LfdArchive archive = ThreeMembers();
        const std::string message = archive.Read(bytes, "damaged.lfd").message();
        EXPECT_EQ(message.rfind("damaged.lfd: ", 0), 0u) << message;
        EXPECT_NE(message.find(problem), std::string::npos) << message;
        EXPECT_FALSE(archive.Append(bytes, "damaged.lfd"));
        EXPECT_EQ(Summarise(archive), Summarise(ThreeMembers()));
    }
}

} // namespace
} // namespace morvi
