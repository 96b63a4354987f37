#pragma once

#include "model/CDataObject.h"
#include "model/CDataObjectSeq.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace morvi {

// Colours are 0x00BBGGRR values.
using Colour = std::uint32_t;

class CDataObjectItem : public CDataObject {
public:
    const char* GetRuntimeClass() const override { return "CDataObjectItem"; }
    void Serialize(RecordArchive& ar) override;

    int m_nIndex = 0;
    std::string m_strClass = "SPRITE";
    std::string m_strData = "STORMFIN.WAX";
    int m_nData = 0;
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dZ = 0.0;
    double m_dPitch = 0.0;
    double m_dYaw = 0.0;
    double m_dRoll = 0.0;
    int m_nDiff = 0;
    Colour m_crColour = 0xFF0000;
    int m_nSector = -1;
    std::vector<std::unique_ptr<CDataObjectSeq>> m_pSeqs;
};

} // namespace morvi
