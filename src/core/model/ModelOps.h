#pragma once

#include "model/CDataLevel.h"
#include "model/CDataObjectItem.h"
#include "model/CDataObjects.h"
#include "model/CDataSector.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace morvi {

// The record at index i of a list, or nullptr when the list has none there. Indices read from a
// file may name anything, so every access by an index the model holds goes through this.
template <class T> T* ItemAt(const std::vector<std::unique_ptr<T>>& list, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < list.size() ? list[static_cast<std::size_t>(i)].get()
                                                               : nullptr;
}
inline bool ValidIndex(std::size_t size, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < size;
}

// The first index of the sector that names nothing (a wall's vertex, adjoin, mirror or walk), as
// the refusal an edit of the sector gives ("Sector 12 wall 3 uses vertex 999, which the sector
// does not have; repair the level first."); empty for a sound sector.
std::string SectorDamage(const CDataLevel& level, int sector);

// Pi, and pi in single precision as the map tools turn by it: generated corners and rotated
// sectors depend on it to the hundredth.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kPiSingle = static_cast<double>(static_cast<float>(std::numbers::pi));

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
