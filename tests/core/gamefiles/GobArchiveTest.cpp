#include "gamefiles/GobArchive.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds archive bytes by hand, so that the reader is tested against the format and not against
// our own writer.
class RawBytes {
public:
    RawBytes& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            m_Bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    RawBytes& text(std::string_view s) {
        m_Bytes.insert(m_Bytes.end(), s.begin(), s.end());
        return *this;
    }
    RawBytes& fill(std::size_t n, std::uint8_t value) {
        m_Bytes.insert(m_Bytes.end(), n, value);
        return *this;
    }
    // A 13-byte name field exactly as given, NUL-padded.
    RawBytes& name(std::string_view field) {
        text(field);
        return fill(13 - field.size(), 0);
    }
    const Bytes& bytes() const { return m_Bytes; }

private:
    Bytes m_Bytes;
};

std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

::testing::AssertionResult Succeeded(const Status& status) {
    if (status) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << status.message();
}

std::string TextOf(const CDataGobEntry& member) {
    return std::string(member.text());
}

using testing::TempDir;

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
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(archive, written)));

    const Bytes expected = RawBytes()
                               .text("GOB\n")
                               .u32(38)
                               .text("0123456789")
                               .text("abcdefghijklmnopqrst")
                               .u32(2)
                               .u32(8)
                               .u32(10)
                               .name("A.DAT")
                               .u32(18)
                               .u32(20)
                               .name("B.DAT")
                               .bytes();
    EXPECT_EQ(written.size(), 84u);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(archive.m_nIndexOffset, 38u);
    EXPECT_EQ(archive.m_pMembers[0]->m_nOffset, 8u);
    EXPECT_EQ(archive.m_pMembers[1]->m_nOffset, 18u);
}

TEST(GobArchive, ReadsWhatItWrote) {
    GobArchive archive = TwoMembers();
    ASSERT_TRUE(Succeeded(archive.AddMember("EMPTY.TXT", {})));
    archive.m_Magic = {{'G', 'O', 'B', 0x1A}};
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(archive, written)));

    GobArchive read;
    ASSERT_TRUE(Succeeded(ReadGob(written, "two.gob", read)));
    EXPECT_EQ(read.m_Magic, archive.m_Magic);
    EXPECT_EQ(read.m_nIndexOffset, 38u);
    ASSERT_EQ(read.m_pMembers.size(), 3u);
    EXPECT_EQ(read.m_pMembers[0]->m_strName, "A.DAT");
    EXPECT_EQ(TextOf(*read.m_pMembers[0]), "0123456789");
    EXPECT_EQ(read.m_pMembers[1]->m_strName, "B.DAT");
    EXPECT_EQ(read.m_pMembers[1]->m_nOffset, 18u);
    EXPECT_EQ(TextOf(*read.m_pMembers[1]), "abcdefghijklmnopqrst");
    EXPECT_EQ(read.m_pMembers[2]->m_nSize, 0u);

    Bytes again;
    ASSERT_TRUE(Succeeded(WriteGob(read, again)));
    EXPECT_EQ(again, written);
}

TEST(GobArchive, ReaderGoesByTheIndexOffsets) {
    // The index comes first and the blocks follow in the reverse order of the entries.
    const Bytes bytes = RawBytes()
                            .text("GOB\n")
                            .u32(8)
                            .u32(2)
                            .u32(8 + 4 + 42 + 3)
                            .u32(5)
                            .name("FIRST.TXT")
                            .u32(8 + 4 + 42)
                            .u32(3)
                            .name("SECOND.TXT")
                            .text("two")
                            .text("first")
                            .bytes();
    GobArchive read;
    ASSERT_TRUE(Succeeded(ReadGob(bytes, "odd.gob", read)));
    ASSERT_EQ(read.m_pMembers.size(), 2u);
    EXPECT_EQ(TextOf(*read.m_pMembers[0]), "first");
    EXPECT_EQ(TextOf(*read.m_pMembers[1]), "two");
}

