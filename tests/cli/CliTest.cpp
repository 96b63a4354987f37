// Runs morvi-cli as a user would, one smoke test per command: what it writes and prints, its exit
// status, and on failure an error naming the file and nothing written. Each test has a scratch
// folder of its own, so that the tests run in parallel.
#include "core/resources/PictureHelpers.h"
#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/GobArchive.h"
#include "gamefiles/LevelArchive.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "resources/BmFile.h"
#include "resources/FilmFile.h"
#include "resources/SpriteConverter.h"
#include "resources/WaxFile.h"
#include "support/LevelBuilders.h"
#include "support/SpriteWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace morvi {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::ColumnsOf;
constexpr std::size_t npos = std::string::npos;

struct Result {
    int exit = -1;
    std::string out, err;
};

class MorviCli : public ::testing::Test {
protected:
    void SetUp() override {
        m_Dir = fs::temp_directory_path() / ("morvi-cli-test-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_Dir);
        fs::create_directories(m_Dir);
    }
    void TearDown() override { fs::remove_all(m_Dir); }

    // prefix goes in front of the program (an environment, a wrapper such as xvfb-run).
    Result Run(const std::string& args, const std::string& prefix = "") {
        const std::string command = prefix + MORVI_CLI_PATH + " " + args + " 2>" + P("stderr.txt");
        Result r;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return r;
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
            r.out.append(buf, n);
        const int status = pclose(pipe);
        r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = Read("stderr.txt");
        return r;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(m_Dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    Bytes ReadBytes(const std::string& name) const {
        const std::string text = Read(name);
        return Bytes(text.begin(), text.end());
    }
    void Write(const std::string& name, std::string_view text) {
        fs::create_directories((m_Dir / name).parent_path());
        std::ofstream(m_Dir / name, std::ios::binary) << text;
    }
    void Write(const std::string& name, const Bytes& bytes) {
        Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    std::string P(const std::string& name) const { return (m_Dir / name).string(); }

    // Two adjoined rooms "door" and "hall" on layer 1, an INF item on the door and an object in
    // each room, saved as a GOB.
    std::string MakeLevelGob(const std::string& name, void (*edit)(CDataLevel&) = nullptr) {
        CDataLevel level;
        testing::BuildTwoRooms(level);
        level.m_Lev.m_pSectors[0]->m_strName = "door";
        level.m_Lev.m_pSectors[1]->m_strName = "hall";
        for (auto& s : level.m_Lev.m_pSectors)
            s->m_nLayer = 1;
        testing::AddItem(level.m_Inf, "sector", "door", -1, {"class:\televator move_floor", "slave:\tdoor"});
        for (double x : {10.0, 100.0}) {
            auto object = std::make_unique<CDataObjectItem>();
            object->m_dX = x;
            object->m_dZ = 20;
            SetObjectDataIndex(level.m_Objects, *object);
            level.m_Objects.m_pObjects.push_back(std::move(object));
        }
        if (edit) edit(level);
        for (const char* member : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"})
            EXPECT_TRUE(level.AddMember(member, {}));
        level.m_LevelNames = {"SECBASE"};
        EXPECT_TRUE(SaveLevelFile(level, P(name)));
        return P(name);
    }

    fs::path m_Dir;
};

TEST_F(MorviCli, Gob) {
    Write("a.txt", "alpha");
    Write("b.bm", std::string(300, 'b'));
    const std::string gob = P("x.gob");
    ASSERT_EQ(Run("gob create " + gob + " " + P("a.txt") + " " + P("b.bm")).exit, 0);
    EXPECT_EQ(
        Run("gob list --json " + gob).out,
        "[{\"name\":\"A.TXT\",\"offset\":8,\"size\":5},{\"name\":\"B.BM\",\"offset\":13,\"size\":300}]\n");
    fs::create_directories(m_Dir / "out");
    ASSERT_EQ(Run("gob extract " + gob + " b.bm --to " + P("out")).exit, 0);
    EXPECT_EQ(Read("out/B.BM"), std::string(300, 'b'));
    EXPECT_FALSE(fs::exists(m_Dir / "out" / "A.TXT"));
    Write("c.voc", "sound");
    ASSERT_EQ(Run("gob add " + gob + " " + P("c.voc") + " --as=NEW.VOC").exit, 0);
    ASSERT_EQ(Run("gob remove " + gob + " A.TXT").exit, 0);
    EXPECT_NE(Run("gob list " + gob).out.find("2 members, 305 bytes"), npos);
    EXPECT_NE(Run("gob list --json " + gob).out.find("{\"name\":\"NEW.VOC\""), npos);

    // Nothing is added when one of the files is refused.
    const std::string before = Read("x.gob");
    Write("waytoolongname.txt", "?");
    EXPECT_EQ(Run("gob add " + gob + " " + P("c.voc") + " " + P("waytoolongname.txt")).exit, 1);
    EXPECT_EQ(Read("x.gob"), before);
    Write("bad.gob", "GOB\n\xff\xff\xff\x7f");
    const Result bad = Run("gob list " + P("bad.gob"));
    EXPECT_EQ(bad.exit, 1);
    EXPECT_NE(bad.err.find("bad.gob"), npos) << bad.err;
    // A hand-made archive whose one member, of four bytes at 8, is called "../EVIL".
    Write("evil.gob",
          std::string("GOB\n\x0c\0\0\0evil\x01\0\0\0\x08\0\0\0\x04\0\0\0../EVIL\0\0\0\0\0\0", 37));
    EXPECT_EQ(Run("gob extract " + P("evil.gob") + " --to " + P("out")).exit, 1);
    EXPECT_FALSE(fs::exists(m_Dir / "EVIL"));
}

TEST_F(MorviCli, GobMerge) {
    const std::string a = MakeLevelGob("a.gob");
    // Its files are still named after the level it was copied from.
    const std::string b = MakeLevelGob("b.gob", [](CDataLevel& l) { l.m_Lev.m_strLevelName = "TALAY"; });
    Result r = Run("gob merge " + P("out.gob") + " " + a + " " + a);
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("both hold the level SECBASE"), npos) << r.err;
    EXPECT_FALSE(fs::exists(m_Dir / "out.gob"));
    r = Run("gob merge " + P("out.gob") + " " + a + " " + b);
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("6 members, levels SECBASE, TALAY"), npos) << r.out;
    r = Run("level info --json --level TALAY " + P("out.gob"));
    EXPECT_NE(r.out.find("\"sectors\":2"), npos) << r.out << r.err;
}

TEST_F(MorviCli, Level) {
    const std::string gob = MakeLevelGob("two.gob");
    Result r = Run("level info --json " + gob);
    ASSERT_EQ(r.exit, 0) << r.err;
    for (const char* field :
         {"\"current\":\"SECBASE\"", "\"sectors\":2", "\"walls\":8", "\"objects\":2", "\"inf_items\":1"})
        EXPECT_NE(r.out.find(field), npos) << field << " in " << r.out;

    ASSERT_EQ(Run("level convert " + gob + " " + P("two.mrv")).exit, 0);
    ASSERT_EQ(Run("level convert " + P("two.mrv") + " " + P("back.gob")).exit, 0);
    EXPECT_EQ(Read("back.gob"), Read("two.gob"));
    r = Run("level convert " + gob + " " + P("two.txt"));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("Unexpected file format."), npos) << r.err;
    EXPECT_FALSE(fs::exists(m_Dir / "two.txt"));

    // Findings and differences exit with 1, files that cannot be read with 2.
    EXPECT_EQ(Run("level check " + gob).out, gob + ": no problems found\n");
    r = Run("level check --json " + MakeLevelGob("bad.gob", [](CDataLevel& l) {
                l.m_Lev.m_pSectors[1]->m_pWalls[3]->m_nMirror = 0;
            }));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(
        r.out.find("\"kind\":\"wall\",\"problem\":\"broken_reference\",\"severity\":\"error\",\"sector\":1,"
                   "\"wall\":3"),
        npos)
        << r.out;
    EXPECT_EQ(Run("level diff " + gob + " " + P("two.mrv")).out, "no differences\n");
    r = Run("level diff " + gob + " " +
            MakeLevelGob("low.gob", [](CDataLevel& l) { l.m_Lev.m_pSectors[1]->m_dFloorAltitude = -8.0; }));
    EXPECT_EQ(
        std::tie(r.exit, r.out),
        std::tuple(
            1, "sector 1 hall: floor altitude 0.00 -> -8.00\n1 difference: 0 added, 0 removed, 1 changed\n"));
    Write("junk.gob", "GOB\n\xff\xff\xff\x7f");
    r = Run("level diff " + gob + " " + P("junk.gob"));
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("junk.gob"), npos) << r.err;

    r = Run("level render " + gob + " " + P("map.png") + " --size 320x200 --zoom-to-fit");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Read("map.png").substr(16, 8), std::string("\0\0\x01\x40\0\0\0\xc8", 8)); // IHDR width, height

