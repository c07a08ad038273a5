// A fresh directory per test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

#include "SysUtils.h"

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A file name inside the directory, in the framework's string type.
    String File(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const String& fileName);
void WriteFileBytes(const String& fileName, const std::string& bytes);
