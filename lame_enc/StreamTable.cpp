#include "StreamTable.h"

HBE_STREAM StreamTable::Add(std::unique_ptr<EncoderStream> stream)
{
    std::lock_guard lock(mutex_);
    if (streams_.size() >= kCapacity) return 0;
    lastHandle_ = UnusedHandle();
    streams_.emplace(lastHandle_, std::move(stream));
    return lastHandle_;
}

bool StreamTable::Remove(HBE_STREAM handle)
{
    std::lock_guard lock(mutex_);
    return streams_.erase(handle) != 0;
}

// After the counter wraps it skips 0 and the handles still open.
HBE_STREAM StreamTable::UnusedHandle() const
{
    HBE_STREAM handle = lastHandle_;
    do {
        ++handle;
    } while (handle == 0 || streams_.contains(handle));
    return handle;
}

StreamTable& Streams()
{
    static StreamTable table;
    return table;
}
