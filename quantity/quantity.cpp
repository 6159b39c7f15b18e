#include "quantity/quantity.h"

#include "capacity/display.h"
#include "capacity/requests.h"
#include "capacity/tank_description.h"
#include "capacity/vocabulary.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"
#include "vertical/vertical_check.h"

#include <cmath>

namespace kelvora::quantity {

namespace {

__extension__ typedef __int128 Wide;

Wide pow10(int n) {
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// n / d to the nearest whole number, halves away from zero; d > 0.
std::int64_t divideRounded(Wide n, Wide d) {
    const Wide magnitude = (n < 0 ? -n : n);
    const Wide q = (magnitude + d / 2) / d;
    return static_cast<std::int64_t>(n < 0 ? -q : q);
}

std::optional<double> number(const capacity::NamedInputs& in, std::string_view name) {
    const std::string text = in.text(name);
    if (capacity::trimBlanks(text).empty()) return std::nullopt;
    return kernel::strToFloat(text);
}

// The quick calculation's inputs with the level given here and the weight option off:
// the quantity is always reckoned in litres.
class LitresInputs : public capacity::NamedInputs {
public:
    LitresInputs(capacity::NamedInputs& in, std::string_view level) : in_(in), level_(level) {}
    std::string text(std::string_view name) const override {
        if (name == "Edit35") return level_;
        if (name == "Edit36") return edit36_;
        return in_.text(name);
    }
    void setText(std::string_view name, std::string_view text) override {
        if (name == "Edit36")
            edit36_ = text;
        else
            in_.setText(name, text);
    }
    bool checked(std::string_view name) const override {
        return name == "CheckBox1" ? false : in_.checked(name);
    }
    void setChecked(std::string_view name, bool on) override { in_.setChecked(name, on); }
    int itemIndex(std::string_view name) const override { return in_.itemIndex(name); }
    void setItemIndex(std::string_view name, int index) override { in_.setItemIndex(name, index); }
    void setItems(std::string_view name, const std::vector<std::string>& items) override {
        in_.setItems(name, items);
    }
    int activePage() const override { return in_.activePage(); }
    void setActivePage(int page) override { in_.setActivePage(page); }
    capacity::StringGrid& grid() override { return in_.grid(); }
    const capacity::StringGrid& grid() const override { return in_.grid(); }

private:
    capacity::NamedInputs& in_;
    std::string level_, edit36_;
};

// An outcome that carries only its refusal.
template <typename Outcome> Outcome refusal(std::string message) {
    Outcome o;
    o.message = std::move(message);
    return o;
}

Shown parsedShown(const std::string& text) {
    return roundShown(kernel::strToFloat(text), 2);
}

} // namespace

Shown volume20(Shown litres, Shown vcf20) {
    const Wide product = static_cast<Wide>(litres.units) * vcf20.units;
    return {divideRounded(product, pow10(litres.decimals + vcf20.decimals - 2)), 2};
}

Shown massInAir(Shown v20, Shown rho20) {
    // 1.1 kg/m3 of air buoyancy, in the density's own units.
    const Wide net = static_cast<Wide>(rho20.units) - 11 * pow10(rho20.decimals) / 10;
    const Wide product = static_cast<Wide>(v20.units) * net;
    return {divideRounded(product, pow10(v20.decimals + rho20.decimals + 3 - 2)), 2};
}

Shown litresOfMass(double kilograms, Shown rho20) {
    return roundShown(static_cast<long double>(kilograms) / (rho20.value() - 1.1L) * 1000, 2);
}

std::string_view verdictText(bool within) {
    return within ? "在允差内" : "超出允差";
}

DeliveryResult checkDelivery(Group g, Mode m, Shown rho20, const DeliveryFigures& f) {
    DeliveryResult r;
    for (auto [t, what] :
         {std::pair{f.beforeTemperature, "卸油前油温"}, std::pair{f.afterTemperature, "卸油后油温"}})
        if (auto refused = temperatureRefusal(t, what); !refused.empty())
            return refusal<DeliveryResult>(refused);
    if (f.dispensed.units < 0) return refusal<DeliveryResult>(messages::kBadDispensed);
    if (f.ticket && f.ticketMass) return refusal<DeliveryResult>(messages::kTwoTickets);
    if (!f.ticket && !f.ticketMass) return refusal<DeliveryResult>(messages::kNoTicket);
    if (!((f.ticket ? *f.ticket : *f.ticketMass) > 0)) return refusal<DeliveryResult>(messages::kBadTicket);
    if (!(f.limit >= 0)) return refusal<DeliveryResult>(messages::kBadLimit);

    r.vcfBefore = vcf20Shown(g, m, rho20.value(), f.beforeTemperature);
    r.vcfAfter = vcf20Shown(g, m, rho20.value(), f.afterTemperature);
    r.before20 = volume20(f.before, r.vcfBefore);
    r.after20 = volume20(f.after, r.vcfAfter);
    // What left through the dispensers while unloading was in the tank at its end.
    r.dispensed20 = volume20(f.dispensed, r.vcfAfter);
    r.received20 = {r.after20.units - r.before20.units + r.dispensed20.units, 2};
    r.ticket20 = f.ticket ? roundShown(*f.ticket, 2) : litresOfMass(*f.ticketMass, rho20);
    if (!(r.ticket20.units > 0)) return refusal<DeliveryResult>(messages::kBadTicket);
    r.difference = {r.received20.units - r.ticket20.units, 2};
    r.exactPermille = static_cast<long double>(r.difference.units) / r.ticket20.units * 1000;
    r.permille = roundShown(r.exactPermille, 2);
    r.within = std::fabs(r.exactPermille) <= f.limit;
    return r;
}

Group chosenGroup(const capacity::NamedInputs& in) {
    return groupFromWord(in.text(inputs::kProduct)).value_or(Group::B);
}

Mode chosenMode(const capacity::NamedInputs& in) {
    return in.text(inputs::kMode) == modeName(Mode::Formula) ? Mode::Formula : Mode::Table;
}

DensityOutcome standardDensity(const capacity::NamedInputs& in) {
    const Group g = chosenGroup(in);
    const Mode m = chosenMode(in);
    Shown rho20;
    if (const auto given = number(in, inputs::kRho20)) {
        rho20 = roundShown(*given, m == Mode::Table ? 1 : 4);
    } else {
        const auto reading = number(in, inputs::kSampleDensity);
        const auto t = number(in, inputs::kSampleTemperature);
        if (!reading || !t) return refusal<DensityOutcome>(messages::kNoDensity);
        if (auto refused = temperatureRefusal(*t, "试验温度"); !refused.empty())
            return refusal<DensityOutcome>(refused);
        if (auto refused = densityRefusal(g, *reading, "视密度"); !refused.empty())
            return refusal<DensityOutcome>(refused);
        rho20 = rho20Shown(g, m, *reading, *t);
    }
    if (auto refused = densityRefusal(g, rho20.value(), "标准密度ρ20"); !refused.empty())
        return refusal<DensityOutcome>(refused);
    return {{}, rho20};
}

namespace {

// A vertical tank holds more than its empty table under the liquid's pressure, and a
// floating roof takes its displacement: Vt is the main table's litres plus the hydrostatic
// increase at the tank's liquid density, less the roof's displacement from its floating
// level up, each as its table or header prints it. Between the roof's rest and floating
// levels the liquid under the roof is not known: refused.
LitresOutcome verticalLitres(capacity::NamedInputs& in, Shown shell) {
    const capacity::ReadResult read = capacity::ReadTankDescription(in, capacity::RequestType::Quick);
    if (!read.description) return refusal<LitresOutcome>(read.message);
    const capacity::TTankDescription& d = *read.description;
    const vertical::VerticalTank& tank = d.vertical;
    if (vertical::inRoofZone(tank, d.quickLevel))
        return refusal<LitresOutcome>("呵呵，液位 " + kernel::formatGeneral(d.quickLevel) +
                                      " 毫米在浮盘起浮区内，浮顶的位置不定，不能计算油量！");
    if (std::string problem = vertical::checkLiquidDensity(tank, true); !problem.empty())
        return refusal<LitresOutcome>(problem);
    const Shown increase = roundShown(vertical::hydrostaticLitres(tank, *tank.density, d.quickLevel), 2);
    const Shown roof = tank.roof && d.quickLevel >= tank.roof->floatLevel
                           ? roundShown(vertical::roofDisplacementLitres(tank), 2)
                           : Shown{0, 2};
    return {{}, {shell.units + increase.units - roof.units, 2}};
}

} // namespace

LitresOutcome litresAtLevel(capacity::NamedInputs& in, std::string_view level) {
    if (capacity::trimBlanks(level).empty()) return refusal<LitresOutcome>(messages::kNoLevel);
    LitresInputs litres(in, std::string(level));
    const capacity::RequestOutcome outcome = capacity::QuickCalculation(litres);
    if (outcome.stopped()) return refusal<LitresOutcome>(outcome.message);
    const Shown shown = parsedShown(litres.text("Edit36"));
    if (capacity::Jgxs(litres) == capacity::TStructureKind::skVertical) return verticalLitres(litres, shown);
    return {{}, shown};
}

QuantityOutcome computeQuantity(capacity::NamedInputs& in) {
    QuantityOutcome q;
    q.mode = chosenMode(in);
    const Group g = chosenGroup(in);
    const DensityOutcome density = standardDensity(in);
    if (!density.message.empty()) return refusal<QuantityOutcome>(density.message);
    const auto t = number(in, inputs::kOilTemperature);
    if (!t) return refusal<QuantityOutcome>(messages::kNoOilTemperature);
    if (auto refused = temperatureRefusal(*t, "油温"); !refused.empty())
        return refusal<QuantityOutcome>(refused);
    q.level = in.text(inputs::kLevel);
    if (capacity::trimBlanks(q.level).empty()) q.level = in.text("Edit35");
    const LitresOutcome litres = litresAtLevel(in, q.level);
    if (!litres.message.empty()) return refusal<QuantityOutcome>(litres.message);
    q.litres = litres.litres;
    q.rho20 = density.rho20;
    q.vcf20 = vcf20Shown(g, q.mode, q.rho20.value(), *t);
    q.volume20 = volume20(q.litres, q.vcf20);
    q.mass = massInAir(q.volume20, q.rho20);
    return q;
}

DeliveryOutcome computeDelivery(capacity::NamedInputs& in) {
    DeliveryOutcome d;
    d.mode = chosenMode(in);
    const DensityOutcome density = standardDensity(in);
    if (!density.message.empty()) return refusal<DeliveryOutcome>(density.message);
    d.rho20 = density.rho20;
    DeliveryFigures& f = d.figures;
    const auto beforeT = number(in, inputs::kBeforeTemperature);
    const auto afterT = number(in, inputs::kAfterTemperature);
    if (!beforeT || !afterT) return refusal<DeliveryOutcome>("呵呵，请输入卸油前后的油温！");
    f.beforeTemperature = *beforeT;
    f.afterTemperature = *afterT;
    f.dispensed = roundShown(number(in, inputs::kDispensed).value_or(0), 2);
    f.ticket = number(in, inputs::kTicket);
    f.ticketMass = number(in, inputs::kTicketMass);
    f.limit = number(in, inputs::kLimit).value_or(kDefaultLimit);
    for (auto [name, target] :
         {std::pair{inputs::kBeforeLevel, &f.before}, std::pair{inputs::kAfterLevel, &f.after}}) {
        const LitresOutcome litres = litresAtLevel(in, in.text(name));
        if (!litres.message.empty()) return refusal<DeliveryOutcome>(litres.message);
        *target = litres.litres;
    }
    d.result = checkDelivery(chosenGroup(in), d.mode, d.rho20, f);
    if (!d.result.message.empty()) return refusal<DeliveryOutcome>(d.result.message);
    return d;
}

} // namespace kelvora::quantity
