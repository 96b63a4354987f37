// morvi-cli lfd ... and flm ...: LFD archives and FILM files.
#include "CliArgs.h"

#include "model/StringUtil.h"
#include "resources/FilmFile.h"
#include "resources/LfdArchive.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace morvi::cli {

namespace {

const char* const kLfdUsage =
    "Usage:\n"
    "  morvi-cli lfd list FILE [--json]                 members with type, offset and size\n"
    "  morvi-cli lfd extract FILE [MEMBER...] [--to DIR]\n"
    "                                                    write members (all by default) as NAME.EXT\n"
    "  morvi-cli lfd add FILE PATH...                   add files (.anm .dlt .flm .fon .gmd .plt .voc,\n"
    "                                                    or the members of an .lfd)\n"
    "  morvi-cli lfd create FILE [PATH...]              write a new archive of these files\n"
    "\n"
    "A member is named NAME.EXT (the extension of its type) or NAME. FILE is replaced only when the\n"
    "new archive is completely written.\n";

const char* const kFlmUsage =
    "Usage:\n"
    "  morvi-cli flm dump FILE     the blocks of a FILM with their commands and parameters\n";

// The file name a member is extracted to: its name and the extension of its type.
std::string MemberFileName(const LfdMember& m) {
    const LfdFileType* type = FindLfdTypeByType(m.m_strType);
    return m.m_strName + "." + (type ? std::string(type->m_Extension) : ToLower(m.m_strType));
}

const LfdMember* FindMember(const LfdArchive& lfd, std::string_view wanted) {
    for (const LfdMember& m : lfd.members())
        if (EqualsNoCase(MemberFileName(m), wanted) || EqualsNoCase(m.m_strName, wanted)) return &m;
    return nullptr;
}

int List(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("lfd list takes one archive");
    LfdArchive lfd;
    if (Status s = lfd.ReadFile(args.positional()[0]); !s) return Fail(s.message());
    const bool json = args.flag("--json");
    if (json)
        std::printf("[");
    else
        std::printf("%-4s %-8s %10s %10s\n", "TYPE", "NAME", "OFFSET", "SIZE");
    for (std::size_t i = 0; i < lfd.members().size(); ++i) {
        const LfdMember& m = lfd.members()[i];
        if (json)
            std::printf("%s{\"name\":%s,\"type\":%s,\"offset\":%u,\"size\":%u}", i ? "," : "",
                        JsonString(m.m_strName).c_str(), JsonString(m.m_strType).c_str(), m.m_nOffset,
                        m.size());
        else
            std::printf("%-4s %-8s %10u %10u\n", m.m_strType.c_str(), m.m_strName.c_str(), m.m_nOffset,
                        m.size());
    }
    if (json)
        std::printf("]\n");
    else
        std::printf("%zu members\n", lfd.members().size());
    return 0;
}

int Extract(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.empty()) return UsageError("lfd extract needs an archive");
    LfdArchive lfd;
    if (Status s = lfd.ReadFile(p[0]); !s) return Fail(s.message());
    std::vector<const LfdMember*> chosen;
    for (std::size_t i = 1; i < p.size(); ++i) {
        const LfdMember* m = FindMember(lfd, p[i]);
        if (!m) return Fail(p[0] + ": no member named " + p[i]);
        chosen.push_back(m);
    }
    if (p.size() == 1)
        for (const LfdMember& m : lfd.members())
            chosen.push_back(&m);
    const fs::path dir = args.value("--to").value_or(".");
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const LfdMember* m : chosen) {
        const std::string name = MemberFileName(*m);
        if (!IsSafeFileName(name)) return Fail("the member name \"" + name + "\" is not a file name");
        if (Status s = WriteBytesFile(dir / name, m->m_Data); !s) return Fail(s.message());
        std::printf("%s\n", (dir / name).string().c_str());
    }
    return 0;
}

int AddOrCreate(const CliArgs& args, bool create) {
    const auto& p = args.positional();
    if (p.empty() || (!create && p.size() < 2))
        return UsageError("lfd add needs an archive and at least one file");
    LfdArchive lfd;
    if (!create)
        if (Status s = lfd.ReadFile(p[0]); !s) return Fail(s.message());
    for (std::size_t i = 1; i < p.size(); ++i)
        if (Status s = lfd.AddFile(fs::path(p[i])); !s) return Fail(s.message());
    if (Status s = lfd.WriteFile(p[0]); !s) return Fail(s.message());
    return 0;
}

int Dump(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("flm dump takes one file");
    FilmFile film;
    if (Status s = ReadFilmFile(args.positional()[0], film); !s) return Fail(s.message());
    std::printf("%zu blocks\n", film.m_Blocks.size());
    for (const FilmBlock& block : film.m_Blocks) {
        std::printf("%-4s %-8s size %u kind %u commands %u\n", block.m_strType.c_str(),
                    block.m_strName.c_str(), block.m_nSize, block.m_nKind, block.m_nCommandCount);
        std::vector<FilmCommandRow> rows;
        if (Status s = ReadFilmCommands(block, rows); !s) return Fail(s.message());
        for (const FilmCommandRow& row : rows) {
            std::string line =
                "  " + (row.m_strName.empty() ? "#" + std::to_string(row.m_nOpcode) : row.m_strName);
            for (const std::string& param : row.m_strParams)
                if (!param.empty()) line += " " + param;
            std::printf("%s\n", line.c_str());
        }
    }
    return 0;
}

} // namespace

int RunLfd(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("lfd needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()}, {"--to"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kLfdUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "list") return List(args);
    if (sub == "extract") return Extract(args);
    if (sub == "add") return AddOrCreate(args, false);
    if (sub == "create") return AddOrCreate(args, true);
    return UsageError("unknown lfd subcommand '" + sub + "'");
}

int RunFlm(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("flm needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()}, {});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kFlmUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "dump") return Dump(args);
    return UsageError("unknown flm subcommand '" + sub + "'");
}

} // namespace morvi::cli
