#include "output/delivery_record.h"

#include "capacity/page_inputs.h"
#include "capacity/vocabulary.h"
#include "kernel/errors.h"
#include "output/table_document.h"
#include "persist/atomic_file.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <algorithm>

namespace kelvora::output {

namespace {

namespace in = quantity::inputs;

// The capacity-table document's sizes: body and title in points, rules and rows in mm.
constexpr double kBodyPoints = 9;
constexpr double kTitlePoints = 16;
constexpr double kTitleHeight = 12;
constexpr double kFieldHeight = 5.5;
constexpr double kRowHeight = 6;
constexpr double kCellPadding = 1.2;
constexpr double kFieldGap = 6;
constexpr double kSectionGap = 4;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string withUnit(const std::string& value, std::string_view unit) {
    return unit.empty() ? value : value + " " + std::string(unit);
}

QFont documentFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies(documentFontFamilies());
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::string unprintable(const DeliveryRecord& record) {
    const QRawFont latin(QString::fromUtf8(kLatinFontFile), 12),
        chinese(QString::fromUtf8(kChineseFontFile), 12);
    auto check = [&](const std::string& label, const std::string& text) -> std::string {
        for (const uint c : qs(text).toUcs4())
            if (!latin.supportsCharacter(c) && !chinese.supportsCharacter(c)) {
                const char32_t character = c;
                return label + "中的字符“" + QString::fromUcs4(&character, 1).toStdString() +
                       "”无法在文档中显示！";
            }
        return {};
    };
    return check("罐号", record.tankNumber);
}

class Painter {
public:
    Painter(QPdfWriter& device, const DeliveryRecord& record) : device_(device), r_(record) {}

    void paint() {
        QPainter painter(&device_);
        if (!painter.isActive()) throw IoError("无法生成PDF文档");
        p_ = &painter;
        perMm_ = device_.logicalDpiY() / 25.4;
        width_ = device_.width();
        body_ = documentFont(kBodyPoints);
        bold_ = documentFont(kBodyPoints, true);

        double y = 0;
        text(documentFont(kTitlePoints, true), width_ / 2, y, mm(kTitleHeight), QStringLiteral("卸油交接单"),
             Qt::AlignHCenter);
        y += mm(kTitleHeight);
        field(0, y, QStringLiteral("罐号："), qs(r_.tankNumber));
        field(width_ / 2 + mm(kFieldGap) / 2, y, QStringLiteral("日期时间："), qs(r_.dateTime));
        y += mm(kFieldHeight) + mm(kSectionGap);
        y = table(y, QStringLiteral("输入"), r_.inputs) + mm(kSectionGap);
        y = table(y, QStringLiteral("结果"), r_.results) + mm(kSectionGap);
        field(0, y, QStringLiteral("结论："),
              r_.within ? QStringLiteral("在允差内") : QStringLiteral("超出允差"));
        y += mm(kFieldHeight) + mm(kSectionGap) * 4;
        signatures(y);
        p_ = nullptr;
    }

private:
    double mm(double x) const { return x * perMm_; }

    void text(const QFont& font, double x, double top, double h, const QString& s,
              Qt::Alignment align = Qt::AlignLeft) {
        p_->setFont(font);
        p_->setPen(Qt::black);
        const QFontMetricsF fm(font, &device_);
        const double w = fm.horizontalAdvance(s);
        const double left = align & Qt::AlignHCenter ? x - w / 2 : align & Qt::AlignRight ? x - w : x;
        p_->drawText(QPointF(left, top + (h + fm.ascent() - fm.descent()) / 2), s);
    }

    void field(double x, double y, const QString& label, const QString& value) {
        text(bold_, x, y, mm(kFieldHeight), label);
        text(body_, x + QFontMetricsF(bold_, &device_).horizontalAdvance(label), y, mm(kFieldHeight), value);
    }

    // A heading row and one row per line: label left, value right-aligned, the rules of
    // the capacity table (thin inside, heavier around the heading and the frame).
    double table(double top, const QString& heading,
                 const std::vector<std::pair<std::string, std::string>>& rows) {
        const double h = mm(kRowHeight), split = width_ * 0.55, pad = mm(kCellPadding);
        text(bold_, pad, top, h, heading);
        text(bold_, width_ - pad, top, h, QStringLiteral("数值"), Qt::AlignRight);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const double y = top + h * static_cast<double>(i + 1);
            text(body_, pad, y, h, qs(rows[i].first));
            text(body_, width_ - pad, y, h, qs(rows[i].second), Qt::AlignRight);
        }
        const double bottom = top + h * static_cast<double>(rows.size() + 1);
        p_->setPen(QPen(Qt::black, mm(0.1)));
        for (std::size_t i = 2; i <= rows.size(); ++i)
            p_->drawLine(QPointF(0, top + h * static_cast<double>(i)),
                         QPointF(width_, top + h * static_cast<double>(i)));
        p_->drawLine(QPointF(split, top), QPointF(split, bottom));
        p_->setPen(QPen(Qt::black, mm(0.25)));
        for (double y : {top, top + h, bottom})
            p_->drawLine(QPointF(0, y), QPointF(width_, y));
        for (double x : {0.0, width_})
            p_->drawLine(QPointF(x, top), QPointF(x, bottom));
        return bottom;
    }

