#include "cli/batch.h"

#include "cli/document_application.h"
#include "cli/quantity_batch.h"
#include "cli/register.h"
#include "cli/table_files.h"
#include "cli/tank_options.h"
#include "cli/usage_messages.h"
#include "cli/vertical_options.h"

#include "capacity/calibration_grid.h"
#include "capacity/display.h"
#include "capacity/input_error.h"
#include "capacity/input_table.h"
#include "capacity/level_for.h"
#include "capacity/memory_inputs.h"
#include "capacity/method_check.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "capacity/uncertainty.h"
#include "capacity/vocabulary.h"
#include "identify/identification.h"
#include "identify/records.h"
#include "kernel/errors.h"
#include "persist/io_error.h"
#include "persist/startup.h"
#include "persist/tank_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <exception>
#include <memory>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kelvora::cli {

namespace {

using capacity::InputKind;
using capacity::MemoryInputs;

constexpr std::string_view kUsageText =
    R"(用法 (usage): kelvora-table [--settings DIR] [--tank FILE] [--page N]
                     [--quick | --level-for VALUE[%] | --compare | --uncertainty | --chart N]
                     [--point LEVEL,VOLUME]... [--out FILE] [NAME=VALUE]...
       kelvora-table [--settings DIR] --page 1 --identify FILE [--level-column NAME]
                     [--in-column NAME] [--out-column NAME] [--cumulative-in-column NAME]
                     [--cumulative-out-column NAME] [--beta-zero] [NAME=VALUE]...
       kelvora-table --register FILE --out-dir DIR [--formats pdf,xlsx,xls,csv] [--jobs N]
       kelvora-table --inputs

按窗口的输入（以组件名或可读名称指定）生成容积表（--quick 做快捷计算，--level-for 由
已知容积求液位），打印窗口会显示的结果。

