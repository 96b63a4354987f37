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

void AppContext::loadSettings() {
    LoadSettings(profile(), m_Settings);
}

void AppContext::saveSettings() {
    SaveSettings(profile(), m_Settings);
    profile().sync();
}

} // namespace morvi::ui
