#include "sim/key_table.h"

#include "sim/hooks.h"
#include "sim/keys.h"

std::vector<const KeyCommand*> key_table() {
    std::vector<const KeyCommand*> rows;
    for (const KeyCommand& row : original_keys())
        rows.push_back(&row);
    for (const KeyCommand& row : sim_hooks().keys)
        rows.push_back(&row);
    return rows;
}

const KeyCommand* find_key(std::string_view key) {
    if (key.empty()) return nullptr;
    for (const KeyCommand& row : original_keys()) {
        if (row.key == key) return &row;
    }
    for (const KeyCommand& row : sim_hooks().keys) {
        if (row.key == key) return &row;
    }
    return nullptr;
}
