#include "simulator.h"

namespace simboard {

Simulator& simulator() {
    static Simulator instance;
    return instance;
}

} // namespace simboard
