#include "gamefiles/LevelTexts.h"

#include "gamefiles/InfFile.h"

namespace morvi {

namespace {

const CDataGobEntry* FindTextMember(const CDataLevel& level, LevelText which) {
    switch (which) {
    case LevelText::Inf:
    case LevelText::Gol: {
        const std::string current = level.CurrentLevelName();
        if (current.empty()) return nullptr;
        return level.FindMember(current + (which == LevelText::Inf ? ".INF" : ".GOL"));
    }
    case LevelText::Lvl:
        return level.FindMemberContaining(".LVL");
    case LevelText::Msg:
        return level.FindMemberContaining(".MSG");
    }
    return nullptr;
}

std::optional<std::string> TextOf(const CDataGobEntry* member) {
    if (!member) return std::nullopt;
    const std::string_view text = member->text();
    return std::string(text.substr(0, text.find('\0')));
}

} // namespace

std::optional<std::string> GetLevelText(const CDataLevel& level, LevelText which) {
    std::optional<std::string> text = TextOf(FindTextMember(level, which));
    if (which != LevelText::Inf || !text) return text;
    // The map's edits (a renamed or deleted sector, a new elevator) change the INF items, not the
    // member, which is written afresh on saving. The member's own text, comments and layout
    // included, stands while it still says what the items say.
    CDataInf stored;
    ReadInf(stored, *text);
    std::string fromMember, fromItems;
    WriteInf(stored, level.m_strGeneratorTitle, fromMember);
    WriteInf(level.m_Inf, level.m_strGeneratorTitle, fromItems);
    if (fromMember != fromItems) text = std::move(fromItems);
    return text;
}

bool SetLevelText(CDataLevel& level, LevelText which, std::string_view text) {
    // The member belongs to level; only the lookup goes through the const path.
    auto* member = const_cast<CDataGobEntry*>(FindTextMember(level, which));
    if (!member) return false;
    member->SetData(text);
    if (which == LevelText::Inf) {
        level.m_Inf = CDataInf();
        ReadInf(level.m_Inf, text);
    }
    return true;
}

std::optional<std::string> GetMemberText(const CDataLevel& level, std::string_view memberName) {
    return TextOf(level.FindMember(memberName));
}

bool SetMemberText(CDataLevel& level, std::string_view memberName, std::string_view text) {
    CDataGobEntry* member = level.FindMember(memberName);
    if (!member) return false;
    member->SetData(text);
    return true;
}

} // namespace morvi
