#include "capacity/tank_description.h"

#include "capacity/display.h"
#include "capacity/exact_method.h"
#include "capacity/input_error.h"
#include "capacity/tank_check.h"
#include "capacity/vertical_description.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <initializer_list>
#include <string_view>

namespace kelvora::capacity {

namespace {

using kernel::strToFloat;

// Thrown inside the reader to end it with a group's message.
struct Stop {
    const char* message;
};

// Thrown inside the reader to end it with a message composed for the input.
struct Problem {
    std::string message;
};

void check(const NamedInputs& in, std::initializer_list<std::string_view> names, const char* message) {
    for (auto name : names)
        if (in.text(name).empty()) throw Stop{message};
}

double number(const NamedInputs& in, std::string_view name) {
    return convertInput(name, 0, [&] { return strToFloat(in.text(name)); });
}

// The top level never exceeds the diameter, then the section height, where they are set.
void limitTop(double& level, const TTankDescription& d) {
    if (level > d.D && d.D > 0) level = d.D;
    if (level > d.A && d.A > 0) level = d.A;
}

THeadSpec readHead(const NamedInputs& in, bool left, const char* message) {
    THeadSpec headSpec;
    for (const auto& head : headComponents()) {
        const HeadSide& side = left ? head.left : head.right;
        if (!in.checked(side.radio)) continue;
        headSpec.kind = head.kind;
        for (const auto& field : side.fieldList())
            if (in.text(field.edit).empty()) throw Stop{message};
        for (const auto& field : side.fieldList()) headSpec.dims.*field.dim = number(in, field.edit);
        break;
    }
    return headSpec;
}

// Only the circular horizontal shell scales a non-standard dished head by the ratio. A
// ratio that cannot be formed (the head has no depth, or no knuckle joins its crown to the
// shell) stays 0, and the tank check names the head.
void prepareDishedRatios(TTankDescription& d) {
    if (d.kind != TStructureKind::skHorizontal || d.section != TSectionShape::ssCircle) return;
    for (THeadSpec* side : {&d.left, &d.right}) {
        if (side->kind != THeadKind::hkNonStandardDished || !(side->dims.H > side->dims.h) || !(d.D > 0)) continue;
        try {
            side->dishedRatio = kernel::dishedRatio(side->dims, d.D);
        } catch (const ArithmeticError&) {
            side->dishedRatio = 0;
        }
    }
}

void readKind(NamedInputs& in, TTankDescription& d) {
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (in.checked("RadioButton1")) {
            d.section = TSectionShape::ssCircle;
            check(in, {"Edit1", "Edit2"}, messages::kHorizontal);
            d.D = number(in, "Edit1");
            d.L = number(in, "Edit2");
        }
        if (in.checked("RadioButton2")) {
            if (d.section == TSectionShape::ssNone) d.section = TSectionShape::ssEllipse;
            check(in, {"Edit3", "Edit4", "Edit5"}, messages::kHorizontal);
            d.B = number(in, "Edit3");
            d.A = number(in, "Edit4");
            d.L = number(in, "Edit5");
        }
        // Without a section there is no shell to measure: an all-zero table says nothing.
        if (d.section == TSectionShape::ssNone) throw Stop{messages::kHorizontal};
        break;
    case TStructureKind::skInclined:
        check(in, {"Edit29", "Edit30", "Edit39", "Edit40", "Edit41", "Edit42"}, messages::kInclined);
        d.lowerEndRight = in.checked("RadioButton4");
        d.alpha = number(in, "Edit29");
        // A level axis makes the wedge cases divide by zero.
        if (d.alpha == 0) d.alpha = 0.001;
        d.beta = number(in, "Edit30");
        d.F = number(in, "Edit39");
        d.B = number(in, "Edit40");
        d.A = number(in, "Edit41");
        d.L = number(in, "Edit42");
        break;
    case TStructureKind::skSphere:
        check(in, {"Edit34"}, messages::kSphere);
        d.D = number(in, "Edit34");
        break;
    case TStructureKind::skCalibration: {
        d.pointCount = convertInput("ComboBox2", 0, [&] { return kernel::strToInt(in.text("ComboBox2")); });
        const int n = d.pointCount > 0 ? d.pointCount : 0;
        d.pointLevels.assign(n, 0.0);
        d.pointVolumes.assign(n, 0.0);
        const StringGrid& grid = in.grid();
        for (int col = 1; col <= 2; ++col)
            for (int row = 1; row <= n; ++row) {
                const std::string& cell = grid.cell(col, row);
                if (cell.empty()) throw Stop{messages::kCalibration};
                (col == 1 ? d.pointLevels : d.pointVolumes)[row - 1] =
                    convertInput("ComboBox2", row, [&] { return strToFloat(cell); });
            }
        // The calibration kind never carries a dead volume or an attachment.
        for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"}) in.setText(name, "0");
        break;
    }
    case TStructureKind::skVertical:
        if (std::string problem = readVerticalTank(in, d.vertical); !problem.empty()) throw Problem{problem};
        break;
    }
}

void readCommon(const NamedInputs& in, TTankDescription& d, RequestType type) {
    // The vertical tank's bottom points and deadwood take the place of the dead volume and
    // the attachment.
    if (d.kind == TStructureKind::skVertical) {
        if (type == RequestType::Table) {
            check(in, {"Edit6", "Edit7", "Edit8", "Edit9"}, messages::kTable);
            d.levelFrom = number(in, "Edit6");
            d.levelTo = number(in, "Edit7");
            d.levelStep = number(in, "Edit8");
            d.rowsPerColumn = number(in, "Edit9");
        } else if (type == RequestType::Quick) {
            check(in, {"Edit35"}, messages::kQuick);
            d.quickLevel = number(in, "Edit35");
        }
        return;
    }
    if (type == RequestType::Table) {
        check(in, {"Edit6", "Edit7", "Edit8", "Edit9", "Edit13", "Edit31", "Edit32", "Edit33"}, messages::kTable);
        d.levelFrom = number(in, "Edit6");
        d.levelTo = number(in, "Edit7");
        limitTop(d.levelTo, d);
        d.levelStep = number(in, "Edit8");
        d.rowsPerColumn = number(in, "Edit9");
    } else if (type == RequestType::Quick) {
        check(in, {"Edit35", "Edit13", "Edit31", "Edit32", "Edit33"}, messages::kQuick);
        d.quickLevel = number(in, "Edit35");
        limitTop(d.quickLevel, d);
    } else {
        check(in, {"Edit13", "Edit31", "Edit32", "Edit33"}, messages::kQuick);
    }
    d.deadVolume = number(in, "Edit13");
    d.attachmentVolume = number(in, "Edit31");
    d.attachmentBottom = number(in, "Edit32");
    d.attachmentHeight = number(in, "Edit33");
}

} // namespace

