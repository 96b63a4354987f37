#pragma once

#include "model/CDataInfItem.h"

#include <memory>
#include <string>
#include <vector>

namespace morvi {

// The INF part of a level. Copying makes a deep copy (the INF editor works on one).
class CDataInf {
public:
    CDataInf() = default;
    CDataInf(const CDataInf& other);
    CDataInf& operator=(const CDataInf& other);
    CDataInf(CDataInf&&) = default;
    CDataInf& operator=(CDataInf&&) = default;

    std::string m_strVersion = "1.0";
    std::string m_strLevelName = "SECBASE";
    double m_dParallax1 = 1024.0;
    double m_dParallax2 = 1024.0;
    std::string m_strAuthor;
    std::vector<std::unique_ptr<CDataInfItem>> m_pItems;
};

} // namespace morvi
