// Shared-memory buffers: a memory file per buffer, mapped here and by the compositor.
#include "platform/wayland/WaylandShmPool.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

#include <wayland-client.h>

namespace ratiscope {

namespace {

constexpr std::size_t kBytesPerPixel = 4;

void OnBufferRelease(void* data, wl_buffer* buffer) { static_cast<TShmPool*>(data)->Released(buffer); }
constexpr wl_buffer_listener kBufferListener{OnBufferRelease};

// A file in memory the compositor can map: the shared pixels of one buffer.
int SharedMemoryFile(std::size_t bytes) {
    const int fd = memfd_create("ratiscope-overlay", MFD_CLOEXEC);
    if (fd < 0) return -1;
    if (ftruncate(fd, static_cast<off_t>(bytes)) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

TShmBuffer::TShmBuffer(wl_buffer* buffer, void* data, std::size_t bytes, TSize size)
    : buffer_(buffer), data_(data), bytes_(bytes), size_(size) {}

TShmBuffer::~TShmBuffer() {
    if (buffer_) wl_buffer_destroy(buffer_);
    if (data_) munmap(data_, bytes_);
}

TShmBuffer* TShmPool::Free(TSize size) {
    // Buffers of another size are of no more use once the compositor let go of them.
    std::erase_if(buffers_, [size](const std::unique_ptr<TShmBuffer>& b) { return !b->busy_ && b->size_ != size; });
    for (const auto& b : buffers_)
        if (!b->busy_) return b.get();
    auto made = Make(size);
    if (!made) return nullptr;
    buffers_.push_back(std::move(made));
    return buffers_.back().get();
}

std::unique_ptr<TShmBuffer> TShmPool::Make(TSize size) {
    if (!shm_ || size.width <= 0 || size.height <= 0) return nullptr;
    const std::size_t stride = static_cast<std::size_t>(size.width) * kBytesPerPixel;
    const std::size_t bytes = stride * static_cast<std::size_t>(size.height);
    // The protocol gives a pool's size as a 32-bit number: a larger picture
    // (above about 23,170 pixels square) cannot be shared, and asking would
    // end the connection.
    if (bytes > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return nullptr;
    const int fd = SharedMemoryFile(bytes);
    if (fd < 0) return nullptr;
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<std::int32_t>(bytes));
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, size.width, size.height, static_cast<std::int32_t>(stride), WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(buffer, &kBufferListener, this);
    return std::make_unique<TShmBuffer>(buffer, data, bytes, size);
}

void TShmPool::Released(wl_buffer* buffer) {
    for (const auto& b : buffers_)
        if (b->buffer_ == buffer) b->busy_ = false;
    // A burst of resizes may have made more than double buffering needs.
    std::size_t spare = 0;
    std::erase_if(buffers_, [&spare](const std::unique_ptr<TShmBuffer>& b) { return !b->busy_ && ++spare > kSpareBuffers; });
}

std::size_t TShmPool::BusyCount() const {
    return static_cast<std::size_t>(std::count_if(buffers_.begin(), buffers_.end(), [](const auto& b) { return b->busy_; }));
}

}  // namespace ratiscope
