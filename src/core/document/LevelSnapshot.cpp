#include "document/LevelSnapshot.h"

#include <memory>

namespace morvi {

namespace {

LevelSnapshot::Texture Flatten(const CDataTexture& t) {
    return {t.m_nTexture, t.m_nTexFlag, t.m_dOffsetX, t.m_dOffsetY};
}

void Apply(const LevelSnapshot::Texture& from, CDataTexture& t) {
    t.m_nTexture = from.m_nTexture;
    t.m_nTexFlag = from.m_nTexFlag;
    t.m_dOffsetX = from.m_dOffsetX;
    t.m_dOffsetY = from.m_dOffsetY;
}

// Makes the list n long; records already there are kept so that they can be overwritten.
template <class T> void FitList(std::vector<std::unique_ptr<T>>& list, std::size_t n) {
    list.resize(n);
    for (auto& record : list)
        if (!record) record = std::make_unique<T>();
}

// What a capture has to reserve, counted before anything is copied so that no array grows.
struct Totals {
    std::size_t vertices = 0;
    std::size_t walls = 0;
    std::size_t seqs = 0;
    std::size_t lines = 0;
    std::size_t strings = 11; // the header strings of the three parts
    std::size_t chars = 0;
    std::size_t tableEntries = 0;

    explicit Totals(const CDataLevel& level) {
        const CDataLev& lev = level.m_Lev;
        const CDataObjects& o = level.m_Objects;
        const CDataInf& inf = level.m_Inf;
        for (const std::string* s :
             {&lev.m_strVersion, &lev.m_strLevelName, &lev.m_strPalette, &lev.m_strMusic, &lev.m_strAuthor,
              &o.m_strVersion, &o.m_strLevelName, &o.m_strAuthor, &inf.m_strVersion, &inf.m_strLevelName,
              &inf.m_strAuthor})
            chars += s->size();
        for (const auto* table : {&lev.m_Textures, &o.m_Pods, &o.m_Sprs, &o.m_Fmes, &o.m_Sounds}) {
            tableEntries += table->size();
            for (const CDataNameEntry& entry : *table)
                chars += entry.m_strName.size();
        }
        for (const auto& sector : level.m_Lev.m_pSectors) {
            vertices += sector->m_pVertices.size();
            walls += sector->m_pWalls.size();
            chars += sector->m_strName.size();
        }
        for (const auto& object : level.m_Objects.m_pObjects) {
            seqs += object->m_pSeqs.size();
            chars += object->m_strClass.size() + object->m_strData.size();
            for (const auto& seq : object->m_pSeqs)
                chars += seq->m_strKey.size() + seq->m_strValue.size();
        }
        for (const auto& item : level.m_Inf.m_pItems) {
            lines += item->m_Lines.size();
            chars += item->m_strType.size() + item->m_strName.size();
            for (const std::string& line : item->m_Lines)
                chars += line.size();
        }
        strings += level.m_Lev.m_pSectors.size() + 2 * level.m_Objects.m_pObjects.size() + 2 * seqs +
                   2 * level.m_Inf.m_pItems.size() + lines + tableEntries;
    }
};

} // namespace

// Appends the model's values to the snapshot's arrays in the one order the Reader expects.
class LevelSnapshot::Writer {
public:
    explicit Writer(LevelSnapshot& s) : m_S(s) {}

    void Reserve(const CDataLevel& level) {
        const Totals totals(level);
        m_S.m_Sectors.reserve(level.m_Lev.m_pSectors.size());
        m_S.m_Vertices.reserve(totals.vertices);
        m_S.m_Walls.reserve(totals.walls);
        m_S.m_Objects.reserve(level.m_Objects.m_pObjects.size());
        m_S.m_InfItems.reserve(level.m_Inf.m_pItems.size());
        m_S.m_TableIndices.reserve(totals.tableEntries);
        m_S.m_StringLengths.reserve(totals.strings);
        m_S.m_Chars.reserve(totals.chars);
    }

    void String(const std::string& s) {
        m_S.m_StringLengths.push_back(static_cast<std::uint32_t>(s.size()));
        m_S.m_Chars.append(s);
    }

