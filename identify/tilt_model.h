#pragma once
// The model of a station's records for the identification of an inclined tank's tilt: the
// tank with α signed over both ends, and the litres it holds at each record's reading for
// given angles, against which the records' cumulative net volumes are fitted.

#include "capacity/tank_description.h"

#include <cstddef>
#include <vector>

namespace kelvora::identify {

// The inclined tank with α signed over both ends: α > 0 lowers the left end, α < 0 the
// right one, and the probe stays where the description puts it, whichever end is low.
class TiltModel {
public:
    explicit TiltModel(const capacity::TTankDescription& d);

    // The description with the left (α ≥ 0) or right (α < 0) end low at |α|, β, and the
    // F measured to the high end for the probe's place.
    capacity::TTankDescription describe(double signedAlpha, double beta) const;

    // Litres at the probe's reading h, by the description's method.
    double volume(double signedAlpha, double beta, double h) const;

    // The description's own α signed by its low end.
    double signedAlpha() const;

private:
    capacity::TTankDescription d_;
    double pLeft_ = 0; // axial distance from the probe to the left end of the tank's length
};

// The records a fit sees: each reading (mm) and the cumulative net volume up to and
// including it (litres).
struct RecordSample {
    std::vector<double> level, net;
    std::size_t size() const { return level.size(); }
};

// Litres at each of `levels` for the angles (signed α and β in degrees), readings
// [from, to); a long run is shared among the processor's cores.
std::vector<double> volumesAt(const TiltModel& model, double signedAlpha, double beta,
                              const std::vector<double>& levels, std::size_t from, std::size_t to);
std::vector<double> volumesAt(const TiltModel& model, double signedAlpha, double beta,
                              const std::vector<double>& levels);

} // namespace kelvora::identify
