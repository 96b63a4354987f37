#include "gamefiles/LevFile.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

namespace morvi {
namespace {

std::string Join(std::initializer_list<std::string_view> lines, std::string_view end = "\n") {
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append(end);
    return text;
}

std::string Written(CDataLev& lev) {
    std::string text;
    WriteLev(lev, kGeneratorTitle, text);
    return text;
}

// The header every hand-written text below starts with.
constexpr std::string_view kHeader = "LEV 2.1\nLEVELNAME TEST\nTEXTURES 1\nTEXTURE: A.BM\n";

void ExpectSameTexture(const CDataTexture& a, const CDataTexture& b) {
    EXPECT_EQ(a.m_nTexture, b.m_nTexture);
    EXPECT_DOUBLE_EQ(a.m_dOffsetX, b.m_dOffsetX);
    EXPECT_DOUBLE_EQ(a.m_dOffsetY, b.m_dOffsetY);
    EXPECT_EQ(a.m_nTexFlag, b.m_nTexFlag);
}

void ExpectSameWall(const CDataWall& a, const CDataWall& b) {
    EXPECT_EQ(a.m_nIndex, b.m_nIndex);
    EXPECT_EQ(a.m_nLeft, b.m_nLeft);
    EXPECT_EQ(a.m_nRight, b.m_nRight);
    ExpectSameTexture(a.m_Mid, b.m_Mid);
    ExpectSameTexture(a.m_Top, b.m_Top);
    ExpectSameTexture(a.m_Bottom, b.m_Bottom);
    ExpectSameTexture(a.m_Sign, b.m_Sign);
    EXPECT_EQ(a.m_nAdjoin, b.m_nAdjoin);
    EXPECT_EQ(a.m_nMirror, b.m_nMirror);
    EXPECT_EQ(a.m_nWalk, b.m_nWalk);
    EXPECT_EQ(a.m_nFlags1, b.m_nFlags1);
    EXPECT_EQ(a.m_nFlags2, b.m_nFlags2);
    EXPECT_EQ(a.m_nFlags3, b.m_nFlags3);
    EXPECT_EQ(a.m_nLight, b.m_nLight);
}

void ExpectSameSector(const CDataSector& a, const CDataSector& b) {
    EXPECT_EQ(a.m_nIndex, b.m_nIndex);
    EXPECT_EQ(a.m_strName, b.m_strName);
    EXPECT_EQ(a.m_nAmbient, b.m_nAmbient);
    ExpectSameTexture(a.m_FloorTexture, b.m_FloorTexture);
    ExpectSameTexture(a.m_CeilingTexture, b.m_CeilingTexture);
    EXPECT_DOUBLE_EQ(a.m_dFloorAltitude, b.m_dFloorAltitude);
    EXPECT_DOUBLE_EQ(a.m_dCeilingAltitude, b.m_dCeilingAltitude);
    EXPECT_DOUBLE_EQ(a.m_dSecondAltitude, b.m_dSecondAltitude);
    EXPECT_EQ(a.m_nFlags1, b.m_nFlags1);
    EXPECT_EQ(a.m_nFlags2, b.m_nFlags2);
    EXPECT_EQ(a.m_nFlags3, b.m_nFlags3);
    EXPECT_EQ(a.m_nLayer, b.m_nLayer);
    ASSERT_EQ(a.m_pVertices.size(), b.m_pVertices.size());
    for (std::size_t i = 0; i < a.m_pVertices.size(); ++i) {
        EXPECT_DOUBLE_EQ(a.m_pVertices[i]->m_dX, b.m_pVertices[i]->m_dX);
        EXPECT_DOUBLE_EQ(a.m_pVertices[i]->m_dZ, b.m_pVertices[i]->m_dZ);
    }
    ASSERT_EQ(a.m_pWalls.size(), b.m_pWalls.size());
    for (std::size_t i = 0; i < a.m_pWalls.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "wall " << i);
        ExpectSameWall(*a.m_pWalls[i], *b.m_pWalls[i]);
    }
}

void ExpectSameLev(const CDataLev& a, const CDataLev& b) {
    EXPECT_EQ(a.m_strLevelName, b.m_strLevelName);
    EXPECT_EQ(a.m_strPalette, b.m_strPalette);
    EXPECT_EQ(a.m_strMusic, b.m_strMusic);
    EXPECT_DOUBLE_EQ(a.m_dParallax1, b.m_dParallax1);
    EXPECT_DOUBLE_EQ(a.m_dParallax2, b.m_dParallax2);
    EXPECT_EQ(a.m_strAuthor, b.m_strAuthor);
    ASSERT_EQ(a.m_Textures.size(), b.m_Textures.size());
    for (std::size_t i = 0; i < a.m_Textures.size(); ++i) {
        EXPECT_EQ(a.m_Textures[i].m_nIndex, b.m_Textures[i].m_nIndex);
        EXPECT_EQ(a.m_Textures[i].m_strName, b.m_Textures[i].m_strName);
    }
    ASSERT_EQ(a.m_pSectors.size(), b.m_pSectors.size());
    for (std::size_t i = 0; i < a.m_pSectors.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "sector " << i);
        ExpectSameSector(*a.m_pSectors[i], *b.m_pSectors[i]);
    }
}

