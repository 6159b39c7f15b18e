#include "cli/register_names.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cctype>

namespace kelvora::cli {

std::string clashKey(std::string_view name) {
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    // Folding can leave a decomposed form (and decomposing can change the fold): normalise
    // on both sides.
    return text.normalized(QString::NormalizationForm_C)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_C)
        .toStdString();
}

} // namespace kelvora::cli
