#include "gamefiles/DocumentFile.h"
#include "model/ByteStream.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

::testing::AssertionResult Succeeded(const Status& status) {
    if (status) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << status.message();
}

std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

using testing::TempDir;

Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A document whose every header field differs from the defaults, with two members.
void Fill(CMorviDoc& doc) {
    doc.m_nZoom = 3;
    doc.m_nGridLevel = 2;
    doc.m_bGridOn = 0;
    doc.m_nCurrentLayer = 1;
    doc.m_bAllLayers = 1;
    doc.m_dScrollX = 12.5;
    doc.m_dScrollZ = -3.25;
    doc.m_nMode = 2;
    EXPECT_TRUE(Succeeded(doc.level().AddMember("IF3.BM", AsBytes("0123456789"))));
    EXPECT_TRUE(Succeeded(doc.level().AddMember("JEDI.LVL", AsBytes("LEVELS 1"))));
}

void ExpectSameHeader(const CMorviDoc& a, const CMorviDoc& b) {
    EXPECT_TRUE(static_cast<const DocumentMapState&>(a) == static_cast<const DocumentMapState&>(b));
}

// The header fields after the version, as a reader expects them.
void AppendFields(ByteWriter& out, const std::array<std::uint32_t, 7>* further) {
    for (std::int32_t v : {3, 2, 0, 1, 1})
        out.i32(v);
    out.f64(12.5);
    out.f64(-3.25);
    out.i32(2);
    if (further)
        for (std::uint32_t word : *further)
            out.u32(word);
}

Bytes ArchiveOfFilledDocument() {
    CMorviDoc doc;
    Fill(doc);
    Bytes archive;
    EXPECT_TRUE(Succeeded(WriteLevelBytes(doc.level(), archive)));
    return archive;
}

constexpr std::size_t kHeaderSize = 2 + 4 + 5 * 4 + 2 * 8 + 4 + 7 * 4;

TEST(DocumentFile, HeaderBytes) {
    CMorviDoc doc;
    Fill(doc);
    Bytes bytes;
    ASSERT_TRUE(Succeeded(WriteDocumentBytes(doc, bytes)));
    const Bytes expected = {0x04, 0x00, '1',  '.',  '1',  '0',              // version
                            0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // zoom, grid level
                            0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // grid on, layer
                            0x01, 0x00, 0x00, 0x00,                         // all layers
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x29, 0x40, // scroll X 12.5
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0xC0, // scroll Z -3.25
                            0x02, 0x00, 0x00, 0x00,                         // mode
                            0x00, 0x00, 0xF0, 0x41, 0x00, 0x00, 0x70, 0x42, // 30.0f, 60.0f
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA0, 0xC0, // 0, -5.0f
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 'G',  'O',  'B',  '\n'};
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_EQ(Bytes(bytes.begin() + kHeaderSize, bytes.end()), ArchiveOfFilledDocument());
}

TEST(DocumentFile, ReadsWhatItWrote) {
    CMorviDoc doc;
    Fill(doc);
    doc.m_FurtherSettings = {1, 2, 3, 4, 5, 6, 7};
    Bytes bytes;
    ASSERT_TRUE(Succeeded(WriteDocumentBytes(doc, bytes)));

    CMorviDoc read;
    ASSERT_TRUE(Succeeded(ReadDocumentBytes(read, bytes, "level.mrv", {})));
    ExpectSameHeader(read, doc);
    EXPECT_FALSE(read.m_bNormalizeOnOpen);
    EXPECT_EQ(read.level().m_strGeneratorTitle, kGeneratorTitle);
    ASSERT_EQ(read.level().m_pMembers.size(), 2u);
    EXPECT_EQ(read.level().m_pMembers[1]->text(), "LEVELS 1");
    EXPECT_EQ(read.level().m_Bitmaps.size(), 1u);
}

TEST(DocumentFile, LongerVersionFieldEndsAtItsNul) {
    Bytes bytes;
    ByteWriter out(bytes);
    out.u16(8);
    out.chars(std::string_view("1.10\0abc", 8));
    const std::array<std::uint32_t, 7> further = {7, 6, 5, 4, 3, 2, 1};
    AppendFields(out, &further);
    out.bytes(ArchiveOfFilledDocument());

    CMorviDoc doc;
    ASSERT_TRUE(Succeeded(ReadDocumentBytes(doc, bytes, "long.mrv", {})));
    CMorviDoc expected;
    Fill(expected);
    expected.m_FurtherSettings = further;
    ExpectSameHeader(doc, expected);
    EXPECT_EQ(doc.level().m_pMembers.size(), 2u);
}

