#include "cli/register.h"

#include "capacity/input_table.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "capacity/vocabulary.h"
#include "cli/batch.h"
#include "cli/document_application.h"
#include "cli/register_lock.h"
#include "cli/register_names.h"
#include "cli/table_files.h"
#include "kernel/number_text.h"
#include "cli/register_quantity.h"
#include "cli/usage_messages.h"
#include "output/table_document.h"
#include "persist/atomic_file.h"
#include "persist/io_error.h"
#include "persist/file_name.h"
#include "persist/io_error.h"
#include "persist/register_file.h"
#include "persist/tank_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kelvora::cli {

namespace {

namespace fs = std::filesystem;
using capacity::MemoryInputs;

constexpr std::array<std::string_view, 4> kFormats{"pdf", "xlsx", "xls", "csv"};
constexpr std::string_view kFileColumn = "file";
constexpr const char* kSummaryName = "summary.csv";

// summary.csv cannot be written: the message names it.
struct SummaryError {
    std::string text;
};

struct Usage {
    std::string text;
};

struct Options {
    fs::path registerFile, outDir;
    std::vector<std::string> formats{"pdf", "xlsx"};
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
};

Options parse(int argc, const char* const* argv) {
    Options o;
    bool haveOut = false, haveRegister = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto next = [&]() -> std::string_view {
            if (i + 1 >= argc) throw Usage{std::string(arg) + " 需要一个值"};
            return argv[++i];
        };
        if (arg == "--register")
            o.registerFile = std::string(next()), haveRegister = true;
        else if (arg == "--out-dir")
            o.outDir = std::string(next()), haveOut = true;
        else if (arg == "--formats") {
            o.formats.clear();
            std::string_view list = next();
            while (true) {
                const auto comma = list.find(',');
                const std::string_view format = list.substr(0, comma);
                if (std::find(kFormats.begin(), kFormats.end(), format) == kFormats.end())
                    throw Usage{"--formats 取 pdf、xlsx、xls 和 csv，以逗号分隔"};
                if (std::find(o.formats.begin(), o.formats.end(), format) == o.formats.end())
                    o.formats.emplace_back(format);
                if (comma == std::string_view::npos) break;
                list.remove_prefix(comma + 1);
            }
        } else if (arg == "--jobs") {
            const std::string_view text = next();
            unsigned n = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > 256)
                throw Usage{"--jobs 取 1 到 256 的整数"};
            o.jobs = n;
        } else
            throw Usage{"“" + std::string(arg) + "”不与 --register 同用"};
    }
    if (!haveRegister || !haveOut) throw Usage{"--register FILE 须与 --out-dir DIR 同用"};
    return o;
}

// Every PDF is drawn on the main thread, which made the application and loaded the
// document fonts: Qt documents painting from other threads for images and printers, not
// for its PDF writer, and keeps font engines per thread. Drawing is a small part of a
// register's time next to the rows, the workbooks and the disk, which the workers share.
class PdfDrawer : public DocumentPrinter {
public:
    // From a worker: waits until the main thread has drawn the document; nothing and the
    // message in `refusal` when the fonts cannot show a character of its header.
    QByteArray print(const output::TableDocument& doc, std::string& refusal) override {
        std::promise<QByteArray> promise;
        auto drawn = promise.get_future();
        {
            const std::lock_guard lock(mutex_);
            jobs_.push_back({&doc, &promise, &refusal});
        }
        wake_.notify_all();
        return drawn.get();
    }
    // On the main thread: draws until every worker has finished.
    void serve(std::size_t workers) {
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [&] { return !jobs_.empty() || finished_ == workers; });
            if (jobs_.empty()) return;
            const Job job = jobs_.front();
            jobs_.pop_front();
            lock.unlock();
            try {
                *job.refusal = output::unprintableCharacterRefusal(*job.doc);
                job.promise->set_value(job.refusal->empty() ? output::tableDocumentPdf(*job.doc)
                                                            : QByteArray());
            } catch (...) {
                job.promise->set_exception(std::current_exception());
            }
            lock.lock();
        }
    }
    void workerFinished() {
        {
            const std::lock_guard lock(mutex_);
            ++finished_;
        }
        wake_.notify_all();
    }

