#pragma once

#include "model/Status.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// Where the binary writers put their bytes, so that one writer serves a file on disk and a buffer
// in memory alike.
class ByteSink {
public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    virtual ~ByteSink() = default;

    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
    void Write(std::string_view text) {
        Write(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
};

// Appends to a byte vector.
class VectorSink final : public ByteSink {
public:
    explicit VectorSink(std::vector<std::uint8_t>& out) : m_Out(out) {}
    using ByteSink::Write;
    void Write(std::span<const std::uint8_t> bytes) override {
        m_Out.insert(m_Out.end(), bytes.begin(), bytes.end());
    }

private:
    std::vector<std::uint8_t>& m_Out;
};

// A file that appears under its name only once it is completely written: the bytes go to a
// temporary file beside the target, which is flushed to the disk and then renamed over the target.
// Until Commit succeeds the old file stays as it was; a discarded or failed file leaves no
// temporary file behind.
class AtomicFile final : public ByteSink {
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile() override;

    // Creates the temporary file.
    Status Open();
    // Writes go on after an error without effect; Commit reports the first error.
    using ByteSink::Write;
    void Write(std::span<const std::uint8_t> bytes) override;
    // Flushes, syncs and closes the temporary file and renames it over the target.
    Status Commit();
    // Drops the temporary file; the target is left alone.
    void Discard();

private:
    Status Fail(std::string_view what, const std::string& reason);

    std::filesystem::path m_Target;
    std::filesystem::path m_Temp;
    std::FILE* m_pFile = nullptr;
    Status m_WriteError;
};

// Opens an atomic file for path, lets write fill it and commits it when write succeeds. When
// write fails its status is returned and the old file is untouched.
Status WriteFileAtomically(const std::filesystem::path& path, const std::function<Status(ByteSink&)>& write);

} // namespace morvi
