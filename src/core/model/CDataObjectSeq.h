#pragma once

#include "model/CDataObject.h"

#include <string>

namespace morvi {

// One line of an object's SEQ block: "KEY: value".
class CDataObjectSeq : public CDataObject {
public:
    CDataObjectSeq() = default;
    CDataObjectSeq(std::string key, std::string value) : m_strKey(std::move(key)), m_strValue(std::move(value)) {}
    const char* GetRuntimeClass() const override { return "CDataObjectSeq"; }
    void Serialize(RecordArchive& ar) override;

    std::string m_strKey;
    std::string m_strValue;
};

} // namespace morvi