TEST(DocumentFile, OtherVersionsHaveNoFurtherSettings) {
    Bytes bytes;
    ByteWriter out(bytes);
    out.u16(4);
    out.chars("1.00");
    AppendFields(out, nullptr);
    out.bytes(ArchiveOfFilledDocument());

    CMorviDoc doc;
    doc.m_FurtherSettings = {9, 9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(Succeeded(ReadDocumentBytes(doc, bytes, "old.mrv", {})));
    CMorviDoc expected;
    Fill(expected);
    ExpectSameHeader(doc, expected);
    EXPECT_EQ(doc.m_FurtherSettings, CMorviDoc::DefaultFurtherSettings());
    ASSERT_EQ(doc.level().m_pMembers.size(), 2u);
    EXPECT_EQ(doc.level().m_pMembers[0]->text(), "0123456789");
}

TEST(DocumentFile, EmbeddedArchiveCutOutIsAGob) {
    TempDir dir;
    CMorviDoc doc;
    Fill(doc);
    ASSERT_TRUE(Succeeded(SaveDocument(doc, dir.path() / "level.mrv")));
    const Bytes file = ReadFileBytes(dir.path() / "level.mrv");
    ASSERT_GT(file.size(), kHeaderSize);
    WriteFileBytes(dir.path() / "cut.gob", Bytes(file.begin() + kHeaderSize, file.end()));

    CMorviDoc cut;
    ASSERT_TRUE(Succeeded(LoadDocument(cut, dir.path() / "cut.gob", {})));
    EXPECT_TRUE(cut.m_bNormalizeOnOpen);
    ASSERT_EQ(cut.level().m_pMembers.size(), 2u);
    EXPECT_EQ(cut.level().m_pMembers[0]->m_strName, "IF3.BM");
    EXPECT_EQ(cut.level().m_pMembers[0]->text(), "0123456789");
    EXPECT_EQ(cut.level().m_pMembers[1]->m_nOffset, 18u);

    CMorviDoc whole;
    ASSERT_TRUE(Succeeded(LoadDocument(whole, dir.path() / "level.mrv", {})));
    EXPECT_FALSE(whole.m_bNormalizeOnOpen);
    ExpectSameHeader(whole, doc);
}

TEST(DocumentFile, EncodingFollowsTheFileName) {
    EXPECT_EQ(EncodingOfPath("maps/Level.MRV"), DocumentEncoding::DocumentFile);
    EXPECT_EQ(EncodingOfPath("level.mrv.gob"), DocumentEncoding::DocumentFile);
    EXPECT_EQ(EncodingOfPath("SECBASE.GOB"), DocumentEncoding::Gob);
    EXPECT_EQ(EncodingOfPath("maps.mrv/secbase.gob"), DocumentEncoding::Gob);
    EXPECT_EQ(EncodingOfPath("secbase.lev"), DocumentEncoding::Unknown);

    TempDir dir;
    CMorviDoc doc;
    Fill(doc);
    const Status saved = SaveDocument(doc, dir.path() / "level.txt");
    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.message(), "Unexpected file format.");
    EXPECT_TRUE(dir.Entries().empty());

    ASSERT_TRUE(Succeeded(SaveDocument(doc, dir.path() / "level.gob")));
    std::filesystem::copy_file(dir.path() / "level.gob", dir.path() / "level.txt");
    CMorviDoc other;
    const Status loaded = LoadDocument(other, dir.path() / "level.txt", {});
    EXPECT_FALSE(loaded);
    EXPECT_EQ(loaded.message(), "Unexpected file format.");
    EXPECT_TRUE(other.level().m_pMembers.empty());
    EXPECT_FALSE(ReadDocumentBytes(other, ReadFileBytes(dir.path() / "level.gob"), "level.dat", {}));
    EXPECT_TRUE(other.level().m_pMembers.empty());
}

