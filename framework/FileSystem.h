// Questions and changes about files by name.
#pragma once

#include <cstdint>

#include "SysUtils.h"

bool FileExists(const String& fileName);
// True when the file was deleted.
bool RemoveFile(const String& fileName);
// -1 when the file cannot be examined.
int64_t FileSizeOf(const String& fileName);
// The full path of the running program.
String ProgramFileName();
// The temporary directory, ending in its delimiter.
String TempDirectory();
