// morvi-cli inf: the INF checker and how the INF editor's pages understand each line.
#include "CliArgs.h"

#include "document/CMorviDoc.h"
#include "gamefiles/GobArchive.h"
#include "infedit/InfChecker.h"
#include "infedit/InfPages.h"
#include "model/StringUtil.h"

#include <cstdio>
#include <string>
#include <vector>

namespace morvi::cli {

namespace {

const char* const kInfUsage =
    "Usage:\n"
    "  morvi-cli inf check FILE [--level NAME] [--roundtrip] [--sounds GOB] [--json]\n"
    "                               the INF checker's findings, each naming its item and line;\n"
    "                               with --roundtrip also every line that the INF editor's page\n"
    "                               for it would write back with another meaning (spacing and\n"
    "                               number format do not count). A page chooses sounds from the\n"
    "                               level's own and those of the GOB given with --sounds (the\n"
    "                               game's SOUNDS.GOB); other names are reported as changed.\n"
    "                               Exit status 1 when anything is reported.\n"
    "  morvi-cli inf items FILE [--level NAME] [--json]\n"
    "                               every INF item with its class and, for each of its lines,\n"
    "                               the editor's page that shows it or \"kept as text\"\n"
    "JSON: inf items prints {\"items\": [{\"index\", \"sector\", \"wall\", \"class\", \"lines\":\n"
    "[{\"text\", \"page\"}]}]}; inf check prints {\"findings\": [{\"item\", \"line\", \"message\"}],\n"
    "\"roundtrip\": [{\"item\", \"line\", \"before\", \"after\"}]}. Items and lines count from 0; a\n"
    "finding about a whole item has line -1.\n";

constexpr const char* kKeptAsText = "kept as text";

std::string ClassOf(const CDataInfItem& item) {
    for (const std::string& line : item.m_Lines)
        if (EqualsNoCase(InfKeyword(line), "class:")) return std::string(InfParameters(line));
    return {};
}

Status SoundNames(const CliArgs& args, std::vector<std::string>& names) {
    const std::optional<std::string> path = args.value("--sounds");
    if (!path) return Status::Ok();
    GobArchive archive;
    if (Status s = ReadGobFile(*path, archive); !s) return s;
    for (const auto& member : archive.m_pMembers)
        names.push_back(member->m_strName);
    return Status::Ok();
}

int Check(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("inf check takes one file");
    const std::string& path = args.positional()[0];
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(path, args, doc); !s) return Fail(s.message());
    std::vector<std::string> sounds;
    if (Status s = SoundNames(args, sounds); !s) return Fail(s.message());
    const CDataLevel& level = doc.level();
    const std::vector<LevelFinding> findings = CheckInf(level);
    std::vector<InfRoundTripChange> changes;
    if (args.flag("--roundtrip"))
        changes = InfRoundTripChanges(level.m_Inf, MakeInfVocabulary(level, sounds));
    if (args.flag("--json")) {
        std::printf("{\"findings\":[");
        for (std::size_t i = 0; i < findings.size(); ++i)
            std::printf("%s{\"item\":%d,\"line\":%d,\"message\":%s}", i ? "," : "", findings[i].m_nItem,
                        findings[i].m_nLine, JsonString(findings[i].m_strText).c_str());
        std::printf("],\"roundtrip\":[");
        for (std::size_t i = 0; i < changes.size(); ++i)
            std::printf("%s{\"item\":%d,\"line\":%d,\"before\":%s,\"after\":%s}", i ? "," : "",
                        changes[i].m_nItem, changes[i].m_nLine, JsonString(changes[i].m_strBefore).c_str(),
                        JsonString(changes[i].m_strAfter).c_str());
        std::printf("]}\n");
    } else {
        for (const LevelFinding& f : findings)
            std::printf("%s: %s: %s\n", path.c_str(),
                        f.m_Severity == LevelFinding::Severity::Error ? "error" : "warning",
                        f.m_strText.c_str());
        for (const InfRoundTripChange& c : changes)
            std::printf("%s: roundtrip: INF item %d line %d: \"%s\" comes back as \"%s\"\n", path.c_str(),
                        c.m_nItem, c.m_nLine + 1, c.m_strBefore.c_str(), c.m_strAfter.c_str());
        const std::size_t count = findings.size() + changes.size();
        if (count == 0)
            std::printf("%s: no problems found\n", path.c_str());
        else
            std::printf("%zu problem%s found\n", count, count == 1 ? "" : "s");
    }
    return findings.empty() && changes.empty() ? 0 : 1;
}

int Items(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("inf items takes one file");
    const std::string& path = args.positional()[0];
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(path, args, doc); !s) return Fail(s.message());
    const auto& items = doc.level().m_Inf.m_pItems;
    const bool json = args.flag("--json");
    if (json) std::printf("{\"items\":[");
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CDataInfItem& item = *items[i];
        if (json)
            std::printf("%s{\"index\":%zu,\"sector\":%s,\"wall\":%d,\"class\":%s,\"lines\":[", i ? "," : "",
                        i, JsonString(item.m_strName).c_str(), item.m_nNum,
                        JsonString(ClassOf(item)).c_str());
        else
            std::printf("item %zu: %s%s%s%s (%s)\n", i, item.m_strType.c_str(),
                        item.m_strName.empty() ? "" : " ", item.m_strName.c_str(),
                        EqualsNoCase(item.m_strType, "line") ? (" " + std::to_string(item.m_nNum)).c_str()
                                                             : "",
                        ClassOf(item).c_str());
        for (std::size_t l = 0; l < item.m_Lines.size(); ++l) {
            const std::optional<InfPage> page = PageLoadingLine(item, item.m_Lines[l]);
            const char* shown = page ? InfPageCaption(*page) : kKeptAsText;
            if (json)
                std::printf("%s{\"text\":%s,\"page\":%s}", l ? "," : "", JsonString(item.m_Lines[l]).c_str(),
                            JsonString(shown).c_str());
            else
                std::printf("  %-40s %s\n", item.m_Lines[l].c_str(), shown);
        }
        if (json) std::printf("]}");
    }
    if (json) std::printf("]}\n");
    return 0;
}

} // namespace

int RunInf(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("inf needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()}, {"--level", "--sounds"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kInfUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "check") return Check(args);
    if (sub == "items") return Items(args);
    return UsageError("unknown inf subcommand '" + sub + "'");
}

} // namespace morvi::cli
