#pragma once

#include "model/ByteStream.h"
#include "model/CDataObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace morvi {

class CDataLev;

// The binary encoding of level records used by library files and the clipboard: counts,
// length-prefixed strings, and object references with class tags, where classes and objects
// share one index sequence starting at 1. One archive either stores (into its own buffer) or
// loads (from bytes it does not own). Loading throws FormatError on anything it cannot take.
class RecordArchive {
public:
    // What decoding needs from the application: the LEV part whose texture table names resolve
    // against, and the layer that decoded sectors land on.
    struct Context {
        CDataLev* m_pLev = nullptr;
        int m_nLayer = 0;
    };

    explicit RecordArchive(Context context);                             // storing
    RecordArchive(std::span<const std::uint8_t> bytes, Context context); // loading
    // A loading archive does not own its bytes: a temporary buffer would be gone before the read.
    RecordArchive(std::vector<std::uint8_t>&& bytes, Context context) = delete;

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }
    Context& context() { return m_Context; }
    const std::vector<std::uint8_t>& bytes() const { return m_Buffer; }
    bool AtEnd() const { return m_Reader.remaining() == 0; }

    // Primitive fields, in the archive's direction.
    void Int(std::int32_t& v);
    void Double(double& v);
    void Text(std::string& s);
    void Colour32(std::uint32_t& v);

    void WriteU32(std::uint32_t v) { m_Writer.u32(v); }
    std::uint32_t ReadU32() { return m_Reader.u32(); }
    void WriteBytes(std::span<const std::uint8_t> b) { m_Writer.bytes(b); }
    std::span<const std::uint8_t> ReadBytes(std::size_t n) { return m_Reader.bytes(n); }
    void WriteCount(std::uint32_t n);
    // A count of things still to be read; a count larger than the bytes left is refused.
    std::uint32_t ReadCount(std::size_t minBytesEach = 1);
    void WriteString(std::string_view s);
    std::string ReadString();

    // An object reference: null, a new object (class tag and body), never a shared one.
    void WriteObject(const CDataObject* object);
    template <class T> std::unique_ptr<T> ReadObject() {
        static_assert(std::is_base_of_v<CDataObject, T>);
        T probe;
        auto object =
            ReadObjectOf(probe.GetRuntimeClass(), [] { return std::unique_ptr<CDataObject>(new T()); });
        return std::unique_ptr<T>(static_cast<T*>(object.release()));
    }

    // An object reference to an array of records ("CObArray"), in the archive's direction.
    template <class T> void SerializeArray(std::vector<std::unique_ptr<T>>& array) {
        if (IsStoring()) {
            WriteArrayHeader(array.size());
            for (auto& element : array)
                WriteObject(element.get());
            return;
        }
        array.clear();
        std::uint32_t count = 0;
        if (!ReadArrayHeader(count)) return;
        array.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            auto element = ReadObject<T>();
            if (!element) throw FormatError("an array holds an empty record reference");
            array.push_back(std::move(element));
        }
    }
    // A string array body: count, then the strings.
    void SerializeStrings(std::vector<std::string>& strings);

private:
    using Factory = std::unique_ptr<CDataObject> (*)();
    std::unique_ptr<CDataObject> ReadObjectOf(std::string_view className, Factory factory);
    // Writes the class tag of a new object of className and gives the object its index.
    void WriteNewObjectTag(std::string_view className, std::uint16_t schema);
    // Reads a reference tag; returns false for null, else the class name of the new object.
    bool ReadNewObjectTag(std::string& className);
    void WriteArrayHeader(std::size_t count);
    bool ReadArrayHeader(std::uint32_t& count);

    bool m_bStoring;
    Context m_Context;
    std::vector<std::uint8_t> m_Buffer;
    ByteWriter m_Writer{m_Buffer};
    ByteReader m_Reader{std::span<const std::uint8_t>()};
    std::uint32_t m_nNextIndex = 1;
    std::unordered_map<std::string, std::uint32_t> m_StoredClasses;
    // Loading: what each index stands for; an empty name marks an object.
    std::vector<std::string> m_LoadedIndex{std::string()};
};

} // namespace morvi
