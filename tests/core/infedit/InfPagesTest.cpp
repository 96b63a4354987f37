#include "infedit/InfPages.h"

#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

const InfVocabulary kVocabulary{{"door1", "elev2", "Lift"}, {"door.voc", "wind.voc"}};

CDataInfItem Item(std::string type, std::vector<std::string> lines) {
    CDataInfItem item;
    item.m_strType = std::move(type);
    item.m_strName = "door1";
    item.m_Lines = std::move(lines);
    return item;
}

TEST(InfPages, TriggerEntityMaskWritesStarForAllThree) {
    struct Case {
        std::uint32_t entities;
        std::string written;
    };
    const Case cases[] = {
        {0x80000009u, "*"}, {0x80000000u, "2147483648"}, {0, ""}, {9, "9"}, {0x80000001u, "2147483649"}};
    for (const Case& c : cases) {
        TriggerFields fields;
        fields.m_nEntities = c.entities;
        EXPECT_EQ(TriggerControlChanged(fields, TriggerControl::EntityMask).m_strValue, c.written)
            << c.entities;
    }
    const CDataInfItem item =
        Item("line", {"class:\ttrigger", "entity_mask:\t*", "client:\tELEV2", "client:\tgone"});
    const TriggerFields loaded = LoadTrigger(item, kVocabulary);
    EXPECT_EQ(loaded.m_nEntities, kAllInfEntities);
    EXPECT_EQ(loaded.m_Clients, std::vector<std::string>{"elev2"});
}

TEST(InfPages, EventMaskBoxAndEventListWriteOneLine) {
    for (const bool trigger : {false, true}) {
        ElevatorFields elevator;
        TriggerFields triggerFields;
        const auto change = [&](bool box, std::uint32_t events, bool list) {
            if (trigger) {
                triggerFields.m_bEventMask = box;
                triggerFields.m_nEvents = events;
                return TriggerControlChanged(triggerFields,
                                             list ? TriggerControl::EventList : TriggerControl::EventMaskBox);
            }
            elevator.m_bEventMask = box;
            elevator.m_nEvents = events;
            return ElevatorControlChanged(elevator,
                                          list ? ElevatorControl::EventList : ElevatorControl::EventMaskBox);
        };
        const auto box = [&] { return trigger ? triggerFields.m_bEventMask : elevator.m_bEventMask; };
        InfLineEdit edit = change(true, 0, false);
        EXPECT_EQ(edit.m_strKeyword, "event_mask:");
        EXPECT_EQ(edit.m_strValue, "0");
        edit = change(true, 4 | 256, true);
        EXPECT_EQ(edit.m_strValue, "260");
        EXPECT_TRUE(box());
        edit = change(true, 512, false); // checking the box again deselects every event
        EXPECT_EQ(edit.m_strValue, "0");
        edit = change(false, 0, false);
        EXPECT_EQ(edit.m_strValue, "");
        edit = change(true, 0, true); // no event left: the line goes and the box is cleared
        EXPECT_EQ(edit.m_strValue, "");
        EXPECT_FALSE(box());
    }
}

TEST(InfPages, StopLinesLoadAndWriteBackTheSameText) {
    struct Case {
        std::string text;
        StopFields fields;
    };
    const Case cases[] = {
        {"@16 hold", {true, "16", StopKind::Hold, ""}},
        {"0 5", {false, "0", StopKind::Time, "5"}},
        {"-12.5 terminate", {false, "-12.5", StopKind::Terminate, ""}},
        {"door1 complete", {false, "door1", StopKind::Complete, ""}},
        {"3 Hold", {false, "3", StopKind::Time, "Hold"}}, // the kind words are matched exactly
        {"@2 ", {true, "2", StopKind::Time, ""}},
    };
    for (const Case& c : cases) {
        const StopFields loaded = LoadStop(c.text, kVocabulary);
        EXPECT_EQ(loaded, c.fields) << c.text;
        EXPECT_EQ(WriteStop(loaded).m_strValue, c.text);
    }
    EXPECT_EQ(LoadStop("@5", kVocabulary), (StopFields{true, "", StopKind::None, ""}));
}

