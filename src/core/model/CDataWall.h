#pragma once

#include "model/CDataObject.h"
#include "model/CDataTexture.h"

namespace morvi {

// One wall of a sector, from vertex m_nLeft to vertex m_nRight of the owning sector.
class CDataWall : public CDataObject {
public:
    const char* GetRuntimeClass() const override { return "CDataWall"; }
    void Serialize(RecordArchive& ar) override;

    int m_nIndex = 0;
    int m_nLeft = 0;
    int m_nRight = 0;
    CDataTexture m_Mid;
    CDataTexture m_Top;
    CDataTexture m_Bottom;
    CDataTexture m_Sign;
    int m_nAdjoin = -1;
    int m_nMirror = -1;
    int m_nWalk = -1;
    int m_nFlags1 = 0;
    int m_nFlags2 = 0;
    int m_nFlags3 = 0;
    int m_nLight = 0;

    // Working value of the map tools: the wall's mirror before a flip or rotation renumbers walls.
    int m_nOldMirror = -1;
};

} // namespace morvi
