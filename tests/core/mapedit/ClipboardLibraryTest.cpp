#include "mapedit/ClipboardLibrary.h"

#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::BuildRoomWithPillar;
using testing::BuildTwoRooms;
using testing::CountDifferences;
using testing::FindingsText;
using Bytes = std::vector<std::uint8_t>;

// Two adjoined rooms named "door" and "hall", an INF item on the door naming itself, and one
// object standing in each room.
void BuildNamedRooms(CDataLevel& level) {
    BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    level.m_Lev.m_pSectors[1]->m_strName = "hall";
    AddItem(level.m_Inf, "sector", "door", -1, {"class:\televator move_floor", "slave:\tdoor"});
    AddItem(level.m_Inf, "sector", "other", -1, {"class:\televator move_floor"});
    for (int s = 0; s < 2; ++s) {
        auto object = std::make_unique<CDataObjectItem>();
        object->m_dX = 10 + 64 * s;
        object->m_dZ = 20;
        object->m_nSector = s;
        auto seq = std::make_unique<CDataObjectSeq>();
        seq->m_strKey = "LOGIC";
        seq->m_strValue = s == 0 ? "REMOTE" : "TROOP";
        object->m_pSeqs.push_back(std::move(seq));
        SetObjectDataIndex(level.m_Objects, *object);
        level.m_Objects.m_pObjects.push_back(std::move(object));
    }
}

