#include "infedit/InfChecker.h"

#include "gamefiles/InfFile.h"
#include "model/CDataLevel.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi {
namespace {

using Strings = std::vector<std::string>;

// Each finding as "problem item line: text".
Strings Findings(const CDataLevel& level) {
    Strings texts;
    for (const LevelFinding& f : CheckInf(level))
        texts.push_back(std::string(ProblemKey(f.m_Problem)) + " " + std::to_string(f.m_nItem) + " " +
                        std::to_string(f.m_nLine) + ": " + f.m_strText);
    return texts;
}

// Two rooms, "door" (four walls) and "lift", the lift an elevator of two stops; each INF fault
// once, beside lines that are sound.
TEST(InfChecker, FindsEachBrokenReferenceOnce) {
    CDataLevel level;
    testing::BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    level.m_Lev.m_pSectors[1]->m_strName = "Lift";
    testing::AddItem(level.m_Inf, "sector", "lift", -1,
                     {"class:\televator move_floor", "stop:\t0 hold", "stop:\t8 hold",
                      "message:\t1 door(2) done", "message:\t2 door done", "slave:\tgone",
                      "adjoin:\t0 door 1 lift 9"});
    testing::AddItem(level.m_Inf, "line", "door", 7, {"class:\ttrigger", "wobble:\t1"});
    testing::AddItem(level.m_Inf, "sector", "nowhere", -1, {"class:\televator wobble"});
    testing::AddItem(level.m_Inf, "line", "door", 1,
                     {"class:\ttrigger switch1", "client:\tlift", "message:\tlift goto_stop 5",
                      "message:\tlift goto_stop 1", "message:\tghost(1) done", "message:\tdone"});
    EXPECT_EQ(
        Findings(level),
        (Strings{
            "missing_stop 0 4: INF item 0 (sector lift) line 5 \"message:\t2 door done\": the elevator "
            "\"lift\" has no stop 2 (it has 2)",
            "missing_sector 0 5: INF item 0 (sector lift) line 6 \"slave:\tgone\": no sector is named "
            "\"gone\"",
            "wall_out_of_range 0 6: INF item 0 (sector lift) line 7 \"adjoin:\t0 door 1 lift 9\": sector "
            "\"lift\" has no wall 9 (it has 4)",
            "wall_out_of_range 1 -1: INF item 1 (line door 7): sector \"door\" has no wall 7 (it has 4)",
            "unknown_inf 1 1: INF item 1 (line door 7) line 2 \"wobble:\t1\": no page of the INF editor "
            "knows "
            "\"wobble:\"; the line is kept as text",
            "missing_sector 2 -1: INF item 2 (sector nowhere): no sector is named \"nowhere\"",
            "unknown_inf 2 0: INF item 2 (sector nowhere) line 1 \"class:\televator wobble\": the INF editor "
            "knows no class \"elevator wobble\"",
            "missing_stop 3 2: INF item 3 (line door 1) line 3 \"message:\tlift goto_stop 5\": the "
            "elevator \"lift\" has no stop 5 (it has 2)",
            "missing_sector 3 4: INF item 3 (line door 1) line 5 \"message:\tghost(1) done\": no sector is "
            "named \"ghost\"",
        }));
}

// A seq block that runs into the next item is named by its item, as the reader split the text.
TEST(InfChecker, NamesTheItemWhoseSequenceIsLeftOpen) {
    constexpr std::string_view kText =
        "INF 1.0\r\nLEVELNAME SECBASE\r\nitems 3\r\n"
        "item: sector name: door\r\n\tseq\r\n\t\tclass: elevator move_floor\r\n"
        "\t\tclass: elevator change_light\r\n\tseqend\r\n"
        "item: sector name: door\r\n\tseq\r\n\t\tclass: elevator door\r\n"
        "item: sector name: door\r\n\tseq\r\n\t\tclass: trigger\r\n\tseqend\r\n";
    CDataLevel level;
    testing::BuildRoom(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    level.m_LevelNames = {"SECBASE"};
    ASSERT_TRUE(
        level.AddMember("SECBASE.INF", {reinterpret_cast<const std::uint8_t*>(kText.data()), kText.size()}));
    ReadInf(level.m_Inf, kText);
    ASSERT_EQ(level.m_Inf.m_pItems.size(), 4u);
    EXPECT_EQ(Findings(level),
              Strings{"open_sequence 2 -1: INF item 2 (sector door): its seq block has no seqend "
                      "(text line 9)"});
}

} // namespace
} // namespace morvi
