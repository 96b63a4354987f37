#include "model/CDataInf.h"

namespace morvi {

CDataInf::CDataInf(const CDataInf& other)
    : m_strVersion(other.m_strVersion), m_strLevelName(other.m_strLevelName), m_dParallax1(other.m_dParallax1),
      m_dParallax2(other.m_dParallax2), m_strAuthor(other.m_strAuthor) {
    m_pItems.reserve(other.m_pItems.size());
    for (const auto& item : other.m_pItems) m_pItems.push_back(std::make_unique<CDataInfItem>(*item));
}

CDataInf& CDataInf::operator=(const CDataInf& other) {
    if (this != &other) {
        CDataInf copy(other);
        *this = std::move(copy);
    }
    return *this;
}

} // namespace morvi
