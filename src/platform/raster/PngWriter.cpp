// Deflate with the fixed Huffman codes and a hash-chain matcher: the
// overlay's pictures are mostly long runs of one transparent pixel, which
// back-references take at a fraction of their size without any code tables.
#include "platform/raster/PngWriter.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace ratiscope {
namespace {

constexpr std::size_t kWindow = 32768;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 32;
constexpr std::uint16_t kNoPosition = 0xFFFF;

constexpr std::array<std::uint16_t, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase{1,   2,   3,   4,    5,    7,    9,    13,   17,    25,
                                                      33,  49,  65,  97,   129,  193,  257,  385,  513,   769,
                                                      1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                      6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Bits go out least significant first; Huffman codes are turned around first.
class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Bits(std::uint32_t value, int count) {
        buffer_ |= static_cast<std::uint64_t>(value) << filled_;
        filled_ += count;
        while (filled_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    void Code(std::uint32_t code, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Bits(reversed, length);
    }
    void Flush() {
        if (filled_ > 0) out_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
        buffer_ = 0;
        filled_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t buffer_ = 0;
    int filled_ = 0;
};

// A literal byte or the end-of-block and length symbols (256..285) in the fixed code.
void FixedSymbol(TBitWriter& bits, unsigned symbol) {
    if (symbol < 144)
        bits.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.Code(0x190 + (symbol - 144), 9);
    else if (symbol < 280)
        bits.Code(symbol - 256, 7);
    else
        bits.Code(0xC0 + (symbol - 280), 8);
}

void Match(TBitWriter& bits, std::size_t length, std::size_t distance) {
    std::size_t l = kLengthBase.size() - 1;
    while (kLengthBase[l] > length) --l;
    FixedSymbol(bits, 257 + static_cast<unsigned>(l));
    bits.Bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    std::size_t d = kDistanceBase.size() - 1;
    while (kDistanceBase[d] > distance) --d;
    bits.Code(static_cast<std::uint32_t>(d), 5);
    bits.Bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

std::uint32_t Hash3(const std::uint8_t* p) {
    const std::uint32_t v = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
}

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void AppendChunk(std::vector<std::uint8_t>& png, std::string_view type, std::span<const std::uint8_t> data) {
    AppendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    AppendBigEndian(png, Crc32(std::span<const std::uint8_t>(png).subspan(start)));
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (const std::uint8_t b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : bytes) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return b << 16 | a;
}

std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out{0x78, 0x01};  // deflate, 32K window, no dictionary
    TBitWriter bits(out);
    bits.Bits(1, 1);  // the final block
    bits.Bits(1, 2);  // fixed codes
    std::vector<std::uint32_t> head(std::size_t{1} << kHashBits, 0xFFFFFFFFu);
    std::vector<std::uint32_t> previous(kWindow, 0xFFFFFFFFu);
    const std::size_t n = bytes.size();
    const auto insert = [&](std::size_t at) {
        if (at + kMinMatch > n) return;
        const std::uint32_t h = Hash3(bytes.data() + at);
        previous[at % kWindow] = head[h];
        head[h] = static_cast<std::uint32_t>(at);
    };
    std::size_t i = 0;
    while (i < n) {
        std::size_t bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= n) {
            std::uint32_t candidate = head[Hash3(bytes.data() + i)];
            const std::size_t limit = std::min(kMaxMatch, n - i);
            for (int chain = 0; chain < kMaxChain && candidate != 0xFFFFFFFFu; ++chain) {
                const std::size_t distance = i - candidate;
                if (distance == 0 || distance > kWindow - 1) break;
                std::size_t length = 0;
                while (length < limit && bytes[candidate + length] == bytes[i + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == limit) break;
                }
                const std::uint32_t next = previous[candidate % kWindow];
                if (next == 0xFFFFFFFFu || next >= candidate) break;
                candidate = next;
            }
        }
        if (bestLength >= kMinMatch) {
            Match(bits, bestLength, bestDistance);
            for (std::size_t k = 0; k < bestLength; ++k) insert(i + k);
            i += bestLength;
        } else {
            FixedSymbol(bits, bytes[i]);
            insert(i);
            ++i;
        }
    }
    FixedSymbol(bits, 256);
    bits.Flush();
    AppendBigEndian(out, Adler32(bytes));
    return out;
}

std::vector<std::uint8_t> WritePng(const TImage& image, std::optional<TColor> transparentKey) {
    const std::int32_t w = image.Width(), h = image.Height();
    if (w <= 0 || h <= 0) return {};
    const std::size_t channels = transparentKey ? 4 : 3;
    const std::size_t rowBytes = 1 + channels * static_cast<std::size_t>(w);
    std::vector<std::uint8_t> raw;
    raw.reserve(rowBytes * static_cast<std::size_t>(h));
    const TPixel key = transparentKey ? PixelFromColor(*transparentKey) | 0xFF000000u : 0;
    for (std::int32_t y = 0; y < h; ++y) {
        raw.push_back(0);  // no filter
        for (const TPixel source : image.Row(y)) {
            const TPixel p = source | 0xFF000000u;
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
            if (transparentKey) raw.push_back(p == key ? 0 : 0xFF);
        }
    }
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    AppendBigEndian(header, static_cast<std::uint32_t>(w));
    AppendBigEndian(header, static_cast<std::uint32_t>(h));
    header.push_back(8);                          // bits per channel
    header.push_back(transparentKey ? 6 : 2);     // RGBA or RGB
    header.push_back(0);                          // deflate
    header.push_back(0);                          // the adaptive filters
    header.push_back(0);                          // not interlaced
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", ZlibCompress(raw));
    AppendChunk(png, "IEND", {});
    return png;
}

}  // namespace ratiscope
