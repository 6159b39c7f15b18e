#include "cli/quantity_batch.h"
#include "cli/usage_messages.h"

#include "capacity/vocabulary.h"
#include "cli/batch.h"
#include "cli/document_application.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "output/delivery_record.h"
#include "quantity/quantity.h"

#include <QDateTime>

#include <exception>
#include <ostream>
#include <vector>

namespace kelvora::cli {

namespace {

constexpr std::string_view kQuantityUsage = R"(
油量计算（20 ℃标准体积和质量，GB/T 1885-1998）：
       kelvora-table --rho20 PRODUCT DENSITY TEMPERATURE [--formula]
       kelvora-table --vcf20 PRODUCT RHO20 TEMPERATURE [--formula]
       kelvora-table [--settings DIR] [--tank FILE] --quantity [--formula] [NAME=VALUE]...
       kelvora-table [--settings DIR] [--tank FILE] --delivery [--formula] [--out FILE.pdf] [NAME=VALUE]...

  PRODUCT        油品：A 或 原油，B 或 成品油，D 或 润滑油；其他词是命令行错误。
  --rho20        试样视密度 DENSITY（kg/m3）在试验温度 TEMPERATURE（℃）下的标准密度ρ20，
                 只打印一行：“查表”（默认）1位小数，“公式”4位小数。
  --vcf20        标准密度 RHO20 在油温 TEMPERATURE 下的体积修正系数VCF20，只打印一行：
                 “查表”4位小数，“公式”6位小数。
  --formula      按“公式”全精度计算（同 vcf.mode=formula）；默认按“查表”。
  --quantity     罐内油量：液位 quantity.level（空着时用 quick.level，mm）下的容积按快速
                 计算（总是升，重量方式也是），打印 level,…（mm）volume,…（L）rho20,…
                 vcf20,… volume20,…（L，20 ℃）mass,…（kg，空气中）。给出 product、
                 oil.temperature，以及 rho20 或 sample.density 和 sample.temperature。
  --delivery     卸油交接：delivery.before.level / delivery.before.temperature、
                 delivery.after.level / delivery.after.temperature、delivery.dispensed（L）、
                 delivery.ticket（L，20 ℃）或 delivery.ticket_mass（kg）、delivery.limit（‰，
                 默认3），密度同 --quantity；打印 before20,… after20,… dispensed20,…
                 received20,… ticket20,… difference,…（L）permille,…（‰）verdict,within|outside。
                 --out FILE.pdf 改为保存A4交接单（罐号取 tank_number）并打印“保存成功！”。
  密度超出油品的范围（A 610–1075，B 653–1075，D 800–1164 kg/m3）、温度超出 -18…90 ℃、
  既没有ρ20也没有试样读数时，给出提示（状态1）；该填数字处填了文字为状态2。
)";

struct Usage {
    std::string text;
};

int usage(std::ostream& err, const std::string& text) {
    err << "kelvora-table: " << text << kSeeHelp;
    return kUsage;
}

void printLine(std::ostream& out, std::string_view name, std::string_view value) {
    out << name << ',' << value << '\n';
}

} // namespace

std::string_view quantityUsageText() {
    return kQuantityUsage;
}

bool isStandardDensityOption(std::string_view arg) {
    return arg == "--rho20" || arg == "--vcf20";
}

int runStandardDensity(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::string_view option;
    bool formula = false;
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (isStandardDensityOption(arg) && option.empty())
            option = arg;
        else if (arg == "--formula")
            formula = true;
        else if (arg.starts_with("--"))
            return usage(err, "unknown option '" + std::string(arg) + "' with " + std::string(option));
        else
            args.push_back(arg);
    }
    if (args.size() != 3) return usage(err, std::string(option) + " takes PRODUCT DENSITY TEMPERATURE");
    const auto group = quantity::groupFromWord(args[0]);
    if (!group)
        return usage(err, "PRODUCT is A, B or D (原油, 成品油, 润滑油), not '" + std::string(args[0]) + "'");
    const quantity::Mode mode = formula ? quantity::Mode::Formula : quantity::Mode::Table;
    try {
        const double density = kernel::strToFloat(args[1]);
        const double t = kernel::strToFloat(args[2]);
        const bool rho20 = option == "--rho20";
        std::string refused = quantity::temperatureRefusal(t, rho20 ? "试验温度" : "油温");
        if (refused.empty())
            refused = quantity::densityRefusal(*group, density, rho20 ? "视密度" : "标准密度ρ20");
        if (!refused.empty()) {
            err << refused << '\n';
            return kValidation;
        }
        const quantity::Shown shown = rho20 ? quantity::rho20Shown(*group, mode, density, t)
                                            : quantity::vcf20Shown(*group, mode, density, t);
        out << shown.text() << '\n';
        return kOk;
    } catch (const std::exception& e) {
        err << errorReportText(e.what()) << '\n';
        return kErrorReport;
    }
}

int runQuantityRequest(capacity::NamedInputs& inputs, QuantityRequest request, bool formula,
                       const std::optional<std::string>& pdf, std::ostream& out, std::ostream& err) {
    if (formula) inputs.setText(quantity::inputs::kMode, quantity::modeName(quantity::Mode::Formula));
    if (request == QuantityRequest::Quantity) {
        const quantity::QuantityOutcome q = quantity::computeQuantity(inputs);
        if (!q.message.empty()) {
            err << q.message << '\n';
            return kValidation;
        }
        printLine(out, "level", capacity::trimBlanks(q.level));
        printLine(out, "volume", q.litres.text());
        printLine(out, "rho20", q.rho20.text());
        printLine(out, "vcf20", q.vcf20.text());
        printLine(out, "volume20", q.volume20.text());
        printLine(out, "mass", q.mass.text());
        return kOk;
    }
    const quantity::DeliveryOutcome d = quantity::computeDelivery(inputs);
    if (!d.message.empty()) {
        err << d.message << '\n';
        return kValidation;
    }
    if (pdf) {
        const DocumentApplication application;
        const QDateTime now = QDateTime::currentDateTime();
        output::saveDeliveryRecordPdf(
            *pdf, output::describeDelivery(inputs, d,
                                           now.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString()));
        out << "保存成功！\n";
        return kOk;
    }
    const quantity::DeliveryResult& r = d.result;
    printLine(out, "before20", r.before20.text());
    printLine(out, "after20", r.after20.text());
    printLine(out, "dispensed20", r.dispensed20.text());
    printLine(out, "received20", r.received20.text());
    printLine(out, "ticket20", r.ticket20.text());
    printLine(out, "difference", r.difference.text());
    printLine(out, "permille", r.permille.text());
    printLine(out, "verdict", r.within ? "within" : "outside");
    return kOk;
}

} // namespace kelvora::cli
