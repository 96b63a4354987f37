#pragma once

#include "model/CDataNameEntry.h"
#include "model/CDataSector.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// The LEV part of a level: header values, the texture table and the sectors.
class CDataLev {
public:
    // "" for -1 or an index outside the table, else the table entry's name.
    std::string GetTextureName(int texture) const;
    // The first entry equal to name ignoring case; a missing name is appended. -1 for "".
    int FindOrAddTexture(std::string_view name);

    std::string m_strVersion = "2.1";
    std::string m_strLevelName = "SECBASE";
    std::string m_strPalette = "SECBASE.PAL";
    std::string m_strMusic = "AVENGE.GMD";
    double m_dParallax1 = 1024.0;
    double m_dParallax2 = 1024.0;
    std::string m_strAuthor;
    std::vector<CDataNameEntry> m_Textures;
    std::vector<std::unique_ptr<CDataSector>> m_pSectors;
};

} // namespace morvi
