#include "output/table_document.h"

#include "kernel/errors.h"
#include "persist/atomic_file.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <mutex>
#include <numeric>

namespace kelvora::output {

namespace {

constexpr double kBodyPoints = 9;
constexpr double kTitlePoints = 16;
constexpr double kRunningPoints = 8;
constexpr double kTitleHeight = 12;   // mm, the title line of the first page
constexpr double kFieldHeight = 5.5;  // mm, one line of the header block
constexpr double kBlockGap = 3;       // mm, between the header block and the table
constexpr double kCellPadding = 1.2;  // mm, inside a cell on each side
constexpr double kFieldGap = 6;       // mm, between two fields on one line
constexpr double kMinTablePoints = 5; // a table narrower than its texts shrinks to this at most
constexpr int kMaxFieldLines = 3;     // a header field wraps to this many lines, the last one cut with "…"
constexpr double kRunningGap = 4;     // mm, between the tank number and the page number
constexpr double kPointHeight = 4.5;  // mm, one line of the calibration points
constexpr double kPointTripleWidth = 45; // mm, one "序号 高度 mm 容积 L" group of the points
constexpr double kPairSlack = 1.1;    // a pair of extra columns: its widest texts and a tenth more
constexpr double kStampBox = 30;      // mm, the side of the stamp box, square
constexpr double kSectionHeight = 10; // mm, the title line above an appendix's table
// More characters than a line or a few lines can show are never measured: what is cut
// off there does not change what is drawn, and the time stays that of a short text.
constexpr qsizetype kMeasuredCharacters = 1024;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString pageNumberText(int page, int pages) {
    return QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pages);
}

QString loadFont(const char* file) {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) throw IoError(std::string("无法载入字体文件 ") + file);
    return families.first();
}

// Sizes on the device: millimetres to device pixels.
struct Scale {
    double perMm;
    double operator()(double mm) const { return mm * perMm; }
};

QFont documentFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies(documentFontFamilies());
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// One line of the header block: one or two fields, each with its value's lines (a long
// value on a line of its own wraps).
struct HeaderField {
    int index = 0; // into doc.fields
    QStringList lines;
};
struct FieldLine {
    std::vector<HeaderField> fields;
    int lineCount() const {
        qsizetype n = 1;
        for (const auto& f : fields)
            n = std::max(n, f.lines.size());
        return static_cast<int>(n);
    }
};

// One table's texts: the main one's level, value and extra columns, or an appendix's.
struct TableTexts {
    QString title; // above an appendix on its first page; none for the main table
    std::vector<std::string> headings;
    std::size_t rows = 0;
    std::function<std::string_view(std::size_t row, std::size_t column)> cell;
};

// Where one table's columns go: groups of its columns ("pairs") across every page, read
// down each group then across.
struct TableLayout {
    TableTexts texts;
    PageGrid grid;
    double rowHeight = 0;        // mm
    double pairWidth = 0;        // device pixels
    std::vector<double> columns; // widths inside a pair, device pixels
    QFont font;
    int pages = 1;
};

// Everything that decides where things go, worked out once before the first page.
struct Layout {
    Scale mm{1};
    double width = 0, height = 0; // device pixels inside the margins
    PageMetrics metrics;
    QFont body, bold, title, running;
    std::vector<FieldLine> fieldLines;
    int headerLines = 0;    // lines of the header block, a wrapped field counting each of its lines
    double fieldColumn = 0; // x of the second field of a line
    QString runningTitle;   // title and tank number above the table, cut to the room beside the page number
    int pointColumns = 1, pointLines = 0; // the calibration points: triples across, lines down
    std::vector<TableLayout> tables;      // the main table, then the appendices
    int pages = 1;                        // of all tables
    PageGrid grid;                        // the main table's
};

QString fieldText(const DocumentField& field) {
    return qs(field.label) + QStringLiteral("：") + qs(field.value);
}

