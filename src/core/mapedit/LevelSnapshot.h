#pragma once

#include "mapedit/CMapEngine.h"
#include "model/CDataLevel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace morvi {

// The state an undo step returns to: the LEV, O and INF parts of the level and the map selection.
// Cheap enough to take before every command: the records are flattened into a few contiguous
// arrays of plain values plus one block of characters, so a capture is a walk over the model
// without one allocation per record.
//
// The GOB members are not part of a snapshot. Map commands never touch them, they can be tens of
// megabytes, and the LEV, O and INF texts among them are written from the parsed parts at save
// time anyway. Nor are the generator title, the archive's level list or the read notes: they
// belong to the file, not to an edit.
class LevelSnapshot {
public:
    static LevelSnapshot Capture(const CMapEngine& engine);
    static LevelSnapshot Capture(const CDataLevel& level, std::span<const CMapSelItem> selection = {});

    // Gives the level back exactly as captured and replaces the selection. The object-to-sector
    // assignment is marked stale since the geometry may have changed under it.
    void Restore(CMapEngine& engine) const;
    // The level part alone. Records the level already has are overwritten in place, so restoring
    // after a small edit allocates only for records the edit removed.
    void RestoreLevel(CDataLevel& level) const;

    const std::vector<CMapSelItem>& selection() const { return m_Selection; }
    // The bytes the snapshot holds on the heap.
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
    std::vector<CMapSelItem> m_Selection;
};

} // namespace morvi