TEST(InfPages, MessageLinesLoadIntoTheirFields) {
    const MessageFields written{"1", "door1", "3", 2, "2", ""};
    EXPECT_EQ(WriteMessage(written).m_strValue, "1 door1(3) goto_stop 2");
    EXPECT_EQ(LoadMessage("1 door1(3) goto_stop 2", kVocabulary), written);
    struct Case {
        std::string text;
        MessageFields fields;
        std::string written;
    };
    const Case cases[] = {
        {"1 elev2 next_stop", {"1", "elev2", "", 0, "", ""}, "1 elev2 next_stop"},
        {"goto_stop 1", {"", "", "", 2, "1", ""}, "goto_stop 1"},
        {"lift wakeup", {"", "Lift", "", 5, "", ""}, "Lift wakeup"},
        {"door1(4) m_trigger", {"", "door1", "4", 8, "", ""}, "door1(4) m_trigger"},
        {"0 elev2 set_bits 1 16", {"0", "elev2", "", 10, "1", "16"}, "0 elev2 set_bits 1 16"},
        {"lights", {"", "", "", 11, "", ""}, "lights"},
        {"1 nowhere(2) done", {"1", "", "2", 4, "", ""}, "1 (2) done"},
        {"2 nowhere goto_stop 3", {"2", "", "", -1, "goto_stop", "3"}, "2   goto_stop 3"},
    };
    for (const Case& c : cases) {
        const MessageFields loaded = LoadMessage(c.text, kVocabulary);
        EXPECT_EQ(loaded, c.fields) << c.text;
        EXPECT_EQ(WriteMessage(loaded).m_strValue, c.written) << c.text;
    }
}

TEST(InfPages, MessageSelectionRefusesAnUnnamedSector) {
    MessageFields fields{"1", "elev2", "", 0, "", ""};
    EXPECT_EQ(MessageFromSelectedWall(fields, "", 3, kVocabulary).message(),
              "You must select a named sector.");
    EXPECT_EQ(fields.m_strSector, "elev2");
    EXPECT_TRUE(MessageFromSelectedWall(fields, "DOOR1", 3, kVocabulary).ok());
    EXPECT_EQ(fields.m_strSector + "(" + fields.m_strWall + ")", "door1(3)");
    MessageFromSelectedSector(fields, "lift", kVocabulary);
    EXPECT_EQ(WriteMessage(fields).m_strValue, "1 Lift next_stop");
}

TEST(InfPages, SlavesAreWrittenAsOneListInListOrder) {
    ElevatorFields fields = LoadElevator(
        Item("sector", {"class:\televator move_floor", "slave:\tdoor1", "speed:\t20", "slave:\tgone"}),
        kVocabulary);
    EXPECT_EQ(fields.m_strClass, "elevator move_floor");
    EXPECT_EQ(fields.m_Slaves, std::vector<std::string>{"door1"});
    const std::vector<std::string> chosen{"LIFT", "elev2", "unnamed"};
    fields.m_Slaves = SelectInList(kVocabulary.m_Sectors, chosen);
    const InfLineEdit edit = ElevatorControlChanged(fields, ElevatorControl::Slaves);
    EXPECT_EQ(edit.m_Rule, InfLineEdit::Rule::List);
    EXPECT_EQ(edit.m_strKeyword, "slave:");
    EXPECT_EQ(edit.m_Names, (std::vector<std::string>{"elev2", "Lift"}));
}

TEST(InfPages, PagesForItemsAndRows) {
    struct Case {
        std::string type;
        std::string line;
        std::optional<InfPage> row;
        std::optional<InfPage> item; // for an item of this line alone
    };
    const Case cases[] = {
        {"sector", "class:\televator door", InfPage::Elevator, InfPage::Elevator},
        {"line", "class:\ttrigger switch1", InfPage::Trigger, InfPage::Trigger},
        {"sector", "class:\tteleporter chute", InfPage::Chute, std::nullopt},
        {"sector", "class:\tspirit", std::nullopt, std::nullopt},
        {"sector", "key:\tred", InfPage::Elevator, std::nullopt},
        {"sector", "event_mask:\t3", InfPage::Elevator, std::nullopt},
        {"line", "event_mask:\t3", InfPage::Trigger, std::nullopt},
        {"level", "event_mask:\t3", std::nullopt, std::nullopt},
        {"sector", "master:\toff", std::nullopt, std::nullopt},
        {"level", "amb_sound:\twind.voc", InfPage::Level, InfPage::Level},
        {"sector", "sound:\t1 door.voc", InfPage::Sound, std::nullopt},
        {"sector", "text:\t12", InfPage::Text, std::nullopt},
        {"sector", "texture:\t0 1 door1", InfPage::Texture, std::nullopt},
        {"sector", "page:\t0 door.voc", InfPage::Page, std::nullopt},
    };
    for (const Case& c : cases) {
        const CDataInfItem item = Item(c.type, {c.line});
        EXPECT_EQ(PageForLine(item, c.line), c.row) << c.line;
        EXPECT_EQ(PageForItem(item), c.item) << c.line;
    }
}