// `text` cut to what `width` shows, ending in "…" where it was cut.
QString elided(const QFontMetricsF& fm, const QString& text, double width) {
    return fm.elidedText(text.left(kMeasuredCharacters), Qt::ElideRight, width);
}

// `text` broken into lines of `width` at word boundaries or anywhere, at most `maxLines`,
// the last one cut with "…" when the text goes on.
QStringList wrapped(const QString& whole, const QFont& font, const QPaintDevice& device, double width,
                    int maxLines) {
    const QString text = whole.left(kMeasuredCharacters * maxLines);
    QTextLayout layout(text, font, &device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            lines << elided(QFontMetricsF(font, &device), whole.mid(line.textStart()), width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty()) lines << QString();
    return lines;
}

TableLayout layOutTable(const QPaintDevice& device, const Scale& mm, TableTexts texts, PageMetrics metrics,
                        const QFont& body) {
    TableLayout l;
    // The widest texts decide the columns; the longest texts are the widest ones, give or
    // take a point, so only those are measured.
    const std::size_t columnCount = texts.headings.size();
    std::vector<std::size_t> longest(columnCount, 0);
    for (std::size_t i = 0; i < texts.rows; ++i)
        for (std::size_t c = 0; c < columnCount; ++c)
            longest[c] = std::max(longest[c], texts.cell(i, c).size());
    auto widths = [&](const QFont& font) {
        const QFontMetricsF m(font, &device);
        std::vector<double> w(columnCount);
        for (std::size_t c = 0; c < columnCount; ++c) {
            w[c] = m.horizontalAdvance(qs(texts.headings[c]));
            for (std::size_t i = 0; i < texts.rows; ++i)
                if (const std::string_view text = texts.cell(i, c); text.size() + 1 >= longest[c])
                    w[c] = std::max(w[c], m.horizontalAdvance(qs(text)));
            w[c] += 2 * mm(kCellPadding);
        }
        return w;
    };
    auto sum = [](const std::vector<double>& w) { return std::accumulate(w.begin(), w.end(), 0.0); };
    l.font = body;
    std::vector<double> w = widths(l.font);
    // A pair of more columns needs more room: fewer pairs fit across.
    if (columnCount > 2) metrics.minPairWidth = std::max(metrics.minPairWidth, sum(w) / mm.perMm * kPairSlack);
    l.grid = pageGridFor(metrics);
    l.rowHeight = metrics.row;
    l.pages = l.grid.pageCount(texts.rows);
    const double width = metrics.width * mm.perMm;
    l.pairWidth = width / l.grid.pairs;
    if (sum(w) > l.pairWidth) {
        const double points = std::max(kMinTablePoints, kBodyPoints * l.pairWidth / sum(w) * 0.98);
        l.font.setPointSizeF(points);
        w = widths(l.font);
    }
    if (columnCount == 2) {
        // Two fifths for the level where both fit so; otherwise the value has what the level leaves.
        const double level =
            std::clamp(l.pairWidth * 0.4, std::min(w[0], l.pairWidth), std::max(w[0], l.pairWidth - w[1]));
        l.columns = {level, l.pairWidth - level};
    } else {
        // Every column its width and an equal share of what is left.
        const double share = (l.pairWidth - sum(w)) / static_cast<double>(columnCount);
        l.columns = w;
        for (double& c : l.columns)
            c += share;
    }
    l.texts = std::move(texts);
    return l;
}

Layout layOut(const QPaintDevice& device, const TableDocument& doc) {
    Layout l;
    l.mm = Scale{device.logicalDpiY() / 25.4};
    l.width = device.width();
    l.height = device.height();
    l.body = documentFont(kBodyPoints);
    l.bold = documentFont(kBodyPoints, true);
    l.title = documentFont(kTitlePoints, true);
    l.running = documentFont(kRunningPoints);

    // Two short fields share a line; a long one has the line to itself and wraps in it.
    const QFontMetricsF fm(l.body, &device), boldFm(l.bold, &device);
    const double half = (l.width - l.mm(kFieldGap)) / 2;
    l.fieldColumn = half + l.mm(kFieldGap);
    auto fitsHalf = [&](int i) {
        return fm.horizontalAdvance(fieldText(doc.fields[i]).left(kMeasuredCharacters)) <= half;
    };
    for (int i = 0; i < static_cast<int>(doc.fields.size()); ++i) {
        const QString value = qs(doc.fields[i].value);
        const bool after = !l.fieldLines.empty() && l.fieldLines.back().fields.size() == 1 &&
                           static_cast<std::size_t>(l.fieldLines.back().fields.front().index + 1) != doc.pointsAfter;
        if (fitsHalf(i) && !doc.fields[i].startsLine && after) {
            const int previous = l.fieldLines.back().fields.front().index;
            if (fitsHalf(previous)) {
                l.fieldLines.back().fields.push_back({i, {value}});
                continue;
            }
        }
        const double room =
            l.width - boldFm.horizontalAdvance(qs(doc.fields[i].label) + QStringLiteral("："));
        l.fieldLines.push_back({{{i, wrapped(value, l.body, device, room, kMaxFieldLines)}}});
    }
    for (const auto& line : l.fieldLines)
        l.headerLines += line.lineCount();
    if (!doc.points.empty()) {
        l.pointColumns = std::max(1, static_cast<int>(l.width / l.mm(kPointTripleWidth)));
        l.pointLines = 1 + static_cast<int>((doc.points.size() + l.pointColumns - 1) / l.pointColumns);
    }

    l.metrics.width = l.width / l.mm.perMm;
    l.metrics.height = l.height / l.mm.perMm;
    l.metrics.headerBlock = kTitleHeight + kFieldHeight * l.headerLines + kPointHeight * l.pointLines + kBlockGap;

    TableTexts main{{}, {doc.levelHeading, doc.valueHeading}, doc.rows.size(),
                    [&doc](std::size_t i, std::size_t c) -> std::string_view {
                        const DocumentRow& row = doc.rows[i];
                        return c == 0 ? row.level : c == 1 ? std::string_view(row.value) : row.extra[c - 2];
                    }};
    main.headings.insert(main.headings.end(), doc.extraHeadings.begin(), doc.extraHeadings.end());
    l.tables.push_back(layOutTable(device, l.mm, std::move(main), l.metrics, l.body));
    l.grid = l.tables.front().grid;
    PageMetrics appendix = l.metrics;
    appendix.headerBlock = kSectionHeight;
    for (const DocumentTable& table : doc.appendices) {
        TableTexts texts{qs(table.title), table.headings, table.rows.size(),
                         [&table](std::size_t i, std::size_t c) -> std::string_view {
                             return c < table.rows[i].size() ? std::string_view(table.rows[i][c]) : std::string_view();
                         }};
        l.tables.push_back(layOutTable(device, l.mm, std::move(texts), appendix, l.body));
    }
    l.pages = 0;
    for (const auto& table : l.tables)
        l.pages += table.pages;

    // The page number of the last page is the widest; the tank number has the rest.
    const QFontMetricsF running(l.running, &device);
    const double pageNumber = running.horizontalAdvance(pageNumberText(l.pages, l.pages));
    QString runningTitle = qs(doc.title) + QStringLiteral("　罐号：") + qs(doc.tankNumber);
    if (!doc.certificateNumber.empty())
        runningTitle += QStringLiteral("　证书编号：") + qs(doc.certificateNumber);
    l.runningTitle = elided(running, runningTitle, l.width - pageNumber - l.mm(kRunningGap));
    return l;
}

// The row texts drawn as glyph runs from glyphs looked up once: the cells are the bulk of
// a document and their few characters (digits, point, sign, exponent) need no shaping.
// A text with any other character goes through the ordinary text drawing.
class CellText {
public:
    CellText(const QFont& font, const QPaintDevice& device) : raw_(QRawFont::fromFont(font)) {
        if (!raw_.isValid()) return;
        raw_.setPixelSize(font.pointSizeF() * device.logicalDpiY() / 72.0);
        const QString alphabet = QStringLiteral("0123456789.-+Ee");
        const QList<quint32> glyphs = raw_.glyphIndexesForString(alphabet);
        if (glyphs.size() != alphabet.size()) return;
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
        for (qsizetype i = 0; i < alphabet.size(); ++i) {
            if (glyphs[i] == 0) continue;
            const auto c = static_cast<unsigned char>(alphabet[i].toLatin1());
            glyph_[c] = glyphs[i];
            advance_[c] = advances[i].x();
        }
    }

    // Draws `text` with its right end at x; false when it has a character without a glyph here.
    bool drawRightAligned(QPainter& p, double x, double baseline, std::string_view text) {
        if (text.size() > 64) return false;
        indexes_.resize(static_cast<qsizetype>(text.size()));
        positions_.resize(static_cast<qsizetype>(text.size()));
        double width = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c >= glyph_.size() || glyph_[c] == 0) return false;
            indexes_[static_cast<qsizetype>(i)] = glyph_[c];
            positions_[static_cast<qsizetype>(i)] = QPointF(width, 0);
            width += advance_[c];
        }
        run_.setRawFont(raw_);
        run_.setGlyphIndexes(indexes_);
        run_.setPositions(positions_);
        p.drawGlyphRun(QPointF(x - width, baseline), run_);
        return true;
    }

