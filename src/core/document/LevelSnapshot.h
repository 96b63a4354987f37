#pragma once

#include "document/Selection.h"
#include "model/CDataLevel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace morvi {

// The state an undo step returns to: the LEV, O and INF parts of the level, its archive members,
// the archive's level list and current level, the map selection and the edit mode. Cheap enough
// to take before every change: the records are flattened into a few contiguous arrays of plain
// values plus one block of characters, so a capture is a walk over the model without one
// allocation per record, and the members share their data blocks with the level (a member the
// change leaves alone costs a name and a pointer).
//
// Not part of a snapshot: the generator title and the read notes, which belong to the file, not
// to an edit.
class LevelSnapshot {
public:
    static LevelSnapshot Capture(const CDataLevel& level, std::span<const CMapSelItem> selection = {},
                                 int mode = kModeSector);

    // Gives the level back exactly as captured, members included, and replaces the selection and
    // the mode.
    void Restore(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) const;
    // The level alone. Records the level already has are overwritten in place, so restoring
    // after a small edit allocates only for records the edit removed.
    void RestoreLevel(CDataLevel& level) const;

    const std::vector<CMapSelItem>& selection() const { return m_Selection; }
    int mode() const { return m_nMode; }
    // The bytes the snapshot holds on the heap; member blocks count by their share.
    std::size_t MemoryBytes() const;

    // Flattened records; the counts of the lists each one owns follow in the same order.
    struct Texture {
        std::int32_t m_nTexture;
        std::int32_t m_nTexFlag;
        double m_dOffsetX;
        double m_dOffsetY;
    };
    struct Sector {
        std::int32_t m_nIndex;
        std::int32_t m_nAmbient;
        std::int32_t m_nFlags1;
        std::int32_t m_nFlags2;
        std::int32_t m_nFlags3;
        std::int32_t m_nLayer;
        std::uint32_t m_nVertices;
        std::uint32_t m_nWalls;
        double m_dFloorAltitude;
        double m_dCeilingAltitude;
        double m_dSecondAltitude;
        Texture m_Floor;
        Texture m_Ceiling;
    };
    struct Vertex {
        double m_dX;
        double m_dZ;
    };
    struct Wall {
        std::int32_t m_nIndex;
        std::int32_t m_nLeft;
        std::int32_t m_nRight;
        std::int32_t m_nAdjoin;
        std::int32_t m_nMirror;
        std::int32_t m_nWalk;
        std::int32_t m_nFlags1;
        std::int32_t m_nFlags2;
        std::int32_t m_nFlags3;
        std::int32_t m_nLight;
        std::int32_t m_nOldMirror;
        Texture m_Mid;
        Texture m_Top;
        Texture m_Bottom;
        Texture m_Sign;
    };
    struct Object {
        std::int32_t m_nIndex;
        std::int32_t m_nData;
        std::int32_t m_nDiff;
        std::int32_t m_nSector;
        std::uint32_t m_crColour;
        std::uint32_t m_nSeqs;
        double m_dX;
        double m_dY;
        double m_dZ;
        double m_dPitch;
        double m_dYaw;
        double m_dRoll;
    };
    struct InfItem {
        std::int32_t m_nNum;
        std::uint32_t m_nLines;
    };

private:
    class Writer;
    class Reader;

    // The parallaxes of the LEV and the INF part.
    std::array<double, 4> m_Parallaxes{};
    // The texture table and the four object name tables: their lengths and the entries' indices.
    std::array<std::uint32_t, 5> m_TableSizes{};
    std::vector<std::int32_t> m_TableIndices;
    std::vector<Sector> m_Sectors;
    std::vector<Vertex> m_Vertices;
    std::vector<Wall> m_Walls;
    std::vector<Object> m_Objects;
    std::vector<InfItem> m_InfItems;
    // Every string of the parts in capture order: its length here, its characters in m_Chars.
    std::vector<std::uint32_t> m_StringLengths;
    std::string m_Chars;
    std::vector<CDataGobEntry> m_Members;
    std::vector<std::string> m_LevelNames;
    int m_nCurrentLevel = 0;
    std::vector<CMapSelItem> m_Selection;
    int m_nMode = kModeSector;
};

} // namespace morvi