    void signatures(double y) {
        const QString parts[] = {QStringLiteral("卸油员："), QStringLiteral("计量员："),
                                 QStringLiteral("司机：")};
        const double each = width_ / 3;
        const QFontMetricsF fm(bold_, &device_);
        p_->setPen(QPen(Qt::black, mm(0.2)));
        for (int i = 0; i < 3; ++i) {
            const double x = each * i;
            text(bold_, x, y, mm(kFieldHeight), parts[i]);
            p_->setPen(QPen(Qt::black, mm(0.2)));
            const double lineY = y + mm(kFieldHeight) - mm(0.8);
            p_->drawLine(QPointF(x + fm.horizontalAdvance(parts[i]), lineY),
                         QPointF(x + each - mm(kFieldGap), lineY));
        }
    }

    QPdfWriter& device_;
    const DeliveryRecord& r_;
    QPainter* p_ = nullptr;
    double perMm_ = 1, width_ = 0;
    QFont body_, bold_;
};

} // namespace

DeliveryRecord describeDelivery(const capacity::NamedInputs& inputs, const quantity::DeliveryOutcome& check,
                                std::string dateTime) {
    DeliveryRecord record;
    record.tankNumber = inputs.text("TankNumber");
    record.dateTime = std::move(dateTime);
    const quantity::Group group = quantity::chosenGroup(inputs);
    auto input = [&](const char* name, std::string_view unit) {
        const std::string value{capacity::trimBlanks(inputs.text(name))};
        if (!value.empty())
            record.inputs.emplace_back(capacity::findPageInput(name)->label, withUnit(value, unit));
    };
    record.inputs.emplace_back("油品", std::string(quantity::groupName(group)) + "（" +
                                           std::string(quantity::groupLetter(group)) + "）");
    record.inputs.emplace_back("计算方式", std::string(quantity::modeName(check.mode)));
    if (!capacity::trimBlanks(inputs.text(in::kRho20)).empty()) {
        input(in::kRho20, "kg/m3");
    } else {
        input(in::kSampleDensity, "kg/m3");
        input(in::kSampleTemperature, "℃");
    }
    input(in::kBeforeLevel, "mm");
    input(in::kBeforeTemperature, "℃");
    input(in::kAfterLevel, "mm");
    input(in::kAfterTemperature, "℃");
    record.inputs.emplace_back("卸油期间付油量", withUnit(check.figures.dispensed.text(), "L"));
    input(in::kTicket, "L");
    input(in::kTicketMass, "kg");
    std::string limit = quantity::roundShown(check.figures.limit, 2).text();
    record.inputs.emplace_back("允差", "±" + withUnit(limit, "‰"));

    const quantity::DeliveryResult& r = check.result;
    auto result = [&](std::string label, const quantity::Shown& value, std::string_view unit) {
        record.results.emplace_back(std::move(label), withUnit(value.text(), unit));
    };
    result("标准密度ρ20", check.rho20, "kg/m3");
    result("卸油前容积Vt", check.figures.before, "L");
    result("卸油前VCF20", r.vcfBefore, "");
    result("卸油前V20", r.before20, "L");
    result("卸油后容积Vt", check.figures.after, "L");
    result("卸油后VCF20", r.vcfAfter, "");
    result("卸油后V20", r.after20, "L");
    result("付油量V20", r.dispensed20, "L");
    result("实收V20（卸油后 − 卸油前 + 付油量）", r.received20, "L");
    result("交接单V20", r.ticket20, "L");
    result("差量（实收 − 交接单）", r.difference, "L");
    result("差率", r.permille, "‰");
    record.within = r.within;
    return record;
}

QByteArray deliveryRecordPdf(const DeliveryRecord& record) {
    documentFontFamilies();
    if (const std::string refusal = unprintable(record); !refusal.empty()) throw Error(refusal);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        setUpA4(writer);
        writer.setTitle(QStringLiteral("卸油交接单 ") + qs(record.tankNumber));
        writer.setCreator(QStringLiteral("Kelvora"));
        Painter(writer, record).paint();
    }
    if (bytes.isEmpty()) throw IoError("无法生成PDF文档");
    return bytes;
}

void saveDeliveryRecordPdf(const std::string& path, const DeliveryRecord& record) {
    const QByteArray bytes = deliveryRecordPdf(record);
    persist::writeFileAtomically(std::filesystem::u8path(path),
                                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace kelvora::output
