#include "CliFixture.h"

#include "gamefiles/LevelArchive.h"
#include "support/LevelBuilders.h"

#include <tuple>

namespace morvi {
namespace {

class MorviLevelCli : public MorviCli {
protected:
    // A two-room level saved as a GOB with its LEV, O and INF members.
    std::string MakeLevelGob(const std::string& name, void (*edit)(CDataLevel&) = nullptr) {
        CDataLevel level;
        testing::BuildTwoRooms(level);
        if (edit) edit(level);
        for (const char* member : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"})
            EXPECT_TRUE(level.AddMember(member, {}));
        level.m_LevelNames = {"SECBASE"};
        EXPECT_TRUE(SaveLevelFile(level, P(name)));
        return P(name);
    }
};

TEST_F(MorviCli, GobToolsCreateListExtractAddRemove) {
    WriteText(m_Dir / "a.txt", "alpha");
    WriteText(m_Dir / "b.bm", std::string(300, 'b'));
    ASSERT_EQ(Run("gob create " + P("x.gob") + " " + P("a.txt") + " " + P("b.bm")).exit, 0);

    Result list = Run("gob list --json " + P("x.gob"));
    ASSERT_EQ(list.exit, 0) << list.err;
    EXPECT_EQ(
        list.out,
        "[{\"name\":\"A.TXT\",\"offset\":8,\"size\":5},{\"name\":\"B.BM\",\"offset\":13,\"size\":300}]\n");

    fs::create_directories(m_Dir / "out");
    ASSERT_EQ(Run("gob extract " + P("x.gob") + " b.bm --to " + P("out")).exit, 0);
    EXPECT_EQ(ReadText(m_Dir / "out" / "B.BM"), std::string(300, 'b'));
    EXPECT_FALSE(fs::exists(m_Dir / "out" / "A.TXT"));

    WriteText(m_Dir / "c.voc", "sound");
    ASSERT_EQ(Run("gob add " + P("x.gob") + " " + P("c.voc") + " --as NEW.VOC").exit, 0);
    ASSERT_EQ(Run("gob remove " + P("x.gob") + " A.TXT").exit, 0);
    list = Run("gob list " + P("x.gob"));
    EXPECT_EQ(list.out.find("A.TXT"), std::string::npos);
    EXPECT_NE(list.out.find("NEW.VOC"), std::string::npos);
    EXPECT_NE(list.out.find("2 members, 305 bytes"), std::string::npos);
}

TEST_F(MorviCli, GobErrorsNameTheFileAndKeepIt) {
    WriteText(m_Dir / "bad.gob", "GOB\n\xff\xff\xff\x7f");
    Result r = Run("gob list " + P("bad.gob"));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("bad.gob"), std::string::npos) << r.err;

