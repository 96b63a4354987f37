#include "model/RecordArchive.h"

#include "model/CDataInfItem.h"
#include "model/CDataLevel.h"
#include "model/ResourceBlock.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

Bytes Str(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(RecordArchive, ClassTagsAndObjectIndicesShareOneSequence) {
    RecordArchive ar(RecordArchive::Context{});
    CDataObjectSeq first("LOGIC", "TROOP");
    CDataObjectSeq second("EYE", "TRUE");
    ar.WriteObject(&first);
    ar.WriteObject(&second);
    ar.WriteObject(nullptr);
    // New class (index 1), object 2; then the known class 1 as 0x8001, object 3; then null.
    const Bytes expected = Cat({B({0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00}), Str("CDataObjectSeq"), B({5}), Str("LOGIC"),
                                B({5}), Str("TROOP"), B({0x01, 0x80, 3}), Str("EYE"), B({4}), Str("TRUE"),
                                B({0x00, 0x00})});
    EXPECT_EQ(ar.bytes(), expected);
}

TEST(RecordArchive, CountsAndStringLengthsSwitchToWiderForms) {
    RecordArchive ar(RecordArchive::Context{});
    ar.WriteCount(0xFFFE);
    ar.WriteCount(0x10000);
    ar.WriteString(std::string(254, 'a'));
    ar.WriteString(std::string(255, 'b'));
    ar.WriteString(std::string(0x10000, 'c'));
    const Bytes& b = ar.bytes();
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), B({0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(b[8], 254);
    EXPECT_EQ(Bytes(b.begin() + 263, b.begin() + 266), B({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(Bytes(b.begin() + 521, b.begin() + 528), B({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));

    RecordArchive in(b, RecordArchive::Context{});
    EXPECT_EQ(in.ReadCount(0), 0xFFFEu);
    EXPECT_EQ(in.ReadCount(0), 0x10000u);
    EXPECT_EQ(in.ReadString(), std::string(254, 'a'));
    EXPECT_EQ(in.ReadString(), std::string(255, 'b'));
    EXPECT_EQ(in.ReadString(), std::string(0x10000, 'c'));
    EXPECT_TRUE(in.AtEnd());
}

TEST(RecordArchive, SectorBodyLayout) {
    CDataLevel level;
    testing::BuildRoom(level);
    CDataSector& sector = *level.m_Lev.m_pSectors[0];
    sector.m_pWalls.resize(1);
    sector.m_pVertices.resize(1);
    RecordArchive ar(RecordArchive::Context{&level.m_Lev, 0});
    ar.WriteObject(&sector);
    const Bytes& b = ar.bytes();

    std::size_t at = 0;
    auto expect = [&](const Bytes& part) {
        ASSERT_LE(at + part.size(), b.size());
        EXPECT_EQ(Bytes(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + part.size())), part)
            << "at offset " << at;
        at += part.size();
    };
    expect(Cat({B({0xFF, 0xFF, 1, 0, 11, 0}), Str("CDataSector")}));
    at += 4 + 1 + 4 + 3 * 8 + 3 * 4; // index, empty name, ambient, altitudes, flags
    expect(Cat({B({0xFF, 0xFF, 0, 0, 8, 0}), Str("CObArray"), B({1, 0})}));   // class 3, object 4
    expect(Cat({B({0xFF, 0xFF, 1, 0, 9, 0}), Str("CDataWall")}));             // class 5, object 6
    at += 10 * 4;
    expect(Cat({B({11}), Str("RWRWALL1.BM")}));                               // mid texture travels by name
    at += 8 + 8 + 4;
    at += 2 * (12 + 20) + 1 + 20;                                              // top, bottom, empty sign
    expect(Cat({B({0x03, 0x80, 1, 0})}));                                      // known CObArray class
    expect(Cat({B({0xFF, 0xFF, 1, 0, 11, 0}), Str("CDataVertex")}));
    at += 16;
    expect(Cat({B({6}), Str("IF3.BM")}));
    at += 20;
    expect(Cat({B({10}), Str("IPBIGLT.BM")}));
    at += 20;
    EXPECT_EQ(at, b.size());
}

TEST(RecordArchive, SectorRoundTripLandsOnTheCurrentLayerAndAddsTextures) {
    CDataLevel source;
    testing::BuildRoomWithPillar(source);
    CDataSector& room = *source.m_Lev.m_pSectors[0];
    room.m_strName = "hall";
    room.m_nLayer = 3;
    room.m_pWalls[2]->m_Sign.m_nTexture = source.m_Lev.FindOrAddTexture("SIGN1.BM");
    RecordArchive out(RecordArchive::Context{&source.m_Lev, 0});
    out.WriteObject(&room);

    CDataLevel target;
    target.m_Lev.FindOrAddTexture("OTHER.BM");
    RecordArchive in(out.bytes(), RecordArchive::Context{&target.m_Lev, 5});
    auto copy = in.ReadObject<CDataSector>();
    ASSERT_TRUE(copy);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(copy->m_strName, "hall");
    EXPECT_EQ(copy->m_nLayer, 5);
    ASSERT_EQ(copy->m_pWalls.size(), room.m_pWalls.size());
    ASSERT_EQ(copy->m_pVertices.size(), room.m_pVertices.size());
    for (std::size_t i = 0; i < room.m_pWalls.size(); ++i) {
        EXPECT_EQ(copy->m_pWalls[i]->m_nAdjoin, room.m_pWalls[i]->m_nAdjoin);
        EXPECT_EQ(copy->m_pWalls[i]->m_nMirror, room.m_pWalls[i]->m_nMirror);
        EXPECT_EQ(target.m_Lev.GetTextureName(copy->m_pWalls[i]->m_Mid.m_nTexture), "RWRWALL1.BM");
    }
    EXPECT_EQ(target.m_Lev.GetTextureName(copy->m_pWalls[2]->m_Sign.m_nTexture), "SIGN1.BM");
    EXPECT_EQ(copy->m_pWalls[0]->m_Sign.m_nTexture, -1);
    EXPECT_EQ(target.m_Lev.m_Textures[0].m_strName, "OTHER.BM");
    EXPECT_EQ(target.m_Lev.m_Textures.size(), 5u);
}

TEST(RecordArchive, ObjectAndInfItemRoundTrip) {
    CDataObjectItem object;
    object.m_strClass = "FRAME";
    object.m_dX = 1.004999;
    object.m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "ITEM ENERGY"));
    CDataInfItem item;
    item.m_strType = "line";
    item.m_strName = "door";
    item.m_nNum = 4;
    item.m_Lines = {"class:\ttrigger", "client:\tdoor"};
    RecordArchive out(RecordArchive::Context{});
    out.WriteObject(&object);
    out.WriteObject(&item);

    RecordArchive in(out.bytes(), RecordArchive::Context{});
    auto o = in.ReadObject<CDataObjectItem>();
    auto i = in.ReadObject<CDataInfItem>();
    ASSERT_TRUE(o && i);
    EXPECT_EQ(o->m_strClass, "FRAME");
    EXPECT_DOUBLE_EQ(o->m_dX, 1.0); // positions are rounded to hundredths when decoded
    ASSERT_EQ(o->m_pSeqs.size(), 1u);
    EXPECT_EQ(o->m_pSeqs[0]->m_strValue, "ITEM ENERGY");
    EXPECT_EQ(i->m_nNum, 4);
    EXPECT_EQ(i->m_Lines, item.m_Lines);
}

TEST(RecordArchive, BadInputIsRefusedCleanly) {
    CDataObjectSeq seq("A", "B");
    RecordArchive out(RecordArchive::Context{});
    out.WriteObject(&seq);
    const Bytes good = out.bytes();

    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        RecordArchive in(std::span(good.data(), cut), RecordArchive::Context{});
        EXPECT_THROW(in.ReadObject<CDataObjectSeq>(), FormatError) << "cut at " << cut;
    }
    {   // a reference back to object 2 cannot be shared by our records
        Bytes twice = Cat({good, B({0x02, 0x00})});
        RecordArchive in(twice, RecordArchive::Context{});
        in.ReadObject<CDataObjectSeq>();
        EXPECT_THROW(in.ReadObject<CDataObjectSeq>(), FormatError);
    }
    {   // the right archive, the wrong record class
        RecordArchive in(good, RecordArchive::Context{});
        EXPECT_THROW(in.ReadObject<CDataVertex>(), FormatError);
    }
    {   // a huge array count in a tiny buffer is refused before anything is allocated
        Bytes huge = Cat({B({0xFF, 0xFF, 0, 0, 8, 0}), Str("CObArray"), B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})});
        RecordArchive in(huge, RecordArchive::Context{});
        std::vector<std::unique_ptr<CDataVertex>> array;
        EXPECT_THROW(in.SerializeArray(array), FormatError);
    }
    {   // an unknown class index
        const Bytes unknown = B({0x05, 0x80});
        RecordArchive in(unknown, RecordArchive::Context{});
        EXPECT_THROW(in.ReadObject<CDataObjectSeq>(), FormatError);
    }
}

