#include "capacity/level_for.h"

#include "capacity/display.h"
#include "capacity/input_error.h"
#include "capacity/page_inputs.h"
#include "capacity/tank_check.h"
#include "capacity/volume.h"
#include "kernel/fp_guard.h"
#include "kernel/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace kelvora::capacity {

namespace {

using LD = long double;

// Uniform scan samples over the range; narrower dips than range/kScanSteps between two
// samples could hide an earlier crossing, so calibration levels are sampled as well (the
// interpolation is linear between them).
constexpr int kScanSteps = 512;

// The candidate levels: the range's bottom, every multiple of 0.01 mm inside it, and its
// top, by index.
class Candidates {
public:
    explicit Candidates(LevelRange r) : r_(r) {
        kLow_ = hundredths(std::ceil(static_cast<LD>(r.bottom) * 100));
        const std::int64_t kHigh = hundredths(std::floor(static_cast<LD>(r.top) * 100));
        count_ = (kHigh >= kLow_ ? kHigh - kLow_ + 1 : 0) + 2;
    }
    std::int64_t count() const { return count_; }
    double level(std::int64_t i) const {
        if (i <= 0) return r_.bottom;
        if (i >= count_ - 1) return r_.top;
        const double x = static_cast<double>(static_cast<LD>(kLow_ + i - 1) / 100);
        return std::clamp(x, r_.bottom, r_.top);
    }
    // The index of the first candidate at or above x.
    std::int64_t indexAbove(double x) const {
        if (!(x > r_.bottom)) return 0;
        if (x >= r_.top) return count_ - 1;
        const auto k = static_cast<std::int64_t>(std::ceil(static_cast<LD>(x) * 100));
        return std::clamp<std::int64_t>(k - kLow_ + 1, 0, count_ - 1);
    }

private:
    // Levels of a tank typed in with absurd digits stay countable.
    static std::int64_t hundredths(LD k) { return static_cast<std::int64_t>(std::clamp(k, -4e18L, 4e18L)); }

    LevelRange r_;
    std::int64_t kLow_ = 0, count_ = 2;
};

// A level whose volume cannot be shown ends the search.
struct LevelFailed {
    double level;
    bool negative;
};

LD amountAt(const TTankDescription& d, double x, LD scale) {
    const LevelVolume V = checkedVolumeAtLevel(d, x);
    if (!V.ok()) throw LevelFailed{x, V.status == LevelVolume::Status::Negative};
    return static_cast<LD>(V.V) * scale;
}

} // namespace

std::optional<LevelRange> levelRange(const TTankDescription& d) {
    if (d.kind == TStructureKind::skCalibration) {
        if (d.pointLevels.empty()) return std::nullopt;
        const auto [low, high] = std::minmax_element(d.pointLevels.begin(), d.pointLevels.end());
        if (!std::isfinite(*low) || !std::isfinite(*high)) return std::nullopt;
        return LevelRange{*low, *high};
    }
    if (d.kind == TStructureKind::skVertical) return LevelRange{0, vertical::shellHeight(d.vertical)};
    double top = std::numeric_limits<double>::infinity();
    if (top > d.D && d.D > 0) top = d.D;
    if (top > d.A && d.A > 0) top = d.A;
    if (!std::isfinite(top)) return std::nullopt;
    return LevelRange{0, top};
}

