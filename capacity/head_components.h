#pragma once
// The eight head kinds with their components on each side, in the order a request
// examines them. Requests, the window's head availability rules and the tests read
// this one table.

#include "kernel/heads.h"

#include <array>
#include <span>
#include <string_view>

namespace kelvora::capacity {

using kernel::HeadDims;
using kernel::THeadKind;

struct HeadField {
    std::string_view edit;  // component name
    double HeadDims::*dim;  // which dimension it holds
};

struct HeadSide {
    std::string_view radio;
    std::array<HeadField, 3> fields;
    int fieldCount;
    std::span<const HeadField> fieldList() const { return {fields.data(), static_cast<std::size_t>(fieldCount)}; }
};

struct HeadComponents {
    THeadKind kind;
    std::string_view caption;
    HeadSide left, right;
    std::string_view word; // the readable name of tank files and the batch tool: "cone"
};

std::span<const HeadComponents> headComponents();

// The ten head radio buttons that the elliptical section and the inclined page exclude.
std::span<const std::string_view> excludableHeadButtons();

} // namespace kelvora::capacity
