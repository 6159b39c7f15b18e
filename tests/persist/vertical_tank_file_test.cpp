// A vertical tank through a tank file and back: the repeated names one line per entry,
// every other input by its readable name, the same rows after loading.

#include "persist/tank_file.h"

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "capacity/vertical_description.h"
#include "capacity/vocabulary.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace capacity = kelvora::capacity;
namespace persist = kelvora::persist;
using capacity::MemoryInputs;

MemoryInputs verticalTank() {
    auto in = MemoryInputs::afterStartup();
    in.setActivePage(capacity::kVerticalPage);
    in.setText("VerticalCourses", "2000,37762.8,10,-5;1800,37750,9;1500, 37741.2 ,8,3.5");
    in.setText("VerticalBottom", "0,180.5;200,2100;400,5800");
    in.setText("VerticalDeadwood", "0,150,80;200,3500,-165");
    in.setText("VerticalTilt", "0.6");
    in.setText("VerticalDensity", "860");
    in.setText("VerticalRoofMass", "42000");
    in.setText("VerticalRoofFloat", "1800");
    in.setText("VerticalRoofRest", "1500");
    in.setText("VerticalReferenceHeight", "5530");
    in.setText("Edit6", "0"), in.setText("Edit7", "5300"), in.setText("Edit8", "10"),
        in.setText("Edit9", "50");
    in.setText("TankNumber", "V-12");
    return in;
}

TEST(VerticalTankFile, RoundTripKeepsEveryInputAndTheRows) {
    const MemoryInputs original = verticalTank();
    const std::string text = persist::tankFileText(original);
    for (const char* line :
         {"structure = vertical\n", "vertical.course = 2000,37762.8,10,-5\n",
          "vertical.course = 1800,37750,9\n", "vertical.course = 1500,37741.2,8,3.5\n",
          "vertical.bottom_point = 0,180.5\n", "vertical.bottom_point = 400,5800\n",
          "vertical.deadwood = 200,3500,-165\n", "vertical.tilt = 0.6\n", "vertical.density = 860\n",
          "vertical.roof_mass = 42000\n", "vertical.roof_float_level = 1800\n",
          "vertical.roof_rest_level = 1500\n", "vertical.reference_height = 5530\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    persist::test::TempDir dir;
    const auto path = dir.path() / "v12.tank";
    persist::saveTankFile(path, original);
    MemoryInputs loaded = MemoryInputs::afterStartup();
    loaded.setText("VerticalDeadwood", "1,2,3"); // replaced by the file's list
    persist::loadTankFile(path, loaded);
    EXPECT_EQ(loaded.activePage(), capacity::kVerticalPage);
    for (const char* name :
         {"VerticalBottom", "VerticalDeadwood", "VerticalTilt", "VerticalDensity", "VerticalRoofMass",
          "VerticalRoofFloat", "VerticalRoofRest", "VerticalReferenceHeight", "TankNumber"})
        EXPECT_EQ(loaded.text(name), original.text(name)) << name;
    EXPECT_EQ(loaded.text("VerticalCourses"), "2000,37762.8,10,-5;1800,37750,9;1500,37741.2,8,3.5");
    EXPECT_EQ(persist::tankFileText(loaded), text);

    MemoryInputs a = original, b = loaded;
    capacity::RowList rowsA, rowsB;
    ASSERT_FALSE(capacity::GenerateCapacityTable(a, rowsA).stopped());
    ASSERT_FALSE(capacity::GenerateCapacityTable(b, rowsB).stopped());
    ASSERT_EQ(rowsA.size(), rowsB.size());
    for (std::size_t i = 0; i < rowsA.size(); ++i)
        EXPECT_EQ(rowsA[i], rowsB[i]);
}

// A register cell holds a list joined by ";"; repeated names add entries in order.
TEST(VerticalTankFile, ListNamesRepeatAndReplace) {
    struct Case {
        std::vector<capacity::Assignment> assignments;
        const char* courses;
    };
    const Case cases[] = {
        {{{"vertical.course", "1000,30000,8"}}, "1000,30000,8"},
        {{{"vertical.course", "1000,30000,8"}, {"vertical.course", "900,29990,7,1"}},
         "1000,30000,8;900,29990,7,1"},
        {{{"vertical.course", "1000,30000,8; 900,29990,7"}}, "1000,30000,8;900,29990,7"},
        {{{"vertical.course", ""}}, ""},
    };
    for (const auto& c : cases) {
        MemoryInputs in = MemoryInputs::afterStartup();
        in.setText("VerticalCourses", "1,2,3;4,5,6");
        capacity::applyAssignments(in, c.assignments);
        EXPECT_EQ(in.text("VerticalCourses"), c.courses);
    }
    MemoryInputs in = MemoryInputs::afterStartup();
    EXPECT_THROW(capacity::applyAssignments(
                     in, std::vector<capacity::Assignment>{{"vertical.tilt", "1"}, {"vertical.tilt", "2"}}),
                 capacity::VocabularyError);
}

} // namespace
