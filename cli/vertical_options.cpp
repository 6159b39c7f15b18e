#include "cli/vertical_options.h"

#include "capacity/vertical_description.h"
#include "capacity/vertical_tables.h"
#include "capacity/vocabulary.h"
#include "cli/batch.h"
#include "vertical/vertical_text.h"

#include <ostream>

namespace kelvora::cli {

namespace {

constexpr std::string_view kVerticalUsage = R"(
立式圆筒（--page 4 或 structure=vertical）：
  --course 高度,周长,板厚[,修正值]
                 下一圈板（从下往上，毫米）：高度、外周长（各围尺平均值）、板厚，可加周长修正值
                 （带符号）；内半径 = (周长 + 修正值)/(2π) − 板厚。最多50圈。
  --bottom-point 高度,容积
                 下一个罐底点（从0毫米起，高度递增，容积（升）不减）；罐底点以下线性插值。
  --deadwood 起点,终点,容积
                 一段罐内附件（毫米、升）：罐外进液的部分为正，罐内物体为负，按高度线性分配。
  以上选项给出时替换罐文件或 NAME=VALUE 中的整张表（vertical.course=…、vertical.bottom_point=…、
  vertical.deadwood=… 可重复，登记表单元格内以“;”隔开）。其余输入：vertical.tilt（倾斜角，度，
  0 ≤ θ < 5；倾斜时罐底点须至少到 r₁·tanθ）、vertical.density（液体密度 kg/m3）、
  vertical.roof_mass、vertical.roof_float_level、vertical.roof_rest_level（浮顶质量 kg、起浮高度、
  落底高度 mm；落底高度到起浮高度（不含）之间为“浮盘起浮区”，标准错误输出上一行注明）、
  vertical.reference_height（参照高度 mm）。
  --hydrostatic  输出静压力容量增大值表：每行“液位,增大值”（液位 cm，增大值 L，两位小数），
                 按 vertical.density 计算。
  --fractions    输出小数表：每圈板一行“圈板,1mm,…,9mm”（圈板从下往上由1编号，L，两位小数）。
  立式圆筒不接受 --compare 和 --uncertainty，不用罐底死量、附件和封头。
)";

std::vector<std::string>* listOf(std::string_view arg, VerticalOptions& options,
                                 const vertical::EntryShape*& shape) {
    if (arg == "--course") return shape = &vertical::kCourseShape, &options.courses;
    if (arg == "--bottom-point") return shape = &vertical::kBottomShape, &options.bottom;
    if (arg == "--deadwood") return shape = &vertical::kDeadwoodShape, &options.deadwood;
    return nullptr;
}

} // namespace

bool takeVerticalOption(std::string_view arg, const std::function<std::string_view()>& next,
                        VerticalOptions& options) {
    if (arg == "--hydrostatic") return options.hydrostatic = true;
    if (arg == "--fractions") return options.fractions = true;
    const vertical::EntryShape* shape = nullptr;
    std::vector<std::string>* list = listOf(arg, options, shape);
    if (!list) return false;
    const std::string_view value = next();
    const auto entries = vertical::splitEntries(value);
    if (entries.size() != 1 || value.find(';') != std::string_view::npos ||
        !vertical::entryShapeProblem(entries, *shape).empty())
        throw capacity::VocabularyError(0, std::string(arg) + " 要写成“" + shape->fields + "”，给了“" +
                                               std::string(value) + "”");
    list->push_back(vertical::joinEntries(entries));
    return true;
}

void applyVerticalOptions(const VerticalOptions& options, capacity::NamedInputs& inputs) {
    using namespace capacity::vertical_input;
    for (auto [list, name] : {std::pair{&options.courses, kCourses}, std::pair{&options.bottom, kBottom},
                              std::pair{&options.deadwood, kDeadwood}}) {
        if (list->empty()) continue;
        std::string text;
        for (const auto& entry : *list)
            text.append(text.empty() ? "" : ";").append(entry);
        inputs.setText(name, text);
    }
}

int runVerticalTables(const VerticalOptions& options, capacity::NamedInputs& inputs, std::ostream& out,
                      std::ostream& err) {
    if (options.hydrostatic) {
        capacity::RowList rows;
        const auto outcome = capacity::HydrostaticTable(inputs, rows);
        if (outcome.stopped()) {
            err << outcome.message << '\n';
            return kValidation;
        }
        if (!outcome.note.empty()) err << outcome.note << '\n';
        for (std::size_t i = 0; i < rows.size(); ++i)
            out << rows[i] << '\n';
    }
    if (options.fractions) {
        std::vector<std::vector<std::string>> rows;
        const auto outcome = capacity::MillimetreTable(inputs, rows);
        if (outcome.stopped()) {
            err << outcome.message << '\n';
            return kValidation;
        }
        for (const auto& row : rows)
            out << vertical::joinEntries({row}) << '\n';
    }
    out.flush();
    return kOk;
}

bool isListName(std::string_view name) {
    const capacity::Term* term = capacity::findTerm(name);
    return term && term->kind == capacity::TermKind::Entries;
}

std::string_view verticalUsageText() {
    return kVerticalUsage;
}

} // namespace kelvora::cli
