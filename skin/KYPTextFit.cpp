#include "KYPTextFit.h"

String EllipsisTextBy(const TTextWidthFunc& width, const String& text, int maxWidth)
{
    if (width(text) <= maxWidth) return text;
    for (size_t kept = 1; kept < text.size(); ++kept) {
        String result = text.substr(0, kept) + L"...";
        if (width(result) >= maxWidth) return result;
    }
    return text;
}
