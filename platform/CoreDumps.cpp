#include "platform/CoreDumps.h"

#include <sys/prctl.h>

namespace vw {

bool DisableCoreDumps() {
    return ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
}

} // namespace vw
