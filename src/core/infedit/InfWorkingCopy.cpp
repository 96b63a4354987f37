#include "infedit/InfWorkingCopy.h"

#include "document/CMorviDoc.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <array>
#include <memory>

namespace morvi {

namespace {

constexpr std::string_view kNoNamedSector =
    "This operation is not available since no\nsectors has been given a "
    "name yet.";
constexpr std::string_view kUnnamedSelection =
    "You must name the selected sector before\nyou can use it in an INF "
    "Definition.";

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}
int Count(const std::vector<std::string>& lines) {
    return static_cast<int>(lines.size());
}

bool HasKeyword(std::string_view line, std::string_view keyword) {
    return ContainsNoCase(InfKeyword(line), keyword);
}

// Keywords an item may hold many times: a page only ever rewrites the line the user picked.
bool IsRepeatedKeyword(std::string_view keyword) {
    for (std::string_view k : {"stop:", "adjoin:", "page:", "text:", "sound:", "amb_sound:"})
        if (EqualsNoCase(keyword, k)) return true;
    return false;
}

const CDataSector* SectorAt(const CDataLevel& level, int index) {
    const auto& sectors = level.m_Lev.m_pSectors;
    return index >= 0 && Index(index) < sectors.size() ? sectors[Index(index)].get() : nullptr;
}

} // namespace

bool InfPageMakesItem(InfPage page) {
    return page == InfPage::Elevator || page == InfPage::Trigger || page == InfPage::Chute ||
           page == InfPage::Level;
}

std::string_view InfNewAddLabel(InfPage page) {
    return InfPageMakesItem(page) ? "&New" : "&Add";
}

bool InfPageOpensItemDialog(InfPage page) {
    return page == InfPage::Elevator || page == InfPage::Trigger || page == InfPage::Chute;
}

bool InfPageHasUpdate(InfPage page) {
    return page != InfPage::Elevator && page != InfPage::Trigger;
}

bool InfSelectionEnabled(int mode, std::optional<InfPage> page, std::size_t selectedCount) {
    if (mode == kModeSector) {
        if (page == InfPage::Chute || page == InfPage::Stop || page == InfPage::Message)
            return selectedCount == 1;
        if (!page || page == InfPage::Elevator || page == InfPage::Trigger) return selectedCount >= 1;
        return false;
    }
    return mode == kModeWall && page == InfPage::Message && selectedCount == 1;
}

Status InfEditorAvailable(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    const bool named =
        std::any_of(sectors.begin(), sectors.end(), [](const auto& s) { return !s->m_strName.empty(); });
    return named ? Status::Ok() : Status::Fail(std::string(kNoNamedSector));
}

std::pair<std::string, std::string> SplitInfLine(std::string_view line) {
    return {std::string(InfKeyword(line)), std::string(InfParameters(line))};
}

InfItemEntry InfItemEntryOf(const CDataInfItem& item) {
    InfItemEntry entry;
    entry.m_strType = item.m_strType;
    const bool line = EqualsNoCase(item.m_strType, "line");
    if (line || EqualsNoCase(item.m_strType, "sector")) entry.m_strName = item.m_strName;
    if (line) entry.m_strNumber = std::to_string(item.m_nNum);
    return entry;
}

std::span<const std::string_view> InfItemTypes() {
    static constexpr std::array<std::string_view, 3> kTypes{"sector", "line", "level"};
    return kTypes;
}

InfItemDialogState InfItemDialogEnabled(std::string_view type, std::size_t selectedCount) {
    InfItemDialogState state;
    state.m_bWall = EqualsNoCase(type, "line");
    state.m_bSector = state.m_bWall || EqualsNoCase(type, "sector");
    state.m_bSelection = state.m_bSector && selectedCount == 1;
    return state;
}

Status TakeItemSelection(InfItemFields& fields, const CDataLevel& level,
                         std::span<const CMapSelItem> selection) {
    if (selection.empty()) return Status::Ok();
    const CDataSector* sector = SectorAt(level, selection.front().m_nSector);
    if (!sector) return Status::Ok();
    if (sector->m_strName.empty()) return Status::Fail(std::string(kUnnamedSelection));
    fields.m_strName = sector->m_strName;
    if (EqualsNoCase(fields.m_strType, "line") && selection.front().m_nWall >= 0)
        fields.m_nNum = selection.front().m_nWall;
    return Status::Ok();
}

// ---- InfWorkingCopy ------------------------------------------------------------------------------

InfWorkingCopy::InfWorkingCopy(const CDataLevel& level) : m_Inf(level.m_Inf) {
    RefreshSectorNames(level);
}

const CDataInfItem* InfWorkingCopy::Item(int index) const {
    return index >= 0 && index < ItemCount() ? m_Inf.m_pItems[Index(index)].get() : nullptr;
}