private:
    struct Job {
        const output::TableDocument* doc;
        std::promise<QByteArray>* promise;
        std::string* refusal;
    };
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    std::size_t finished_ = 0;
};

enum class Status { Running, Done, Refused, Failed };

// A row as the register keeps it while the tables are made: its inputs are built by the
// worker that makes its files and dropped after, so a register's memory holds its cells,
// not a full set of inputs per row.
struct Tank {
    const persist::RegisterRow* row = nullptr;
    std::string number, fileName, structure;
    Status status = Status::Running;
    std::string message, rows, capacity;
    std::optional<QuantityCells> quantity; // with quantity columns in the register
};

std::string statusText(Status status) {
    switch (status) {
    case Status::Running:
        return "进行中";
    case Status::Done:
        return "成功";
    case Status::Refused:
        return "拒绝";
    case Status::Failed:
        return "失败";
    }
    return {};
}

std::string structureWord(int page) {
    for (const auto& value : capacity::findTerm("structure")->values)
        if (value.index == page) return std::string(value.word);
    return {};
}

std::string lineText(int line) {
    return "第" + std::to_string(line) + "行";
}

std::string inQuotes(std::string_view text) {
    return "“" + std::string(text) + "”";
}

// Whether a column's cells are numbers: the edit fields that take digits, a head's
// dimensions and the calibration points.
enum class CellKind { Text, Number, Points };

CellKind cellKind(std::string_view column) {
    auto edit = [](std::string_view component) {
        const capacity::InputInfo* input = capacity::findAnyInput(component);
        return input && input->kind == capacity::InputKind::Edit && input->filter != capacity::KeyFilter::None
                   ? CellKind::Number
                   : CellKind::Text;
    };
    if (const capacity::Term* term = capacity::findTerm(column)) {
        switch (term->kind) {
        case capacity::TermKind::Text:
            return edit(term->component);
        case capacity::TermKind::HeadSize:
            return CellKind::Number;
        case capacity::TermKind::Points:
            return CellKind::Points;
        default:
            return CellKind::Text;
        }
    }
    return edit(column);
}

// The refusal of a cell holding text where a number belongs; "" for a number or text that
// may stand there. An empty cell (an empty part of a point too) is a value not given.
std::string cellRefusal(std::string_view column, std::string_view cell, int line) {
    auto number = [](std::string_view text) {
        return text.empty() || kernel::tryStrToFloat(text).has_value();
    };
    const CellKind kind = cellKind(column);
    bool ok = true;
    if (kind == CellKind::Number)
        ok = number(cell);
    else if (kind == CellKind::Points)
        for (const auto& [level, volume] : capacity::splitPoints(cell))
            ok = ok && number(level) && number(volume);
    if (ok) return {};
    return lineText(line) + inQuotes(column) + "列的" + inQuotes(cell) + "不是数字";
}

// The row's inputs: the referenced tank file's, then the row's non-empty cells.
MemoryInputs readRow(const persist::RegisterTable& table, const persist::RegisterRow& row,
                     const fs::path& base) {
    MemoryInputs inputs = MemoryInputs::afterStartup();
    std::vector<capacity::Assignment> assignments;
    for (std::size_t i = 0; i < row.cells.size() && i < table.heading.size(); ++i) {
        if (row.cells[i].empty()) continue;
        if (table.heading[i] == kFileColumn)
            persist::loadTankFile(base / row.cells[i], inputs);
        else if (const std::string refusal = cellRefusal(table.heading[i], row.cells[i], row.line);
                 !refusal.empty())
            throw kelvora::Error(refusal);
        else
            assignments.push_back({table.heading[i], row.cells[i], row.line});
    }
    if (row.cells.size() > table.heading.size())
        for (std::size_t i = table.heading.size(); i < row.cells.size(); ++i)
            if (!row.cells[i].empty()) throw kelvora::Error(lineText(row.line) + "的格比标题多");
    capacity::applyAssignments(inputs, assignments);
    return inputs;
}

