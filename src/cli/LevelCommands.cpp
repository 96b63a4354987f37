// morvi-cli level ...: information, checks and conversions of levels in .gob and .mrv files.
#include "CliArgs.h"

#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/LevelArchive.h"
#include "infedit/InfChecker.h"
#include "mapedit/MapStatistics.h"
#include "model/LevelDiff.h"
#include "model/StringUtil.h"

#include <cstdio>

namespace morvi::cli {

namespace {

const char* const kLevelUsage =
    "Usage:\n"
    "  morvi-cli level info FILE [--level NAME] [--json]    counts of the level's records\n"
    "  morvi-cli level check FILE [--level NAME] [--json]   the level checker's findings, each an\n"
    "                                                         error or a warning;\n"
    "                                                         exit status 1 when there are any\n"
    "  morvi-cli level roundtrip IN OUT [--level NAME]      load and save through the model\n"
    "  morvi-cli level convert IN OUT [--level NAME]        between .gob and .mrv\n"
    "  morvi-cli level diff A B [--level NAME] [--json]     what differs between two levels, record by\n"
    "                                                         record; exit status 0 when they mean the\n"
    "                                                         same, 1 when they differ, 2 on an error\n"
    "  morvi-cli level render FILE OUT [--level NAME] [--layer N] [--all-layers]\n"
    "                [--tool normal|ambiance|damage|altitude|skies|objects] [--zoom-to-fit]\n"
    "                [--size WxH]                           the map as the editor draws it, as\n"
    "                                                         OUT.png or OUT.svg\n"
    "  morvi-cli level view3d FILE OUT.png [--level NAME] [--from player|X,Y,Z,YAW[,PITCH]]\n"
    "                [--size WxH] [--demo | --game DIR] [--flat]\n"
    "                                                       one frame of the 3D view, drawn\n"
    "                                                         with OpenGL 3.3 (needs a display: run it\n"
    "                                                         under xvfb-run on a server); from the\n"
    "                                                         player start, or X,Y,Z in level units\n"
    "                                                         (Y up), YAW in degrees and the PITCH\n"
    "                                                         term -1..1; the game's archives from\n"
    "                                                         DIR, or the bundled demo archives;\n"
    "                                                         --flat leaves the light out\n"
    "  morvi-cli level show FILE ITEM [--level NAME] [--json]\n"
    "                                                       the item's properties pane: its title and\n"
    "                                                         one 'field: value' line per field\n"
    "  morvi-cli level set IN OUT ITEM... FIELD=VALUE... [--level NAME]\n"
    "                                                       type values into the item's pane and apply\n"
    "                                                         them, with the pane's checks; exit status\n"
    "                                                         1 when a value is refused (nothing written)\n"
    "\n"
    "FILE is a .gob archive or a .mrv document. When an archive holds several levels, --level\n"
    "chooses one (the first is taken otherwise).\n"
    "\n"
    "ITEM is --sector N (or the sector's name), --wall S:W, --vertex S:V or --object N. level set\n"
    "takes several sectors or walls: the first is the pane's item, and the further ones receive\n"
    "what a multiple selection receives (a sector's ambient and textures, a wall's flags, light and\n"
    "textures). FIELD is a key that level show prints (floor-altitude, ceiling-texture, mid-texture,\n"
    "x, logic ...); a logic value holds one 'key:<TAB>value' line per line, as in\n"
    "$'logic:\\ttroop\\neye:\\ttrue'.\n";

int Info(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("level info takes one file");
    const std::string& path = args.positional()[0];
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(path, args, doc); !s) return Fail(s.message());
    const CDataLevel& level = doc.level();
    const LevelCounts c = CountLevel(level);
    if (args.flag("--json")) {
        std::string names;
        for (std::size_t i = 0; i < level.m_LevelNames.size(); ++i)
            names += (i ? "," : "") + JsonString(level.m_LevelNames[i]);
        std::printf("{\"file\":%s,\"levels\":[%s],\"current\":%s,\"sectors\":%d,\"walls\":%d,\"vertices\":%d,"
                    "\"objects\":%d,\"inf_items\":%d,\"textures\":%zu,\"members\":%zu}\n",
                    JsonString(path).c_str(), names.c_str(), JsonString(level.CurrentLevelName()).c_str(),
                    c.m_nSectors, c.m_nWalls, c.m_nVertices, c.m_nObjects, c.m_nInfDefinitions,
                    level.m_Lev.m_Textures.size(), level.m_pMembers.size());
        return 0;
    }
    std::printf("File:      %s\n", path.c_str());
    std::printf("Levels:   ");
    for (const auto& name : level.m_LevelNames)
        std::printf(" %s", name.c_str());
    std::printf("\nCurrent:   %s\n", level.CurrentLevelName().c_str());
    std::printf("Sectors:   %d\nWalls:     %d\nVertices:  %d\n", c.m_nSectors, c.m_nWalls, c.m_nVertices);
    std::printf("Objects:   %d\nINF items: %d\nTextures:  %zu\nMembers:   %zu\n", c.m_nObjects,
                c.m_nInfDefinitions, level.m_Lev.m_Textures.size(), level.m_pMembers.size());
    return 0;
}

const char* KindName(LevelFinding::Kind kind) {
    switch (kind) {
    case LevelFinding::Kind::Sector:
        return "sector";
    case LevelFinding::Kind::Wall:
        return "wall";
    case LevelFinding::Kind::Vertex:
        return "vertex";
    case LevelFinding::Kind::Object:
        return "object";
    case LevelFinding::Kind::InfItem:
        return "inf_item";
    case LevelFinding::Kind::Level:
        return "level";
    }
    return "level";
}

const char* SeverityName(LevelFinding::Severity severity) {
    return severity == LevelFinding::Severity::Error ? "error" : "warning";
}

int Check(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("level check takes one file");
    const std::string& path = args.positional()[0];
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(path, args, doc); !s) return Fail(s.message());
    const auto findings = CheckWholeLevel(doc.level());
    const TextNotes& notes = doc.level().m_ReadNotes;
    if (args.flag("--json")) {
        std::printf("{\"file\":%s,\"findings\":[", JsonString(path).c_str());
        for (std::size_t i = 0; i < findings.size(); ++i) {
            const auto& f = findings[i];
            std::printf("%s{\"kind\":\"%s\",\"problem\":\"%s\",\"severity\":\"%s\",\"sector\":%d,\"wall\":%d,"
                        "\"vertex\":%d,\"object\":%d,\"item\":%d,\"text\":%s}",
                        i ? "," : "", KindName(f.m_Kind), ProblemKey(f.m_Problem), SeverityName(f.m_Severity),
                        f.m_nSector, f.m_nWall, f.m_nVertex, f.m_nObject, f.m_nItem,
                        JsonString(f.m_strText).c_str());
        }
        std::printf("],\"notes\":[");
        for (std::size_t i = 0; i < notes.size(); ++i)
            std::printf("%s{\"member\":%s,\"line\":%d,\"text\":%s}", i ? "," : "",
                        JsonString(notes[i].m_strMember).c_str(), notes[i].m_nLine,
                        JsonString(notes[i].m_strText).c_str());
        std::printf("]}\n");
        return findings.empty() ? 0 : 1;
    }
    // What the readers repaired is worth knowing but is no fault of the level as loaded.
    for (const auto& n : notes)
        std::printf("%s: note: %s line %d: %s\n", path.c_str(), n.m_strMember.c_str(), n.m_nLine,
                    n.m_strText.c_str());
    if (findings.empty()) {
        std::printf("%s: no problems found\n", path.c_str());
    } else {
        for (const auto& f : findings)
            std::printf("%s: %s: %s\n", path.c_str(), SeverityName(f.m_Severity), f.m_strText.c_str());
        std::printf("%zu problem%s found\n", findings.size(), findings.size() == 1 ? "" : "s");
    }
    return findings.empty() ? 0 : 1;
}

