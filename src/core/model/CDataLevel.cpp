#include "model/CDataLevel.h"

#include "model/StringUtil.h"

#include <algorithm>
#include <cstring>

namespace morvi {

CDataLevel::CDataLevel() = default;

void CDataLevel::AddToKindList(CDataGobEntry* member) {
    const std::string_view name = member->m_strName;
    if (name.find(".BM") != std::string_view::npos)
        m_Bitmaps.push_back(member);
    else if (name.find(".FME") != std::string_view::npos || name.find(".WAX") != std::string_view::npos)
        m_Sprites.push_back(member);
    else if (name.find(".3DO") != std::string_view::npos)
        m_Models3D.push_back(member);
    else if (name.find(".VOC") != std::string_view::npos)
        m_Sounds.push_back(member);
}

void CDataLevel::RebuildKindLists() {
    m_Bitmaps.clear();
    m_Sprites.clear();
    m_Models3D.clear();
    m_Sounds.clear();
    for (const auto& member : m_pMembers)
        AddToKindList(member.get());
}

Status CDataLevel::AddMember(std::string name, std::span<const std::uint8_t> data) {
    if (name.empty() || name.size() > kGobNameMax)
        return Status::Fail("The member name \"" + name +
                            "\" is not valid: a GOB member name has 1 to 12 characters.");
    if (data.size() > 0xFFFFFFFFu) return Status::Fail("The member \"" + name + "\" is larger than 4 GB.");
    m_pMembers.push_back(std::make_unique<CDataGobEntry>(ToUpper(name), data));
    AddToKindList(m_pMembers.back().get());
    return Status::Ok();
}

void CDataLevel::RemoveMember(std::size_t i) {
    if (i >= m_pMembers.size()) return;
    m_pMembers.erase(m_pMembers.begin() + static_cast<std::ptrdiff_t>(i));
    RebuildKindLists();
}

CDataGobEntry* CDataLevel::FindMember(std::string_view name) {
    for (auto& member : m_pMembers)
        if (EqualsNoCase(member->m_strName, name)) return member.get();
    return nullptr;
}

const CDataGobEntry* CDataLevel::FindMember(std::string_view name) const {
    return const_cast<CDataLevel*>(this)->FindMember(name);
}

CDataGobEntry* CDataLevel::FindMemberContaining(std::string_view part) {
    for (auto& member : m_pMembers)
        if (member->m_strName.find(part) != std::string::npos) return member.get();
    return nullptr;
}

const CDataGobEntry* CDataLevel::FindMemberContaining(std::string_view part) const {
    return const_cast<CDataLevel*>(this)->FindMemberContaining(part);
}

std::string CDataLevel::CurrentLevelName() const {
    if (m_nCurrentLevel < 0 || static_cast<std::size_t>(m_nCurrentLevel) >= m_LevelNames.size()) return {};
    return m_LevelNames[static_cast<std::size_t>(m_nCurrentLevel)];
}

bool CDataLevel::CopyMemberData(std::string_view name, std::span<std::uint8_t> dest) const {
    const CDataGobEntry* member = FindMember(name);
    if (!member) return false;
    const std::size_t n = std::min<std::size_t>(dest.size(), member->m_nSize);
    if (n) std::memcpy(dest.data(), member->data().data(), n);
    return true;
}

bool CDataLevel::StoreMemberData(std::string_view name, std::span<const std::uint8_t> src) {
    CDataGobEntry* member = FindMember(name);
    if (!member) return false;
    const std::size_t n = std::min<std::size_t>(src.size(), member->m_nSize);
    if (n) std::memcpy(member->MutableData().data(), src.data(), n);
    return true;
}

static std::string_view BaseName(std::string_view memberName) {
    return memberName.substr(0, memberName.find('.'));
}

Status CDataLevel::RenameLevel(std::string_view newName) {
    const std::string oldUpper = ToUpper(m_Lev.m_strLevelName);
    const std::string newUpper = ToUpper(newName);
    if (oldUpper == newUpper) return Status::Ok();
    if (std::find(m_LevelNames.begin(), m_LevelNames.end(), newUpper) != m_LevelNames.end())
        return Status::Fail(
            "You cannot change the current level name\nsince the name you have choosen exist already.");
    if (newUpper.empty()) return Status::Fail("The level name cannot be empty.");

    // Only the members of this level move: SECBASE2.LEV is not a member of SECBASE.
    std::vector<CDataGobEntry*> moving;
    for (auto& member : m_pMembers) {
        const std::string_view name = member->m_strName;
        if (ToUpper(BaseName(name)) != oldUpper) continue;
        if (newUpper.size() + (name.size() - BaseName(name).size()) > kGobNameMax)
            return Status::Fail("The level name \"" + newUpper + "\" is too long: the member " +
                                member->m_strName + " would have more than 12 characters.");
        moving.push_back(member.get());
    }

    auto levelName = std::find(m_LevelNames.begin(), m_LevelNames.end(), oldUpper);
    if (levelName != m_LevelNames.end()) *levelName = newUpper;
    for (CDataGobEntry* member : moving)
        member->m_strName = newUpper + member->m_strName.substr(BaseName(member->m_strName).size());
    m_Lev.m_strLevelName = std::string(newName);
    m_Inf.m_strLevelName = std::string(newName);
    m_Objects.m_strLevelName = std::string(newName);
    return Status::Ok();
}

void CDataLevel::GetParallax(double& p1, double& p2) const {
    p1 = m_Lev.m_dParallax1;
    p2 = m_Lev.m_dParallax2;
}

void CDataLevel::SetParallax(double p1, double p2) {
    m_Lev.m_dParallax1 = m_Inf.m_dParallax1 = p1;
    m_Lev.m_dParallax2 = m_Inf.m_dParallax2 = p2;
}

} // namespace morvi
