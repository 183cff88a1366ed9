#pragma once
// CPU time the process has used, for idle-cost measurements.

namespace kovrin::platform {

// User plus system CPU seconds of the whole process (all threads).
double ProcessCpuSeconds();

} // namespace kovrin::platform
