#pragma once

#include "resources/SoundManager.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QIODevice>

#include <map>
#include <memory>

class QAudioSink;

namespace morvi::ui {

// The samples of one sound buffer as the audio sink pulls them: once through, or, for a static
// buffer, round and round without a gap until the sink is stopped. A new buffer is silence (128,
// the middle of unsigned 8-bit samples).
//   SoundSamples samples(4000, true);
//   samples.fill(sound.m_Samples);
//   sink->start(&samples);
class SoundSamples : public QIODevice {
public:
    SoundSamples(qsizetype nBytes, bool bLoop);

    // Copies the samples from the start of the buffer; those past its end are left out.
    void fill(std::span<const std::uint8_t> samples);
    // The next read starts again at the first sample.
    void rewind() { m_nPos = 0; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_Bytes;
    qsizetype m_nPos = 0;
    bool m_bLoop;
};

// Plays sound buffers on an audio device with Qt Multimedia: 8-bit unsigned mono at each buffer's
// rate, one audio sink per buffer, made when it first plays. Without a device (none found, or it
// refuses the format) it is not available and every call does nothing, silently.
//   QtSoundOutput output;
//   SoundManager sounds(output);
class QtSoundOutput final : public SoundOutput {
public:
    // The default audio output, looked for once per run.
    QtSoundOutput();
    // The given device; a null device plays nothing.
    explicit QtSoundOutput(const QAudioDevice& device);
    ~QtSoundOutput() override;

    bool IsAvailable() const override { return m_bAvailable; }
    std::optional<int> CreateBuffer(const SoundBufferFormat& format) override;
    bool Fill(int nBuffer, std::span<const std::uint8_t> samples) override;
    bool IsPlaying(int nBuffer) const override;
    // Starts from the first sample unless the buffer is playing; a static buffer loops until
    // stopped.
    void Play(int nBuffer) override;
    void Stop(int nBuffer) override;
    void Release(int nBuffer) override;
    // Kept for a buffer whose sink is made later, when it first plays.
    void SetVolume(int nBuffer, float volume) override;

    // Stops and drops every audio sink while the application still runs; afterwards the output is
    // no longer available. The application calls it on its way out.
    void shutDown();

    // The default audio output if there is one that plays 8-bit mono; null otherwise. The first
    // call asks Qt Multimedia and keeps the answer; what it prints while looking (no sound server,
    // no device) is kept off the console.
    static QAudioDevice DefaultDevice();

private:
    struct Buffer {
        QAudioFormat m_Format;
        std::unique_ptr<SoundSamples> m_pSamples;
        std::unique_ptr<QAudioSink> m_pSink;
        float m_fVolume = 1.0f;
    };

    Buffer* find(int nBuffer);
    const Buffer* find(int nBuffer) const;

    QAudioDevice m_Device;
    bool m_bAvailable = false;
    std::map<int, Buffer> m_Buffers;
    int m_nNextBuffer = 0;
};

} // namespace morvi::ui
