// Skin files for the Windows tests, made without zlib: records in stored
// Deflate blocks inside a skin archive.
#pragma once

#include <string>
#include <vector>

#include "SkinArchiveWriter.h"
#include "SysUtils.h"

// Writes a skin file holding Records; encrypted when Password is not empty.
void WriteSkinFile(const String& fileName, const std::vector<TSkinRecord>& records, const std::string& password = "");

// Names in the temporary directory that look like the reader's
// temporary files ({GUID}).
std::vector<String> GuidNamedTempFiles();
