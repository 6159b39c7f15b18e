#pragma once
// A raw deflate stream (no zlib or gzip wrapper, as a zip entry holds it) fed in pieces,
// with the CRC-32 of what went in. Compressed bytes are handed out in chunks as they
// come, so nothing the size of the input is held.
//
// Two engines: ISA-L's igzip at its fastest level, several times quicker than zlib at a
// similar size on sheet XML, and zlib at level 1 where the build has no ISA-L.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace kelvora::output {

enum class DeflateEngine { Isal, Zlib };

bool deflateEngineAvailable(DeflateEngine engine);

// The engine the workbook writer uses: ISA-L when available, zlib otherwise. A
// measurement may choose the other engine for the whole process.
DeflateEngine preferredDeflateEngine();
void preferDeflateEngine(DeflateEngine engine);

class DeflateStream {
public:
    using ChunkSink = std::function<void(const char* data, std::size_t size)>;

    // Throws Error when the engine is unavailable or cannot start (no memory).
    DeflateStream(DeflateEngine engine, ChunkSink sink);
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    void write(std::string_view bytes);
    // Ends the block and starts afresh without history, so that what follows inflates on
    // its own from the next compressed byte.
    void fullFlush();
    // Ends the stream; nothing may be written after it.
    void finish();

    std::uint32_t crc() const { return crc_; }
    std::uint64_t bytesIn() const { return in_; }
    std::uint64_t bytesOut() const { return out_; }

    class Engine;

private:
    void run(std::string_view bytes, int flush);

    std::unique_ptr<Engine> engine_;
    ChunkSink sink_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool finished_ = false;
    std::uint32_t crc_ = 0;
    std::uint64_t in_ = 0;
    std::uint64_t out_ = 0;
};

// The CRC-32 of a zip entry, continued from crc over bytes.
std::uint32_t zipCrc32(std::uint32_t crc, std::string_view bytes);

} // namespace kelvora::output
