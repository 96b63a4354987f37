// morvi-cli level render: the map as the editor's map view draws it, as a PNG or SVG file.
#include "CliArgs.h"

#include "mapedit/CMapEngine.h"
#include "mapedit/MapPrinter.h"
#include "model/StringUtil.h"

#include <QSize>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace morvi::cli {

namespace {

constexpr std::array<std::string_view, 6> kToolNames{"normal",   "ambiance", "damage",
                                                     "altitude", "skies",    "objects"};

struct RenderOptions {
    int m_nWidth = 1024;
    int m_nHeight = 768;
    std::optional<int> m_nLayer;
    bool m_bAllLayers = false;
    int m_nTool = kToolNormal;
    bool m_bZoomToFit = false;
};

Status ReadRenderOptions(const CliArgs& args, RenderOptions& options) {
    if (auto size = args.value("--size")) {
        const auto x = size->find('x');
        if (x == std::string::npos || !ParseCount(size->substr(0, x), options.m_nWidth) ||
            !ParseCount(size->substr(x + 1), options.m_nHeight) || options.m_nWidth < 16 ||
            options.m_nHeight < 16 || options.m_nWidth > 16384 || options.m_nHeight > 16384)
            return Status::Fail("--size takes WIDTHxHEIGHT, 16 to 16384 pixels each (as in 1920x1080)");
    }
    if (auto layer = args.value("--layer")) {
        char* end = nullptr;
        const long value = std::strtol(layer->c_str(), &end, 10);
        if (layer->empty() || *end != '\0' || value < -1000000 || value > 1000000)
            return Status::Fail("--layer takes a layer number");
        options.m_nLayer = static_cast<int>(value);
    }
    if (auto tool = args.value("--tool")) {
        const auto it = std::find(kToolNames.begin(), kToolNames.end(), ToLower(*tool));
        if (it == kToolNames.end())
            return Status::Fail("--tool takes normal, ambiance, damage, altitude, skies or objects");
        options.m_nTool = static_cast<int>(it - kToolNames.begin());
    }
    options.m_bAllLayers = args.flag("--all-layers");
    options.m_bZoomToFit = args.flag("--zoom-to-fit");
    return Status::Ok();
}

// A GOB carries no map state: when no sector lies on the document's layer, the lowest layer
// that has sectors is shown instead of an empty map.
int LayerToShow(const CDataLevel& level, int current) {
    std::optional<int> lowest;
    for (const auto& sector : level.m_Lev.m_pSectors) {
        if (sector->m_nLayer == current) return current;
        if (!lowest || sector->m_nLayer < *lowest) lowest = sector->m_nLayer;
    }
    return lowest.value_or(current);
}

// Lays the engine out for the picture and draws the map into list, as a sector-mode view would.
void DrawLevel(CMorviDoc& doc, const RenderOptions& options, DisplayList& list) {
    const Settings settings;
    CMapEngine engine(doc, settings);
    const MapDevice device;
    const ClientRect client{0, 0, options.m_nWidth, options.m_nHeight};
    doc.m_nMode = kModeSector;
    doc.m_nTool = options.m_nTool;
    if (options.m_nLayer)
        doc.m_nCurrentLayer = *options.m_nLayer;
    else
        doc.m_nCurrentLayer = LayerToShow(doc.level(), doc.m_nCurrentLayer);
    if (options.m_bAllLayers) doc.m_bAllLayers = 1;
    engine.viewport().RecalcLayout(device, client);
    if (options.m_bZoomToFit || doc.m_bNormalizeOnOpen) engine.viewport().ZoomNormalize(device, client);
    engine.viewport().RecalcLayout(device, client);
    engine.Draw(list, device);
}

Status WriteImage(const DisplayList& list, const RenderOptions& options, const std::filesystem::path& out) {
    QString error;
    if (!ui::WriteMapPicture(list, QString::fromStdString(out.string()),
                             QSize(options.m_nWidth, options.m_nHeight), &error))
        return Status::Fail(error.toStdString());
    return Status::Ok();
}

} // namespace

int RenderLevel(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() != 2) return UsageError("level render takes a level file and an output picture");
    RenderOptions options;
    if (Status s = ReadRenderOptions(args, options); !s) return UsageError(s.message());
    CMorviDoc doc;
    if (Status s = LoadLevelDocument(p[0], args, doc); !s) return Fail(s.message());
    DisplayList list;
    DrawLevel(doc, options, list);
    if (Status s = WriteImage(list, options, p[1]); !s) return Fail(s.message());
    std::printf("%s: %d x %d, %zu primitives\n", p[1].c_str(), options.m_nWidth, options.m_nHeight,
                list.size());
    return 0;
}

} // namespace morvi::cli
