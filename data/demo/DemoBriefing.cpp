#include "DemoBriefing.h"

#include "DemoArt.h"
#include "resources/DeltPicture.h"
#include "resources/FilmFile.h"

#include <array>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace morvi::demo {

namespace {

constexpr int kTitleWidth = 320;
constexpr int kTitleHeight = 48;
constexpr int kPlanetSide = 120;
constexpr int kSpinSide = 64;
constexpr int kSpinFrames = 8;

// Our pictures and tables are valid by construction, so a refusal is a fault of this file.
void Require(const Status& status) {
    if (!status) throw std::logic_error(status.message());
}

// The whole palette of the game's own pictures, indices 0 to 255.
std::vector<std::uint8_t> Palette() {
    const GamePalette palette = LevelPalette("DARK");
    std::vector<std::uint8_t> pltt{0, 255};
    pltt.insert(pltt.end(), palette.m_Bytes.begin(), palette.m_Bytes.end());
    return pltt;
}

std::vector<std::uint8_t> Delt(IndexedImage image, std::int16_t x, std::int16_t y) {
    std::vector<std::uint8_t> out;
    Require(EncodeDelt({std::move(image), x, y}, out));
    return out;
}

IndexedImage TitleCard() {
    IndexedImage image = BlankPicture(kTitleWidth, kTitleHeight);
    Canvas canvas(image);
    canvas.Gradient(0, 0, kTitleWidth, kTitleHeight, Ramp::Steel, 5, 1);
    canvas.FrameRect(0, 0, kTitleWidth, kTitleHeight, Shade(Ramp::Steel, 9));
    canvas.FrameRect(2, 2, kTitleWidth - 4, kTitleHeight - 4, Shade(Ramp::Steel, 2));
    const std::string_view title = "MISSION BRIEFING";
    const int x = (kTitleWidth - Canvas::TextWidth(title, 3)) / 2;
    canvas.Text(x + 2, 8, title, Shade(Ramp::Grey, 0), 3); // drop shadow
    canvas.Text(x, 6, title, Shade(Ramp::Gold, 13), 3);
    const std::string_view where = "TARGET: SECRET BASE";
    canvas.Text((kTitleWidth - Canvas::TextWidth(where, 2)) / 2, 30, where, Shade(Ramp::Red, 11), 2);
    return image;
}

// A desert world lit from the upper left, with darker bands of dunes and a thin blue air.
IndexedImage Planet() {
    IndexedImage image = BlankPicture(kPlanetSide, kPlanetSide);
    Canvas canvas(image);
    DemoRandom random(41);
    const int c = kPlanetSide / 2, r = kPlanetSide / 2 - 4;
    const int lx = c - r / 2, ly = c - r / 2;
    std::array<int, kPlanetSide / 6 + 1> band{};
    for (int& b : band)
        b = random.between(-1, 1);
    canvas.Disc(c, c, r + 2, Shade(Ramp::Sky, 5));
    for (int y = 0; y < kPlanetSide; ++y)
        for (int x = 0; x < kPlanetSide; ++x) {
            const int dx = x - c, dy = y - c;
            if (dx * dx + dy * dy > r * r) continue;
            const int light = (x - lx) * (x - lx) + (y - ly) * (y - ly);
            const int shade = 14 - light * 16 / (3 * r * r) + band[static_cast<std::size_t>(y / 6)];
            canvas.Plot(x, y, shade < 1 ? Shade(Ramp::Brown, 1) : Shade(Ramp::Sand, shade));
        }
    canvas.Grain(0, 0, kPlanetSide, kPlanetSide, Ramp::Sand, 1, random);
    return image;
}

// One turn of a satellite seen from the side: its body stays, its two solar panels narrow and
// widen as they swing round, lighter while they face us.
IndexedImage SpinFrame(int frame) {
    static constexpr std::array<int, kSpinFrames> kCos{{1000, 707, 0, -707, -1000, -707, 0, 707}};
    IndexedImage image = BlankPicture(kSpinSide, kSpinSide);
    Canvas canvas(image);
    const int c = kSpinSide / 2;
    const int facing = kCos[static_cast<std::size_t>(frame)];
    const int reach = 4 + 22 * (facing < 0 ? -facing : facing) / 1000;
    const int shade = facing >= 0 ? 10 : 4;
    canvas.Line(c - 26, c, c + 26, c, Shade(Ramp::Grey, 6));
    canvas.Bevel(c - 8 - reach, c - 7, reach, 14, Ramp::Blue, shade);
    canvas.Bevel(c + 8, c - 7, reach, 14, Ramp::Blue, shade);
    canvas.Disc(c, c, 8, Shade(Ramp::Grey, 7));
    canvas.Disc(c - 2, c - 2, 4, Shade(Ramp::Grey, 11));
    canvas.Line(c, c - 8, c + 6 * facing / 1000, c - 18, Shade(Ramp::Grey, 9));
    canvas.Plot(c + 6 * facing / 1000, c - 19, Shade(Ramp::Red, 14));
    return image;
}

std::vector<std::uint8_t> Spin() {
    std::vector<DeltPicture> frames;
    for (int f = 0; f < kSpinFrames; ++f)
        frames.push_back({SpinFrame(f), 0, 0});
    std::vector<std::uint8_t> out;
    Require(EncodeAnim(frames, out));
    return out;
}

FilmCommandRow Command(std::string_view name, std::initializer_list<int> params = {}) {
    FilmCommandRow row;
    row.m_strName = std::string(name);
    std::size_t i = 0;
    for (int p : params)
        row.m_strParams[i++] = std::to_string(p);
    return row;
}

FilmBlock Block(std::string_view type, std::string_view name, std::initializer_list<FilmCommandRow> rows) {
    FilmBlock block;
    Require(MakeFilmBlock(type, name, block));
    std::vector<FilmCommandRow> commands(rows);
    commands.push_back(Command("END"));
    Require(RebuildFilmBlock(block, commands));
    return block;
}

// The palette first, then the title card at once, the planet sliding in and the satellite
// turning in front of it; the view block holds the length of the scene in ticks.
std::vector<std::uint8_t> Film() {
    FilmFile film = MakeNewFilm();
    film.m_Blocks.front() = Block("VIEW", "brief", {Command("TIME", {240})});
    film.m_Blocks.push_back(Block("PLTT", "brief", {Command("TIME", {0}), Command("PALETTE", {1})}));
    film.m_Blocks.push_back(
        Block("DELT", "title", {Command("TIME", {0}), Command("MOVE", {0, 8, 0, 0}), Command("LAYER", {3})}));
    film.m_Blocks.push_back(
        Block("DELT", "planet",
              {Command("TIME", {20}), Command("MOVE", {200, 70, 0, 0}), Command("LAYER", {1}),
               Command("TIME", {120}), Command("MOVE", {180, 64, 0, 0})}));
    film.m_Blocks.push_back(
        Block("ANIM", "spin",
              {Command("TIME", {40}), Command("MOVE", {60, 100, 0, 0}), Command("LAYER", {2}),
               Command("ANIMATE", {1}), Command("SPEED", {8}), Command("CUT", {200})}));
    std::vector<std::uint8_t> out;
    Require(WriteFilm(film, out));
    return out;
}

} // namespace

LfdArchive BuildBriefingLfd() {
    LfdArchive lfd;
    Require(lfd.AddMember("PLTT", "brief", Palette()));
    Require(lfd.AddMember("DELT", "title", Delt(TitleCard(), 0, 8)));
    Require(lfd.AddMember("DELT", "planet", Delt(Planet(), 180, 64)));
    Require(lfd.AddMember("ANIM", "spin", Spin()));
    Require(lfd.AddMember("FILM", "brief", Film()));
    return lfd;
}

} // namespace morvi::demo