private:
    QRawFont raw_;
    std::array<quint32, 128> glyph_{};
    std::array<double, 128> advance_{};
    QList<quint32> indexes_;
    QList<QPointF> positions_;
    QGlyphRun run_;
};

class Painter {
public:
    Painter(QPagedPaintDevice& device, const TableDocument& doc)
        : device_(device), doc_(doc), l_(layOut(device, doc)) {}

    // Each table from a page of its own, the main one below the header block, an appendix
    // below its title; the sign-off on the very last page.
    void paint() {
        QPainter p;
        if (!p.begin(&device_)) throw IoError("无法开始输出文档");
        p_ = &p;
        int page = 0;
        for (std::size_t t = 0; t < l_.tables.size(); ++t) {
            const TableLayout& table = l_.tables[t];
            CellText cells(table.font, device_);
            std::size_t next = 0;
            for (int k = 0; k < table.pages; ++k, ++page) {
                if (page > 0 && !device_.newPage()) throw IoError("无法开始新的一页");
                double y = runningHead(page);
                if (k == 0) y = t == 0 ? headerBlock(y) : sectionTitle(y, table.texts.title);
                const std::size_t capacity = k == 0 ? table.grid.firstCapacity() : table.grid.capacity();
                const std::size_t count = std::min(capacity, table.texts.rows - next);
                drawTable(table, cells, y, k, next, count);
                next += count;
            }
        }
        signOff();
        if (!p.end()) throw IoError("无法完成文档");
        p_ = nullptr;
    }

private:
    double mm(double x) const { return l_.mm(x); }

