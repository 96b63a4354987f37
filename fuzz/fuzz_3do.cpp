// The 3DO reader on arbitrary text, then the writer and the wire-frame projections.
#include "resources/Model3D.h"
#include "resources/ModelProjection.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::TextNotes notes;
    const morvi::Model3D model =
        morvi::Read3DO(std::string_view(reinterpret_cast<const char*>(data), size), &notes);
    std::string out;
    morvi::Write3DO(model, out);
    (void)morvi::ProjectModel(model, 320, 240, 0);
    return 0;
}
