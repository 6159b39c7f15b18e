#pragma once
// Everything one request reads from the window: the structure kind, the shell, both
// heads, the levels, the dead volume, the attachment and the calibration points.

#include "capacity/head_components.h"
#include "capacity/named_inputs.h"
#include "vertical/vertical_tank.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvora::capacity {

enum class TStructureKind {
    skHorizontal = 0,
    skInclined = 1,
    skSphere = 2,
    skCalibration = 3,
    skVertical = 4
};
enum class TSectionShape { ssNone, ssCircle, ssEllipse };

struct THeadSpec {
    std::optional<THeadKind> kind; // none: the side contributes nothing
    HeadDims dims;
    bool subtract = false;
    double dishedRatio = 0; // non-standard dished head only
};

struct TTankDescription {
    TStructureKind kind = TStructureKind::skHorizontal;
    TSectionShape section = TSectionShape::ssNone;
    double D = 0, B = 0, A = 0, L = 0;
    double alpha = 0, beta = 0, F = 0;
    THeadSpec left, right;
    double levelFrom = 0, levelTo = 0, levelStep = 0, rowsPerColumn = 0;
    double quickLevel = 0;
    double deadVolume = 0;
    double attachmentVolume = 0, attachmentBottom = 0, attachmentHeight = 0;
    int pointCount = 0;
    std::vector<double> pointLevels, pointVolumes;
    // The volume by true geometry (ExactGeometry) instead of the required formulas; the
    // inclined tank then needs to know which head lies at its lower end.
    bool exactGeometry = false;
    bool lowerEndRight = false; // RadioButton4 "低端在右封头"; otherwise the left head
    // The vertical tank ("立式圆筒"): its courses, bottom, deadwood and roof replace the
    // heads, the dead volume and the attachment.
    vertical::VerticalTank vertical;
};

// LevelFor, the level from a known volume, reads neither the table's levels nor the
// quick level: its common group is the dead volume and the attachment.
enum class RequestType { Table, Quick, LevelFor };

// A request that stopped in validation carries the message for the plain message box.
struct ReadResult {
    std::optional<TTankDescription> description;
    std::string message;
};

// The structure kind: the active page of PageControl1.
TStructureKind Jgxs(const NamedInputs& inputs);

// Reads and checks the inputs of the active kind group by group; the first empty field
// stops with its group's message, as does a horizontal tank with no section chosen
// (neither RadioButton1 nor RadioButton2). A filled field that is not a number throws
// ConvertError. On the calibration page the dead volume and attachment fields are set to
// "0", and exact geometry is never chosen there: the points are the volumes. Then the
// read tank is checked (checkTank: dimensions, heads, calibration points, the request's
// levels; with exact geometry chosen exactGeometryProblem first), and in weight mode the
// density row (checkDensity); a problem stops with its message.
ReadResult ReadTankDescription(NamedInputs& inputs, RequestType type);

// The group messages.
namespace messages {
inline constexpr const char* kHorizontal = "呵呵，中间圆筒数据还没输完呢！";
inline constexpr const char* kInclined = "呵呵，倾斜圆筒数据还没输完呢！";
inline constexpr const char* kSphere = "呵呵，球罐数据还没输完呢！";
inline constexpr const char* kCalibration = "呵呵，标定点数据还没输完呢！";
inline constexpr const char* kTable = "呵呵，容积表数据还没输完呢！";
inline constexpr const char* kQuick = "呵呵，数据还没输完呢！";
inline constexpr const char* kLeftHead = "呵呵，左封头数据还没输完呢！";
inline constexpr const char* kRightHead = "呵呵，右封头数据还没输完呢！";
} // namespace messages

} // namespace kelvora::capacity
