#include "CliFixture.h"

#include "gamefiles/GobArchive.h"
#include "resources/BmFile.h"
#include "resources/FilmFile.h"
#include "resources/LfdArchive.h"
#include "resources/SpriteConverter.h"
#include "resources/WaxFile.h"
#include "support/SpriteWriter.h"

#include <vector>

namespace morvi {
namespace {

// The resource tools, run through the same fixture (one folder per test, so they run in parallel).
class MorviCliResources : public MorviCli {
protected:
    void WriteText(const std::string& name, const std::string& text) {
        MorviCli::WriteText(m_Dir / name, text);
    }
    int Run(const std::string& args, std::string* out = nullptr) {
        Result r = MorviCli::Run(args);
        if (out) *out = r.out;
        return r.exit;
    }
};

TEST_F(MorviCliResources, LfdCreateListExtractAdd) {
    WriteText("intro.plt", std::string(32, 'p'));
    WriteText("logo.dlt", "delt");
    ASSERT_EQ(Run("lfd create " + P("x.lfd") + " " + P("intro.plt") + " " + P("logo.dlt")), 0);
    std::string out;
    ASSERT_EQ(Run("lfd list --json " + P("x.lfd"), &out), 0);
    // The map holds two 16-byte records after its 16-byte header; each member has its own header.
    EXPECT_EQ(out, "[{\"name\":\"intro\",\"type\":\"PLTT\",\"offset\":64,\"size\":32},"
                   "{\"name\":\"logo\",\"type\":\"DELT\",\"offset\":112,\"size\":4}]\n");
    ASSERT_EQ(Run("lfd extract " + P("x.lfd") + " LOGO.DLT --to " + P("out")), 0);
    EXPECT_EQ(ReadText(m_Dir / "out" / "logo.dlt"), "delt");
    WriteText("theme.gmd", "midi");
    ASSERT_EQ(Run("lfd add " + P("x.lfd") + " " + P("theme.gmd")), 0);
    ASSERT_EQ(Run("lfd list " + P("x.lfd"), &out), 0);
    EXPECT_NE(out.find("GMID theme"), std::string::npos) << out;
    EXPECT_NE(out.find("3 members"), std::string::npos) << out;

    WriteText("notes.txt", "?");
    const std::string before = ReadText(m_Dir / "x.lfd");
    EXPECT_EQ(Run("lfd add " + P("x.lfd") + " " + P("notes.txt")), 1);
    EXPECT_EQ(ReadText(m_Dir / "x.lfd"), before);
    EXPECT_EQ(Run("lfd list " + P("notes.txt")), 1);
}

TEST_F(MorviCliResources, FlmDumpShowsBlocksAndCommands) {
    FilmFile film = MakeNewFilm();
    std::vector<FilmCommandRow> rows(2);
    rows[0].m_strName = "MOVE";
    rows[0].m_strParams[0] = "5";
    rows[0].m_strParams[1] = "-7";
    rows[1].m_strName = "END";
    ASSERT_TRUE(RebuildFilmBlock(film.m_Blocks[0], rows));
    ASSERT_TRUE(WriteFilmFile(film, m_Dir / "a.flm"));
    std::string out;
    ASSERT_EQ(Run("flm dump " + P("a.flm"), &out), 0);
    EXPECT_NE(out.find("1 blocks\nVIEW untitled"), std::string::npos) << out;
    EXPECT_NE(out.find("  MOVE 5 -7\n  END\n"), std::string::npos) << out;
    WriteText("bad.flm", "xx");
    EXPECT_EQ(Run("flm dump " + P("bad.flm")), 1);
}

// A picture whose every pixel differs from its neighbours, so that a flip or shift shows.
IndexedImage Pattern(int width, int height, int seed, bool withHeader = false) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, withHeader);
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, r, static_cast<std::uint8_t>((x * 7 + r * 13 + seed) % 256));
    return image;
}

void ExpectSamePixels(const IndexedImage& a, const IndexedImage& b) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    for (int r = 0; r < a.height(); ++r)
        for (int x = 0; x < a.width(); ++x)
            ASSERT_EQ(a.pixel(x, r), b.pixel(x, r)) << "at " << x << "," << r;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

IndexedImage DecodeOneBm(const fs::path& p) {
    std::vector<IndexedImage> frames;
    EXPECT_TRUE(DecodeBm(ReadBytes(p), p.string(), GamePalette(), false, frames));
    EXPECT_EQ(frames.size(), 1u);
    return frames.empty() ? IndexedImage() : std::move(frames[0]);
}

