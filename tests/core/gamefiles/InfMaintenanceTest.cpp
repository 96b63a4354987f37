#include "gamefiles/InfFile.h"
#include "model/ByteStream.h"
#include "model/RecordArchive.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using Strings = std::vector<std::string>;

TEST(InfRename, ChangesWholeNamesInReferenceLinesOnly) {
    CDataInf inf;
    CDataInfItem& door =
        AddItem(inf, "sector", "door", -1, {"class:\televator door", "message:\t1 door m_trigger"});
    CDataInfItem& trigger =
        AddItem(inf, "line", "hall", 2,
                {"class:\ttrigger", "client:\tdoor", "message:\t1 doorway m_trigger",
                 "message:\t1 bigdoor m_trigger", "message:\t2 door(3) m_trigger", "slave:\tdoor_b",
                 "adjoin:\t1 door 2 door 5", "text:\tdoor stays", "target:\tdoor"});
    CDataInfItem& level = AddItem(inf, "level", "", -1, {"class:\tlevel"});

    RenameSector(inf, "door", "Door2");
    EXPECT_EQ(door.m_strName, "door2");
    EXPECT_EQ(door.m_Lines, (Strings{"class:\televator door", "message:\t1 door2 m_trigger"}));
    EXPECT_EQ(trigger.m_strName, "hall");
    EXPECT_EQ(trigger.m_Lines,
              (Strings{"class:\ttrigger", "client:\tdoor2", "message:\t1 doorway m_trigger",
                       "message:\t1 bigdoor m_trigger", "message:\t2 door2(3) m_trigger", "slave:\tdoor_b",
                       "adjoin:\t1 door2 2 door2 5", "text:\tdoor stays", "target:\tdoor2"}));

    // Naming a sector that had no name must not rename the level item, whose name is empty.
    RenameSector(inf, "", "newname");
    EXPECT_EQ(level.m_strName, "");

    // When only the case of the name changes, nothing does: items hold names in lower case.
    CDataInfItem& item = AddItem(inf, "sector", "lift", -1, {"message:\t1 lift m_trigger"});
    RenameSector(inf, "lift", "LIFT");
    EXPECT_EQ(std::tie(item.m_strName, item.m_Lines[0]), std::tuple("lift", "message:\t1 lift m_trigger"));

    // The old name is compared exactly: "Lift" in a line is another sector's name.
    item.m_Lines[0] = "message:\t1 Lift m_trigger";
    RenameSector(inf, "lift", "up");
    EXPECT_EQ(std::tie(item.m_strName, item.m_Lines[0]), std::tuple("up", "message:\t1 Lift m_trigger"));
}

TEST(InfRenumberWall, ShiftModeMovesWallsAboveTheDeletedOne) {
    CDataInf inf;
    CDataInfItem& low = AddItem(inf, "line", "elev1", 3, {"class:\ttrigger"});
    CDataInfItem& high = AddItem(inf, "line", "elev1", 6, {"class:\ttrigger"});
    CDataInfItem& other = AddItem(inf, "line", "elev2", 6, {"class:\ttrigger"});
    CDataInfItem& lines =
        AddItem(inf, "sector", "elev1", -1,
                {"adjoin:\t1 elev1 5 elev2 2", "adjoin:\t1 elev2 7 elev1 9 comment",
                 "adjoin:\t1 elev1 2 elev2 9", "adjoin:\t1 elev1 x elev2 9", "message:\t1 elev1(4) m_trigger",
                 "message:\t1 elev10(4) m_trigger", "message:\t1 elev1 m_trigger"});

    EXPECT_TRUE(RenumberWall(inf, "elev1", 3, -1, true));
    EXPECT_EQ(std::tuple(low.m_nNum, high.m_nNum, other.m_nNum), std::tuple(3, 5, 6));
    const Strings expected{"adjoin:\t1 elev1 4 elev2 2",     "adjoin:\t1 elev2 7 elev1 8 comment",
                           "adjoin:\t1 elev1 2 elev2 9",     "adjoin:\t1 elev1 x elev2 9",
                           "message:\t1 elev1(3) m_trigger", "message:\t1 elev10(4) m_trigger",
                           "message:\t1 elev1 m_trigger"};
    EXPECT_EQ(lines.m_Lines, expected);

    // Nothing above wall 20: no change reported, nothing rewritten.
    EXPECT_FALSE(RenumberWall(inf, "elev1", 20, 1, true));
    EXPECT_EQ(lines.m_Lines, expected);
}

TEST(InfRenumberWall, ExactModeOnMessagesAndWallNumbers) {
    CDataInf inf;
    CDataInfItem& wall = AddItem(inf, "line", "Gate", 2, {"class:\ttrigger"});
    CDataInfItem& messages = AddItem(inf, "sector", "control", -1,
                                     {"message:\t1 gate(2) m_trigger", "message:\t1 gate(22) m_trigger",
                                      "message:\t1 gate( 2 ) done", "message:\t2 other(2) m_trigger",
                                      " adjoin:  1 gate 2 gate 3"});

    // The map passes the sector's own name; items may hold it as written or in lower case.
    EXPECT_TRUE(RenumberWall(inf, "Gate", 2, 7, false));
    EXPECT_EQ(wall.m_nNum, 7);
    EXPECT_EQ(messages.m_Lines, (Strings{"message:\t1 gate(7) m_trigger", "message:\t1 gate(22) m_trigger",
                                         "message:\t1 gate(7) done", "message:\t2 other(2) m_trigger",
                                         "adjoin:\t1 gate 7 gate 3"}));
    EXPECT_FALSE(RenumberWall(inf, "gate", 2, 7, false));
}

