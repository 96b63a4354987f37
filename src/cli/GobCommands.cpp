// morvi-cli gob ...: list, extract, add, remove, create and merge GOB archives.
#include "CliArgs.h"

#include "gamefiles/DocumentFile.h"
#include "gamefiles/GobArchive.h"
#include "gamefiles/LevelMerge.h"
#include "resources/LfdArchive.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace morvi::cli {

namespace {

// A GOB member's size is a 32-bit field.
constexpr std::uint64_t kMaxMemberBytes = 0xFFFFFFFFull;

const char* const kGobUsage =
    "Usage:\n"
    "  morvi-cli gob list FILE [--json]             members with offset and size\n"
    "  morvi-cli gob extract FILE [MEMBER...] [--to DIR]\n"
    "                                                write members (all by default) into DIR\n"
    "  morvi-cli gob add FILE PATH... [--as NAME]   add or replace members from files\n"
    "  morvi-cli gob remove FILE MEMBER...          remove members\n"
    "  morvi-cli gob create FILE [PATH...]          write a new archive of these files\n"
    "  morvi-cli gob merge OUT.gob IN...            merge the levels of IN (.gob or .mrv files,\n"
    "                                                one level each) into one archive to play\n"
    "\n"
    "merge writes each level's LEV, O and INF texts anew and names them, with its GOL, CMP and PAL\n"
    "files, after the level (SECBASE.LEV); every other file comes from the first IN only. Two\n"
    "levels of one name, or two files that would get one name, are refused; an IN holding several\n"
    "levels is left out, and a level the first IN's JEDI.LVL does not list is reported.\n"
    "\n"
    "Member names have 1 to 12 characters and are kept in upper case. FILE is replaced only when\n"
    "the new archive is completely written.\n";

int List(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("gob list takes one archive");
    GobArchive gob;
    if (Status s = ReadGobFile(args.positional()[0], gob); !s) return Fail(s.message());
    if (args.flag("--json")) {
        std::printf("[");
        for (std::size_t i = 0; i < gob.m_pMembers.size(); ++i) {
            const auto& m = *gob.m_pMembers[i];
            std::printf("%s{\"name\":%s,\"offset\":%u,\"size\":%u}", i ? "," : "",
                        JsonString(m.m_strName).c_str(), m.m_nOffset, m.m_nSize);
        }
        std::printf("]\n");
        return 0;
    }
    std::printf("%10s %10s  %s\n", "OFFSET", "SIZE", "NAME");
    std::uint64_t total = 0;
    for (const auto& m : gob.m_pMembers) {
        std::printf("%10u %10u  %s\n", m->m_nOffset, m->m_nSize, m->m_strName.c_str());
        total += m->m_nSize;
    }
    std::printf("%zu members, %llu bytes\n", gob.m_pMembers.size(), static_cast<unsigned long long>(total));
    return 0;
}

int Extract(const CliArgs& args) {
    if (args.positional().empty()) return UsageError("gob extract needs an archive");
    GobArchive gob;
    if (Status s = ReadGobFile(args.positional()[0], gob); !s) return Fail(s.message());
    const fs::path dir = args.value("--to").value_or(".");
    std::vector<const CDataGobEntry*> chosen;
    for (std::size_t i = 1; i < args.positional().size(); ++i) {
        const CDataGobEntry* m = gob.FindMember(args.positional()[i]);
        if (!m) return Fail(args.positional()[0] + ": no member named " + args.positional()[i]);
        chosen.push_back(m);
    }
    if (args.positional().size() == 1)
        for (const auto& m : gob.m_pMembers)
            chosen.push_back(m.get());
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const CDataGobEntry* m : chosen) {
        if (!IsSafeFileName(m->m_strName))
            return Fail("the member name \"" + m->m_strName + "\" is not a file name");
        if (Status s = WriteBytesFile(dir / m->m_strName, m->data()); !s) return Fail(s.message());
        std::printf("%s\n", (dir / m->m_strName).string().c_str());
    }
    return 0;
}

