#include "resources/SpriteEditor.h"

#include "PictureHelpers.h"
#include "resources/BmFile.h"
#include "support/SpriteWriter.h"
#include "support/TempDir.h"

#include <fstream>

namespace morvi {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// One line per node: depth, label, state, view slot, frame slot, picture.
std::vector<std::string> Lines(const SpriteTreeNode& node, int depth = 0) {
    std::vector<std::string> lines{std::string(static_cast<std::size_t>(depth), ' ') + node.m_strLabel + " " +
                                   std::to_string(node.m_nState) + "/" + std::to_string(node.m_nViewSlot) +
                                   "/" + std::to_string(node.m_nFrameSlot) + "/" +
                                   std::to_string(node.m_nPicture)};
    for (const SpriteTreeNode& child : node.m_Children)
        for (std::string& line : Lines(child, depth + 1))
            lines.push_back(std::move(line));
    return lines;
}

void Touch(const fs::path& path, std::string_view text = "x") {
    std::ofstream(path, std::ios::binary) << text;
}

// Sequences are numbered as the walk meets them and shown under every scene that lists them,
// each with the first slot showing it (what Play animates); frames name their cell.
TEST(SpriteEditorTree, WaxListsScenesSequencesAndFramesAsWalked) {
    WaxEncoder writer;
    const int a = writer.AddCell(Numbered(2, 3, 10), false), b = writer.AddCell(Numbered(3, 2, 40), false);
    const int f0 = writer.AddFrame(b, false), f1 = writer.AddFrame(a, true);
    const int v0 = writer.AddView({f0, f1}), v1 = writer.AddView({f1});
    std::vector<int> views(5, v1);
    views.insert(views.end(), 27, v0);
    writer.AddState(64, 64, 8, views);
    writer.AddState(64, 64, 8, {v0});
    SpriteTreeNode tree;
    ASSERT_TRUE(Succeeded(BuildSpriteTree(WaxBytes(writer), "/x/ACTOR.WAX", tree)));
    EXPECT_EQ(Lines(tree), (std::vector<std::string>{
                               "ACTOR.WAX -1/-1/-1/-1",
                               " Scene 1 0/-1/-1/-1",
                               "  Sequence 1 0/0/-1/-1",
                               "   Frame 1 - Cell 1 0/0/0/0",
                               "  Sequence 2 0/5/-1/-1",
                               "   Frame 2 - Cell 2 0/5/0/1",
                               "   Frame 1 - Cell 1 0/5/1/0",
                               " Scene 2 1/-1/-1/-1",
                               "  Sequence 2 1/0/-1/-1",
                               "   Frame 2 - Cell 2 1/0/0/1",
                               "   Frame 1 - Cell 1 1/0/1/0",
                           }));
}

TEST(SpriteEditorTree, OtherFilesListTheirPicturesAndBadOnesAreRefused) {
    const std::vector<IndexedImage> pictures{Numbered(4, 4, 1), Numbered(2, 8, 3)};
    Bytes multi, single;
    ASSERT_TRUE(Succeeded(EncodeMultiBm(pictures, 0, multi)));
    ASSERT_TRUE(Succeeded(EncodeBm(pictures[0], kBmPlain, single)));
    const std::vector<std::tuple<Bytes, std::string, std::vector<std::string>>> cases{
        {multi, "WALL.BM", {"WALL.BM -1/-1/-1/-1", " texture 01 -1/-1/-1/0", " texture 02 -1/-1/-1/1"}},
        {single, "one.bm", {"one.bm -1/-1/-1/-1", " texture 01 -1/-1/-1/0"}},
        {EncodeFme(pictures[1], 0, 0, false, false), "A.FME", {"A.FME -1/-1/-1/-1", " frame -1/-1/-1/0"}},
    };
    for (const auto& [bytes, name, lines] : cases) {
        SpriteTreeNode tree;
        ASSERT_TRUE(Succeeded(BuildSpriteTree(bytes, name, tree))) << name;
        EXPECT_EQ(Lines(tree), lines);
    }
    SpriteTreeNode kept;
    kept.m_strLabel = "kept";
    for (const auto& [bytes, name] : std::vector<std::pair<Bytes, std::string>>{
             {Bytes(10, 0), "SHORT.WAX"}, {single, "ONE.PAL"}, {Bytes(3, 1), "BAD.BM"}}) {
        const Status status = BuildSpriteTree(bytes, name, kept);
        EXPECT_FALSE(status.ok()) << name;
        EXPECT_NE(status.message().find(name), std::string::npos) << status.message();
    }
    EXPECT_EQ(kept.m_strLabel, "kept");
}

// Import orders by name whatever the case, so that cell0010 follows cell0009; Export replaces only
// its own files, into the folder named by the chosen name up to its first dot.
TEST(SpriteEditorFiles, ImportSortsBmpsAndExportKnowsItsOwnFiles) {
    TempDir folder;
    for (const char* name : {"cell0010.bmp", "Cell0002.BMP", "cell0009.bmp", "notes.txt", "schema.map",
                             "a.bmp", "bm000001.png", "x.png"})
        Touch(folder.path() / name);
    fs::create_directory(folder.path() / "sub.bmp");
    std::vector<fs::path> files;
    ASSERT_TRUE(Succeeded(ListPictureFiles(folder.path(), files)));
    std::vector<std::string> names;
    for (const fs::path& file : files)
        names.push_back(file.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"a.bmp", "Cell0002.BMP", "cell0009.bmp", "cell0010.bmp"}));
    EXPECT_EQ(ImportTree(folder.path(), files).m_Children[1].m_Path, folder.path() / "Cell0002.BMP");
    EXPECT_EQ(ExportFilesIn(folder.path()),
              (std::vector<std::string>{"Cell0002.BMP", "bm000001.png", "cell0009.bmp", "cell0010.bmp",
                                        "schema.map"}));
    ASSERT_TRUE(Succeeded(ListPictureFiles(folder.path(), files, ".png")));
    EXPECT_EQ(files, (std::vector<fs::path>{folder.path() / "bm000001.png", folder.path() / "x.png"}));
    EXPECT_TRUE(ExportFilesIn(folder.path() / "missing").empty());
    EXPECT_FALSE(ListPictureFiles(folder.path() / "missing", files).ok());
    for (const auto& [chosen, expected] : std::vector<std::pair<fs::path, fs::path>>{
             {"/x.y/walk.bmp", "/x.y/walk"}, {"/x/walk.old.bmp", "/x/walk"}, {"/x/walk", "/x/walk"}})
        EXPECT_EQ(ExportFolderFor(chosen), expected);
}

