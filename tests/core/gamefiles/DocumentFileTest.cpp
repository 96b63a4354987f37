#include "gamefiles/DocumentFile.h"
#include "model/ByteStream.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;
using testing::Succeeded;
using testing::TempDir;
namespace fs = std::filesystem;

std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

Bytes ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A document whose map state (zoom, grid level, grid on, layer, all layers, scroll X and Z, mode)
// differs from the defaults in every field, with two members.
void Fill(DocumentData& doc) {
    static_cast<DocumentMapState&>(doc) = {
        3, 2, 0, 1, 1, 12.5, -3.25, 2, DocumentData::DefaultFurtherSettings()};
    EXPECT_TRUE(Succeeded(doc.level().AddMember("IF3.BM", AsBytes("0123456789"))));
    EXPECT_TRUE(Succeeded(doc.level().AddMember("JEDI.LVL", AsBytes("LEVELS 1"))));
}

bool SameHeader(const DocumentData& a, const DocumentData& b) {
    return static_cast<const DocumentMapState&>(a) == static_cast<const DocumentMapState&>(b);
}

Bytes FilledDocument() {
    DocumentData doc;
    Fill(doc);
    Bytes bytes;
    EXPECT_TRUE(Succeeded(WriteDocumentBytes(doc, bytes)));
    return bytes;
}

constexpr std::size_t kHeaderSize = 2 + 4 + 5 * 4 + 2 * 8 + 4 + 7 * 4;

TEST(DocumentFile, HeaderBytes) {
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
    const Bytes bytes = FilledDocument();
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
}

// A document file saved and loaded again; the same level saved as a GOB is the archive the
// document file embeds, offsets and all. A name of neither kind is refused.
TEST(DocumentFile, SavesAndLoadsBothEncodingsChosenByTheName) {
    for (const auto& [name, encoding] : {std::pair("maps/Level.MRV", DocumentEncoding::DocumentFile),
                                         std::pair("level.mrv.gob", DocumentEncoding::DocumentFile),
                                         std::pair("SECBASE.GOB", DocumentEncoding::Gob),
                                         std::pair("maps.mrv/secbase.gob", DocumentEncoding::Gob),
                                         std::pair("secbase.lev", DocumentEncoding::Unknown)})
        EXPECT_EQ(EncodingOfPath(name), encoding) << name;

    TempDir dir;
    DocumentData doc;
    Fill(doc);
    doc.m_FurtherSettings = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(SaveDocument(doc, dir.path() / "level.txt").message(), "Unexpected file format.");
    EXPECT_TRUE(dir.Entries().empty());
    ASSERT_TRUE(Succeeded(SaveDocument(doc, dir.path() / "level.mrv")));
    ASSERT_TRUE(Succeeded(SaveDocument(doc, dir.path() / "level.gob")));
    const Bytes file = ReadFileBytes(dir.path() / "level.mrv");
    ASSERT_GT(file.size(), kHeaderSize);
    EXPECT_EQ(Bytes(file.begin() + kHeaderSize, file.end()), ReadFileBytes(dir.path() / "level.gob"));

    DocumentData whole;
    ASSERT_TRUE(Succeeded(LoadDocument(whole, dir.path() / "level.mrv", {})));
    EXPECT_TRUE(SameHeader(whole, doc));
    EXPECT_FALSE(whole.m_bNormalizeOnOpen);
    EXPECT_EQ(whole.level().m_strGeneratorTitle, kGeneratorTitle);
    ASSERT_EQ(whole.level().m_pMembers.size(), 2u);
    EXPECT_EQ(whole.level().m_pMembers[1]->text(), "LEVELS 1");

    DocumentData gob;
    ASSERT_TRUE(Succeeded(LoadDocument(gob, dir.path() / "level.gob", {})));
    EXPECT_TRUE(gob.m_bNormalizeOnOpen);
    ASSERT_EQ(gob.level().m_pMembers.size(), 2u);
    EXPECT_EQ(gob.level().m_pMembers[0]->text(), "0123456789");
}