namespace {

LevelSearch searchLevels(const TTankDescription& d, long double target, long double scale) {
    LevelSearch result;
    const auto range = levelRange(d);
    if (!range) return result;
    result.range = *range;
    auto amount = [&](double x) { return amountAt(d, x, scale); };
    // A level holds the target when it falls short by no more than the volumes' own
    // rounding: 120 litres of dead volume are 0.12 m³, which is not exactly 120 litres again.
    const LD tolerance = std::fabs(target) * 1e-12L;
    const LD reach = target - tolerance;
    auto holds = [&](double x) { return amount(x) >= reach; };
    result.bottomAmount = amount(range->bottom);
    result.capacity = amount(range->top);
    if (!(reach <= result.capacity)) {
        result.status = LevelSearch::Status::AboveCapacity;
        return result;
    }
    if (target + tolerance < result.bottomAmount) {
        result.status = LevelSearch::Status::BelowBottom;
        return result;
    }

    const Candidates candidates(*range);
    const std::int64_t last = candidates.count() - 1;
    std::vector<std::int64_t> samples;
    samples.reserve(kScanSteps + 2 + 2 * d.pointLevels.size());
    for (int j = 0; j <= kScanSteps; ++j)
        samples.push_back(static_cast<std::int64_t>(static_cast<LD>(last) * j / kScanSteps));
    if (d.kind == TStructureKind::skCalibration)
        for (double p : d.pointLevels) {
            const std::int64_t i = candidates.indexAbove(p);
            samples.push_back(i);
            if (i > 0) samples.push_back(i - 1);
        }
    std::sort(samples.begin(), samples.end());
    samples.erase(std::unique(samples.begin(), samples.end()), samples.end());

    // Below: the last sample known to hold less than the target; the first crossing lies
    // after it and at or before the first sample that holds enough.
    std::int64_t below = -1, enough = -1;
    for (std::int64_t i : samples) {
        if (holds(candidates.level(i))) {
            enough = i;
            break;
        }
        below = i;
    }
    if (enough < 0) { // only a target the comparisons cannot place (not a number)
        result.status = LevelSearch::Status::AboveCapacity;
        return result;
    }
    if (below >= 0) {
        while (enough - below > 1) {
            const std::int64_t mid = below + (enough - below) / 2;
            if (holds(candidates.level(mid)))
                enough = mid;
            else
                below = mid;
        }
    }
    result.status = LevelSearch::Status::Found;
    result.level = candidates.level(enough);
    return result;
}

} // namespace

LevelSearch levelFor(const TTankDescription& d, long double target, long double scale) {
    try {
        return searchLevels(d, target, scale);
    } catch (const LevelFailed& failed) {
        LevelSearch result;
        result.status = LevelSearch::Status::LevelFailed;
        result.level = failed.level;
        result.negative = failed.negative;
        if (const auto range = levelRange(d)) result.range = *range;
        return result;
    }
}

std::string levelForMessage(const LevelSearch& search, bool weight) {
    const std::string unit = weight ? "公斤" : "升";
    auto at = [&](double level, const char* verb, long double amount) {
        return "液位" + kernel::formatGeneral(level) + "毫米处" + verb +
               kernel::RoundToStr(kernel::finiteOrThrow(static_cast<double>(amount))) + unit;
    };
    switch (search.status) {
    case LevelSearch::Status::AboveCapacity:
        return "呵呵，超过油罐的容量了！最高" + at(search.range.top, "只有", search.capacity) + "。";
    case LevelSearch::Status::BelowBottom:
        return "呵呵，比罐底死量还少！最低" + at(search.range.bottom, "已有", search.bottomAmount) + "。";
    case LevelSearch::Status::NoHeight:
        return messages::kNoTankHeight;
    case LevelSearch::Status::LevelFailed:
        return {};
    case LevelSearch::Status::Found:
        break;
    }
    return {};
}

RequestOutcome LevelForVolume(NamedInputs& inputs) {
    ReadResult read = ReadTankDescription(inputs, RequestType::LevelFor);
    if (!read.description) return {read.message};
    const TTankDescription& d = *read.description;
    const std::string text = inputs.text("LevelForValue");
    if (text.empty()) return {messages::kQuick};
    const long double given = convertInput("LevelForValue", 0, [&] { return kernel::strToFloat(text); });
    const bool weight = inputs.checked("CheckBox1");
    const long double scale = weight ? static_cast<LD>(MiDu(inputs)) : 1000.0L;

    LevelSearch search;
    if (inputs.itemIndex("LevelForMode") == kLevelForByPercent) {
        // The capacity is the amount at the top of the range; one search with that known.
        const auto range = levelRange(d);
        const LevelVolume top = range ? checkedVolumeAtLevel(d, range->top) : LevelVolume{};
        if (!top.ok())
            return {levelFailedMessage(d, range->top, top.status == LevelVolume::Status::Negative)};
        search = levelFor(d, given / 100 * (static_cast<LD>(top.V) * scale), scale);
    } else {
        search = levelFor(d, given, scale);
    }
    if (search.status == LevelSearch::Status::LevelFailed) return {levelFailedMessage(d, search.level, search.negative)};
    if (search.status != LevelSearch::Status::Found) return {levelForMessage(search, weight)};
    inputs.setText("LevelForResult", kernel::formatGeneral(search.level));
    return {};
}

} // namespace kelvora::capacity