    void Table(const std::vector<CDataNameEntry>& table, int k) {
        m_S.m_TableSizes[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(table.size());
        for (const CDataNameEntry& entry : table) {
            m_S.m_TableIndices.push_back(entry.m_nIndex);
            String(entry.m_strName);
        }
    }

    void Lev(const CDataLev& lev) {
        for (const std::string* s :
             {&lev.m_strVersion, &lev.m_strLevelName, &lev.m_strPalette, &lev.m_strMusic, &lev.m_strAuthor})
            String(*s);
        m_S.m_Parallaxes[0] = lev.m_dParallax1;
        m_S.m_Parallaxes[1] = lev.m_dParallax2;
        Table(lev.m_Textures, 0);
        for (const auto& sector : lev.m_pSectors)
            SectorRecord(*sector);
    }

    void SectorRecord(const CDataSector& s) {
        m_S.m_Sectors.push_back({s.m_nIndex, s.m_nAmbient, s.m_nFlags1, s.m_nFlags2, s.m_nFlags3, s.m_nLayer,
                                 static_cast<std::uint32_t>(s.m_pVertices.size()),
                                 static_cast<std::uint32_t>(s.m_pWalls.size()), s.m_dFloorAltitude,
                                 s.m_dCeilingAltitude, s.m_dSecondAltitude, Flatten(s.m_FloorTexture),
                                 Flatten(s.m_CeilingTexture)});
        String(s.m_strName);
        for (const auto& v : s.m_pVertices)
            m_S.m_Vertices.push_back({v->m_dX, v->m_dZ});
        for (const auto& w : s.m_pWalls)
            m_S.m_Walls.push_back({w->m_nIndex, w->m_nLeft, w->m_nRight, w->m_nAdjoin, w->m_nMirror,
                                   w->m_nWalk, w->m_nFlags1, w->m_nFlags2, w->m_nFlags3, w->m_nLight,
                                   w->m_nOldMirror, Flatten(w->m_Mid), Flatten(w->m_Top),
                                   Flatten(w->m_Bottom), Flatten(w->m_Sign)});
    }

    void Objects(const CDataObjects& objects) {
        for (const std::string* s : {&objects.m_strVersion, &objects.m_strLevelName, &objects.m_strAuthor})
            String(*s);
        Table(objects.m_Pods, 1);
        Table(objects.m_Sprs, 2);
        Table(objects.m_Fmes, 3);
        Table(objects.m_Sounds, 4);
        for (const auto& o : objects.m_pObjects) {
            m_S.m_Objects.push_back({o->m_nIndex, o->m_nData, o->m_nDiff, o->m_nSector, o->m_crColour,
                                     static_cast<std::uint32_t>(o->m_pSeqs.size()), o->m_dX, o->m_dY, o->m_dZ,
                                     o->m_dPitch, o->m_dYaw, o->m_dRoll});
            String(o->m_strClass);
            String(o->m_strData);
            for (const auto& seq : o->m_pSeqs) {
                String(seq->m_strKey);
                String(seq->m_strValue);
            }
        }
    }

    void Inf(const CDataInf& inf) {
        for (const std::string* s : {&inf.m_strVersion, &inf.m_strLevelName, &inf.m_strAuthor})
            String(*s);
        m_S.m_Parallaxes[2] = inf.m_dParallax1;
        m_S.m_Parallaxes[3] = inf.m_dParallax2;
        for (const auto& item : inf.m_pItems) {
            m_S.m_InfItems.push_back({item->m_nNum, static_cast<std::uint32_t>(item->m_Lines.size())});
            String(item->m_strType);
            String(item->m_strName);
            for (const std::string& line : item->m_Lines)
                String(line);
        }
    }

private:
    LevelSnapshot& m_S;
};

// Walks the snapshot's arrays in the Writer's order and overwrites the model with them.
class LevelSnapshot::Reader {
public:
    explicit Reader(const LevelSnapshot& s) : m_S(s) {}

    void String(std::string& out) {
        const std::size_t n = m_S.m_StringLengths[m_nString++];
        out.assign(m_S.m_Chars, m_nChar, n);
        m_nChar += n;
    }

