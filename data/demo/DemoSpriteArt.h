#pragma once

#include "DemoArt.h"

namespace morvi::demo {

// The figures of the demo sprites, drawn procedurally on the ramps of the demo palette with index
// 0 left transparent around them. Enemies are seen from five angles (front, front diagonal,
// side, back diagonal, back); the other three views are these mirrored. Side views face left.

enum class Body : std::uint8_t { Humanoid, Quadruped, Bug, ProbeDroid, Remote, IntDroid };
enum class Head : std::uint8_t { Helmet, Cap, Commando, Fett, DarkTrooper, Reptile, Pig, Alien, Bare };

struct EnemyLook {
    Body m_Body = Body::Humanoid;
    Head m_Head = Head::Helmet;
    Ramp m_Armour = Ramp::White; // torso
    int m_nArmour = 12;
    Ramp m_Limbs = Ramp::White; // arms and legs
    int m_nLimbs = 11;
    Ramp m_Skin = Ramp::Skin; // face, or the helmet's colour for closed helmets
    int m_nSkin = 9;
    int m_nWidth = 32;
    int m_nHeight = 56;
    bool m_bBackpack = false; // jet pack, power pack
    bool m_bOrganic = true;   // blood rather than oil and sparks when it dies
};

struct EnemyPose {
    int m_nView = 0;   // 0 front, 1 front diagonal, 2 side, 3 back diagonal, 4 back
    int m_nStride = 0; // -1, 0, 1: which leg is forward
    bool m_bAttack = false;
    bool m_bFlash = false; // the shot leaves the weapon
};

IndexedImage DrawEnemy(const EnemyLook& look, const EnemyPose& pose);

// The front picture of an enemy falling over backwards; step 0 is the hit, 3 lying on the floor.
IndexedImage DrawFalling(const EnemyLook& look, int step);
// Lying dead in a pool of blood (or of oil, with scraps, for droids).
IndexedImage DrawDead(const EnemyLook& look);

} // namespace morvi::demo
