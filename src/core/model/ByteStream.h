#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// Thrown by ByteReader when a read needs more bytes than remain; binary readers catch it at their
// entry point and turn it into a message naming the file.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A bounds-checked little-endian reader over bytes it does not own.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_Bytes(bytes) {}

    std::size_t position() const { return m_nPos; }
    std::size_t size() const { return m_Bytes.size(); }
    std::size_t remaining() const { return m_Bytes.size() - m_nPos; }
    void seek(std::size_t pos) {
        if (pos > m_Bytes.size()) Fail(pos - m_Bytes.size());
        m_nPos = pos;
    }

    std::uint8_t u8() { return Take(1)[0]; }
    std::uint16_t u16() {
        const std::uint8_t* p = Take(2);
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t u32() {
        const std::uint8_t* p = Take(4);
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
               (std::uint32_t(p[3]) << 24);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64() {
        const std::uint8_t* p = Take(8);
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    float f32() {
        const std::uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    std::span<const std::uint8_t> bytes(std::size_t n) { return {Take(n), n}; }
    std::string_view chars(std::size_t n) { return {reinterpret_cast<const char*>(Take(n)), n}; }

private:
    const std::uint8_t* Take(std::size_t n) {
        if (n > remaining()) Fail(n);
        const std::uint8_t* p = m_Bytes.data() + m_nPos;
        m_nPos += n;
        return p;
    }
    [[noreturn]] void Fail(std::size_t n) const {
        throw FormatError("the data ends early (" + std::to_string(n) + " bytes needed at offset " +
                          std::to_string(m_nPos) + " of " + std::to_string(m_Bytes.size()) + ")");
    }

    std::span<const std::uint8_t> m_Bytes;
    std::size_t m_nPos = 0;
};

// A little-endian writer appending to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : m_Out(out) {}

    void u8(std::uint8_t v) { m_Out.push_back(v); }
    void u16(std::uint16_t v) {
        m_Out.push_back(static_cast<std::uint8_t>(v));
        m_Out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) m_Out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double d) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof d);
        for (int i = 0; i < 8; ++i) m_Out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    void f32(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof f);
        u32(bits);
    }
    void bytes(std::span<const std::uint8_t> b) { m_Out.insert(m_Out.end(), b.begin(), b.end()); }
    void chars(std::string_view s) { m_Out.insert(m_Out.end(), s.begin(), s.end()); }

    std::vector<std::uint8_t>& buffer() { return m_Out; }

private:
    std::vector<std::uint8_t>& m_Out;
};

} // namespace morvi