    // One frame of the 3D view needs a display; the command says so rather than failing inside Qt.
    const std::string view3d = "level view3d " + gob + " " + P("view.png") + " --demo --size 96x64";
    EXPECT_EQ(Run(view3d + " --from 1,2,3").exit, 2);
    r = Run(view3d, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ");
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("xvfb-run"), npos) << r.err;
    if (std::system("command -v xvfb-run >/dev/null") == 0) {
        r = Run(view3d + " --from 32,6,32,90,-0.5", "xvfb-run -a ");
        ASSERT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(Read("view.png").substr(16, 8), std::string("\0\0\0\x60\0\0\0\x40", 8));
    }
}

// The INF checker's findings name item and line; the round trip reports a line its page would
// write with another meaning; the item list tells which page loads each line.
TEST_F(MorviCli, Inf) {
    const std::string gob = MakeLevelGob("inf.gob", [](CDataLevel& l) {
        testing::AddItem(l.m_Inf, "line", "hall", 1,
                         {"class:\ttrigger", "client:\tdoor", "client:\tgone", "key:\tgreen", "wobble:\t1"});
    });
    Result r = Run("inf check --json " + gob);
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.out.find("{\"item\":1,\"line\":2,\"message\":\"INF item 1 (line hall 1) line 3"), npos)
        << r.out;
    EXPECT_NE(r.out.find("\"roundtrip\":[]"), npos) << r.out;
    r = Run("inf check --roundtrip --json " + gob);
    EXPECT_NE(r.out.find("{\"item\":1,\"line\":2,\"before\":\"client:\\tgone\",\"after\":\"client:\\t\"}"),
              npos)
        << r.out;
    EXPECT_EQ(r.out.find("\"before\":\"client:\\tdoor\""), npos) << r.out;
    r = Run("inf items --json " + gob);
    ASSERT_EQ(r.exit, 0) << r.err;
    for (const char* part : {"{\"index\":1,\"sector\":\"hall\",\"wall\":1,\"class\":\"trigger\",\"lines\":[",
                             "{\"text\":\"client:\\tdoor\",\"page\":\"Trigger\"}",
                             "{\"text\":\"wobble:\\t1\",\"page\":\"kept as text\"}"})
        EXPECT_NE(r.out.find(part), npos) << part << " in " << r.out;
    EXPECT_EQ(Run("inf check " + MakeLevelGob("sound.gob")).out, P("sound.gob") + ": no problems found\n");
}

