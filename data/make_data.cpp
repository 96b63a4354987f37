// Writes the bundled data into SHAREDIR: the new-document template new.mrv, the sample level as
// sample/sample.gob and sample/sample.mrv, and stand-ins for the game's archives in demo/
// (textures.gob, sprites.gob, dark.gob, sounds.gob, briefing.lfd). Everything is drawn and built
// by our own code; the same build always writes the same bytes.
#include "demo/DemoBriefing.h"
#include "demo/DemoDark.h"
#include "demo/DemoSounds.h"
#include "demo/DemoSprites.h"
#include "demo/DemoTextures.h"
#include "demo/SampleLevel.h"
#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/GobArchive.h"
#include "model/LevelChecker.h"

#include <cstdio>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace morvi;

namespace {

bool Report(const Status& status) {
    if (!status) std::fprintf(stderr, "morvi-make-data: %s\n", status.message().c_str());
    return status.ok();
}

// A document is written only when the level checker finds nothing wrong with it.
bool WriteDocument(const std::function<void(CMorviDoc&)>& build, std::initializer_list<fs::path> paths) {
    CMorviDoc doc;
    build(doc);
    const auto findings = checkLevel(doc.level());
    for (const auto& f : findings)
        std::fprintf(stderr, "morvi-make-data: %s\n", f.m_strText.c_str());
    if (!findings.empty()) return false;
    for (const fs::path& path : paths)
        if (!Report(SaveDocument(doc, path))) return false;
    return true;
}

bool WriteArchive(GobArchive archive, const fs::path& path) {
    return Report(WriteGobFile(archive, path));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: morvi-make-data SHAREDIR\n");
        return 2;
    }
    const fs::path share = argv[1];
    std::error_code ec;
    for (const char* dir : {"sample", "demo"})
        fs::create_directories(share / dir, ec);
    const bool ok = WriteDocument(demo::BuildNewDocument, {share / "new.mrv"}) &&
                    WriteDocument(demo::BuildSampleLevel,
                                  {share / "sample" / "sample.gob", share / "sample" / "sample.mrv"}) &&
                    WriteArchive(demo::BuildTexturesGob(), share / "demo" / "textures.gob") &&
                    WriteArchive(demo::BuildSpritesGob(), share / "demo" / "sprites.gob") &&
                    WriteArchive(demo::BuildDarkGob(), share / "demo" / "dark.gob") &&
                    WriteArchive(demo::BuildSoundsGob(), share / "demo" / "sounds.gob") &&
                    Report(demo::BuildBriefingLfd().WriteFile(share / "demo" / "briefing.lfd"));
    return ok ? 0 : 1;
}