TEST(GobArchive, NameFieldsAsFoundInTheField) {
    const Bytes bytes = RawBytes()
                            .text("GOB\n")
                            .u32(8 + 6)
                            .text("abcdef")
                            .u32(4)
                            // Old tools left bytes of a longer name behind the NUL.
                            .u32(8)
                            .u32(2)
                            .name(std::string_view("wall.bm\0OLDER", 13))
                            .u32(10)
                            .u32(2)
                            .name("Dup.voc")
                            .u32(12)
                            .u32(2)
                            .name("DUP.VOC")
                            // Thirteen characters fill the field without a NUL.
                            .u32(8)
                            .u32(0)
                            .name("ABCDEFGHI.WAX")
                            .bytes();
    GobArchive read;
    ASSERT_TRUE(Succeeded(ReadGob(bytes, "names.gob", read)));
    ASSERT_EQ(read.m_pMembers.size(), 4u);
    EXPECT_EQ(read.m_pMembers[0]->m_strName, "WALL.BM");
    // The same name twice: both stay, in archive order.
    EXPECT_EQ(read.m_pMembers[1]->m_strName, "DUP.VOC");
    EXPECT_EQ(TextOf(*read.m_pMembers[1]), "cd");
    EXPECT_EQ(read.m_pMembers[2]->m_strName, "DUP.VOC");
    EXPECT_EQ(TextOf(*read.m_pMembers[2]), "ef");
    EXPECT_EQ(read.m_pMembers[3]->m_strName, "ABCDEFGHI.WAX");

    // Written back, the names are clean and the thirteen-character one is kept whole.
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(read, written)));
    const std::size_t index = read.m_nIndexOffset + 4;
    EXPECT_EQ(Bytes(written.begin() + index + 8, written.begin() + index + 21),
              RawBytes().name("WALL.BM").bytes());
    EXPECT_EQ(Bytes(written.begin() + index + 3 * 21 + 8, written.begin() + index + 4 * 21),
              RawBytes().name("ABCDEFGHI.WAX").bytes());
}

TEST(GobArchive, MemberNamesMustFitTheField) {
    GobArchive archive;
    EXPECT_TRUE(Succeeded(archive.AddMember("ABCDEFGH.WAX", AsBytes("x"))));
    EXPECT_EQ(archive.m_pMembers.back()->m_strName, "ABCDEFGH.WAX");
    const Status tooLong = archive.AddMember("ABCDEFGHI.WAX", AsBytes("x"));
    EXPECT_FALSE(tooLong);
    EXPECT_NE(tooLong.message().find("ABCDEFGHI.WAX"), std::string::npos);
    EXPECT_FALSE(archive.AddMember("", AsBytes("x")));
    EXPECT_EQ(archive.m_pMembers.size(), 1u);

    // A name changed behind the archive's back is refused before anything is written.
    archive.m_pMembers[0]->m_strName = "FOURTEEN.CHARS";
    Bytes written;
    EXPECT_FALSE(WriteGob(archive, written));
    EXPECT_TRUE(written.empty());
}

TEST(GobArchive, FindsAndRemovesMembersIgnoringCase) {
    GobArchive archive = TwoMembers();
    ASSERT_NE(archive.FindMember("b.DAT"), nullptr);
    EXPECT_EQ(TextOf(*archive.FindMember("b.DAT")), "abcdefghijklmnopqrst");
    EXPECT_TRUE(archive.RemoveMember("a.dat"));
    EXPECT_FALSE(archive.RemoveMember("a.dat"));
    ASSERT_EQ(archive.m_pMembers.size(), 1u);
    EXPECT_EQ(archive.m_pMembers[0]->m_strName, "B.DAT");
}

struct BadArchive {
    const char* m_pszWhat;
    Bytes m_Bytes;
    const char* m_pszMessage;
};

