#include "cli/register.h"

#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "capacity/vocabulary.h"
#include "cli/batch.h"
#include "cli/document_application.h"
#include "output/csv_table.h"
#include "output/document_model.h"
#include "output/table_document.h"
#include "output/vertical_sheets.h"
#include "output/workbook_export.h"
#include "persist/atomic_file.h"
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
            if (i + 1 >= argc) throw Usage{std::string(arg) + " needs a value"};
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
                    throw Usage{"--formats takes pdf, xlsx, xls and csv, separated by commas"};
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
                throw Usage{"--jobs takes a whole number from 1 to 256"};
            o.jobs = n;
        } else
            throw Usage{"'" + std::string(arg) + "' does not go with --register"};
    }
    if (!haveRegister || !haveOut) throw Usage{"--register FILE goes with --out-dir DIR"};
    return o;
}

// A tank number as a file name: no separators, no characters the common desktops refuse,
// no leading point, at most 120 bytes without splitting a character.
std::string safeFileName(std::string_view number) {
    std::string name;
    for (const char c : number) {
        const auto u = static_cast<unsigned char>(c);
        const bool refused =
            u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name.push_back(refused ? '_' : c);
    }
    if (!name.empty() && name.front() == '.') name.front() = '_';
    if (name.size() > 120) {
        std::size_t cut = 120;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name;
}

// Every PDF is drawn on the main thread, which made the application and loaded the
// document fonts: Qt documents painting from other threads for images and printers, not
// for its PDF writer, and keeps font engines per thread. Drawing is a small part of a
// register's time next to the rows, the workbooks and the disk, which the workers share.
class PdfDrawer {
public:
    // From a worker: waits until the main thread has drawn the document; nothing and the
    // message in `refusal` when the fonts cannot show a character of its header.
    QByteArray draw(const output::TableDocument& doc, std::string& refusal) {
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

struct Tank {
    int line = 0;
    std::optional<MemoryInputs> inputs; // nothing when the row was refused while read
    std::string number, fileName, structure;
    std::string status = "ok", message, rows, capacity;
};

std::string structureWord(int page) {
    for (const auto& value : capacity::findTerm("structure")->values)
        if (value.index == page) return std::string(value.word);
    return {};
}

// The row's inputs: the referenced tank file's, then the row's non-empty cells.
void readRow(Tank& tank, const persist::RegisterTable& table, const persist::RegisterRow& row,
             const fs::path& base) {
    tank.line = row.line;
    const auto numberColumn = std::find(table.heading.begin(), table.heading.end(), "tank_number");
    if (numberColumn != table.heading.end()) {
        const auto i = static_cast<std::size_t>(numberColumn - table.heading.begin());
        if (i < row.cells.size()) tank.number = row.cells[i];
    }
    try {
        if (row.cells.size() > table.heading.size())
            for (std::size_t i = table.heading.size(); i < row.cells.size(); ++i)
                if (!row.cells[i].empty())
                    throw kelvora::Error("第" + std::to_string(row.line) + "行的格比标题多");
        MemoryInputs inputs = MemoryInputs::afterStartup();
        std::vector<capacity::Assignment> assignments;
        for (std::size_t i = 0; i < row.cells.size() && i < table.heading.size(); ++i) {
            if (row.cells[i].empty()) continue;
            if (table.heading[i] == kFileColumn)
                persist::loadTankFile(base / row.cells[i], inputs);
            else
                assignments.push_back({table.heading[i], row.cells[i], row.line});
        }
        capacity::applyAssignments(inputs, assignments);
        tank.number = inputs.text("TankNumber");
        tank.structure = structureWord(inputs.activePage());
        tank.inputs = std::move(inputs);
    } catch (const kelvora::Error& e) {
        tank.status = "refused";
        tank.message = e.what();
    }
}

void makeTables(Tank& tank, const Options& o, PdfDrawer& pdf) {
    MemoryInputs& inputs = *tank.inputs;
    auto refuse = [&](const std::string& message) {
        tank.status = "refused";
        tank.message = message;
    };
    if (const std::string refusal = capacity::textLengthRefusal(inputs); !refusal.empty())
        return refuse(refusal);
    capacity::RowList rows;
    const auto outcome = capacity::GenerateCapacityTable(inputs, rows);
    if (outcome.stopped()) return refuse(outcome.message);
    tank.message = outcome.note;
    tank.rows = std::to_string(rows.size());
    if (rows.size() > 0) {
        const std::string_view last = rows[rows.size() - 1];
        tank.capacity = last.substr(last.find(',') + 1);
    }
    const fs::path stem = o.outDir / tank.fileName;
    for (const auto& format : o.formats) {
        const std::string path = stem.string() + "." + format;
        if (format == "pdf") {
            if (const std::string refusal = output::documentRefusal(rows.size()); !refusal.empty())
                return refuse(refusal);
            const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
            std::string refusal;
            const QByteArray bytes = pdf.draw(
                output::describeTable(*read.description, inputs, rows, output::todayText()), refusal);
            if (!refusal.empty()) return refuse(refusal);
            persist::writeFileAtomically(
                path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        } else if (format == "csv") {
            output::saveCsvTable(path, rows, inputs.checked("CheckBox1"));
        } else {
            const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
            const auto vertical = output::verticalSheets(*read.description);
            if (!vertical.refusal.empty()) return refuse(vertical.refusal);
            output::SaveFileToExcel(path, rows, inputs.text("Edit9"), inputs.checked("CheckBox1"), {},
                                    vertical.sheets);
        }
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

std::string summaryText(const std::vector<Tank>& tanks) {
    std::string text = "tank_number,structure,rows,capacity,status,message\n";
    for (const auto& t : tanks) {
        for (const std::string* cell : {&t.number, &t.structure, &t.rows, &t.capacity, &t.status})
            text.append(csvCell(*cell)).push_back(',');
        text.append(csvCell(t.message)).push_back('\n');
    }
    return text;
}

// Refuses the register when two rows, or their file names, would share a name, or a row has
// no tank number: the message names the number (or the line).
std::string namingProblem(std::vector<Tank>& tanks) {
    std::map<std::string, const Tank*> byName;
    for (auto& t : tanks) {
        if (t.number.empty()) return "第" + std::to_string(t.line) + "行没有罐号（tank_number）";
        t.fileName = safeFileName(t.number);
        const auto [it, fresh] = byName.emplace(t.fileName, &t);
        if (!fresh)
            return "罐号“" + t.number + "”重复（第" + std::to_string(it->second->line) + "行和第" +
                   std::to_string(t.line) + "行）";
    }
    return {};
}

} // namespace

int runRegister(int argc, const char* const* argv, std::ostream& /*out: the results go to files*/,
                std::ostream& err) {
    Options o;
    try {
        o = parse(argc, argv);
    } catch (const Usage& e) {
        err << "kelvora-table: " << e.text << "\n(see kelvora-table --help)\n";
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
        std::vector<Tank> tanks(table.rows.size());
        const fs::path base = o.registerFile.parent_path();
        for (std::size_t i = 0; i < tanks.size(); ++i)
            readRow(tanks[i], table, table.rows[i], base);
        if (const std::string problem = namingProblem(tanks); !problem.empty()) {
            err << "kelvora-table: " << problem << '\n';
            return kValidation;
        }
        fs::create_directories(o.outDir);

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
                Tank& tank = tanks[i];
                if (tank.inputs) {
                    try {
                        makeTables(tank, o, pdfDrawer);
                    } catch (const std::exception& e) {
                        tank.status = "error";
                        tank.message = errorReportText(e.what());
                    }
                    tank.inputs.reset();
                }
                const std::size_t count = ++done;
                if (terminal) {
                    const std::lock_guard lock(progress);
                    err << "\r\033[K[" << count << '/' << tanks.size() << "] " << tank.number << std::flush;
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

        persist::writeFileAtomically(o.outDir / "summary.csv", summaryText(tanks));
        int status = kOk;
        for (const auto& t : tanks) {
            if (t.status == "error")
                status = kErrorReport;
            else if (t.status == "refused" && status == kOk)
                status = kValidation;
        }
        return status;
    } catch (const persist::RegisterError& e) {
        err << "kelvora-table: " << e.what() << '\n';
        return kValidation;
    } catch (const std::exception& e) {
        err << "kelvora-table: " << errorReportText(e.what()) << '\n';
        return kErrorReport;
    }
}

} // namespace kelvora::cli