CDataInfItem* InfWorkingCopy::MutableItem() {
    return m_nItem >= 0 && m_nItem < ItemCount() ? m_Inf.m_pItems[Index(m_nItem)].get() : nullptr;
}

std::vector<InfItemEntry> InfWorkingCopy::ItemEntries() const {
    std::vector<InfItemEntry> entries;
    entries.reserve(m_Inf.m_pItems.size());
    for (const auto& item : m_Inf.m_pItems)
        entries.push_back(InfItemEntryOf(*item));
    return entries;
}

void InfWorkingCopy::RefreshSectorNames(const CDataLevel& level) {
    m_SectorNames.clear();
    for (const auto& s : level.m_Lev.m_pSectors)
        if (!s->m_strName.empty()) m_SectorNames.push_back(s->m_strName);
    std::sort(m_SectorNames.begin(), m_SectorNames.end(), [](const std::string& a, const std::string& b) {
        const std::string la = ToLower(a), lb = ToLower(b);
        return la != lb ? la < lb : a < b;
    });
    m_SectorNames.erase(std::unique(m_SectorNames.begin(), m_SectorNames.end()), m_SectorNames.end());
}

void InfWorkingCopy::ChooseItem(int index) {
    m_nItem = Item(index) ? index : -1;
    m_nLine = -1;
    m_nNewItem = -1;
}

void InfWorkingCopy::ChooseLine(int index) {
    const CDataInfItem* item = CurrentItemPtr();
    m_nLine = item && index >= 0 && index < Count(item->m_Lines) ? index : -1;
}

int InfWorkingCopy::FirstItemFor(const CDataLevel& level, int mode,
                                 std::span<const CMapSelItem> selection) const {
    if (m_Inf.m_pItems.empty()) return -1;
    const CDataSector* sector =
        selection.size() == 1 ? SectorAt(level, selection.front().m_nSector) : nullptr;
    if (!sector || sector->m_strName.empty()) return 0;
    const int wall = selection.front().m_nWall;
    for (int i = 0; i < ItemCount(); ++i) {
        const CDataInfItem& item = *m_Inf.m_pItems[Index(i)];
        if (!EqualsNoCase(item.m_strName, sector->m_strName)) continue;
        if (mode == kModeSector) return i;
        if (mode == kModeWall && wall >= 0 && item.m_nNum == wall) return i;
    }
    return 0;
}

void InfWorkingCopy::InsertLine(CDataInfItem& item, int at, std::string line) {
    item.m_Lines.insert(item.m_Lines.begin() + at, std::move(line));
    if (m_nLine >= at) ++m_nLine;
}

void InfWorkingCopy::EraseLine(CDataInfItem& item, int at) {
    item.m_Lines.erase(item.m_Lines.begin() + at);
    if (m_nLine == at)
        m_nLine = -1;
    else if (m_nLine > at)
        --m_nLine;
}

void InfWorkingCopy::SetLine(CDataInfItem& item, const std::string& keyword, const std::string& value) {
    std::vector<std::string>& lines = item.m_Lines;
    const bool hasCurrent = m_nLine >= 0 && m_nLine < Count(lines);
    std::string line = keyword + '\t' + value;
    if (IsRepeatedKeyword(keyword)) {
        if (hasCurrent) lines[Index(m_nLine)] = std::move(line);
        return;
    }
    int target = hasCurrent && HasKeyword(lines[Index(m_nLine)], keyword) ? m_nLine : -1;
    for (int i = Count(lines) - 1; target < 0 && i >= 0; --i)
        if (HasKeyword(lines[Index(i)], keyword)) target = i;
    if (target >= 0) {
        if (value.empty())
            EraseLine(item, target);
        else
            lines[Index(target)] = std::move(line);
    } else if (!value.empty()) {
        // Right after the class line.
        InsertLine(item, std::min(1, Count(lines)), std::move(line));
    }
}

bool InfWorkingCopy::Apply(const InfLineEdit& edit) {
    CDataInfItem* item = MutableItem();
    if (!item) return false;
    const std::vector<std::string> before = item->m_Lines;
    switch (edit.m_Rule) {
    case InfLineEdit::Rule::SetLine:
        SetLine(*item, edit.m_strKeyword, edit.m_strValue);
        break;
    case InfLineEdit::Rule::ReplaceClass: {
        std::string line = "class:\t" + edit.m_strValue;
        auto last = std::find_if(item->m_Lines.rbegin(), item->m_Lines.rend(),
                                 [](const std::string& l) { return HasKeyword(l, "class:"); });
        // An item without a class line gets one in front, where the class belongs.
        if (last == item->m_Lines.rend())
            InsertLine(*item, 0, std::move(line));
        else
            *last = std::move(line);
        break;
    }
    case InfLineEdit::Rule::List:
        for (int i = Count(item->m_Lines) - 1; i >= 0; --i)
            if (HasKeyword(item->m_Lines[Index(i)], edit.m_strKeyword)) EraseLine(*item, i);
        for (const std::string& name : edit.m_Names)
            item->m_Lines.push_back(edit.m_strKeyword + '\t' + name);
        break;
    }
    return item->m_Lines != before;
}