    void Table(std::vector<CDataNameEntry>& table, int k) {
        table.resize(m_S.m_TableSizes[static_cast<std::size_t>(k)]);
        for (CDataNameEntry& entry : table) {
            entry.m_nIndex = m_S.m_TableIndices[m_nTableEntry++];
            String(entry.m_strName);
        }
    }

    void Lev(CDataLev& lev) {
        for (std::string* s :
             {&lev.m_strVersion, &lev.m_strLevelName, &lev.m_strPalette, &lev.m_strMusic, &lev.m_strAuthor})
            String(*s);
        lev.m_dParallax1 = m_S.m_Parallaxes[0];
        lev.m_dParallax2 = m_S.m_Parallaxes[1];
        Table(lev.m_Textures, 0);
        FitList(lev.m_pSectors, m_S.m_Sectors.size());
        for (std::size_t i = 0; i < m_S.m_Sectors.size(); ++i)
            SectorRecord(m_S.m_Sectors[i], *lev.m_pSectors[i]);
    }

    void SectorRecord(const Sector& from, CDataSector& s) {
        s.m_nIndex = from.m_nIndex;
        s.m_nAmbient = from.m_nAmbient;
        s.m_nFlags1 = from.m_nFlags1;
        s.m_nFlags2 = from.m_nFlags2;
        s.m_nFlags3 = from.m_nFlags3;
        s.m_nLayer = from.m_nLayer;
        s.m_dFloorAltitude = from.m_dFloorAltitude;
        s.m_dCeilingAltitude = from.m_dCeilingAltitude;
        s.m_dSecondAltitude = from.m_dSecondAltitude;
        Apply(from.m_Floor, s.m_FloorTexture);
        Apply(from.m_Ceiling, s.m_CeilingTexture);
        String(s.m_strName);
        FitList(s.m_pVertices, from.m_nVertices);
        for (auto& v : s.m_pVertices) {
            const Vertex& f = m_S.m_Vertices[m_nVertex++];
            v->m_dX = f.m_dX;
            v->m_dZ = f.m_dZ;
        }
        FitList(s.m_pWalls, from.m_nWalls);
        for (auto& w : s.m_pWalls)
            WallRecord(m_S.m_Walls[m_nWall++], *w);
    }

    static void WallRecord(const Wall& f, CDataWall& w) {
        w.m_nIndex = f.m_nIndex;
        w.m_nLeft = f.m_nLeft;
        w.m_nRight = f.m_nRight;
        w.m_nAdjoin = f.m_nAdjoin;
        w.m_nMirror = f.m_nMirror;
        w.m_nWalk = f.m_nWalk;
        w.m_nFlags1 = f.m_nFlags1;
        w.m_nFlags2 = f.m_nFlags2;
        w.m_nFlags3 = f.m_nFlags3;
        w.m_nLight = f.m_nLight;
        w.m_nOldMirror = f.m_nOldMirror;
        Apply(f.m_Mid, w.m_Mid);
        Apply(f.m_Top, w.m_Top);
        Apply(f.m_Bottom, w.m_Bottom);
        Apply(f.m_Sign, w.m_Sign);
    }

    void Objects(CDataObjects& objects) {
        for (std::string* s : {&objects.m_strVersion, &objects.m_strLevelName, &objects.m_strAuthor})
            String(*s);
        Table(objects.m_Pods, 1);
        Table(objects.m_Sprs, 2);
        Table(objects.m_Fmes, 3);
        Table(objects.m_Sounds, 4);
        FitList(objects.m_pObjects, m_S.m_Objects.size());
        for (std::size_t i = 0; i < m_S.m_Objects.size(); ++i)
            ObjectRecord(m_S.m_Objects[i], *objects.m_pObjects[i]);
    }

