#include "capacity/exact_method.h"

#include "geometry/heads.h"
#include "geometry/inclined.h"

namespace kelvora::capacity {

namespace {

double circleHead(const THeadSpec& s, double D, double x) {
    return s.kind ? geometry::exactHeadVolume(*s.kind, s.dims, D, D, x) : 0;
}

// An elliptical section shapes only the ellipsoidal head and the spherical cap.
double ellipseHead(const THeadSpec& s, double A, double B, double x) {
    if (s.kind == THeadKind::hkEllipsoidal || s.kind == THeadKind::hkSphericalCap)
        return geometry::exactHeadVolume(*s.kind, s.dims, A, B, x);
    return 0;
}

geometry::InclinedHead inclinedHead(const THeadSpec& s) {
    using Shape = geometry::InclinedHead::Shape;
    if (s.kind == THeadKind::hkEllipsoidal) return {Shape::Ellipsoidal, s.dims.H - s.dims.h};
    if (s.kind == THeadKind::hkSphericalCap) return {Shape::SphericalCap, s.dims.H};
    return {};
}

geometry::InclinedTank inclinedTank(const TTankDescription& d) {
    geometry::InclinedTank tank;
    tank.A = d.A, tank.B = d.B;
    tank.Ltot = d.L + d.left.dims.h + d.right.dims.h;
    tank.p = d.L - d.F;
    tank.alpha = d.alpha, tank.beta = d.beta;
    tank.lower = inclinedHead(d.lowerEndRight ? d.right : d.left);
    tank.upper = inclinedHead(d.lowerEndRight ? d.left : d.right);
    return tank;
}

ExactTerms inclinedTerms(const TTankDescription& d, double x) {
    const geometry::InclinedParts parts = geometry::inclinedParts(inclinedTank(d), x);
    ExactTerms t;
    t.shell = parts.shell;
    t.left = d.lowerEndRight ? parts.upperHead : parts.lowerHead;
    t.right = d.lowerEndRight ? parts.lowerHead : parts.upperHead;
    // A head that holds nothing on this tank is 0 whatever its end reports.
    if (inclinedHead(d.left).shape == geometry::InclinedHead::Shape::None) t.left = 0;
    if (inclinedHead(d.right).shape == geometry::InclinedHead::Shape::None) t.right = 0;
    return t;
}

} // namespace

ExactTerms exactTerms(const TTankDescription& d, double x) {
    ExactTerms t;
    const double Ltot = d.L + d.left.dims.h + d.right.dims.h;
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (d.section == TSectionShape::ssCircle) {
            t.shell = geometry::exactShell(d.D, d.D, x, Ltot);
            t.left = circleHead(d.left, d.D, x);
            t.right = circleHead(d.right, d.D, x);
        } else if (d.section == TSectionShape::ssEllipse) {
            t.shell = geometry::exactShell(d.A, d.B, x, Ltot);
            t.left = ellipseHead(d.left, d.A, d.B, x);
            t.right = ellipseHead(d.right, d.A, d.B, x);
        }
        break;
    case TStructureKind::skInclined:
        t = inclinedTerms(d, x);
        break;
    case TStructureKind::skSphere:
        t.shell = geometry::exactSphere(d.D, x);
        break;
    case TStructureKind::skCalibration:
    case TStructureKind::skVertical:
        break; // the points, the courses, are the data themselves
    }
    return t;
}

std::string exactGeometryProblem(const TTankDescription& d) {
    // Each part at a level it must be able to hold: the full section, or the gauge at
    // mid-height on the inclined tank.
    ExactTerms t;
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (d.section == TSectionShape::ssNone) return {};
        t = exactTerms(d, d.section == TSectionShape::ssCircle ? d.D : d.A);
        break;
    case TStructureKind::skInclined:
        t = inclinedTerms(d, d.A / 2);
        break;
    case TStructureKind::skSphere:
        t.shell = geometry::exactSphere(d.D, d.D);
        break;
    case TStructureKind::skCalibration:
    case TStructureKind::skVertical:
        return {};
    }
    if (t.shell < 0) return messages::kExactShell;
    if (t.left < 0) return messages::kExactLeftHead;
    if (t.right < 0) return messages::kExactRightHead;
    return {};
}

} // namespace kelvora::capacity
