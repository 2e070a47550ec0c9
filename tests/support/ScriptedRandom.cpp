#include "ScriptedRandom.h"

double ScriptedRandom::Next() {
    if (!script.empty()) {
        const double v = script.front();
        script.pop_front();
        return v;
    }
    return UniformDraw(gen_);
}