TEST(DocumentFile, OnlyVersionOneTenHasFurtherSettings) {
    const Bytes written = FilledDocument();
    // The map state as the writer lays it out, checked byte for byte above.
    const std::span<const std::uint8_t> mapState = std::span(written).subspan(6, 40);
    const std::array<std::uint32_t, 7> further = {7, 6, 5, 4, 3, 2, 1};
    // A longer version field ends at its NUL.
    for (const std::string_view version : {std::string_view("1.10\0abc", 8), std::string_view("1.00")}) {
        SCOPED_TRACE(version.size());
        const bool hasFurther = version.starts_with(kDocumentVersion);
        Bytes bytes;
        ByteWriter out(bytes);
        out.u16(static_cast<std::uint16_t>(version.size()));
        out.chars(version);
        out.bytes(mapState);
        if (hasFurther)
            for (std::uint32_t word : further)
                out.u32(word);
        out.bytes(std::span(written).subspan(kHeaderSize));

        DocumentData doc;
        doc.m_FurtherSettings = {9, 9, 9, 9, 9, 9, 9};
        ASSERT_TRUE(Succeeded(ReadDocumentBytes(doc, bytes, "level.mrv", {})));
        DocumentData expected;
        Fill(expected);
        if (hasFurther) expected.m_FurtherSettings = further;
        EXPECT_TRUE(SameHeader(doc, expected));
        ASSERT_EQ(doc.level().m_pMembers.size(), 2u);
        EXPECT_EQ(doc.level().m_pMembers[0]->text(), "0123456789");
    }
}

TEST(DocumentFile, FailedLoadLeavesTheDocumentAlone) {
    const Bytes good = FilledDocument();
    Bytes damagedArchive = good;
    damagedArchive[kHeaderSize + 4] = 0xFF; // index offset far beyond the end
    Bytes longVersion = good;
    longVersion[0] = 0xFF; // the version field swallows the whole file

    const std::tuple<const char*, Bytes, const char*> cases[] = {
        {"empty file", {}, "cut short"},
        {"cut in the version", Bytes(good.begin(), good.begin() + 4), "cut short"},
        {"cut in the further settings", Bytes(good.begin(), good.begin() + 60), "cut short"},
        {"no archive", Bytes(good.begin(), good.begin() + kHeaderSize), "too short"},
        {"damaged archive", damagedArchive, "beyond the end"},
        {"version longer than the file", longVersion, "cut short"},
    };
    for (const auto& [what, bytes, message] : cases) {
        SCOPED_TRACE(what);
        DocumentData doc;
        doc.m_nZoom = 77;
        ASSERT_TRUE(Succeeded(doc.level().AddMember("KEEP.TXT", AsBytes("kept"))));
        const Status status = ReadDocumentBytes(doc, bytes, "bad.mrv", {});
        ASSERT_FALSE(status);
        EXPECT_EQ(status.message().rfind("bad.mrv: ", 0), 0u) << status.message();
        EXPECT_NE(status.message().find(message), std::string::npos) << status.message();
        EXPECT_EQ(doc.m_nZoom, 77);
        EXPECT_EQ(doc.m_FurtherSettings, DocumentData::DefaultFurtherSettings());
        ASSERT_EQ(doc.level().m_pMembers.size(), 1u);
        EXPECT_EQ(doc.level().m_pMembers[0]->m_strName, "KEEP.TXT");
    }
}

TEST(DocumentFile, SaveReplacesTheOldFileOnlyWhenComplete) {
    TempDir dir;
    const fs::path path = dir.path() / "level.mrv";
    std::ofstream(path) << "old";
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(path, perms);

    DocumentData doc;
    Fill(doc);
    // A name too long for the directory makes the archive writer give up after the header.
    doc.level().m_pMembers[1]->m_strName = "FOURTEEN.CHARS";
    EXPECT_NE(SaveDocument(doc, path).message().find("FOURTEEN.CHARS"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(dir.Entries(), Strings{"level.mrv"});

    doc.level().m_pMembers[1]->m_strName = "JEDI.LVL";
    ASSERT_TRUE(Succeeded(SaveDocument(doc, path)));
    EXPECT_EQ(ReadFileBytes(path), FilledDocument());
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, perms);
    EXPECT_EQ(dir.Entries(), Strings{"level.mrv"});

    // The target is a folder: the finished temporary file cannot replace it.
    fs::create_directories(dir.path() / "folder.mrv" / "inside");
    const fs::path folder = dir.path() / "folder.mrv";
    EXPECT_NE(SaveDocument(doc, folder).message().find(folder.string()), std::string::npos);
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_EQ(dir.Entries(), (Strings{"folder.mrv", "level.mrv"}));

    // The folder does not exist: no temporary file can be made.
    const fs::path nowhere = dir.path() / "missing" / "level.gob";
    EXPECT_NE(SaveDocument(doc, nowhere).message().find(nowhere.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(nowhere));
}

} // namespace
} // namespace morvi
