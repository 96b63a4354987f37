#pragma once

#include "model/CDataLevel.h"

#include <memory>
#include <string>
#include <vector>

namespace morvi::testing {

// A closed square sector of four walls from (x0, z0) to (x1, z1), counter-clockwise.
std::unique_ptr<CDataSector> MakeSquareSector(CDataLev& lev, int index, double x0, double z0, double x1, double z1);
// One square room (sector 0) with floor and ceiling textures.
void BuildRoom(CDataLevel& level);
// Two square rooms side by side; wall 1 of sector 0 and wall 3 of sector 1 are an adjoined pair.
void BuildTwoRooms(CDataLevel& level);
// A room whose second loop is a square hole filled by a pillar sector (sector 1), adjoined both ways.
void BuildRoomWithPillar(CDataLevel& level);

// Appends an INF item with these fields and lines (held normalised: "keyword:" TAB value).
CDataInfItem& AddItem(CDataInf& inf, std::string type, std::string name, int num, std::vector<std::string> lines);

} // namespace morvi::testing
