#include "ButtonRow.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

std::vector<int> FitButtonWidths(const std::vector<int>& designed, const std::vector<int>& least, int room) {
    std::vector<int> wanted(designed.size());
    std::transform(designed.begin(), designed.end(), least.begin(), wanted.begin(),
                   [](int d, int l) { return std::max(d, l); });
    const std::int64_t wantedSum = std::accumulate(wanted.begin(), wanted.end(), std::int64_t{0});
    const std::int64_t leastSum = std::accumulate(least.begin(), least.end(), std::int64_t{0});
    if (wantedSum <= room)
        return wanted;
    if (room <= leastSum)
        return least;
    // Rounded down, so that the row never outgrows the room.
    std::vector<int> widths(wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i)
        widths[i] =
            least[i] + static_cast<int>((wanted[i] - least[i]) * (room - leastSum) / (wantedSum - leastSum));
    return widths;
}
