#include "resources/MemberFileTypes.h"

#include "model/StringUtil.h"

#include <string>

namespace morvi {

const MemberFileType& FindMemberFileType(std::string_view name, std::span<const MemberFileType> table,
                                         const MemberFileType& fallback) {
    const std::string upper = ToUpper(name);
    for (const MemberFileType& type : table)
        if (upper.find(type.m_Marker) != std::string::npos) return type;
    return fallback;
}

} // namespace morvi
