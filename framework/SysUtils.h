// Strings, exceptions and the small file-name and conversion helpers that
// the whole program shares.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// Text is UTF-16 on Windows (wchar_t); the native test build uses its own
// wide characters, which only the platform files ever convert.
using String = std::wstring;

// The base of every error the framework and the program raise. The message
// is what the user sees in an error box.
class Exception : public std::exception {
public:
    explicit Exception(String message);
    const String& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    String message_;
    std::string utf8_;
};

// A failed file operation of the typed-file kind, with the system error code.
class EInOutError : public Exception {
public:
    EInOutError(String message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    int ErrorCode;
};

class EConvertError : public Exception {
    using Exception::Exception;
};

class EOutOfMemory : public Exception {
    using Exception::Exception;
};

// The message of the exception being handled; call only inside a catch.
String CurrentExceptionMessage();

String IntToStr(int64_t value);
String UIntToStr(uint64_t value);

// "C:\dir\name.wav" -> "C:\dir\name.mp3"; the extension starts at the last
// dot after the last path delimiter.
String ChangeFileExt(const String& fileName, const String& extension);
String ExtractFileExt(const String& fileName);
// The directory part including its trailing delimiter.
String ExtractFilePath(const String& fileName);
String ExtractFileName(const String& fileName);

std::string ToUtf8(const String& text);
String FromUtf8(const std::string& text);

String LowerCase(const String& text);
// An integer text is True when it is not zero ("-1" True, "0" False, any
// length); otherwise "True" or "False" in any letter case. Anything else
// is an EConvertError.
bool StrToBool(const String& text);
bool SameText(const String& a, const String& b);

// The text of a system call that copies it into a buffer of Size
// characters and answers its length, or, when the buffer is too small, the
// size needed with the terminator (GetTempPathW and its kind); 0 is a
// failure and gives an empty text.
using TSizedTextCall = std::function<uint32_t(wchar_t* buffer, uint32_t size)>;
String ReadSizedText(const TSizedTextCall& call, uint32_t firstSize);
