#include "DemoSounds.h"

#include "DemoArt.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace morvi::demo {

namespace {

// 1,000,000 / (256 - 165) = 10,989 samples a second: the nearest a VOC time constant gets to
// the 11,025 of the game's sounds.
constexpr std::uint8_t kTimeConstant = 165;
constexpr int kRate = 10989;

enum class Wave { Sine, Square, Saw };

// How loud a sound is over its length; gains run 0 to 256.
enum class Envelope {
    Hold,  // full level, with 5 ms ramps so that it starts and stops without a click
    Loop,  // full level from the first sample to the last: the ends meet when it repeats
    Decay, // a 2 ms attack, then dying away quadratically, like a struck thing
    Swell, // rising to the middle and falling again
};

int Gain(Envelope envelope, int i, int n) {
    switch (envelope) {
    case Envelope::Hold: {
        const int ramp = kRate / 200;
        return std::min({256, i * 256 / ramp, (n - i) * 256 / ramp});
    }
    case Envelope::Loop:
        return 256;
    case Envelope::Decay: {
        const int attack = kRate / 500;
        if (i < attack) return i * 256 / attack;
        const std::int64_t left = n - i;
        return static_cast<int>(left * left * 256 / (std::int64_t(n) * n));
    }
    case Envelope::Swell:
        break;
    }
    return i < n / 2 ? i * 512 / n : (n - i) * 512 / n;
}

// A sine from the top 16 bits of a phase, as two parabolas: near enough for a sound.
int Sine(std::uint32_t phase) {
    const int p = static_cast<int>(phase >> 16);
    const int half = p & 0x7FFF;
    const int v = std::min(32767, half * (32768 - half) >> 13);
    return (p & 0x8000) ? -v : v;
}

int Oscillator(Wave wave, std::uint32_t phase) {
    switch (wave) {
    case Wave::Sine:
        return Sine(phase);
    case Wave::Square:
        return (phase & 0x80000000u) ? -32767 : 32767;
    case Wave::Saw:
        break;
    }
    return static_cast<int>(phase >> 16) - 32768;
}

std::uint32_t PhaseStep(int hz) {
    return static_cast<std::uint32_t>((std::uint64_t(hz) << 32) / kRate);
}

int Samples(int ms) {
    return ms * kRate / 1000;
}

// A mix of voices in 16-bit range; written out as 8-bit unsigned samples at the end.
class Track {
public:
    explicit Track(int ms) : m_Mix(static_cast<std::size_t>(Samples(ms)), 0) {}

    // A tone gliding from hz0 to hz1; level is its peak in 16-bit units.
    void Tone(int startMs, int ms, int hz0, int hz1, Wave wave, int level, Envelope envelope) {
        const int start = Samples(startMs), n = Samples(ms);
        std::uint32_t phase = 0;
        for (int i = 0; i < n; ++i) {
            const int hz = hz0 + (hz1 - hz0) * i / n;
            Add(start + i, static_cast<std::int64_t>(Oscillator(wave, phase)) * level / 32767 *
                               Gain(envelope, i, n) / 256);
            phase += PhaseStep(hz);
        }
    }

    // Noise through a one-pole low pass (smooth 0 is white, each step about halves its top
    // frequency); swayHz, when not 0, makes the level swell and ebb that often a second.
    void Noise(int startMs, int ms, int smooth, int level, Envelope envelope, DemoRandom& random,
               int swayHz = 0) {
        const int start = Samples(startMs), n = Samples(ms);
        int filtered = 0;
        std::uint32_t sway = 0x40000000u; // starting at the top of the sway keeps loops seamless
        for (int i = 0; i < n; ++i) {
            const int white = static_cast<int>(random.next() >> 16) - 32768;
            filtered += (white - filtered) >> smooth;
            // Lower frequencies carry less of the noise's power; make up for it.
            std::int64_t v = std::clamp<std::int64_t>(std::int64_t(filtered) << (smooth / 2), -32767, 32767);
            if (swayHz) v = v * (160 + (Sine(sway) * 96 >> 15)) / 256;
            Add(start + i, v * level / 32767 * Gain(envelope, i, n) / 256);
            sway += PhaseStep(swayHz);
        }
    }

