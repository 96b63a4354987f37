#include "DemoSpriteArt.h"

#include <algorithm>
#include <array>

namespace morvi::demo {

namespace {

constexpr std::array<int, 5> kSideness{0, 1, 2, 1, 0};

// What of a figure faces the viewer in a view: the face shows from the front and the diagonal
// front, the pack from behind; dir is the way the figure turns (left, mirrored for the right).
struct Facing {
    bool m_bFront;
    bool m_bBack;
    int m_nSide; // 0 square on, 1 diagonal, 2 profile
    int m_nDir;  // -1 when turned to the left
};

Facing FacingOf(int view) {
    const int v = std::clamp(view, 0, 4);
    return {v <= 1, v >= 3, kSideness[static_cast<std::size_t>(v)], v == 0 || v == 4 ? 0 : -1};
}

void ThickLine(Canvas& c, int x0, int y0, int x1, int y1, int thickness, std::uint8_t index) {
    for (int d = -(thickness / 2); d < thickness - thickness / 2; ++d)
        c.Line(x0 + d, y0, x1 + d, y1, index);
}

// --- Humanoids -----------------------------------------------------------------------------

struct Frame {
    int m_nCx, m_nHeadTop, m_nHeadSize, m_nShoulderY, m_nHipY, m_nTorso, m_nH;
};

Frame HumanFrame(const Canvas& c, const EnemyLook& look, const Facing& f) {
    Frame fr{};
    fr.m_nH = c.height();
    fr.m_nCx = c.width() / 2;
    fr.m_nHeadSize = std::max(6, c.height() / 6);
    fr.m_nHeadTop = 1;
    fr.m_nShoulderY = fr.m_nHeadTop + fr.m_nHeadSize;
    fr.m_nHipY = c.height() * 11 / 20;
    const int half = look.m_nWidth * 27 / 100;
    fr.m_nTorso = f.m_nSide == 0 ? half : f.m_nSide == 1 ? half * 3 / 4 : half / 2 + 1;
    return fr;
}

void DrawLegs(Canvas& c, const EnemyLook& look, const EnemyPose& pose, const Facing& f, const Frame& fr) {
    const int lw = std::max(3, fr.m_nTorso * 2 / 3);
    const int a = fr.m_nH / 9;
    const std::uint8_t boot = Shade(Ramp::Grey, 2);
    if (f.m_nSide == 2) {
        const int s = pose.m_nStride * a;
        const std::uint8_t far = Shade(look.m_Limbs, look.m_nLimbs - 3);
        const std::uint8_t near = Shade(look.m_Limbs, look.m_nLimbs);
        ThickLine(c, fr.m_nCx, fr.m_nHipY, fr.m_nCx + s, fr.m_nH - 3, lw, far);
        ThickLine(c, fr.m_nCx, fr.m_nHipY, fr.m_nCx - s, fr.m_nH - 3, lw, near);
        c.FillRect(fr.m_nCx + s - lw / 2 - 1, fr.m_nH - 3, lw + 1, 3, boot);
        c.FillRect(fr.m_nCx - s - lw / 2 - 1, fr.m_nH - 3, lw + 1, 3, boot);
        return;
    }
    const int gap = f.m_nSide == 0 ? 1 : 0;
    for (int leg = 0; leg < 2; ++leg) {
        const int side = leg == 0 ? -1 : 1;
        // The leg stepping forward lifts its foot; from the diagonal it also moves sideways.
        const int lift = pose.m_nStride == side ? 2 : 0;
        const int shift = f.m_nSide == 1 ? pose.m_nStride * side * a / 2 : 0;
        const int x = side < 0 ? fr.m_nCx - gap - lw + shift : fr.m_nCx + gap + shift;
        const int shade = look.m_nLimbs - (lift > 0 ? 2 : 0);
        c.Bevel(x, fr.m_nHipY, lw, fr.m_nH - fr.m_nHipY - lift, look.m_Limbs, shade);
        c.FillRect(x, fr.m_nH - 3 - lift, lw, 3, boot);
    }
}

void DrawTorso(Canvas& c, const EnemyLook& look, const Facing& f, const Frame& fr) {
    const int x = fr.m_nCx - fr.m_nTorso + (f.m_nSide == 1 ? f.m_nDir : 0);
    const int h = fr.m_nHipY - fr.m_nShoulderY + 2;
    c.Bevel(x, fr.m_nShoulderY, 2 * fr.m_nTorso, h, look.m_Armour, look.m_nArmour);
    c.FillRect(x, fr.m_nHipY - 2, 2 * fr.m_nTorso, 2, Shade(Ramp::Grey, 3));
    if (f.m_bFront) {
        // Chest plate and belt buckle.
        const int px = fr.m_nCx - fr.m_nTorso / 2 + f.m_nDir * fr.m_nTorso / 3;
        c.FrameRect(px, fr.m_nShoulderY + 3, fr.m_nTorso, h / 3, Shade(look.m_Armour, look.m_nArmour - 4));
        c.FillRect(px + fr.m_nTorso / 2 - 1, fr.m_nHipY - 2, 3, 2, Shade(Ramp::Gold, 9));
    }
    if (look.m_bBackpack || f.m_bBack) {
        const bool pack = f.m_bBack || f.m_nSide == 2;
        if (!pack) return;
        const int pw = f.m_nSide == 2 ? 4 : fr.m_nTorso;
        const int px = f.m_nSide == 2 ? x + 2 * fr.m_nTorso - 1 : fr.m_nCx - pw / 2 - f.m_nDir * 2;
        const Ramp ramp = look.m_bBackpack ? Ramp::Grey : look.m_Armour;
        c.Bevel(px, fr.m_nShoulderY + 2, pw, h / 2, ramp, look.m_bBackpack ? 6 : look.m_nArmour - 3);
        if (look.m_bBackpack && f.m_nSide != 2)
            c.FillRect(px + 1, fr.m_nShoulderY + 3, 2, 2, Shade(Ramp::Red, 9));
    }
}

void DrawGun(Canvas& c, int x, int y, int w, int h, bool flash, int tipX, int tipY) {
    c.FillRect(x, y, w, h, Shade(Ramp::Grey, 2));
    c.FillRect(x, y, w, 1, Shade(Ramp::Grey, 5));
    if (!flash) return;
    c.Disc(tipX, tipY, 3, Shade(Ramp::Red, 12));
    c.Disc(tipX, tipY, 1, Shade(Ramp::Glow, 15));
}

void DrawArms(Canvas& c, const EnemyLook& look, const EnemyPose& pose, const Facing& f, const Frame& fr) {
    const int aw = std::max(2, look.m_nWidth / 10);
    const std::uint8_t arm = Shade(look.m_Limbs, look.m_nLimbs - 1);
    const int armY = fr.m_nShoulderY + 1;
    if (!pose.m_bAttack) {
        if (f.m_nSide == 2) {
            const int swing = -pose.m_nStride * fr.m_nH / 12;
            ThickLine(c, fr.m_nCx, armY, fr.m_nCx + swing, fr.m_nHipY + 2, aw, arm);
            c.FillRect(fr.m_nCx + swing - 3, fr.m_nHipY - 1, 6, 2, Shade(Ramp::Grey, 2)); // rifle at the hip
            return;
        }
        // A gap keeps the arms apart from the body; from the diagonal the far arm is in shadow.
        const int len = fr.m_nHipY - fr.m_nShoulderY + 1;
        const int left = fr.m_nCx - fr.m_nTorso - aw - 1 + (f.m_nSide == 1 ? f.m_nDir : 0);
        const int right = fr.m_nCx + fr.m_nTorso + 1 + (f.m_nSide == 1 ? f.m_nDir : 0);
        const std::uint8_t farArm = f.m_nSide == 1 ? Shade(look.m_Limbs, look.m_nLimbs - 5) : arm;
        c.Bevel(left, armY, aw, len, look.m_Limbs, look.m_nLimbs - 2);
        c.FillRect(right, armY + 1, aw, len - 1, farArm);
        c.FillRect(right - 1, fr.m_nHipY - 3, aw + 3, 3, Shade(Ramp::Grey, 2));
        return;
    }
    if (f.m_nSide == 2) {
        ThickLine(c, fr.m_nCx, armY + 1, 4, armY + 3, aw, arm);
        DrawGun(c, 1, armY + 1, 9, 3, pose.m_bFlash, 1, armY + 2);
        return;
    }
    if (f.m_bFront) {
        // Aiming at the viewer: both hands before the chest, the barrel end-on.
        const int gx = fr.m_nCx - 3 + f.m_nDir * fr.m_nTorso / 2;
        ThickLine(c, fr.m_nCx - fr.m_nTorso, armY, gx, armY + 6, aw, arm);
        ThickLine(c, fr.m_nCx + fr.m_nTorso, armY, gx + 5, armY + 6, aw, arm);
        DrawGun(c, gx, armY + 4, 6, 4, pose.m_bFlash, gx + 3, armY + 5);
        c.FillRect(gx + 2, armY + 5, 2, 2, Shade(Ramp::Grey, 0));
        return;
    }
    // From behind only the raised elbows show.
    c.FillRect(fr.m_nCx - fr.m_nTorso - aw, armY, aw, 6, arm);
    c.FillRect(fr.m_nCx + fr.m_nTorso, armY, aw, 6, arm);
}

void DrawVisor(Canvas& c, int hx, int top, int size, const Facing& f, std::uint8_t visor) {
    const int w = f.m_nSide == 0 ? size * 3 / 4 : f.m_nSide == 1 ? size / 2 : size / 3;
    const int x = f.m_nSide == 2 ? hx - size / 2 : hx - w / 2 + f.m_nDir * size / 5;
    c.FillRect(x, top + size / 3, w, 2, visor);                    // eyes
    c.FillRect(x + w / 2 - 1, top + size / 3, 2, size / 2, visor); // breathing slot
}

void DrawHead(Canvas& c, const EnemyLook& look, const Facing& f, const Frame& fr) {
    const int s = fr.m_nHeadSize;
    const int hx = fr.m_nCx + f.m_nDir * (f.m_nSide == 1 ? 2 : 1) * (f.m_nSide > 0 ? 1 : 0);
    const int cy = fr.m_nHeadTop + s / 2;
    const int rx = s / 2 + 1 + (look.m_Head == Head::Pig ? 2 : 0) - (f.m_nSide == 2 ? 1 : 0);
    const std::uint8_t dark = Shade(Ramp::Grey, 0);
    c.Ellipse(hx, cy, rx, s / 2 + 1, Shade(look.m_Skin, look.m_nSkin - 2));
    c.Ellipse(hx, cy, rx - 1, s / 2, Shade(look.m_Skin, look.m_nSkin));
    c.Ellipse(hx - rx / 3, cy - s / 5, std::max(1, rx / 3), std::max(1, s / 6),
              Shade(look.m_Skin, look.m_nSkin + 3));
    const int fx = f.m_nSide == 2 ? hx - rx + 1 : hx + f.m_nDir * s / 5; // where the face is
    switch (look.m_Head) {
    case Head::Helmet:
    case Head::Commando:
    case Head::Fett:
        if (f.m_bFront || f.m_nSide == 2) DrawVisor(c, hx, fr.m_nHeadTop, s, f, dark);
        if (f.m_bBack)
            c.Line(hx, fr.m_nHeadTop + 1, hx, fr.m_nHeadTop + s - 2, Shade(look.m_Skin, look.m_nSkin - 4));
        if (look.m_Head == Head::Fett)
            c.Line(hx + rx, cy - 3, hx + rx, cy - s, Shade(Ramp::Grey, 4)); // antenna
        break;
    case Head::DarkTrooper:
        if (f.m_bFront || f.m_nSide == 2) {
            DrawVisor(c, hx, fr.m_nHeadTop, s, f, Shade(Ramp::Grey, 7));
            c.Plot(fx - 1, cy - 1, Shade(Ramp::Red, 12));
        }
        break;
    case Head::Cap:
        if (f.m_bFront || f.m_nSide == 2) {
            c.Plot(fx - 1, cy, dark);
            c.Plot(fx + 2 * (f.m_nSide == 2 ? 0 : 1), cy, dark);
            c.FillRect(fx - 1, cy + 3, 3, 1, Shade(Ramp::Skin, 5));
        } else {
            c.Ellipse(hx, cy + 1, rx, s / 3, Shade(Ramp::Brown, 3)); // hair under the cap
        }
        c.FillRect(hx - rx - 1, fr.m_nHeadTop - 1, 2 * rx + 3, s / 3 + 1,
                   Shade(look.m_Armour, look.m_nArmour - 1));
        if (!f.m_bBack)
            c.FillRect(f.m_nSide == 2 ? hx - rx - 3 : hx - rx, fr.m_nHeadTop + s / 3,
                       f.m_nSide == 2 ? 4 : 2 * rx + 1, 1, dark);
        break;
    case Head::Reptile:
    case Head::Pig:
        if (f.m_bFront || f.m_nSide == 2) {
            c.Plot(fx - 2, cy - 1, Shade(Ramp::Gold, 13));
            if (f.m_nSide != 2) c.Plot(fx + 2, cy - 1, Shade(Ramp::Gold, 13));
            const Ramp snout = look.m_Head == Head::Pig ? Ramp::Skin : look.m_Skin;
            c.Ellipse(f.m_nSide == 2 ? fx - 2 : fx, cy + 2, 2, 2, Shade(snout, look.m_nSkin - 2));
            if (look.m_Head == Head::Pig) {
                c.Plot(fx - 3, cy + 4, Shade(Ramp::White, 14));
                c.Plot(fx + 3, cy + 4, Shade(Ramp::White, 14));
            }
        }
        break;
    case Head::Alien:
        if (f.m_bFront)
            for (int e = -1; e <= 1; ++e)
                c.Plot(fx + 2 * e, cy - 1 - (e == 0 ? 2 : 0), dark);
        c.Line(hx - 2, fr.m_nHeadTop, hx - 3, 0, Shade(look.m_Skin, look.m_nSkin - 2));
        c.Line(hx + 2, fr.m_nHeadTop, hx + 3, 0, Shade(look.m_Skin, look.m_nSkin - 2));
        break;
    case Head::Bare:
        c.Ellipse(hx, fr.m_nHeadTop + 1, rx, 2, Shade(Ramp::Brown, 4));
        if (f.m_bFront) {
            c.Plot(fx - 1, cy, dark);
            c.Plot(fx + 2, cy, dark);
        }
        break;
    }
}

void DrawHumanoid(Canvas& c, const EnemyLook& look, const EnemyPose& pose) {
    const Facing f = FacingOf(pose.m_nView);
    const Frame fr = HumanFrame(c, look, f);
    DrawLegs(c, look, pose, f, fr);
    if (f.m_bBack && pose.m_bAttack) DrawArms(c, look, pose, f, fr);
    DrawTorso(c, look, f, fr);
    if (!(f.m_bBack && pose.m_bAttack)) DrawArms(c, look, pose, f, fr);
    DrawHead(c, look, f, fr);
}

// --- Creatures and droids ------------------------------------------------------------------

void DrawQuadruped(Canvas& c, const EnemyLook& look, const EnemyPose& pose) {
    const Facing f = FacingOf(pose.m_nView);
    const int w = c.width(), h = c.height(), cx = w / 2, cy = h * 9 / 20;
    const int rx = std::array{w / 5, w / 3, w * 2 / 5, w / 3,
                              w / 5}[static_cast<std::size_t>(std::clamp(pose.m_nView, 0, 4))];
    const int ry = h / 4;
    const std::uint8_t skin = Shade(look.m_Skin, look.m_nSkin);
    const auto head = [&] {
        const int hx = f.m_nSide == 2 ? cx - rx - 2 : cx + f.m_nDir * rx / 2;
        c.Ellipse(hx, cy + 2, 7, 6, Shade(look.m_Skin, look.m_nSkin + 1));
        c.Plot(hx - 3, cy, Shade(Ramp::Gold, 14));
        if (f.m_nSide != 2) c.Plot(hx + 3, cy, Shade(Ramp::Gold, 14));
        if (pose.m_bAttack) {
            c.Ellipse(hx - (f.m_nSide == 2 ? 4 : 0), cy + 6, 4, 3, Shade(Ramp::Red, 5));
            for (int t = -3; t <= 3; t += 2)
                c.Plot(hx - (f.m_nSide == 2 ? 4 : 0) + t, cy + 4, Shade(Ramp::White, 14));
        }
    };
    if (f.m_bBack) head();
    // Legs: the pairs swap as it walks; the far pair is darker.
    for (int leg = 0; leg < 4; ++leg) {
        const int pair = leg / 2, near = leg % 2;
        const int base = cx + (pair == 0 ? -rx * 3 / 5 : rx * 3 / 5);
        const int step = (pair == near ? 1 : -1) * pose.m_nStride * (f.m_nSide == 2 ? 4 : 1);
        const std::uint8_t shade = Shade(look.m_Skin, look.m_nSkin - (near ? 1 : 4));
        const int x = f.m_nSide == 2 ? base + step : base + (near ? -2 : 2);
        ThickLine(c, x, cy, x + (f.m_nSide == 2 ? step : 0), h - 2, 4, shade);
        c.FillRect(x - 2, h - 2 - (f.m_nSide == 2 ? 0 : std::max(0, step)), 5, 2, Shade(look.m_Skin, 2));
    }
    c.Ellipse(cx, cy, rx, ry, skin);
    c.Ellipse(cx, cy + ry / 2, rx - 2, ry / 2, Shade(Ramp::Sand, 7)); // belly
    for (int s = -rx + 3; s < rx - 2; s += 4)
        c.Line(cx + s, cy - ry, cx + s + 1, cy - ry - 3, Shade(look.m_Skin, 3)); // spines
    if (!f.m_bFront || f.m_nSide == 2)                                           // tail
        ThickLine(c, cx + (f.m_nSide == 2 ? rx - 2 : 0), cy, std::min(w - 2, cx + rx + 6), cy - ry, 3,
                  Shade(look.m_Skin, look.m_nSkin - 2));
    if (!f.m_bBack) head();
}

void DrawBug(Canvas& c, const EnemyLook& look, const EnemyPose& pose) {
    const Facing f = FacingOf(pose.m_nView);
    const int w = c.width(), h = c.height(), cx = w / 2;
    for (int t = 0; t < 4; ++t) {
        const int x = cx - 9 + t * 6;
        const int sway = ((t + pose.m_nStride + 2) % 3) - 1;
        ThickLine(c, x, h / 2, x + sway * 4, 2 + (t % 2) * 3, 2,
                  Shade(look.m_Skin, look.m_nSkin - 2 + t % 2));
    }
    c.Ellipse(cx, h * 2 / 3, w / 2 - 3, h / 4, Shade(look.m_Skin, look.m_nSkin));
    c.Ellipse(cx - 4, h * 2 / 3 - 3, 4, 2, Shade(look.m_Skin, look.m_nSkin + 3));
    if (f.m_bFront) {
        c.Disc(cx - 5 + f.m_nDir * 3, h / 2 + 2, 2, Shade(Ramp::Gold, 13));
        c.Disc(cx + 5 + f.m_nDir * 3, h / 2 + 2, 2, Shade(Ramp::Gold, 13));
        if (pose.m_bAttack)
            c.Ellipse(cx + f.m_nDir * 3, h * 2 / 3 + 3, 6, 3, Shade(Ramp::Red, pose.m_bFlash ? 10 : 4));
    }
    c.FillRect(2, h - 3, w - 4, 3, Shade(Ramp::Blue, 5)); // sewer water
    c.FillRect(4 + pose.m_nStride * 2 + 2, h - 3, 6, 1, Shade(Ramp::Blue, 10));
}

void DrawProbe(Canvas& c, const EnemyLook& look, const EnemyPose& pose) {
    const Facing f = FacingOf(pose.m_nView);
    const int w = c.width(), h = c.height(), cx = w / 2, r = w / 3,
              cy = r + 6 + (pose.m_nStride != 0 ? 1 : 0);
    for (int leg = -2; leg <= 2; ++leg) // the dangling arms sway as it hovers
        ThickLine(c, cx + leg * r / 3, cy + r - 2, cx + leg * r / 2 + pose.m_nStride * 2,
                  h - 1 - std::abs(leg) * 4, 2, Shade(Ramp::Grey, 3 + (leg + 2) % 2));
    c.Line(cx - 2, cy - r, cx - 4, 0, Shade(Ramp::Grey, 6));
    c.Line(cx + 3, cy - r, cx + 6, 2, Shade(Ramp::Grey, 6));
    c.Disc(cx, cy, r, Shade(look.m_Skin, look.m_nSkin));
    c.Disc(cx - r / 3, cy - r / 3, r / 3, Shade(look.m_Skin, look.m_nSkin + 3));
    c.FillRect(cx - r, cy + 1, 2 * r + 1, 2, Shade(Ramp::Grey, 1));
    if (f.m_bFront || f.m_nSide == 2) {
        const int ex = f.m_nSide == 2 ? cx - r + 2 : cx + f.m_nDir * r / 3;
        c.Disc(ex, cy - 1, 2, Shade(Ramp::Red, pose.m_bFlash ? 15 : 11));
        if (pose.m_bFlash) c.Disc(ex, cy + 4, 3, Shade(Ramp::Glow, 14));
    } else {
        c.Bevel(cx - 3, cy - 4, 7, 5, Ramp::Grey, 5);
    }
}

void DrawSphereDroid(Canvas& c, const EnemyLook& look, const EnemyPose& pose, bool needle) {
    const Facing f = FacingOf(pose.m_nView);
    const int w = c.width(), h = c.height(), cx = w / 2;
    const int r = needle ? w * 3 / 8 : w / 2 - 1;
    const int cy = r + 1 + (pose.m_nStride < 0 ? 1 : 0);
    if (needle) {
        ThickLine(c, cx + 3, cy + r - 2, cx + 5 + pose.m_nStride, h - 2, 2, Shade(Ramp::Steel, 12));
        c.Line(cx - 4, cy + r - 3, cx - 7, h - 8, Shade(Ramp::Steel, 9));
        c.Plot(cx + 5 + pose.m_nStride, h - 1, Shade(Ramp::White, 15));
    }
    c.Disc(cx, cy, r, Shade(look.m_Skin, look.m_nSkin));
    c.Disc(cx - r / 3, cy - r / 3, std::max(1, r / 3), Shade(look.m_Skin, look.m_nSkin + 4));
    c.FillRect(cx - r, cy, 2 * r + 1, 1, Shade(Ramp::Grey, 2));
    if (f.m_bFront || f.m_nSide == 2) {
        const int ex = f.m_nSide == 2 ? cx - r + 2 : cx + f.m_nDir * r / 3;
        c.Disc(ex, cy + 2, std::max(1, r / 4),
               Shade(needle ? Ramp::Red : Ramp::Glow, pose.m_bFlash ? 15 : 11));
    }
    for (int d = -1; d <= 1; d += 2) // the little lights round the middle
        c.Plot(cx + d * r / 2 + f.m_nDir, cy - 2, Shade(Ramp::Gold, 12));
}

// Integer cosine and sine (times 256) of the angles a falling figure passes through.
constexpr std::array<std::array<int, 2>, 4> kFall{{{247, 66}, {196, 165}, {88, 241}, {0, 256}}};

IndexedImage Rotated(const IndexedImage& standing, int step) {
    const int w = standing.width(), h = standing.height();
    const int lift = (w / 2) * kFall[static_cast<std::size_t>(step)][1] / 256;
    // Lying down the figure is as tall as it was wide.
    IndexedImage out = BlankPicture(w / 2 + h + 2, std::max(w, h));
    Canvas to(out);
    const auto from = [&standing, w, h](int x, int y) -> std::uint8_t {
        return x < 0 || y < 0 || x >= w || y >= h ? 0 : standing.pixel(x, h - 1 - y);
    };
    const int cos = kFall[static_cast<std::size_t>(step)][0], sin = kFall[static_cast<std::size_t>(step)][1];
    const int px = w / 2, py = h - 1, floor = out.height() - 1;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const int dx = x - px, dy = y - floor + lift;
            const int sx = px + (cos * dx + sin * dy) / 256;
            const int sy = py + (-sin * dx + cos * dy) / 256;
            if (const std::uint8_t p = from(sx, sy); p != 0) to.Plot(x, y, p);
        }
    return out;
}

} // namespace