// Two adjoined rooms with a value in every field that a careless format would lose.
void BuildVariedLevel(CDataLevel& level) {
    testing::BuildTwoRooms(level);
    CDataLev& lev = level.m_Lev;
    lev.m_strLevelName = "TALAY";
    lev.m_strPalette = "TALAY.PAL";
    lev.m_strMusic = "STALK-01.GMD";
    lev.m_dParallax1 = 1234.5678;
    lev.m_dParallax2 = -0.0625;
    lev.m_strAuthor = "Level Team North";
    CDataSector& s = *lev.m_pSectors[1];
    s.m_strName = "elev.door-a_very_long_sector_name";
    s.m_nAmbient = 31;
    s.m_FloorTexture = {};
    s.m_FloorTexture.m_nTexture = 2;
    s.m_FloorTexture.m_dOffsetX = -12.25;
    s.m_FloorTexture.m_dOffsetY = 3.07;
    s.m_FloorTexture.m_nTexFlag = 5;
    s.m_dFloorAltitude = -4.5;
    s.m_dCeilingAltitude = -36.75;
    s.m_dSecondAltitude = 2.01;
    s.m_nFlags1 = INT_MIN + 8;
    s.m_nFlags2 = 65536;
    s.m_nFlags3 = -1;
    s.m_nLayer = -2;
    s.m_pVertices[2]->m_dX = -2047.99;
    CDataWall& w = *s.m_pWalls[2];
    w.m_Mid.m_dOffsetX = 123.45;
    w.m_Top.m_dOffsetY = -0.01;
    w.m_Bottom.m_nTexFlag = 17;
    w.m_Sign.m_nTexture = 1;
    w.m_Sign.m_dOffsetX = 7.5;
    w.m_nFlags1 = 2048;
    w.m_nFlags3 = INT_MIN;
    w.m_nLight = -4;
}