Status AddFiles(GobArchive& gob, const std::vector<std::string>& paths, std::size_t first,
                const std::optional<std::string>& as) {
    for (std::size_t i = first; i < paths.size(); ++i) {
        std::vector<std::uint8_t> data;
        if (Status s = ReadResourceFile(paths[i], kMaxMemberBytes, data); !s) return s;
        const std::string name = as ? *as : fs::path(paths[i]).filename().string();
        gob.RemoveMember(name);
        if (Status s = gob.AddMember(name, data); !s) return s;
    }
    return Status::Ok();
}

int Add(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() < 2) return UsageError("gob add needs an archive and at least one file");
    if (args.value("--as") && p.size() != 2) return UsageError("--as names one file");
    GobArchive gob;
    if (Status s = ReadGobFile(p[0], gob); !s) return Fail(s.message());
    if (Status s = AddFiles(gob, p, 1, args.value("--as")); !s) return Fail(s.message());
    if (Status s = WriteGobFile(gob, p[0]); !s) return Fail(s.message());
    return 0;
}

int Remove(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() < 2) return UsageError("gob remove needs an archive and at least one member");
    GobArchive gob;
    if (Status s = ReadGobFile(p[0], gob); !s) return Fail(s.message());
    for (std::size_t i = 1; i < p.size(); ++i)
        if (!gob.RemoveMember(p[i])) return Fail(p[0] + ": no member named " + p[i]);
    if (Status s = WriteGobFile(gob, p[0]); !s) return Fail(s.message());
    return 0;
}

int Create(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.empty()) return UsageError("gob create needs the archive to write");
    GobArchive gob;
    if (Status s = AddFiles(gob, p, 1, std::nullopt); !s) return Fail(s.message());
    if (Status s = WriteGobFile(gob, p[0]); !s) return Fail(s.message());
    return 0;
}

int Merge(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() < 2) return UsageError("gob merge needs the archive to write and at least one level");
    std::vector<std::unique_ptr<DocumentData>> documents;
    std::vector<MergeInput> inputs;
    // Every level of an archive is listed whichever is parsed: the merge sees how many there are.
    const LevelChooser keepCurrent = [](const std::vector<std::string>&, int current) { return current; };
    for (std::size_t i = 1; i < p.size(); ++i) {
        auto document = std::make_unique<DocumentData>();
        if (Status s = LoadDocument(*document, p[i], keepCurrent); !s) return Fail(s.message());
        inputs.push_back({&document->level(), p[i]});
        documents.push_back(std::move(document));
    }
    LevelMerge merge;
    if (Status s = MergeLevels(inputs, merge); !s) return Fail(s.message());
    TaskProgress progress;
    if (Status s = WriteGobFile(merge.m_Archive, p[0], progress); !s) return Fail(s.message());
    for (const std::string& leftOut : merge.m_LeftOut)
        std::fprintf(stderr, "morvi-cli: left out: %s\n", leftOut.c_str());
    for (const std::string& note : merge.m_Notes)
        std::fprintf(stderr, "morvi-cli: note: %s\n", note.c_str());
    std::string levels;
    for (const std::string& level : merge.m_Levels)
        levels += (levels.empty() ? "" : ", ") + level;
    std::printf("%s: %zu members, levels %s\n", p[0].c_str(), merge.m_Archive.m_pMembers.size(),
                levels.c_str());
    return 0;
}

} // namespace

int RunGob(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("gob needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()}, {"--to", "--as"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kGobUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "list") return List(args);
    if (sub == "extract") return Extract(args);
    if (sub == "add") return Add(args);
    if (sub == "remove") return Remove(args);
    if (sub == "create") return Create(args);
    if (sub == "merge") return Merge(args);
    return UsageError("unknown gob subcommand '" + sub + "'");
}

} // namespace morvi::cli
