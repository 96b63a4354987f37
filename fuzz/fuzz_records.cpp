// Library files and the clipboard: decode records and a resource block from arbitrary bytes.
#include "model/CDataInfItem.h"
#include "model/CDataLevel.h"
#include "model/RecordArchive.h"
#include "model/ResourceBlock.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::CDataLevel level;
    morvi::RecordArchive ar(std::span(data, size), morvi::RecordArchive::Context{&level.m_Lev, 1});
    try {
        morvi::SerializeResourceBlock(level, ar, morvi::kLibraryVersionTag);
        while (!ar.AtEnd()) {
            auto sector = ar.ReadObject<morvi::CDataSector>();
            auto object = ar.ReadObject<morvi::CDataObjectItem>();
            auto item = ar.ReadObject<morvi::CDataInfItem>();
            if (!sector && !object && !item) break;
        }
    } catch (const morvi::FormatError&) {
    }
    return 0;
}
