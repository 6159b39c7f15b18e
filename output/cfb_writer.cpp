#include "output/cfb_writer.h"

#include "kernel/errors.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelvora::output {

namespace {

constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kMiniStreamCutoff = 4096;
constexpr std::uint32_t kEntriesPerFatSector = kSectorSize / 4;
constexpr std::uint32_t kHeaderDifatEntries = 109;
// The last entry of a DIFAT sector chains to the next one.
constexpr std::uint32_t kEntriesPerDifatSector = kEntriesPerFatSector - 1;

constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t ceilDiv(std::uint64_t a, std::uint64_t b) {
    return static_cast<std::uint32_t>((a + b - 1) / b);
}

// Sector numbers of every part of the file, in the order they are written.
struct Plan {
    bool mini = false;
    std::uint32_t dataSectors = 0; // the stream, or the mini stream holding it
    std::uint32_t miniFatSector = kEndOfChain;
    std::uint32_t directorySector = 0;
    std::uint32_t firstFatSector = 0;
    std::uint32_t fatSectors = 0;
    std::uint32_t firstDifatSector = 0;
    std::uint32_t difatSectors = 0;
};

Plan makePlan(std::uint64_t streamSize) {
    Plan p;
    p.mini = streamSize > 0 && streamSize < kMiniStreamCutoff;
    // The mini stream's 64-byte sectors pack into whole regular sectors just as the
    // stream itself would.
    p.dataSectors = ceilDiv(streamSize, kSectorSize);
    std::uint32_t next = p.dataSectors;
    if (p.mini) p.miniFatSector = next++;
    p.directorySector = next++;
    // The FAT maps every sector, its own and the DIFAT's included.
    std::uint32_t fat = 1, difat = 0;
    for (;;) {
        const std::uint32_t total = next + fat + difat;
        const std::uint32_t needFat = ceilDiv(total, kEntriesPerFatSector);
        const std::uint32_t needDifat = needFat > kHeaderDifatEntries
                                            ? ceilDiv(needFat - kHeaderDifatEntries, kEntriesPerDifatSector)
                                            : 0;
        if (needFat == fat && needDifat == difat) break;
        fat = std::max(fat, needFat);
        difat = std::max(difat, needDifat);
    }
    p.firstFatSector = next;
    p.fatSectors = fat;
    p.firstDifatSector = next + fat;
    p.difatSectors = difat;
    return p;
}

void writeDirectoryEntry(std::uint8_t* e, std::string_view name, std::uint8_t type, std::uint32_t child,
                         const std::uint8_t* clsid, std::uint32_t start, std::uint64_t size) {
    for (std::size_t i = 0; i < name.size(); ++i)
        put16(e + 2 * i, static_cast<unsigned char>(name[i]));
    put16(e + 64, static_cast<std::uint16_t>((name.size() + 1) * 2));
    e[66] = type;
    e[67] = 1; // black: a tree of one node per level needs no balancing
    put32(e + 68, kNoStream);
    put32(e + 72, kNoStream);
    put32(e + 76, child);
    if (clsid) std::memcpy(e + 80, clsid, 16);
    put32(e + 116, start);
    put64(e + 120, size);
}

} // namespace