TEST(InfPages, RoundTripWritesEachLineAsItsPageDoes) {
    const CDataInfItem item =
        Item("sector", {"class:\televator move_floor", "speed:\t", "key:\tgreen", "event_mask:\t*",
                        "adjoin:\t0 door1 3 elev2 5", "sound:\t2 0", "page:\t1 DOOR.VOC", "text:\t107",
                        "texture:\t1 F door1", "amb_sound:\tgone.voc", "target:\tlift", "slave:\telev2"});
    const std::optional<std::string> expected[] = {"class:\televator move_floor",
                                                   "speed:\t",
                                                   "key:\t",
                                                   "event_mask:\t1023",
                                                   "adjoin:\t0 door1 3 elev2 5 ",
                                                   "sound:\t2 0",
                                                   "page:\t1 door.voc",
                                                   "text:\t107",
                                                   "texture:\t1 F door1",
                                                   "amb_sound:\t",
                                                   "target:\tLift",
                                                   "slave:\telev2"};
    for (std::size_t i = 0; i < item.m_Lines.size(); ++i)
        EXPECT_EQ(RoundTripLine(item, i, kVocabulary), expected[i]) << item.m_Lines[i];
    EXPECT_EQ(RoundTripLine(Item("sector", {"class:\tteleporter chute"}), 0, kVocabulary), std::nullopt);
    EXPECT_EQ(RoundTripLine(item, item.m_Lines.size(), kVocabulary), std::nullopt);
}

TEST(InfPages, EverySyntheticLineAPageShowsKeepsItsMeaning) {
    CDataLevel level;
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
    const InfVocabulary vocabulary = MakeInfVocabulary(level, {});
    int shown = 0;
    for (const auto& item : level.m_Inf.m_pItems)
        for (std::size_t i = 0; i < item->m_Lines.size(); ++i) {
            const std::string& line = item->m_Lines[i];
            if (RoundTripLine(*item, i, vocabulary))
                ++shown;
            else
                EXPECT_TRUE(line.starts_with("client:") || line.starts_with("slave:")) << line;
        }
    EXPECT_GT(shown, 10);
    for (const InfRoundTripChange& change : InfRoundTripChanges(level.m_Inf, vocabulary))
        ADD_FAILURE() << change.m_strBefore << " -> " << change.m_strAfter;

    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    for (const Case& c : std::initializer_list<Case>{{"speed:\t8", "speed: 8.00 ", true},
                                                     {"client:\tDoor1", "client:\tdoor1", true},
                                                     {"stop:\t0 hold", "stop:\t0\thold\t", true},
                                                     {"stop:\t0 hold", "stop:\t0", false},
                                                     {"speed:\t8", "speed:\t8.5", false},
                                                     {"key:\tred", "key:\tblue", false}})
        EXPECT_EQ(SameInfMeaning(c.a, c.b), c.same) << c.a << " | " << c.b;
}

TEST(InfPages, VocabularyListsAreSortedAndDistinct) {
    CDataLevel level;
    testing::BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "elev2";
    level.m_Lev.m_pSectors[1]->m_strName = "Door1";
    level.m_Lev.m_pSectors.push_back(testing::MakeSquareSector(level.m_Lev, 2, 0, 100, 10, 110));
    level.m_Lev.m_pSectors[2]->m_strName = "elev2";
    ASSERT_TRUE(level.AddMember("LOCAL.VOC", std::vector<std::uint8_t>(4)).ok());
    const std::vector<std::string> archive{"WIND.VOC", "music.gmd", "local.voc"};
    const InfVocabulary vocabulary = MakeInfVocabulary(level, archive);
    EXPECT_EQ(vocabulary.m_Sectors, (std::vector<std::string>{"Door1", "elev2"}));
    EXPECT_EQ(vocabulary.m_Sounds, (std::vector<std::string>{"local.voc", "wind.voc"}));
}

} // namespace
} // namespace morvi