TEST(LevFile, WritesTheExactText) {
    CDataLevel level;
    testing::BuildRoom(level);
    CDataLev& lev = level.m_Lev;
    lev.m_strVersion = "9.9";
    lev.m_strAuthor = "Level Team North";
    lev.m_dParallax2 = 512.5;
    lev.m_Textures.emplace_back(3, "LONGTEXTURENAME1.BM");
    CDataSector& s = *lev.m_pSectors[0];
    s.m_strName = "start";
    s.m_FloorTexture.m_dOffsetX = 1.25;
    s.m_FloorTexture.m_dOffsetY = -3.5;
    s.m_FloorTexture.m_nTexFlag = 2;
    s.m_dSecondAltitude = 1.5;
    s.m_nFlags1 = INT_MIN;
    s.m_nLayer = 1;
    CDataWall& w = *s.m_pWalls[0];
    w.m_Mid.m_dOffsetX = 100.5;
    w.m_Mid.m_dOffsetY = -2.25;
    w.m_Mid.m_nTexFlag = 1;
    w.m_Sign.m_nTexture = 3;
    w.m_Sign.m_dOffsetX = 0.5;
    w.m_nLight = -4;
    s.m_pWalls[2]->m_nFlags1 = 8;
    for (auto& wall : s.m_pWalls)
        wall->m_nIndex = 7;

    const std::string plainWall = "MID:   2  0.00  0.00  0 TOP:   2  0.00  0.00  0 BOT:   2  0.00  0.00  0 "
                                  "SIGN:  -1  0.00  0.00 ADJOIN:  -1 MIRROR:  -1 WALK:  -1 ";
    const std::string expected =
        "LEV 2.1\r\n#\r\n# Generated by Morvi Version 3.20\r\n"
        "# Copyright (c) Level Team North\r\n# Author: Level Team North\r\n"
        "#\r\n# General Level Information\r\n# -------------------------\r\n#\r\n"
        "LEVELNAME SECBASE\r\nPALETTE   SECBASE.PAL\r\nMUSIC     AVENGE.GMD\r\n"
        "PARALLAX  1024.0000 512.5000\r\n"
        "#\r\n# Texture Table\r\n# -------------\r\n#\r\n"
        "TEXTURES 4\r\n"
        "TEXTURE: IF3.BM         # 00\r\n"
        "TEXTURE: IPBIGLT.BM     # 01\r\n"
        "TEXTURE: RWRWALL1.BM    # 02\r\n"
        "TEXTURE: LONGTEXTURENAME1.BM # 03\r\n"
        "#\r\n# Sector Definitions\r\n# ------------------\r\n#\r\n"
        "NUMSECTORS 1\r\n"
        "#\r\n"
        "SECTOR 0\r\n"
        " NAME               start\r\n"
        " AMBIENT            20\r\n"
        " FLOOR TEXTURE      0 1.25 -3.50 2\r\n"
        " FLOOR ALTITUDE     0.00\r\n"
        " CEILING TEXTURE    1 0.00 0.00 0\r\n"
        " CEILING ALTITUDE   -16.00\r\n"
        " SECOND ALTITUDE    1.50\r\n"
        " FLAGS              -2147483648 0 0\r\n"
        " LAYER              1\r\n"
        " VERTICES 4\r\n"
        "  X:     0.00 Z:     0.00 # 0\r\n"
        "  X:    64.00 Z:     0.00 # 1\r\n"
        "  X:    64.00 Z:    64.00 # 2\r\n"
        "  X:     0.00 Z:    64.00 # 3\r\n"
        " WALLS 4\r\n"
        "  WALL LEFT:   0 RIGHT:   1 MID:   2 100.50 -2.25  1 TOP:   2  0.00  0.00  0 "
        "BOT:   2  0.00  0.00  0 SIGN:   3  0.50  0.00 ADJOIN:  -1 MIRROR:  -1 WALK:  -1 "
        "FLAGS:  0  0  0 LIGHT: -4\r\n"
        "  WALL LEFT:   1 RIGHT:   2 " +
        plainWall + "FLAGS:  0  0  0 LIGHT: 0\r\n" + "  WALL LEFT:   2 RIGHT:   3 " + plainWall +
        "FLAGS:  8  0  0 LIGHT: 0\r\n" + "  WALL LEFT:   3 RIGHT:   0 " + plainWall +
        "FLAGS:  0  0  0 LIGHT: 0\r\n" + "#\r\n";
    EXPECT_EQ(Written(lev), expected);
    for (std::size_t i = 0; i < s.m_pWalls.size(); ++i)
        EXPECT_EQ(s.m_pWalls[i]->m_nIndex, static_cast<int>(i));

    // Without an author the copyright and author lines are left out.
    lev.m_strAuthor.clear();
    EXPECT_EQ(Written(lev).substr(0, 53), "LEV 2.1\r\n#\r\n# Generated by Morvi Version 3.20\r\n#\r\n# G");
}

TEST(LevFile, ReadWriteReadKeepsEveryField) {
    CDataLevel level;
    BuildVariedLevel(level);
    testing::BuildRoomWithPillar(level); // appends two more sectors, numbered 0 and 1 by the builder
    for (std::size_t i = 0; i < level.m_Lev.m_pSectors.size(); ++i)
        level.m_Lev.m_pSectors[i]->m_nIndex = static_cast<int>(i);
    const std::string text = Written(level.m_Lev);

    CDataLev read;
    TextNotes notes;
    ReadLev(read, text, &notes);
    ExpectSameLev(level.m_Lev, read);
    EXPECT_EQ(read.m_strVersion, "2.1");
    EXPECT_TRUE(notes.empty()) << notes.front().m_strText;
    EXPECT_EQ(Written(read), text);
}

