#include "cli/batch.h"

#include "cli/document_application.h"
#include "cli/register.h"
#include "cli/tank_options.h"
#include "cli/vertical_options.h"

#include "capacity/calibration_grid.h"
#include "capacity/display.h"
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
#include "output/csv_table.h"
#include "output/document_model.h"
#include "output/table_document.h"
#include "output/vertical_sheets.h"
#include "output/workbook_export.h"
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

constexpr std::string_view kUsageText = R"(usage: kelvora-table [--settings DIR] [--tank FILE] [--page N]
                     [--quick | --level-for VALUE[%] | --compare | --uncertainty | --chart N]
                     [--point LEVEL,VOLUME]... [--out FILE] [NAME=VALUE]...
       kelvora-table [--settings DIR] --page 1 --identify FILE [--level-column NAME]
                     [--in-column NAME] [--out-column NAME] [--cumulative-in-column NAME]
                     [--cumulative-out-column NAME] [--beta-zero] [NAME=VALUE]...
       kelvora-table --register FILE --out-dir DIR [--formats pdf,xlsx,xls,csv] [--jobs N]
       kelvora-table --inputs

Runs the capacity-table request (or, with --quick, the quick calculation, or with
--level-for, the level from a known volume) over the window's inputs, named by their
component names, and prints what the window would show.

  NAME=VALUE     sets an input by its readable name (D=2600, left.shape=cone,
                 inclined.low_end=right, point=0,0;1000,500; see --inputs), or by its
                 component name: an edit field or combo box takes the text (Edit1=2000,
                 ComboBox1=Kg/m^3); a pick list selects the item with that text
                 (ComboBox3=减去左封头容积, ComboBox2=12); a radio button or check box takes
                 1 or 0 (checking a radio button clears the others of its group). The
                 inputs of the 容积表 page count too (ExactGeometry=1, TankNumber=T-07).
  --page N       the structure page: 0 or 水平圆筒, 1 or 倾斜圆筒, 2 or 球罐, 3 or 罐容标定
                 (default 0).
  --point L,V    the next calibration point: level L (mm) in column 1, volume V (litres)
                 in column 2. Without ComboBox2=..., the point count follows the points.
  --quick        the quick calculation at the level of Edit35; prints the value of Edit36.
  --level-for V  the lowest level at which the tank holds at least V litres (kilograms
                 with CheckBox1=1), or with V ending in %, that percentage of the volume at
                 the tank's top level (D or A; for calibration points the highest point);
                 prints the level in mm, rounded up to 0.01 mm, and nothing else. Reads
                 Edit13, Edit31, Edit32, Edit33 like the quick calculation, not Edit35.
                 A volume above the capacity or below the volume at level 0 is refused
                 with a message, like a validation message.
  --compare      the table's levels by both methods, one line per row, no header:
                 "level,formula,exact,difference": the level as in the rows, the value by
                 the required formulas and by exact geometry as the table would show them,
                 and the unrounded exact − formula value rounded to two decimals.
  --uncertainty  the table's expanded uncertainty (k = 2), one line per row:
                 "level,value,U,U_rel": the level and value as in the rows, U to two
                 decimals in litres (kilograms with CheckBox1=1) and U/V in percent to three
                 decimals, empty where the value is 0. The standard uncertainties (k = 1)
                 come from UncertaintySection, UncertaintyLength, UncertaintyHead (mm),
                 UncertaintyAngle (degrees, α and β each), UncertaintyF, UncertaintyLevel
                 (mm), UncertaintyPointVolume (% of each point's volume) and
                 UncertaintyPointLevel (mm); at least one must be given.
  --identify FILE  the inclined tank's α and β from a station's records (变位识别): FILE
                 holds one record per row (CSV in UTF-8 or GBK, .xls or .xlsx) with the
                 probe's level in mm and the litres moved, per record or cumulative. The
                 columns are recognised by their headings (显示油高/mm, 进油量/L, 出油量/L,
                 累加进油量/L, 累加出油量/L, ...) or named by the column options. Prints
                 "low_end,left|right", "alpha,VALUE,ERROR", "beta,VALUE,ERROR", "F,VALUE"
                 (Edit39 for that low end, the probe kept where it is),
                 "start_volume,VALUE,ERROR", "rms,VALUE", "max_residual,VALUE" and
                 "records,USED,SKIPPED". Reads the tank as --level-for does;
                 ExactGeometry=1 fits by exact geometry. A refusal (too few records, too
                 narrow a range of levels, no convergence) exits 1, a file that cannot be
                 read 2.
  --beta-zero    with --identify: β fixed at 0, only α and the starting volume fitted.
  --settings DIR before everything else, loads DIR/Config.ini and DIR/bd.txt as the
                 window does at start-up (ComboBox2, ComboBox3 and ComboBox4 as stored;
                 8 points and "add" when the file holds none of their items). A bd.txt
                 that is there but cannot be read is reported on standard error.
  --out FILE     writes the table to FILE and prints 保存成功！ instead of the rows; the
                 name's ending (any case) chooses the format: .xls an Excel 97-2003
                 workbook, .xlsx a workbook, .pdf the A4 capacity-table document (at most
                 100000 rows; header from TankNumber=, TankOwner= and the inputs), .csv
                 UTF-8 text, the heading line 高度cm,容积L (高度cm,重量Kg with CheckBox1=1)
                 then the rows as printed. Any other ending is a wrong command line. A file
                 that is write-protected is refused and stays as it was.
  --tank FILE    after --settings, sets every input from the tank file FILE (inputs it
                 does not name as after a start without a settings file); NAME=VALUE
                 arguments then override it.
  --chart N      with --out FILE.csv: the gauge console's chart, N + 1 lines
                 "level,volume" (mm, litres) at equal level steps from 0 to the top level
                 (calibration points: lowest to highest point), after "#" lines giving the
                 tank number, the top level and the full volume; N from 1 to 1000.
  --register F   makes the tables of every tank (row) of the register F, a CSV whose
                 heading row names the inputs (a column "file" names a tank file, relative
                 to F, that the row's other cells override; "point" cells hold
                 L,V;L,V;...), into --out-dir DIR, one file per format and tank named by
                 its tank_number, in parallel over --jobs N workers (default: the cores),
                 then DIR/summary.csv (tank_number, structure, rows, capacity, status,
                 message). Exit 0 when every row succeeded, 1 when any was refused.
  --inputs       lists every readable input name: name, component, caption, unit, values.
  --help         this text.

Inputs not given are as after a start-up without a settings file: edit fields empty, no
radio button checked, ComboBox2 on 8, ComboBox3 and ComboBox4 on their first item,
ComboBox1 empty.

Without --quick the table's rows are printed one per line, "level,value" (level in cm,
value in litres, or kilograms with CheckBox1=1). Levels beyond the calibration points are
extrapolated; a line on standard error states which ("外推").

