#include "resources/SoundManager.h"

#include <algorithm>
#include <cmath>

namespace morvi {

namespace {

bool Contains(const std::vector<int>& list, int nValue) {
    return std::find(list.begin(), list.end(), nValue) != list.end();
}

void Remove(std::vector<int>& list, int nValue) {
    list.erase(std::remove(list.begin(), list.end(), nValue), list.end());
}

} // namespace

std::optional<int> NullSoundOutput::CreateBuffer(const SoundBufferFormat& format) {
    std::string call = "create ";
    if (m_bRefuseCreate) {
        m_Calls.push_back(call + "refused");
        return std::nullopt;
    }
    const int nBuffer = m_nNextBuffer++;
    call += std::to_string(nBuffer) + " " + std::to_string(format.m_nSampleRate) + " " +
            std::to_string(format.m_nBytes);
    if (format.m_bStatic) call += " static";
    m_Calls.push_back(call);
    m_Live.push_back(nBuffer);
    return nBuffer;
}

bool NullSoundOutput::Fill(int nBuffer, std::span<const std::uint8_t> samples) {
    std::string call = "fill " + std::to_string(nBuffer) + " " + std::to_string(samples.size());
    if (m_bRefuseFill || !Contains(m_Live, nBuffer)) {
        m_Calls.push_back(call + " refused");
        return false;
    }
    m_Calls.push_back(call);
    m_Contents[nBuffer].assign(samples.begin(), samples.end());
    return true;
}

bool NullSoundOutput::IsPlaying(int nBuffer) const {
    return Contains(m_Playing, nBuffer);
}

void NullSoundOutput::Play(int nBuffer) {
    m_Calls.push_back("play " + std::to_string(nBuffer));
    if (Contains(m_Live, nBuffer) && !IsPlaying(nBuffer)) m_Playing.push_back(nBuffer);
}

void NullSoundOutput::Stop(int nBuffer) {
    m_Calls.push_back("stop " + std::to_string(nBuffer));
    Remove(m_Playing, nBuffer);
}

void NullSoundOutput::SetVolume(int nBuffer, float volume) {
    m_Calls.push_back("volume " + std::to_string(nBuffer) + " " + std::to_string(std::lround(volume * 100.0f)));
}

void NullSoundOutput::Release(int nBuffer) {
    m_Calls.push_back("release " + std::to_string(nBuffer));
    Remove(m_Playing, nBuffer);
    Remove(m_Live, nBuffer);
    m_Contents.erase(nBuffer);
}

void NullSoundOutput::Finish(int nBuffer) {
    Remove(m_Playing, nBuffer);
}

SoundManager::~SoundManager() {
    ReleaseAll();
}

void SoundManager::ReleaseAll() {
    for (const int nBuffer : m_Buffers) {
        if (m_Output.IsPlaying(nBuffer)) m_Output.Stop(nBuffer);
        m_Output.Release(nBuffer);
    }
    m_Buffers.clear();
}

int SoundManager::LoadVoc(std::string_view name, std::span<const std::uint8_t> bytes, Status* pStatus) {
    VocSound sound;
    Status read = ReadVoc(name, bytes, sound);
    return Load(name, sound, std::move(read), pStatus);
}

int SoundManager::LoadSound(std::string_view name, const VocSound& sound, Status* pStatus) {
    return Load(name, sound, Status::Ok(), pStatus);
}

int SoundManager::Load(std::string_view name, const VocSound& sound, Status read, Status* pStatus) {
    Status status = std::move(read);
    int nHandle = -1;
    if (!m_Output.IsAvailable()) {
        status = Status::Fail(std::string(name) + ": there is no sound device");
    } else {
        // A sound that replaces the others drops them even when it does not read.
        if (m_nSoundMode == kPlayOnLoad) ReleaseAll();
        if (status) nHandle = AddSound(sound);
        if (status && nHandle < 0)
            status = Status::Fail(std::string(name) + ": the sound device refused the sound");
    }
    if (pStatus) *pStatus = status;
    return nHandle;
}

int SoundManager::AddSound(const VocSound& sound) {
    SoundBufferFormat format;
    format.m_nSampleRate = sound.m_nSampleRate;
    format.m_nBytes = static_cast<std::uint32_t>(sound.m_Samples.size());
    format.m_bStatic = sound.IsEndless();
    const std::optional<int> buffer = m_Output.CreateBuffer(format);
    if (!buffer) return -1;
    // A buffer that cannot be written stays loaded, silent, so that handles keep their order.
    m_Output.Fill(*buffer, sound.m_Samples);
    m_Buffers.push_back(*buffer);
    if (m_nSoundMode == kPlayOnLoad && !m_Output.IsPlaying(*buffer)) m_Output.Play(*buffer);
    return static_cast<int>(m_Buffers.size()) - 1;
}

std::optional<int> SoundManager::BufferOf(int nHandle) const {
    if (nHandle < 0 || static_cast<std::size_t>(nHandle) >= m_Buffers.size()) return std::nullopt;
    return m_Buffers[static_cast<std::size_t>(nHandle)];
}

bool SoundManager::Play(int nHandle) {
    const std::optional<int> buffer = BufferOf(nHandle);
    if (!buffer) return false;
    m_Output.Play(*buffer);
    return true;
}

bool SoundManager::SetVolume(int nHandle, float volume) {
    const std::optional<int> buffer = BufferOf(nHandle);
    if (!buffer) return false;
    m_Output.SetVolume(*buffer, std::clamp(volume, 0.0f, 1.0f));
    return true;
}

bool SoundManager::Stop(int nHandle) {
    const std::optional<int> buffer = BufferOf(nHandle);
    if (!buffer) return false;
    if (m_Output.IsPlaying(*buffer)) m_Output.Stop(*buffer);
    return true;
}

void SoundManager::StopAll() {
    for (const int nBuffer : m_Buffers)
        if (m_Output.IsPlaying(nBuffer)) m_Output.Stop(nBuffer);
}

} // namespace morvi