TEST(LevFile, AuthorCommentIsCapitalisedWordByWord) {
    CDataLev lev;
    ReadLev(lev, "LEV 2.1\n# AUTHOR: LEVEL TEAM NORTH\n");
    EXPECT_EQ(lev.m_strAuthor, "Level Team North");
    // Without the colon the word itself marks the author; tabs part words too. Bytes above 127
    // (a CP437 accent) pass through unchanged.
    ReadLev(lev, "#  made by the author  \tjOHN\tren\x82 o'BRIEN\n");
    EXPECT_EQ(lev.m_strAuthor, "John\tRen\x82 O'brien");
    // Other comments leave it alone.
    ReadLev(lev, "# Generated by Morvi Version 3.20\n# Copyright (c) nobody\n");
    EXPECT_EQ(lev.m_strAuthor, "John\tRen\x82 O'brien");
}

TEST(LevFile, LineEndsAndEndOfFileMarksReadAlike) {
    CDataLevel level;
    BuildVariedLevel(level);
    const std::string crlf = Written(level.m_Lev);
    std::string lf;
    for (char c : crlf)
        if (c != '\r') lf.push_back(c);
    const std::string cp437 = "LEV 2.1\r\n# Niveau cr\x82\x82 \xb0\xb1\xb2 \x81"
                              "ber\r\n" +
                              crlf.substr(9);
    const std::string variants[] = {lf, crlf + "\x1a", lf.substr(0, lf.size() - 1), cp437,
                                    crlf.substr(0, crlf.size() - 2) + "\x1a"};
    for (const std::string& text : variants) {
        CDataLev read;
        ReadLev(read, text);
        ExpectSameLev(level.m_Lev, read);
    }
}

TEST(LevFile, HeaderVariantsFromTheField) {
    CDataLev lev;
    ReadLev(lev, Join({" LEV 2.1", "levelname\tSECBASE # the first one", "Palette SECBASE.PAL", "/* a block",
                       "MUSIC NONE.GMD", "comment */", "PARALLAX 1024.5 12.1234", "TEXTURES 6",
                       "TEXTURE: IF3.BM # 00", "texture: if3", "TEXTURE: # 02", "TEXTURE:\tTABBED.BM\t# 03",
                       "TEXTURE:NOBLANK.BM", "TEXTURE: HASH.BM#05", "NUMSECTORS 0"}));
    EXPECT_EQ(lev.m_strVersion, "2.1");
    EXPECT_EQ(lev.m_strLevelName, "SECBASE");
    EXPECT_EQ(lev.m_strPalette, "SECBASE.PAL");
    EXPECT_EQ(lev.m_strMusic, "AVENGE.GMD");
    EXPECT_DOUBLE_EQ(lev.m_dParallax1, 1024.5);
    EXPECT_DOUBLE_EQ(lev.m_dParallax2, 12.1234);
    const char* names[] = {"IF3.BM", "if3", "", "TABBED.BM", "NOBLANK.BM", "HASH.BM"};
    ASSERT_EQ(lev.m_Textures.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lev.m_Textures[static_cast<std::size_t>(i)].m_strName, names[i]);
        EXPECT_EQ(lev.m_Textures[static_cast<std::size_t>(i)].m_nIndex, i);
    }
}

TEST(LevFile, SectorLinesFromTheField) {
    CDataLev lev;
    ReadLev(lev, std::string(kHeader) +
                     Join({"NUMSECTORS 1", "SECTOR 0 # the start", "  name\tdoor-1.a_name_longer_than_16",
                           "\tAMBIENT 31", " FLOOR TEXTURE 0 1.5 -2 3 # floor", " CEILING ALTITUDE -24.25",
                           " SECOND ALTITUDE 2", " FLAGS 4294967295 2147483648 -2147483648", " FRICTION 1",
                           " VERTICES 3", "  X: 1.25 Z: -2.5 # 0", "  X:\t3\tZ:\t4", "  X:-5 Z:6.125#2",
                           " WALLS 0"}));
    ASSERT_EQ(lev.m_pSectors.size(), 1u);
    const CDataSector& s = *lev.m_pSectors[0];
    EXPECT_EQ(s.m_strName, "door-1.a_name_longer_than_16");
    EXPECT_EQ(s.m_nAmbient, 31);
    EXPECT_EQ(s.m_FloorTexture.m_nTexture, 0);
    EXPECT_DOUBLE_EQ(s.m_FloorTexture.m_dOffsetX, 1.5);
    EXPECT_DOUBLE_EQ(s.m_FloorTexture.m_dOffsetY, -2.0);
    EXPECT_EQ(s.m_FloorTexture.m_nTexFlag, 3);
    EXPECT_DOUBLE_EQ(s.m_dCeilingAltitude, -24.25);
    EXPECT_DOUBLE_EQ(s.m_dSecondAltitude, 2.0);
    // Flag words written unsigned keep their bits.
    EXPECT_EQ(s.m_nFlags1, -1);
    EXPECT_EQ(s.m_nFlags2, INT_MIN);
    EXPECT_EQ(s.m_nFlags3, INT_MIN);
    ASSERT_EQ(s.m_pVertices.size(), 3u);
    const double xz[3][2] = {{1.25, -2.5}, {3, 4}, {-5, 6.125}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(s.m_pVertices[i]->m_dX, xz[i][0]);
        EXPECT_DOUBLE_EQ(s.m_pVertices[i]->m_dZ, xz[i][1]);
    }
}

