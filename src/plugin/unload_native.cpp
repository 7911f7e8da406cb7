// The native library's counterpart of the Windows entry routine: releases the result text when
// the library is unloaded.
#include "text/publish.h"

__attribute__((destructor)) static void release_at_unload() { vq::release_result_text(); }
