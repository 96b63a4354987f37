#pragma once

#include <string>

namespace morvi {

// The user's preferences, with their defaults. The application loads them from its settings store
// at start-up and writes them back at exit; the core's rules read them but never touch a settings
// file themselves.
struct Settings {
    // ---- Editing -------------------------------------------------------------------------------
    // Objects inside a dragged sector move with it.
    bool m_bMoveObjects = true;
    // A dragged vertex takes along every vertex of any sector lying exactly on it.
    bool m_bMoveVertex = true;
    // Printing draws every wall, mark and object in black.
    bool m_bBlackWhite = true;
    // The INF command opens the INF editor window (true) or the plain text editor (false).
    bool m_bInfEditor = true;
    // Map windows show the properties pane.
    bool m_bProperties = true;

    // ---- Game paths (no trailing separator) ------------------------------------------------------
    // The CD-ROM folder holding textures.gob, sprites.gob and dark.gob.
    std::string m_strDFPath;
    // The installed game's folder holding sounds.gob.
    std::string m_strInstall;
    // The command that runs the game for Test GOB; empty for the default.
    std::string m_strGameCommand;
    // The image editor the sprite editor's Edit starts, the BMP's path added as its last argument;
    // empty for the desktop's program for BMP files.
    std::string m_strImageEditor;

    // ---- 3D view --------------------------------------------------------------------------------
    bool m_b3DO = true;         // draw 3D objects in the 3D view
    bool m_b3DGame = true;      // "Game" rather than "Perspective"
    int m_n3DGameMode = 0;      // video mode: 0 no change, 1 320 x 240 ... 5 1024 x 768
    int m_n3DGameRate = 33;     // frames per second, 1..100
    int m_n3DGameTexturing = 0; // 0 nearest, 1 linear
    bool m_b3DFrameText = true;
    bool m_b3DLighting = true; // light through the level's colour map (else every face at full light)

    // ---- Window places (screen pixels; -1 = not placed yet) ---------------------------------------
    // The main window; a right or bottom of 0 means the whole screen.
    int m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;
    int m_nTextureLeft = -1, m_nTextureTop = -1;
    int m_nInfEditorLeft = -1, m_nInfEditorTop = -1;
    int m_nTextEditorLeft = -1, m_nTextEditorTop = -1;
    int m_nBitmapLeft = -1, m_nBitmapTop = -1, m_nBitmapRight = -1, m_nBitmapBottom = -1;

    bool GamePathsSet() const { return !m_strDFPath.empty() && !m_strInstall.empty(); }
};

} // namespace morvi