TEST(LevFile, WallLinesFromTheField) {
    CDataLev lev;
    ReadLev(lev,
            std::string(kHeader) +
                Join({"NUMSECTORS 1", "SECTOR 0", "WALLS 5",
                      // Integer offsets and LIGHT glued to its value.
                      "  WALL LEFT: 0 RIGHT: 1 MID: 2 1 -3 4 TOP: 5 0 0 0 BOT: 6 0 0 0 SIGN: -1 0 0 "
                      "ADJOIN: 7 MIRROR: 8 WALK: 9 FLAGS: 10 11 12 LIGHT:-4",
                      "# WALL lines may be separated by comments, even ones naming a WALL", "",
                      // One flag fewer, a sign flag more, tabs and lower-case labels.
                      "\twall left:\t3 right: 4 mid: 2 0.50 0.25 1 top: 2 0.00 0.00 0 bot: 2 0.00 0.00 0 "
                      "sign: 0 1.00 2.00 9 adjoin: 1 mirror: 2 walk: 1 flags: 32 0 light: 5 # trailing",
                      "  NOT A WALL LINE: 99",
                      // Only the first two groups: the missing ones keep their defaults.
                      "  WALL LEFT: 1 RIGHT: 2",
                      // A label without numbers reads them as 0.
                      "  WALL LEFT: 2 RIGHT: 0 MID: ADJOIN: FLAGS: 4294967295",
                      "  WALL LEFT: 5 RIGHT: 6 MID: 3 0.5 LIGHT-7"}));
    ASSERT_EQ(lev.m_pSectors.size(), 1u);
    const auto& walls = lev.m_pSectors[0]->m_pWalls;
    ASSERT_EQ(walls.size(), 5u);
    for (std::size_t i = 0; i < walls.size(); ++i)
        EXPECT_EQ(walls[i]->m_nIndex, static_cast<int>(i));

    const CDataWall& a = *walls[0];
    EXPECT_EQ(a.m_Mid.m_nTexture, 2);
    EXPECT_DOUBLE_EQ(a.m_Mid.m_dOffsetX, 1.0);
    EXPECT_DOUBLE_EQ(a.m_Mid.m_dOffsetY, -3.0);
    EXPECT_EQ(a.m_Mid.m_nTexFlag, 4);
    EXPECT_EQ(a.m_Top.m_nTexture, 5);
    EXPECT_EQ(a.m_Bottom.m_nTexture, 6);
    EXPECT_EQ(a.m_Sign.m_nTexture, -1);
    EXPECT_EQ(a.m_nAdjoin, 7);
    EXPECT_EQ(a.m_nMirror, 8);
    EXPECT_EQ(a.m_nWalk, 9);
    EXPECT_EQ(a.m_nFlags1, 10);
    EXPECT_EQ(a.m_nFlags2, 11);
    EXPECT_EQ(a.m_nFlags3, 12);
    EXPECT_EQ(a.m_nLight, -4);

    const CDataWall& b = *walls[1];
    EXPECT_EQ(b.m_nLeft, 3);
    EXPECT_EQ(b.m_nRight, 4);
    EXPECT_DOUBLE_EQ(b.m_Mid.m_dOffsetY, 0.25);
    EXPECT_EQ(b.m_Sign.m_nTexture, 0);
    EXPECT_DOUBLE_EQ(b.m_Sign.m_dOffsetY, 2.0);
    EXPECT_EQ(b.m_Sign.m_nTexFlag, 0);
    EXPECT_EQ(b.m_nAdjoin, 1);
    EXPECT_EQ(b.m_nFlags1, 32);
    EXPECT_EQ(b.m_nFlags3, 0);
    EXPECT_EQ(b.m_nLight, 5);

    const CDataWall& c = *walls[2];
    EXPECT_EQ(c.m_nLeft, 1);
    EXPECT_EQ(c.m_Mid.m_nTexture, -1);
    EXPECT_EQ(c.m_nAdjoin, -1);
    EXPECT_EQ(c.m_nMirror, -1);

    const CDataWall& d = *walls[3];
    EXPECT_EQ(d.m_Mid.m_nTexture, 0);
    EXPECT_EQ(d.m_nAdjoin, 0);
    EXPECT_EQ(d.m_nMirror, -1);
    EXPECT_EQ(d.m_nFlags1, -1);

    EXPECT_EQ(walls[4]->m_Mid.m_nTexture, 3);
    EXPECT_DOUBLE_EQ(walls[4]->m_Mid.m_dOffsetX, 0.5);
    EXPECT_EQ(walls[4]->m_nLight, -7);
}

