#include "capacity/volume.h"

#include "capacity/exact_method.h"
#include "kernel/calibration.h"
#include "kernel/fp_guard.h"
#include "kernel/inclined.h"
#include "kernel/shell.h"

namespace kelvora::capacity {

namespace {

using kernel::FpGuard;
using kernel::settle;
using LD = long double;

double circleHead(const THeadSpec& s, double D, double x) {
    if (!s.kind) return 0;
    return kernel::headVolume(*s.kind, s.dims, D, D, x, s.dishedRatio);
}

// An elliptical section admits only the ellipsoidal and spherical-cap heads.
double ellipseHead(const THeadSpec& s, double A, double B, double x) {
    if (s.kind == THeadKind::hkEllipsoidal || s.kind == THeadKind::hkSphericalCap)
        return kernel::headVolume(*s.kind, s.dims, A, B, x, s.dishedRatio);
    return 0;
}

// Extended, so the calibration points' litres reach the sum without a rounding to cubic
// metres; the kernel's double results are held exactly.
struct Terms {
    LD left = 0, shell = 0, right = 0;
    bool failed = false; // a term was not computed, or is the kernel's failure value
};

bool isFailure(LD term) { return term == -1.0L; }

void shellAndHeads(const TTankDescription& d, double x, Terms& t) {
    const double Ltot = d.L + d.left.dims.h + d.right.dims.h;
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (d.section == TSectionShape::ssCircle) {
            t.shell = kernel::YuangTong(d.D, d.D, x, Ltot);
            t.left = circleHead(d.left, d.D, x);
            t.right = circleHead(d.right, d.D, x);
        } else if (d.section == TSectionShape::ssEllipse) {
            t.shell = kernel::YuangTong(d.A, d.B, x, Ltot);
            t.left = ellipseHead(d.left, d.A, d.B, x);
            t.right = ellipseHead(d.right, d.A, d.B, x);
        }
        break;
    case TStructureKind::skInclined:
        // One guard over conversion, shell and heads: a failure keeps the terms made so far.
        try {
            const double level = kernel::GaoDuBianHuan(d.A, Ltot, d.L - d.F, d.alpha, d.beta, x);
            t.shell = kernel::YuangTong(d.A, d.B, level, Ltot);
            t.left = ellipseHead(d.left, d.A, d.B, level);
            t.right = ellipseHead(d.right, d.A, d.B, level);
        } catch (...) {
            t.failed = true;
        }
        break;
    case TStructureKind::skSphere:
        t.shell = 2 * kernel::TuoFengTou(d.D, d.D, d.D / 2, x);
        break;
    case TStructureKind::skCalibration:
        // Litres to cubic metres, so the litres shown equal the interpolated litres.
        t.shell = kernel::GetValueLagrange(d.pointCount, d.pointLevels, d.pointVolumes, x) * 0.001L;
        break;
    case TStructureKind::skVertical:
        t.shell = vertical::mainLitres(d.vertical, x) * 0.001L;
        break;
    }
}

enum class Stage { Done, ShellFailed, AttachmentFailed };

// The composition of one level; `failedTerm` tells whether a shell or head term carried
// the kernel's failure value into the sum.
Stage compose(const TTankDescription& d, double x, double& V, bool& failedTerm) {
    try {
        FpGuard guard;
        Terms t;
        if (d.exactGeometry) {
            const ExactTerms exact = exactTerms(d, settle(x));
            t = {exact.left, exact.shell, exact.right};
        } else {
            shellAndHeads(d, settle(x), t);
        }
        // The calibration's interpolated litres are data, not a kernel result.
        const bool interpolated =
            d.kind == TStructureKind::skCalibration || d.kind == TStructureKind::skVertical;
        failedTerm = t.failed || isFailure(t.left) || isFailure(t.right) || (!interpolated && isFailure(t.shell));
        if (d.left.subtract) t.left = -t.left;
        if (d.right.subtract) t.right = -t.right;
        V = settle(static_cast<double>(0.001L * d.deadVolume + (t.left + t.shell + t.right)));
        if (FpGuard::failed() || !std::isfinite(V)) return Stage::ShellFailed;
    } catch (...) {
        return Stage::ShellFailed;
    }
    const double b = d.attachmentBottom, h = d.attachmentHeight, Va = d.attachmentVolume;
    if (h > 0 && Va > 0) {
        FpGuard guard;
        double share = 0;
        if (b <= x && x <= b + h) share = settle(0.001 * Va / h * (x - b));
        else if (x > b + h) share = 0.001 * Va;
        const double total = settle(V + share);
        if (FpGuard::failed() || !std::isfinite(total)) return Stage::AttachmentFailed;
        V = total;
    }
    return Stage::Done;
}

// Below a thousandth of a millilitre a negative total is the rounding of a sum that is 0.
constexpr double kNegativeTolerance = 1e-9;

} // namespace

double VolumeAtLevel(const TTankDescription& d, double x, double previous) {
    double V = previous;
    bool failedTerm = false;
    return compose(d, x, V, failedTerm) == Stage::ShellFailed ? previous : V;
}

LevelVolume checkedVolumeAtLevel(const TTankDescription& d, double x) {
    LevelVolume result;
    bool failedTerm = false;
    if (compose(d, x, result.V, failedTerm) != Stage::Done || failedTerm) {
        result.status = LevelVolume::Status::Failed;
    } else if (result.V < 0) {
        if (result.V < -kNegativeTolerance) result.status = LevelVolume::Status::Negative;
        else result.V = 0;
    }
    return result;
}

} // namespace kelvora::capacity
