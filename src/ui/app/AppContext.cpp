#include "app/AppContext.h"

#include "app/SettingsStore.h"

namespace morvi::ui {

AppContext& AppContext::instance() {
    static AppContext context;
    return context;
}

QSettings& AppContext::profile() {
    if (!m_pProfile) m_pProfile = OpenProfile();
    return *m_pProfile;
}

ResourceCache& AppContext::resources() {
    // A folder that changed since the last call is read again on next use; others never are.
    m_Resources.SetFolders(m_Settings.m_strDFPath, m_Settings.m_strInstall);
    return m_Resources;
}

void AppContext::loadSettings() {
    LoadSettings(profile(), m_Settings);
}

void AppContext::saveSettings() {
    SaveSettings(profile(), m_Settings);
    profile().sync();
}

} // namespace morvi::ui
