#include "Streams.h"

#include <algorithm>
#include <cstring>

int64_t TStream::Size()
{
    const int64_t position = Position();
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    SetPosition(position);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(L"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
    for (int64_t left = count; left > 0;) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

namespace {

TFileShare ShareOf(unsigned mode)
{
    switch (mode & 0xF0) {
    case fmShareExclusive: return TFileShare::Exclusive;
    case fmShareDenyWrite: return TFileShare::DenyWrite;
    case fmShareDenyRead: return TFileShare::DenyRead;
    case fmShareDenyNone: return TFileShare::DenyNone;
    default: return TFileShare::Exclusive;
    }
}

TFileAccess AccessOf(unsigned mode)
{
    switch (mode & 0x03) {
    case fmOpenWrite: return TFileAccess::Write;
    case fmOpenReadWrite: return TFileAccess::ReadWrite;
    default: return TFileAccess::Read;
    }
}

}  // namespace

TFileStream::TFileStream(const String& fileName, unsigned mode) : fileName_(fileName)
{
    int error = 0;
    const bool create = (mode & fmCreate) == fmCreate;
    if (create) {
        handle_ = TFileHandle::Open(fileName, TFileAccess::ReadWrite, ShareOf(mode & 0xFF),
                                    TFileDisposition::CreateAlways, &error);
        if (!handle_.Valid())
            throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(error));
    } else {
        handle_ = TFileHandle::Open(fileName, AccessOf(mode), ShareOf(mode), TFileDisposition::OpenExisting, &error);
        if (!handle_.Valid())
            throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + SysErrorMessage(error));
    }
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    const int64_t got = handle_.Read(buffer, count);
    return got < 0 ? 0 : got;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    const int64_t put = handle_.Write(buffer, count);
    return put < 0 ? 0 : put;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) { return handle_.Seek(offset, origin); }

void TFileStream::SetSize(int64_t size)
{
    const int64_t position = Position();
    if (Seek(size, TSeekOrigin::soBeginning) != size || !handle_.Truncate())
        throw EStreamError(L"Cannot set the size of \"" + fileName_ + L"\"");
    if (position < size) SetPosition(position);
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t available = std::max<int64_t>(0, Size() - position_);
    const int64_t n = std::clamp<int64_t>(count, 0, available);
    if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0) return 0;
    if (position_ + count > Size()) data_.resize(static_cast<size_t>(position_ + count));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? position_ : Size();
    position_ = std::max<int64_t>(0, base + offset);
    return position_;
}

void TMemoryStream::SetSize(int64_t size)
{
    data_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const int64_t size = source.Size();
    SetSize(size);
    position_ = 0;
    source.ReadBuffer(data_.data(), size);
}

void TMemoryStream::LoadFromFile(const String& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const String& fileName)
{
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(data_.data(), Size());
}
