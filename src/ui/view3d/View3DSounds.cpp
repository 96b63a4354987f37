#include "view3d/View3DSounds.h"

namespace morvi::ui {

void View3DSounds::load(const Scene3D& scene, SceneResourceSource& source) {
    m_Placed.clear();
    m_pManager.reset();
    if (!m_Output.IsAvailable()) return;
    m_pManager = std::make_unique<SoundManager>(m_Output);
    std::vector<std::uint8_t> bytes;
    for (const SceneSound& sound : scene.m_Sounds) {
        if (!source.Find(sound.m_strName, bytes)) continue;
        const int handle = m_pManager->LoadVoc(sound.m_strName, bytes);
        if (handle < 0) continue;
        m_pManager->SetVolume(handle, 0.0f);
        m_pManager->Play(handle);
        m_Placed.push_back({handle, sound});
    }
}

void View3DSounds::follow(const Camera3D& camera) {
    if (!m_pManager) return;
    for (const Placed& placed : m_Placed)
        m_pManager->SetVolume(placed.m_nHandle, SoundVolume(camera, placed.m_Sound));
}

} // namespace morvi::ui
