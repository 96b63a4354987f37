#include "DemoDark.h"

#include "DemoPalette.h"
#include "model/ModelOps.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace morvi::demo {

namespace {

constexpr std::array<std::string_view, 14> kLevels{{"SECBASE", "TALAY", "SEWERS", "TESTBASE", "GROMAS",
                                                    "DTENTION", "RAMSHED", "ROBOTICS", "NARSHADA", "JABSHIP",
                                                    "IMPCITY", "FUELSTAT", "EXECUTOR", "ARC"}};

// The one texture the models name; the demo textures.gob carries it.
constexpr std::string_view kMetal = "IWMETAL1.BM";

// How the game fills a polygon.
constexpr const char* kFlat = "FLAT";
constexpr const char* kGouraud = "GOURAUD";
constexpr const char* kTexture = "TEXTURE";
constexpr const char* kGourTex = "GOURTEX";
constexpr const char* kVertex = "VERTEX";

// Coordinates are kept to the thousandths the 3DO text holds, so that a model reads back equal.
// Adding 0 turns -0 into 0, which would be written as "-0.000".
double Milli(double v) {
    return std::round(v * 1000.0) / 1000.0 + 0.0;
}

// A point with its height above the model's foot. The game's y axis points down, as the level's
// altitudes do, so heights are stored negated.
struct Point {
    double x = 0.0;
    double up = 0.0;
    double z = 0.0;
};

// Colour and fill of a set of polygons; lit shifts the shade per face.
struct Paint {
    Ramp ramp;
    int shade;
    const char* fill;

    std::uint8_t colour(int lit = 0) const { return Shade(ramp, shade + lit); }
};

enum class Axis { Up, X, Z };

// One object of a model under construction. A textured object maps every polygon onto the
// whole texture, which is what the game's own simple props do.
class Part {
public:
    Part(Model3D& model, std::string name, bool textured) : m_Model(model), m_nIndex(model.m_Objects.size()) {
        ModelObject object;
        object.m_strName = std::move(name);
        object.m_nTextureIndex = textured ? 0 : -1;
        if (textured) object.m_TextureVertices = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}, {0.5, 1.0}};
        model.m_Objects.push_back(std::move(object));
    }

    int Vertex(Point p) {
        auto& vertices = object().m_Vertices;
        vertices.push_back({Milli(p.x), Milli(-p.up), Milli(p.z)});
        return static_cast<int>(vertices.size()) - 1;
    }
    void Quad(int a, int b, int c, int d, std::uint8_t colour, const char* fill) {
        object().m_Quads.push_back({a, b, c, d, colour, fill});
        if (textured()) object().m_TextureQuads.push_back({0, 1, 2, 3});
    }
    void Triangle(int a, int b, int c, std::uint8_t colour, const char* fill) {
        object().m_Triangles.push_back({a, b, c, colour, fill});
        if (textured()) object().m_TextureTriangles.push_back({0, 1, 4});
    }

private:
    ModelObject& object() { return m_Model.m_Objects[m_nIndex]; }
    bool textured() { return object().m_nTextureIndex >= 0; }

    Model3D& m_Model;
    std::size_t m_nIndex;
};

// A point at angle (radians) on a circle of radius r around an axis, t along the axis.
Point OnAxis(Axis axis, Point centre, double r, double angle, double t) {
    const double c = r * std::cos(angle);
    const double s = r * std::sin(angle);
    switch (axis) {
    case Axis::Up:
        return {centre.x + c, centre.up + t, centre.z + s};
    case Axis::X:
        return {centre.x + t, centre.up + c, centre.z + s};
    case Axis::Z:
        break;
    }
    return {centre.x + c, centre.up + s, centre.z + t};
}

// Light from above and in front: -2 .. +2 shades by the direction a side faces.
int Lit(double angle) {
    return static_cast<int>(std::lround(1.4 * (std::cos(angle) + std::sin(angle))));
}

double Step(int k, int sides) {
    return 2.0 * kPi * k / sides;
}