    std::vector<std::uint8_t> Pcm() const {
        std::vector<std::uint8_t> out;
        out.reserve(m_Mix.size());
        for (int v : m_Mix)
            out.push_back(static_cast<std::uint8_t>(std::clamp(v >> 8, -128, 127) + 128));
        return out;
    }

private:
    void Add(int at, std::int64_t v) {
        if (at >= 0 && static_cast<std::size_t>(at) < m_Mix.size())
            m_Mix[static_cast<std::size_t>(at)] += static_cast<int>(v);
    }

    std::vector<int> m_Mix;
};

// --- Ambient: loops, no envelope at their ends ---

Track Wind() {
    Track t(2000);
    DemoRandom random(101);
    t.Noise(0, 2000, 5, 26000, Envelope::Loop, random, 1);
    t.Noise(0, 2000, 2, 4000, Envelope::Loop, random, 2);
    return t;
}

Track Water() {
    Track t(1600);
    DemoRandom random(102);
    t.Noise(0, 1600, 3, 15000, Envelope::Loop, random, 5);
    for (int b = 0; b < 14; ++b) {
        // One draw per statement: the order in which arguments are evaluated is not fixed.
        const int hz = random.between(350, 700);
        const int at = random.between(0, 1540);
        const int ms = random.between(25, 50);
        t.Tone(at, ms, hz, hz * 2, Wave::Sine, 16000, Envelope::Decay);
    }
    return t;
}

Track Machine() {
    Track t(1000);
    DemoRandom random(103);
    t.Tone(0, 1000, 55, 55, Wave::Saw, 7000, Envelope::Loop);
    t.Tone(0, 1000, 110, 110, Wave::Sine, 9000, Envelope::Loop);
    t.Noise(0, 1000, 4, 12000, Envelope::Loop, random, 4);
    return t;
}

Track Rumble() {
    Track t(1500);
    DemoRandom random(104);
    t.Noise(0, 1500, 7, 26000, Envelope::Loop, random, 2);
    t.Tone(0, 1500, 38, 38, Wave::Sine, 9000, Envelope::Loop);
    return t;
}

// --- Page ---

Track Beep() {
    Track t(300);
    t.Tone(0, 100, 1200, 1200, Wave::Sine, 16000, Envelope::Hold);
    t.Tone(160, 100, 1200, 1200, Wave::Sine, 16000, Envelope::Hold);
    return t;
}

Track Ship(int hz0, int hz1, std::uint32_t seed) {
    Track t(1800);
    DemoRandom random(seed);
    t.Tone(0, 1800, hz0, hz1, Wave::Saw, 6000, Envelope::Swell);
    t.Tone(0, 1800, hz0 / 2, hz1 / 2, Wave::Sine, 9000, Envelope::Swell);
    t.Noise(0, 1800, 2, 14000, Envelope::Swell, random);
    return t;
}

// --- Enemy ---

Track Trooper() {
    // A radio call: squelch click, two buzzing syllables over static, squelch again.
    Track t(700);
    DemoRandom random(105);
    t.Noise(0, 20, 0, 20000, Envelope::Decay, random);
    t.Tone(40, 250, 170, 190, Wave::Square, 6000, Envelope::Swell);
    t.Tone(40, 250, 510, 570, Wave::Sine, 7000, Envelope::Swell);
    t.Tone(330, 300, 150, 130, Wave::Square, 6000, Envelope::Swell);
    t.Tone(330, 300, 450, 390, Wave::Sine, 7000, Envelope::Swell);
    t.Noise(20, 620, 1, 3000, Envelope::Hold, random);
    t.Noise(660, 20, 0, 16000, Envelope::Decay, random);
    return t;
}

Track Turret() {
    Track t(500);
    for (int shot : {0, 220}) {
        t.Tone(shot, 200, 1800, 300, Wave::Square, 9000, Envelope::Decay);
        t.Tone(shot, 200, 900, 150, Wave::Sine, 9000, Envelope::Decay);
    }
    return t;
}

Track Welder() {
    Track t(900);
    DemoRandom random(106);
    t.Tone(0, 900, 60, 60, Wave::Saw, 5000, Envelope::Hold);
    for (int spark = 0; spark < 18; ++spark) {
        const int at = random.between(0, 860);
        const int ms = random.between(8, 40);
        const int smooth = random.between(0, 1);
        t.Noise(at, ms, smooth, 18000, Envelope::Decay, random);
    }
    return t;
}

Track Probe() {
    Track t(600);
    DemoRandom random(107);
    for (int b = 0; b < 5; ++b) {
        const int hz = random.between(600, 1600);
        t.Tone(b * 110, 80, hz, hz + random.between(-200, 200), Wave::Sine, 15000, Envelope::Hold);
    }
    return t;
}

// --- Weapon ---

Track Zap(int ms, int hz0, int hz1, int noise, std::uint32_t seed) {
    Track t(ms);
    DemoRandom random(seed);
    t.Tone(0, ms, hz0, hz1, Wave::Square, 10000, Envelope::Decay);
    t.Tone(0, ms, hz0 / 2, hz1 / 2, Wave::Sine, 12000, Envelope::Decay);
    if (noise) t.Noise(0, ms / 3, 1, noise, Envelope::Decay, random);
    return t;
}

Track Explosion() {
    Track t(1200);
    DemoRandom random(108);
    t.Noise(0, 1200, 5, 24000, Envelope::Decay, random);
    t.Noise(0, 500, 2, 16000, Envelope::Decay, random);
    t.Tone(0, 600, 60, 30, Wave::Sine, 16000, Envelope::Decay);
    return t;
}

Track Detonator() {
    // Beeps coming faster and faster.
    Track t(800);
    int at = 0;
    for (int gap = 200; at + 40 <= 800 && gap > 30; gap = gap * 2 / 3) {
        t.Tone(at, 40, 880, 880, Wave::Square, 14000, Envelope::Hold);
        at += gap;
    }
    return t;
}

// --- Doors, elevators, switches ---

Track Door() {
    // The slab grinding along its track, then the clunk of it stopping.
    Track t(1400);
    DemoRandom random(109);
    t.Noise(0, 1150, 6, 24000, Envelope::Hold, random, 3);
    t.Tone(0, 1150, 45, 50, Wave::Saw, 7000, Envelope::Hold);
    t.Tone(1120, 250, 90, 45, Wave::Sine, 20000, Envelope::Decay);
    t.Noise(1120, 90, 3, 22000, Envelope::Decay, random);
    return t;
}

Track Elevator() {
    // A motor winding up to speed.
    Track t(2000);
    DemoRandom random(110);
    t.Tone(0, 2000, 50, 66, Wave::Saw, 8000, Envelope::Hold);
    t.Tone(0, 2000, 100, 132, Wave::Sine, 9000, Envelope::Hold);
    t.Noise(0, 2000, 5, 12000, Envelope::Hold, random, 6);
    return t;
}

Track Switch(int hz, std::uint32_t seed) {
    // A click, a beat, a clack.
    Track t(250);
    DemoRandom random(seed);
    t.Noise(0, 8, 0, 26000, Envelope::Decay, random);
    t.Tone(0, 12, hz, hz, Wave::Sine, 14000, Envelope::Decay);
    t.Noise(60, 12, 1, 22000, Envelope::Decay, random);
    t.Tone(60, 20, hz / 2, hz / 2, Wave::Sine, 12000, Envelope::Decay);
    return t;
}

// --- Player ---

Track Jump() {
    Track t(300);
    DemoRandom random(111);
    t.Noise(0, 250, 3, 22000, Envelope::Swell, random);
    t.Tone(0, 250, 150, 220, Wave::Saw, 9000, Envelope::Swell);
    return t;
}

Track Chime(std::span<const int> notes, int stepMs) {
    Track t(stepMs * static_cast<int>(notes.size()) + 250);
    int at = 0;
    for (int hz : notes) {
        t.Tone(at, stepMs + 250, hz, hz, Wave::Sine, 12000, Envelope::Decay);
        t.Tone(at, stepMs + 250, hz * 2, hz * 2, Wave::Sine, 3000, Envelope::Decay);
        at += stepMs;
    }
    return t;
}

Track Shield() {
    Track t(800);
    t.Tone(0, 800, 400, 800, Wave::Sine, 12000, Envelope::Swell);
    t.Tone(0, 800, 407, 811, Wave::Sine, 12000, Envelope::Swell);
    return t;
}

constexpr std::array<int, 2> kKeyNotes{{660, 990}};
constexpr std::array<int, 4> kHealthNotes{{523, 659, 784, 1047}};

struct SoundEntry {
    std::string_view m_Name;
    Track (*m_pMake)();
    bool m_bLoop;
};

constexpr std::array<SoundEntry, 23> kSounds{{
    {"WIND01.VOC", Wind, true},
    {"WATER01.VOC", Water, true},
    {"MACHINE1.VOC", Machine, true},
    {"RUMBLE01.VOC", Rumble, true},
    {"BEEP-01.VOC", Beep, false},
    {"LANDING.VOC", [] { return Ship(900, 300, 112); }, false},
    {"TAKEOFF.VOC", [] { return Ship(300, 1200, 113); }, false},
    {"STORM01.VOC", Trooper, false},
    {"TURRET1.VOC", Turret, false},
    {"WELDER1.VOC", Welder, false},
    {"PROBE1.VOC", Probe, false},
    {"RIFLE-1.VOC", [] { return Zap(350, 2400, 200, 0, 114); }, false},
    {"PISTOL-1.VOC", [] { return Zap(400, 1600, 150, 14000, 115); }, false},
    {"EX-SMALL.VOC", Explosion, false},
    {"THERMAL1.VOC", Detonator, false},
    {"DOOR.VOC", Door, false},
    {"ELEV2-1.VOC", Elevator, false},
    {"SWITCH3.VOC", [] { return Switch(2000, 116); }, false},
    {"SWITCH1.VOC", [] { return Switch(1300, 117); }, false},
    {"JUMP1.VOC", Jump, false},
    {"KEY.VOC", [] { return Chime(kKeyNotes, 120); }, false},
    {"HEALTH.VOC", [] { return Chime(kHealthNotes, 90); }, false},
    {"SHIELD.VOC", Shield, false},
}};

constexpr std::array<std::string_view, kSounds.size()> kSoundNames = [] {
    std::array<std::string_view, kSounds.size()> names{};
    for (std::size_t i = 0; i < kSounds.size(); ++i)
        names[i] = kSounds[i].m_Name;
    return names;
}();

VocSound MakeSound(const SoundEntry& entry) {
    VocSound sound;
    sound.m_nTimeConstant = kTimeConstant;
    sound.m_nSampleRate = VocSampleRate(kTimeConstant);
    sound.m_nRepeatCount = entry.m_bLoop ? kVocEndlessRepeat : 0;
    sound.m_Samples = entry.m_pMake().Pcm();
    return sound;
}

// Our tables hold only valid names and sounds, so a refusal is a fault of this file.
void Require(const Status& status) {
    if (!status) throw std::logic_error(status.message());
}

} // namespace

std::span<const std::string_view> DemoSoundNames() {
    return kSoundNames;
}

VocSound BuildDemoSound(std::string_view memberName) {
    for (const SoundEntry& entry : kSounds)
        if (entry.m_Name == memberName) return MakeSound(entry);
    return {};
}

GobArchive BuildSoundsGob() {
    GobArchive gob;
    for (const SoundEntry& entry : kSounds) {
        std::vector<std::uint8_t> bytes;
        Require(WriteVoc(MakeSound(entry), bytes));
        Require(gob.AddMember(entry.m_Name, bytes));
    }
    return gob;
}

} // namespace morvi::demo
