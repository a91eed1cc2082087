#include "frontend/compose/command_slots.h"
#include "frontend/compose/run_outcome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

namespace vornel::frontend {
namespace {

TEST(CommandSlots, SlotOrderNotSettingOrderFixesThePlace) {
    CommandSlots slots;
    slots.set(46, "-L", "5");
    slots.set(42, "-label", "roads,name,,2");
    slots.set(31, "-D", "12,1");
    slots.set(25, "-W", "1,2,3");
    slots.set(48, "-L O");
    slots.set(3, "-e", "3,4,16");
    EXPECT_EQ(slots.joined(), " -e 3,4,16 -W 1,2,3 -D 12,1 -label roads,name,,2 -L 5 -L O");
    EXPECT_EQ(slots.arguments(), (std::vector<std::string>{"-e", "3,4,16", "-W", "1,2,3", "-D", "12,1",
                                                           "-label", "roads,name,,2", "-L", "5", "-L", "O"}));
    slots.clear(46);
    EXPECT_EQ(slots.joined(), " -e 3,4,16 -W 1,2,3 -D 12,1 -label roads,name,,2 -L O");
}

TEST(CommandSlots, BoundsAreChecked) {
    CommandSlots slots;
    slots.set(200, "-x");
    EXPECT_EQ(slots.joined(), " -x");
    EXPECT_THROW(slots.set(201, "-y"), std::out_of_range);
}

TEST(RunOutcome, WordsForExitStatuses) {
    struct Case { RunOutcome outcome; const char* text; };
    const Case cases[] = {
        {{false, 0, 0}, "Process Completed Successfully"},
        {{false, 0, 256}, "Process Completed Successfully"},
        {{false, 0, 3}, "Abnormal Exit, Exit Code: 3"},
        {{false, 0, 255}, "Abnormal Exit, Exit Code: 255"},
        {{false, 0, -1}, "Abnormal Exit, Exit Code: 255"},
        {{false, 0, 1000}, "Abnormal Exit, Exit Code: 232"},
        {{false, 0, 130}, "Shell was Interupted"},
        {{true, SIGINT, 0}, "Shell was Interupted"},
        {{true, SIGKILL, 0}, "Abnormal Exit, Exit Code: 137"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outcomeText(c.outcome), c.text);
    }
}

}  // namespace
}  // namespace vornel::frontend
