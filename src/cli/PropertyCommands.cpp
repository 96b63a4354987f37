// morvi-cli level show / level set: one item's properties pane, read and applied by the same rules
// as the editor's panes, so that a script and a user at the pane get the same checks and results.
#include "CliArgs.h"

#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"
#include "properties/ItemProperties.h"

#include <array>
#include <cstdio>

namespace morvi::cli {

namespace {

struct ItemOption {
    std::string_view m_strOption;
    PaneKind m_eKind;
    std::string_view m_strNoun;
};
constexpr std::array<ItemOption, 4> kItemOptions{{
    {"--sector", PaneKind::Sector, "sector"},
    {"--wall", PaneKind::Wall, "wall"},
    {"--vertex", PaneKind::Vertex, "vertex"},
    {"--object", PaneKind::Object, "object"},
}};

std::string_view Noun(PaneKind kind) {
    for (const ItemOption& o : kItemOptions)
        if (o.m_eKind == kind) return o.m_strNoun;
    return "";
}

// An item as the command line names it: an index, a sector and an index within it, or (for
// sectors only) a name.
struct ItemRef {
    std::string m_strText;
    int m_nFirst = -1;
    int m_nSecond = -1;
};

struct ItemRefs {
    PaneKind m_eKind = PaneKind::Sector;
    std::vector<ItemRef> m_Refs;
};

// Reads the item options; on a mistake the message is returned and refs is left incomplete.
std::string ParseItems(const CliArgs& args, const char* command, ItemRefs& refs) {
    const ItemOption* used = nullptr;
    for (const ItemOption& o : kItemOptions) {
        const std::vector<std::string> texts = args.values(o.m_strOption);
        if (texts.empty()) continue;
        if (used) return std::string(command) + " works on items of one kind";
        used = &o;
        refs.m_eKind = o.m_eKind;
        for (const std::string& text : texts) {
            ItemRef ref;
            ref.m_strText = text;
            bool ok = true;
            if (o.m_eKind == PaneKind::Wall || o.m_eKind == PaneKind::Vertex) {
                const std::size_t colon = text.find(':');
                ok = colon != std::string::npos &&
                     ParseCount(std::string_view(text).substr(0, colon), ref.m_nFirst) &&
                     ParseCount(std::string_view(text).substr(colon + 1), ref.m_nSecond);
            } else if (!ParseCount(text, ref.m_nFirst)) {
                // A sector that is not a number is named; an object always is a number.
                ok = o.m_eKind == PaneKind::Sector && !text.empty();
            }
            if (!ok)
                return std::string(o.m_strOption) +
                       (o.m_eKind == PaneKind::Sector   ? " takes a sector's index or name"
                        : o.m_eKind == PaneKind::Object ? " takes an object's index"
                        : o.m_eKind == PaneKind::Wall   ? " takes S:W"
                                                        : " takes S:V");
            refs.m_Refs.push_back(std::move(ref));
        }
    }
    if (!used) return std::string(command) + " needs an item: --sector, --wall, --vertex or --object";
    return {};
}

// The selection entry of one item; nullopt when the level has no such item.
std::optional<CMapSelItem> FindItem(const CDataLevel& level, PaneKind kind, const ItemRef& ref) {
    const auto& sectors = level.m_Lev.m_pSectors;
    const CDataSector* sector = ItemAt(sectors, ref.m_nFirst);
    switch (kind) {
    case PaneKind::Sector:
        if (ref.m_nFirst < 0) {
            for (std::size_t s = 0; s < sectors.size(); ++s)
                if (EqualsNoCase(sectors[s]->m_strName, ref.m_strText))
                    return CMapSelItem{static_cast<int>(s), -1, -1, -1};
            return std::nullopt;
        }
        if (!sector) return std::nullopt;
        return CMapSelItem{ref.m_nFirst, -1, -1, -1};
    case PaneKind::Wall:
        if (!sector || !ItemAt(sector->m_pWalls, ref.m_nSecond)) return std::nullopt;
        return CMapSelItem{ref.m_nFirst, ref.m_nSecond, -1, -1};
    case PaneKind::Vertex:
        if (!sector || !ItemAt(sector->m_pVertices, ref.m_nSecond)) return std::nullopt;
        return CMapSelItem{ref.m_nFirst, -1, ref.m_nSecond, -1};
    case PaneKind::Object:
        if (const CDataObjectItem* object = ItemAt(level.m_Objects.m_pObjects, ref.m_nFirst))
            return CMapSelItem{object->m_nSector, -1, -1, ref.m_nFirst};
        return std::nullopt;
    }
    return std::nullopt;
}

// Resolves every item against the loaded level; an empty message on success.
std::string FindItems(const CDataLevel& level, const std::string& path, const ItemRefs& refs,
                      std::vector<CMapSelItem>& entries) {
    for (const ItemRef& ref : refs.m_Refs) {
        const std::optional<CMapSelItem> entry = FindItem(level, refs.m_eKind, ref);
        if (!entry) return path + ": there is no " + std::string(Noun(refs.m_eKind)) + " " + ref.m_strText;
        entries.push_back(*entry);
    }
    return {};
}

// "sector 3 door1", "wall 3:1", "vertex 3:0", "object 7".
std::string Describe(const CDataLevel& level, PaneKind kind, const CMapSelItem& e) {
    std::string text(Noun(kind));
    switch (kind) {
    case PaneKind::Sector: {
        text += " " + std::to_string(e.m_nSector);
        const std::string& name = ItemAt(level.m_Lev.m_pSectors, e.m_nSector)->m_strName;
        if (!name.empty()) text += " " + name;
        return text;
    }
    case PaneKind::Wall:
        return text + " " + std::to_string(e.m_nSector) + ":" + std::to_string(e.m_nWall);
    case PaneKind::Vertex:
        return text + " " + std::to_string(e.m_nSector) + ":" + std::to_string(e.m_nVertex);
    case PaneKind::Object:
        return text + " " + std::to_string(e.m_nObject);
    }
    return text;
}

std::string FieldKeys(PaneKind kind) {
    std::string keys;
    for (const PaneField& f : PaneFields(kind))
        keys += (keys.empty() ? "" : ", ") + std::string(f.m_strKey);
    return keys;
}

// The lines of a several-line field (the logic text ends each one with CR LF).
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

void PrintPane(PaneKind kind, const PaneValues& pane, bool json) {
    const auto fields = PaneFields(kind);
    if (json) {
        std::printf("{\"title\":%s,\"fields\":{", JsonString(pane.m_strTitle).c_str());
        for (std::size_t i = 0; i < fields.size(); ++i)
            std::printf("%s%s:%s", i ? "," : "", JsonString(fields[i].m_strKey).c_str(),
                        JsonString(pane.m_Texts[i]).c_str());
        std::printf("}}\n");
        return;
    }
    std::printf("%s\n", pane.m_strTitle.c_str());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string key(fields[i].m_strKey);
        if (fields[i].m_eType != FieldType::Lines) {
            std::printf("%s: %s\n", key.c_str(), pane.m_Texts[i].c_str());
            continue;
        }
        // One indented line each, the key and value still apart by their tab.
        std::printf("%s:\n", key.c_str());
        for (const std::string_view line : Lines(pane.m_Texts[i]))
            std::printf("    %.*s\n", static_cast<int>(line.size()), line.data());
    }
}

} // namespace

