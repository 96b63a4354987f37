#include "CliArgs.h"

#include "gamefiles/AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace morvi::cli {

CliArgs::CliArgs(const std::vector<std::string>& words, const std::vector<std::string_view>& valueOptions) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 2 || w.compare(0, 2, "--") != 0 || w == "--") {
            m_Positional.push_back(w);
            continue;
        }
        std::string name = w;
        std::optional<std::string> inlineValue;
        if (const auto eq = w.find('='); eq != std::string::npos) {
            name = w.substr(0, eq);
            inlineValue = w.substr(eq + 1);
        }
        const bool takesValue =
            std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end();
        if (!takesValue) {
            if (inlineValue && m_strError.empty()) m_strError = "the option " + name + " takes no value";
            m_Flags.push_back(name);
        } else if (inlineValue) {
            m_Values.emplace_back(name, *inlineValue);
        } else if (i + 1 < words.size()) {
            m_Values.emplace_back(name, words[++i]);
        } else if (m_strError.empty()) {
            m_strError = "the option " + name + " needs a value";
        }
    }
}

bool CliArgs::flag(std::string_view name) const {
    return std::find(m_Flags.begin(), m_Flags.end(), name) != m_Flags.end();
}

std::optional<std::string> CliArgs::value(std::string_view name) const {
    for (const auto& [key, val] : m_Values)
        if (key == name) return val;
    return std::nullopt;
}

std::vector<std::string> CliArgs::values(std::string_view name) const {
    std::vector<std::string> found;
    for (const auto& [key, val] : m_Values)
        if (key == name) found.push_back(val);
    return found;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x",
                              static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += buf;
            } else if (static_cast<unsigned char>(c) >= 0x80) {
                // Game names are 8-bit code page text; keep the JSON valid UTF-8 by escaping.
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x",
                              static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

bool IsSafeFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\\') == std::string_view::npos && name.find(':') == std::string_view::npos;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "morvi-cli: %s\n", message.c_str());
    return 1;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "morvi-cli: %s\n(try --help)\n", message.c_str());
    return 2;
}

bool ParseCount(std::string_view text, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) return false;
    out = value;
    return true;
}

Status WriteBytesFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    return WriteFileAtomically(path, [bytes](ByteSink& sink) {
        sink.Write(bytes);
        return Status::Ok();
    });
}

} // namespace morvi::cli
