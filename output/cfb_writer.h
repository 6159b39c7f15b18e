#pragma once
// The compound-file container of an .xls workbook: a version 3 compound file (512-byte
// sectors) holding one stream beside the root storage. Streams under 4096 bytes live in
// the mini stream, as the format requires; larger ones in regular sectors, with a FAT
// that grows past the 109 sectors the header lists through DIFAT sectors.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kelvora::output {

// Where the file's bytes go; write() throws IoError when they cannot be written.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const void* data, std::size_t size) = 0;
};

// The class id Excel 97–2003 gives the root storage of a workbook file.
inline constexpr std::array<std::uint8_t, 16> kExcelWorkbookClsid = {
    0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Writes a compound file whose only stream, streamName (ASCII, at most 31 characters),
// holds the concatenation of streamParts. The root storage carries rootClsid.
void writeCompoundFile(ByteSink& sink, std::string_view streamName,
                       std::span<const std::string_view> streamParts,
                       const std::array<std::uint8_t, 16>& rootClsid);

} // namespace kelvora::output
