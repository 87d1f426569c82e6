// The overlay's pictures in shared memory: buffers the compositor reads, each
// busy from its commit until the compositor releases it. Which buffers are
// made, kept and handed out again is decided here alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/Geometry.h"

struct wl_buffer;
struct wl_shm;

namespace ratiscope {

// One shared-memory picture: ARGB8888, premultiplied, rows `size.width` apart.
class TShmBuffer {
public:
    TShmBuffer(wl_buffer* buffer, void* data, std::size_t bytes, TSize size);
    ~TShmBuffer();
    TShmBuffer(const TShmBuffer&) = delete;
    TShmBuffer& operator=(const TShmBuffer&) = delete;

    wl_buffer* Buffer() const { return buffer_; }
    TSize Size() const { return size_; }
    std::span<std::uint32_t> Pixels() const { return {static_cast<std::uint32_t*>(data_), bytes_ / sizeof(std::uint32_t)}; }
    // Whether the compositor may still read it.
    bool Busy() const { return busy_; }

private:
    friend class TShmPool;
    wl_buffer* buffer_;
    void* data_;
    std::size_t bytes_;
    TSize size_;
    bool busy_ = false;
};

class TShmPool {
public:
    // Buffers kept while the compositor still reads others; more are made on demand.
    static constexpr std::size_t kSpareBuffers = 2;

    // `shm` is the compositor's shared-memory global, not owned; null makes no buffers.
    explicit TShmPool(wl_shm* shm) : shm_(shm) {}
    TShmPool(const TShmPool&) = delete;
    TShmPool& operator=(const TShmPool&) = delete;

    // A buffer of `size` (pixels) the compositor is not reading, made when
    // there is none; null when shared memory cannot be had or the picture is
    // larger than the protocol can share (2 GiB). Free buffers of other sizes go.
    TShmBuffer* Free(TSize size);
    // `buffer` went to the compositor with a commit: busy until it is released.
    void Sent(TShmBuffer& buffer) { buffer.busy_ = true; }
    // The compositor let go of `buffer`; spares beyond kSpareBuffers go.
    void Released(wl_buffer* buffer);

    std::size_t Count() const { return buffers_.size(); }
    std::size_t BusyCount() const;

private:
    std::unique_ptr<TShmBuffer> Make(TSize size);

    wl_shm* shm_;
    std::vector<std::unique_ptr<TShmBuffer>> buffers_;
};

}  // namespace ratiscope
