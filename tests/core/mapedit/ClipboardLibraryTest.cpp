#include "mapedit/ClipboardLibrary.h"

#include "model/ModelOps.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::BuildRoomWithPillar;
using testing::BuildTwoRooms;
using testing::CountDifferences;
using testing::FindingsText;
using Bytes = std::vector<std::uint8_t>;

// An object in `sector` at (x, z) whose LOGIC is `logic`.
CDataObjectItem& AddLogicObject(CDataLevel& level, double x, double z, int sector, const char* logic) {
    CDataObjectItem& object = testing::AddObject(level, x, z, sector);
    object.m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", logic));
    return object;
}

// Two adjoined rooms named "door" and "hall", an INF item on the door naming itself, a level item
// that belongs to no sector, and one object standing in each room.
void BuildNamedRooms(CDataLevel& level) {
    BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    level.m_Lev.m_pSectors[1]->m_strName = "hall";
    AddItem(level.m_Inf, "sector", "door", -1, {"class:\televator move_floor", "slave:\tdoor"});
    AddItem(level.m_Inf, "level", "", -1, {"seq:", "seqend:"});
    AddLogicObject(level, 10, 20, 0, "REMOTE");
    AddLogicObject(level, 74, 20, 1, "TROOP");
}

struct Editor : testing::EngineView {
    explicit Editor(void (*build)(CDataLevel&) = nullptr, int mode = kModeSector) : EngineView(mode, build) {}
    void Select(std::vector<int> sectors) {
        engine.ClearSelection();
        for (int s : sectors)
            engine.AddToSelection(testing::Sector(s));
    }
    Bytes Store(std::vector<int> sectors) {
        Bytes out;
        EXPECT_TRUE(StoreSectors(level(), sectors, out).ok());
        return out;
    }
    std::vector<int> SelectedSectors() const {
        std::vector<int> s;
        for (const auto& item : engine.selection())
            s.push_back(item.m_nSector);
        return s;
    }
};

