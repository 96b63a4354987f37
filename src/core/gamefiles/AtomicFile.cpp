#include "gamefiles/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace morvi {

namespace {

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

// A name no other save running at the same moment picks, also within this process.
std::filesystem::path TempNameBeside(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long tag = ticks * 31u + counter.fetch_add(1) * 7919u + attempt;
    std::filesystem::path temp = target;
    temp += "." + std::to_string(tag % 1000000007ull) + ".tmp";
    return temp;
}

bool SyncToDisk([[maybe_unused]] std::FILE* file) {
#if defined(__unix__) || defined(__APPLE__)
    return fsync(fileno(file)) == 0;
#else
    return true;
#endif
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_Target(std::move(target)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

Status AtomicFile::Open() {
    Discard();
    m_WriteError = Status::Ok();
    for (unsigned attempt = 0; attempt < 16 && !m_pFile; ++attempt) {
        m_Temp = TempNameBeside(m_Target, attempt);
        // "x": never reuse a file that exists, whoever made it.
        errno = 0;
        m_pFile = std::fopen(m_Temp.string().c_str(), "wbx");
        if (!m_pFile && errno != EEXIST) break;
    }
    if (!m_pFile) {
        const int error = errno;
        m_Temp.clear();
        return Status::Fail(m_Target.string() +
                            ": cannot create a temporary file in its folder: " + ErrorText(error));
    }
    // Archives are written as many blocks, small and large; fewer, larger writes are faster.
    std::setvbuf(m_pFile, nullptr, _IOFBF, 1 << 16);
    // A replaced file keeps its permissions.
    std::error_code ec;
    if (std::filesystem::is_regular_file(m_Target, ec))
        std::filesystem::permissions(m_Temp, std::filesystem::status(m_Target, ec).permissions(), ec);
    return Status::Ok();
}

void AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (!m_pFile || !m_WriteError.ok() || bytes.empty()) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_pFile) != bytes.size())
        m_WriteError =
            Status::Fail(m_Target.string() + ": cannot write the file: " + ErrorText(errno ? errno : EIO));
}

Status AtomicFile::Fail(std::string_view what, const std::string& reason) {
    Discard();
    return Status::Fail(m_Target.string() + ": " + std::string(what) + ": " + reason);
}

Status AtomicFile::Commit() {
    if (!m_pFile) return Status::Fail(m_Target.string() + ": the file was not opened for writing.");
    if (!m_WriteError.ok()) {
        Status error = m_WriteError;
        Discard();
        return error;
    }
    errno = 0;
    if (std::fflush(m_pFile) != 0 || !SyncToDisk(m_pFile))
        return Fail("cannot write the file", ErrorText(errno ? errno : EIO));
    const int closed = std::fclose(m_pFile);
    m_pFile = nullptr;
    if (closed != 0) return Fail("cannot write the file", ErrorText(errno ? errno : EIO));
    std::error_code ec;
    std::filesystem::rename(m_Temp, m_Target, ec);
    if (ec) return Fail("cannot replace the file", ec.message());
    m_Temp.clear();
    return Status::Ok();
}

void AtomicFile::Discard() {
    if (m_pFile) std::fclose(m_pFile);
    m_pFile = nullptr;
    if (!m_Temp.empty()) {
        std::error_code ec;
        std::filesystem::remove(m_Temp, ec);
        m_Temp.clear();
    }
}

Status WriteFileAtomically(const std::filesystem::path& path, const std::function<Status(ByteSink&)>& write) {
    AtomicFile file(path);
    if (Status opened = file.Open(); !opened) return opened;
    if (Status written = write(file); !written) return written;
    return file.Commit();
}

} // namespace morvi
