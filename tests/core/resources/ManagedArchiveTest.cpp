#include "resources/ManagedArchive.h"

#include "gamefiles/GobArchive.h"
#include "resources/LfdArchive.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Succeeded;

Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes GobOf(const std::vector<std::pair<std::string, Bytes>>& members) {
    GobArchive archive;
    for (const auto& [name, data] : members)
        EXPECT_TRUE(Succeeded(archive.AddMember(name, data)));
    Bytes out;
    EXPECT_TRUE(Succeeded(WriteGob(archive, out)));
    return out;
}

std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> Rows(const ManagedArchive& archive) {
    std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> rows;
    for (const ManagedMember& m : archive.members())
        rows.emplace_back(m.m_strName, m.m_nOffset, m.m_nSize);
    return rows;
}

// Offsets follow the writer's layout after every add and delete; the saved file is the GOB writer's
// bytes for the same members, whether the members came from the opened file or were added.
TEST(ManagedArchive, GobOffsetsAndSavedBytes) {
    testing::TempDir dir;
    auto gob = ManagedArchive::Make(ArchiveKind::Gob);
    TaskProgress progress;
    ASSERT_TRUE(Succeeded(gob->Save(dir.path() / "empty.gob", progress)));
    EXPECT_EQ(ReadAll(dir.path() / "empty.gob"), GobOf({}));
    EXPECT_EQ(ReadAll(dir.path() / "empty.gob").size(), 12u);

    ASSERT_TRUE(Succeeded(gob->AddFile("/some/where/a", Bytes(10, 'a'))));
    ASSERT_TRUE(Succeeded(gob->AddFile("b.voc", Bytes(5, 'b'))));
    EXPECT_TRUE(gob->modified());
    using Row = std::tuple<std::string, std::uint32_t, std::uint32_t>;
    EXPECT_EQ(Rows(*gob), (std::vector<Row>{{"A", 8, 10}, {"B.VOC", 18, 5}}));
    ASSERT_TRUE(Succeeded(gob->Save(dir.path() / "two.gob", progress)));
    EXPECT_FALSE(gob->modified());
    const Bytes two = ReadAll(dir.path() / "two.gob");
    EXPECT_EQ(two, GobOf({{"A", Bytes(10, 'a')}, {"B.VOC", Bytes(5, 'b')}}));
    EXPECT_EQ(two[4], 23); // the directory after both blocks

    EXPECT_FALSE(gob->AddFile("THIRTEEN.CHAR", Bytes(1)));
    const std::size_t first = 0;
    gob->Delete(std::span(&first, 1));
    EXPECT_EQ(Rows(*gob), (std::vector<Row>{{"B.VOC", 8, 5}}));

    // Opened from a file: members are read from it when asked and when saved, also over itself.
    const std::filesystem::path big = dir.path() / "big.gob";
    WriteAll(big, GobOf({{"SECBASE.O", Bytes(3000000, 'o')}, {"MAP.BMX", Bytes(7, 'm')}, {"X.VUE", {1}}}));
    ASSERT_TRUE(Succeeded(gob->Open(big, progress)));
    EXPECT_FALSE(gob->modified());
    Bytes member;
    ASSERT_TRUE(Succeeded(gob->ReadMember(1, member)));
    EXPECT_EQ(member, Bytes(7, 'm'));
    EXPECT_EQ(gob->SaveAsType(0).m_Extension, "o");
    EXPECT_EQ(gob->SaveAsType(1).m_Extension, "bm");
    EXPECT_EQ(gob->PreviewExtension(1), ".bm");
    EXPECT_EQ(gob->PreviewExtension(2), "");
    ASSERT_TRUE(Succeeded(gob->AddFile("new.pal", Bytes(768, 2))));
    const std::size_t vue = 2;
    gob->Delete(std::span(&vue, 1));
    ASSERT_TRUE(Succeeded(gob->Save(big, progress)));
    const Bytes expected =
        GobOf({{"SECBASE.O", Bytes(3000000, 'o')}, {"MAP.BMX", Bytes(7, 'm')}, {"NEW.PAL", Bytes(768, 2)}});
    EXPECT_EQ(ReadAll(big), expected);
    EXPECT_EQ(progress.m_nTotal.load(), 3000000u + 7 + 768);
    ASSERT_TRUE(Succeeded(gob->ReadMember(2, member)));
    EXPECT_EQ(member, Bytes(768, 2));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"big.gob", "empty.gob", "two.gob"}));
}

