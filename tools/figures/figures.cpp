#include "figures.h"

namespace kelvora::figures {

QImage drawFigure(int number, int scale) {
    switch (number) {
    case 1:
        return ellipsoidalHead(scale);
    case 2:
        return coneHead(scale);
    case 3:
        return hemisphericalHead(scale);
    case 4:
        return dishedHead(scale);
    case 5:
        return sphericalCapHead(scale);
    case 6:
        return flatHead(scale);
    case 7:
        return circularCylinder(scale);
    case 8:
        return ellipticCylinder(scale);
    case 9:
        return inclinedTank(scale, false);
    case 10:
        return transverseTilt(scale);
    case 11:
        return inclinedTank(scale, true);
    case 12:
        return banner(scale);
    case 13:
        return verticalTank(scale);
    default:
        return {};
    }
}

} // namespace kelvora::figures