std::vector<BadArchive> BadArchives() {
    return {
        {"truncated header", RawBytes().text("GOB\n").fill(1, 0).bytes(), "too short"},
        {"directory beyond the end", RawBytes().text("GOB\n").u32(1000).fill(20, 0).bytes(),
         "directory at offset 1000 lies beyond the end"},
        {"absurd member count", RawBytes().text("GOB\n").u32(8).u32(0xFFFFFFFF).fill(21, 0).bytes(),
         "lists 4294967295 members"},
        {"truncated directory", RawBytes().text("GOB\n").u32(8).u32(2).u32(0).u32(0).name("A").bytes(),
         "lists 2 members"},
        {"member beyond the end",
         RawBytes().text("GOB\n").u32(10).text("xy").u32(1).u32(8).u32(1000).name("BIG.BM").bytes(),
         "member BIG.BM (entry 1) lies beyond the end"},
        {"offset near 4 GB",
         RawBytes().text("GOB\n").u32(8).u32(1).u32(0xFFFFFFF0).u32(0x20).name("WRAP.BM").bytes(),
         "member WRAP.BM (entry 1) lies beyond the end"},
        {"members claiming more than the file",
         [] {
             RawBytes raw;
             raw.text("GOB\n").u32(8).u32(5);
             for (int i = 0; i < 5; ++i)
                 raw.u32(0).u32(28).name("SAME.BM");
             return raw.bytes();
         }(),
         "more than the 117 bytes"},
    };
}

TEST(GobArchive, BadArchivesAreRefusedAndNothingIsLoaded) {
    for (const BadArchive& bad : BadArchives()) {
        SCOPED_TRACE(bad.m_pszWhat);
        GobArchive archive = TwoMembers();
        const Status read = ReadGob(bad.m_Bytes, "bad.gob", archive);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.message().rfind("bad.gob: ", 0), 0u) << read.message();
        EXPECT_NE(read.message().find(bad.m_pszMessage), std::string::npos) << read.message();
        ASSERT_EQ(archive.m_pMembers.size(), 2u);
        EXPECT_EQ(TextOf(*archive.m_pMembers[1]), "abcdefghijklmnopqrst");
    }
}

TEST(GobArchive, EveryTruncatedArchiveIsRefused) {
    GobArchive archive = TwoMembers();
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(archive, written)));
    for (std::size_t length = 0; length < written.size(); ++length) {
        GobArchive read;
        const Status status = ReadGob(std::span(written).first(length), "cut.gob", read);
        EXPECT_FALSE(status) << "length " << length;
        EXPECT_TRUE(read.m_pMembers.empty());
    }
}

TEST(GobArchive, FilesReadAndWriteTheSameBytes) {
    TempDir dir;
    const std::filesystem::path path = dir.path() / "two.gob";
    GobArchive archive = TwoMembers();
    ASSERT_TRUE(Succeeded(WriteGobFile(archive, path)));
    Bytes inMemory;
    ASSERT_TRUE(Succeeded(WriteGob(archive, inMemory)));
    EXPECT_EQ(ReadFileBytes(path), inMemory);

    GobArchive read;
    ASSERT_TRUE(Succeeded(ReadGobFile(path, read)));
    ASSERT_EQ(read.m_pMembers.size(), 2u);
    EXPECT_EQ(TextOf(*read.m_pMembers[0]), "0123456789");
    EXPECT_EQ(TextOf(*read.m_pMembers[1]), "abcdefghijklmnopqrst");

    // A damaged file names itself in the message.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "GOB\n";
    const Status damaged = ReadGobFile(path, read);
    EXPECT_FALSE(damaged);
    EXPECT_NE(damaged.message().find(path.string()), std::string::npos);
    EXPECT_EQ(read.m_pMembers.size(), 2u);

    const Status missing = ReadGobFile(dir.path() / "missing.gob", read);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message().find("missing.gob"), std::string::npos);
}

TEST(GobArchive, FileReaderFollowsOffsetsBackwards) {
    TempDir dir;
    const Bytes bytes = RawBytes()
                            .text("GOB\n")
                            .u32(21)
                            .text("firstsecond")
                            .fill(2, 0)
                            .u32(2)
                            .u32(13)
                            .u32(6)
                            .name("B.TXT")
                            .u32(8)
                            .u32(5)
                            .name("A.TXT")
                            .bytes();
    std::ofstream(dir.path() / "back.gob", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    GobArchive read;
    ASSERT_TRUE(Succeeded(ReadGobFile(dir.path() / "back.gob", read)));
    ASSERT_EQ(read.m_pMembers.size(), 2u);
    EXPECT_EQ(TextOf(*read.m_pMembers[0]), "second");
    EXPECT_EQ(TextOf(*read.m_pMembers[1]), "first");
}

} // namespace
} // namespace morvi
