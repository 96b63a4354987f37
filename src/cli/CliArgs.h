#pragma once

#include "model/Status.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {
class CMorviDoc;
}

namespace morvi::cli {

// The words after a command: positional arguments and --options (with or without a value).
class CliArgs {
public:
    // valueOptions names the options that take a value ("--level"); others are flags.
    CliArgs(const std::vector<std::string>& words, const std::vector<std::string_view>& valueOptions);

    const std::vector<std::string>& positional() const { return m_Positional; }
    bool flag(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;
    // Every value given to an option that may be repeated, in the order given.
    std::vector<std::string> values(std::string_view name) const;
    // The first problem met while reading the words ("unknown option --x"), empty when none.
    const std::string& error() const { return m_strError; }

private:
    std::vector<std::string> m_Positional;
    std::vector<std::string> m_Flags;
    std::vector<std::pair<std::string, std::string>> m_Values;
    std::string m_strError;
};

// A JSON string literal for text (quotes, backslashes and control characters escaped).
std::string JsonString(std::string_view text);

// A member name cannot leave the folder it is extracted into.
bool IsSafeFileName(std::string_view name);

// A whole non-negative decimal number; false for anything else.
bool ParseCount(std::string_view text, int& out);

// Writes bytes to path through a temporary file, so that a failed write leaves the old file.
Status WriteBytesFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

int Fail(const std::string& message);       // prints "morvi-cli: message" to stderr, returns 1
int UsageError(const std::string& message); // the same, returns 2

// Loads a .gob or .mrv into doc, choosing the level named by --level when the archive holds several.
Status LoadLevelDocument(const std::string& path, const CliArgs& args, CMorviDoc& doc);
// morvi-cli level render.
int RenderLevel(const CliArgs& args);
// morvi-cli level view3d.
int RenderLevel3D(const CliArgs& args);
// morvi-cli level show and level set: one item's properties pane.
int ShowProperties(const CliArgs& args);
int SetProperties(const CliArgs& args);

int RunGob(const std::vector<std::string>& words);
int RunLevel(const std::vector<std::string>& words);
int RunLfd(const std::vector<std::string>& words);
int RunFlm(const std::vector<std::string>& words);
int RunRes(const std::vector<std::string>& words);
int RunWax(const std::vector<std::string>& words);
int RunLib(const std::vector<std::string>& words);
int RunInf(const std::vector<std::string>& words);

} // namespace morvi::cli
