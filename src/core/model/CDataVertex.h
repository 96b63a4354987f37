#pragma once

#include "model/CDataObject.h"

namespace morvi {

class CDataVertex : public CDataObject {
public:
    CDataVertex() = default;
    CDataVertex(double x, double z) : m_dX(x), m_dZ(z) {}
    const char* GetRuntimeClass() const override { return "CDataVertex"; }
    void Serialize(RecordArchive& ar) override;

    double m_dX = 0.0;
    double m_dZ = 0.0;
};

} // namespace morvi