struct Editor {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};

    explicit Editor(void (*build)(CDataLevel&) = nullptr, int mode = kModeSector) {
        if (build) build(doc.level());
        doc.m_nMode = mode;
    }
    CDataLevel& level() { return doc.level(); }
    CDataSector& sector(int s) { return *level().m_Lev.m_pSectors[static_cast<std::size_t>(s)]; }
    CDataWall& wall(int s, int w) { return *sector(s).m_pWalls[static_cast<std::size_t>(w)]; }
    void Select(std::vector<int> sectors) {
        engine.ClearSelection();
        for (int s : sectors)
            engine.AddToSelection({s, -1, -1, -1});
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
    const std::string tag = "\x0AMorvi 3.00";
    ASSERT_GT(stream.size(), tag.size() + 8);
    EXPECT_EQ(std::string(stream.begin(), stream.begin() + 11), tag);
    EXPECT_EQ(Bytes(stream.begin() + 11, stream.begin() + 19), (Bytes{0, 0, 2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(StoredMode(stream), kModeSector);

    // The same items behind the old tag, without the block, read the same.
    const std::string oldTag = "\x0AMorvi 1.00";
    Bytes old(oldTag.begin(), oldTag.end());
    old.insert(old.end(), stream.begin() + 11, stream.begin() + 15);
    old.insert(old.end(), stream.begin() + 19, stream.end());
    Editor a, b;
    ASSERT_EQ(LoadRecords(a.engine, stream, std::nullopt).m_strMessage, "");
    const EditResult r = LoadRecords(b.engine, old, std::nullopt);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage, "");
    EXPECT_EQ(FindingsText(b.level()), "");
    ASSERT_EQ(b.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(CountDifferences(a.level(), b.level()), 0);
    // Stored in the order given: hall first, and the pair still adjoined under new numbers.
    EXPECT_EQ(b.sector(0).m_strName, "hall");
    EXPECT_EQ(b.wall(0, 3).m_nAdjoin, 1);
    EXPECT_EQ(b.wall(0, 3).m_nMirror, 1);
    EXPECT_EQ(b.wall(1, 1).m_nAdjoin, 0);
    EXPECT_EQ(b.wall(1, 1).m_nWalk, 0);
    EXPECT_EQ(b.wall(1, 1).m_nMirror, 3);
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
        EXPECT_EQ(e.sector(a).m_strName, "door" + suffix);
        EXPECT_EQ(e.sector(b).m_strName, "hall" + suffix);
        EXPECT_EQ(e.SelectedSectors(), (std::vector<int>{a, b}));
        EXPECT_EQ(e.wall(a, 1).m_nAdjoin, b);
        EXPECT_EQ(e.wall(a, 1).m_nWalk, b);
        EXPECT_EQ(e.wall(a, 1).m_nMirror, 3);
        EXPECT_EQ(e.wall(b, 3).m_nAdjoin, a);
        EXPECT_EQ(e.wall(b, 3).m_nMirror, 1);
        // Only the door's item travels, renamed with every reference to its sector.
        ASSERT_EQ(e.level().m_Inf.m_pItems.size(), itemsBefore + 1);
        const CDataInfItem& item = *e.level().m_Inf.m_pItems.back();
        EXPECT_EQ(item.m_strName, "door" + suffix);
        EXPECT_EQ(item.m_Lines,
                  (std::vector<std::string>{"class:\televator move_floor", "slave:\tdoor" + suffix}));
    }
    // The originals are untouched.
    EXPECT_EQ(e.sector(0).m_strName, "door");
    EXPECT_EQ(e.wall(0, 1).m_nAdjoin, 1);
    EXPECT_EQ(e.level().m_Inf.m_pItems[0]->m_strName, "door");
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
    for (const auto& wall : e.sector(2).m_pWalls) {
        EXPECT_EQ(wall->m_nAdjoin, -1);
        EXPECT_EQ(wall->m_nMirror, -1);
        EXPECT_EQ(wall->m_nWalk, -1);
    }
    // The door's object (assigned to sector 0) came along, the hall's did not.
    ASSERT_EQ(e.level().m_Objects.m_pObjects.size(), 3u);
    const CDataObjectItem& pasted = *e.level().m_Objects.m_pObjects[2];
    EXPECT_EQ(pasted.m_nSector, 2);
    EXPECT_EQ(pasted.m_nIndex, 2);
    EXPECT_EQ(pasted.m_pSeqs[0]->m_strValue, "REMOTE");
    EXPECT_EQ(e.wall(0, 1).m_nAdjoin, 1);
}

TEST(ClipboardLibrary, IslandTravelsWithContainerAndPasteIsCentredWithItsObjects) {
    Editor source(BuildRoomWithPillar);
    auto object = std::make_unique<CDataObjectItem>();
    object->m_dX = 10;
    object->m_dZ = 12.5;
    object->m_nSector = 0;
    auto seq = std::make_unique<CDataObjectSeq>();
    seq->m_strKey = "LOGIC";
    seq->m_strValue = "REMOTE";
    object->m_pSeqs.push_back(std::move(seq));
    object->m_crColour = 0;
    object->m_nData = 7; // an index of the source's table, meaningless in the target
    source.level().m_Objects.m_pObjects.push_back(std::move(object));
    // Selecting the pillar too changes nothing: it travels as the room's island.
    EXPECT_EQ(TopLevelSectors(source.level(), std::vector<int>{1, 0, 1}), (std::vector<int>{0}));
    EXPECT_EQ(source.Store({0}), source.Store({0, 1}));

    Editor target(BuildTwoRooms);
    target.doc.m_nCurrentLayer = 4;
    const EditResult r = LoadRecords(target.engine, source.Store({1, 0}), WorldPoint{1000, -500.004});
    ASSERT_TRUE(r.m_bChanged);
    EXPECT_EQ(FindingsText(target.level()), "");
    ASSERT_EQ(target.level().m_Lev.m_pSectors.size(), 4u);
    // Room and pillar are 2 and 3, linked to each other through the hole.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(target.wall(2, 4 + k).m_nAdjoin, 3);
        EXPECT_EQ(target.wall(3, 3 - k).m_nAdjoin, 2);
        EXPECT_EQ(target.wall(3, 3 - k).m_nMirror, 4 + k);
    }
    EXPECT_EQ(target.sector(3).m_nLayer, 4);
    EXPECT_EQ(target.SelectedSectors(), (std::vector<int>{2, 3}));
    // The first loops' corners average (64, 64): everything moves by (936, -564.004), then rounds.
    EXPECT_EQ(target.sector(2).m_pVertices[0]->m_dX, 936);
    EXPECT_EQ(target.sector(2).m_pVertices[0]->m_dZ, -564);
    EXPECT_EQ(target.sector(3).m_pVertices[2]->m_dX, 1016);
    EXPECT_EQ(target.sector(3).m_pVertices[2]->m_dZ, -484);
    const CDataObjectItem& pasted = *target.level().m_Objects.m_pObjects.back();
    EXPECT_EQ(pasted.m_dX, 946);
    EXPECT_EQ(pasted.m_dZ, -551.5);
    EXPECT_EQ(pasted.m_nSector, 2);
    EXPECT_EQ(pasted.m_crColour, 0xFFFFFFu);
    EXPECT_EQ(pasted.m_nData, 0);
    ASSERT_EQ(target.level().m_Objects.m_Sprs.size(), 1u);
    EXPECT_EQ(target.level().m_Objects.m_Sprs[0].m_strName, "STORMFIN.WAX");
    // Textures travel by name into the target's table.
    EXPECT_EQ(target.level().m_Lev.GetTextureName(target.sector(3).m_FloorTexture.m_nTexture), "IF3.BM");
}

TEST(ClipboardLibrary, SectorsPastedOutsideSectorModeStayPutAndUnselected) {
    Editor source(BuildNamedRooms);
    Editor target(nullptr, kModeObject);
    LoadRecords(target.engine, source.Store({0}), WorldPoint{500, 500});
    EXPECT_EQ(FindingsText(target.level()), "");
    EXPECT_EQ(target.sector(0).m_strName, "door");
    EXPECT_EQ(target.sector(0).m_pVertices[2]->m_dX, 64);
    EXPECT_TRUE(target.engine.selection().empty());
}

TEST(ClipboardLibrary, ObjectsCopiedInSelectionOrderAndPutFirstInTheSelection) {
    Editor e(BuildNamedRooms, kModeObject);
    e.engine.AddToSelection({1, -1, -1, 1});
    e.engine.AddToSelection({0, -1, -1, 0});
    ClipboardBuffer clipboard;
    EXPECT_FALSE(CanPaste(clipboard));
    ASSERT_EQ(Copy(e.engine, clipboard).m_strMessage, "");
    EXPECT_EQ(StoredMode(clipboard.bytes()), kModeObject);
    ASSERT_TRUE(CanPaste(clipboard));
    const EditResult r = Paste(e.engine, clipboard);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_FALSE(r.m_bInfChanged);
    EXPECT_EQ(FindingsText(e.level()), "");
    const auto& objects = e.level().m_Objects.m_pObjects;
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[2]->m_pSeqs[0]->m_strValue, "TROOP");
    EXPECT_EQ(objects[3]->m_pSeqs[0]->m_strValue, "REMOTE");
    // Objects keep their places; the last one read leads the selection.
    EXPECT_EQ(objects[3]->m_dX, 10);
    ASSERT_EQ(e.engine.selection().size(), 2u);
    EXPECT_EQ(e.engine.selection()[0].m_nObject, 3);
    EXPECT_EQ(e.engine.selection()[1].m_nObject, 2);
    EXPECT_EQ(e.level().m_Lev.m_pSectors.size(), 2u);
}