TEST(InfShiftStops, MovesAltitudeStopsOfTheSectorsElevatorsThatHaveThem) {
    CDataInf inf;
    CDataInfItem& elevator =
        AddItem(inf, "sector", "lift", -1,
                {"class:\televator move_floor", "stop:\t12.5 hold", "  stop: -8 2", "stop:\t@4 hold",
                 "stop:\tother_sector hold", "message:\t1 lift m_trigger", "page:\t1 lift.voc",
                 "stop:\t10 terminate"});
    CDataInfItem& other =
        AddItem(inf, "sector", "Lift", -1, {"class:\televator move_floor", "stop:\t12.5 hold"});
    // Elevators whose stops are no altitudes.
    for (std::string kind :
         {"change_light", "scroll_ceiling", "scroll_floor", "change_wall_light", "morph_move1", "morph_move2",
          "morph_spin1", "morph_spin2", "rotate_wall", "Scroll_Wall"})
        AddItem(inf, "sector", "lift", -1, {"class:\televator " + kind, "stop:\t10 hold"});

    ShiftStopAltitudes(inf, "lift", 2.5);
    EXPECT_EQ(elevator.m_Lines,
              (Strings{"class:\televator move_floor", "stop:\t15 hold", "stop:\t-5.5 2", "stop:\t@4 hold",
                       "stop:\tother_sector hold", "message:\t1 lift m_trigger", "page:\t1 lift.voc",
                       "stop:\t12.5 terminate"}));
    EXPECT_EQ(other.m_Lines[1], "stop:\t12.5 hold");
    for (std::size_t i = 2; i < inf.m_pItems.size(); ++i)
        EXPECT_EQ(inf.m_pItems[i]->m_Lines[1], "stop:\t10 hold") << inf.m_pItems[i]->m_Lines[0];

    // Repeated small moves print the shortest value, without binary fractions piling up.
    for (const auto& [delta, line] :
         {std::pair(0.25, "stop:\t12.75 hold"), std::pair(0.1, "stop:\t12.85 hold"),
          std::pair(-0.05, "stop:\t12.8 hold"), std::pair(-12.8, "stop:\t0 hold")}) {
        ShiftStopAltitudes(inf, "Lift", delta);
        EXPECT_EQ(other.m_Lines[1], line);
    }
}

TEST(InfSerializeItems, CarriesASectorsItemsToAnotherLevel) {
    CDataInf source;
    AddItem(source, "level", "", -1, {"class:\tlevel"});
    AddItem(source, "sector", "door", -1, {"class:\televator door", "message:\t1 door m_trigger"});
    AddItem(source, "sector", "other", -1, {"class:\televator basic"});
    AddItem(source, "line", "door", 2, {"class:\ttrigger", "client:\tdoor"});
    const auto stored = [&](std::string_view name) {
        RecordArchive store(RecordArchive::Context{});
        SerializeItemsOfSector(source, store, name, "");
        return store.bytes();
    };
    const std::vector<std::uint8_t> bytes = stored("door");

    CDataInf target;
    AddItem(target, "level", "", -1, {"class:\tlevel"});
    RecordArchive load(bytes, RecordArchive::Context{});
    SerializeItemsOfSector(target, load, "door", "Door_3");
    EXPECT_TRUE(load.AtEnd());
    ASSERT_EQ(target.m_pItems.size(), 3u);
    EXPECT_EQ(target.m_pItems[1]->m_strName, "door_3");
    EXPECT_EQ(target.m_pItems[1]->m_Lines,
              (Strings{"class:\televator door", "message:\t1 door_3 m_trigger"}));
    EXPECT_EQ(std::tie(target.m_pItems[2]->m_strType, target.m_pItems[2]->m_nNum), std::tuple("line", 2));
    EXPECT_EQ(target.m_pItems[2]->m_Lines, (Strings{"class:\ttrigger", "client:\tdoor_3"}));

    // A cut archive adds nothing.
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 3);
    RecordArchive damaged(cut, RecordArchive::Context{});
    EXPECT_THROW(SerializeItemsOfSector(target, damaged, "door", "x"), FormatError);
    EXPECT_EQ(target.m_pItems.size(), 3u);

    // An unnamed sector carries no items, though the level item's name is empty too.
    const std::vector<std::uint8_t> none = stored("");
    RecordArchive loadNone(none, RecordArchive::Context{});
    SerializeItemsOfSector(target, loadNone, "", "");
    EXPECT_TRUE(loadNone.AtEnd());
    EXPECT_EQ(target.m_pItems.size(), 3u);
}

} // namespace
} // namespace morvi
