#include "sim/hooks.h"

namespace {

const SimHooks NO_HOOKS = {};
const SimHooks* installed = &NO_HOOKS;

}  // namespace

void install_sim_hooks(const SimHooks* hooks) {
    installed = hooks != nullptr ? hooks : &NO_HOOKS;
}

const SimHooks& sim_hooks() {
    return *installed;
}