int ShowProperties(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("level show takes one file");
    ItemRefs refs;
    if (std::string error = ParseItems(args, "level show", refs); !error.empty()) return UsageError(error);
    if (refs.m_Refs.size() != 1) return UsageError("level show takes one item");
    const std::string& path = args.positional()[0];
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(path, args, doc); !s) return Fail(s.message());
    std::vector<CMapSelItem> entries;
    if (std::string error = FindItems(doc.level(), path, refs, entries); !error.empty()) {
        Fail(error);
        return 2;
    }
    PrintPane(refs.m_eKind, ReadPane(refs.m_eKind, doc.level(), entries), args.flag("--json"));
    return 0;
}

int SetProperties(const CliArgs& args) {
    const auto& words = args.positional();
    if (words.size() < 3) return UsageError("level set takes IN, OUT and at least one FIELD=VALUE");
    ItemRefs refs;
    if (std::string error = ParseItems(args, "level set", refs); !error.empty()) return UsageError(error);
    const PaneKind kind = refs.m_eKind;
    // The vertex and object panes work on one item; only sectors and walls copy to further ones.
    if (refs.m_Refs.size() > 1 && (kind == PaneKind::Vertex || kind == PaneKind::Object))
        return UsageError("level set takes one " + std::string(Noun(kind)));

    std::vector<std::pair<int, std::string>> assignments;
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0) return UsageError("'" + words[i] + "' is not FIELD=VALUE");
        const std::string key = words[i].substr(0, eq);
        const int field = FindPaneField(kind, key);
        if (field < 0) {
            Fail("a " + std::string(Noun(kind)) + " has no field '" + key + "' (fields: " + FieldKeys(kind) +
                 ")");
            return 2;
        }
        assignments.emplace_back(field, words[i].substr(eq + 1));
    }

    const std::string& in = words[0];
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(in, args, doc); !s) return Fail(s.message());
    std::vector<CMapSelItem> entries;
    if (std::string error = FindItems(doc.level(), in, refs, entries); !error.empty()) {
        Fail(error);
        return 2;
    }
    doc.SetSelection(entries);

    // The pane as it shows the first item, with the typed fields replaced.
    const PaneValues shown = ReadPane(kind, doc.level(), doc.selection());
    std::vector<std::string> texts = shown.m_Texts;
    for (const auto& [field, value] : assignments)
        texts[static_cast<std::size_t>(field)] = value;
    int edited = 0;
    for (std::size_t i = 0; i < texts.size(); ++i)
        edited += texts[i] != shown.m_Texts[i];

    const std::string item = Describe(doc.level(), kind, entries.front());
    const ApplyResult result = ApplyPaneChange(doc, kind, texts);
    if (!result.m_Status) {
        const std::string_view key = PaneFields(kind)[static_cast<std::size_t>(result.m_nField)].m_strKey;
        return Fail(in + ": " + std::string(key) + ": " + result.m_Status.message());
    }
    if (Status s = SaveDocument(doc, words[1]); !s) return Fail(s.message());

    std::string line = item;
    if (entries.size() > 1) line += " (and " + std::to_string(entries.size() - 1) + " more)";
    if (result.m_nChanged == 0)
        line += ": nothing changed";
    else
        line += ": " + std::to_string(edited) + (edited == 1 ? " field set" : " fields set");
    std::printf("%s\n", line.c_str());
    return 0;
}

} // namespace morvi::cli