    void ObjectRecord(const Object& f, CDataObjectItem& o) {
        o.m_nIndex = f.m_nIndex;
        o.m_nData = f.m_nData;
        o.m_nDiff = f.m_nDiff;
        o.m_nSector = f.m_nSector;
        o.m_crColour = f.m_crColour;
        o.m_dX = f.m_dX;
        o.m_dY = f.m_dY;
        o.m_dZ = f.m_dZ;
        o.m_dPitch = f.m_dPitch;
        o.m_dYaw = f.m_dYaw;
        o.m_dRoll = f.m_dRoll;
        String(o.m_strClass);
        String(o.m_strData);
        FitList(o.m_pSeqs, f.m_nSeqs);
        for (auto& seq : o.m_pSeqs) {
            String(seq->m_strKey);
            String(seq->m_strValue);
        }
    }

    void Inf(CDataInf& inf) {
        for (std::string* s : {&inf.m_strVersion, &inf.m_strLevelName, &inf.m_strAuthor})
            String(*s);
        inf.m_dParallax1 = m_S.m_Parallaxes[2];
        inf.m_dParallax2 = m_S.m_Parallaxes[3];
        FitList(inf.m_pItems, m_S.m_InfItems.size());
        for (std::size_t i = 0; i < m_S.m_InfItems.size(); ++i) {
            const InfItem& f = m_S.m_InfItems[i];
            CDataInfItem& item = *inf.m_pItems[i];
            item.m_nNum = f.m_nNum;
            String(item.m_strType);
            String(item.m_strName);
            item.m_Lines.resize(f.m_nLines);
            for (std::string& line : item.m_Lines)
                String(line);
        }
    }

private:
    const LevelSnapshot& m_S;
    std::size_t m_nString = 0;
    std::size_t m_nChar = 0;
    std::size_t m_nTableEntry = 0;
    std::size_t m_nVertex = 0;
    std::size_t m_nWall = 0;
};

LevelSnapshot LevelSnapshot::Capture(const CDataLevel& level, std::span<const CMapSelItem> selection,
                                     int mode) {
    LevelSnapshot snapshot;
    Writer writer(snapshot);
    writer.Reserve(level);
    writer.Lev(level.m_Lev);
    writer.Objects(level.m_Objects);
    writer.Inf(level.m_Inf);
    snapshot.m_Members.reserve(level.m_pMembers.size());
    for (const auto& member : level.m_pMembers)
        snapshot.m_Members.push_back(*member);
    snapshot.m_LevelNames = level.m_LevelNames;
    snapshot.m_nCurrentLevel = level.m_nCurrentLevel;
    snapshot.m_Selection.assign(selection.begin(), selection.end());
    snapshot.m_nMode = mode;
    return snapshot;
}

void LevelSnapshot::Restore(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) const {
    RestoreLevel(level);
    selection = m_Selection;
    mode = m_nMode;
}

void LevelSnapshot::RestoreLevel(CDataLevel& level) const {
    Reader reader(*this);
    reader.Lev(level.m_Lev);
    reader.Objects(level.m_Objects);
    reader.Inf(level.m_Inf);
    // Members the change left alone still share their block with the snapshot: only the entry is
    // made again.
    level.m_pMembers.clear();
    level.m_pMembers.reserve(m_Members.size());
    for (const CDataGobEntry& member : m_Members)
        level.m_pMembers.push_back(std::make_unique<CDataGobEntry>(member));
    level.RebuildKindLists();
    level.m_LevelNames = m_LevelNames;
    level.m_nCurrentLevel = m_nCurrentLevel;
}

std::size_t LevelSnapshot::MemoryBytes() const {
    std::size_t bytes =
        m_Sectors.capacity() * sizeof(Sector) + m_Vertices.capacity() * sizeof(Vertex) +
        m_Walls.capacity() * sizeof(Wall) + m_Objects.capacity() * sizeof(Object) +
        m_InfItems.capacity() * sizeof(InfItem) + m_StringLengths.capacity() * sizeof(std::uint32_t) +
        m_Chars.capacity() + m_TableIndices.capacity() * sizeof(std::int32_t) +
        m_Selection.capacity() * sizeof(CMapSelItem) + m_Members.capacity() * sizeof(CDataGobEntry);
    for (const CDataGobEntry& member : m_Members)
        bytes += member.m_strName.capacity() + member.SharedBytes();
    for (const std::string& name : m_LevelNames)
        bytes += name.capacity();
    return bytes;
}

} // namespace morvi