// A cancelled save leaves the old file and the archive as they were; a damaged file is refused
// with its name and the members stay.
TEST(ManagedArchive, CancelAndDamagedFilesChangeNothing) {
    testing::TempDir dir;
    const std::filesystem::path path = dir.path() / "x.gob";
    const Bytes original = GobOf({{"A.BM", Bytes(2000000, 1)}});
    WriteAll(path, original);
    auto gob = ManagedArchive::Make(ArchiveKind::Gob);
    TaskProgress progress;
    ASSERT_TRUE(Succeeded(gob->Open(path, progress)));
    ASSERT_TRUE(Succeeded(gob->AddFile("b.bm", Bytes(4, 4))));
    progress.m_bCancel = true;
    const Status cancelled = gob->Save(path, progress);
    EXPECT_EQ(cancelled.message(), kWorkCancelled);
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_TRUE(gob->modified());
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"x.gob"}));

    WriteAll(dir.path() / "bad.gob", {'G', 'O', 'B', '\n', 0xff, 0xff, 0, 0});
    WriteAll(dir.path() / "bad.lfd", {'R', 'M', 'A', 'P', 0});
    for (ArchiveKind kind : {ArchiveKind::Gob, ArchiveKind::Lfd}) {
        auto archive = ManagedArchive::Make(kind);
        ASSERT_TRUE(Succeeded(archive->AddFile("keep.anm", Bytes(3))));
        const Status refused =
            archive->Open(dir.path() / (kind == ArchiveKind::Gob ? "bad.gob" : "bad.lfd"), progress);
        EXPECT_FALSE(refused);
        EXPECT_NE(refused.message().find("bad."), std::string::npos) << refused.message();
        EXPECT_EQ(archive->members().size(), 1u);
    }
}

// An LFD opened, added to from a file and another LFD, a member deleted and saved gives the LFD
// writer's bytes; the suggested file name carries the type's extension.
TEST(ManagedArchive, LfdEditsSaveAsTheWriterWrites) {
    testing::TempDir dir;
    LfdArchive source;
    ASSERT_TRUE(Succeeded(source.AddMember("ANIM", "intro", {1, 2, 3})));
    ASSERT_TRUE(Succeeded(source.AddMember("DELT", "pic", {9})));
    WriteAll(dir.path() / "a.lfd", source.Write());
    LfdArchive other;
    ASSERT_TRUE(Succeeded(other.AddMember("VOIC", "hello", {7, 7})));

    auto lfd = ManagedArchive::Make(ArchiveKind::Lfd);
    TaskProgress progress;
    ASSERT_TRUE(Succeeded(lfd->Open(dir.path() / "a.lfd", progress)));
    ASSERT_TRUE(Succeeded(lfd->AddFile("/x/Other.LFD", other.Write())));
    ASSERT_TRUE(Succeeded(lfd->AddFile("pal.plt", {0, 0, 1, 2, 3})));
    EXPECT_FALSE(lfd->AddFile("Intro.Film.anm", {1}));
    const std::size_t first = 0;
    lfd->Delete(std::span(&first, 1));
    ASSERT_EQ(lfd->members().size(), 3u);
    EXPECT_EQ(lfd->members()[1].m_nOffset, 16u + 48 + 16 + 1 + 16);
    EXPECT_EQ(lfd->SuggestedFileName(1), "hello.voc");
    EXPECT_EQ(lfd->PreviewExtension(2), ".plt");
    ASSERT_TRUE(Succeeded(lfd->Save(dir.path() / "b.lfd", progress)));

    LfdArchive expected;
    ASSERT_TRUE(Succeeded(expected.AddMember("DELT", "pic", {9})));
    ASSERT_TRUE(Succeeded(expected.AddMember("VOIC", "hello", {7, 7})));
    ASSERT_TRUE(Succeeded(expected.AddMember("PLTT", "pal", {0, 0, 1, 2, 3})));
    EXPECT_EQ(ReadAll(dir.path() / "b.lfd"), expected.Write());
}

// The list's rows: filtered by name in any case, sorted by a column with ties in member order.
TEST(ManagedArchive, RowsFilterAndSort) {
    const std::vector<ManagedMember> members{{"DELT", "b_pic", 64, 9},
                                             {"ANIM", "Apic", 89, 3},
                                             {"delt", "zz", 108, 9},
                                             {"PLTT", "pal", 133, 700},
                                             {"ANIM", "intro", 849, 0}};
    struct Case {
        const char* filter;
        std::optional<MemberColumn> column;
        bool descending;
        std::vector<std::size_t> rows;
    };
    for (const Case& c : std::initializer_list<Case>{{"", std::nullopt, false, {0, 1, 2, 3, 4}},
                                                     {"PIC", std::nullopt, false, {0, 1}},
                                                     {"", MemberColumn::Name, false, {1, 0, 4, 3, 2}},
                                                     {"", MemberColumn::Type, false, {1, 4, 0, 2, 3}},
                                                     {"", MemberColumn::Size, true, {3, 0, 2, 1, 4}},
                                                     {"p", MemberColumn::Offset, true, {3, 1, 0}},
                                                     {"nothing", MemberColumn::Name, false, {}}})
        EXPECT_EQ(MemberRows(members, c.filter, c.column, c.descending), c.rows) << c.filter;
}

} // namespace
} // namespace morvi
