#include "model/ResourceBlock.h"

#include "model/CDataLevel.h"
#include "model/RecordArchive.h"

#include <vector>

namespace morvi {

namespace {

bool IsCarriedResource(std::string_view name) {
    for (std::string_view kind : {".WAX", ".BM", ".FME", ".3DO", ".VOC"})
        if (name.find(kind) != std::string_view::npos) return true;
    return false;
}

struct PendingMember {
    std::string name;
    std::span<const std::uint8_t> data;
};

} // namespace

void SerializeResourceBlock(CDataLevel& level, RecordArchive& ar, std::string_view versionTag) {
    if (versionTag == kLibraryVersionTagWithoutResources) return;
    if (ar.IsStoring()) {
        for (const auto& member : level.m_pMembers) {
            if (member->m_nSize == 0 || !IsCarriedResource(member->m_strName)) continue;
            ar.WriteU32(member->m_nSize);
            ar.WriteString(member->m_strName);
            ar.WriteBytes(member->data());
        }
        ar.WriteU32(0);
        return;
    }

    std::vector<PendingMember> pending;
    for (;;) {
        const std::uint32_t size = ar.ReadU32();
        if (size == 0) break;
        std::string name = ar.ReadString();
        if (name.empty() || name.size() > kGobNameMax)
            throw FormatError("the resource name \"" + name + "\" is not a valid GOB member name");
        pending.push_back({std::move(name), ar.ReadBytes(size)});
    }
    for (const PendingMember& entry : pending) {
        CDataGobEntry* existing = nullptr;
        for (auto& member : level.m_pMembers)
            if (member->m_strName == entry.name) {
                existing = member.get();
                break;
            }
        if (existing)
            existing->SetData(entry.data);
        else
            level.AddMember(entry.name, entry.data);
    }
}

} // namespace morvi