TEST(LevFile, SectorNumbersFollowThePosition) {
    CDataLev lev;
    TextNotes notes;
    ReadLev(lev,
            std::string(kHeader) + Join({"NUMSECTORS 4", "SECTOR 0", "WALLS 0", "SECTOR 0", "NAME twin",
                                         "WALLS 0", "SECTOR 7", "WALLS 0", "NAME unnumbered", "WALLS 0"}),
            &notes);
    ASSERT_EQ(lev.m_pSectors.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lev.m_pSectors[i]->m_nIndex, static_cast<int>(i));
    EXPECT_EQ(lev.m_pSectors[1]->m_strName, "twin");
    EXPECT_EQ(lev.m_pSectors[3]->m_strName, "unnumbered");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].m_nLine, 8);
    EXPECT_EQ(notes[0].m_strText, "SECTOR 0 stands at position 1");
    EXPECT_EQ(notes[1].m_nLine, 11);
    EXPECT_EQ(notes[1].m_strText, "SECTOR 7 stands at position 2");
    EXPECT_EQ(notes[2].m_nLine, 13);
}

TEST(LevFile, OmittedSectorLinesKeepTheDefaults) {
    CDataLev lev;
    ReadLev(lev,
            std::string(kHeader) + Join({"NUMSECTORS 1", "SECTOR 0", "NAME", "FLOOR ALTITUDE 3", "WALLS 0"}));
    ASSERT_EQ(lev.m_pSectors.size(), 1u);
    const CDataSector& s = *lev.m_pSectors[0];
    ExpectSameSector(s, [] {
        CDataSector expected;
        expected.m_dFloorAltitude = 3.0;
        return expected;
    }());
    EXPECT_EQ(s.m_FloorTexture.m_nTexture, -1);
    EXPECT_EQ(s.m_CeilingTexture.m_nTexture, -1);
}

TEST(LevFile, TruncatedTextKeepsWhatWasRead) {
    CDataLevel level;
    BuildVariedLevel(level);
    const std::string text = Written(level.m_Lev);

    // Cut inside sector 1, in the middle of its second wall line.
    const std::size_t sector1 = text.find("SECTOR 1");
    const std::size_t cut = text.find("MID:", text.find("WALL LEFT:   1", sector1));
    CDataLev lev;
    ReadLev(lev, text.substr(0, cut + 4));
    ASSERT_EQ(lev.m_pSectors.size(), 2u);
    ExpectSameSector(*level.m_Lev.m_pSectors[0], *lev.m_pSectors[0]);
    const CDataSector& s = *lev.m_pSectors[1];
    EXPECT_EQ(s.m_strName, "elev.door-a_very_long_sector_name");
    EXPECT_EQ(s.m_pVertices.size(), 4u);
    ASSERT_EQ(s.m_pWalls.size(), 2u);
    ExpectSameWall(*level.m_Lev.m_pSectors[1]->m_pWalls[0], *s.m_pWalls[0]);
    EXPECT_EQ(s.m_pWalls[1]->m_nRight, 2);
    EXPECT_EQ(s.m_pWalls[1]->m_Mid.m_nTexture, 0);
    EXPECT_EQ(s.m_pWalls[1]->m_Top.m_nTexture, -1);

    // Cut inside sector 0: the announced count is still met, with an empty sector 1.
    CDataLev early;
    TextNotes notes;
    ReadLev(early, text.substr(0, text.find(" WALLS", text.find("SECTOR 0"))), &notes);
    ASSERT_EQ(early.m_pSectors.size(), 2u);
    EXPECT_EQ(early.m_pSectors[0]->m_pVertices.size(), 4u);
    EXPECT_TRUE(early.m_pSectors[0]->m_pWalls.empty());
    EXPECT_EQ(early.m_pSectors[1]->m_nIndex, 1);
    EXPECT_TRUE(early.m_pSectors[1]->m_pVertices.empty());
    ASSERT_FALSE(notes.empty());

    // Every cut: the sectors appear exactly when the NUMSECTORS line does.
    for (std::size_t n = 0; n <= text.size(); ++n) {
        CDataLev part;
        ReadLev(part, std::string_view(text).substr(0, n));
        const bool announced = text.substr(0, n).find("NUMSECTORS 2") != std::string::npos;
        ASSERT_EQ(part.m_pSectors.size(), announced ? 2u : 0u) << "cut at " << n;
    }

    // Nothing to read leaves the LEV part as it was.
    CDataLev untouched;
    ReadLev(untouched, "");
    EXPECT_EQ(untouched.m_strLevelName, "SECBASE");
    EXPECT_DOUBLE_EQ(untouched.m_dParallax1, 1024.0);
}