  NAME=VALUE     按可读名称设置输入（D=2600、left.shape=cone、inclined.low_end=right、
                 point=0,0;1000,500；见 --inputs），或按组件名：编辑框和组合框取该文本
                 （Edit1=2000、ComboBox1=Kg/m^3）；下拉列表选中文本相同的项
                 （ComboBox3=减去左封头容积、ComboBox2=12）；单选按钮和复选框取 1 或 0
                 （选中一个单选按钮即清除同组的其他按钮）。“容积表”页的输入同样可用
                 （ExactGeometry=1、TankNumber=T-07）。
  --page N       结构页：0 或 水平圆筒，1 或 倾斜圆筒，2 或 球罐，3 或 罐容标定（默认 0）。
  --point L,V    下一个标定点：液位 L（mm）入第 1 列，容积 V（L）入第 2 列。未给出
                 ComboBox2=... 时，标定点个数随给出的点数。
  --quick        在 Edit35 的液位做快捷计算；打印 Edit36 的值。
  --level-for V  罐内容量至少为 V L（CheckBox1=1 时为 V kg）的最低液位；V 以 % 结尾时，
                 为罐顶液位（D 或 A；标定点为最高点）处容量的百分之 V。只打印液位（mm），
                 向上取到 0.01 mm。与快捷计算一样读取 Edit13、Edit31、Edit32、Edit33，
                 不读 Edit35。大于罐容量或小于液位 0 处容量的值被拒绝，同校验提示。
  --compare      按两种算法计算表中各液位，每行一条，无标题行：
                 "level,formula,exact,difference"：液位同表中各行，按规定公式和按精确
                 几何的值（同表中显示），以及未取整的 exact − formula 取两位小数。
  --uncertainty  容积表的扩展不确定度（k = 2），每行一条："level,value,U,U_rel"：液位和
                 值同表中各行，U 取两位小数，单位 L（CheckBox1=1 时为 kg），U/V 为百分数，
                 取三位小数，值为 0 处为空。标准不确定度（k = 1）取自 UncertaintySection、
                 UncertaintyLength、UncertaintyHead（mm）、UncertaintyAngle（度，α、β
                 各一）、UncertaintyF、UncertaintyLevel（mm）、UncertaintyPointVolume（各
                 标定点容积的 %）和 UncertaintyPointLevel（mm）；至少给出一项。
  --identify FILE  由油站记录求倾斜罐的 α 和 β（变位识别）：FILE 每行一条记录（UTF-8
                 或 GBK 的 CSV、.xls 或 .xlsx），含液位计读数（mm）和进出油量（L），逐条
                 或累加。列按标题识别（显示油高/mm、进油量/L、出油量/L、累加进油量/L、
                 累加出油量/L……）或由列选项指定。打印 "low_end,left|right"、
                 "alpha,VALUE,ERROR"、"beta,VALUE,ERROR"、"F,VALUE"（该低端下的 Edit39，
                 液位计位置不变）、"start_volume,VALUE,ERROR"、"rms,VALUE"、
                 "max_residual,VALUE" 和 "records,USED,SKIPPED"。罐的读取同 --level-for；
                 ExactGeometry=1 时按精确几何拟合。拒绝（记录太少、液位范围太窄、不收敛）
                 退出状态为 1，文件无法读取为 2。
                 最先一行是 method,exact|formulas（拟合所用的方法），records 之后一行是
                 outliers,N 及至多10个被剔除记录的文件行号；β的标准误差超过0.5°时按β=0重新
                 拟合，输出 beta,0,fixed。液位在罐外、离群记录超过5%、拟合质量太差（残差均方根
                 超过累计净油量范围的1%，或α的标准误差超过0.5°）都拒绝（状态1）。记录多于
                 20000条时按均匀抽取的20000条拟合，标准错误输出一行说明。
  --beta-zero    与 --identify 同用：β 固定为 0，只拟合 α 和起始容积。
  --settings DIR 先于其他一切，像窗口启动时一样载入 DIR/Config.ini 和 DIR/bd.txt
                 （ComboBox2、ComboBox3、ComboBox4 按所存；文件中没有这些项时为 8 个点和
                 "add"）。bd.txt 存在但无法读取时，在标准错误上说明。
  --out FILE     将容积表写入 FILE，打印 保存成功！ 而不打印各行；文件名的结尾（不分大小写）
                 决定格式：.xls 为 Excel 97-2003 工作簿，.xlsx 为工作簿，.pdf 为 A4 容积表
                 文档（至多 100000 行；表头取自 TankNumber=、TankOwner= 和各输入），.csv
                 为带字节顺序标记的 UTF-8 文本，标题行 高度cm,容积L（CheckBox1=1 时为
                 高度cm,重量Kg），其后各行同打印。其他结尾为命令行错误。写保护的文件被
                 拒绝，保持原样。
  --tank FILE    在 --settings 之后，由罐文件 FILE 设置全部输入（文件未提及的输入同无
                 设置文件启动后）；其后的 NAME=VALUE 参数覆盖它。
  --chart N      与 --out FILE.csv 同用：液位仪控制台的容积表，N + 1 行 "level,volume"
                 （mm、L），液位从 0 到罐顶液位等间隔（标定点：从最低点到最高点），前有
                 以 "#" 开头的行，给出罐号、罐顶液位和满罐容量；N 为 1 到 1000。
  --register F   为登记表 F 的每个罐（每行一个）生成容积表：F 为 CSV，标题行为输入名称
                 （"file" 列指定罐文件，相对于 F，由该行其他格覆盖；"point" 格为
                 L,V;L,V;...）。写入 --out-dir DIR，每种格式每个罐一个文件，以 tank_number
                 命名，由 --jobs N 个进程并行（默认为处理器核数），与 --out 同一途径（同样
                 的拒绝）。先写 DIR/summary.csv（带字节顺序标记的 UTF-8；罐号、结构、行数、
                 容量、状态、信息），各行状态为“进行中”，最后写各行的状态（成功、拒绝、
                 失败）；被拒绝或失败的行在标准错误上说明，其文件被删除。至多 10000 行；
                 罐号为空或重复、文件名相同（按 Unicode NFC 和大小写折叠比较）、与
                 summary.csv 或登记表本身同名时，整个登记表在写任何文件之前被拒绝。
                 Windows 保留的名称（CON、NUL、COM1 等）加下划线；文件夹中的符号链接被
                 替换而不被跟随；另一个登记表正在写入同一文件夹时被拒绝。各行都成功时
                 退出状态为 0，有行被拒绝时为 1，写入失败时为 2。
  --inputs       列出每个可读输入名称：name、component、caption、unit、values。
  --help         本说明。

未给出的输入同无设置文件启动后：编辑框为空，单选按钮都未选中，ComboBox2 为 8，
ComboBox3 和 ComboBox4 为第一项，ComboBox1 为空。

不带 --quick 时，容积表每行打印一行 "level,value"（液位单位 cm，值单位 L，
CheckBox1=1 时为 kg）。超出标定点的液位按外推计算，标准错误上有一行说明（“外推”）。

ExactGeometry=1（“容积表”页的复选框“按精确几何计算”）按罐壳和封头的真实几何计算每个
容积，不用规定公式；尺寸构不成实体的封头或罐壳使请求结束，并给出指明它的提示。
标定点本身就是容积，两种算法相同；--compare 拒绝标定点。

输入描述不成一个罐时，请求被拒绝，给出指明该部分的提示（退出状态 1，不写任何文件）：
尺寸为零或负，封头尺寸构不成封头，倾斜角为 45° 或以上，起始液位低于 0 或高于终止液位，
标定点液位不升高或容积减小，按重量计算时密度缺失或不可用或未选单位（ComboBox1），
或某液位的容积算不出或为负。

退出状态：0 成功；1 校验提示或 --level-for、--identify 的拒绝（在标准错误上，同窗口
所示）；2 错误报告（在标准错误上，同窗口所示）；3 命令行错误（不带任何参数时，本说明
输出到标准错误）。
)";

