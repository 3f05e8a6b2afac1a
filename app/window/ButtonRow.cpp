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

std::vector<ButtonLine> FitButtonLines(const std::vector<int>& designed, const std::vector<int>& least,
                                       int room, int gap) {
    std::vector<ButtonLine> lines;
    for (std::size_t first = 0; first < least.size();) {
        std::size_t end = first + 1;
        std::int64_t needed = least[first];
        while (end < least.size() && needed + gap + least[end] <= room)
            needed += gap + least[end++];
        const int gaps = static_cast<int>(end - first - 1) * gap;
        lines.push_back({first, FitButtonWidths({designed.begin() + first, designed.begin() + end},
                                                {least.begin() + first, least.begin() + end}, room - gaps)});
        first = end;
    }
    return lines;
}
