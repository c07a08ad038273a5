// Questions and changes about files by name.
#pragma once

#include <cstdint>

#include "SysUtils.h"

bool FileExists(const String& fileName);
// Something other than a file or a folder: a device, written in place.
bool IsDeviceName(const String& fileName);
// True when the file was deleted.
bool RemoveFile(const String& fileName);
// Renames Source to Target, replacing a file of that name in one step:
// Target is either the old file or the new one, never a mix or missing.
// False (both left as they were) when the system refuses.
bool RenameFileOver(const String& source, const String& target);
// -1 when the file cannot be examined.
int64_t FileSizeOf(const String& fileName);
// The full path of the running program.
String ProgramFileName();
// The temporary directory, ending in its delimiter.
String TempDirectory();
