#include "gamefiles/GobArchive.h"
#include "support/RawBytes.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;
using testing::Succeeded;

// Builds archive bytes by hand, so that the reader is tested against the format and not against
// our own writer.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    // A directory entry whose 13-byte name field is exactly as given, NUL-padded.
    RawBytes& entry(std::uint32_t offset, std::uint32_t size, std::string_view name) {
        return u32(offset).u32(size).field(name, 13);
    }
};

std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Each member as "NAME=text".
Strings Members(const GobArchive& archive) {
    Strings members;
    for (const auto& member : archive.m_pMembers)
        members.push_back(member->m_strName + "=" + std::string(member->text()));
    return members;
}

Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

GobArchive TwoMembers() {
    GobArchive archive;
    EXPECT_TRUE(Succeeded(archive.AddMember("A.DAT", AsBytes("0123456789"))));
    EXPECT_TRUE(Succeeded(archive.AddMember("b.dat", AsBytes("abcdefghijklmnopqrst"))));
    return archive;
}

TEST(GobArchive, WritesBlocksFromOffsetEightAndTheIndexAfterThem) {
    GobArchive archive = TwoMembers();
    ASSERT_TRUE(Succeeded(archive.AddMember("EMPTY.TXT", {})));
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(archive, written)));
    RawBytes expected;
    expected.text("GOB\n").u32(38).text("0123456789abcdefghijklmnopqrst").u32(3);
    expected.entry(8, 10, "A.DAT").entry(18, 20, "B.DAT").entry(38, 0, "EMPTY.TXT");
    EXPECT_EQ(written, expected.m_Bytes);
    EXPECT_EQ(archive.m_nIndexOffset, 38u);
    EXPECT_EQ(archive.m_pMembers[1]->m_nOffset, 18u);
}

TEST(GobArchive, NameFieldsAsFoundInTheField) {
    const auto archive = [](std::string_view first, std::string_view second) {
        RawBytes raw;
        raw.text("GOB\n").u32(8 + 6).text("abcdef").u32(4).entry(8, 2, first).entry(10, 2, second);
        // Thirteen characters fill the field without a NUL.
        return raw.entry(12, 2, "DUP.VOC").entry(14, 0, "ABCDEFGHI.WAX").m_Bytes;
    };
    // Old tools left bytes of a longer name behind the NUL.
    const Bytes bytes = archive(std::string_view("wall.bm\0OLDER", 13), "Dup.voc");
    GobArchive read;
    ASSERT_TRUE(Succeeded(ReadGob(bytes, "names.gob", read)));
    // The same name twice: both stay, in archive order.
    EXPECT_EQ(Members(read), (Strings{"WALL.BM=ab", "DUP.VOC=cd", "DUP.VOC=ef", "ABCDEFGHI.WAX="}));

    // Written back, the names are clean and the thirteen-character one is kept whole.
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(read, written)));
    EXPECT_EQ(written, archive("WALL.BM", "DUP.VOC"));
}

TEST(GobArchive, MemberNamesMustFitTheFieldAndAreFoundIgnoringCase) {
    GobArchive archive = TwoMembers();
    EXPECT_TRUE(Succeeded(archive.AddMember("ABCDEFGH.WAX", AsBytes("x"))));
    EXPECT_NE(archive.AddMember("ABCDEFGHI.WAX", AsBytes("x")).message().find("ABCDEFGHI.WAX"),
              std::string::npos);
    EXPECT_FALSE(archive.AddMember("", AsBytes("x")));
    EXPECT_EQ(archive.FindMember("b.DAT"), archive.m_pMembers[1].get());
    EXPECT_TRUE(archive.RemoveMember("a.dat"));
    EXPECT_FALSE(archive.RemoveMember("a.dat"));
    EXPECT_EQ(Members(archive), (Strings{"B.DAT=abcdefghijklmnopqrst", "ABCDEFGH.WAX=x"}));

    // A name changed behind the archive's back is refused before anything is written.
    archive.m_pMembers[0]->m_strName = "FOURTEEN.CHARS";
    Bytes written;
    EXPECT_FALSE(WriteGob(archive, written));
    EXPECT_TRUE(written.empty());
}