void Box(Part& part, Point lo, Point hi, Paint paint) {
    std::array<int, 8> v{};
    for (int i = 0; i < 8; ++i)
        v[static_cast<std::size_t>(i)] =
            part.Vertex({(i & 1) ? hi.x : lo.x, (i & 2) ? hi.up : lo.up, (i & 4) ? hi.z : lo.z});
    part.Quad(v[0], v[1], v[5], v[4], paint.colour(-3), paint.fill); // bottom
    part.Quad(v[2], v[6], v[7], v[3], paint.colour(2), paint.fill);  // top
    part.Quad(v[0], v[2], v[3], v[1], paint.colour(-1), paint.fill); // back
    part.Quad(v[4], v[5], v[7], v[6], paint.colour(1), paint.fill);  // front
    part.Quad(v[0], v[4], v[6], v[2], paint.colour(-2), paint.fill); // left
    part.Quad(v[1], v[3], v[7], v[5], paint.colour(0), paint.fill);  // right
}

// A fan of triangles closing a ring of vertices around a centre vertex.
void Cap(Part& part, const std::vector<int>& ring, int centre, Paint paint) {
    const std::size_t n = ring.size();
    for (std::size_t k = 0; k < n; ++k)
        part.Triangle(centre, ring[k], ring[(k + 1) % n], paint.colour(), paint.fill);
}

std::vector<int> Ring(Part& part, Axis axis, Point centre, double r, int sides, double t) {
    std::vector<int> ring;
    for (int k = 0; k < sides; ++k)
        ring.push_back(part.Vertex(OnAxis(axis, centre, r, Step(k, sides), t)));
    return ring;
}

// A prism of sides faces from centre along the axis; caps close both ends when given.
void Prism(Part& part, Axis axis, Point centre, double r, double length, int sides, Paint side,
           const Paint* caps) {
    const std::vector<int> near = Ring(part, axis, centre, r, sides, 0.0);
    const std::vector<int> far = Ring(part, axis, centre, r, sides, length);
    for (int k = 0; k < sides; ++k) {
        const auto a = static_cast<std::size_t>(k);
        const auto b = static_cast<std::size_t>((k + 1) % sides);
        part.Quad(near[a], near[b], far[b], far[a], side.colour(Lit(Step(k, sides) + kPi / sides)),
                  side.fill);
    }
    if (!caps) return;
    Cap(part, near, part.Vertex(OnAxis(axis, centre, 0.0, 0.0, 0.0)), *caps);
    Cap(part, far, part.Vertex(OnAxis(axis, centre, 0.0, 0.0, length)), *caps);
}

// A cone from a base ring at centre to an apex length along the axis (negative points back).
void Cone(Part& part, Axis axis, Point centre, double r, double length, int sides, Paint paint) {
    const std::vector<int> base = Ring(part, axis, centre, r, sides, 0.0);
    const int apex = part.Vertex(OnAxis(axis, centre, 0.0, 0.0, length));
    for (int k = 0; k < sides; ++k)
        part.Triangle(apex, base[static_cast<std::size_t>(k)],
                      base[static_cast<std::size_t>((k + 1) % sides)], paint.colour(Lit(Step(k, sides))),
                      paint.fill);
    Cap(part, base, part.Vertex(centre), {paint.ramp, paint.shade - 3, paint.fill});
}

// Latitude bands between the heights from and to (fractions of the radius, -1 bottom, 1 top):
// quads between rings, triangle fans at a pole.
void Globe(Part& part, Point centre, double r, int bands, int sides, double from, double to, Paint paint) {
    auto ringAt = [&](int band) {
        const double lat = std::asin(from) + (std::asin(to) - std::asin(from)) * band / bands;
        return Ring(part, Axis::Up, {centre.x, centre.up + r * std::sin(lat), centre.z}, r * std::cos(lat),
                    sides, 0.0);
    };
    const bool bottomPole = from <= -1.0;
    const bool topPole = to >= 1.0;
    std::vector<int> lower = ringAt(bottomPole ? 1 : 0);
    if (bottomPole)
        Cap(part, lower, part.Vertex({centre.x, centre.up - r, centre.z}),
            {paint.ramp, paint.shade - 3, paint.fill});
    const int last = topPole ? bands - 1 : bands;
    for (int band = bottomPole ? 2 : 1; band <= last; ++band) {
        const std::vector<int> upper = ringAt(band);
        for (int k = 0; k < sides; ++k) {
            const auto a = static_cast<std::size_t>(k);
            const auto b = static_cast<std::size_t>((k + 1) % sides);
            part.Quad(lower[a], lower[b], upper[b], upper[a],
                      paint.colour(Lit(Step(k, sides)) + band - bands / 2), paint.fill);
        }
        lower = upper;
    }
    if (topPole)
        Cap(part, lower, part.Vertex({centre.x, centre.up + r, centre.z}),
            {paint.ramp, paint.shade + 2, paint.fill});
}

