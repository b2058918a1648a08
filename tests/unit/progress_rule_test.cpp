#include "core/progress_rule.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

constexpr int kStrip = 190;  // the launcher's bar image is 190 columns wide

TEST(ProgressStep, ColumnTable) {
    struct Case { int shown; int position; bool redraw; bool clear; int fill; };
    const Case cases[] = {
        {0, 1, true, false, 1},          // 1.9 truncated
        {0, 50, true, false, 95},
        {0, 100, true, false, 190},
        {0, 150, true, false, 190},      // beyond 100 shows the whole strip, no more
        {95, 0, true, true, 1},          // back to the start: wipe, then one column
        {95, -20, true, true, 1},        // negative acts like 0
        {1, 0, true, true, 1},           // even from one column the strip is wiped again
        {114, 59, true, true, 112},      // 60 -> 59 shrinks by two columns
        {112, 60, true, false, 114},
        {95, 50, false, false, 0},       // same position again: nothing drawn
        {1, 1, false, false, 0},
        {190, 101, true, false, 190},    // 191.9 is not 190, so it is drawn again
        {190, INT_MAX, true, false, 190},
        {190, INT_MIN, true, true, 1},
    };
    for (const Case& c : cases) {
        const qel::ProgressStep s = qel::NextProgressStep(c.shown, c.position, kStrip);
        EXPECT_EQ(s.redraw, c.redraw) << c.shown << " -> " << c.position;
        EXPECT_EQ(s.clearFirst, c.clear) << c.shown << " -> " << c.position;
        if (c.redraw) {
            EXPECT_EQ(s.fill, c.fill) << c.shown << " -> " << c.position;
        }
    }
}

TEST(ProgressStep, EveryPositionStaysInsideTheStrip) {
    int shown = 0;
    for (int p = -5; p <= 105; ++p) {
        const qel::ProgressStep s = qel::NextProgressStep(shown, p, kStrip);
        if (!s.redraw) continue;
        EXPECT_GE(s.fill, 1) << p;
        EXPECT_LE(s.fill, kStrip) << p;
        shown = s.fill;
    }
    EXPECT_EQ(shown, kStrip);
}

TEST(BusyPosition, CreepsAndWraps) {
    struct Case { int position; int random; int want; };
    const Case cases[] = {
        {0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 32767, 1},
        {99, 2, 101},   // may pass 100 once ...
        {100, 1, 0},    // ... and starts over at the next tick
        {101, 2, 0},
        {50, 5, 52},
    };
    for (const Case& c : cases) EXPECT_EQ(qel::NextBusyPosition(c.position, c.random), c.want) << c.position;
}

}  // namespace