ExactGeometry=1 (the check box "按精确几何计算" of the "容积表" page) composes every volume
from the true geometry of the shell and heads instead of the required formulas; a head or
shell whose dimensions describe no solid then ends the request with a message naming it.
Calibration points are the volumes themselves in either method; --compare refuses them.

A request is refused with a message naming the part (status 1, nothing written) when the
inputs describe no tank: a dimension of zero or less, a head that its dimensions make no
head, an inclination of 45° or more, a first level below 0 or above the last, calibration
points whose levels do not rise or whose volumes fall, in weight mode a missing or
unusable density or no unit (ComboBox1) chosen, or a level whose volume cannot be
computed or is negative.

Exit status: 0 success; 1 a validation message or a --level-for or --identify refusal (on standard
error, as the window shows it); 2 an error report (on standard error, as the window shows it); 3 a wrong command line
(without any argument, this text on standard error).
)";

constexpr std::array<std::string_view, 5> kPageCaptions{"水平圆筒", "倾斜圆筒", "球罐", "罐容标定",
                                                        "立式圆筒"};

struct UsageError {
    std::string text;
};

enum class OutFormat { Xls, Xlsx, Pdf, Csv };

std::optional<OutFormat> outFormatFor(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string ending(name.substr(dot));
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ending == ".xls") return OutFormat::Xls;
    if (ending == ".xlsx") return OutFormat::Xlsx;
    if (ending == ".pdf") return OutFormat::Pdf;
    if (ending == ".csv") return OutFormat::Csv;
    return std::nullopt;
}

std::optional<int> pageFrom(std::string_view arg) {
    for (int i = 0; i < static_cast<int>(kPageCaptions.size()); ++i)
        if (arg == kPageCaptions[i] || arg == std::to_string(i)) return i;
    return std::nullopt;
}

