#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace morvi {

// Longest member name a GOB directory entry can hold (13 bytes with the terminating NUL).
inline constexpr std::size_t kGobNameMax = 12;

// One member of a GOB archive with its data held in memory. Copies share the data block until one
// of them changes it, so that an undo step holding every member of a large archive costs only the
// members that changed.
class CDataGobEntry {
public:
    CDataGobEntry() = default;
    CDataGobEntry(std::string name, std::span<const std::uint8_t> data);

    std::span<const std::uint8_t> data() const { return {m_pData.get(), m_nSize}; }
    std::string_view text() const { return {reinterpret_cast<const char*>(m_pData.get()), m_nSize}; }
    // The block for writing into it in place; a block shared with a copy is copied first.
    std::span<std::uint8_t> MutableData();
    // Replaces the data block; the size follows.
    void SetData(std::span<const std::uint8_t> data);
    void SetData(std::string_view text);
    // Gives the member a new block of size bytes whose contents the caller fills.
    std::uint8_t* Allocate(std::uint32_t size);
    // Whether both entries hold the very same block (not merely equal bytes).
    bool SharesDataWith(const CDataGobEntry& other) const { return m_pData == other.m_pData; }
    // The bytes this entry accounts for: its block divided among the entries sharing it.
    std::size_t SharedBytes() const;

    std::uint32_t m_nOffset = 0;
    std::uint32_t m_nSize = 0;
    std::string m_strName;

private:
    std::shared_ptr<std::uint8_t[]> m_pData;
};

} // namespace morvi
