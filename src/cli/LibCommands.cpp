// morvi-cli lib ...: sectors of a level written to a library file, and libraries added to levels.
#include "CliArgs.h"

#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "mapedit/ClipboardLibrary.h"
#include "mapedit/MapGeometry.h"
#include "resources/LfdArchive.h"

#include <charconv>
#include <cstdio>

namespace morvi::cli {

namespace {

const char* const kLibUsage =
    "Usage:\n"
    "  morvi-cli lib extract LEVEL --sectors LIST OUT.lib [--level NAME]\n"
    "                the sectors (LIST like 3,7-9) with their islands, INF items and\n"
    "                objects, and the level's resources, as a library file\n"
    "  morvi-cli lib insert LEVEL LIB OUT [--at X,Z] [--layer N] [--level NAME]\n"
    "                the library's sectors or objects added to the level, saved as OUT;\n"
    "                --at centres the sectors on a point, --layer puts them on a layer\n"
    "                (the document's current layer otherwise)\n"
    "\n"
    "LEVEL and OUT are .gob archives or .mrv documents.\n";

// A library larger than this is not one the editor wrote.
constexpr std::uint64_t kMaxLibraryBytes = 512ull * 1024 * 1024;

bool ParseInt(std::string_view text, int& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseDouble(std::string_view text, double& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

// "3,7-9" as 3, 7, 8, 9; false on anything else or a number that is not a sector.
bool ParseSectorList(std::string_view text, int sectorCount, std::vector<int>& out) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        const std::size_t dash = part.find('-');
        int first = 0, last = 0;
        if (!ParseCount(part.substr(0, dash), first)) return false;
        last = first;
        if (dash != std::string_view::npos && !ParseCount(part.substr(dash + 1), last)) return false;
        if (last < first || last >= sectorCount) return false;
        for (int s = first; s <= last; ++s)
            out.push_back(s);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return !out.empty();
}

bool ParsePoint(std::string_view text, WorldPoint& out) {
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseDouble(text.substr(0, comma), out.m_dX) &&
           ParseDouble(text.substr(comma + 1), out.m_dZ);
}

int Extract(const CliArgs& args) {
    if (args.positional().size() != 2) return UsageError("lib extract takes LEVEL and OUT.lib");
    const std::optional<std::string> list = args.value("--sectors");
    if (!list) return UsageError("lib extract needs --sectors");
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(args.positional()[0], args, doc); !s) return Fail(s.message());
    std::vector<int> sectors;
    const int count = static_cast<int>(doc.level().m_Lev.m_pSectors.size());
    if (!ParseSectorList(*list, count, sectors))
        return UsageError("--sectors " + *list + " is not a list of sectors 0 to " +
                          std::to_string(count - 1));
    // Objects travel with the sector they stand in.
    AssignObjectSectors(doc.level());
    std::vector<std::uint8_t> bytes;
    if (Status s = StoreSectors(doc.level(), sectors, bytes); !s) return Fail(s.message());
    if (Status s = WriteBytesFile(args.positional()[1], bytes); !s) return Fail(s.message());
    const std::size_t stored = TopLevelSectors(doc.level(), sectors).size();
    std::printf("%s: %zu sector%s with their islands\n", args.positional()[1].c_str(), stored,
                stored == 1 ? "" : "s");
    return 0;
}

int Insert(const CliArgs& args) {
    if (args.positional().size() != 3) return UsageError("lib insert takes LEVEL, LIB and OUT");
    std::optional<WorldPoint> at;
    if (const auto text = args.value("--at")) {
        WorldPoint point;
        if (!ParsePoint(*text, point)) return UsageError("--at takes X,Z");
        at = point;
    }
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(args.positional()[0], args, doc); !s) return Fail(s.message());
    // The document keeps its own map state; only the insert runs in sector mode on the layer.
    const DocumentMapState saved = doc;
    if (const auto text = args.value("--layer"); text && !ParseInt(*text, doc.m_nCurrentLayer))
        return UsageError("--layer takes a whole number");
    doc.m_nMode = kModeSector;
    std::vector<std::uint8_t> bytes;
    if (Status s = ReadResourceFile(args.positional()[1], kMaxLibraryBytes, bytes); !s)
        return Fail(s.message());
    const Settings settings;
    const std::size_t sectorsBefore = doc.level().m_Lev.m_pSectors.size();
    const std::size_t objectsBefore = doc.level().m_Objects.m_pObjects.size();
    const EditResult result = LoadRecords(EditContext(doc, settings), bytes, at);
    if (!result.m_bChanged) return Fail(args.positional()[1] + ": " + result.m_strMessage);
    static_cast<DocumentMapState&>(doc) = saved;
    if (Status s = SaveDocument(doc, args.positional()[2]); !s) return Fail(s.message());
    std::printf("%s: %zu sectors and %zu objects added\n", args.positional()[2].c_str(),
                doc.level().m_Lev.m_pSectors.size() - sectorsBefore,
                doc.level().m_Objects.m_pObjects.size() - objectsBefore);
    return 0;
}

} // namespace

int RunLib(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("lib needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()}, {"--level", "--sectors", "--at", "--layer"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kLibUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "extract") return Extract(args);
    if (sub == "insert") return Insert(args);
    return UsageError("unknown lib subcommand '" + sub + "'");
}

} // namespace morvi::cli