// A ramp of triangular section along x: full height at the back (z0), nothing at the front (z1).
void Wedge(Part& part, Point lo, Point hi, Paint paint) {
    const int a = part.Vertex({lo.x, lo.up, lo.z}), b = part.Vertex({hi.x, lo.up, lo.z});
    const int c = part.Vertex({lo.x, hi.up, lo.z}), d = part.Vertex({hi.x, hi.up, lo.z});
    const int e = part.Vertex({lo.x, lo.up, hi.z}), f = part.Vertex({hi.x, lo.up, hi.z});
    part.Quad(a, b, f, e, paint.colour(-3), paint.fill);
    part.Quad(a, c, d, b, paint.colour(-1), paint.fill);
    part.Quad(c, e, f, d, paint.colour(2), paint.fill);
    part.Triangle(a, e, c, paint.colour(-2), paint.fill);
    part.Triangle(b, d, f, paint.colour(0), paint.fill);
}

Model3D NewModel(std::string_view memberName, bool textured) {
    Model3D model;
    model.m_strVersion = "1.30";
    model.m_strName = std::string(memberName.substr(0, memberName.find('.')));
    model.m_strPaletteName = "DARK.PAL";
    if (textured) model.m_Textures.push_back({0, std::string(kMetal)});
    return model;
}

Model3D LaserTurret() {
    Model3D model = NewModel("GUN.3DO", true);
    const Paint baseCap{Ramp::Steel, 5, kTexture};
    Part base(model, "base", true);
    Prism(base, Axis::Up, {}, 1.6, 0.8, 8, {Ramp::Steel, 6, kGourTex}, &baseCap);
    Part ring(model, "ring", false);
    Prism(ring, Axis::Up, {0, 0.8, 0}, 1.2, 0.3, 8, {Ramp::Grey, 5, kFlat}, nullptr);
    Part dome(model, "dome", false);
    Globe(dome, {0, 1.1, 0}, 1.2, 3, 8, 0.0, 1.0, {Ramp::Steel, 9, kGouraud});
    Part barrels(model, "barrels", false);
    const Paint muzzle{Ramp::Red, 10, kVertex};
    for (double x : {-0.35, 0.35}) {
        Prism(barrels, Axis::Z, {x, 1.5, 0.6}, 0.16, 2.0, 6, {Ramp::Grey, 3, kFlat}, nullptr);
        Prism(barrels, Axis::Z, {x, 1.5, 2.6}, 0.2, 0.25, 6, {Ramp::Grey, 5, kFlat}, &muzzle);
    }
    Part sensor(model, "sensor", false);
    Box(sensor, {-0.2, 1.9, 0.9}, {0.2, 2.1, 1.1}, {Ramp::Red, 12, kFlat});
    return model;
}

Model3D WeldingArm() {
    Model3D model = NewModel("WELDARM.3DO", true);
    const Paint joint{Ramp::Grey, 4, kFlat};
    Part shoulder(model, "shoulder", true);
    Prism(shoulder, Axis::Up, {}, 0.5, 0.6, 8, {Ramp::Rust, 7, kGourTex}, &joint);
    Part upper(model, "upperarm", true);
    Box(upper, {-0.25, 0.6, -0.25}, {0.25, 3.2, 0.25}, {Ramp::Gold, 9, kTexture});
    Part elbow(model, "elbow", false);
    Prism(elbow, Axis::X, {-0.35, 3.2, 0}, 0.4, 0.7, 8, {Ramp::Grey, 6, kFlat}, &joint);
    Part fore(model, "forearm", false);
    Box(fore, {-0.2, 3.0, 0.0}, {0.2, 3.4, 2.4}, {Ramp::Gold, 8, kFlat});
    Part torch(model, "torch", false);
    Cone(torch, Axis::Z, {0, 3.2, 2.4}, 0.25, 0.8, 8, {Ramp::Grey, 7, kGouraud});
    Part flame(model, "flame", false);
    Cone(flame, Axis::Z, {0, 3.2, 3.2}, 0.1, 0.4, 6, {Ramp::Glow, 14, kVertex});
    return model;
}

