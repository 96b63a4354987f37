// The VOC reader on arbitrary bytes, and the sound manager loading them into a silent output.
#include "resources/SoundManager.h"
#include "resources/VocSound.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::VocSound sound;
    if (morvi::ReadVoc("fuzz.voc", std::span(data, size), sound)) {
        std::vector<std::uint8_t> out;
        (void)morvi::WriteVoc(sound, out);
    }
    morvi::NullSoundOutput output;
    morvi::SoundManager manager(output);
    manager.SetSoundMode(morvi::SoundManager::kPlayOnLoad);
    (void)manager.LoadVoc("fuzz.voc", std::span(data, size));
    return 0;
}