// The row's tank number from its cells, without building its inputs: the component's
// column over the readable name's (as the assignments apply them), else the tank file's
// number. Empty when the row gives none; `problem` then says why a tank file it names
// could not give one.
std::string numberOfRow(const persist::RegisterTable& table, const persist::RegisterRow& row,
                        const fs::path& base, std::string& problem) {
    std::string number;
    const std::string* file = nullptr;
    for (std::size_t i = 0; i < row.cells.size() && i < table.heading.size(); ++i) {
        if (row.cells[i].empty()) continue;
        if (table.heading[i] == "TankNumber" || (table.heading[i] == "tank_number" && number.empty()))
            number = row.cells[i];
        else if (table.heading[i] == kFileColumn)
            file = &row.cells[i];
    }
    if (!number.empty() || !file) return number;
    try {
        MemoryInputs inputs = MemoryInputs::afterStartup();
        persist::loadTankFile(base / *file, inputs);
        return inputs.text("TankNumber");
    } catch (const kelvora::Error& e) {
        problem = e.what();
        return {};
    }
}

std::string csvCell(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string cell = "\"";
    for (const char c : text) {
        if (c == '"') cell.push_back('"');
        cell.push_back(c);
    }
    return cell + "\"";
}

// With a byte-order mark, so a spreadsheet on Chinese Windows reads the text as UTF-8.
std::string summaryText(const std::vector<Tank>& tanks, bool withQuantity) {
    std::string text = "\xEF\xBB\xBF罐号,结构,行数,容量,状态,信息\n";
    for (const auto& t : tanks) {
        const std::string status = statusText(t.status);
        for (const std::string* cell : {&t.number, &t.structure, &t.rows, &t.capacity, &status})
            text.append(csvCell(*cell)).push_back(',');
        text.append(csvCell(t.message)).push_back('\n');
    }
    if (!withQuantity) return text;
    std::vector<std::optional<QuantityCells>> quantities;
    for (const auto& t : tanks)
        quantities.push_back(t.quantity);
    return withQuantityColumns(text, quantities);
}

void writeSummary(const fs::path& path, const std::vector<Tank>& tanks, bool withQuantity) {
    try {
        persist::writeFileAtomically(path, summaryText(tanks, withQuantity));
    } catch (const std::exception& e) {
        throw SummaryError("无法写入汇总文件" + inQuotes(path.string()) + "：" + e.what());
    }
}

std::vector<TableFile> filesOf(const Tank& tank, const Options& o) {
    std::vector<TableFile> files;
    for (const auto& format : o.formats)
        files.push_back({*tableFormatFor("." + format), o.outDir / (tank.fileName + "." + format)});
    return files;
}

// Refuses the register when a row has no tank number, or a file of one row would be
// another row's, summary.csv or the register itself, on any file system the tables may
// be copied to: the message names the rows.
std::string namingProblem(std::vector<Tank>& tanks, const Options& o) {
    std::error_code ec;
    const fs::path registerFile = fs::weakly_canonical(o.registerFile, ec);
    const bool besideRegister =
        !ec && fs::weakly_canonical(o.outDir, ec) == registerFile.parent_path() && !ec;
    const std::string registerKey = clashKey(registerFile.filename().string());
    const std::string summaryKey = clashKey(kSummaryName);
    std::map<std::string, const Tank*> byKey;
    for (auto& t : tanks) {
        if (t.number.empty())
            return lineText(t.row->line) + "没有罐号（tank_number）" +
                   (t.message.empty() ? "" : "：" + t.message);
        t.fileName = safeFileName(t.number);
        for (const auto& format : o.formats) {
            const std::string key = clashKey(t.fileName + "." + format);
            if (key == summaryKey)
                return lineText(t.row->line) + "罐号" + inQuotes(t.number) + "的文件名与汇总文件" +
                       inQuotes(kSummaryName) + "相同";
            if (besideRegister && key == registerKey)
                return lineText(t.row->line) + "罐号" + inQuotes(t.number) + "的文件名与登记表" +
                       inQuotes(o.registerFile.string()) + "相同";
        }
        const auto [it, fresh] = byKey.emplace(clashKey(t.fileName), &t);
        if (fresh) continue;
        const Tank& first = *it->second;
        const std::string rows = "（" + lineText(first.row->line) + "和" + lineText(t.row->line) + "）";
        if (first.number == t.number) return "罐号" + inQuotes(t.number) + "重复" + rows;
        return "罐号" + inQuotes(t.number) + "重复：与" + inQuotes(first.number) + "的文件名相同" + rows;
    }
    return {};
}