bool InfWorkingCopy::MoveLine(int from, int dropIndex) {
    CDataInfItem* item = MutableItem();
    if (!item) return false;
    std::vector<std::string>& lines = item->m_Lines;
    const int n = Count(lines);
    if (from <= 0 || from >= n || dropIndex <= 0 || dropIndex > n || from == dropIndex) return false;
    if (dropIndex == n) {
        std::string moved = std::move(lines[Index(from)]);
        lines.erase(lines.begin() + from);
        lines.push_back(std::move(moved));
        m_nLine = n - 1;
    } else {
        std::swap(lines[Index(from)], lines[Index(dropIndex)]);
        m_nLine = dropIndex;
    }
    return true;
}

Status InfWorkingCopy::NewItem(InfPage page) {
    if (!InfPageMakesItem(page)) return Status::Ok();
    auto item = std::make_unique<CDataInfItem>();
    if (page == InfPage::Level) {
        item->m_strType = "level";
        item->m_Lines = {"amb_sound:\tdummy"};
    } else {
        if (m_SectorNames.empty()) return Status::Fail(std::string(kNoNamedSector));
        item->m_strName = m_SectorNames.front();
        item->m_strType = page == InfPage::Trigger ? "line" : "sector";
        if (page == InfPage::Elevator) item->m_Lines = {"class:\televator basic"};
        if (page == InfPage::Trigger) {
            item->m_nNum = 0;
            item->m_Lines = {"class:\ttrigger"};
        }
        if (page == InfPage::Chute)
            item->m_Lines = {"class:\tteleporter chute", "target:\t" + item->m_strName};
    }
    m_Inf.m_pItems.push_back(std::move(item));
    ChooseItem(ItemCount() - 1);
    m_nLine = 0;
    if (InfPageOpensItemDialog(page)) m_nNewItem = m_nItem;
    return Status::Ok();
}

bool InfWorkingCopy::CancelNewItem() {
    if (m_nNewItem < 0 || m_nNewItem >= ItemCount()) return false;
    m_Inf.m_pItems.erase(m_Inf.m_pItems.begin() + m_nNewItem);
    ChooseItem(ItemCount() > 0 ? 0 : -1);
    return true;
}

bool InfWorkingCopy::AddLine(InfPage page) {
    static constexpr std::array<std::string_view, kInfPageCount> kLines{"",
                                                                        "",
                                                                        "",
                                                                        "stop:\t0 dummy",
                                                                        "adjoin:\tdummy",
                                                                        "message:\tdummy",
                                                                        "page:\tdummy",
                                                                        "text:\tdummy",
                                                                        "sound:\tdummy",
                                                                        "",
                                                                        "texture:\tdummy"};
    CDataInfItem* item = MutableItem();
    const std::string_view line = kLines[static_cast<std::size_t>(page)];
    if (!item || line.empty()) return false;
    item->m_Lines.emplace_back(line);
    m_nLine = Count(item->m_Lines) - 1;
    return true;
}

bool InfWorkingCopy::DeleteLine() {
    CDataInfItem* item = MutableItem();
    if (!item || m_nLine < 0 || m_nLine >= Count(item->m_Lines)) return false;
    EraseLine(*item, m_nLine);
    return true;
}

bool InfWorkingCopy::DeleteItem() {
    if (!MutableItem()) return false;
    m_Inf.m_pItems.erase(m_Inf.m_pItems.begin() + m_nItem);
    ChooseItem(ItemCount() > 0 ? 0 : -1);
    return true;
}

InfItemFields InfWorkingCopy::ItemFields() const {
    const CDataInfItem* item = CurrentItemPtr();
    if (!item) return {};
    return {item->m_strType, item->m_strName, item->m_nNum};
}

bool InfWorkingCopy::ApplyItemFields(const InfItemFields& fields) {
    CDataInfItem* item = MutableItem();
    if (!item) return false;
    item->m_strType = fields.m_strType;
    item->m_strName = fields.m_strName;
    item->m_nNum = fields.m_nNum;
    m_nNewItem = -1;
    return true;
}

void InfWorkingCopy::Commit(CDataLevel& level) const {
    level.m_Inf = m_Inf;
}

void InfWorkingCopy::Commit(CMorviDoc& document) const {
    ChangeScope scope;
    scope.m_bInf = true;
    document.BeginChange(&scope);
    Commit(document.level());
    document.EndChange(kInfEditorStepLabel, kChangedInf);
}

} // namespace morvi
