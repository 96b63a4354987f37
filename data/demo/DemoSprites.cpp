#include "DemoSprites.h"

#include "DemoSpriteArt.h"
#include "resources/SpriteEncoder.h"
#include "resources/WaxFile.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace morvi::demo {

namespace {

// World size of a sprite in the game's 16.16 fixed point: 1.0 draws a pixel of the cell as a
// pixel of the game's standard texture scale.
constexpr std::int32_t kWorldUnit = 65536;

// --- Enemies -------------------------------------------------------------------------------

struct EnemySprite {
    std::string_view m_strName;
    EnemyLook m_Look;
};

EnemyLook Human(Head head, Ramp armour, int a, Ramp limbs, int l, Ramp skin, int s, int w, int h,
                bool pack = false) {
    EnemyLook look;
    look.m_Head = head;
    look.m_Armour = armour;
    look.m_nArmour = a;
    look.m_Limbs = limbs;
    look.m_nLimbs = l;
    look.m_Skin = skin;
    look.m_nSkin = s;
    look.m_nWidth = w;
    look.m_nHeight = h;
    look.m_bBackpack = pack;
    return look;
}

EnemyLook Beast(Body body, Ramp skin, int s, int w, int h, bool organic) {
    EnemyLook look;
    look.m_Body = body;
    look.m_Skin = skin;
    look.m_nSkin = s;
    look.m_nWidth = w;
    look.m_nHeight = h;
    look.m_bOrganic = organic;
    return look;
}

// Dark troopers are machines: they leave oil and scraps, not blood.
EnemyLook Machine(EnemyLook look) {
    look.m_bOrganic = false;
    return look;
}

std::vector<EnemySprite> Enemies() {
    return {
        {"STORMFIN.WAX", Human(Head::Helmet, Ramp::White, 13, Ramp::White, 12, Ramp::White, 14, 32, 56)},
        {"OFFCFIN.WAX", Human(Head::Cap, Ramp::Olive, 8, Ramp::Olive, 6, Ramp::Skin, 9, 30, 56)},
        {"COMMANDO.WAX", Human(Head::Commando, Ramp::Grey, 5, Ramp::Grey, 4, Ramp::Grey, 4, 32, 56)},
        {"BOBAFETT.WAX", Human(Head::Fett, Ramp::Olive, 7, Ramp::Grey, 7, Ramp::Olive, 8, 32, 58, true)},
        {"PHASE1.WAX",
         Machine(Human(Head::DarkTrooper, Ramp::Grey, 3, Ramp::Grey, 2, Ramp::Grey, 4, 44, 70))},
        {"PHASE2.WAX",
         Machine(Human(Head::DarkTrooper, Ramp::Grey, 2, Ramp::Steel, 3, Ramp::Grey, 3, 48, 72, true))},
        {"PHASE3X.WAX",
         Machine(Human(Head::DarkTrooper, Ramp::Steel, 3, Ramp::Grey, 2, Ramp::Steel, 4, 48, 72, true))},
        {"BOSSK.WAX", Human(Head::Reptile, Ramp::Gold, 6, Ramp::Gold, 5, Ramp::Olive, 7, 34, 60)},
        {"GAMGUARD.WAX", Human(Head::Pig, Ramp::Brown, 5, Ramp::Olive, 7, Ramp::Olive, 8, 40, 58)},
        {"REEYEES.WAX", Human(Head::Alien, Ramp::Brown, 7, Ramp::Brown, 6, Ramp::Sand, 8, 30, 58)},
        {"CRIX.WAX", Human(Head::Bare, Ramp::Rust, 7, Ramp::Rust, 6, Ramp::Skin, 9, 28, 54)},
        {"KELL.WAX", Beast(Body::Quadruped, Ramp::Brown, 7, 64, 44, true)},
        {"SEWERBUG.WAX", Beast(Body::Bug, Ramp::Purple, 6, 40, 36, true)},
        {"PROBE.WAX", Beast(Body::ProbeDroid, Ramp::Grey, 3, 36, 56, false)},
        {"REMOTE.WAX", Beast(Body::Remote, Ramp::Steel, 9, 20, 20, false)},
        {"INTDROID.WAX", Beast(Body::IntDroid, Ramp::Grey, 2, 32, 40, false)},
    };
}

// The drawn angle of each of the eight views and whether it is a drawn one mirrored: front,
// front-left, left, back-left, back, then back-right, right and front-right as mirrors.
constexpr std::array<int, 8> kDrawnView{0, 1, 2, 3, 4, 3, 2, 1};

bool Mirrored(int view) {
    return view >= 5;
}

// Four consecutive slots of a state's 32 show each of its views.
std::vector<int> Slots(const std::array<int, 8>& views) {
    std::vector<int> slots;
    for (int slot = 0; slot < kWaxListLength; ++slot)
        slots.push_back(views[static_cast<std::size_t>(slot / 4)]);
    return slots;
}

std::vector<int> Same(int view) {
    return std::vector<int>(static_cast<std::size_t>(kWaxListLength), view);
}

// Frames of one drawn picture, shown straight and mirrored.
struct FramePair {
    int m_nPlain, m_nFlipped;
    int of(int view) const { return Mirrored(view) ? m_nFlipped : m_nPlain; }
};

// The demo's sprites always fit a WAX.
std::vector<std::uint8_t> Written(WaxEncoder& wax) {
    std::vector<std::uint8_t> bytes;
    if (Status written = wax.Write(bytes); !written) throw std::runtime_error(written.message());
    return bytes;
}

FramePair AddPicture(WaxEncoder& wax, const IndexedImage& picture) {
    const int cell = wax.AddCell(picture, true);
    return {wax.AddFrame(cell, false), wax.AddFrame(cell, true)};
}

std::vector<std::uint8_t> BuildEnemy(const EnemyLook& look) {
    WaxEncoder wax;
    constexpr std::array<int, 3> kStrides{1, 0, -1};
    std::array<std::array<FramePair, 3>, 5> walk{};
    std::array<std::array<FramePair, 2>, 5> attack{};
    for (int d = 0; d < 5; ++d) {
        for (std::size_t s = 0; s < kStrides.size(); ++s)
            walk[d][s] = AddPicture(wax, DrawEnemy(look, {d, kStrides[s], false, false}));
        for (int a = 0; a < 2; ++a)
            attack[d][a] = AddPicture(wax, DrawEnemy(look, {d, 0, true, a == 1}));
    }
    std::array<int, 8> walkViews{}, attackViews{}, standViews{};
    for (int v = 0; v < 8; ++v) {
        const std::size_t d = static_cast<std::size_t>(kDrawnView[static_cast<std::size_t>(v)]);
        const auto& w = walk[d];
        // Both passing steps show the legs together, so they share one frame.
        walkViews[v] = wax.AddView({w[0].of(v), w[1].of(v), w[2].of(v), w[1].of(v)});
        attackViews[v] = wax.AddView({attack[d][0].of(v), attack[d][1].of(v)});
        standViews[v] = wax.AddView({w[1].of(v)});
    }
    // Falling and lying look the same from every side.
    std::vector<int> fall;
    for (int step = 0; step < 4; ++step)
        fall.push_back(AddPicture(wax, DrawFalling(look, step)).m_nPlain);
    const int dying = wax.AddView(fall);
    const int dead = wax.AddView({AddPicture(wax, DrawDead(look)).m_nPlain});
    wax.AddState(kWorldUnit, kWorldUnit, 8, Slots(walkViews));   // walking
    wax.AddState(kWorldUnit, kWorldUnit, 4, Slots(attackViews)); // attacking
    wax.AddState(kWorldUnit, kWorldUnit, 6, Same(dying));        // dying
    wax.AddState(kWorldUnit, kWorldUnit, 6, Same(dying));        // dying with a flash
    wax.AddState(kWorldUnit, kWorldUnit, 0, Same(dead));         // lying dead
    wax.AddState(kWorldUnit, kWorldUnit, 0, Slots(standViews));  // standing still
    wax.AddState(kWorldUnit, kWorldUnit, 4, Slots(attackViews)); // second attack
    return Written(wax);
}

// --- Drawing helpers for props ----------------------------------------------------------------

// A glow: rings from dim at the rim to white hot in the middle.
void Glow(Canvas& c, int cx, int cy, int r, Ramp ramp, int hot) {
    for (int k = r; k > 0; --k)
        c.Disc(cx, cy, k, Shade(ramp, hot - (k * 6) / std::max(r, 1)));
}

void Cylinder(Canvas& c, int x, int y, int w, int h, Ramp ramp, int shade) {
    for (int col = 0; col < w; ++col) {
        // Lit from the left: brightest a third of the way across.
        const int d = std::abs(3 * col - w) * 6 / std::max(w, 1);
        c.FillRect(x + col, y, 1, h, Shade(ramp, shade + 3 - d));
    }
}

void Sphere(Canvas& c, int cx, int cy, int r, Ramp ramp, int shade) {
    c.Disc(cx, cy, r, Shade(ramp, shade - 3));
    c.Disc(cx - r / 4, cy - r / 4, r * 3 / 4, Shade(ramp, shade));
    c.Disc(cx - r / 3, cy - r / 3, std::max(1, r / 4), Shade(ramp, shade + 4));
}

// --- Animated props (WAX) ---------------------------------------------------------------------

using PropDrawer = void (*)(Canvas&, int frame);

struct PropSprite {
    std::string_view m_strName;
    int m_nWidth, m_nHeight, m_nFrames, m_nFrameRate;
    bool m_bCompressed;
    PropDrawer m_pDraw;
};

void Flicker(Canvas& c, int cx, int cy, int r, Ramp ramp, int frame) {
    Glow(c, cx, cy, r - (frame % 2), ramp, 15 - frame % 3);
}

void Explosion(Canvas& c, int frame, Ramp outer, Ramp inner) {
    const int cx = c.width() / 2, cy = c.height() / 2, r = 7 + frame * 4;
    Glow(c, cx, cy, std::min(r, c.width() / 2 - 1), outer, 14 - frame);
    if (frame < 4) Glow(c, cx, cy, std::max(2, r / 2), inner, 15);
    DemoRandom random(static_cast<std::uint32_t>(frame + 11));
    for (int k = 0; k < 6 + frame * 2; ++k) // sparks flying off
        c.Plot(random.between(cx - r - 2, cx + r + 2), random.between(cy - r - 2, cy + r + 2),
               Shade(Ramp::Gold, 14));
}

void Flame(Canvas& c, int frame) {
    const int w = c.width(), h = c.height();
    DemoRandom random(static_cast<std::uint32_t>(frame * 7 + 3));
    for (int tongue = 0; tongue < 5; ++tongue) {
        const int x = w / 2 + (tongue - 2) * w / 7 + random.between(-1, 1);
        const int top = h / 4 + random.below(h / 3);
        for (int y = top; y < h; ++y) {
            const int half = 1 + (y - top) * w / 6 / std::max(1, h - top);
            const int heat = 6 + (y - top) * 9 / std::max(1, h - top);
            c.FillRect(x - half, y, 2 * half + 1, 1, Shade(heat > 12 ? Ramp::Gold : Ramp::Red, heat));
        }
    }
    c.Ellipse(w / 2, h - 2, w / 3, 2, Shade(Ramp::Glow, 15)); // the burning fuel
}

void StandingLamp(Canvas& c, int frame, bool square) {
    const int w = c.width(), h = c.height(), cx = w / 2;
    c.Bevel(cx - 5, h - 3, 11, 3, Ramp::Steel, 5);
    c.FillRect(cx - 1, w / 2 + 2, 3, h - w / 2 - 4, Shade(Ramp::Steel, 7));
    if (square)
        c.Bevel(cx - w / 2 + 2, 1, w - 4, w - 2, Ramp::Glow, 13 - frame % 2, 1);
    else
        Flicker(c, cx, w / 2, w / 2 - 1, Ramp::Glow, frame);
}

void HangingLamp(Canvas& c, int frame, Ramp light) {
    const int w = c.width(), h = c.height(), cx = w / 2;
    for (int y = 0; y < h / 2; y += 3)
        c.FillRect(cx - 1 + (y / 3) % 2, y, 2, 2, Shade(Ramp::Grey, 6)); // chain links
    Glow(c, cx, h - w / 2, w / 2 - 1, light, 15 - frame % 3);
    for (int row = 0; row < w / 3; ++row) // the shade over the bulb
        c.FillRect(cx - row - 2, h / 2 + row, 2 * row + 5, 1, Shade(Ramp::Steel, 4 + row / 2));
}

const std::vector<PropSprite>& Props() {
    static const std::vector<PropSprite> props{
        {"BULLEXP.WAX", 48, 48, 5, 10, true,
         [](Canvas& c, int f) { Explosion(c, f, Ramp::Red, Ramp::Glow); }},
        {"CONCEXP.WAX", 48, 48, 5, 10, true,
         [](Canvas& c, int f) { Explosion(c, f, Ramp::Blue, Ramp::White); }},
        {"CFLAME.WAX", 24, 40, 6, 10, true, Flame},
        {"DFLAME.WAX", 32, 48, 4, 8, true, Flame},
        {"ICEILIT2.WAX", 28, 12, 2, 4, true,
         [](Canvas& c, int f) {
             c.Bevel(0, 0, 28, 5, Ramp::Steel, 6);
             Glow(c, 14, 6, 5, Ramp::Glow, 15 - f);
         }},
        {"IFLRLIT.WAX", 20, 12, 2, 4, true,
         [](Canvas& c, int f) {
             c.Bevel(0, 5, 20, 7, Ramp::Steel, 5);
             c.FillRect(2, 2, 16, 3, Shade(Ramp::Glow, 14 - f));
         }},
        {"HANGLIT.WAX", 24, 44, 3, 6, true, [](Canvas& c, int f) { HangingLamp(c, f, Ramp::Glow); }},
        {"REDLIT.WAX", 18, 36, 2, 4, true, [](Canvas& c, int f) { HangingLamp(c, f, Ramp::Red); }},
        {"LIT1.WAX", 16, 36, 3, 6, true, [](Canvas& c, int f) { StandingLamp(c, f, false); }},
        {"LIT2.WAX", 16, 36, 3, 6, true, [](Canvas& c, int f) { StandingLamp(c, f, true); }},
        {"TALLIT1.WAX", 18, 68, 3, 6, true, [](Canvas& c, int f) { StandingLamp(c, f, false); }},
        {"TALLIT2.WAX", 18, 68, 2, 4, true, [](Canvas& c, int f) { StandingLamp(c, f, true); }},
        {"TBLELIT.WAX", 14, 20, 2, 4, true,
         [](Canvas& c, int f) {
             c.Bevel(3, 17, 8, 3, Ramp::Gold, 7);
             c.FillRect(6, 9, 2, 8, Shade(Ramp::Gold, 9));
             Glow(c, 7, 6, 5, Ramp::Glow, 15 - f);
         }},
        {"TRIPLT.WAX", 26, 48, 3, 6, true,
         [](Canvas& c, int f) {
             for (const int foot : {1, 13, 24})
                 c.Line(13, 20, foot, 47, Shade(Ramp::Grey, 6));
             c.Bevel(5, 6, 16, 14, Ramp::Grey, 4);
             Glow(c, 13, 13, 5, Ramp::Glow, 15 - f % 2);
         }},
        {"BARREL.WAX", 24, 32, 2, 2, true,
         [](Canvas& c, int f) {
             Cylinder(c, 1, 2, 22, 30, Ramp::Rust, 7);
             c.Ellipse(12, 2, 10, 2, Shade(Ramp::Rust, 4));
             for (const int y : {8, 24})
                 c.FillRect(1, y, 22, 2, Shade(Ramp::Rust, 3));
             c.FillRect(7, 13, 10, 7, Shade(Ramp::Gold, 11)); // hazard plate
             c.Text(8, 14, "!", Shade(Ramp::Grey, 1));
             c.Disc(18, 4, 1, Shade(Ramp::Red, f == 0 ? 14 : 5));
         }},
        {"BOBABALL.WAX", 24, 24, 4, 8, true,
         [](Canvas& c, int f) {
             Sphere(c, 12, 12, 11, Ramp::Steel, 9);
             c.FillRect(1 + f * 5, 11, 4, 3, Shade(Ramp::Red, 9));
         }},
        {"CHAIR.WAX", 24, 36, 1, 0, false,
         [](Canvas& c, int) {
             c.Bevel(3, 0, 18, 18, Ramp::Steel, 6);
             c.Bevel(1, 17, 22, 5, Ramp::Steel, 8);
             c.FillRect(10, 22, 4, 10, Shade(Ramp::Grey, 4));
             c.Bevel(3, 32, 18, 4, Ramp::Grey, 5);
         }},
        {"TABLE.WAX", 44, 26, 1, 0, false,
         [](Canvas& c, int) {
             c.Bevel(0, 0, 44, 5, Ramp::Brown, 8);
             c.FillRect(3, 5, 4, 21, Shade(Ramp::Brown, 4));
             c.FillRect(37, 5, 4, 21, Shade(Ramp::Brown, 4));
         }},
        {"ROCK.WAX", 36, 24, 1, 0, false,
         [](Canvas& c, int) {
             c.Ellipse(18, 15, 17, 9, Shade(Ramp::Grey, 6));
             c.Ellipse(14, 11, 10, 5, Shade(Ramp::Grey, 8));
             DemoRandom random(5);
             c.Grain(0, 0, 36, 24, Ramp::Grey, 1, random);
         }},
        {"EMSCULP.WAX", 28, 60, 2, 2, true,
         [](Canvas& c, int f) {
             c.Bevel(2, 50, 24, 10, Ramp::Grey, 7);
             c.Ellipse(14, 30, 9, 20, Shade(Ramp::Grey, 4)); // the hooded robe
             c.Ellipse(14, 10, 6, 8, Shade(Ramp::Grey, 3));
             c.Ellipse(14, 12, 3, 4, Shade(Ramp::Grey, 1));
             c.Plot(13, 11, Shade(Ramp::Gold, 10 + 5 * f));
             c.Plot(15, 11, Shade(Ramp::Gold, 10 + 5 * f));
         }},
        {"EWOK86.WAX", 20, 30, 4, 6, true,
         [](Canvas& c, int f) {
             const int bob = f % 2;
             c.Ellipse(10, 20 + bob, 8, 9, Shade(Ramp::Brown, 6));
             c.Ellipse(10, 8 + bob, 7, 7, Shade(Ramp::Brown, 7));
             c.Ellipse(10, 6 + bob, 7, 4, Shade(Ramp::Olive, 6)); // hood
             c.Plot(8, 9 + bob, Shade(Ramp::Grey, 0));
             c.Plot(12, 9 + bob, Shade(Ramp::Grey, 0));
             c.Line(17, 4 + f, 18, 29, Shade(Ramp::Brown, 3)); // spear
         }},
        {"FROGBOWL.WAX", 24, 16, 3, 4, true,
         [](Canvas& c, int f) {
             c.Ellipse(12, 10, 11, 5, Shade(Ramp::Sand, 8));
             c.Ellipse(12, 8, 9, 2, Shade(Ramp::Olive, 6));
             c.Disc(12, 6, 3, Shade(Ramp::Olive, 9));
             if (f > 0) c.Line(12, 6, 12 + 3 * f, 2, Shade(Ramp::Red, 10));
         }},
        {"DEFAULT.WAX", 24, 24, 2, 3, true,
         [](Canvas& c, int f) {
             c.Ellipse(12, 16, 10, 7, Shade(Ramp::Sand, 6));
             c.Ellipse(12, 6 + f, 7, 3, Shade(Ramp::Grey, 7)); // the grey hat
             c.Plot(9, 12, Shade(Ramp::Grey, 0));
             c.Plot(15, 12, Shade(Ramp::Grey, 0));
             c.FillRect(5, 22, 3, 2, Shade(Ramp::Sand, 3));
             c.FillRect(16, 22, 3, 2, Shade(Ramp::Sand, 3));
         }},
        {"IARMOR.WAX", 20, 20, 4, 8, true,
         [](Canvas& c, int f) {
             Glow(c, 10, 10, 9, Ramp::Teal, 12 + f % 2 * 3);
             c.Bevel(5, 5, 10, 10, Ramp::Steel, 8);
             c.FillRect(7, 9, 6, 2, Shade(Ramp::Teal, 15 - f));
         }},
        {"IINVINC.WAX", 20, 20, 4, 8, true,
         [](Canvas& c, int f) { Glow(c, 10, 10, 7 + f % 2 * 2, Ramp::Gold, 15); }},
        {"ILIFE.WAX", 20, 24, 4, 8, true,
         [](Canvas& c, int f) {
             Glow(c, 10, 12, 9, Ramp::Red, 11 + f % 2 * 3);
             c.Disc(10, 7, 3, Shade(Ramp::Glow, 15));
             c.FillRect(7, 11, 7, 9, Shade(Ramp::Glow, 14));
         }},
        {"IREVIVE.WAX", 20, 20, 4, 8, true,
         [](Canvas& c, int f) {
             Glow(c, 10, 10, 9, Ramp::Blue, 12 + f % 2 * 3);
             c.FillRect(9, 4, 3, 13, Shade(Ramp::White, 15));
             c.FillRect(4, 9, 13, 3, Shade(Ramp::White, 15));
         }},
        {"IDPLANS.WAX", 20, 16, 4, 6, true,
         [](Canvas& c, int f) {
             const int half = std::array{9, 6, 2, 6}[static_cast<std::size_t>(f)]; // turning round
             c.Bevel(10 - half, 3, 2 * half + 1, 10, Ramp::Blue, 9 + (f == 2 ? 3 : 0));
             Glow(c, 10, 8, 2, Ramp::White, 15);
         }},
        {"INAVA.WAX", 18, 14, 4, 6, true,
         [](Canvas& c, int f) {
             const int half = std::array{8, 5, 1, 5}[static_cast<std::size_t>(f)];
             c.Bevel(9 - half, 2, 2 * half + 1, 10, Ramp::Red, 9);
             c.FillRect(9 - half, 5, 2 * half + 1, 2, Shade(Ramp::Gold, 13));
         }},
        {"IPHRIK.WAX", 16, 20, 4, 6, true,
         [](Canvas& c, int f) {
             const int half = std::array{6, 4, 1, 4}[static_cast<std::size_t>(f)];
             for (int y = 0; y < 18; ++y)
                 c.FillRect(8 - half * (18 - y) / 18, y + 1, 2 * half * (18 - y) / 18 + 1, 1,
                            Shade(Ramp::Steel, 14 - y / 3));
         }},
        {"WMSL.WAX", 28, 10, 3, 12, true,
         [](Canvas& c, int f) {
             Glow(c, 23, 5, 3 + f % 2, Ramp::Gold, 15);
             Cylinder(c, 4, 2, 18, 6, Ramp::Grey, 7);
             c.FillRect(0, 3, 5, 4, Shade(Ramp::Red, 8));
         }},
        {"WPLASMA.WAX", 14, 14, 3, 12, true,
         [](Canvas& c, int f) { Glow(c, 7, 7, 5 + f % 2, Ramp::Olive, 15); }},
        {"WSHELL.WAX", 12, 12, 2, 12, true,
         [](Canvas& c, int f) {
             Sphere(c, 6, 6, 4, Ramp::Grey, 7);
             c.Plot(1 + f * 9, 2 + f * 7, Shade(Ramp::Gold, 15));
         }},
    };
    return props;
}

std::vector<std::uint8_t> BuildProp(const PropSprite& prop) {
    WaxEncoder wax;
    std::vector<int> frames;
    for (int f = 0; f < prop.m_nFrames; ++f) {
        IndexedImage picture = BlankPicture(prop.m_nWidth, prop.m_nHeight);
        Canvas canvas(picture);
        prop.m_pDraw(canvas, f);
        frames.push_back(wax.AddFrame(wax.AddCell(picture, prop.m_bCompressed), false));
    }
    // One view seen from every side.
    wax.AddState(kWorldUnit, kWorldUnit, prop.m_nFrameRate, Same(wax.AddView(frames)));
    return Written(wax);
}

// --- Still frames (FME) -----------------------------------------------------------------------

struct ItemSprite {
    std::string_view m_strName;
    int m_nWidth, m_nHeight;
    bool m_bCompressed;
    PropDrawer m_pDraw; // frame is always 0
};

void KeyCard(Canvas& c, Ramp stripe) {
    c.Bevel(0, 0, c.width(), c.height(), Ramp::White, 12);
    c.FillRect(1, 2, c.width() - 2, 3, Shade(stripe, 10));
    c.FillRect(2, c.height() - 3, 5, 1, Shade(Ramp::Gold, 12)); // the chip
}

void Rifle(Canvas& c, Ramp ramp, int shade, bool upright) {
    IndexedImage flat = BlankPicture(upright ? c.height() : c.width(), upright ? c.width() : c.height());
    Canvas f(flat);
    const int w = f.width(), h = f.height();
    f.FillRect(0, h / 2 - 1, w - 4, 3, Shade(ramp, shade));
    f.FillRect(w / 3, h / 2 - 2, w / 3, 5, Shade(ramp, shade - 2));
    f.FillRect(w - 7, h / 2 + 1, 4, h / 2 - 1, Shade(Ramp::Brown, 4)); // stock grip
    f.FillRect(w / 3 + 2, h / 2 + 3, 3, h / 2 - 3, Shade(Ramp::Grey, 2));
    f.Plot(0, h / 2, Shade(Ramp::Grey, 10));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (const std::uint8_t p = f.At(x, y); p != 0)
                c.Plot(upright ? h - 1 - y : x, upright ? x : y, p);
}

void Cluster(Canvas& c, int count, void (*one)(Canvas&, int x, int y)) {
    for (int k = 0; k < count; ++k)
        one(c, k * c.width() / (count + 1), k % 2 == 0 ? c.height() / 2 : 0);
}

void Detonator(Canvas& c, int x, int y) {
    Sphere(c, x + 4, y + 4, 3, Ramp::Steel, 9);
    c.Plot(x + 4, y + 2, Shade(Ramp::Red, 13));
}

void Missile(Canvas& c, int x, int y) {
    Cylinder(c, x, y + 1, 10, 3, Ramp::Grey, 7);
    c.FillRect(x, y + 1, 2, 3, Shade(Ramp::Red, 9));
}

void Mine(Canvas& c, int x, int y) {
    c.Ellipse(x + 5, y + 3, 5, 2, Shade(Ramp::Olive, 5));
    c.Plot(x + 5, y + 2, Shade(Ramp::Red, 14));
}

void Shell(Canvas& c, int x, int y) {
    Cylinder(c, x, y, 4, 8, Ramp::Gold, 8);
    c.FillRect(x, y, 4, 2, Shade(Ramp::Grey, 5));
}

void CellPack(Canvas& c, Ramp ramp) {
    c.Bevel(0, 0, c.width(), c.height(), Ramp::Grey, 6);
    c.FillRect(2, 2, c.width() - 4, c.height() - 4, Shade(ramp, 13));
    c.FillRect(2, c.height() / 2, c.width() - 4, 1, Shade(ramp, 8));
}

const std::vector<ItemSprite>& Items() {
    static const std::vector<ItemSprite> items{
        {"IKEYB.FME", 14, 10, false, [](Canvas& c, int) { KeyCard(c, Ramp::Blue); }},
        {"IKEYR.FME", 14, 10, false, [](Canvas& c, int) { KeyCard(c, Ramp::Red); }},
        {"IKEYY.FME", 14, 10, false, [](Canvas& c, int) { KeyCard(c, Ramp::Gold); }},
        {"DET_CODE.FME", 12, 10, true,
         [](Canvas& c, int) {
             KeyCard(c, Ramp::Teal);
             c.Text(5, 3, "1", Shade(Ramp::Grey, 1));
         }},
        {"IDTGUN.FME", 30, 12, true,
         [](Canvas& c, int) {
             Rifle(c, Ramp::Grey, 3, false);
             c.Line(20, 2, 24, 9, 0); // the break
             c.Plot(21, 6, Shade(Ramp::Gold, 14));
         }},
        {"IDATA.FME", 12, 10, true,
         [](Canvas& c, int) {
             c.Bevel(0, 0, 12, 10, Ramp::Teal, 8);
             c.FillRect(2, 2, 8, 3, Shade(Ramp::Teal, 14));
         }},
        {"IPHRIK.FME", 12, 16, true,
         [](Canvas& c, int) {
             for (int y = 0; y < 16; ++y)
                 c.FillRect(6 - (16 - y) / 3, y, 2 * ((16 - y) / 3) + 1, 1, Shade(Ramp::Steel, 14 - y / 3));
         }},
        {"IPILE.FME", 26, 14, true,
         [](Canvas& c, int) {
             c.Ellipse(9, 9, 8, 5, Shade(Ramp::Brown, 6)); // the kit bag
             c.FillRect(12, 9, 13, 3, Shade(Ramp::Grey, 3));
             c.Disc(19, 5, 3, Shade(Ramp::Olive, 7));
         }},
        {"LANDMINE.FME", 18, 7, true,
         [](Canvas& c, int) {
             c.Ellipse(9, 4, 8, 2, Shade(Ramp::Grey, 5));
             c.Plot(9, 2, Shade(Ramp::Red, 14));
         }},
        {"IST-GUNI.FME", 26, 8, true, [](Canvas& c, int) { Rifle(c, Ramp::Grey, 4, false); }},
        {"IST-GUNU.FME", 8, 26, true, [](Canvas& c, int) { Rifle(c, Ramp::Grey, 4, true); }},
        {"IFUSION.FME", 22, 10, true,
         [](Canvas& c, int) {
             Rifle(c, Ramp::Gold, 8, false);
             c.FillRect(3, 3, 3, 3, Shade(Ramp::Red, 12));
         }},
        {"IFUSIONT.FME", 22, 10, true,
         [](Canvas& c, int) {
             Rifle(c, Ramp::Gold, 8, false);
             c.FillRect(3, 3, 3, 3, Shade(Ramp::Red, 12));
         }},
        {"IAUTOGUN.FME", 26, 12, true,
         [](Canvas& c, int) {
             Rifle(c, Ramp::Grey, 5, false);
             Sphere(c, 12, 7, 4, Ramp::Grey, 6);
         }},
        {"IMORTAR.FME", 26, 10, true,
         [](Canvas& c, int) {
             Cylinder(c, 0, 2, 20, 6, Ramp::Olive, 6);
             c.FillRect(20, 3, 6, 7, Shade(Ramp::Brown, 4));
         }},
        {"ICONCUS.FME", 26, 10, true,
         [](Canvas& c, int) {
             Rifle(c, Ramp::Steel, 8, false);
             for (int x = 6; x < 14; x += 2)
                 c.FillRect(x, 2, 1, 5, Shade(Ramp::Blue, 13));
         }},
        {"ICANNON.FME", 30, 12, true,
         [](Canvas& c, int) {
             Rifle(c, Ramp::Grey, 2, false);
             c.FillRect(8, 4, 6, 2, Shade(Ramp::Red, 11));
         }},
        {"IDET.FME", 9, 9, true, [](Canvas& c, int) { Detonator(c, 0, 0); }},
        {"IDETS.FME", 20, 14, true, [](Canvas& c, int) { Cluster(c, 3, Detonator); }},
        {"IMSL.FME", 12, 6, true, [](Canvas& c, int) { Missile(c, 1, 0); }},
        {"IMSLS.FME", 16, 12, true, [](Canvas& c, int) { Cluster(c, 3, Missile); }},
        {"IMINE.FME", 12, 6, true, [](Canvas& c, int) { Mine(c, 0, 0); }},
        {"IMINES.FME", 20, 10, true, [](Canvas& c, int) { Cluster(c, 3, Mine); }},
        {"ISHELL.FME", 6, 10, true, [](Canvas& c, int) { Shell(c, 1, 1); }},
        {"ISHELLS.FME", 16, 12, false,
         [](Canvas& c, int) {
             c.Bevel(0, 6, 16, 6, Ramp::Olive, 5);
             Cluster(c, 3, Shell);
         }},
        {"IENERGY.FME", 10, 8, false, [](Canvas& c, int) { CellPack(c, Ramp::Gold); }},
        {"IPLAZMA.FME", 10, 10, false, [](Canvas& c, int) { CellPack(c, Ramp::Olive); }},
        {"IPOWER.FME", 10, 10, false, [](Canvas& c, int) { CellPack(c, Ramp::Blue); }},
        {"IBATTERY.FME", 8, 12, true,
         [](Canvas& c, int) {
             Cylinder(c, 0, 2, 8, 10, Ramp::Gold, 9);
             c.FillRect(3, 0, 2, 2, Shade(Ramp::Grey, 8));
         }},
        {"IMASK.FME", 14, 12, true,
         [](Canvas& c, int) {
             c.Ellipse(7, 6, 6, 5, Shade(Ramp::Grey, 6));
             c.Disc(4, 5, 2, Shade(Ramp::Grey, 0));
             c.Disc(10, 5, 2, Shade(Ramp::Grey, 0));
             c.Bevel(5, 8, 4, 4, Ramp::Grey, 3);
         }},
        {"IGOGGLES.FME", 16, 8, true,
         [](Canvas& c, int) {
             c.FillRect(0, 3, 16, 2, Shade(Ramp::Grey, 3));
             Glow(c, 4, 4, 3, Ramp::Olive, 14);
             Glow(c, 11, 4, 3, Ramp::Olive, 14);
         }},
        {"ICLEATS.FME", 16, 8, true,
         [](Canvas& c, int) {
             c.Bevel(0, 0, 16, 5, Ramp::Steel, 8);
             for (int x = 1; x < 16; x += 3)
                 c.FillRect(x, 5, 1, 3, Shade(Ramp::White, 13));
         }},
        {"IMEDKIT.FME", 14, 10, true,
         [](Canvas& c, int) {
             c.Bevel(0, 0, 14, 10, Ramp::White, 12);
             c.FillRect(6, 2, 2, 6, Shade(Ramp::Red, 10));
             c.FillRect(4, 4, 6, 2, Shade(Ramp::Red, 10));
         }},
        {"ICHARGE.FME", 14, 14, true, [](Canvas& c, int) { Glow(c, 7, 7, 6, Ramp::Gold, 15); }},
        {"ASHTRAY.FME", 10, 5, true,
         [](Canvas& c, int) {
             c.Ellipse(5, 2, 4, 2, Shade(Ramp::Grey, 8));
             c.Ellipse(5, 2, 2, 1, Shade(Ramp::Grey, 3));
         }},
        {"BEERPIP.FME", 8, 16, true,
         [](Canvas& c, int) {
             Cylinder(c, 1, 5, 6, 11, Ramp::Brown, 7);
             c.FillRect(3, 0, 2, 5, Shade(Ramp::Brown, 5));
             c.FillRect(1, 8, 6, 3, Shade(Ramp::Sand, 12));
         }},
        {"CHAIN.FME", 5, 48, false,
         [](Canvas& c, int) {
             for (int y = 0; y < 48; y += 4)
                 c.FrameRect((y / 4) % 2, y, 4, 5, Shade(Ramp::Grey, 8 - (y / 4) % 2 * 2));
         }},
        {"DEDBODY1.FME", 0, 0, true, nullptr},
        {"DEDBODY2.FME", 0, 0, true, nullptr},
        {"DEDBODY3.FME", 0, 0, true, nullptr},
        {"GFVENTDN.FME", 24, 32, true,
         [](Canvas& c, int) {
             Cylinder(c, 0, 0, 24, 32, Ramp::Steel, 6);
             c.Ellipse(12, 30, 10, 2, Shade(Ramp::Grey, 0));
         }},
        {"GFVENTUP.FME", 24, 32, true,
         [](Canvas& c, int) {
             Cylinder(c, 0, 2, 24, 30, Ramp::Steel, 6);
             c.Ellipse(12, 2, 11, 2, Shade(Ramp::Grey, 0));
         }},
        {"BULLET.FME", 8, 3, true,
         [](Canvas& c, int) {
             c.FillRect(0, 1, 8, 1, Shade(Ramp::Red, 13));
             c.FillRect(2, 0, 4, 3, Shade(Ramp::Red, 9));
             c.FillRect(3, 1, 3, 1, Shade(Ramp::Glow, 15));
         }},
    };
    return items;
}

IndexedImage ItemPicture(const ItemSprite& item) {
    if (item.m_pDraw == nullptr) {
        // The dead bodies are the first three troops as they lie after falling: a stormtrooper,
        // an officer and a commando.
        const auto enemies = Enemies();
        const std::size_t which = static_cast<std::size_t>(item.m_strName[7] - '1');
        return DrawDead(enemies.at(which).m_Look);
    }
    IndexedImage picture = BlankPicture(item.m_nWidth, item.m_nHeight);
    Canvas canvas(picture);
    item.m_pDraw(canvas, 0);
    return picture;
}

void Add(GobArchive& gob, std::string_view name, const std::vector<std::uint8_t>& bytes) {
    if (Status added = gob.AddMember(name, bytes); !added) throw std::logic_error(added.message());
}

} // namespace

GobArchive BuildSpritesGob() {
    GobArchive gob;
    for (const EnemySprite& enemy : Enemies())
        Add(gob, enemy.m_strName, BuildEnemy(enemy.m_Look));
    for (const PropSprite& prop : Props())
        Add(gob, prop.m_strName, BuildProp(prop));
    for (const ItemSprite& item : Items()) {
        const IndexedImage picture = ItemPicture(item);
        Add(gob, item.m_strName,
            EncodeFme(picture, -picture.width() / 2, -picture.height(), false, item.m_bCompressed));
    }
    return gob;
}

} // namespace morvi::demo