// A symbolic link at one of the register's names is the folder's entry, not the file it
// leads to: it is replaced, and what it points to is never written.
void removeLink(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(path, ec)) fs::remove(path, ec);
}

// The files of a row refused or failed in this run: a table left from an earlier run
// would stand beside a summary that refuses it.
std::string removeFiles(const std::vector<TableFile>& files) {
    std::string kept;
    for (const auto& file : files) {
        std::error_code ec;
        fs::remove(file.path, ec);
        if (ec) kept += "；旧文件" + inQuotes(file.path.string()) + "无法删除";
    }
    return kept;
}

void makeTank(Tank& tank, const persist::RegisterTable& table, const fs::path& base, const Options& o,
              DocumentPrinter& printer, bool withQuantity) {
    const std::vector<TableFile> files = filesOf(tank, o);
    std::optional<MemoryInputs> inputs;
    // The row's cells and the tank file it names are the row's own fault; the table and
    // its files are not.
    try {
        inputs = readRow(table, *tank.row, base);
        tank.structure = structureWord(inputs->activePage());
    } catch (const kelvora::Error& e) {
        tank.status = Status::Refused;
        tank.message = e.what();
    } catch (const std::exception& e) {
        tank.status = Status::Failed;
        tank.message = errorReportText(persist::userMessage(e));
    }
    if (inputs) {
        try {
            for (const auto& file : files)
                removeLink(file.path);
            const TableFilesOutcome made = makeTableFiles(*inputs, files, printer);
            tank.status = made.refusal.empty() ? Status::Done : Status::Refused;
            tank.message = made.refusal.empty() ? made.note : made.refusal;
            if (made.refusal.empty()) {
                tank.rows = std::to_string(made.rows);
                tank.capacity = made.capacity;
                if (withQuantity) {
                    std::string quantityStatus = "ok";
                    tank.quantity = registerQuantity(*inputs, quantityStatus, tank.message);
                    if (quantityStatus != "ok") tank.status = Status::Refused;
                }
            }
        } catch (const std::exception& e) {
            tank.status = Status::Failed;
            tank.message = errorReportText(persist::userMessage(e));
        }
    }
    if (tank.status != Status::Done) tank.message += removeFiles(files);
}

} // namespace

