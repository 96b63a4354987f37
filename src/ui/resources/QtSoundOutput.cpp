#include "resources/QtSoundOutput.h"

#include <QAudioSink>
#include <QMediaDevices>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <optional>

namespace morvi::ui {

namespace {

constexpr char kSilence = char(128);
// The rate the game's sounds mostly have; a device that refuses 8-bit mono at it is not used.
constexpr int kProbeRate = 11025;

QAudioFormat MonoFormat(int nSampleRate) {
    QAudioFormat format;
    format.setSampleRate(nSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    return format;
}

bool Plays8BitMono(const QAudioDevice& device) {
    return !device.isNull() && device.isFormatSupported(MonoFormat(kProbeRate));
}

// While the default output is looked for, Qt Multimedia's warnings from this thread (no sound
// server to connect to, no device) go nowhere; everything else goes on as before.
std::atomic<QThread*> g_pQuietThread = nullptr;
QtMessageHandler g_PreviousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (QThread::currentThread() == g_pQuietThread.load() && type != QtCriticalMsg && type != QtFatalMsg)
        return;
    // Qt hands back its own default handler when no other was installed, never nothing.
    g_PreviousHandler(type, context, message);
}

} // namespace

SoundSamples::SoundSamples(qsizetype nBytes, bool bLoop)
    : m_Bytes(std::max<qsizetype>(0, nBytes), kSilence), m_bLoop(bLoop) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SoundSamples::fill(std::span<const std::uint8_t> samples) {
    const auto n = std::min(m_Bytes.size(), static_cast<qsizetype>(samples.size()));
    if (n > 0) std::memcpy(m_Bytes.data(), samples.data(), static_cast<std::size_t>(n));
}

qint64 SoundSamples::bytesAvailable() const {
    // A loop never runs dry.
    return (m_bLoop ? m_Bytes.size() : m_Bytes.size() - m_nPos) + QIODevice::bytesAvailable();
}

qint64 SoundSamples::readData(char* data, qint64 maxSize) {
    qint64 nRead = 0;
    while (nRead < maxSize && !m_Bytes.isEmpty()) {
        if (m_nPos == m_Bytes.size()) {
            if (!m_bLoop) break;
            m_nPos = 0;
        }
        const qint64 n = std::min<qint64>(maxSize - nRead, m_Bytes.size() - m_nPos);
        std::memcpy(data + nRead, m_Bytes.constData() + m_nPos, static_cast<std::size_t>(n));
        nRead += n;
        m_nPos += static_cast<qsizetype>(n);
    }
    return nRead;
}

QAudioDevice QtSoundOutput::DefaultDevice() {
    static const QAudioDevice device = [] {
        g_pQuietThread = QThread::currentThread();
        g_PreviousHandler = qInstallMessageHandler(QuietHandler);
        QAudioDevice found = QMediaDevices::defaultAudioOutput();
        qInstallMessageHandler(g_PreviousHandler);
        g_pQuietThread = nullptr;
        return Plays8BitMono(found) ? found : QAudioDevice();
    }();
    return device;
}

QtSoundOutput::QtSoundOutput() : QtSoundOutput(DefaultDevice()) {}

QtSoundOutput::QtSoundOutput(const QAudioDevice& device)
    : m_Device(device), m_bAvailable(Plays8BitMono(device)) {}

QtSoundOutput::~QtSoundOutput() {
    shutDown();
}

void QtSoundOutput::shutDown() {
    for (auto& [nBuffer, buffer] : m_Buffers)
        if (buffer.m_pSink) buffer.m_pSink->stop();
    m_Buffers.clear();
    m_bAvailable = false;
}

QtSoundOutput::Buffer* QtSoundOutput::find(int nBuffer) {
    const auto found = m_Buffers.find(nBuffer);
    return found == m_Buffers.end() ? nullptr : &found->second;
}

const QtSoundOutput::Buffer* QtSoundOutput::find(int nBuffer) const {
    const auto found = m_Buffers.find(nBuffer);
    return found == m_Buffers.end() ? nullptr : &found->second;
}

std::optional<int> QtSoundOutput::CreateBuffer(const SoundBufferFormat& format) {
    if (!m_bAvailable || format.m_nSampleRate == 0 || format.m_nSampleRate > INT_MAX) return std::nullopt;
    Buffer buffer;
    buffer.m_Format = MonoFormat(static_cast<int>(format.m_nSampleRate));
    if (!m_Device.isFormatSupported(buffer.m_Format)) return std::nullopt;
    buffer.m_pSamples =
        std::make_unique<SoundSamples>(static_cast<qsizetype>(format.m_nBytes), format.m_bStatic);
    const int nBuffer = m_nNextBuffer++;
    m_Buffers.emplace(nBuffer, std::move(buffer));
    return nBuffer;
}

bool QtSoundOutput::Fill(int nBuffer, std::span<const std::uint8_t> samples) {
    Buffer* buffer = find(nBuffer);
    if (!buffer) return false;
    buffer->m_pSamples->fill(samples);
    return true;
}

bool QtSoundOutput::IsPlaying(int nBuffer) const {
    const Buffer* buffer = find(nBuffer);
    // A sound played to its end leaves its sink idle.
    return buffer && buffer->m_pSink && buffer->m_pSink->state() == QAudio::ActiveState;
}

void QtSoundOutput::Play(int nBuffer) {
    Buffer* buffer = find(nBuffer);
    if (!buffer || IsPlaying(nBuffer)) return;
    if (!buffer->m_pSink) {
        buffer->m_pSink = std::make_unique<QAudioSink>(m_Device, buffer->m_Format);
        buffer->m_pSink->setVolume(buffer->m_fVolume);
    } else {
        buffer->m_pSink->stop();
    }
    buffer->m_pSamples->rewind();
    buffer->m_pSink->start(buffer->m_pSamples.get());
}

void QtSoundOutput::Stop(int nBuffer) {
    Buffer* buffer = find(nBuffer);
    if (buffer && buffer->m_pSink) buffer->m_pSink->stop();
}

void QtSoundOutput::SetVolume(int nBuffer, float volume) {
    Buffer* buffer = find(nBuffer);
    if (!buffer) return;
    buffer->m_fVolume = volume;
    if (buffer->m_pSink) buffer->m_pSink->setVolume(volume);
}

void QtSoundOutput::Release(int nBuffer) {
    Stop(nBuffer);
    m_Buffers.erase(nBuffer);
}

} // namespace morvi::ui
