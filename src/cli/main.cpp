#include "CliArgs.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: morvi-cli COMMAND ...\n"
    "\n"
    "Tools for Dark Forces level archives.\n"
    "\n"
    "Commands:\n"
    "  gob list|extract|add|remove|create|merge\n"
    "                                       read and change GOB archives, merge levels into one\n"
    "  level info|check|diff|roundtrip|convert|render|view3d|show|set\n"
    "                                       look at, compare, convert and edit levels (.gob or .mrv)\n"
    "  lfd list|extract|add|create          read and change LFD archives\n"
    "  flm dump                             show the blocks and commands of a FILM\n"
    "  res list|extract|convert             game archives' members, picture conversion\n"
    "  wax export|build                     sprites and textures to BMP files and back\n"
    "  lib extract|insert                   sectors to library files and back into levels\n"
    "  inf check|items                      the INF checker and how the INF editor reads each line\n"
    "\n"
    "Run 'morvi-cli COMMAND --help' for its options, 'morvi-cli --version' for the version.\n";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::fputs(kUsage, words.empty() ? stderr : stdout);
        return words.empty() ? 2 : 0;
    }
    if (words[0] == "--version") {
        std::printf("morvi-cli %s\n", MORVI_VERSION);
        return 0;
    }
    const std::string command = words[0];
    words.erase(words.begin());
    if (command == "gob") return morvi::cli::RunGob(words);
    if (command == "level") return morvi::cli::RunLevel(words);
    if (command == "lfd") return morvi::cli::RunLfd(words);
    if (command == "flm") return morvi::cli::RunFlm(words);
    if (command == "res") return morvi::cli::RunRes(words);
    if (command == "wax") return morvi::cli::RunWax(words);
    if (command == "lib") return morvi::cli::RunLib(words);
    if (command == "inf") return morvi::cli::RunInf(words);
    return morvi::cli::UsageError("unknown command '" + command + "'");
}
