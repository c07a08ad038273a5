// Where the recorder's calls of the five encoder functions go: lame_enc
// from the program's own folder, loaded on first use, or a table that a
// test puts in its place.
#pragma once

#include "Lame_dll.h"
#include "SysUtils.h"

struct TLameFunctions {
    decltype(&beVersion) Version;
    decltype(&beInitStream) InitStream;
    decltype(&beEncodeChunk) EncodeChunk;
    decltype(&beDeinitStream) DeinitStream;
    decltype(&beCloseStream) CloseStream;
};

// True when the functions can be called; loads the library on first use.
bool LameLibraryAvailable();
// Why the library could not be loaded: the file and the system's reason.
String LameLibraryError();

// Sends every call to Table until called again with nullptr. The table
// must outlive its use.
void UseLameFunctions(const TLameFunctions* table);