    // Text with its baseline placed so that it sits centred in the band [top, top + height).
    void text(const QFont& font, double x, double top, double height, const QString& s,
              int align = Qt::AlignLeft) {
        p_->setFont(font);
        const QFontMetricsF fm(font, &device_);
        const double baseline = top + (height + fm.ascent() - fm.descent()) / 2;
        const double w = align == Qt::AlignLeft ? 0 : fm.horizontalAdvance(s);
        const double left = align == Qt::AlignRight ? x - w : align == Qt::AlignHCenter ? x - w / 2 : x;
        p_->drawText(QPointF(left, baseline), s);
    }

    void hline(double x1, double x2, double y, double weightMm) {
        p_->setPen(QPen(Qt::black, mm(weightMm)));
        p_->drawLine(QPointF(x1, y), QPointF(x2, y));
    }

    double runningHead(int page) {
        const double h = mm(l_.metrics.runningHead);
        text(l_.running, 0, 0, h - mm(1.5), l_.runningTitle);
        text(l_.running, l_.width, 0, h - mm(1.5), pageNumberText(page + 1, l_.pages), Qt::AlignRight);
        hline(0, l_.width, h - mm(1.5), 0.2);
        return h;
    }

    double headerBlock(double y) {
        text(l_.title, l_.width / 2, y, mm(kTitleHeight), qs(doc_.title), Qt::AlignHCenter);
        y += mm(kTitleHeight);
        for (const auto& line : l_.fieldLines) {
            double x = 0;
            for (const HeaderField& field : line.fields) {
                const QString label = qs(doc_.fields[field.index].label) + QStringLiteral("：");
                text(l_.bold, x, y, mm(kFieldHeight), label);
                const double valueX = x + QFontMetricsF(l_.bold, &device_).horizontalAdvance(label);
                for (qsizetype k = 0; k < field.lines.size(); ++k)
                    text(l_.body, valueX, y + mm(kFieldHeight) * static_cast<double>(k), mm(kFieldHeight),
                         field.lines[k]);
                x = l_.fieldColumn;
            }
            y += mm(kFieldHeight) * line.lineCount();
            if (!doc_.points.empty() && static_cast<std::size_t>(line.fields.back().index + 1) == doc_.pointsAfter)
                y = points(y);
        }
        return y + mm(kBlockGap);
    }

