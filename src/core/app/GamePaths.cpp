#include "app/GamePaths.h"

#include "model/StringUtil.h"

#include <optional>
#include <system_error>

namespace morvi {

namespace {

// Folders are joined with '/' whatever the user typed: the paths come from a text field, and a
// drive root typed as "/" has lost its separator by the time it gets here.
std::string Join(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    joined += '/';
    joined += name;
    return joined;
}

bool HoldsFile(std::string_view folder, std::string_view name) {
    const std::filesystem::path found = FindEntryIgnoringCase(Join(folder, ""), name);
    std::error_code error;
    return !found.empty() && std::filesystem::is_regular_file(found, error);
}

// The CD-ROM folder that holds textures.gob: the typed one or its "dark" folder.
std::optional<std::string> ResolveCdFolder(const std::string& cdPath) {
    if (HoldsFile(cdPath, "textures.gob")) return cdPath;
    const std::filesystem::path dark = FindEntryIgnoringCase(Join(cdPath, ""), "dark");
    if (dark.empty()) return std::nullopt;
    // The folder keeps the name it has on disk, so that a case-sensitive system finds it again.
    std::string darkPath = Join(cdPath, dark.filename().string());
    if (!HoldsFile(darkPath, "textures.gob")) return std::nullopt;
    return darkPath;
}

} // namespace

std::string WithoutTrailingSeparator(std::string_view path) {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
    return std::string(path);
}

std::filesystem::path FindEntryIgnoringCase(const std::filesystem::path& folder, std::string_view name) {
    std::error_code error;
    const std::filesystem::path exact = folder / name;
    if (std::filesystem::exists(exact, error)) return exact;
    const std::string wanted = ToLower(name);
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (ToLower(it->path().filename().string()) == wanted) return it->path();
    }
    return {};
}

GamePathCheck CheckGamePaths(std::string_view cdPath, std::string_view installPath) {
    const std::string cd = WithoutTrailingSeparator(cdPath);
    const std::string install = WithoutTrailingSeparator(installPath);
    const std::optional<std::string> cdFolder = ResolveCdFolder(cd);
    if (!cdFolder) return {Status::Fail(std::string(kIllegalCdPath)), {}};
    if (!HoldsFile(install, "sounds.gob")) return {Status::Fail(std::string(kIllegalInstallPath)), {}};
    return {Status::Ok(), {*cdFolder, install}};
}

void UseDemoPaths(Settings& settings, const std::string& demoDir) {
    const std::string folder = WithoutTrailingSeparator(demoDir);
    settings.m_strDFPath = folder;
    settings.m_strInstall = folder;
}

} // namespace morvi
