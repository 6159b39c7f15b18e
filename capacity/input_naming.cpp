#include "capacity/input_naming.h"

#include "capacity/head_components.h"
#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "capacity/vocabulary.h"

namespace kelvora::capacity {

namespace {

struct Naming {
    std::string name, caption;
};

std::string_view withoutColon(std::string_view label) {
    if (label.ends_with(':')) label.remove_suffix(1);
    if (label.ends_with("：")) label.remove_suffix(std::string_view("：").size());
    return label;
}

Naming namingOf(std::string_view component) {
    for (const Term& term : vocabulary())
        if (!term.component.empty() && term.component == component && term.kind != TermKind::Points)
            return {std::string(term.name), std::string(term.caption)};
    // A head dimension belongs to the side and shape whose radio button owns the field.
    for (const auto& head : headComponents())
        for (int side = 0; side < 2; ++side)
            for (const auto& field : (side == 0 ? head.left : head.right).fieldList()) {
                if (field.edit != component) continue;
                const std::string size(withoutColon(findInput(field.edit)->label));
                const std::string name = (side == 0 ? "left." : "right.") + size;
                if (const Term* term = findTerm(name)) return {name, std::string(term->caption)};
                return {name, (side == 0 ? "左封头" : "右封头") + size};
            }
    if (const InputInfo* input = findAnyInput(component))
        return {{}, std::string(withoutColon(input->label))};
    return {};
}

} // namespace

std::string readableNameOf(std::string_view component) {
    return namingOf(component).name;
}

std::string captionOf(std::string_view component) {
    return namingOf(component).caption;
}

std::string inputNamedAs(std::string_view given, std::string_view component, int pointRow) {
    if (pointRow > 0) return "point " + std::to_string(pointRow) + "（标定点）";
    const std::string caption = captionOf(component);
    return std::string(given) + (caption.empty() ? "" : "（" + caption + "）");
}

} // namespace kelvora::capacity