TStructureKind Jgxs(const NamedInputs& inputs) { return static_cast<TStructureKind>(inputs.activePage()); }

ReadResult ReadTankDescription(NamedInputs& inputs, RequestType type) {
    TTankDescription d;
    try {
        d.kind = Jgxs(inputs);
        // Measured points have no geometry to compute: they are the volumes themselves.
        d.exactGeometry = inputs.checked(kExactGeometryInput) && d.kind != TStructureKind::skCalibration &&
                          d.kind != TStructureKind::skVertical;
        readKind(inputs, d);
        readCommon(inputs, d, type);
        if (d.kind != TStructureKind::skVertical) {
            d.left = readHead(inputs, true, messages::kLeftHead);
            d.right = readHead(inputs, false, messages::kRightHead);
            d.left.subtract = inputs.itemIndex("ComboBox3") == 1;
            d.right.subtract = inputs.itemIndex("ComboBox4") == 1;
        }
        prepareDishedRatios(d);
        // Exact geometry names the part that describes no solid in its own words first.
        std::string problem = d.exactGeometry ? exactGeometryProblem(d) : std::string();
        if (problem.empty()) problem = checkTank(d, type);
        if (!problem.empty()) return {std::nullopt, problem};
        if (inputs.checked("CheckBox1"))
            if (std::string problem = checkDensity(inputs); !problem.empty()) return {std::nullopt, problem};
    } catch (const Stop& stop) {
        return {std::nullopt, stop.message};
    } catch (const Problem& problem) {
        return {std::nullopt, problem.message};
    }
    return {std::move(d), {}};
}

} // namespace kelvora::capacity
