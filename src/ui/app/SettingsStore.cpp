#include "app/SettingsStore.h"

#include <QString>

namespace morvi::ui {

namespace {

// One integer or flag of "Preferences" and its field: a single table keeps load and save alike.
struct IntValue {
    const char* name;
    int Settings::*field;
};
struct BoolValue {
    const char* name;
    bool Settings::*field;
};
struct TextValue {
    const char* name;
    std::string Settings::*field;
};

constexpr IntValue kInts[] = {
    {"Left", &Settings::m_nLeft},
    {"Top", &Settings::m_nTop},
    {"Right", &Settings::m_nRight},
    {"Bottom", &Settings::m_nBottom},
    {"TextureLeft", &Settings::m_nTextureLeft},
    {"TextureTop", &Settings::m_nTextureTop},
    {"INFEditorLeft", &Settings::m_nInfEditorLeft},
    {"INFEditorTop", &Settings::m_nInfEditorTop},
    {"TextEditorLeft", &Settings::m_nTextEditorLeft},
    {"TextEditorTop", &Settings::m_nTextEditorTop},
    {"BitmapLeft", &Settings::m_nBitmapLeft},
    {"BitmapTop", &Settings::m_nBitmapTop},
    {"BitmapRight", &Settings::m_nBitmapRight},
    {"BitmapBottom", &Settings::m_nBitmapBottom},
    {"3DGameMode", &Settings::m_n3DGameMode},
    {"3DGameRate", &Settings::m_n3DGameRate},
    {"3DGameTexturing", &Settings::m_n3DGameTexturing},
};

constexpr BoolValue kFlags[] = {
    {"Properties", &Settings::m_bProperties},   {"3DO", &Settings::m_b3DO},
    {"3DGame", &Settings::m_b3DGame},           {"3DFrameText", &Settings::m_b3DFrameText},
    {"MoveObjects", &Settings::m_bMoveObjects}, {"MoveVertex", &Settings::m_bMoveVertex},
    {"INFEditor", &Settings::m_bInfEditor},     {"BlackWhite", &Settings::m_bBlackWhite},
    {"3DLighting", &Settings::m_b3DLighting},
};

constexpr TextValue kTexts[] = {
    {"DFPath", &Settings::m_strDFPath},
    {"Install", &Settings::m_strInstall},
    {"GameCommand", &Settings::m_strGameCommand},
    {"ImageEditor", &Settings::m_strImageEditor},
};

} // namespace

std::unique_ptr<QSettings> OpenProfile() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "morvi", "morvi");
}

void LoadSettings(QSettings& profile, Settings& settings) {
    const Settings defaults;
    profile.beginGroup("Preferences");
    for (const IntValue& v : kInts)
        settings.*v.field = profile.value(v.name, defaults.*v.field).toInt();
    for (const BoolValue& v : kFlags)
        settings.*v.field = profile.value(v.name, defaults.*v.field ? 1 : 0).toInt() != 0;
    for (const TextValue& v : kTexts)
        settings.*v.field =
            profile.value(v.name, QString::fromStdString(defaults.*v.field)).toString().toStdString();
    profile.endGroup();
}

void SaveSettings(QSettings& profile, const Settings& settings) {
    profile.beginGroup("Preferences");
    for (const IntValue& v : kInts)
        profile.setValue(v.name, settings.*v.field);
    for (const BoolValue& v : kFlags)
        profile.setValue(v.name, settings.*v.field ? 1 : 0);
    for (const TextValue& v : kTexts)
        profile.setValue(v.name, QString::fromStdString(settings.*v.field));
    profile.endGroup();
}

} // namespace morvi::ui
