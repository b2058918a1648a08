#include "core/progress_rule.h"

#include <algorithm>

namespace qel {

ProgressStep NextProgressStep(int shownFill, int position, int imageWidth) {
    // Truncated toward zero like the product always did (1 -> 1.9 -> 1 column);
    // bounded first so that an absurd position cannot overflow the conversion.
    double exact = position / 100.0 * imageWidth;
    exact = std::clamp(exact, -1.0, static_cast<double>(imageWidth) + 1.0);
    const int fill = static_cast<int>(exact);

    ProgressStep step;
    if (fill == shownFill) return step;
    step.redraw = true;
    step.clearFirst = fill < shownFill;
    step.fill = std::max(1, std::min(fill, imageWidth));
    return step;
}

int NextBusyPosition(int position, int randomValue) {
    if (position >= 100) return 0;
    int stepBy = randomValue % 3;
    if (stepBy < 0) stepBy = -stepBy;
    return position + stepBy;
}

}  // namespace qel
