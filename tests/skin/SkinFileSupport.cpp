#include "SkinFileSupport.h"

#include <filesystem>

#include "FileSystem.h"
#include "TempDir.h"

void WriteSkinFile(const String& fileName, const std::vector<TSkinRecord>& records, const std::string& password)
{
    const std::string data = BuildRecordFile(records);
    const uint32_t size = static_cast<uint32_t>(data.size());
    WriteFileBytes(fileName, password.empty() ? SkinArchiveOf(StoredDeflate(data), size)
                                              : EncryptedSkinArchiveOf(StoredDeflate(data), size, password));
}

std::vector<String> GuidNamedTempFiles()
{
    std::vector<String> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TempDirectory()))) {
        const String name = entry.path().filename().wstring();
        if (name.size() == 38 && name.front() == L'{' && name.back() == L'}') names.push_back(name);
    }
    return names;
}