const char* ChangeKindName(LevelChange::Kind kind) {
    switch (kind) {
    case LevelChange::Kind::Added:
        return "added";
    case LevelChange::Kind::Removed:
        return "removed";
    case LevelChange::Kind::Changed:
        break;
    }
    return "changed";
}

void PrintDiffJson(const std::string& pathA, const std::string& pathB, const LevelDiff& diff) {
    std::printf("{\"a\":%s,\"b\":%s,\"same\":%s,\"changes\":[", JsonString(pathA).c_str(),
                JsonString(pathB).c_str(), diff.Same() ? "true" : "false");
    for (std::size_t i = 0; i < diff.m_Changes.size(); ++i) {
        const LevelChange& c = diff.m_Changes[i];
        std::printf("%s{\"kind\":\"%s\",\"part\":\"%s\",\"a\":%d,\"b\":%d,", i ? "," : "",
                    ChangeKindName(c.m_Kind), c.m_strPart.c_str(), c.m_nA, c.m_nB);
        if (c.m_nSubA >= 0 || c.m_nSubB >= 0) std::printf("\"sub_a\":%d,\"sub_b\":%d,", c.m_nSubA, c.m_nSubB);
        std::printf("\"field\":%s,\"before\":%s,\"after\":%s,\"text\":%s}", JsonString(c.m_strField).c_str(),
                    JsonString(c.m_strBefore).c_str(), JsonString(c.m_strAfter).c_str(),
                    JsonString(c.m_strText).c_str());
    }
    std::printf("],\"added\":%zu,\"removed\":%zu,\"changed\":%zu}\n", diff.Count(LevelChange::Kind::Added),
                diff.Count(LevelChange::Kind::Removed), diff.Count(LevelChange::Kind::Changed));
}

