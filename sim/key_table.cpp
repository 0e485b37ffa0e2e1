#include "sim/key_table.h"

#include "sim/hooks.h"
#include "sim/keys.h"

std::vector<const KeyCommand*> key_table() {
    std::vector<const KeyCommand*> rows;
    for (const KeyCommand& row : original_keys())
        rows.push_back(&row);
    for (const KeyCommand& row : sim_hooks().keys) {
        if (row.claims == nullptr) rows.push_back(&row);
    }
    return rows;
}

const KeyCommand* find_key(std::string_view key) {
    if (key.empty()) return nullptr;
    const SimHooks& hooks = sim_hooks();
    for (const KeyCommand& row : hooks.keys) {
        if (row.key == key && row.claims != nullptr && row.claims(hooks.context)) return &row;
    }
    for (const KeyCommand& row : original_keys()) {
        if (row.key == key) return &row;
    }
    for (const KeyCommand& row : hooks.keys) {
        if (row.key == key && row.claims == nullptr) return &row;
    }
    return nullptr;
}