TEST(DocumentFile, FailedLoadLeavesTheDocumentAlone) {
    Bytes good;
    {
        CMorviDoc doc;
        Fill(doc);
        ASSERT_TRUE(Succeeded(WriteDocumentBytes(doc, good)));
    }
    Bytes damagedArchive = good;
    damagedArchive[kHeaderSize + 4] = 0xFF; // index offset far beyond the end
    Bytes longVersion = good;
    longVersion[0] = 0xFF; // the version field swallows the whole file

    struct Case {
        const char* m_pszWhat;
        Bytes m_Bytes;
        const char* m_pszMessage;
    };
    const Case cases[] = {
        {"empty file", {}, "cut short"},
        {"cut in the version", Bytes(good.begin(), good.begin() + 4), "cut short"},
        {"cut in the further settings", Bytes(good.begin(), good.begin() + 60), "cut short"},
        {"no archive", Bytes(good.begin(), good.begin() + kHeaderSize), "too short"},
        {"damaged archive", damagedArchive, "beyond the end"},
        {"version longer than the file", longVersion, "cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszWhat);
        CMorviDoc doc;
        doc.m_nZoom = 77;
        ASSERT_TRUE(Succeeded(doc.level().AddMember("KEEP.TXT", AsBytes("kept"))));
        const Status status = ReadDocumentBytes(doc, c.m_Bytes, "bad.mrv", {});
        ASSERT_FALSE(status);
        EXPECT_EQ(status.message().rfind("bad.mrv: ", 0), 0u) << status.message();
        EXPECT_NE(status.message().find(c.m_pszMessage), std::string::npos) << status.message();
        EXPECT_EQ(doc.m_nZoom, 77);
        EXPECT_EQ(doc.m_FurtherSettings, CMorviDoc::DefaultFurtherSettings());
        ASSERT_EQ(doc.level().m_pMembers.size(), 1u);
        EXPECT_EQ(doc.level().m_pMembers[0]->m_strName, "KEEP.TXT");
    }
}

TEST(DocumentFile, SaveReplacesTheOldFileOnlyWhenComplete) {
    TempDir dir;
    const std::filesystem::path path = dir.path() / "level.mrv";
    const Bytes old = {'o', 'l', 'd'};
    WriteFileBytes(path, old);

    CMorviDoc doc;
    Fill(doc);
    // A name too long for the directory makes the archive writer give up half-way.
    doc.level().m_pMembers[1]->m_strName = "FOURTEEN.CHARS";
    const Status failed = SaveDocument(doc, path);
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.message().find("FOURTEEN.CHARS"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"level.mrv"});

    doc.level().m_pMembers[1]->m_strName = "JEDI.LVL";
    ASSERT_TRUE(Succeeded(SaveDocument(doc, path)));
    Bytes expected;
    ASSERT_TRUE(Succeeded(WriteDocumentBytes(doc, expected)));
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"level.mrv"});
}

TEST(DocumentFile, SaveToAPlaceThatCannotHoldTheFileFails) {
    TempDir dir;
    CMorviDoc doc;
    Fill(doc);

    // The target is a folder: the finished temporary file cannot replace it.
    std::filesystem::create_directory(dir.path() / "folder.mrv");
    std::filesystem::create_directory(dir.path() / "folder.mrv" / "inside");
    const Status onFolder = SaveDocument(doc, dir.path() / "folder.mrv");
    EXPECT_FALSE(onFolder);
    EXPECT_NE(onFolder.message().find((dir.path() / "folder.mrv").string()), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.mrv" / "inside"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.mrv"});

    // The folder does not exist: no temporary file can be made.
    const std::filesystem::path nowhere = dir.path() / "missing" / "level.gob";
    const Status inMissingFolder = SaveDocument(doc, nowhere);
    EXPECT_FALSE(inMissingFolder);
    EXPECT_NE(inMissingFolder.message().find(nowhere.string()), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST(DocumentFile, AtomicFileKeepsTheOldFileWhenTheWriterGivesUp) {
    TempDir dir;
    const std::filesystem::path path = dir.path() / "data.bin";
    WriteFileBytes(path, {'o', 'l', 'd'});
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const Status failed = WriteFileAtomically(path, [](ByteSink& sink) {
        sink.Write("new bytes that never arrive");
        return Status::Fail("stopped");
    });
    EXPECT_EQ(failed.message(), "stopped");
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"data.bin"});

    ASSERT_TRUE(Succeeded(WriteFileAtomically(path, [](ByteSink& sink) {
        sink.Write("new");
        return Status::Ok();
    })));
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"data.bin"});
}

} // namespace
} // namespace morvi