TEST_F(MorviCli, Lib) {
    const std::string gob = MakeLevelGob("level.gob");
    Result r = Run("lib extract " + gob + " --sectors 0 " + P("door.lib"));
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, P("door.lib") + ": 1 sector with their islands\n");
    r = Run("lib insert " + gob + " " + P("door.lib") + " " + P("out.gob") + " --at -100,50.5 --layer 3");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, P("out.gob") + ": 1 sectors and 1 objects added\n");
    CMorviDoc doc;
    ASSERT_TRUE(LoadDocument(doc, P("out.gob"), [](const auto&, int current) { return current; }));
    const CDataLevel& level = doc.level();
    EXPECT_TRUE(checkLevel(level).empty());
    ASSERT_EQ(level.m_Lev.m_pSectors.size(), 3u);
    // The door's corners average (32, 32): it moves by (-132, 18.5), and its object with it.
    const CDataSector& pasted = *level.m_Lev.m_pSectors[2];
    EXPECT_EQ(
        std::tie(pasted.m_strName, pasted.m_nLayer, pasted.m_pVertices[0]->m_dX, pasted.m_pVertices[0]->m_dZ),
        std::tuple("door-1", 3, -132.0, 18.5));
    ASSERT_EQ(level.m_Objects.m_pObjects.size(), 3u);
    EXPECT_EQ(level.m_Objects.m_pObjects[2]->m_dX, -122.0);

    Write("cut.lib", Read("door.lib").substr(0, Read("door.lib").size() / 2));
    r = Run("lib insert " + gob + " " + P("cut.lib") + " " + P("cut.gob"));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("cut.lib: The data is damaged"), npos) << r.err;
    EXPECT_FALSE(fs::exists(m_Dir / "cut.gob"));
}

