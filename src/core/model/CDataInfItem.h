#pragma once

#include "model/CDataObject.h"

#include <string>
#include <vector>

namespace morvi {

// One INF item: a class definition for the level, a sector (by name) or one wall of a sector.
// Lines are held normalised as "keyword:" TAB value.
class CDataInfItem : public CDataObject {
public:
    const char* GetRuntimeClass() const override { return "CDataInfItem"; }
    void Serialize(RecordArchive& ar) override;

    std::string m_strType;
    std::string m_strName;
    int m_nNum = -1;
    std::vector<std::string> m_Lines;
};

} // namespace morvi
