// The open streams by handle. Handles are 32-bit numbers because the binary
// interface has no room for a pointer; a counter hands them out, so a closed
// handle stays invalid instead of naming the next stream opened.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>

#include "EncoderStream.h"

class StreamTable {
public:
    // Each stream holds a whole LAME encoder and a recorder needs one at a
    // time, so a caller that leaks streams hits this limit instead of
    // exhausting memory.
    static constexpr size_t kCapacity = 64;

    // The new handle, never 0; 0 when the table is full.
    HBE_STREAM Add(std::unique_ptr<EncoderStream> stream);
    // action(EncoderStream&) runs under the table's lock, so a stream cannot be
    // closed while another thread encodes into it.
    template <class Action>
    uint32_t Use(HBE_STREAM handle, Action&& action);
    bool Remove(HBE_STREAM handle);

private:
    HBE_STREAM UnusedHandle() const;

    std::mutex mutex_;
    std::map<HBE_STREAM, std::unique_ptr<EncoderStream>> streams_;
    HBE_STREAM lastHandle_ = 0;
};

// The library's one table.
StreamTable& Streams();

template <class Action>
uint32_t StreamTable::Use(HBE_STREAM handle, Action&& action)
{
    std::lock_guard lock(mutex_);
    const auto found = streams_.find(handle);
    return found == streams_.end() ? BE_ERR_INVALID_HANDLE : action(*found->second);
}
