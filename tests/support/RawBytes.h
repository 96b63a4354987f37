#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace morvi::testing {

// Builds file bytes by hand, field by field, so that readers are tested against the format and
// not only against our own writers. Derive with the derived type as Self to add format helpers
// that chain with these.
template <class Self> struct RawBytesOf {
    std::vector<std::uint8_t> m_Bytes;

    Self& u8(std::uint8_t v) {
        m_Bytes.push_back(v);
        return self();
    }
    Self& u16(std::uint16_t v) {
        return u8(static_cast<std::uint8_t>(v)).u8(static_cast<std::uint8_t>(v >> 8));
    }
    Self& u32(std::uint32_t v) {
        return u16(static_cast<std::uint16_t>(v)).u16(static_cast<std::uint16_t>(v >> 16));
    }
    Self& text(std::string_view s) {
        m_Bytes.insert(m_Bytes.end(), s.begin(), s.end());
        return self();
    }
    Self& bytes(const std::vector<std::uint8_t>& b) {
        m_Bytes.insert(m_Bytes.end(), b.begin(), b.end());
        return self();
    }
    // A character field of a fixed width: the text, then NULs up to the width.
    Self& field(std::string_view s, std::size_t width) {
        return text(s).zeros(width > s.size() ? width - s.size() : 0);
    }
    Self& zeros(std::size_t n) {
        m_Bytes.resize(m_Bytes.size() + n, 0);
        return self();
    }

private:
    Self& self() { return static_cast<Self&>(*this); }
};

struct RawBytes : RawBytesOf<RawBytes> {};

} // namespace morvi::testing
