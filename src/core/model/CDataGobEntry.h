#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace morvi {

// Longest member name a GOB directory entry can hold (13 bytes with the terminating NUL).
inline constexpr std::size_t kGobNameMax = 12;

// One member of a GOB archive with its data held in memory.
class CDataGobEntry {
public:
    CDataGobEntry() = default;
    CDataGobEntry(std::string name, std::span<const std::uint8_t> data);

    std::span<const std::uint8_t> data() const { return {m_pData.get(), m_nSize}; }
    std::span<std::uint8_t> data() { return {m_pData.get(), m_nSize}; }
    std::string_view text() const { return {reinterpret_cast<const char*>(m_pData.get()), m_nSize}; }
    // Replaces the data block; the size follows.
    void SetData(std::span<const std::uint8_t> data);
    void SetData(std::string_view text);
    // Gives the member a block of size bytes whose contents the caller fills.
    std::uint8_t* Allocate(std::uint32_t size);

    std::uint32_t m_nOffset = 0;
    std::uint32_t m_nSize = 0;
    std::string m_strName;

private:
    std::unique_ptr<std::uint8_t[]> m_pData;
};

} // namespace morvi
