#include "SysUtils.h"

#include <algorithm>
#include <cwctype>

Exception::Exception(String message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

String CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const Exception& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return FromUtf8(error.what());
    } catch (...) {
        return L"Unknown error";
    }
}

String IntToStr(int64_t value) { return std::to_wstring(value); }
String UIntToStr(uint64_t value) { return std::to_wstring(value); }

namespace {

bool IsPathDelimiter(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }

// Index of the dot that starts the extension, or npos.
size_t ExtensionStart(const String& fileName)
{
    for (size_t i = fileName.size(); i-- > 0;) {
        if (fileName[i] == L'.') return i;
        if (IsPathDelimiter(fileName[i])) break;
    }
    return String::npos;
}

size_t NameStart(const String& fileName)
{
    for (size_t i = fileName.size(); i-- > 0;)
        if (IsPathDelimiter(fileName[i])) return i + 1;
    return 0;
}

}  // namespace

String ChangeFileExt(const String& fileName, const String& extension)
{
    const size_t dot = ExtensionStart(fileName);
    return (dot == String::npos ? fileName : fileName.substr(0, dot)) + extension;
}

String ExtractFileExt(const String& fileName)
{
    const size_t dot = ExtensionStart(fileName);
    return dot == String::npos ? String() : fileName.substr(dot);
}

String ExtractFilePath(const String& fileName) { return fileName.substr(0, NameStart(fileName)); }
String ExtractFileName(const String& fileName) { return fileName.substr(NameStart(fileName)); }

std::string ToUtf8(const String& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
                const uint32_t low = static_cast<uint32_t>(text[i + 1]);
                if (low >= 0xDC00 && low < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

String FromUtf8(const std::string& text)
{
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int extra = byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
        uint32_t c = extra == 0 ? byte : byte & (0x3F >> extra);
        size_t j = i + 1;
        for (int k = 0; k < extra && j < text.size(); ++k, ++j) c = (c << 6) | (text[j] & 0x3F);
        i = j;
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

String LowerCase(const String& text)
{
    String out = text;
    std::transform(out.begin(), out.end(), out.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return out;
}

bool SameText(const String& a, const String& b) { return LowerCase(a) == LowerCase(b); }

namespace {
bool IsIntegerText(const String& text)
{
    const size_t digits = (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ? 1 : 0;
    return text.size() > digits && text.find_first_not_of(L"0123456789", digits) == String::npos;
}
}  // namespace

bool StrToBool(const String& text)
{
    if (IsIntegerText(text)) return text.find_first_not_of(L"+-0") != String::npos;
    if (SameText(text, L"True")) return true;
    if (SameText(text, L"False")) return false;
    throw EConvertError(L"'" + text + L"' is not a valid boolean value");
}

String ReadSizedText(const TSizedTextCall& call, uint32_t firstSize)
{
    String text(std::max<uint32_t>(firstSize, 1), L'\0');
    for (;;) {
        const uint32_t length = call(text.data(), static_cast<uint32_t>(text.size()));
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        // A call that answers the size it was given gets one more.
        text.resize(std::max<size_t>(length, text.size() + 1));
    }
}