void writeCompoundFile(ByteSink& sink, std::string_view streamName,
                       std::span<const std::string_view> streamParts,
                       const std::array<std::uint8_t, 16>& rootClsid) {
    if (streamName.empty() || streamName.size() > 31) throw Error("复合文件的流名称无效");

    std::uint64_t streamSize = 0;
    for (const auto part : streamParts)
        streamSize += part.size();
    // Sector numbers and the 32-bit size fields of a version 3 file end well before 4 GB.
    if (streamSize >= (std::uint64_t{1} << 31)) throw Error("工作簿过大，超出 .xls 文件的上限 2 GB");

    const Plan plan = makePlan(streamSize);

    // Header.
    std::uint8_t header[kSectorSize] = {};
    static constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header, kSignature, 8);
    put16(header + 24, 0x003E); // minor version
    put16(header + 26, 0x0003); // major version 3: 512-byte sectors
    put16(header + 28, 0xFFFE); // little-endian
    put16(header + 30, 9);      // sector shift
    put16(header + 32, 6);      // mini sector shift
    put32(header + 44, plan.fatSectors);
    put32(header + 48, plan.directorySector);
    put32(header + 56, kMiniStreamCutoff);
    put32(header + 60, plan.miniFatSector);
    put32(header + 64, plan.mini ? 1 : 0);
    put32(header + 68, plan.difatSectors > 0 ? plan.firstDifatSector : kEndOfChain);
    put32(header + 72, plan.difatSectors);
    for (std::uint32_t i = 0; i < kHeaderDifatEntries; ++i)
        put32(header + 76 + 4 * i, i < plan.fatSectors ? plan.firstFatSector + i : kFreeSect);
    sink.write(header, sizeof header);

    // The stream (or the mini stream that holds it), padded to whole sectors.
    for (const auto part : streamParts)
        sink.write(part.data(), part.size());
    const std::uint64_t padding = std::uint64_t{plan.dataSectors} * kSectorSize - streamSize;
    static constexpr std::uint8_t kZeros[kSectorSize] = {};
    sink.write(kZeros, static_cast<std::size_t>(padding));

    std::uint8_t sector[kSectorSize];

    if (plan.mini) {
        const std::uint32_t miniSectors = ceilDiv(streamSize, kMiniSectorSize);
        for (std::uint32_t i = 0; i < kEntriesPerFatSector; ++i)
            put32(sector + 4 * i, i + 1 < miniSectors    ? i + 1
                                  : i + 1 == miniSectors ? kEndOfChain
                                                         : kFreeSect);
        sink.write(sector, sizeof sector);
    }

    // Directory: the root storage, the stream, two unused entries.
    std::memset(sector, 0, sizeof sector);
    const std::uint32_t dataStart = plan.dataSectors > 0 ? 0 : kEndOfChain;
    const std::uint64_t rootSize =
        plan.mini ? std::uint64_t{ceilDiv(streamSize, kMiniSectorSize)} * kMiniSectorSize : 0;
    writeDirectoryEntry(sector, "Root Entry", 5, 1, rootClsid.data(), plan.mini ? dataStart : kEndOfChain,
                        rootSize);
    writeDirectoryEntry(sector + 128, streamName, 2, kNoStream, nullptr, dataStart, streamSize);
    for (int unused = 2; unused < 4; ++unused) {
        std::uint8_t* e = sector + 128 * unused;
        put32(e + 68, kNoStream);
        put32(e + 72, kNoStream);
        put32(e + 76, kNoStream);
    }
    sink.write(sector, sizeof sector);

    // FAT.
    std::vector<std::uint32_t> fat(std::size_t{plan.fatSectors} * kEntriesPerFatSector, kFreeSect);
    for (std::uint32_t i = 0; i < plan.dataSectors; ++i)
        fat[i] = i + 1 < plan.dataSectors ? i + 1 : kEndOfChain;
    if (plan.mini) fat[plan.miniFatSector] = kEndOfChain;
    fat[plan.directorySector] = kEndOfChain;
    for (std::uint32_t i = 0; i < plan.fatSectors; ++i)
        fat[plan.firstFatSector + i] = kFatSect;
    for (std::uint32_t i = 0; i < plan.difatSectors; ++i)
        fat[plan.firstDifatSector + i] = kDifSect;
    std::vector<std::uint8_t> bytes(fat.size() * 4);
    for (std::size_t i = 0; i < fat.size(); ++i)
        put32(bytes.data() + 4 * i, fat[i]);
    sink.write(bytes.data(), bytes.size());

    // DIFAT sectors: the FAT sectors the header has no room for.
    for (std::uint32_t d = 0; d < plan.difatSectors; ++d) {
        for (std::uint32_t i = 0; i < kEntriesPerDifatSector; ++i) {
            const std::uint32_t fatIndex = kHeaderDifatEntries + d * kEntriesPerDifatSector + i;
            put32(sector + 4 * i, fatIndex < plan.fatSectors ? plan.firstFatSector + fatIndex : kFreeSect);
        }
        put32(sector + 4 * kEntriesPerDifatSector,
              d + 1 < plan.difatSectors ? plan.firstDifatSector + d + 1 : kEndOfChain);
        sink.write(sector, sizeof sector);
    }
}

} // namespace kelvora::output
