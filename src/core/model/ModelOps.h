#pragma once

#include "model/CDataObjectItem.h"
#include "model/CDataObjects.h"
#include "model/CDataSector.h"

#include <cstdint>
#include <vector>

namespace morvi {

// Rounds to hundredths half away from zero, as every value typed by the user is stored.
double RoundHundredths(double x);
double PointDistance(double x1, double z1, double x2, double z2);

// Appends the loop boundaries of the sector's walls: 0, then the position after each closed loop
// (or the wall count when no loop closes). Entries k and k+1 delimit loop k.
void BuildLoopStarts(const CDataSector& sector, std::vector<int>& starts);
// The sectors that fill the sector's holes: each later loop whose walls all adjoin one sector.
std::vector<int> GetEnclosedSectors(const CDataSector& sector);
// Walls in the loop holding wall; 0 when no loop holds it.
int GetLoopLength(const CDataSector& sector, int wall);

// Sets the object's map colour from its class and, when given, one of its SEQ lines.
void AssignObjectColour(CDataObjectItem& object, const CDataObjectSeq* seq = nullptr);
// Sets m_nData from m_strData in the name table of the object's class, growing the table.
void SetObjectDataIndex(CDataObjects& objects, CDataObjectItem& object);

} // namespace morvi
