#pragma once

#include <cstring>
#include <string_view>

namespace morvi {

// Splits a game text into lines. Takes CR LF and LF line ends, a missing final line end and the
// DOS end-of-file mark (Ctrl-Z) at the end; lines are never cut, however long.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_Text(text) {
        while (!m_Text.empty() && (m_Text.back() == '\x1a' || m_Text.back() == '\0')) m_Text.remove_suffix(1);
    }

    // The next line without its line end; false at the end of the text.
    bool next(std::string_view& line) {
        if (m_nPos >= m_Text.size()) return false;
        m_nLastStart = m_nPos;
        m_bCanUnread = true;
        const char* begin = m_Text.data() + m_nPos;
        const std::size_t left = m_Text.size() - m_nPos;
        const void* nl = std::memchr(begin, '\n', left);
        std::size_t len = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - begin) : left;
        m_nPos += nl ? len + 1 : len;
        if (len > 0 && begin[len - 1] == '\r') --len;
        line = std::string_view(begin, len);
        ++m_nLine;
        return true;
    }

    // Gives the line last returned back: the next call to next returns it again. Readers use it
    // when a line turns out to start the next block.
    void unread() {
        if (!m_bCanUnread) return;
        m_nPos = m_nLastStart;
        --m_nLine;
        m_bCanUnread = false;
    }

    // 1-based number of the line last returned.
    int lineNumber() const { return m_nLine; }
    // Bytes not yet returned; no later line can be longer.
    std::size_t remainingBytes() const { return m_Text.size() - m_nPos; }

private:
    std::string_view m_Text;
    std::size_t m_nPos = 0;
    std::size_t m_nLastStart = 0;
    bool m_bCanUnread = false;
    int m_nLine = 0;
};

} // namespace morvi
