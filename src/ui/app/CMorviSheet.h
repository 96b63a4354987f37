#pragma once

#include "app/Settings.h"

#include <QDialog>

class QTabWidget;

namespace morvi::ui {

class MorviDocument;
class SetupPage;
class LevelPage;
class Mode3DPage;

// The "Options" sheet of the Tools menu: the pages "Setup" (game paths, editing switches, INF
// editor and printing choices), "Level" (the active document's level header; greyed without a
// document) and "3D Mode". The pages show the settings when the sheet is built and store them
// when it is closed with OK:
//   CMorviSheet sheet(AppContext::instance().settings(), activeDocumentOrNull, mainWindow);
//   sheet.exec();
// After OK every listener of AppContext::settingsChanged() has been told. A frame rate outside
// 1..100 or an unreadable parallax keeps the sheet open; game paths that fail the check are
// reported in a message box and the old paths stay, while everything else is stored.
// The controls carry object names for tests and automation: "cdPath", "installPath", "useDemo",
// "moveObjects", "moveVertex", "show3DO", "infIndividual", "infNative", "printBlackWhite",
// "printColor"; "levelName", "author", "music", "parallaxHorizontal", "parallaxVertical";
// "modePerspective", "modeGame", "textureNearest", "textureLinear", "videoMode0".."videoMode5",
// "frameRate", "frameText", "lighting".
class CMorviSheet : public QDialog {
    Q_OBJECT
public:
    CMorviSheet(Settings& settings, MorviDocument* activeDocument, QWidget* parent = nullptr);
    ~CMorviSheet() override;

    QTabWidget* tabs() const { return m_pTabs; }

public slots:
    void accept() override;

private:
    // The first field whose text cannot be stored: its page comes to the front, the message is
    // shown and false returned.
    bool validate();

    Settings& m_Settings;
    MorviDocument* m_pDocument;
    QTabWidget* m_pTabs = nullptr;
    SetupPage* m_pSetup = nullptr;
    LevelPage* m_pLevel = nullptr;
    Mode3DPage* m_p3D = nullptr;
};

} // namespace morvi::ui