TEST_F(MorviCli, LfdAndFlm) {
    Write("intro.plt", std::string(32, 'p'));
    Write("logo.dlt", "delt");
    ASSERT_EQ(Run("lfd create " + P("x.lfd") + " " + P("intro.plt") + " " + P("logo.dlt")).exit, 0);
    // The map holds two 16-byte records after its 16-byte header; each member has its own header.
    EXPECT_EQ(Run("lfd list --json " + P("x.lfd")).out,
              "[{\"name\":\"intro\",\"type\":\"PLTT\",\"offset\":64,\"size\":32},"
              "{\"name\":\"logo\",\"type\":\"DELT\",\"offset\":112,\"size\":4}]\n");
    ASSERT_EQ(Run("lfd extract " + P("x.lfd") + " LOGO.DLT --to " + P("out")).exit, 0);
    EXPECT_EQ(Read("out/logo.dlt"), "delt");
    Write("theme.gmd", "midi");
    ASSERT_EQ(Run("lfd add " + P("x.lfd") + " " + P("theme.gmd")).exit, 0);
    EXPECT_NE(Run("lfd list " + P("x.lfd")).out.find("GMID theme"), npos);
    Write("notes.txt", "?");
    const std::string before = Read("x.lfd");
    const Result refused = Run("lfd add " + P("x.lfd") + " " + P("notes.txt"));
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.err.find("notes.txt"), npos) << refused.err;
    EXPECT_EQ(Read("x.lfd"), before);

    FilmFile film = MakeNewFilm();
    std::vector<FilmCommandRow> rows(2);
    rows[0].m_strName = "MOVE";
    rows[0].m_strParams[0] = "5";
    rows[0].m_strParams[1] = "-7";
    rows[1].m_strName = "END";
    ASSERT_TRUE(RebuildFilmBlock(film.m_Blocks[0], rows));
    ASSERT_TRUE(WriteFilmFile(film, m_Dir / "a.flm"));
    const Result dump = Run("flm dump " + P("a.flm"));
    ASSERT_EQ(dump.exit, 0);
    EXPECT_NE(dump.out.find("1 blocks\nVIEW untitled"), npos) << dump.out;
    EXPECT_NE(dump.out.find("  MOVE 5 -7\n  END\n"), npos) << dump.out;
    Write("bad.flm", "xx");
    const Result bad = Run("flm dump " + P("bad.flm"));
    EXPECT_EQ(bad.exit, 1);
    EXPECT_NE(bad.err.find("bad.flm"), npos) << bad.err;
}

