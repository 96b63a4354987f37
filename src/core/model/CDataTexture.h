#pragma once

#include "model/CDataObject.h"

namespace morvi {

// A texture slot of a wall or sector: an index into the LEV part's texture table plus offsets.
class CDataTexture : public CDataObject {
public:
    const char* GetRuntimeClass() const override { return "CDataTexture"; }
    void Serialize(RecordArchive& ar) override;

    int m_nTexture = -1;
    double m_dOffsetX = 0.0;
    double m_dOffsetY = 0.0;
    int m_nTexFlag = 0;
};

} // namespace morvi
