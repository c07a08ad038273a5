// Writes the 44-byte header of an empty PCM recording to a new file; the
// recording device fills the file in the header's format.
#pragma once

#include <cstdint>

#include "SysUtils.h"

// Replaces FileName by the header. Each step (create, write, close) is
// checked at once; a failure raises EInOutError and skips the rest.
void createwav(uint16_t channels, uint16_t resolution, int32_t rate, const String& fn);