TEST_F(MorviCli, Res) {
    GobArchive gob;
    ASSERT_TRUE(gob.AddMember("wall.bm", Bytes{1, 2, 3}));
    ASSERT_TRUE(gob.AddMember("README", Bytes{'h', 'i'}));
    ASSERT_TRUE(WriteGobFile(gob, m_Dir / "t.gob"));
    EXPECT_EQ(Run("res list --json " + P("t.gob")).out,
              "[{\"name\":\"WALL.BM\",\"type\":\"BM\",\"offset\":8,\"size\":3},"
              "{\"name\":\"README\",\"type\":\"\",\"offset\":11,\"size\":2}]\n");
    ASSERT_EQ(Run("res extract " + P("t.gob") + " Wall.Bm " + P("wall.out")).exit, 0);
    EXPECT_EQ(ReadBytes("wall.out"), (Bytes{1, 2, 3}));
    Write("keep.out", "old");
    const Result missing = Run("res extract " + P("t.gob") + " NONE.BM " + P("keep.out"));
    EXPECT_EQ(missing.exit, 1);
    EXPECT_EQ(Read("keep.out"), "old");

    // Pictures keep their indices through BMP and PNG; frames are picked from sprites.
    const IndexedImage picture = testing::PictureOf(37, 21, [](int c, int r) { return c * 7 + r * 13 + 5; });
    Bytes bm;
    ASSERT_TRUE(EncodeBm(picture, kBmRunLength, bm));
    Write("in.bm", bm);
    ASSERT_EQ(Run("res convert " + P("in.bm") + " " + P("a.bmp")).exit, 0);
    ASSERT_EQ(Run("res convert " + P("a.bmp") + " " + P("b.png")).exit, 0);
    ASSERT_EQ(Run("res convert " + P("b.png") + " " + P("c.bm") + " --compression 2").exit, 0);
    std::vector<IndexedImage> frames;
    ASSERT_TRUE(DecodeBm(ReadBytes("c.bm"), "c.bm", GamePalette(), false, frames));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(ColumnsOf(frames[0]), ColumnsOf(picture));

    const IndexedImage first = testing::Numbered(8, 16, 1), second = testing::Numbered(4, 6, 2);
    WaxEncoder wax;
    const int c0 = wax.AddCell(first, true), c1 = wax.AddCell(second, false);
    wax.AddState(1, 1, 5, {wax.AddView({wax.AddFrame(c0, 0, 0, false)})});
    wax.AddState(1, 1, 5, {0, wax.AddView({wax.AddFrame(c0, 1, 1, false), wax.AddFrame(c1, 2, 2, true)})});
    Write("s.wax", testing::WaxBytes(wax));
    ASSERT_EQ(Run("res convert " + P("s.wax") + " " + P("w.bmp") + " --state 1 --view 1 --frame 1").exit, 0);
    IndexedImage bmp;
    ASSERT_TRUE(bmp.ReadBmp(ReadBytes("w.bmp"), "w.bmp"));
    EXPECT_EQ(ColumnsOf(bmp), ColumnsOf(second));
}

