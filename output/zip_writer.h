#pragma once
// A zip archive written front to back into a ByteSink without ever seeking back: a part
// known whole carries its sizes and CRC in its local header, a streamed part follows its
// data with a data descriptor (general-purpose flag bit 3). No zip64: every part, and the
// offset of every header, stays below 4 GiB, and a part that would pass it is refused.

#include "output/cfb_writer.h"
#include "output/deflate_stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::output {

// What the archive holds, as its central directory records it.
struct ZipEntry {
    std::string name;
    std::uint64_t offset = 0; // of the local header
    std::uint64_t packed = 0;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    bool descriptor = false;
    // Within the packed data: where the last full flush left off, so that the rest
    // inflates on its own. 0 when the part was not flushed.
    std::uint64_t tailOffset = 0;
};

// The signatures of the archive's records.
inline constexpr std::uint32_t kLocalHeader = 0x04034b50;
inline constexpr std::uint32_t kCentralHeader = 0x02014b50;
inline constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
inline constexpr std::uint32_t kDataDescriptor = 0x08074b50;

// The most bytes a part or an offset may reach without zip64.
inline constexpr std::uint64_t kZipPartLimit = 0xFFFFFFFFu;

class ZipWriter {
public:
    // Every byte goes to sink; a throwing sink aborts the archive.
    ZipWriter(ByteSink& sink, DeflateEngine engine);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    void addEntry(std::string_view name, std::string_view content);

    void beginEntry(std::string_view name);
    void write(std::string_view bytes);
    // Ends the current block and drops the history: what is written after this point can
    // be inflated, and so checked, without the part's earlier data.
    void markTail();
    void endEntry();

    // Writes the central directory. The archive is complete once this returns.
    void finish();

    const std::vector<ZipEntry>& entries() const { return entries_; }
    std::uint64_t bytesWritten() const { return position_; }

private:
    void put(std::string_view bytes);
    void localHeader(const ZipEntry& entry);

    ByteSink& sink_;
    DeflateEngine engine_;
    std::unique_ptr<DeflateStream> stream_;
    std::vector<ZipEntry> entries_;
    std::uint64_t position_ = 0;
};

} // namespace kelvora::output
