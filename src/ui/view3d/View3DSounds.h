#pragma once

#include "resources/SoundManager.h"
#include "view3d/Camera3D.h"

#include <memory>
#include <vector>

namespace morvi::ui {

// The sounds of the 3D view's scene: each placed sound loaded and started on the given
// output, louder the nearer the camera is. Without an audio device nothing plays. Destroying it
// (or loading another scene) stops and releases every sound it loaded.
class View3DSounds {
public:
    explicit View3DSounds(SoundOutput& output) : m_Output(output) {}

    void load(const Scene3D& scene, SceneResourceSource& source);
    void follow(const Camera3D& camera);
    std::size_t count() const { return m_Placed.size(); }

private:
    struct Placed {
        int m_nHandle = -1;
        SceneSound m_Sound;
    };

    SoundOutput& m_Output;
    std::unique_ptr<SoundManager> m_pManager;
    std::vector<Placed> m_Placed;
};

} // namespace morvi::ui
