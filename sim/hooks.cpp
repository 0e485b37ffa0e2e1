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

PhasorSet setting_phasors(const SlitSetting& setting, float phase) {
    if (const auto physics = installed->physics) return physics(setting, phase);
    return slit_phasors(setting, phase);
}
