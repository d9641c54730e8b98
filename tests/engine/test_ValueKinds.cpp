// The engine's Booleans, from the table data/valuekinds.txt.
#include "CaseFiles.h"
#include "ValueKinds.h"

namespace {

TEST(ValueKinds, Booleans) {
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_ENGINE_DATA "/valuekinds.txt")) {
        for (const bool before : {false, true}) {  // the result never depends on what was there
            bool b = before;
            EXPECT_EQ(vesmora::vk::ParseBoolean(row[0], b) ? vesmora::vk::BooleanText(b) : "fail",
                      row[1])
                << row.where << (before ? " (was True)" : " (was False)");
        }
    }
}

}  // namespace
