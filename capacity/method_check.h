#pragma once
// The two methods side by side: the table's levels composed once by the required formulas
// and once by exact geometry, and how far the formulas are from the true volume.

#include "capacity/named_inputs.h"
#include "capacity/requests.h"

#include <vector>

namespace kelvora::capacity {

// One level of the table by both methods, in cubic metres, dead volume and attachment
// included as the table includes them.
struct MethodRow {
    double level = 0;
    double formula = 0;
    double exact = 0;
};

namespace messages {
inline constexpr const char* kNoGeometryToCompare = "呵呵，标定点是实测数据，没有几何形状，不能比较两种算法！";
} // namespace messages

// Reads the table request as GenerateCapacityTable does and fills `rows` for its levels,
// whichever method ExactGeometry chooses. Stops with the table's messages, with the exact
// method's when the tank cannot be evaluated exactly, with the level where either method
// fails, and for calibration points, which have no geometry; `rows` is then left as it was.
RequestOutcome CompareMethods(NamedInputs& inputs, std::vector<MethodRow>& rows);

// The deviation exact − formula over a comparison, in the table's unit: `scale` per cubic
// metre (1000 for litres, the density for kilograms).
struct MethodDeviation {
    double largest = 0;      // the largest deviation by magnitude, with its sign
    double largestLevel = 0; // its level, mm
    double capacity = 0;     // the exact volume at the top level
    double shareOfCapacity = 0;
    double largestLocalShare = 0; // of the level's own exact volume, where that exceeds 1 % of the capacity
    double localLevel = 0;
};
MethodDeviation deviationOf(const std::vector<MethodRow>& rows, double scale = 1000);

} // namespace kelvora::capacity