    // The calibration points as a small table: groups of 序号, 高度 mm, 容积 L across, read down.
    double points(double y) {
        const int down = l_.pointLines - 1;
        const int across = static_cast<int>((doc_.points.size() + down - 1) / down); // the groups used
        const double h = mm(kPointHeight), groupW = l_.width / l_.pointColumns;
        const QFont small = l_.running;
        const double parts[] = {0.2, 0.55, 1.0}; // right ends of the three columns in a group
        for (int g = 0; g < across; ++g) {
            const double x = g * groupW;
            text(l_.bold, x + groupW * parts[0] - mm(kCellPadding), y, h, QStringLiteral("序号"), Qt::AlignRight);
            text(l_.bold, x + groupW * parts[1] - mm(kCellPadding), y, h, QStringLiteral("高度 mm"), Qt::AlignRight);
            text(l_.bold, x + groupW * parts[2] - mm(kCellPadding), y, h, QStringLiteral("容积 L"), Qt::AlignRight);
        }
        for (std::size_t i = 0; i < doc_.points.size(); ++i) {
            const int g = static_cast<int>(i) / down, r = static_cast<int>(i) % down;
            const double x = g * groupW, top = y + h * (r + 1);
            text(small, x + groupW * parts[0] - mm(kCellPadding), top, h, QString::number(i + 1), Qt::AlignRight);
            text(small, x + groupW * parts[1] - mm(kCellPadding), top, h, qs(doc_.points[i].level), Qt::AlignRight);
            text(small, x + groupW * parts[2] - mm(kCellPadding), top, h, qs(doc_.points[i].volume), Qt::AlignRight);
        }
        p_->setPen(QPen(Qt::black, mm(0.1)));
        for (double line : {y, y + h, y + h * l_.pointLines})
            p_->drawLine(QPointF(0, line), QPointF(across * groupW, line));
        for (int g = 0; g <= across; ++g) {
            const double x = std::min(g * groupW, l_.width);
            p_->drawLine(QPointF(x, y), QPointF(x, y + h * l_.pointLines));
        }
        return y + h * l_.pointLines;
    }

    // An appendix's title, centred in bold above its table.
    double sectionTitle(double y, const QString& title) {
        text(l_.bold, l_.width / 2, y, mm(kSectionHeight), title, Qt::AlignHCenter);
        return y + mm(kSectionHeight);
    }