// A BMP that cannot be read stops the build with its name: leaving it out would shift the cells.
TEST(SpriteEditorFiles, SavingStopsAtTheFirstBadPictureAndWritesNothing) {
    TempDir folder;
    const IndexedImage picture = Numbered(4, 4, 1, true);
    Bytes bmp;
    ASSERT_TRUE(Succeeded(picture.WriteBmp(bmp)));
    Touch(folder.path() / "cell0000.bmp",
          std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()));
    Touch(folder.path() / "cell0001.bmp", "not a picture");
    const std::vector<fs::path> files{folder.path() / "cell0000.bmp", folder.path() / "cell0001.bmp",
                                      folder.path() / "gone.bmp"};
    for (std::size_t count : {2u, 3u}) {
        TaskProgress progress;
        const Status saved = SaveSpriteFile(folder.path() / "out.bm", std::span(files).first(count),
                                            GamePalette(), nullptr, progress);
        EXPECT_NE(saved.message().find("cell0001.bmp"), std::string::npos) << saved.message();
    }
    EXPECT_FALSE(fs::exists(folder.path() / "out.bm"));
    TaskProgress progress;
    ASSERT_TRUE(Succeeded(SaveSpriteFile(folder.path() / "out.bm", std::span(files).first(1), GamePalette(),
                                         nullptr, progress)));
    EXPECT_EQ(progress.m_nDone, 1u);
    Bytes expected;
    ASSERT_TRUE(Succeeded(EncodeBm(picture, kBmPlain, expected)));
    std::ifstream written(folder.path() / "out.bm", std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(written), {}), expected);
}

} // namespace
} // namespace morvi
