// The native library's counterpart of the Windows entry routine. A destructor runs at dlclose
// and at exit alike and cannot tell them apart, so both count as an unload here.
#include "plugin/library_detach.h"

__attribute__((destructor)) static void detach_at_unload() { vq::on_library_detach(false); }