Model3D WeldingBase() {
    Model3D model = NewModel("WELDBASE.3DO", true);
    Part plate(model, "plate", true);
    Box(plate, {-1.5, 0, -1.5}, {1.5, 0.3, 1.5}, {Ramp::Grey, 6, kTexture});
    Part column(model, "column", false);
    const Paint top{Ramp::Grey, 3, kFlat};
    Prism(column, Axis::Up, {0, 0.3, 0}, 0.6, 1.5, 8, {Ramp::Rust, 6, kGouraud}, &top);
    Part band(model, "band", false);
    Prism(band, Axis::Up, {0, 1.0, 0}, 0.63, 0.25, 8, {Ramp::Gold, 11, kFlat}, nullptr);
    Part pivot(model, "pivot", false);
    Globe(pivot, {0, 1.8, 0}, 0.6, 2, 8, 0.0, 1.0, {Ramp::Grey, 8, kGouraud});
    return model;
}

Model3D MouseBot() {
    Model3D model = NewModel("MOUSEBOT.3DO", true);
    Part body(model, "body", true);
    Box(body, {-0.6, 0.2, -0.9}, {0.6, 0.8, 0.5}, {Ramp::Grey, 4, kGourTex});
    Part nose(model, "nose", false);
    Wedge(nose, {-0.6, 0.2, 0.5}, {0.6, 0.8, 0.9}, {Ramp::Grey, 5, kFlat});
    Part wheels(model, "wheels", false);
    const Paint hub{Ramp::Grey, 6, kFlat};
    for (double z : {-0.6, 0.6}) {
        Prism(wheels, Axis::X, {-0.72, 0.2, z}, 0.2, 0.12, 8, {Ramp::Grey, 1, kFlat}, &hub);
        Prism(wheels, Axis::X, {0.6, 0.2, z}, 0.2, 0.12, 8, {Ramp::Grey, 1, kFlat}, &hub);
    }
    Part eye(model, "eye", false);
    Box(eye, {-0.15, 0.65, 0.4}, {0.15, 0.8, 0.55}, {Ramp::Red, 13, kFlat});
    return model;
}

Model3D CargoCrate() {
    Model3D model = NewModel("CARGO.3DO", true);
    Part crate(model, "crate", true);
    Box(crate, {-1.5, 0, -1}, {1.5, 2.5, 1}, {Ramp::Brown, 8, kTexture});
    Part bands(model, "bands", false);
    for (double x : {-1.0, 0.8})
        Box(bands, {x, -0.02, -1.05}, {x + 0.2, 2.52, 1.05}, {Ramp::Rust, 5, kFlat});
    Part tarp(model, "tarp", false);
    Cone(tarp, Axis::Up, {0, 2.5, 0}, 1.7, 0.5, 4, {Ramp::Olive, 6, kGouraud});
    return model;
}

Model3D BattleStation() {
    Model3D model = NewModel("DEATH.3DO", true);
    Part hull(model, "hull", true);
    Globe(hull, {0, 3, 0}, 3, 6, 12, -1.0, 1.0, {Ramp::Grey, 7, kGourTex});
    Part trench(model, "trench", false);
    Prism(trench, Axis::Up, {0, 2.9, 0}, 3.05, 0.2, 12, {Ramp::Grey, 2, kFlat}, nullptr);
    Part dish(model, "dish", false);
    Cone(dish, Axis::Z, {1.0, 4.2, 2.6}, 0.8, -0.3, 8, {Ramp::Grey, 4, kGouraud});
    return model;
}

// A standing figure of boxes with an eight-sided head.
struct FigureColours {
    Paint legs, torso, arms, skin, hair;
};

