#include "model/CDataLev.h"

#include "model/StringUtil.h"

namespace morvi {

std::string CDataLev::GetTextureName(int texture) const {
    if (texture < 0 || static_cast<std::size_t>(texture) >= m_Textures.size()) return {};
    return m_Textures[static_cast<std::size_t>(texture)].m_strName;
}

int CDataLev::FindOrAddTexture(std::string_view name) {
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < m_Textures.size(); ++i)
        if (EqualsNoCase(m_Textures[i].m_strName, name)) return static_cast<int>(i);
    const int index = static_cast<int>(m_Textures.size());
    m_Textures.emplace_back(index, std::string(name));
    return index;
}

} // namespace morvi