TEST(GobArchive, BadArchivesAreRefusedAndNothingIsLoaded) {
    const RawBytes header = RawBytes().text("GOB\n");
    const std::tuple<const char*, Bytes, const char*> cases[] = {
        {"truncated header", RawBytes(header).zeros(1).m_Bytes, "too short"},
        {"directory beyond the end", RawBytes(header).u32(1000).zeros(20).m_Bytes,
         "directory at offset 1000 lies beyond the end"},
        {"absurd member count", RawBytes(header).u32(8).u32(0xFFFFFFFF).zeros(21).m_Bytes,
         "lists 4294967295 members"},
        {"truncated directory", RawBytes(header).u32(8).u32(2).entry(0, 0, "A").m_Bytes, "lists 2 members"},
        {"member beyond the end", RawBytes(header).u32(10).text("xy").u32(1).entry(8, 1000, "BIG.BM").m_Bytes,
         "member BIG.BM (entry 1) lies beyond the end"},
        {"offset near 4 GB", RawBytes(header).u32(8).u32(1).entry(0xFFFFFFF0, 0x20, "WRAP.BM").m_Bytes,
         "member WRAP.BM (entry 1) lies beyond the end"},
        {"members claiming more than the file",
         RawBytes(header).u32(8).u32(3).entry(0, 40, "A").entry(0, 40, "A").entry(0, 40, "A").m_Bytes,
         "more than the 75 bytes"},
    };
    for (const auto& [what, bytes, message] : cases) {
        SCOPED_TRACE(what);
        GobArchive archive = TwoMembers();
        const Status read = ReadGob(bytes, "bad.gob", archive);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.message().rfind("bad.gob: ", 0), 0u) << read.message();
        EXPECT_NE(read.message().find(message), std::string::npos) << read.message();
        EXPECT_EQ(Members(archive), (Strings{"A.DAT=0123456789", "B.DAT=abcdefghijklmnopqrst"}));
    }
    // So is every cut of a good archive.
    GobArchive archive = TwoMembers();
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(archive, written)));
    for (std::size_t length = 0; length < written.size(); ++length) {
        GobArchive read;
        EXPECT_FALSE(ReadGob(std::span(written).first(length), "cut.gob", read)) << "length " << length;
        EXPECT_TRUE(read.m_pMembers.empty());
    }
}

// The index comes first and the blocks follow in the reverse order of the entries, so that the
// file reader has to go back; a file written reads as the same bytes do in memory.
TEST(GobArchive, ReaderGoesByTheIndexOffsetsInMemoryAndInFiles) {
    RawBytes raw;
    raw.text("GOB\x1A").u32(8).u32(2).entry(57, 5, "FIRST.TXT").entry(54, 3, "SECOND.TXT").text("twofirst");
    testing::TempDir dir;
    const std::filesystem::path path = dir.path() / "odd.gob";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(raw.m_Bytes.data()),
               static_cast<std::streamsize>(raw.m_Bytes.size()));
    GobArchive fromFile, read;
    ASSERT_TRUE(Succeeded(ReadGobFile(path, fromFile)));
    ASSERT_TRUE(Succeeded(ReadGob(raw.m_Bytes, "odd.gob", read)));
    for (const GobArchive* archive : {&fromFile, &read}) {
        EXPECT_EQ(Members(*archive), (Strings{"FIRST.TXT=first", "SECOND.TXT=two"}));
        EXPECT_EQ(archive->m_nIndexOffset, 8u);
        EXPECT_EQ(archive->m_Magic, (std::array<std::uint8_t, 4>{'G', 'O', 'B', 0x1A}));
    }

    GobArchive archive = TwoMembers();
    ASSERT_TRUE(Succeeded(WriteGobFile(archive, path)));
    Bytes inMemory;
    ASSERT_TRUE(Succeeded(WriteGob(archive, inMemory)));
    EXPECT_EQ(ReadFileBytes(path), inMemory);

    // A damaged or missing file names itself in the message.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "GOB\n";
    for (const std::filesystem::path& bad : {path, dir.path() / "missing.gob"}) {
        const Status status = ReadGobFile(bad, read);
        EXPECT_FALSE(status);
        EXPECT_NE(status.message().find(bad.string()), std::string::npos) << status.message();
        EXPECT_EQ(read.m_pMembers.size(), 2u);
    }
}

} // namespace
} // namespace morvi
