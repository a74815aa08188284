// The Wayland backend's books, driven without a compositor: what it keeps of outputs and of the
// processes of a run as they come, go and end.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "platform/wl_state.h"

namespace smokedrift::wl {
namespace {

wl_output* const LISTED = reinterpret_cast<wl_output*>(0x7001);  // only compared, never called
const int OUTPUT_GONE = W_EXITCODE(OUTPUT_GONE_CODE, 0);

// A monitor that keeps dropping off while the saver runs: each time the compositor closes our
// surface on it before it says the output went. However many went so, the next output whose
// surface is closed is abandoned, not forked again and again.
TEST(WaylandRun, AnOutputIsAbandonedHoweverManyWentBefore) {
    WlState& s = state();
    s = WlState{};
    for (std::uint32_t name = 1; name <= 2 * MAX_OUTPUTS; ++name) {
        s.outputs[0] = WlOutput{.name = name, .output = LISTED};
        s.members[0] = Member{.pid = 100, .output = name};
        EXPECT_EQ(memberEnded(100, OUTPUT_GONE), -1);
        ASSERT_TRUE(outputAbandoned(name)) << "output " << name;
        s.outputs[0] = WlOutput{};
    }
}

}  // namespace
}  // namespace smokedrift::wl
