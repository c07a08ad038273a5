// Strings of the program's string table.
#pragma once

#include <windows.h>

#include "SysUtils.h"

// The program's string table entry Id, or an empty string when it has none.
String LoadResString(UINT id);