TEST(ClipboardLibrary, CopyNeedsSectorOrObjectModeAndASelection) {
    Editor e(BuildNamedRooms, kModeWall);
    e.engine.AddToSelection({0, 1, -1, -1});
    ClipboardBuffer clipboard;
    clipboard.Set({1, 2, 3});
    EXPECT_FALSE(CanCopy(e.engine));
    EXPECT_NE(Copy(e.engine, clipboard).m_strMessage, "");
    EXPECT_EQ(Bytes(clipboard.bytes().begin(), clipboard.bytes().end()), (Bytes{1, 2, 3}));
    EXPECT_FALSE(CanPaste(clipboard));
    e.doc.m_nMode = kModeSector;
    e.engine.ClearSelection();
    EXPECT_FALSE(CanCopy(e.engine));
    e.Select({0});
    EXPECT_TRUE(CanCopy(e.engine));
    ASSERT_EQ(Copy(e.engine, clipboard).m_strMessage, "");
    EXPECT_TRUE(CanPaste(clipboard));
    // Paste centres on the view: the default layout shows world (0, 0) in the middle.
    e.engine.viewport().RecalcLayout(MapDevice{}, ClientRect{0, 0, 800, 600});
    const WorldPoint centre = e.engine.viewport().ViewCentre();
    Paste(e.engine, clipboard);
    EXPECT_EQ(FindingsText(e.level()), "");
    const CDataSector& pasted = e.sector(2);
    EXPECT_EQ(pasted.m_strName, "door-1");
    EXPECT_EQ(pasted.m_pVertices[0]->m_dX, RoundHundredths(centre.m_dX - 32));
    EXPECT_EQ(pasted.m_pVertices[0]->m_dZ, RoundHundredths(centre.m_dZ - 32));
}