TEST(LevFile, ListsAnnouncedLongerEndAtTheNextBlock) {
    CDataLev lev;
    TextNotes notes;
    ReadLev(lev,
            Join({"LEV 2.1", "TEXTURES 4", "TEXTURE: A.BM", "TEXTURE: B.BM", "NUMSECTORS 3", "SECTOR 0",
                  "VERTICES 9", "X: 1 Z: 2", "WALLS 6", "WALL LEFT: 0 RIGHT: 0", "SECTOR 1", "NAME nowalls",
                  "SECTOR 2", "WALLS 1", "WALL LEFT: 4 RIGHT: 5", "#", "SECTOR 3", "WALLS 0"}),
            &notes);
    EXPECT_EQ(lev.m_Textures.size(), 2u);
    ASSERT_EQ(lev.m_pSectors.size(), 3u);
    EXPECT_EQ(lev.m_pSectors[0]->m_pVertices.size(), 1u);
    EXPECT_EQ(lev.m_pSectors[0]->m_pWalls.size(), 1u);
    EXPECT_EQ(lev.m_pSectors[1]->m_strName, "nowalls");
    EXPECT_TRUE(lev.m_pSectors[1]->m_pWalls.empty());
    ASSERT_EQ(lev.m_pSectors[2]->m_pWalls.size(), 1u);
    EXPECT_EQ(lev.m_pSectors[2]->m_pWalls[0]->m_nLeft, 4);
    // Short texture, vertex and wall lists, a block without WALLS and the unannounced sector 3.
    EXPECT_EQ(notes.size(), 5u);
}

TEST(LevFile, AbsurdCountsStayWithinTheText) {
    const std::string texts[] = {
        "TEXTURES 2000000000\nTEXTURE: A.BM\n",
        "NUMSECTORS 999999999\nSECTOR 0\nWALLS 0\n",
        "NUMSECTORS 1\nSECTOR 0\nVERTICES 1e9\nX: 1 Z: 2\nX: 3 Z: 4\nWALLS 2000000000\nWALL LEFT: 1\n",
        "NUMSECTORS -5\nSECTOR 0\nVERTICES -3\nWALLS -1\n",
        "NUMSECTORS 2147483647\nSECTOR 0\nVERTICES 99999999999999\n",
    };
    const std::size_t sectors[] = {0, 1, 1, 0, 1};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        CDataLev lev;
        TextNotes notes;
        ReadLev(lev, texts[i], &notes);
        ASSERT_EQ(lev.m_pSectors.size(), sectors[i]) << texts[i];
        for (const auto& s : lev.m_pSectors) {
            EXPECT_LE(s->m_pVertices.capacity(), texts[i].size());
            EXPECT_LE(s->m_pWalls.capacity(), texts[i].size());
        }
        EXPECT_LE(lev.m_Textures.capacity(), texts[i].size());
    }
    // "1e9" is the number 1 by the leading-number rule: one vertex, then an unknown "X" line.
    CDataLev lev;
    ReadLev(lev, texts[2]);
    EXPECT_EQ(lev.m_pSectors[0]->m_pVertices.size(), 1u);
    EXPECT_EQ(lev.m_pSectors[0]->m_pWalls.size(), 1u);
}

} // namespace
} // namespace morvi