int chartIntervals(std::string_view text) {
    const auto n = parseChartIntervals(text);
    if (!n) throw UsageError{"--chart takes a whole number from 1 to 1000"};
    return *n;
}

struct Options {
    bool quick = false;
    bool compare = false;
    bool uncertainty = false;
    bool betaZero = false;
    std::optional<std::string> identify;
    identify::ColumnNames columns;
    bool columnsGiven = false;
    std::optional<std::string> settings, out, levelFor, tank;
    std::optional<int> chart;
    OutFormat format = OutFormat::Xls;
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
            if (i + 1 >= argc) throw UsageError{std::string(arg) + " needs a value"};
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
        else if (arg == "--level-column") o.columns.level = next(), o.columnsGiven = true;
        else if (arg == "--in-column") o.columns.in = next(), o.columnsGiven = true;
        else if (arg == "--out-column") o.columns.out = next(), o.columnsGiven = true;
        else if (arg == "--cumulative-in-column") o.columns.cumulativeIn = next(), o.columnsGiven = true;
        else if (arg == "--cumulative-out-column") o.columns.cumulativeOut = next(), o.columnsGiven = true;
        else if (arg == "--page") {
            const auto page = pageFrom(next());
            if (!page) throw UsageError{"--page takes 0 to 4 or a page caption"};
            o.page = *page;
        } else if (arg == "--point") {
            const std::string_view point = next();
            const auto comma = point.find(',');
            if (comma == std::string_view::npos) throw UsageError{"--point takes LEVEL,VOLUME"};
            o.points.emplace_back(point.substr(0, comma), point.substr(comma + 1));
        } else if (takeVerticalOption(arg, next, o.vertical)) {
        } else if (arg.starts_with("--")) {
            unknown += "\nkelvora-table: unknown option '" + std::string(arg) + "'";
        } else {
            const auto eq = arg.find('=');
            if (eq != std::string_view::npos && !capacity::findAnyInput(arg.substr(0, eq)) &&
                !capacity::findTerm(arg.substr(0, eq)))
                unknown += "\nkelvora-table: unknown input '" + std::string(arg.substr(0, eq)) + "'";
            o.assignments.push_back(arg);
        }
    }
    if (!unknown.empty()) throw UsageError{unknown.substr(std::string_view("\nkelvora-table: ").size())};
    if (o.out) {
        const auto format = outFormatFor(*o.out);
        if (!format) throw UsageError{"--out: '" + *o.out + "' does not end in .xls, .xlsx, .pdf or .csv"};
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
        throw UsageError{"--settings: '" + dir + "': " + ec.message()};
    if (!std::filesystem::is_directory(status)) throw UsageError{"--settings: '" + dir + "' is not a directory"};
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
    const identify::Records records =
        identify::extractRecords(sheet, identify::chooseColumns(sheet.heading, options.columns));
    const auto outcome = identify::IdentifyTilt(inputs, records, options.betaZero);
    if (outcome.stopped()) {
        err << outcome.message << '\n';
        return kValidation;
    }
    for (const std::string& line : identify::resultLines(*outcome.fit)) out << line << '\n';
    out.flush();
    return kOk;
}

} // namespace

int runBatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc <= 1) {
        err << kUsageText;
        return kUsage;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            out << kUsageText << verticalUsageText();
            return kOk;
        }
        if (arg == "--inputs") return printVocabulary(out);
        if (arg == "--register") return runRegister(argc, argv, out, err);
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
        if (options.chart && (options.quick || options.compare || options.levelFor || options.identify || !options.out))
            throw UsageError{"--chart N goes with --out FILE.csv, and with neither --quick, --compare nor --level-for"};
        if (options.quick && options.out) throw UsageError{"--out goes with a table, not with --quick"};
        if (options.levelFor && (options.quick || options.out))
            throw UsageError{"--level-for goes with neither --quick nor --out"};
        if (options.compare && (options.quick || options.out || options.levelFor))
            throw UsageError{"--compare prints the table's rows; it goes with neither --quick, --level-for nor --out"};
        if (options.uncertainty && (options.quick || options.out || options.levelFor || options.compare))
            throw UsageError{"--uncertainty prints the table's rows; it goes with neither --quick, --level-for, --compare nor --out"};
        if (options.identify && (options.quick || options.out || options.levelFor || options.compare))
            throw UsageError{"--identify goes with neither --quick, --level-for, --compare nor --out"};
        if (options.vertical.table() &&
            (options.quick || options.out || options.levelFor || options.compare || options.uncertainty ||
             options.identify || options.chart ||
             (options.vertical.hydrostatic && options.vertical.fractions)))
            throw UsageError{
                "--hydrostatic and --fractions go alone: with neither each other, --quick, --level-for, "
                "--compare, --uncertainty, --identify, --chart nor --out"};
        if (!options.identify && (options.columnsGiven || options.betaZero))
            throw UsageError{"the column options and --beta-zero go with --identify"};
        inputs.setActivePage(options.page);
        if (options.tank) persist::loadTankFile(*options.tank, inputs);
        bool pointCountGiven = false;
        std::vector<capacity::Assignment> assignments;
        for (auto assignment : options.assignments) {
            const auto eq = assignment.find('=');
            if (eq == std::string_view::npos)
                throw UsageError{"expected NAME=VALUE, got '" + std::string(assignment) + "'"};
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
        applyVerticalOptions(options.vertical, inputs);
        if (options.points.size() > 200) throw UsageError{"at most 200 calibration points"};
        if (!options.points.empty() && !pointCountGiven) {
            if (options.points.size() < 2) throw UsageError{"at least 2 calibration points"};
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
        err << "kelvora-table: " << e.text << "\n(see kelvora-table --help)\n";
        return kUsage;
    } catch (const capacity::VocabularyError& e) {
        err << "kelvora-table: " << e.what() << "\n(see kelvora-table --help)\n";
        return kUsage;
    } catch (const persist::TankFileError& e) {
        err << "kelvora-table: " << e.what() << "\n";
        return kUsage;
    } catch (const kelvora::IoError& e) {
        err << "kelvora-table: " << e.what() << "\n";
        return kUsage;
    } catch (const std::filesystem::filesystem_error& e) {
        // A path on the command line that the system rejects is the command line's fault.
        err << "kelvora-table: " << e.what() << "\n(see kelvora-table --help)\n";
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
        capacity::RowList rows;
        const auto outcome = capacity::GenerateCapacityTable(inputs, rows);
        if (outcome.stopped()) {
            err << outcome.message << '\n';
            return kValidation;
        }
        if (!outcome.note.empty()) err << outcome.note << '\n';
        if (options.out && options.format == OutFormat::Pdf) {
            std::string refusal = output::documentRefusal(rows.size());
            if (refusal.empty()) refusal = output::documentInputsRefusal(inputs);
            if (!refusal.empty()) {
                err << refusal << '\n';
                return kValidation;
            }
            const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
            const DocumentApplication application;
            const auto doc = output::describeTable(*read.description, inputs, rows, output::todayText());
            if (const std::string unprintable = output::unprintableCharacterRefusal(doc); !unprintable.empty()) {
                err << unprintable << '\n';
                return kValidation;
            }
            output::saveTableDocumentPdf(*options.out, doc);
            out << "保存成功！\n";
            return kOk;
        }
        if (options.out && options.format == OutFormat::Csv) {
            output::saveCsvTable(*options.out, rows, inputs.checked("CheckBox1"));
            out << "保存成功！\n";
            return kOk;
        }
        if (options.out) {
            // The tank's sheet prints what the document's header does, with the same refusals.
            if (const std::string refusal = output::documentInputsRefusal(inputs); !refusal.empty()) {
                err << refusal << '\n';
                return kValidation;
            }
            const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
            const auto tank =
                output::tankSheetFields(output::describeTable(*read.description, inputs, rows, output::todayText(), false));
            const auto vertical = output::verticalSheets(*read.description);
            if (!vertical.refusal.empty()) {
                err << vertical.refusal << '\n';
                return kValidation;
            }
            output::SaveFileToExcel(*options.out, rows, inputs.text("Edit9"), inputs.checked("CheckBox1"),
                                    tank, vertical.sheets);
            out << "保存成功！\n";
            return kOk;
        }
        writeRows(rows, out);
        out.flush();
        return kOk;
    } catch (const std::exception& e) {
        err << errorReportText(e.what()) << '\n';
        return kErrorReport;
    }
}

} // namespace kelvora::cli
