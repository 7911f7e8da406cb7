// The switch that tests and benchmarks flip to run the same cases through each scanner table.
// Nothing in the library includes it but the scanners' own dispatch, which it sets.
#pragma once

#include "blocks/scan_path.h"

namespace vq {

// The scanners the first scan picks (see scan_path_in_use).
scan_path best_scan_path() noexcept;

// Makes p the scanners in use, for every thread; false, with nothing changed, when this
// processor cannot run them. A scan already under way finishes with the ones it started with.
bool use_scan_path(scan_path p) noexcept;

}  // namespace vq