TEST(ResourceBlock, CarriesResourceMembersAndMergesThem) {
    CDataLevel source;
    ASSERT_TRUE(source.AddMember("WALL.BM", Bytes{1, 2, 3}));
    ASSERT_TRUE(source.AddMember("SECBASE.LEV", Bytes{9}));
    ASSERT_TRUE(source.AddMember("GUARD.WAX", Bytes{4, 5}));
    ASSERT_TRUE(source.AddMember("EMPTY.VOC", Bytes{}));
    RecordArchive out(RecordArchive::Context{});
    SerializeResourceBlock(source, out, kLibraryVersionTag);
    const Bytes expected = Cat({B({3, 0, 0, 0, 7}), Str("WALL.BM"), B({1, 2, 3}), B({2, 0, 0, 0, 9}), Str("GUARD.WAX"),
                                B({4, 5}), B({0, 0, 0, 0})});
    EXPECT_EQ(out.bytes(), expected);

    CDataLevel target;
    ASSERT_TRUE(target.AddMember("WALL.BM", Bytes{7}));
    RecordArchive in(out.bytes(), RecordArchive::Context{});
    SerializeResourceBlock(target, in, kLibraryVersionTag);
    ASSERT_EQ(target.m_pMembers.size(), 2u);
    EXPECT_EQ(Bytes(target.m_pMembers[0]->data().begin(), target.m_pMembers[0]->data().end()), (Bytes{1, 2, 3}));
    EXPECT_EQ(target.m_pMembers[1]->m_strName, "GUARD.WAX");
    EXPECT_EQ(target.m_Sprites.size(), 1u);
    EXPECT_EQ(target.m_Bitmaps.size(), 1u);

    // Old libraries carry no block at all.
    RecordArchive old(RecordArchive::Context{});
    SerializeResourceBlock(source, old, kLibraryVersionTagWithoutResources);
    EXPECT_TRUE(old.bytes().empty());
}

TEST(ResourceBlock, TruncatedBlockChangesNothing) {
    CDataLevel source;
    ASSERT_TRUE(source.AddMember("A.BM", Bytes{1, 2, 3}));
    ASSERT_TRUE(source.AddMember("B.BM", Bytes{4, 5, 6}));
    RecordArchive out(RecordArchive::Context{});
    SerializeResourceBlock(source, out, kLibraryVersionTag);
    Bytes cut(out.bytes().begin(), out.bytes().end() - 6);
    CDataLevel target;
    RecordArchive in(cut, RecordArchive::Context{});
    EXPECT_THROW(SerializeResourceBlock(target, in, kLibraryVersionTag), FormatError);
    EXPECT_TRUE(target.m_pMembers.empty());
}

} // namespace
} // namespace morvi
