// Members of skin archives: the ZIP layout with "SK" in place of "PK" at
// the start, no archive comment, members stored as raw Deflate streams,
// optionally with the traditional PKWARE encryption.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SysUtils.h"

// The results of ExtractArchiveMember.
constexpr uint8_t kExtractOk = 0;
constexpr uint8_t kExtractFailed = 1;
// Encrypted without a (right) password, or extracted to a size other than
// the one the archive records.
constexpr uint8_t kExtractRefused = 2;

// A member's recorded size above this is not extracted: no skin comes near
// it, and a hostile archive cannot make us write more.
constexpr uint32_t kMaxMemberSize = 256u * 1024 * 1024;

// Inflates the member whose name equals MemberName, ignoring the case of
// ASCII letters, into OutputFile (replaced). A failure once the output is
// created removes it; a failure before that (no archive, no "SK", no end
// record, no such member, a recorded size above kMaxMemberSize) leaves any
// file of that name untouched, since this call did not make it. Names
// are 8-bit text and are compared byte for character (Latin-1), which is
// exact for the ASCII names that skins use.
uint8_t ExtractArchiveMember(const String& archiveFile, const String& memberName, const String& outputFile,
    const String& password);

// The three keys of the traditional PKWARE encryption.
struct TPkwareKeys {
    uint32_t Key0 = 0x12345678;
    uint32_t Key1 = 0x23456789;
    uint32_t Key2 = 0x34567890;

    // Keys for Password: the low byte of each character in turn.
    static TPkwareKeys ForPassword(const String& password);
    void Update(uint8_t plain);
    uint8_t StreamByte() const;
};

// Decrypts Count bytes in place; Keys carries over to the next buffer.
void DecryptBuffer(TPkwareKeys& keys, uint8_t* buffer, size_t count);