TEST_F(MorviCli, Wax) {
    const IndexedImage a = testing::Numbered(12, 20, 1, true), b = testing::Numbered(7, 9, 2, true);
    WaxEncoder writer;
    const int ca = writer.AddCell(a, true), cb = writer.AddCell(b, false);
    writer.AddState(5, 8, 12,
                    std::vector<int>(32, writer.AddView({writer.AddFrame(ca, -6, 20, false),
                                                         writer.AddFrame(cb, -3, 9, true)})));
    writer.AddState(5, 8, 0, {writer.AddView({writer.AddFrame(cb, 0, 0, false)})});
    Write("t.wax", testing::WaxBytes(writer));
    Write("cells/notes.txt", "mine");
    Write("cells/cell0007.bmp", "stale");
    ASSERT_EQ(Run("wax export " + P("t.wax") + " " + P("cells")).exit, 0);
    EXPECT_EQ(Read("cells/notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(m_Dir / "cells" / "cell0007.bmp"));
    ASSERT_EQ(Run("wax build " + P("cells") + " " + P("back.wax")).exit, 0);
    WaxWalk original, rebuilt;
    ASSERT_TRUE(WalkWax(ReadBytes("t.wax"), "t.wax", original));
    ASSERT_TRUE(WalkWax(ReadBytes("back.wax"), "back.wax", rebuilt));
    rebuilt.m_Map.m_CellComp = original.m_Map.m_CellComp; // cells are built back plain
    EXPECT_EQ(rebuilt.m_Map, original.m_Map);

    Write("cells/schema.map", "#Generated by someone else\n");
    const Result refused = Run("wax build " + P("cells") + " " + P("new.wax"));
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.err.find("Cannot create WAX file\ndue to illegal map file."), npos) << refused.err;
    EXPECT_FALSE(fs::exists(m_Dir / "new.wax"));

    // From BMP files alone: the pictures of an animated texture.
    fs::create_directories(m_Dir / "in");
    for (const auto& [name, picture] : {std::pair{"in/a.bmp", &a}, std::pair{"in/b.bmp", &b}}) {
        Bytes bmp;
        ASSERT_TRUE(picture->WriteBmp(bmp));
        Write(name, bmp);
    }
    ASSERT_EQ(Run("wax build " + P("in") + " " + P("anim.bm")).exit, 0);
    std::vector<IndexedImage> pictures;
    ASSERT_TRUE(DecodeBm(ReadBytes("anim.bm"), "anim.bm", GamePalette(), false, pictures));
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(ColumnsOf(pictures[1]), ColumnsOf(b));
}

TEST_F(MorviCli, LevelShowAndSet) {
    const std::string gob = MakeLevelGob("two.gob"), mrv = P("two.mrv");
    // Typed as the pane takes them: stored negated, rounded and upper case, shown back as typed.
    Result r =
        Run("level set " + gob + " " + mrv + " --sector HALL floor-altitude=3.456 floor-texture=Stone.bm");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "sector 1 hall: 2 fields set\n");
    EXPECT_NE(Run("level diff " + gob + " " + mrv).out.find("sector 1 hall: floor altitude 0.00 -> -3.46"),
              npos);
    r = Run("level show " + mrv + " --sector 1");
    for (const char* line :
         {"Sector 1\nname: hall\n", "\nfloor-altitude: 3.46\n", "\nfloor-texture: stone.bm\n"})
        EXPECT_NE(r.out.find(line), npos) << line << " in " << r.out;

    // OUT may be IN; further sectors take the first one's textures; a rename reaches the INF item.
    r = Run("level set " + mrv + " " + mrv + " --sector door --sector 1 name=Gate ceiling-texture=sky.bm");
    ASSERT_EQ(std::tie(r.exit, r.out), std::tuple(0, "sector 0 door (and 1 more): 2 fields set\n")) << r.err;
    ASSERT_EQ(Run("level set " + mrv + " " + mrv + " --object 1 'logic=logic:\ttroop\neye:\ttrue'").exit, 0);
    EXPECT_NE(
        Run("level show " + mrv + " --object 1").out.find("\nlogic:\n    logic:\ttroop\n    eye:\ttrue\n"),
        npos);
    CMorviDoc doc;
    ASSERT_TRUE(LoadDocument(doc, mrv, [](const auto&, int current) { return current; }));
    const CDataLevel& level = doc.level();
    const CDataInfItem& item = *level.m_Inf.m_pItems.back();
    EXPECT_EQ(std::tie(item.m_strName, item.m_Lines[1]), std::tuple("gate", "slave:\tgate"));
    for (const auto& s : level.m_Lev.m_pSectors)
        EXPECT_EQ(level.m_Lev.GetTextureName(s->m_CeilingTexture.m_nTexture), "SKY.BM");

    // Refused values, unknown fields and missing items: nothing written, the message names the file.
    const std::string set = "level set " + gob + " " + P("no.gob");
    const std::tuple<std::string, int, std::string> refused[] = {
        {set + " --sector 0 floor-altitude=2 layer=11", 1,
         gob + ": layer: Please enter an integer between -10 and 10."},
        {set + " --vertex 0:0 y=5", 2, "(fields: x, z)"},
        {set + " --sector 99 layer=1", 2, gob + ": there is no sector 99"},
        {"level show " + gob + " --wall 1:4", 2, gob + ": there is no wall 1:4"},
    };
    for (const auto& [command, code, message] : refused) {
        r = Run(command);
        EXPECT_EQ(r.exit, code) << command;
        EXPECT_NE(r.err.find(message), npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(m_Dir / "no.gob"));
}

} // namespace
} // namespace morvi