int runRegister(int argc, const char* const* argv, std::ostream& /*out: the results go to files*/,
                std::ostream& err) {
    Options o;
    try {
        o = parse(argc, argv);
    } catch (const Usage& e) {
        err << "kelvora-table: " << e.text << kSeeHelp;
        return kUsage;
    }
    try {
        const persist::RegisterTable table = persist::readRegister(o.registerFile);
        for (const auto& name : table.heading)
            if (!name.empty() && name != kFileColumn && !capacity::findTerm(name) &&
                !capacity::findAnyInput(name)) {
                err << "kelvora-table: 登记表的列“" << name
                    << "”不是输入的名称（见 kelvora-table --inputs）\n";
                return kValidation;
            }
        if (table.rows.size() > kMaxRegisterTanks) {
            err << "kelvora-table: 登记表有" << table.rows.size() << "个罐，一个登记表最多"
                << kMaxRegisterTanks << "个罐，请分成几个登记表\n";
            return kValidation;
        }
        // Every name is settled on the cells before any row's inputs are built.
        std::vector<Tank> tanks(table.rows.size());
        const fs::path base = o.registerFile.parent_path();
        for (std::size_t i = 0; i < tanks.size(); ++i) {
            tanks[i].row = &table.rows[i];
            tanks[i].number = numberOfRow(table, table.rows[i], base, tanks[i].message);
        }
        if (const std::string problem = namingProblem(tanks, o); !problem.empty()) {
            err << "kelvora-table: " << problem << '\n';
            return kValidation;
        }
        if (std::error_code ec; !fs::create_directories(o.outDir, ec) && ec) {
            err << "kelvora-table: 无法创建文件夹“" << o.outDir.string() << "”："
                << persist::ioReason(ec.value()) << '\n';
            return kErrorReport;
        }
        removeLink(o.outDir / kRegisterLockName);
        const RegisterLock lock(o.outDir);
        // Before any table is replaced: a register stopped half-way leaves no earlier
        // run's "成功" beside this run's tables.
        const fs::path summary = o.outDir / kSummaryName;
        const bool withQuantity = namesQuantityInputs(table.heading);
        removeLink(summary);
        writeSummary(summary, tanks, withQuantity);

        const bool pdf = std::find(o.formats.begin(), o.formats.end(), "pdf") != o.formats.end();
        const DocumentApplication application(pdf);
        // The fonts are loaded once, here on the main thread, before any worker draws.
        if (pdf) output::documentFontFamilies();

        std::atomic<std::size_t> nextTank{0}, done{0};
        std::mutex progress;
        const bool terminal = isatty(STDERR_FILENO) == 1;
        PdfDrawer pdfDrawer;
        auto work = [&] {
            // However this worker ends, the drawer stops waiting for it.
            struct Finished {
                PdfDrawer& drawer;
                ~Finished() { drawer.workerFinished(); }
            } finished{pdfDrawer};
            for (std::size_t i; (i = nextTank++) < tanks.size();) {
                makeTank(tanks[i], table, base, o, pdfDrawer, withQuantity);
                const std::size_t count = ++done;
                if (terminal) {
                    const std::lock_guard lock(progress);
                    err << "\r\033[K[" << count << '/' << tanks.size() << "] " << tanks[i].number
                        << std::flush;
                }
            }
        };
        std::vector<std::thread> workers;
        const unsigned n =
            std::min<unsigned>(o.jobs, static_cast<unsigned>(std::max<std::size_t>(tanks.size(), 1)));
        for (unsigned k = 0; k < n; ++k)
            workers.emplace_back(work);
        pdfDrawer.serve(n);
        for (auto& w : workers)
            w.join();
        if (terminal && !tanks.empty()) err << '\n';

        int status = kOk;
        for (const auto& t : tanks) {
            if (t.status == Status::Done) continue;
            err << lineText(t.row->line) << "（" << t.number << "）" << statusText(t.status) << "："
                << t.message << '\n';
            if (t.status == Status::Failed)
                status = kErrorReport;
            else if (status == kOk)
                status = kValidation;
        }
        writeSummary(summary, tanks, withQuantity);
        return status;
    } catch (const SummaryError& e) {
        err << "kelvora-table: " << e.text << '\n';
        return kErrorReport;
    } catch (const FolderBusy& e) {
        err << "kelvora-table: " << e.what() << '\n';
        return kErrorReport;
    } catch (const persist::RegisterError& e) {
        err << "kelvora-table: " << e.what() << '\n';
        return kValidation;
    } catch (const std::exception& e) {
        err << "kelvora-table: " << errorReportText(persist::userMessage(e)) << '\n';
        return kErrorReport;
    }
}

} // namespace kelvora::cli