TEST_F(MorviCliResources, ResListAndExtractReadGobAndLfd) {
    GobArchive gob;
    const std::vector<std::uint8_t> wall{1, 2, 3}, notes{'h', 'i'};
    ASSERT_TRUE(gob.AddMember("wall.bm", wall));
    ASSERT_TRUE(gob.AddMember("README", notes));
    ASSERT_TRUE(WriteGobFile(gob, m_Dir / "t.gob"));
    std::string out;
    ASSERT_EQ(Run("res list --json " + P("t.gob"), &out), 0);
    EXPECT_EQ(out, "[{\"name\":\"WALL.BM\",\"type\":\"BM\",\"offset\":8,\"size\":3},"
                   "{\"name\":\"README\",\"type\":\"\",\"offset\":11,\"size\":2}]\n");
    ASSERT_EQ(Run("res extract " + P("t.gob") + " Wall.Bm " + P("wall.out")), 0);
    EXPECT_EQ(ReadBytes(m_Dir / "wall.out"), wall);

    LfdArchive lfd;
    ASSERT_TRUE(lfd.AddMember("PLTT", "intro", notes));
    ASSERT_TRUE(lfd.WriteFile(m_Dir / "x.lfd"));
    ASSERT_EQ(Run("res list " + P("x.lfd"), &out), 0);
    EXPECT_NE(out.find("intro        PLTT"), std::string::npos) << out;
    ASSERT_EQ(Run("res extract " + P("x.lfd") + " INTRO.PLTT " + P("intro.out")), 0);
    EXPECT_EQ(ReadBytes(m_Dir / "intro.out"), notes);

    WriteText("keep.out", "old");
    EXPECT_EQ(Run("res extract " + P("t.gob") + " NONE.BM " + P("keep.out")), 1);
    EXPECT_EQ(ReadText(m_Dir / "keep.out"), "old");
    WriteText("junk.gob", "GOB\n\xff\xff\xff\x7f");
    EXPECT_EQ(Run("res list " + P("junk.gob")), 1);
}

TEST_F(MorviCliResources, ConvertKeepsIndicesThroughBmpAndPng) {
    const IndexedImage picture = Pattern(37, 21, 5);
    std::vector<std::uint8_t> bm;
    ASSERT_TRUE(EncodeBm(picture, kBmRunLength, bm));
    WriteBytes(m_Dir / "in.bm", bm);
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteEntries; ++i)
        palette.SetEntry(i, static_cast<std::uint8_t>(i % 64), 63, 0);
    WriteBytes(m_Dir / "game.pal", std::vector<std::uint8_t>(palette.m_Bytes.begin(), palette.m_Bytes.end()));

    ASSERT_EQ(Run("res convert " + P("in.bm") + " " + P("a.bmp") + " --palette " + P("game.pal")), 0);
    IndexedImage bmp;
    ASSERT_TRUE(bmp.ReadBmp(ReadBytes(m_Dir / "a.bmp"), "a.bmp"));
    ExpectSamePixels(bmp, picture);
    // Colour entry 5 of the BMP (blue, green, red, 0) comes from the palette times four.
    const auto entry = bmp.info().subspan(kBmpInfoHeaderSize + 5 * 4, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(entry.begin(), entry.end()),
              (std::vector<std::uint8_t>{0, 252, 20, 0}));

    ASSERT_EQ(Run("res convert " + P("a.bmp") + " " + P("b.png")), 0);
    ASSERT_EQ(Run("res convert " + P("b.png") + " " + P("c.bm") + " --compression 2"), 0);
    const std::vector<std::uint8_t> c = ReadBytes(m_Dir / "c.bm");
    ASSERT_GE(c.size(), kBmHeaderSize);
    EXPECT_EQ(c[14], kBmZeroRuns);
    ExpectSamePixels(DecodeOneBm(m_Dir / "c.bm"), picture);
}

TEST_F(MorviCliResources, ConvertPicksFramesOfAnimatedPictures) {
    const IndexedImage first = Pattern(8, 16, 1), second = Pattern(8, 16, 2), third = Pattern(4, 6, 3);
    const IndexedImage frames[] = {first, second};
    std::vector<std::uint8_t> multi;
    ASSERT_TRUE(EncodeMultiBm(frames, 10, multi));
    WriteBytes(m_Dir / "anim.bm", multi);
    ASSERT_EQ(Run("res convert " + P("anim.bm") + " " + P("f1.bmp") + " --frame 1"), 0);
    IndexedImage out;
    ASSERT_TRUE(out.ReadBmp(ReadBytes(m_Dir / "f1.bmp"), "f1.bmp"));
    ExpectSamePixels(out, second);
    EXPECT_EQ(Run("res convert " + P("anim.bm") + " " + P("f2.bmp") + " --frame 2"), 1);

    WaxEncoder wax;
    const int c0 = wax.AddCell(first, true), c1 = wax.AddCell(third, false);
    const int v0 = wax.AddView({wax.AddFrame(c0, 0, 0, false)});
    const int v1 = wax.AddView({wax.AddFrame(c0, 1, 1, false), wax.AddFrame(c1, 2, 2, true)});
    wax.AddState(1, 1, 5, {v0});
    wax.AddState(1, 1, 5, {v0, v1});
    WriteBytes(m_Dir / "s.wax", testing::WaxBytes(wax));
    ASSERT_EQ(Run("res convert " + P("s.wax") + " " + P("w.bmp") + " --state 1 --view 1 --frame 1"), 0);
    ASSERT_TRUE(out.ReadBmp(ReadBytes(m_Dir / "w.bmp"), "w.bmp"));
    ExpectSamePixels(out, third);
    Result missing =
        MorviCli::Run("res convert " + P("s.wax") + " " + P("w.bmp") + " --state 1 --view 1 --frame 2");
    EXPECT_EQ(missing.exit, 1);
    EXPECT_NE(missing.err.find("no frame 2"), std::string::npos) << missing.err;
    EXPECT_EQ(Run("res convert " + P("s.wax") + " " + P("w.bmp") + " --frame x"), 2);
    EXPECT_EQ(Run("res convert " + P("s.wax") + " " + P("w.txt")), 1);
}

