// Shortening a text to a width with three full stops, for any way of
// measuring it (a canvas, or a fixed width per character in tests).
#pragma once

#include <functional>

#include "SysUtils.h"

using TTextWidthFunc = std::function<int(const String& text)>;

// Text itself when it fits MaxWidth; otherwise the shortest "prefix..."
// at least MaxWidth wide, or Text when no prefix shorter than Text gets
// that wide.
String EllipsisTextBy(const TTextWidthFunc& width, const String& text, int maxWidth);
