#include "mapedit/MapCommands.h"

#include "support/EngineView.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi {
namespace {

using testing::BuildTwoRooms;
using testing::EngineView;

// The enabled commands, as a string of ids, for a mode and selection over the two adjoined rooms.
std::string Enabled(int mode, const std::vector<CMapSelItem>& selection,
                    const ClipboardBuffer& clipboard = {}) {
    EngineView v(mode, BuildTwoRooms);
    v.Select(selection);
    std::string ids;
    for (MapCommand c : {MapCommand::Insert, MapCommand::Delete, MapCommand::Cut, MapCommand::Copy,
                         MapCommand::Paste, MapCommand::Link, MapCommand::Unlink, MapCommand::Extrude,
                         MapCommand::FlipLeft, MapCommand::Distribution, MapCommand::Alignment,
                         MapCommand::CreateDoor, MapCommand::CreateCylinder, MapCommand::LibrarySave})
        if (IsMapCommandEnabled(v.engine, c, clipboard)) ids += std::to_string(static_cast<int>(c)) + " ";
    return ids;
}

TEST(MapCommands, EnableRulesFollowModeAndSelection) {
    // Sector mode, nothing selected: insert, the cylinder and library load only.
    EXPECT_EQ(Enabled(kModeSector, {}), "32809 32865 ");
    // One sector: link is off because its wall 1 is adjoined; every sector tool but distribution.
    EXPECT_EQ(Enabled(kModeSector, {{0, -1, -1, -1}}), "32809 32810 57635 57634 32825 32830 32873 ");
    // Wall mode: one adjoined wall can be unlinked and extruded (which then refuses), not linked.
    EXPECT_EQ(Enabled(kModeWall, {{0, 1, -1, -1}}), "32809 32810 57635 32816 32831 ");
    EXPECT_EQ(Enabled(kModeWall, {{0, 0, -1, -1}}), "32809 32810 57635 32815 32831 ");
    // Two walls of different sectors: passages and alignment; of one sector: alignment only.
    EXPECT_EQ(Enabled(kModeWall, {{0, 0, -1, -1}, {1, 2, -1, -1}}), "32810 57635 32830 32857 ");
    EXPECT_EQ(Enabled(kModeWall, {{0, 0, -1, -1}, {0, 2, -1, -1}}), "32810 57635 32830 ");
    // Paste follows the clipboard, in any mode.
    EXPECT_EQ(Enabled(kModeObject, {}), "32809 ");
    ClipboardBuffer clipboard;
    EngineView source(kModeSector, BuildTwoRooms);
    source.Select({{1, -1, -1, -1}});
    Copy(source.engine, clipboard);
    EXPECT_EQ(Enabled(kModeObject, {}, clipboard), "32809 57637 ");
}

TEST(MapCommands, ConfirmationsOnlyForCutFlipAndQuickRotations) {
    EXPECT_STREQ(MapCommandConfirmation(MapCommand::Cut),
                 "Are you sure you want to delete\nthe selected items?");
    EXPECT_STREQ(MapCommandConfirmation(MapCommand::FlipTop),
                 "Are you sure you want to flip\nthe selected items?");
    EXPECT_STREQ(MapCommandConfirmation(MapCommand::RotateRight),
                 "Are you sure you want to rotate\nthe selected items?");
    EXPECT_EQ(MapCommandConfirmation(MapCommand::Delete), nullptr);
    EXPECT_EQ(MapCommandConfirmation(MapCommand::FlipAndRotate), nullptr);
}

} // namespace
} // namespace morvi