    // `count` rows from `first` down each pair then across; a page that is not full shares
    // its rows out evenly over the pairs, an empty table gets the empty grid of a first page.
    void drawTable(const TableLayout& t, CellText& cells, double top, int page, std::size_t first,
                   std::size_t count) {
        const int pairs = t.grid.pairs;
        const int full = page == 0 ? t.grid.firstRows : t.grid.rows;
        const int perPair =
            count == 0 ? full : std::min<int>(full, static_cast<int>((count + pairs - 1) / pairs));
        const double rowH = mm(t.rowHeight), headH = mm(l_.metrics.headingRow);
        const double bottom = top + headH + rowH * perPair;

        const std::size_t columnCount = t.columns.size();
        for (int j = 0; j < pairs; ++j) {
            double x = j * t.pairWidth;
            for (std::size_t c = 0; c < columnCount; ++c) {
                text(l_.bold, x + t.columns[c] / 2, top, headH, qs(t.texts.headings[c]), Qt::AlignHCenter);
                x += t.columns[c];
            }
        }

        p_->setFont(t.font);
        p_->setPen(Qt::black);
        const QFontMetricsF fm(t.font, &device_);
        const double pad = mm(kCellPadding);
        const double baselineOffset = (rowH + fm.ascent() - fm.descent()) / 2;
        auto cell = [&](double right, double baseline, std::string_view s) {
            if (s.empty() || cells.drawRightAligned(*p_, right, baseline, s)) return;
            const QString text = qs(s);
            p_->drawText(QPointF(right - fm.horizontalAdvance(text), baseline), text);
        };
        for (std::size_t k = 0; k < count; ++k) {
            const int j = static_cast<int>(k / perPair), r = static_cast<int>(k % perPair);
            const double baseline = top + headH + r * rowH + baselineOffset;
            double x = j * t.pairWidth;
            for (std::size_t c = 0; c < columnCount; ++c) {
                x += t.columns[c];
                cell(x - pad, baseline, t.texts.cell(first + k, c));
            }
        }

        // Thin lines between the rows and the columns, slightly heavier ones around the heading and the pairs.
        p_->setPen(QPen(Qt::black, mm(0.1)));
        for (int r = 1; r < perPair; ++r) {
            const double y = top + headH + r * rowH;
            p_->drawLine(QPointF(0, y), QPointF(l_.width, y));
        }
        for (int j = 0; j < pairs; ++j) {
            double x = j * t.pairWidth;
            for (std::size_t c = 0; c + 1 < columnCount; ++c) {
                x += t.columns[c];
                p_->drawLine(QPointF(x, top), QPointF(x, bottom));
            }
        }
        p_->setPen(QPen(Qt::black, mm(0.25)));
        for (int j = 0; j <= pairs; ++j) {
            const double x = std::min(j * t.pairWidth, l_.width);
            p_->drawLine(QPointF(x, top), QPointF(x, bottom));
        }
        for (double y : {top, top + headH, bottom})
            p_->drawLine(QPointF(0, y), QPointF(l_.width, y));
    }

