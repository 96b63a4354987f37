// The DELT and ANIM decoders and the PLTT reader on arbitrary bytes; what decodes is encoded again.
#include "resources/DeltPicture.h"
#include "resources/PlttPalette.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::GamePalette palette;
    const std::span<const std::uint8_t> bytes(data, size);
    morvi::DeltPicture picture;
    std::vector<std::uint8_t> out;
    if (morvi::DecodeDelt(bytes, "fuzz.dlt", palette, true, picture)) (void)morvi::EncodeDelt(picture, out);
    std::vector<morvi::DeltPicture> frames;
    if (morvi::DecodeAnim(bytes, "fuzz.anm", palette, true, frames)) (void)morvi::EncodeAnim(frames, out);
    morvi::PlttPalette pltt;
    if (morvi::ReadPltt(bytes, "fuzz.plt", pltt)) morvi::ApplyPltt(pltt, palette);
    return 0;
}