// The stream header: tag, mode, count, then (for a level without resources) the empty resource
// block; the rest is the record encoding.
TEST(ClipboardLibrary, HeaderBytesAndLibrariesWithoutResourceBlock) {
    Editor source(BuildNamedRooms);
    const Bytes stream = source.Store({1, 0});
    ASSERT_GT(stream.size(), 19u);
    EXPECT_EQ(std::string(stream.begin(), stream.begin() + 19),
              std::string("\x0AMorvi 3.00\0\0\2\0\0\0\0\0", 19));
    EXPECT_EQ(StoredMode(stream), kModeSector);

    // The same items behind the old tag, without the block, read the same.
    const std::string oldTag = "\x0AMorvi 1.00";
    Bytes old(oldTag.begin(), oldTag.end());
    old.insert(old.end(), stream.begin() + 11, stream.begin() + 15);
    old.insert(old.end(), stream.begin() + 19, stream.end());
    Editor a, b;
    ASSERT_EQ(LoadRecords(a.engine, stream, std::nullopt).m_strMessage, "");
    ASSERT_EQ(LoadRecords(b.engine, old, std::nullopt).m_strMessage, "");
    EXPECT_EQ(CountDifferences(a.level(), b.level()), 0);
    // Stored in the order given: hall first, and the pair still adjoined under new numbers.
    ASSERT_EQ(b.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(b.sector(0).m_strName, "hall");
    EXPECT_EQ(std::tie(b.wall(0, 3).m_nAdjoin, b.wall(0, 3).m_nMirror, b.wall(1, 1).m_nWalk,
                       b.wall(1, 1).m_nMirror),
              std::tuple(1, 1, 0, 3));
    // With the old tag a resource block would be taken for items: the new stream read as old fails.
    Bytes confused = stream;
    confused[7] = '1';
    Editor c;
    EXPECT_NE(LoadRecords(c.engine, confused, std::nullopt).m_strMessage, "");
    EXPECT_TRUE(c.level().m_Lev.m_pSectors.empty());
}

TEST(ClipboardLibrary, PastingTwiceMakesNamesUniqueAndKeepsLinksBetweenPastedSectors) {
    Editor e(BuildNamedRooms);
    const Bytes stream = e.Store({0, 1});
    for (int round = 1; round <= 2; ++round) {
        const std::size_t itemsBefore = e.level().m_Inf.m_pItems.size();
        const EditResult r = LoadRecords(e.engine, stream, std::nullopt);
        ASSERT_TRUE(r.m_bChanged);
        EXPECT_TRUE(r.m_bInfChanged);
        EXPECT_EQ(FindingsText(e.level()), "") << "round " << round;
        const int a = 2 * round, b = a + 1;
        const std::string suffix = "-" + std::to_string(round);
        EXPECT_EQ(std::tie(e.sector(a).m_strName, e.sector(b).m_strName),
                  std::tuple("door" + suffix, "hall" + suffix));
        EXPECT_EQ(e.SelectedSectors(), (std::vector<int>{a, b}));
        EXPECT_EQ(std::tie(e.wall(a, 1).m_nAdjoin, e.wall(a, 1).m_nWalk, e.wall(a, 1).m_nMirror),
                  std::tuple(b, b, 3));
        EXPECT_EQ(std::tie(e.wall(b, 3).m_nAdjoin, e.wall(b, 3).m_nMirror), std::tuple(a, 1));
        // Only the door's item travels, renamed with every reference to its sector.
        ASSERT_EQ(e.level().m_Inf.m_pItems.size(), itemsBefore + 1);
        const CDataInfItem& item = *e.level().m_Inf.m_pItems.back();
        EXPECT_EQ(item.m_strName, "door" + suffix);
        EXPECT_EQ(item.m_Lines,
                  (std::vector<std::string>{"class:\televator move_floor", "slave:\tdoor" + suffix}));
    }
    // The originals are untouched.
    EXPECT_EQ(std::tie(e.sector(0).m_strName, e.wall(0, 1).m_nAdjoin, e.level().m_Inf.m_pItems[0]->m_strName),
              std::tuple("door", 1, "door"));
}

TEST(ClipboardLibrary, BorderToASectorNotCopiedIsUnlinkedAndPasteLandsOnCurrentLayer) {
    Editor e(BuildNamedRooms);
    e.sector(0).m_nLayer = 3;
    e.doc.m_nCurrentLayer = -2;
    const Bytes stream = e.Store({0});
    LoadRecords(e.engine, stream, std::nullopt);
    EXPECT_EQ(FindingsText(e.level()), "");
    ASSERT_EQ(e.level().m_Lev.m_pSectors.size(), 3u);
    EXPECT_EQ(e.sector(2).m_nLayer, -2);
    for (const auto& wall : e.sector(2).m_pWalls)
        EXPECT_EQ(std::tie(wall->m_nAdjoin, wall->m_nMirror, wall->m_nWalk), std::tuple(-1, -1, -1));
    // The door's object (assigned to sector 0) came along, the hall's did not.
    ASSERT_EQ(e.level().m_Objects.m_pObjects.size(), 3u);
    const CDataObjectItem& pasted = *e.level().m_Objects.m_pObjects[2];
    EXPECT_EQ(std::tie(pasted.m_nSector, pasted.m_nIndex, pasted.m_pSeqs[0]->m_strValue),
              std::tuple(2, 2, "REMOTE"));
}

TEST(ClipboardLibrary, IslandTravelsWithContainerAndPasteIsCentredWithItsObjects) {
    Editor source(BuildRoomWithPillar);
    AddLogicObject(source.level(), 10, 12.5, 0, "REMOTE").m_nData = 7; // an index meaningless in the target
    EXPECT_EQ(source.Store({0}), source.Store({0, 1})) << "the pillar travels as the room's island";

    Editor target(BuildTwoRooms);
    target.doc.m_nCurrentLayer = 4;
    const EditResult r = LoadRecords(target.engine, source.Store({1, 0}), WorldPoint{1000, -500.004});
    ASSERT_TRUE(r.m_bChanged);
    EXPECT_EQ(FindingsText(target.level()), "");
    ASSERT_EQ(target.level().m_Lev.m_pSectors.size(), 4u);
    // Room and pillar are 2 and 3, linked to each other through the hole.
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(std::tie(target.wall(3, 3 - k).m_nAdjoin, target.wall(3, 3 - k).m_nMirror),
                  std::tuple(2, 4 + k));
    EXPECT_EQ(target.sector(3).m_nLayer, 4);
    EXPECT_EQ(target.SelectedSectors(), (std::vector<int>{2, 3}));
    // The first loops' corners average (64, 64): everything moves by (936, -564.004), then rounds.
    EXPECT_EQ(std::pair(target.vertex(2, 0).m_dX, target.vertex(3, 2).m_dZ), std::pair(936.0, -484.0));
    const CDataObjectItem& pasted = *target.level().m_Objects.m_pObjects.back();
    EXPECT_EQ(std::tie(pasted.m_dX, pasted.m_dZ, pasted.m_nSector, pasted.m_nData),
              std::tuple(946.0, -551.5, 2, 0));
    // Textures travel by name into the target's table.
    EXPECT_EQ(target.level().m_Lev.GetTextureName(target.sector(3).m_FloorTexture.m_nTexture), "IF3.BM");
}

TEST(ClipboardLibrary, CutCopiesSectorsButOnlyDeletesWalls) {
    Editor e(BuildNamedRooms);
    ClipboardBuffer clipboard;
    e.Select({1});
    EXPECT_TRUE(Cut(e.engine, clipboard).m_bChanged);
    ASSERT_EQ(e.level().m_Lev.m_pSectors.size(), 1u);
    EXPECT_EQ(e.sector(0).m_pWalls[1]->m_nAdjoin, -1); // the door's side of the cut hall is solid now
    EXPECT_EQ(FindingsText(e.level()), "");
    Paste(e.engine, clipboard);
    ASSERT_EQ(e.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(e.sector(1).m_strName, "hall"); // the name is free again
    // A wall cut leaves the clipboard as it was.
    const Bytes before(clipboard.bytes().begin(), clipboard.bytes().end());
    Editor w(BuildRoomWithPillar, kModeWall);
    w.engine.AddToSelection({0, 0, -1, -1});
    Cut(w.engine, clipboard);
    EXPECT_EQ(w.sector(0).m_pWalls.size(), 7u);
    EXPECT_EQ(Bytes(clipboard.bytes().begin(), clipboard.bytes().end()), before);
}

TEST(ClipboardLibrary, ResourcesTravelAndReplaceMembersOfTheSameName) {
    Editor source(BuildNamedRooms), target(BuildTwoRooms);
    for (const auto& [name, bytes] :
         {std::pair("WALL.BM", Bytes{1, 2, 3}), std::pair("NEW.WAX", Bytes{4, 5})})
        ASSERT_TRUE(source.level().AddMember(name, bytes).ok());
    ASSERT_TRUE(target.level().AddMember("WALL.BM", Bytes{9}).ok());
    LoadRecords(target.engine, source.Store({0}), std::nullopt);
    const auto& members = target.level().m_pMembers;
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(Bytes(members[0]->data().begin(), members[0]->data().end()), (Bytes{1, 2, 3}));
    EXPECT_EQ(target.level().m_Sprites, std::vector{members[1].get()});
}

TEST(ClipboardLibrary, DamagedDataIsRefusedWithoutChange) {
    Editor source(BuildNamedRooms);
    ASSERT_TRUE(source.level().AddMember("WALL.BM", Bytes{1, 2, 3}).ok());
    const Bytes stream = source.Store({0, 1});
    Editor before(BuildNamedRooms), e(BuildNamedRooms);
    e.Select({1});
    auto expectRefused = [&](const Bytes& bytes, const std::string& what) {
        const EditResult r = LoadRecords(e.engine, bytes, WorldPoint{});
        EXPECT_FALSE(r.m_bChanged) << what;
        EXPECT_NE(r.m_strMessage, "") << what;
        EXPECT_EQ(CountDifferences(e.level(), before.level()), 0) << what;
        EXPECT_EQ(e.SelectedSectors(), std::vector<int>{1}) << what;
    };
    // Every cut short, including one inside the resource block.
    for (std::size_t n = 0; n < stream.size(); ++n)
        expectRefused(Bytes(stream.begin(), stream.begin() + n), "cut");
    expectRefused(Bytes{'\x03', 'a', 'b', 'c', 0, 0, 0, 0}, "no tag");
    // Wall mode; a list marker other than 0 or 1 where the last object list ends.
    for (const auto& [at, value] : {std::pair(std::size_t{11}, 1), std::pair(stream.size() - 2, 7)}) {
        Bytes bad = stream;
        bad[at] = static_cast<std::uint8_t>(value);
        expectRefused(bad, std::to_string(at));
    }

    // A wall naming a vertex the sector does not have: a copy refuses the sector by name, and
    // a stream of other origin holding one is refused.
    Editor broken(BuildNamedRooms);
    broken.wall(1, 2).m_nRight = 9;
    broken.Select({1});
    ClipboardBuffer clipboard;
    EXPECT_EQ(Copy(broken.engine, clipboard).m_strMessage,
              "Sector 1 wall 2 uses vertex 9, which the sector does not have; repair the level first.");
    EXPECT_TRUE(clipboard.empty());
    expectRefused(broken.Store({1}), "wall outside vertices");
}

TEST(ClipboardLibrary, LibraryFilesSaveAtomicallyAndLoad) {
    testing::TempDir dir;
    const auto path = dir.path() / "rooms.lib";
    Editor source(BuildNamedRooms);
    source.Select({0, 1});
    ASSERT_TRUE(SaveLibrary(source.engine, path).ok());
    Editor target(BuildNamedRooms);
    EXPECT_EQ(LoadLibrary(target.engine, path, std::nullopt).m_strMessage, "");
    EXPECT_EQ(target.sector(3).m_strName, "hall-1");

    // Object mode does not save libraries; a missing file loads nothing.
    source.doc.m_nMode = kModeObject;
    EXPECT_FALSE(SaveLibrary(source.engine, dir.path() / "objects.lib").ok());
    EXPECT_NE(LoadLibrary(target.engine, dir.path() / "missing.lib", std::nullopt).m_strMessage, "");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rooms.lib"}) << "no temporary file is left";
}

} // namespace
} // namespace morvi
