#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace morvi {

// Texts shown in place of a tip.
inline constexpr std::string_view kTipsFileMissing = "Tips file does not exist in the prescribed directory";
inline constexpr std::string_view kTipsFileTrouble = "Trouble reading the tips file";
inline constexpr std::string_view kTipsFileEmpty = "The tips file holds no tips.";
// The longest tip; the rest of a longer line is passed over.
inline constexpr std::size_t kMaxTipLength = 1000;

// What the tip of the day remembers across runs (profile section "Tip").
struct TipState {
    // 0: show tips at start-up; anything else: do not.
    int m_nStartUp = 0;
    // Byte offset of the next tip to show.
    std::int64_t m_nFilePos = 0;
    // The tips file's modification time as last seen, in ctime form.
    std::string m_strTimeStamp;
};

// A line that begins with a blank, a tab, a line end or ";" is spacing or a comment, not a tip.
bool IsTipLine(std::string_view line);
// The ctime text of a broken-down time ("Wed Jun  3 09:05:07 1998"), without the line end; always
// in English, whatever the locale.
std::string FormatCtime(const std::tm& time);
// The file's last-modification time in local time as FormatCtime text; empty when it has none.
std::string FileTimeStamp(const std::filesystem::path& path);

// The tips file, read one tip at a time and starting over at its end.
class TipFile {
public:
    // Opens the file and moves to the remembered tip. A file whose modification time differs from
    // the remembered one starts over at its first tip, and the new time is remembered. Returns the
    // first tip to show, or the message that takes its place.
    std::string Start(const std::filesystem::path& path, TipState& state);
    bool IsOpen() const { return m_File.is_open(); }
    // The next tip, without its line end. At the end of the file reading goes on from the start; a
    // whole pass without a tip line ends the search with kTipsFileEmpty.
    std::string Next();
    // Where the next tip starts; -1 when the file is not open or lost its place.
    std::int64_t Offset();

private:
    // Reads one line of at most kMaxTipLength characters and drops the rest of a longer one.
    bool ReadLine(std::string& line);

    std::ifstream m_File;
};

} // namespace morvi
