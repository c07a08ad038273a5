// Settings files of sections and "key=value" lines.
#pragma once

#include "Classes.h"

class TIniFile : public TObject {
public:
    explicit TIniFile(String fileName) : fileName_(std::move(fileName)) {}
    const String& FileName() const { return fileName_; }

    // A missing file, section or key gives Default.
    String ReadString(const String& section, const String& ident, const String& defaultValue) const;

private:
    String fileName_;
};