TEST(ClipboardLibrary, CutCopiesSectorsButOnlyDeletesWalls) {
    Editor e(BuildNamedRooms);
    ClipboardBuffer clipboard;
    EXPECT_FALSE(CanCut(e.engine));
    e.Select({1});
    ASSERT_TRUE(CanCut(e.engine));
    const EditResult cut = Cut(e.engine, clipboard);
    EXPECT_TRUE(cut.m_bChanged);
    ASSERT_EQ(e.level().m_Lev.m_pSectors.size(), 1u);
    EXPECT_EQ(e.sector(0).m_pWalls[1]->m_nAdjoin, -1); // the door's side of the cut hall is solid now
    EXPECT_EQ(FindingsText(e.level()), "");
    ASSERT_TRUE(CanPaste(clipboard));
    Paste(e.engine, clipboard);
    ASSERT_EQ(e.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(e.sector(1).m_strName, "hall"); // the name is free again
    EXPECT_EQ(FindingsText(e.level()), "");

    // A wall cut leaves the clipboard as it was.
    const Bytes before(clipboard.bytes().begin(), clipboard.bytes().end());
    Editor w(BuildRoomWithPillar, kModeWall);
    const std::size_t walls = w.sector(0).m_pWalls.size();
    w.engine.AddToSelection({0, 0, -1, -1});
    Cut(w.engine, clipboard);
    EXPECT_EQ(w.sector(0).m_pWalls.size(), walls - 1);
    EXPECT_EQ(Bytes(clipboard.bytes().begin(), clipboard.bytes().end()), before);
    EXPECT_EQ(FindingsText(w.level()), "");
}

TEST(ClipboardLibrary, ResourcesTravelAndReplaceMembersOfTheSameName) {
    Editor source(BuildNamedRooms);
    const Bytes wall{1, 2, 3}, sprite{4, 5}, level{6};
    ASSERT_TRUE(source.level().AddMember("WALL.BM", wall).ok());
    ASSERT_TRUE(source.level().AddMember("NEW.WAX", sprite).ok());
    ASSERT_TRUE(source.level().AddMember("SECBASE.LEV", level).ok());
    Editor target(BuildTwoRooms);
    ASSERT_TRUE(target.level().AddMember("WALL.BM", Bytes{9}).ok());
    LoadRecords(target.engine, source.Store({0}), std::nullopt);
    EXPECT_EQ(FindingsText(target.level()), "");
    const auto& members = target.level().m_pMembers;
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(Bytes(members[0]->data().begin(), members[0]->data().end()), wall);
    EXPECT_EQ(members[1]->m_strName, "NEW.WAX");
    EXPECT_EQ(Bytes(members[1]->data().begin(), members[1]->data().end()), sprite);
    ASSERT_EQ(target.level().m_Sprites.size(), 1u);
    EXPECT_EQ(target.level().m_Sprites[0], members[1].get());
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
    Bytes wrongMode = stream;
    wrongMode[11] = 1;
    expectRefused(wrongMode, "wall mode");
    EXPECT_FALSE(StoredMode(wrongMode).has_value());
    // A list marker other than 0 or 1 where the last object list ends.
    Bytes badMarker = stream;
    ASSERT_EQ(badMarker[badMarker.size() - 2], 0);
    badMarker[badMarker.size() - 2] = 7;
    expectRefused(badMarker, "marker 7");

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

    // What a copy stores, a paste takes: an open loop, as published levels hold them, pastes whole
    // and the checker lists it.
    Editor open(BuildNamedRooms);
    open.wall(0, 3).m_nRight = 2;
    open.Select({0});
    ASSERT_EQ(Copy(open.engine, clipboard).m_strMessage, "");
    const EditResult pasted = Paste(e.engine, clipboard);
    EXPECT_TRUE(pasted.m_bChanged);
    EXPECT_NE(FindingsText(e.level()), "");
}

TEST(ClipboardLibrary, OneSidedLinkBetweenPastedSectorsIsDropped) {
    Editor source(BuildNamedRooms);
    source.wall(1, 3).m_nMirror = 2; // points at a wall of sector 0 that does not point back
    Editor target;
    LoadRecords(target.engine, source.Store({0, 1}), std::nullopt);
    EXPECT_EQ(FindingsText(target.level()), "");
    EXPECT_EQ(target.wall(1, 3).m_nAdjoin, -1);
    EXPECT_EQ(target.wall(1, 3).m_nWalk, -1);
    // Sector 0's wall 1 pointed at wall 3, which now points elsewhere: it goes too.
    EXPECT_EQ(target.wall(0, 1).m_nAdjoin, -1);
}

TEST(ClipboardLibrary, LibraryFilesSaveAtomicallyAndLoad) {
    testing::TempDir dir;
    const auto path = dir.path() / "rooms.lib";
    Editor source(BuildNamedRooms);
    source.Select({0, 1});
    ASSERT_TRUE(SaveLibrary(source.engine, path).ok());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rooms.lib"});
    {
        std::ifstream in(path, std::ios::binary);
        const Bytes onDisk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(onDisk, source.Store({0, 1}));
    }
    Editor target(BuildNamedRooms);
    const EditResult r = LoadLibrary(target.engine, path, std::nullopt);
    EXPECT_EQ(r.m_strMessage, "");
    EXPECT_EQ(FindingsText(target.level()), "");
    EXPECT_EQ(target.sector(3).m_strName, "hall-1");

    // Object mode does not save libraries; a missing or damaged file loads nothing.
    source.doc.m_nMode = kModeObject;
    EXPECT_FALSE(SaveLibrary(source.engine, dir.path() / "objects.lib").ok());
    EXPECT_NE(LoadLibrary(target.engine, dir.path() / "missing.lib", std::nullopt).m_strMessage, "");
    const char bad[] = "\x0AMorvi 3.00\x00\x00\x05\x00";
    std::ofstream(dir.path() / "bad.lib", std::ios::binary).write(bad, sizeof bad - 1);
    EXPECT_NE(LoadLibrary(target.engine, dir.path() / "bad.lib", std::nullopt).m_strMessage, "");
    EXPECT_EQ(target.level().m_Lev.m_pSectors.size(), 4u);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"bad.lib", "rooms.lib"}));
}

} // namespace
} // namespace morvi
