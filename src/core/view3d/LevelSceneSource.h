#pragma once

#include "view3d/Scene3D.h"

namespace morvi {

class CDataLevel;
class ResourceCache;

// The scene's resources as the game finds them: the level's own members first (any case), then
// the game archive the name's extension belongs to: textures.gob for ".bm", sprites.gob for ".wax"
// and ".fme", dark.gob for ".3do", ".pal" and ".cmp", sounds.gob for ".voc". The level is only
// read: nothing found in an archive is added to its members.
class LevelSceneSource : public SceneResourceSource {
public:
    LevelSceneSource(const CDataLevel& level, ResourceCache& cache) : m_Level(level), m_Cache(cache) {}

    bool Find(std::string_view name, std::vector<std::uint8_t>& bytes) override;

private:
    const CDataLevel& m_Level;
    ResourceCache& m_Cache;
};

} // namespace morvi