IndexedImage DrawEnemy(const EnemyLook& look, const EnemyPose& pose) {
    IndexedImage picture = BlankPicture(look.m_nWidth, look.m_nHeight);
    Canvas c(picture);
    switch (look.m_Body) {
    case Body::Humanoid:
        DrawHumanoid(c, look, pose);
        break;
    case Body::Quadruped:
        DrawQuadruped(c, look, pose);
        break;
    case Body::Bug:
        DrawBug(c, look, pose);
        break;
    case Body::ProbeDroid:
        DrawProbe(c, look, pose);
        break;
    case Body::Remote:
        DrawSphereDroid(c, look, pose, false);
        break;
    case Body::IntDroid:
        DrawSphereDroid(c, look, pose, true);
        break;
    }
    return picture;
}

IndexedImage DrawFalling(const EnemyLook& look, int step) {
    const IndexedImage standing = DrawEnemy(look, EnemyPose{});
    IndexedImage picture = Rotated(standing, std::clamp(step, 0, 3));
    Canvas c(picture);
    if (step == 0) // the hit, on the chest
        c.Disc(look.m_nWidth / 2 + look.m_nHeight / 8, c.height() - look.m_nHeight * 2 / 3, 2,
               Shade(Ramp::Red, 13));
    return picture;
}

IndexedImage DrawDead(const EnemyLook& look) {
    IndexedImage body = Rotated(DrawEnemy(look, EnemyPose{}), 3);
    IndexedImage picture = BlankPicture(body.width(), body.height());
    Canvas c(picture);
    const int h = c.height(), w = c.width();
    const Ramp pool = look.m_bOrganic ? Ramp::Red : Ramp::Grey;
    c.Ellipse(w / 2, h - 3, w / 2 - 2, 3, Shade(pool, look.m_bOrganic ? 3 : 1));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (const std::uint8_t p = body.pixel(x, h - 1 - y); p != 0) c.Plot(x, y, p);
    if (!look.m_bOrganic)
        for (int s = 0; s < 3; ++s)
            c.FillRect(4 + s * w / 3, h - 4 - s % 2, 3, 2, Shade(Ramp::Steel, 9)); // scraps
    return picture;
}

} // namespace morvi::demo
