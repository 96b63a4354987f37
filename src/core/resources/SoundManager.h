#pragma once

#include "model/Status.h"
#include "resources/VocSound.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// What a sound buffer is made of: 8-bit unsigned mono PCM, so bytes per second equal samples per
// second and a sample is one byte.
struct SoundBufferFormat {
    std::uint32_t m_nSampleRate = 0;
    std::uint32_t m_nBytes = 0;
    // Sounds repeated without end are kept whole in a static buffer.
    bool m_bStatic = false;
};

// The sound device as the manager needs it. Buffer ids are the output's own, not handles.
class SoundOutput {
public:
    SoundOutput() = default;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;
    virtual ~SoundOutput() = default;

    // False when there is no device to play on.
    virtual bool IsAvailable() const = 0;
    // A new, silent buffer; nothing when the device refuses it.
    virtual std::optional<int> CreateBuffer(const SoundBufferFormat& format) = 0;
    // Copies the samples into the buffer; false when the buffer cannot be written.
    virtual bool Fill(int nBuffer, std::span<const std::uint8_t> samples) = 0;
    virtual bool IsPlaying(int nBuffer) const = 0;
    // Starts the buffer; a static one (a sound repeated without end) repeats until stopped.
    virtual void Play(int nBuffer) = 0;
    virtual void Stop(int nBuffer) = 0;
    virtual void Release(int nBuffer) = 0;
    // How loud the buffer plays, 0 (silent) to 1 (as recorded); an output that cannot change it
    // plays every buffer as recorded.
    virtual void SetVolume(int nBuffer, float volume) {
        (void)nBuffer;
        (void)volume;
    }
};

// An output that plays nothing and records every call as a line ("create 0 11025 4000 static",
// "fill 0 4000", "play 0", "stop 0", "release 0"). Used where there is no device and in tests.
class NullSoundOutput final : public SoundOutput {
public:
    explicit NullSoundOutput(bool bAvailable = true) : m_bAvailable(bAvailable) {}

    bool IsAvailable() const override { return m_bAvailable; }
    std::optional<int> CreateBuffer(const SoundBufferFormat& format) override;
    bool Fill(int nBuffer, std::span<const std::uint8_t> samples) override;
    bool IsPlaying(int nBuffer) const override;
    void Play(int nBuffer) override;
    void Stop(int nBuffer) override;
    void Release(int nBuffer) override;
    // Recorded as "volume 0 50" (in hundredths).
    void SetVolume(int nBuffer, float volume) override;

    // Marks a buffer as played to its end, as the device would when a sound finishes.
    void Finish(int nBuffer);

    std::vector<std::string> m_Calls;
    // Buffers currently alive (created, not released) and those playing.
    std::vector<int> m_Live;
    std::vector<int> m_Playing;
    // What each buffer was filled with.
    std::map<int, std::vector<std::uint8_t>> m_Contents;
    // Refusals to simulate a device out of memory or a buffer that cannot be locked.
    bool m_bRefuseCreate = false;
    bool m_bRefuseFill = false;

private:
    bool m_bAvailable;
    int m_nNextBuffer = 0;
};

// The sounds loaded on one device. A handle is the index of the sound's buffer in load order.
class SoundManager {
public:
    // The sound mode that makes a newly loaded sound replace every other and play at once.
    static constexpr int kPlayOnLoad = 2;

    // The output must outlive the manager.
    explicit SoundManager(SoundOutput& output) : m_Output(output) {}
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;
    // Stops every playing sound and releases every buffer.
    ~SoundManager();

    // The 3D view's sound mode; only kPlayOnLoad means anything here.
    void SetSoundMode(int nMode) { m_nSoundMode = nMode; }
    int SoundMode() const { return m_nSoundMode; }

    // Loads a VOC into a new buffer and returns its handle, or -1 (with the reason in *pStatus when
    // given). In kPlayOnLoad mode every earlier sound is stopped and dropped first, even when the
    // new one then fails, and the new one starts at once.
    int LoadVoc(std::string_view name, std::span<const std::uint8_t> bytes, Status* pStatus = nullptr);
    // The same for a sound already read (the resource preview reads its VOC itself).
    int LoadSound(std::string_view name, const VocSound& sound, Status* pStatus = nullptr);

    // Starts a loaded sound (an endless one repeats until stopped); false for an unknown handle.
    bool Play(int nHandle);
    // Stops a sound if it is playing; false for an unknown handle.
    bool Stop(int nHandle);
    // Sets how loud a sound plays (0 to 1, clamped); false for an unknown handle.
    bool SetVolume(int nHandle, float volume);
    // Stops every sound that is playing; the buffers stay loaded.
    void StopAll();

    std::size_t SoundCount() const { return m_Buffers.size(); }
    // The output's buffer behind a handle; nothing for an unknown handle.
    std::optional<int> BufferOf(int nHandle) const;

private:
    void ReleaseAll();
    // Loads a sound whose reading ended with read (a failure loads nothing but still replaces the
    // others in kPlayOnLoad mode).
    int Load(std::string_view name, const VocSound& sound, Status read, Status* pStatus);
    int AddSound(const VocSound& sound);

    SoundOutput& m_Output;
    std::vector<int> m_Buffers;
    int m_nSoundMode = 0;
};

} // namespace morvi