constexpr std::array<std::string_view, 5> kPageCaptions{"水平圆筒", "倾斜圆筒", "球罐", "罐容标定",
                                                        "立式圆筒"};

struct UsageError {
    std::string text;
};

std::optional<int> pageFrom(std::string_view arg) {
    for (int i = 0; i < static_cast<int>(kPageCaptions.size()); ++i)
        if (arg == kPageCaptions[i] || arg == std::to_string(i)) return i;
    return std::nullopt;
}

int chartIntervals(std::string_view text) {
    const auto n = parseChartIntervals(text);
    if (!n) throw UsageError{"--chart 取 1 到 1000 的整数"};
    return *n;
}

struct Options {
    bool quick = false;
    bool compare = false;
    bool uncertainty = false;
    bool betaZero = false;
    std::optional<QuantityRequest> quantity;
    bool formula = false;
    std::optional<std::string> identify;
    identify::ColumnNames columns;
    bool columnsGiven = false;
    std::optional<std::string> settings, out, levelFor, tank;
    std::optional<int> chart;
    TableFormat format = TableFormat::Xls;
    int page = 0;
    std::vector<std::pair<std::string, std::string>> points;
    std::vector<std::string_view> assignments;
    VerticalOptions vertical;
};

// Every unknown option and input name of the line is reported at once, so one run shows
// all the typing slips.
Options parse(int argc, const char* const* argv) {
    Options o;
    std::string unknown;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto next = [&]() -> std::string_view {
            if (i + 1 >= argc) throw UsageError{std::string(arg) + " 需要一个值"};
            return argv[++i];
        };
        if (arg == "--quick") o.quick = true;
        else if (arg == "--compare") o.compare = true;
        else if (arg == "--uncertainty") o.uncertainty = true;
        else if (arg == "--settings") o.settings = std::string(next());
        else if (arg == "--out") o.out = std::string(next());
        else if (arg == "--level-for") o.levelFor = std::string(next());
        else if (arg == "--tank") o.tank = std::string(next());
        else if (arg == "--chart") o.chart = chartIntervals(next());
        else if (arg == "--identify") o.identify = std::string(next());
        else if (arg == "--beta-zero") o.betaZero = true;
        else if (arg == "--quantity") o.quantity = QuantityRequest::Quantity;
        else if (arg == "--delivery") o.quantity = QuantityRequest::Delivery;
        else if (arg == "--formula") o.formula = true;
        else if (arg == "--level-column") o.columns.level = next(), o.columnsGiven = true;
        else if (arg == "--in-column") o.columns.in = next(), o.columnsGiven = true;
        else if (arg == "--out-column") o.columns.out = next(), o.columnsGiven = true;
        else if (arg == "--cumulative-in-column") o.columns.cumulativeIn = next(), o.columnsGiven = true;
        else if (arg == "--cumulative-out-column") o.columns.cumulativeOut = next(), o.columnsGiven = true;
        else if (arg == "--page") {
            const auto page = pageFrom(next());
            if (!page) throw UsageError{"--page 取 0 到 4 或页名（水平圆筒、倾斜圆筒、球罐、罐容标定、立式圆筒）"};
            o.page = *page;
        } else if (arg == "--point") {
            const std::string_view point = next();
            const auto comma = point.find(',');
            if (comma == std::string_view::npos) throw UsageError{"--point 取“液位,容积”（LEVEL,VOLUME）"};
            o.points.emplace_back(point.substr(0, comma), point.substr(comma + 1));
        } else if (takeVerticalOption(arg, next, o.vertical)) {
        } else if (arg.starts_with("--")) {
            unknown += "\nkelvora-table: 未知的选项“" + std::string(arg) + "”";
        } else {
            const auto eq = arg.find('=');
            if (eq != std::string_view::npos && !capacity::findAnyInput(arg.substr(0, eq)) &&
                !capacity::findTerm(arg.substr(0, eq)))
                unknown += "\nkelvora-table: 未知的输入“" + std::string(arg.substr(0, eq)) + "”";
            o.assignments.push_back(arg);
        }
    }
    if (!unknown.empty()) throw UsageError{unknown.substr(std::string_view("\nkelvora-table: ").size())};
    if (o.out) {
        const auto format = tableFormatFor(*o.out);
        if (!format) throw UsageError{"--out：“" + *o.out + "”的结尾不是 .xls、.xlsx、.pdf 或 .csv"};
        o.format = *format;
    }
    return o;
}

