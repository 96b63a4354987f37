#include "app/Tips.h"

#include <array>
#include <chrono>
#include <exception>
#include <system_error>

namespace morvi {

namespace {

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

bool LocalTime(std::time_t when, std::tm& out) {
#if defined(_WIN32)
    return localtime_s(&out, &when) == 0;
#else
    return localtime_r(&when, &out) != nullptr;
#endif
}

} // namespace

bool IsTipLine(std::string_view line) {
    if (line.empty()) return false;
    const char first = line.front();
    return first != ' ' && first != '\t' && first != '\r' && first != '\n' && first != ';';
}

std::string FormatCtime(const std::tm& time) {
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto day = static_cast<std::size_t>(time.tm_wday) % kDays.size();
    const auto month = static_cast<std::size_t>(time.tm_mon) % kMonths.size();
    std::string text = std::string(kDays[day]) + ' ' + kMonths[month] + ' ';
    text += time.tm_mday < 10 ? ' ' + std::to_string(time.tm_mday) : std::to_string(time.tm_mday);
    text += ' ' + TwoDigits(time.tm_hour) + ':' + TwoDigits(time.tm_min) + ':' + TwoDigits(time.tm_sec);
    return text + ' ' + std::to_string(time.tm_year + 1900);
}

std::string FileTimeStamp(const std::filesystem::path& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) return {};
    const auto system = std::chrono::file_clock::to_sys(written);
    std::tm local{};
    if (!LocalTime(std::chrono::system_clock::to_time_t(system), local)) return {};
    return FormatCtime(local);
}

std::string TipFile::Start(const std::filesystem::path& path, TipState& state) {
    m_File.close();
    m_File.clear();
    std::error_code error;
    // A folder of that name opens on some systems but can never be read.
    if (!std::filesystem::is_regular_file(path, error)) return std::string(kTipsFileMissing);
    m_File.open(path, std::ios::in | std::ios::binary);
    if (!m_File.is_open()) return std::string(kTipsFileMissing);
    const std::string stamp = FileTimeStamp(path);
    if (stamp != state.m_strTimeStamp) {
        state.m_nFilePos = 0;
        state.m_strTimeStamp = stamp;
    }
    if (state.m_nFilePos < 0 || !m_File.seekg(state.m_nFilePos)) {
        m_File.clear();
        return std::string(kTipsFileTrouble);
    }
    return Next();
}

bool TipFile::ReadLine(std::string& line) {
    line.clear();
    std::streambuf* buffer = m_File.rdbuf();
    for (;;) {
        std::char_traits<char>::int_type next = std::char_traits<char>::eof();
        try {
            next = buffer->sbumpc();
        } catch (const std::exception&) {
            // A read error ends the line as the end of the file would.
        }
        if (next == std::char_traits<char>::eof()) {
            m_File.setstate(std::ios::eofbit);
            return !line.empty();
        }
        const char c = std::char_traits<char>::to_char_type(next);
        if (c == '\n') return true;
        if (line.size() < kMaxTipLength) line.push_back(c);
    }
}

std::string TipFile::Next() {
    if (!IsOpen()) return std::string(kTipsFileMissing);
    bool startedOver = false;
    std::string line;
    for (;;) {
        if (ReadLine(line)) {
            if (IsTipLine(line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            continue;
        }
        // One pass from the start that found no tip means there is none: stop instead of circling.
        if (startedOver) return std::string(kTipsFileEmpty);
        m_File.clear();
        if (!m_File.seekg(0)) return std::string(kTipsFileTrouble);
        startedOver = true;
    }
}

std::int64_t TipFile::Offset() {
    if (!IsOpen()) return -1;
    m_File.clear();
    return static_cast<std::int64_t>(m_File.tellg());
}

} // namespace morvi