void Figure(Model3D& model, const FigureColours& c) {
    Part legs(model, "legs", false);
    Box(legs, {-0.45, 0, -0.2}, {-0.05, 2.7, 0.2}, c.legs);
    Box(legs, {0.05, 0, -0.2}, {0.45, 2.7, 0.2}, c.legs);
    Part torso(model, "torso", false);
    Box(torso, {-0.55, 2.7, -0.3}, {0.55, 4.6, 0.3}, c.torso);
    Part belt(model, "belt", true);
    Box(belt, {-0.57, 2.6, -0.32}, {0.57, 2.85, 0.32}, {Ramp::Grey, 3, kTexture});
    Part arms(model, "arms", false);
    Box(arms, {-0.85, 2.6, -0.15}, {-0.6, 4.5, 0.15}, c.arms);
    Box(arms, {0.6, 2.6, -0.15}, {0.85, 4.5, 0.15}, c.arms);
    Part head(model, "head", false);
    Prism(head, Axis::Up, {0, 4.65, 0}, 0.3, 0.65, 8, c.skin, &c.hair);
}

Model3D Officer() {
    Model3D model = NewModel("HUMAN3.3DO", true);
    Figure(model, {{Ramp::Olive, 4, kFlat},
                   {Ramp::Olive, 6, kGouraud},
                   {Ramp::Olive, 5, kFlat},
                   {Ramp::Skin, 9, kGouraud},
                   {Ramp::Olive, 3, kFlat}});
    return model;
}

Model3D Kyle() {
    Model3D model = NewModel("KYL3DO.3DO", true);
    Figure(model, {{Ramp::Steel, 3, kFlat},
                   {Ramp::Brown, 5, kGouraud},
                   {Ramp::Grey, 9, kFlat},
                   {Ramp::Skin, 8, kGouraud},
                   {Ramp::Brown, 3, kFlat}});
    Part gun(model, "pistol", false);
    Box(gun, {0.65, 2.4, -0.1}, {0.8, 2.65, 0.5}, {Ramp::Grey, 2, kFlat});
    return model;
}

Model3D RamEngine() {
    Model3D model = NewModel("RAMENG.3DO", true);
    Part housing(model, "housing", true);
    const Paint ends{Ramp::Grey, 3, kTexture};
    Prism(housing, Axis::Z, {0, 2, -2}, 1.5, 4, 12, {Ramp::Rust, 6, kGourTex}, &ends);
    Part nozzle(model, "nozzle", false);
    Cone(nozzle, Axis::Z, {0, 2, -2}, 1.3, -1.2, 12, {Ramp::Grey, 5, kGouraud});
    Part exhaust(model, "exhaust", false);
    Cone(exhaust, Axis::Z, {0, 2, -3.3}, 0.9, -0.4, 8, {Ramp::Glow, 13, kVertex});
    Part fins(model, "fins", false);
    Box(fins, {-0.1, 3.4, -1.5}, {0.1, 4.2, 1.5}, {Ramp::Rust, 4, kFlat});
    Box(fins, {-0.1, -0.2, -1.5}, {0.1, 0.6, 1.5}, {Ramp::Rust, 4, kFlat});
    Box(fins, {-2.3, 1.9, -1.5}, {-1.4, 2.1, 1.5}, {Ramp::Rust, 4, kFlat});
    Box(fins, {1.4, 1.9, -1.5}, {2.3, 2.1, 1.5}, {Ramp::Rust, 4, kFlat});
    return model;
}

Model3D WallFan() {
    Model3D model = NewModel("TB_FAN.3DO", true);
    const Point centre{0, 2.4, 0};
    Part housing(model, "housing", true);
    Prism(housing, Axis::Z, {centre.x, centre.up, -0.3}, 2.2, 0.6, 16, {Ramp::Steel, 5, kGourTex}, nullptr);
    Part hub(model, "hub", false);
    const Paint hubCap{Ramp::Grey, 9, kGouraud};
    Prism(hub, Axis::Z, {centre.x, centre.up, -0.4}, 0.4, 0.8, 8, {Ramp::Grey, 7, kGouraud}, &hubCap);
    Part blades(model, "blades", false);
    for (int b = 0; b < 4; ++b) {
        const double a = Step(b, 4) + 0.3;
        const int root0 = blades.Vertex(OnAxis(Axis::Z, centre, 0.35, a - 0.35, -0.1));
        const int root1 = blades.Vertex(OnAxis(Axis::Z, centre, 0.35, a + 0.35, 0.1));
        const int tip1 = blades.Vertex(OnAxis(Axis::Z, centre, 1.8, a + 0.22, 0.1));
        const int tip0 = blades.Vertex(OnAxis(Axis::Z, centre, 1.8, a - 0.12, -0.1));
        const int point = blades.Vertex(OnAxis(Axis::Z, centre, 2.05, a + 0.05, 0.0));
        blades.Quad(root0, root1, tip1, tip0, Shade(Ramp::Grey, 9 - b), kFlat);
        blades.Triangle(tip0, tip1, point, Shade(Ramp::Grey, 10 - b), kFlat);
    }
    Part struts(model, "struts", false);
    Box(struts, {-2.2, 2.3, -0.35}, {2.2, 2.5, -0.25}, {Ramp::Steel, 3, kFlat});
    Box(struts, {-0.1, 0.2, -0.35}, {0.1, 4.6, -0.25}, {Ramp::Steel, 3, kFlat});
    return model;
}

