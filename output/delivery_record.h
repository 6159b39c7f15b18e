#pragma once
// The delivery check's record on paper ("卸油交接单"): one A4 page with the tank number,
// the date and time, every input and every result of the check, the verdict, and lines
// for 卸油员, 计量员 and 司机 to sign. The fonts and rules of the capacity-table document.
// Drawing needs a QGuiApplication; the record's lines do not.

#include "capacity/named_inputs.h"
#include "quantity/quantity.h"

#include <QByteArray>

#include <string>
#include <utility>
#include <vector>

namespace kelvora::output {

struct DeliveryRecord {
    std::string tankNumber, dateTime;
    // Label and value with its unit, in the order printed.
    std::vector<std::pair<std::string, std::string>> inputs, results;
    bool within = false;
};

// The record of `check`, made from `inputs` as they stand (they are what the check read).
DeliveryRecord describeDelivery(const capacity::NamedInputs& inputs, const quantity::DeliveryOutcome& check,
                                std::string dateTime);

// The record as PDF bytes: A4 portrait, 15 mm margins, fonts embedded. A character
// neither font can show throws kelvora::Error with the message naming it.
QByteArray deliveryRecordPdf(const DeliveryRecord& record);

// Writes the PDF to `path` in one atomic replacement; a failed save throws IoError.
void saveDeliveryRecordPdf(const std::string& path, const DeliveryRecord& record);

} // namespace kelvora::output