    WriteText(m_Dir / "a.txt", "alpha");
    ASSERT_EQ(Run("gob create " + P("x.gob") + " " + P("a.txt")).exit, 0);
    const std::string before = ReadText(m_Dir / "x.gob");
    r = Run("gob add " + P("x.gob") + " " + P("a.txt") + " --as WAYTOOLONGNAME.TXT");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(ReadText(m_Dir / "x.gob"), before);
    EXPECT_EQ(Run("gob remove " + P("x.gob") + " NOPE.TXT").exit, 1);
    EXPECT_EQ(Run("gob frobnicate").exit, 2);
    EXPECT_EQ(Run("gob list").exit, 2);
}

TEST_F(MorviCli, ExtractRefusesNamesThatLeaveTheFolder) {
    // A hand-made archive whose one member is called "../EVIL": the index at 12 lists one member of
    // four bytes at 8.
    const std::string gob("GOB\n\x0c\0\0\0evil\x01\0\0\0\x08\0\0\0\x04\0\0\0../EVIL\0\0\0\0\0\0", 37);
    WriteText(m_Dir / "evil.gob", gob);
    fs::create_directories(m_Dir / "out");
    const Result r = Run("gob extract " + P("evil.gob") + " --to " + P("out"));
    EXPECT_EQ(r.exit, 1);
    EXPECT_FALSE(fs::exists(m_Dir / "EVIL"));
}

TEST_F(MorviLevelCli, LevelInfoJsonAndPlain) {
    const std::string gob = MakeLevelGob("two.gob");
    const Result r = Run("level info --json " + gob);
    ASSERT_EQ(r.exit, 0) << r.err;
    for (const char* field :
         {"\"levels\":[\"SECBASE\"]", "\"current\":\"SECBASE\"", "\"sectors\":2", "\"walls\":8",
          "\"vertices\":8", "\"objects\":0", "\"inf_items\":0", "\"textures\":3"})
        EXPECT_NE(r.out.find(field), std::string::npos) << field << " in " << r.out;
    const Result plain = Run("level info " + gob);
    EXPECT_NE(plain.out.find("Sectors:   2"), std::string::npos) << plain.out;
}

TEST_F(MorviLevelCli, LevelCheckReportsFindingsAndRepairsWithExitStatus) {
    const std::string good = MakeLevelGob("good.gob");
    const Result clean = Run("level check " + good);
    EXPECT_EQ(std::tie(clean.exit, clean.out), std::tuple(0, good + ": no problems found\n")) << clean.err;

    const std::string bad = MakeLevelGob(
        "bad.gob", [](CDataLevel& level) { level.m_Lev.m_pSectors[1]->m_pWalls[3]->m_nMirror = 0; });
    const Result broken = Run("level check --json " + bad);
    EXPECT_EQ(broken.exit, 1);
    EXPECT_NE(broken.out.find("\"kind\":\"wall\",\"sector\":1,\"wall\":3"), std::string::npos) << broken.out;

    // A LEV whose only sector calls itself 7: the game goes by position, the reader notes it.
    WriteText(m_Dir / "SECBASE.LEV",
              "LEV 2.1\r\nLEVELNAME SECBASE\r\nTEXTURES 0\r\nNUMSECTORS 1\r\nSECTOR 7\r\n"
              " VERTICES 3\r\n  X: 0 Z: 0\r\n  X: 8 Z: 0\r\n  X: 0 Z: 8\r\n WALLS 3\r\n"
              "  WALL LEFT: 0 RIGHT: 1\r\n  WALL LEFT: 1 RIGHT: 2\r\n  WALL LEFT: 2 RIGHT: 0\r\n");
    ASSERT_EQ(Run("gob create " + P("noted.gob") + " " + P("SECBASE.LEV")).exit, 0);
    const Result r = Run("level check " + P("noted.gob"));
    EXPECT_EQ(r.exit, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("note: SECBASE.LEV line 5:"), std::string::npos) << r.out;
    const Result json = Run("level check --json " + P("noted.gob"));
    EXPECT_NE(json.out.find("\"notes\":[{\"member\":\"SECBASE.LEV\",\"line\":5,"), std::string::npos)
        << json.out;
}

TEST_F(MorviLevelCli, ConvertBetweenGobAndDocumentKeepsTheLevel) {
    const std::string gob = MakeLevelGob("two.gob");
    ASSERT_EQ(Run("level convert " + gob + " " + P("two.mrv")).exit, 0);
    ASSERT_EQ(Run("level convert " + P("two.mrv") + " " + P("back.gob")).exit, 0);
    EXPECT_EQ(ReadText(m_Dir / "back.gob"), ReadText(m_Dir / "two.gob"));
    ASSERT_EQ(Run("level roundtrip " + gob + " " + P("again.gob")).exit, 0);
    EXPECT_EQ(ReadText(m_Dir / "again.gob"), ReadText(m_Dir / "two.gob"));

    const Result wrong = Run("level convert " + gob + " " + P("two.txt"));
    EXPECT_EQ(wrong.exit, 1);
    EXPECT_NE(wrong.err.find("Unexpected file format."), std::string::npos) << wrong.err;
    const Result noLevel = Run("level info --level TALAY " + gob);
    EXPECT_EQ(noLevel.exit, 1);
    EXPECT_NE(noLevel.err.find("no level TALAY"), std::string::npos) << noLevel.err;
}

TEST_F(MorviLevelCli, LevelDiffReportsChangesWithExitStatus) {
    const std::string a = MakeLevelGob("a.gob");
    ASSERT_EQ(Run("level convert " + a + " " + P("a.mrv")).exit, 0);
    const Result same = Run("level diff " + a + " " + P("a.mrv"));
    EXPECT_EQ(std::tie(same.exit, same.out), std::tuple(0, "no differences\n")) << same.err;

    const std::string b =
        MakeLevelGob("b.gob", [](CDataLevel& level) { level.m_Lev.m_pSectors[1]->m_dFloorAltitude = -8.0; });
    const Result changed = Run("level diff " + P("a.mrv") + " " + b);
    EXPECT_EQ(
        std::tie(changed.exit, changed.out),
        std::tuple(1,
                   "sector 1: floor altitude 0.00 -> -8.00\n1 difference: 0 added, 0 removed, 1 changed\n"));
    const Result json = Run("level diff --json " + a + " " + b);
    EXPECT_EQ(json.exit, 1);
    EXPECT_NE(
        json.out.find("\"same\":false,\"changes\":[{\"kind\":\"changed\",\"part\":\"sector\",\"a\":1,\"b\":1,"
                      "\"field\":\"floor altitude\",\"before\":\"0.00\",\"after\":\"-8.00\""),
        std::string::npos)
        << json.out;

    // A file that cannot be read is an error, never a difference.
    WriteText(m_Dir / "bad.gob", "GOB\n\xff\xff\xff\x7f");
    for (const std::string& args : {a + " " + P("bad.gob"), P("missing.gob") + " " + a}) {
        const Result r = Run("level diff " + args);
        EXPECT_EQ(r.exit, 2) << args;
        EXPECT_NE(r.err.find(args.find("bad") != std::string::npos ? "bad.gob" : "missing.gob"),
                  std::string::npos)
            << r.err;
    }
    EXPECT_EQ(Run("level diff " + a).exit, 2);
}

TEST_F(MorviLevelCli, RenderDrawsTheMapAsPngOrSvg) {
    const std::string gob = MakeLevelGob("two.gob");
    Result png = Run("level render " + gob + " " + P("map.png") + " --size 320x200 --zoom-to-fit");
    ASSERT_EQ(png.exit, 0) << png.err;
    const std::string bytes = ReadText(m_Dir / "map.png");
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    // Width and height are the big-endian words of the IHDR chunk.
    EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\x01\x40\0\0\0\xc8", 8));
    EXPECT_NE(png.out.find("primitives"), std::string::npos);

    ASSERT_EQ(Run("level render " + gob + " " + P("map.svg") + " --tool ambiance --all-layers").exit, 0);
    const std::string svg = ReadText(m_Dir / "map.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("polyline"), std::string::npos) << svg.substr(0, 400); // the walls

    EXPECT_EQ(Run("level render " + gob + " " + P("map.png") + " --size 12").exit, 2);
    EXPECT_EQ(Run("level render " + gob + " " + P("map.png") + " --tool sparkle").exit, 2);
    EXPECT_EQ(Run("level render " + gob + " " + P("map.bmp")).exit, 1);
}

} // namespace
} // namespace morvi