TEST_F(MorviCliResources, WaxExportThenBuildGivesTheSameSprite) {
    const IndexedImage a = Pattern(12, 20, 1), b = Pattern(7, 9, 2);
    WaxEncoder writer;
    const int ca = writer.AddCell(a, true), cb = writer.AddCell(b, false);
    const int walk = writer.AddView({writer.AddFrame(ca, -6, 20, false), writer.AddFrame(cb, -3, 9, true)});
    const int stand = writer.AddView({writer.AddFrame(cb, 0, 0, false)});
    writer.AddState(5, 8, 12, std::vector<int>(32, walk));
    writer.AddState(5, 8, 0, {stand});
    WriteBytes(m_Dir / "t.wax", testing::WaxBytes(writer));
    WriteText("cells/notes.txt", "mine");
    WriteText("cells/cell0007.bmp", "stale");

    ASSERT_EQ(Run("wax export " + P("t.wax") + " " + P("cells")), 0);
    EXPECT_EQ(ReadText(m_Dir / "cells" / "notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(m_Dir / "cells" / "cell0007.bmp"));
    EXPECT_TRUE(fs::exists(m_Dir / "cells" / "cell0001.bmp"));
    ASSERT_EQ(Run("wax build " + P("cells") + " " + P("back.wax")), 0);

    WaxWalk original, rebuilt;
    ASSERT_TRUE(WalkWax(ReadBytes(m_Dir / "t.wax"), "t.wax", original));
    ASSERT_TRUE(WalkWax(ReadBytes(m_Dir / "back.wax"), "back.wax", rebuilt));
    rebuilt.m_Map.m_CellComp = original.m_Map.m_CellComp; // cells are built back plain
    EXPECT_EQ(rebuilt.m_Map, original.m_Map);
    WaxSelection selection;
    selection.m_nSelectedFrame = 1;
    std::vector<SpriteFrame> frames;
    ASSERT_TRUE(
        DecodeWax(ReadBytes(m_Dir / "back.wax"), "back.wax", GamePalette(), false, selection, frames));
    ASSERT_EQ(frames.size(), 1u);
    ExpectSamePixels(frames[0].m_Image, b);
    EXPECT_TRUE(frames[0].m_bFlip);

    WriteText("cells/schema.map", "#Generated by someone else\n");
    Result refused = MorviCli::Run("wax build " + P("cells") + " " + P("back.wax"));
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.err.find("Cannot create WAX file\ndue to illegal map file."), std::string::npos)
        << refused.err;
}

TEST_F(MorviCliResources, WaxBuildMakesTexturesAndFramesFromBmps) {
    const IndexedImage first = Pattern(16, 32, 4, true), second = Pattern(16, 32, 5, true);
    fs::create_directories(m_Dir / "in");
    for (const auto& [name, picture] : {std::pair{"a.bmp", &first}, std::pair{"b.bmp", &second}}) {
        std::vector<std::uint8_t> bmp;
        ASSERT_TRUE(picture->WriteBmp(bmp));
        WriteBytes(m_Dir / "in" / name, bmp);
    }
    ASSERT_EQ(Run("wax build " + P("in") + " " + P("anim.bm")), 0);
    std::vector<IndexedImage> frames;
    ASSERT_TRUE(DecodeBm(ReadBytes(m_Dir / "anim.bm"), "anim.bm", GamePalette(), false, frames));
    ASSERT_EQ(frames.size(), 2u);
    ExpectSamePixels(frames[0], first);
    ExpectSamePixels(frames[1], second);

    Result converted = MorviCli::Run("res convert " + P("in/b.bmp") + " " + P("b.fme"));
    ASSERT_EQ(converted.exit, 0) << converted.err;
    SpriteFrame fme;
    ASSERT_TRUE(DecodeFme(ReadBytes(m_Dir / "b.fme"), "b.fme", GamePalette(), false, fme));
    ExpectSamePixels(fme.m_Image, second);
    EXPECT_EQ(Run("wax build " + P("in") + " " + P("x.wax")), 1); // no schema.map
    EXPECT_EQ(Run("wax build " + P("nothing") + " " + P("x.bm")), 1);
}

} // namespace
} // namespace morvi
