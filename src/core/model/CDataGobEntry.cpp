#include "model/CDataGobEntry.h"

#include <cstring>

namespace morvi {

CDataGobEntry::CDataGobEntry(std::string name, std::span<const std::uint8_t> data)
    : m_strName(std::move(name)) {
    SetData(data);
}

std::uint8_t* CDataGobEntry::Allocate(std::uint32_t size) {
    m_pData = std::make_shared_for_overwrite<std::uint8_t[]>(size == 0 ? 1 : size);
    m_nSize = size;
    return m_pData.get();
}

std::span<std::uint8_t> CDataGobEntry::MutableData() {
    if (m_pData.use_count() > 1) {
        const std::shared_ptr<std::uint8_t[]> shared = m_pData;
        std::memcpy(Allocate(m_nSize), shared.get(), m_nSize);
    }
    return {m_pData.get(), m_nSize};
}

std::size_t CDataGobEntry::SharedBytes() const {
    const long holders = m_pData.use_count();
    return holders > 0 ? m_nSize / static_cast<std::size_t>(holders) : 0;
}

void CDataGobEntry::SetData(std::span<const std::uint8_t> data) {
    std::uint8_t* block = Allocate(static_cast<std::uint32_t>(data.size()));
    if (!data.empty()) std::memcpy(block, data.data(), data.size());
}

void CDataGobEntry::SetData(std::string_view text) {
    SetData(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace morvi