// Exit 0 when the levels mean the same, 1 when they differ; a file that cannot be read is an
// error (2), never a difference.
int Diff(const CliArgs& args) {
    if (args.positional().size() != 2) return UsageError("level diff takes two files, A and B");
    CMorviDoc docs[2];
    for (int k = 0; k < 2; ++k) {
        if (Status s = LoadLevelDocument(args.positional()[k], args, docs[k]); !s) {
            Fail(s.message());
            return 2;
        }
    }
    const LevelDiff diff = DiffLevels(docs[0].level(), docs[1].level());
    if (args.flag("--json")) {
        PrintDiffJson(args.positional()[0], args.positional()[1], diff);
    } else {
        for (const LevelChange& c : diff.m_Changes)
            std::printf("%s\n", c.m_strText.c_str());
        std::printf("%s\n", diff.Summary().c_str());
    }
    return diff.Same() ? 0 : 1;
}

int Resave(const CliArgs& args, const char* what) {
    if (args.positional().size() != 2) return UsageError(std::string("level ") + what + " takes IN and OUT");
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(args.positional()[0], args, doc); !s) return Fail(s.message());
    if (Status s = SaveDocument(doc, args.positional()[1]); !s) return Fail(s.message());
    return 0;
}

} // namespace

Status LoadLevelDocument(const std::string& path, const CliArgs& args, CMorviDoc& doc) {
    const std::optional<std::string> wanted = args.value("--level");
    std::string available;
    LevelChooser chooser = [&](const std::vector<std::string>& names, int current) -> std::optional<int> {
        if (!wanted) return current;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (EqualsNoCase(names[i], *wanted)) return static_cast<int>(i);
            available += (i ? ", " : "") + names[i];
        }
        return std::nullopt;
    };
    Status s = LoadDocument(doc, path, chooser);
    if (!s && !available.empty())
        return Status::Fail(path + ": there is no level " + *wanted + " (levels: " + available + ")");
    if (s && wanted && !EqualsNoCase(doc.level().CurrentLevelName(), *wanted))
        return Status::Fail(path + ": there is no level " + *wanted);
    return s;
}

int RunLevel(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("level needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()},
                       {"--level", "--layer", "--tool", "--size", "--from", "--game", "--sector", "--wall",
                        "--vertex", "--object"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kLevelUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "info") return Info(args);
    if (sub == "check") return Check(args);
    if (sub == "roundtrip") return Resave(args, "roundtrip");
    if (sub == "convert") return Resave(args, "convert");
    if (sub == "diff") return Diff(args);
    if (sub == "render") return RenderLevel(args);
    if (sub == "view3d") return RenderLevel3D(args);
    if (sub == "show") return ShowProperties(args);
    if (sub == "set") return SetProperties(args);
    return UsageError("unknown level subcommand '" + sub + "'");
}

} // namespace morvi::cli
