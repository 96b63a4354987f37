#pragma once

#include "model/CDataObject.h"
#include "model/CDataTexture.h"
#include "model/CDataVertex.h"
#include "model/CDataWall.h"

#include <memory>
#include <string>
#include <vector>

namespace morvi {

class CDataSector : public CDataObject {
public:
    const char* GetRuntimeClass() const override { return "CDataSector"; }
    void Serialize(RecordArchive& ar) override;

    int m_nIndex = 0;
    std::string m_strName;
    int m_nAmbient = 0;
    CDataTexture m_FloorTexture;
    double m_dFloorAltitude = 0.0;
    CDataTexture m_CeilingTexture;
    double m_dCeilingAltitude = 0.0;
    double m_dSecondAltitude = 0.0;
    int m_nFlags1 = 0;
    int m_nFlags2 = 0;
    int m_nFlags3 = 0;
    int m_nLayer = 0;
    std::vector<std::unique_ptr<CDataVertex>> m_pVertices;
    std::vector<std::unique_ptr<CDataWall>> m_pWalls;
};

} // namespace morvi
