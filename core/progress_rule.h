#pragma once
// The launcher's image progress bar shows a left part of a fixed strip image.
// Which part, and whether the strip must be wiped first, depends only on the
// columns already shown and the new position; kept here so it can be tested
// without a window.

namespace qel {

struct ProgressStep {
    bool redraw = false;      // false: the shown width stays, nothing is drawn
    bool clearFirst = false;  // the fill shrinks: wipe the strip before drawing
    int fill = 0;             // columns shown afterwards (when redraw is set)
};

// position is on a 0 to 100 scale; values outside it are accepted (below 0
// acts like 0, above 100 shows the whole strip). At least one column is shown
// once anything is drawn, so the bar never looks empty.
ProgressStep NextProgressStep(int shownFill, int position, int imageWidth);

// One tick of the waiting animation: creep forward by randomValue % 3 points,
// starting over from 0 once 100 has been reached.
int NextBusyPosition(int position, int randomValue);

}  // namespace qel
