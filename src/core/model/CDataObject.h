#pragma once

namespace morvi {

class RecordArchive;

// Common base of the level records that travel in record archives (library files, clipboard).
// Each record knows its class name and writes or reads its own body in either direction.
class CDataObject {
public:
    CDataObject() = default;
    CDataObject(const CDataObject&) = default;
    CDataObject& operator=(const CDataObject&) = default;
    virtual ~CDataObject() = default;

    virtual const char* GetRuntimeClass() const = 0;
    virtual void Serialize(RecordArchive& ar) = 0;
};

} // namespace morvi
