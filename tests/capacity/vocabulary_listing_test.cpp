// The listing of --inputs: scripts read each name's type from its last column.

#include "capacity/vocabulary.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvora::capacity {
namespace {

TEST(VocabularyListing, CertificateTextsAreTextAndDimensionsNumbers) {
    struct Case {
        const char* name;
        const char* type;
    };
    const Case cases[] = {
        {"tank_number", "text"},       {"owner", "text"},       {"certificate", "text"},
        {"issued_by", "text"},         {"valid_until", "text"}, {"D", "number"},
        {"inclined.L", "number"},      {"left.h", "number"},    {"u.level", "number"},
        {"rows_per_column", "number"},
    };
    for (const auto& c : cases) {
        std::string found;
        for (const auto& listing : vocabularyListing())
            if (listing.name == c.name) found = listing.values;
        EXPECT_EQ(found, c.type) << c.name;
    }
}

} // namespace
} // namespace kelvora::capacity
