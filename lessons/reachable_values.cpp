#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gfx/input/input.h"
#include "lessons/value_lists.h"
#include "sim/spacing_cycle.h"

// Which wavelengths and wave numbers the keys make: a breadth-first search
// from the start over the values alone, through the same pure steps the
// keys take. The spacing's keys leave the wavelength and the wave number
// alone, so every spacing of the list goes with every pair found.

namespace {

// A state of the search: the values, the runs of "a" since the wavelength
// was last stepped, and whether the last key was "a" (another press goes on
// with its run).
struct Node {
    WaveValues values;
    int32_t runs = 0;
    bool after_a = false;
    int32_t parent = -1;  // index of the node it came from
    std::string_view key;
};

uint64_t pair_key(float wavelength, float wave_number) {
    return uint64_t{std::bit_cast<uint32_t>(wavelength)} << 32 |
           std::bit_cast<uint32_t>(wave_number);
}

struct StateKey {
    uint64_t pair;
    int32_t spacing;
    int32_t runs;  // and 8 more after "a"
    bool operator==(const StateKey&) const = default;
};
struct StateHash {
    size_t operator()(const StateKey& k) const {
        return std::hash<uint64_t>{}(k.pair ^ (uint64_t(uint32_t(k.spacing)) << 40) ^
                                     (uint64_t(uint32_t(k.runs)) << 56));
    }
};

struct Reach {
    std::vector<Node> nodes;
    std::unordered_set<uint64_t> pairs;
    std::unordered_map<uint32_t, std::vector<float>> wave_numbers;  // by wavelength
    // The first (nearest) node of each spacing, wavelength and wave number.
    std::unordered_map<StateKey, int32_t, StateHash> first;
};

Reach search() {
    Reach reach;
    std::unordered_set<StateKey, StateHash> seen;
    const auto visit = [&](const WaveValues& v, int32_t runs, bool after_a, int32_t parent,
                           std::string_view key) {
        const uint64_t pair = pair_key(v.wavelength, v.wave_number);
        if (!seen.insert({pair, v.spacing, runs + (after_a ? 8 : 0)}).second) return;
        reach.nodes.push_back({v, runs, after_a, parent, key});
        if (reach.pairs.insert(pair).second)
            reach.wave_numbers[std::bit_cast<uint32_t>(v.wavelength)].push_back(v.wave_number);
        reach.first.emplace(StateKey{pair, v.spacing, 0},
                            static_cast<int32_t>(reach.nodes.size()) - 1);
    };
    visit({20, 5.0f, wave_number_of(5.0f, STORED_TWO_PI)}, 0, false, -1, {});
    for (size_t i = 0; i < reach.nodes.size(); ++i) {
        const Node node = reach.nodes[i];
        const auto from = static_cast<int32_t>(i);
        const WaveValues& v = node.values;
        for (const int32_t direction : {1, -1}) {
            if (const float* next = next_listed_wavelength(v.wavelength, direction)) {
                visit({v.spacing, *next, wave_number_of(*next, STORED_TWO_PI)}, 0, false, from,
                      direction > 0 ? "+" : "-");
            }
            if (const int32_t* next = next_listed_spacing(v.spacing, direction)) {
                visit({*next, v.wavelength, v.wave_number}, node.runs, false, from,
                      direction > 0 ? KEY_PAGE_UP : KEY_PAGE_DOWN);
            }
        }
        // A run goes on as long as "a" is pressed: its cycle comes back to
        // where it was within a few presses.
        const int32_t runs = node.after_a ? node.runs : node.runs + 1;
        if (runs <= A_RUNS_REACHED)
            visit(next_spacing_values(v, STORED_TWO_PI), runs, true, from, "a");
    }
    return reach;
}

const Reach& reach() {
    static const Reach found = search();
    return found;
}

}  // namespace

bool keys_make(float wavelength, float wave_number) {
    return reach().pairs.contains(pair_key(wavelength, wave_number));
}

std::vector<float> wave_numbers_made(float wavelength) {
    const auto found = reach().wave_numbers.find(std::bit_cast<uint32_t>(wavelength));
    if (found == reach().wave_numbers.end()) return {};
    std::vector<float> numbers = found->second;
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::vector<std::string_view> keys_to_values(const WaveValues& values) {
    const Reach& found = reach();
    const auto at = found.first.find(
        StateKey{pair_key(values.wavelength, values.wave_number), values.spacing, 0});
    if (at == found.first.end()) return {};
    std::vector<std::string_view> keys;
    for (int32_t i = at->second; found.nodes[i].parent >= 0; i = found.nodes[i].parent)
        keys.push_back(found.nodes[i].key);
    return {keys.rbegin(), keys.rend()};
}