    // The last page's foot: 计算、复核、批准 each with a blank line to sign on and a line
    // "日期：" below it, and a framed box for the stamp at the right.
    void signOff() {
        const double h = mm(l_.metrics.signOff);
        const double y = l_.height - h;
        const double box = std::min(mm(kStampBox), l_.width / 4);
        const double boxTop = y + (h - std::min(box, h)) / 2;
        const double boxH = std::min(box, h);
        const double signWidth = (l_.width - box - mm(kFieldGap)) / 3;
        const QString parts[] = {QStringLiteral("计算："), QStringLiteral("复核："), QStringLiteral("批准：")};
        const QString date = QStringLiteral("日期：");
        const QFontMetricsF bold(l_.bold, &device_);
        const double lineGap = mm(kFieldHeight) * 1.4;
        const double signTop = y + h / 2 - lineGap / 2 - mm(kFieldHeight) / 2;
        for (int i = 0; i < 3; ++i) {
            const double x = signWidth * i;
            for (const auto& [label, top] :
                 {std::pair{parts[i], signTop}, std::pair{date, signTop + lineGap}}) {
                text(l_.bold, x, top, mm(kFieldHeight), label);
                // One column for the blanks, after the wider of the two labels.
                const double lineX =
                    x + std::max(bold.horizontalAdvance(parts[i]), bold.horizontalAdvance(date));
                hline(lineX, x + signWidth - mm(kFieldGap), top + mm(kFieldHeight) - mm(0.8), 0.2);
            }
        }
        p_->setPen(QPen(Qt::black, mm(0.3)));
        p_->setBrush(Qt::NoBrush);
        const QRectF frame(l_.width - box, boxTop, box, boxH);
        p_->drawRect(frame);
        text(l_.body, frame.center().x(), boxTop, boxH, QStringLiteral("（盖章）"), Qt::AlignHCenter);
    }

    QPagedPaintDevice& device_;
    const TableDocument& doc_;
    Layout l_;
    QPainter* p_ = nullptr;
};

} // namespace

void setUpA4(QPdfWriter& writer) {
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
}

QStringList documentFontFamilies() {
    static std::once_flag once;
    static QStringList families;
    static std::string failure;
    std::call_once(once, [] {
        try {
            families = {loadFont(kLatinFontFile), loadFont(kChineseFontFile)};
            loadFont(kLatinBoldFontFile);
        } catch (const IoError& e) {
            failure = e.what();
        }
    });
    if (!failure.empty()) throw IoError(failure);
    return families;
}

std::string unprintableCharacterRefusal(const TableDocument& doc) {
    documentFontFamilies();
    const QRawFont latin(QString::fromUtf8(kLatinFontFile), 12),
        chinese(QString::fromUtf8(kChineseFontFile), 12);
    auto refusal = [&](const std::string& label, const std::string& text) -> std::string {
        for (const uint c : qs(text).toUcs4()) {
            if (latin.supportsCharacter(c) || chinese.supportsCharacter(c)) continue;
            const char32_t character = c;
            return label + "中的字符“" + QString::fromUcs4(&character, 1).toStdString() + "”（U+" +
                   QStringLiteral("%1").arg(c, 4, 16, QLatin1Char('0')).toUpper().toStdString() +
                   "）无法在文档中显示！";
        }
        return {};
    };
    std::string message = refusal("罐号", doc.tankNumber);
    for (std::size_t i = 0; message.empty() && i < doc.fields.size(); ++i)
        message = refusal(doc.fields[i].label, doc.fields[i].value);
    return message;
}

void paintTableDocument(QPagedPaintDevice& device, const TableDocument& doc) {
    std::string refusal = documentRefusal(doc.rows.size());
    if (refusal.empty()) refusal = unprintableCharacterRefusal(doc);
    if (!refusal.empty()) throw Error(refusal);
    Painter(device, doc).paint();
}

PageGrid a4PageGrid(const TableDocument& doc) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpA4(writer);
    return layOut(writer, doc).grid;
}

QByteArray tableDocumentPdf(const TableDocument& doc) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        setUpA4(writer);
        writer.setTitle(qs(doc.title) +
                        (doc.tankNumber.empty() ? QString() : QStringLiteral(" ") + qs(doc.tankNumber)));
        writer.setCreator(QStringLiteral("Kelvora"));
        paintTableDocument(writer, doc);
    }
    if (bytes.isEmpty()) throw IoError("无法生成PDF文档");
    return bytes;
}

void saveTableDocumentPdf(const std::string& path, const TableDocument& doc) {
    const QByteArray bytes = tableDocumentPdf(doc);
    persist::writeFileAtomically(std::filesystem::u8path(path),
                                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace kelvora::output
