#pragma once
// Records a station would keep for an inclined tank of known α, β and starting volume:
// dispensing periods drawing the level down, a delivery in the middle raising it again.

#include "capacity/tank_description.h"
#include "identify/records.h"
#include "identify/tilt_fit.h"

#include <random>

namespace kelvora::test {

// D 2000 × 6000, spherical-cap heads 400 deep, probe 1500 from the high end.
inline capacity::TTankDescription inclinedTank(bool exact) {
    capacity::TTankDescription d;
    d.kind = capacity::TStructureKind::skInclined;
    d.A = d.B = 2000;
    d.L = 6000;
    d.F = 1500;
    d.alpha = 0.001;
    d.exactGeometry = exact;
    for (auto* head : {&d.left, &d.right}) {
        head->kind = capacity::THeadKind::hkSphericalCap;
        head->dims.H = 400;
    }
    return d;
}

// `count` records over the levels 150..1850 mm and back, the true volume at each
// reading less V0 plus Gaussian noise of `sigma` litres.
inline identify::Records syntheticRecords(const capacity::TTankDescription& d, double signedAlpha, double beta,
                                          double V0, double sigma, int count = 300) {
    const identify::TiltModel model(d);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, sigma);
    identify::Records r;
    for (int i = 0; i < count; ++i) {
        // Down from 1850 to 150, a delivery, then down again from 1700 to 900.
        const int half = count * 2 / 3;
        const double h = i < half ? 1850 - 1700.0 * i / (half - 1) : 1700 - 800.0 * (i - half) / (count - half - 1);
        r.level.push_back(h);
        r.net.push_back(model.volume(signedAlpha, beta, h) - V0 + (sigma > 0 ? noise(random) : 0));
    }
    return r;
}

} // namespace kelvora::test
