#pragma once

#include <string>

namespace morvi {

// An entry of the texture table or of an object name table; m_nIndex equals its position.
class CDataNameEntry {
public:
    CDataNameEntry() = default;
    CDataNameEntry(int index, std::string name) : m_nIndex(index), m_strName(std::move(name)) {}

    int m_nIndex = -1;
    std::string m_strName;
};

} // namespace morvi
