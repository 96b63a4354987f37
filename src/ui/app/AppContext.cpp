#include "app/AppContext.h"

#include "app/SettingsStore.h"
#include "resources/QtSoundOutput.h"

#include <QCoreApplication>

namespace morvi::ui {

AppContext& AppContext::instance() {
    static AppContext context;
    return context;
}

AppContext::AppContext() = default;

AppContext::~AppContext() = default;

QSettings& AppContext::profile() {
    if (!m_pProfile) m_pProfile = OpenProfile();
    return *m_pProfile;
}

ResourceCache& AppContext::resources() {
    // A folder that changed since the last call is read again on next use; others never are.
    m_Resources.SetFolders(m_Settings.m_strDFPath, m_Settings.m_strInstall);
    return m_Resources;
}

SoundManager& AppContext::sounds() {
    if (!m_pSounds) {
        m_pSoundOutput = std::make_unique<QtSoundOutput>();
        m_pSounds = std::make_unique<SoundManager>(*m_pSoundOutput);
        m_pSounds->SetSoundMode(SoundManager::kPlayOnLoad);
        // The audio sinks go while the application is still there; the context lives on past it.
        qAddPostRoutine(&AppContext::ShutDownSounds);
    }
    return *m_pSounds;
}

SoundOutput& AppContext::soundOutput() {
    sounds();
    return *m_pSoundOutput;
}

void AppContext::stopSounds() {
    if (m_pSounds) m_pSounds->StopAll();
}

void AppContext::ShutDownSounds() {
    AppContext& context = instance();
    if (context.m_pSounds) context.m_pSounds->StopAll();
    if (context.m_pSoundOutput) context.m_pSoundOutput->shutDown();
}

void AppContext::loadSettings() {
    LoadSettings(profile(), m_Settings);
}

void AppContext::saveSettings() {
    SaveSettings(profile(), m_Settings);
    profile().sync();
}

} // namespace morvi::ui
