// Library files and the clipboard: decode records and a resource block from arbitrary bytes. The
// records decoded encode to bytes that decode to records encoding to the same bytes again.
#include "model/CDataLevel.h"
#include "model/RecordArchive.h"
#include "model/ResourceBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// A sector, an object and an INF item, each possibly absent, as the stream repeats them.
struct Records {
    std::unique_ptr<morvi::CDataSector> m_pSector;
    std::unique_ptr<morvi::CDataObjectItem> m_pObject;
    std::unique_ptr<morvi::CDataInfItem> m_pItem;
};

// Decodes the stream into level's tables; false when it is refused.
bool Decode(std::span<const std::uint8_t> bytes, morvi::CDataLevel& level, std::vector<Records>& out) {
    morvi::RecordArchive ar(bytes, morvi::RecordArchive::Context{&level.m_Lev, 1});
    try {
        morvi::SerializeResourceBlock(level, ar, morvi::kLibraryVersionTag);
        while (!ar.AtEnd()) {
            Records r{ar.ReadObject<morvi::CDataSector>(), ar.ReadObject<morvi::CDataObjectItem>(),
                      ar.ReadObject<morvi::CDataInfItem>()};
            if (!r.m_pSector && !r.m_pObject && !r.m_pItem) break;
            out.push_back(std::move(r));
        }
    } catch (const morvi::FormatError&) {
        return false;
    }
    return true;
}

// Encodes the records against level's texture table, after an empty resource block.
std::vector<std::uint8_t> Encode(morvi::CDataLevel& level, std::vector<Records>& records) {
    morvi::RecordArchive ar(morvi::RecordArchive::Context{&level.m_Lev, 1});
    morvi::CDataLevel empty;
    morvi::SerializeResourceBlock(empty, ar, morvi::kLibraryVersionTag);
    for (Records& r : records) {
        ar.WriteObject(r.m_pSector.get());
        ar.WriteObject(r.m_pObject.get());
        ar.WriteObject(r.m_pItem.get());
    }
    return ar.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::CDataLevel first;
    std::vector<Records> decoded;
    if (!Decode(std::span(data, size), first, decoded)) return 0;
    const std::vector<std::uint8_t> once = Encode(first, decoded);
    morvi::CDataLevel second;
    std::vector<Records> again;
    if (Decode(once, second, again) && Encode(second, again) == once) return 0;
    std::fputs("encoded records do not decode to records that encode the same\n", stderr);
    std::abort();
}