Model3D TieFighter() {
    Model3D model = NewModel("TIELO-3.3DO", true);
    const double up = 2.6;
    Part cockpit(model, "cockpit", false);
    Globe(cockpit, {0, up, 0}, 1.0, 5, 10, -1.0, 1.0, {Ramp::Grey, 7, kGouraud});
    Part window(model, "window", false);
    const Paint glass{Ramp::Sky, 3, kFlat};
    Prism(window, Axis::Z, {0, up, 0.92}, 0.45, 0.12, 8, {Ramp::Grey, 2, kFlat}, &glass);
    Part struts(model, "struts", false);
    Prism(struts, Axis::X, {-2.2, up, 0}, 0.25, 4.4, 6, {Ramp::Grey, 6, kFlat}, nullptr);
    Part wings(model, "wings", true);
    const Paint panel{Ramp::Steel, 4, kTexture};
    Prism(wings, Axis::X, {-2.35, up, 0}, 2.4, 0.15, 6, {Ramp::Steel, 3, kFlat}, &panel);
    Prism(wings, Axis::X, {2.2, up, 0}, 2.4, 0.15, 6, {Ramp::Steel, 3, kFlat}, &panel);
    return model;
}

struct ModelEntry {
    std::string_view m_Name;
    Model3D (*m_pBuild)();
};

constexpr std::array<ModelEntry, 11> kModels{{
    {"GUN.3DO", LaserTurret},
    {"WELDARM.3DO", WeldingArm},
    {"WELDBASE.3DO", WeldingBase},
    {"MOUSEBOT.3DO", MouseBot},
    {"CARGO.3DO", CargoCrate},
    {"DEATH.3DO", BattleStation},
    {"HUMAN3.3DO", Officer},
    {"RAMENG.3DO", RamEngine},
    {"TB_FAN.3DO", WallFan},
    {"TIELO-3.3DO", TieFighter},
    {"KYL3DO.3DO", Kyle},
}};

constexpr std::array<std::string_view, kModels.size()> kModelNames = [] {
    std::array<std::string_view, kModels.size()> names{};
    for (std::size_t i = 0; i < kModels.size(); ++i)
        names[i] = kModels[i].m_Name;
    return names;
}();

// Our tables hold only valid names, so a refusal is a fault of this file.
void Add(GobArchive& gob, std::string_view name, std::span<const std::uint8_t> data) {
    const Status status = gob.AddMember(name, data);
    if (!status) throw std::logic_error(status.message());
}

} // namespace

std::span<const std::string_view> DemoLevelNames() {
    return kLevels;
}

std::span<const std::string_view> DemoModelNames() {
    return kModelNames;
}

Model3D BuildDemoModel(std::string_view memberName) {
    for (const ModelEntry& entry : kModels)
        if (entry.m_Name == memberName) return entry.m_pBuild();
    return {};
}

GobArchive BuildDarkGob() {
    GobArchive gob;
    const std::vector<std::uint8_t> colourMap = LevelColourMap();
    for (std::string_view level : kLevels) {
        Add(gob, std::string(level) + ".PAL", LevelPalette(level).m_Bytes);
        Add(gob, std::string(level) + ".CMP", colourMap);
    }
    Add(gob, "DARK.PAL", LevelPalette("DARK").m_Bytes);
    for (const ModelEntry& entry : kModels) {
        std::string text;
        Write3DO(entry.m_pBuild(), text);
        Add(gob, entry.m_Name, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    return gob;
}

} // namespace morvi::demo