// Any path error (no such folder, a symbolic link loop, a name too long) is a usage error;
// the error-code form of the query, since the throwing one would end the program.
void checkSettingsDirectory(const std::string& dir) {
    std::error_code ec;
    const auto status = std::filesystem::status(dir, ec);
    if (ec && status.type() != std::filesystem::file_type::not_found)
        throw UsageError{"--settings：“" + dir + "”无法访问：" + systemErrorText(ec)};
    if (!std::filesystem::is_directory(status)) throw UsageError{"--settings：“" + dir + "”不是文件夹"};
}


void writeRows(const capacity::RowList& rows, std::ostream& out) {
    std::string buffer;
    buffer.reserve(1 << 16);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        buffer.append(rows[i]);
        buffer.push_back('\n');
        if (buffer.size() > (1 << 16) - 256) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

// "level,formula,exact,difference" per row, each value as the table shows it.
void writeComparison(const std::vector<capacity::MethodRow>& rows, capacity::NamedInputs& inputs, std::ostream& out) {
    capacity::ValueText value(inputs);
    capacity::RowList lines;
    lines.reserve(rows.size(), 40);
    for (const auto& row : rows) {
        std::string line = capacity::levelText(row.level);
        for (double V : {row.formula, row.exact, row.exact - row.formula}) line.append(",").append(value(V));
        lines.append(line);
    }
    writeRows(lines, out);
    out.flush();
}

// The records first, so a file that cannot be read is reported before the tank is checked.
int runIdentify(MemoryInputs& inputs, const Options& options, std::ostream& out, std::ostream& err) {
    const identify::Sheet sheet = identify::readSheet(*options.identify);
    const identify::ColumnChoice columns = identify::chooseColumns(sheet.heading, options.columns);
    identify::Records records;
    try {
        records = identify::extractRecords(sheet, columns);
    } catch (const identify::RecordsRefusal& e) {
        err << e.what() << '\n';
        return kValidation;
    }
    const auto outcome = identify::IdentifyTilt(inputs, records, options.betaZero);
    if (outcome.stopped()) {
        err << outcome.message << '\n';
        return kValidation;
    }
    if (const std::string note = identify::sampleNote(*outcome.fit); !note.empty()) err << note << '\n';
    err << "所用的列：" << identify::columnsUsedText(sheet.heading, columns) << '\n';
    for (const std::string& line : identify::resultLines(*outcome.fit)) out << line << '\n';
    out.flush();
    return kOk;
}

} // namespace

int runBatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc <= 1) {
        err << kUsageText << quantityUsageText() << verticalUsageText();
        return kUsage;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            out << kUsageText << quantityUsageText() << verticalUsageText();
            return kOk;
        }
        if (arg == "--inputs") return printVocabulary(out);
        if (arg == "--register") return runRegister(argc, argv, out, err);
        if (isStandardDensityOption(arg)) return runStandardDensity(argc, argv, out, err);
    }
    MemoryInputs inputs = MemoryInputs::afterStartup();
    Options options;
    try {
        options = parse(argc, argv);
        if (options.settings) {
            checkSettingsDirectory(*options.settings);
            const auto load = persist::loadStartupFiles(inputs, *options.settings);
            // The table still comes, but without the points the file was meant to give.
            if (load.gridKept)
                err << "kelvora-table: 标定点文件“" << load.gridFile.string() << "”无法读取，没有载入标定点\n";
        }
        if (options.chart && (options.quick || options.compare || options.levelFor || options.identify ||
                              !options.out || options.format != TableFormat::Csv))
            throw UsageError{
                "--chart N 须与 --out FILE.csv 同用，不与 --quick、--compare 或 --level-for 同用"};
        if (options.quick && options.out) throw UsageError{"--out 用于容积表，不与 --quick 同用"};
        if (options.levelFor && (options.quick || options.out))
            throw UsageError{"--level-for 不与 --quick 或 --out 同用"};
        if (options.compare && (options.quick || options.out || options.levelFor))
            throw UsageError{"--compare 打印容积表的各行，不与 --quick、--level-for 或 --out 同用"};
        if (options.uncertainty && (options.quick || options.out || options.levelFor || options.compare))
            throw UsageError{
                "--uncertainty 打印容积表的各行，不与 --quick、--level-for、--compare 或 --out 同用"};
        if (options.identify && (options.quick || options.out || options.levelFor || options.compare))
            throw UsageError{"--identify 不与 --quick、--level-for、--compare 或 --out 同用"};
        if (options.quantity && (options.quick || options.levelFor || options.compare || options.uncertainty ||
                                 options.identify || options.chart))
            throw UsageError{"--quantity 和 --delivery 不与容积表的选项同用"};
        if (options.quantity && options.out &&
            (*options.quantity == QuantityRequest::Quantity || options.format != TableFormat::Pdf))
            throw UsageError{"--out 只与 --delivery 同用，且须为 FILE.pdf"};
        if (options.formula && !options.quantity) throw UsageError{"--formula 须与 --quantity 或 --delivery 同用"};
        if (options.vertical.table() &&
            (options.quick || options.out || options.levelFor || options.compare || options.uncertainty ||
             options.identify || options.chart || options.quantity ||
             (options.vertical.hydrostatic && options.vertical.fractions)))
            throw UsageError{"--hydrostatic 和 --fractions 只能单独使用：不与对方、--quick、--level-for、"
                             "--compare、--uncertainty、--identify、--chart 或 --out 同用"};
        if (!options.identify && (options.columnsGiven || options.betaZero))
            throw UsageError{"列选项和 --beta-zero 须与 --identify 同用"};
        inputs.setActivePage(options.page);
        std::vector<std::string> fileDefaults; // left out by the tank file
        if (options.tank) fileDefaults = persist::loadTankFile(*options.tank, inputs);
        bool pointCountGiven = false;
        std::vector<capacity::Assignment> assignments;
        for (auto assignment : options.assignments) {
            const auto eq = assignment.find('=');
            if (eq == std::string_view::npos)
                throw UsageError{"应为 NAME=VALUE，而不是“" + std::string(assignment) + "”"};
            assignments.push_back({std::string(assignment.substr(0, eq)), std::string(assignment.substr(eq + 1))});
            pointCountGiven = pointCountGiven || assignments.back().name == "ComboBox2" ||
                              assignments.back().name == "point";
        }
        // On the command line a later NAME=VALUE overrides an earlier one of the same name.
        for (std::size_t i = assignments.size(); i-- > 0;)
            for (std::size_t j = i + 1; j < assignments.size(); ++j)
                if (assignments[j].name == assignments[i].name && assignments[i].name != "point" &&
                    !isListName(assignments[i].name)) {
                    assignments.erase(assignments.begin() + static_cast<std::ptrdiff_t>(i));
                    break;
                }
        capacity::applyAssignments(inputs, assignments);
        persist::keepNotGiven(fileDefaults, inputs, assignments);
        if (!fileDefaults.empty()) err << persist::defaultsNote(fileDefaults) << '\n';
        applyVerticalOptions(options.vertical, inputs);
        if (options.points.size() > 200) throw UsageError{"标定点至多 200 个"};
        if (!options.points.empty() && !pointCountGiven) {
            if (options.points.size() < 2) throw UsageError{"标定点至少 2 个"};
            inputs.setText("ComboBox2", std::to_string(options.points.size()));
            capacity::applyPointCount(inputs);
        }
        for (std::size_t i = 0; i < options.points.size(); ++i) {
            inputs.grid().setCell(1, static_cast<int>(i) + 1, options.points[i].first);
            inputs.grid().setCell(2, static_cast<int>(i) + 1, options.points[i].second);
        }
        if (options.levelFor) {
            std::string_view value = *options.levelFor;
            const bool percent = value.ends_with('%');
            if (percent) value.remove_suffix(1);
            inputs.setText("LevelForValue", value);
            inputs.setItemIndex("LevelForMode", percent ? capacity::kLevelForByPercent : capacity::kLevelForByVolume);
        }
    } catch (const UsageError& e) {
        err << "kelvora-table: " << e.text << kSeeHelp;
        return kUsage;
    } catch (const capacity::VocabularyError& e) {
        err << "kelvora-table: " << e.what() << kSeeHelp;
        return kUsage;
    } catch (const persist::TankFileError& e) {
        err << "kelvora-table: " << e.what() << "\n";
        return kUsage;
    } catch (const kelvora::IoError& e) {
        err << "kelvora-table: " << e.what() << "\n";
        return kUsage;
    } catch (const std::filesystem::filesystem_error& e) {
        // A path on the command line that the system rejects is the command line's fault.
        err << "kelvora-table: " << pathErrorText(e) << kSeeHelp;
        return kUsage;
    }

    if (const std::string refusal = capacity::textLengthRefusal(inputs); !refusal.empty()) {
        err << refusal << '\n';
        return kValidation;
    }
    try {
        if (options.quick) {
            const auto outcome = capacity::QuickCalculation(inputs);
            if (outcome.stopped()) {
                err << outcome.message << '\n';
                return kValidation;
            }
            if (!outcome.note.empty()) err << outcome.note << '\n';
            out << inputs.text("Edit36") << '\n';
            return kOk;
        }
        if (options.compare) {
            std::vector<capacity::MethodRow> compared;
            const auto outcome = capacity::CompareMethods(inputs, compared);
            if (outcome.stopped()) {
                err << outcome.message << '\n';
                return kValidation;
            }
            writeComparison(compared, inputs, out);
            return kOk;
        }
        if (options.uncertainty) {
            std::vector<capacity::RowUncertainty> rows;
            const auto outcome = capacity::UncertaintyTable(inputs, rows);
            if (outcome.stopped()) {
                err << outcome.message << '\n';
                return kValidation;
            }
            capacity::ValueText value(inputs);
            capacity::RowList lines;
            lines.reserve(rows.size(), 40);
            for (const auto& row : rows) lines.append(capacity::uncertaintyLine(row, value(row.volume)));
            writeRows(lines, out);
            out.flush();
            return kOk;
        }
        if (options.vertical.table()) return runVerticalTables(options.vertical, inputs, out, err);
        if (options.identify) return runIdentify(inputs, options, out, err);
        if (options.quantity)
            return runQuantityRequest(inputs, *options.quantity, options.formula, options.out, out, err);
        if (options.levelFor) {
            const auto outcome = capacity::LevelForVolume(inputs);
            if (outcome.stopped()) {
                err << outcome.message << '\n';
                return kValidation;
            }
            out << inputs.text("LevelForResult") << '\n';
            return kOk;
        }
        if (options.chart) return writeChart(inputs, *options.chart, *options.out, out, err);
        if (options.out) {
            const TableFile file{options.format, *options.out};
            DirectPrinter printer;
            const auto made = makeTableFiles(inputs, {&file, 1}, printer);
            if (!made.note.empty()) err << made.note << '\n';
            if (!made.refusal.empty()) {
                err << made.refusal << '\n';
                return kValidation;
            }
            out << "保存成功！\n";
            return kOk;
        }
        capacity::RowList rows;
        const auto outcome = capacity::GenerateCapacityTable(inputs, rows);
        if (outcome.stopped()) {
            err << outcome.message << '\n';
            return kValidation;
        }
        if (!outcome.note.empty()) err << outcome.note << '\n';
        writeRows(rows, out);
        out.flush();
        return kOk;
    } catch (const capacity::InputConvertError& e) {
        err << errorReportText(e.what()) << '\n'
            << convertedInputLine(e, {options.assignments, options.tank.has_value()}) << '\n';
        return kErrorReport;
    } catch (const std::exception& e) {
        err << errorReportText(persist::userMessage(e)) << '\n';
        return kErrorReport;
    }
}

} // namespace kelvora::cli
