#include "model/RecordArchive.h"

namespace morvi {

namespace {
constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::uint16_t kRecordSchema = 1;
constexpr std::string_view kArrayClass = "CObArray";
// A class name longer than this is not one of ours.
constexpr std::uint16_t kMaxClassName = 64;
} // namespace

RecordArchive::RecordArchive(Context context) : m_bStoring(true), m_Context(context) {}

RecordArchive::RecordArchive(std::span<const std::uint8_t> bytes, Context context)
    : m_bStoring(false), m_Context(context), m_Reader(bytes) {}

void RecordArchive::Int(std::int32_t& v) {
    if (m_bStoring)
        m_Writer.i32(v);
    else
        v = m_Reader.i32();
}

void RecordArchive::Double(double& v) {
    if (m_bStoring)
        m_Writer.f64(v);
    else
        v = m_Reader.f64();
}

void RecordArchive::Text(std::string& s) {
    if (m_bStoring)
        WriteString(s);
    else
        s = ReadString();
}

void RecordArchive::Colour32(std::uint32_t& v) {
    if (m_bStoring)
        m_Writer.u32(v);
    else
        v = m_Reader.u32();
}

void RecordArchive::WriteCount(std::uint32_t n) {
    if (n < 0xFFFF) {
        m_Writer.u16(static_cast<std::uint16_t>(n));
    } else {
        m_Writer.u16(0xFFFF);
        m_Writer.u32(n);
    }
}

std::uint32_t RecordArchive::ReadCount(std::size_t minBytesEach) {
    std::uint32_t n = m_Reader.u16();
    if (n == 0xFFFF) n = m_Reader.u32();
    if (minBytesEach > 0 && n > m_Reader.remaining() / minBytesEach)
        throw FormatError("a count of " + std::to_string(n) + " is larger than the data that follows");
    return n;
}

void RecordArchive::WriteString(std::string_view s) {
    if (s.size() < 255) {
        m_Writer.u8(static_cast<std::uint8_t>(s.size()));
    } else if (s.size() < 0xFFFE) {
        m_Writer.u8(0xFF);
        m_Writer.u16(static_cast<std::uint16_t>(s.size()));
    } else {
        m_Writer.u8(0xFF);
        m_Writer.u16(0xFFFF);
        m_Writer.u32(static_cast<std::uint32_t>(s.size()));
    }
    m_Writer.chars(s);
}

std::string RecordArchive::ReadString() {
    std::uint32_t n = m_Reader.u8();
    if (n == 0xFF) {
        n = m_Reader.u16();
        if (n == 0xFFFF) n = m_Reader.u32();
    }
    return std::string(m_Reader.chars(n));
}

void RecordArchive::SerializeStrings(std::vector<std::string>& strings) {
    if (m_bStoring) {
        WriteCount(static_cast<std::uint32_t>(strings.size()));
        for (const auto& s : strings)
            WriteString(s);
        return;
    }
    const std::uint32_t n = ReadCount(1);
    strings.clear();
    strings.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i)
        strings.push_back(ReadString());
}

void RecordArchive::WriteNewObjectTag(std::string_view className, std::uint16_t schema) {
    auto known = m_StoredClasses.find(std::string(className));
    if (known == m_StoredClasses.end()) {
        m_Writer.u16(kNewClassTag);
        m_Writer.u16(schema);
        m_Writer.u16(static_cast<std::uint16_t>(className.size()));
        m_Writer.chars(className);
        m_StoredClasses.emplace(std::string(className), m_nNextIndex++);
    } else if (known->second < kBigObjectTag) {
        m_Writer.u16(static_cast<std::uint16_t>(kClassTag | known->second));
    } else {
        m_Writer.u16(kBigObjectTag);
        m_Writer.u32(kBigClassTag | known->second);
    }
    // The object itself takes the next index, before its body.
    ++m_nNextIndex;
}

bool RecordArchive::ReadNewObjectTag(std::string& className) {
    const std::uint16_t tag = m_Reader.u16();
    if (tag == kNullTag) return false;
    std::uint32_t classIndex = 0;
    if (tag == kNewClassTag) {
        m_Reader.u16(); // schema: every version of our records reads the same body
        const std::uint16_t length = m_Reader.u16();
        if (length == 0 || length > kMaxClassName) throw FormatError("a record class name is not valid");
        className = std::string(m_Reader.chars(length));
        m_LoadedIndex.push_back(className);
    } else {
        if (tag == kBigObjectTag) {
            const std::uint32_t big = m_Reader.u32();
            if (!(big & kBigClassTag)) throw FormatError("a record is referenced twice");
            classIndex = big & ~kBigClassTag;
        } else if (tag & kClassTag) {
            classIndex = tag & ~kClassTag;
        } else {
            throw FormatError("a record is referenced twice");
        }
        if (classIndex >= m_LoadedIndex.size() || m_LoadedIndex[classIndex].empty())
            throw FormatError("a record names an unknown class (" + std::to_string(classIndex) + ")");
        className = m_LoadedIndex[classIndex];
    }
    m_LoadedIndex.emplace_back(); // the object's own index
    return true;
}

void RecordArchive::WriteObject(const CDataObject* object) {
    if (!object) {
        m_Writer.u16(kNullTag);
        return;
    }
    WriteNewObjectTag(object->GetRuntimeClass(), kRecordSchema);
    // Serialize goes both ways; a storing archive only reads the record.
    const_cast<CDataObject*>(object)->Serialize(*this);
}

std::unique_ptr<CDataObject> RecordArchive::ReadObjectOf(std::string_view className, Factory factory) {
    std::string found;
    if (!ReadNewObjectTag(found)) return nullptr;
    if (found != className)
        throw FormatError("expected a " + std::string(className) + " record, found " + found);
    auto object = factory();
    object->Serialize(*this);
    return object;
}

void RecordArchive::WriteArrayHeader(std::size_t count) {
    WriteNewObjectTag(kArrayClass, 0);
    WriteCount(static_cast<std::uint32_t>(count));
}

bool RecordArchive::ReadArrayHeader(std::uint32_t& count) {
    std::string found;
    if (!ReadNewObjectTag(found)) {
        count = 0;
        return false;
    }
    if (found != kArrayClass) throw FormatError("expected a record array, found " + found);
    // Every element takes at least a two-byte tag.
    count = ReadCount(2);
    return true;
}

} // namespace morvi
