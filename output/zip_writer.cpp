#include "output/zip_writer.h"

#include "kernel/errors.h"

#include <stdexcept>

namespace kelvora::output {

namespace {

constexpr std::uint16_t kVersion = 20;            // 2.0: deflate
constexpr std::uint16_t kSizesAfterData = 0x0008; // bit 3: a data descriptor follows
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01, the format's first day

void put16(std::string& out, std::uint64_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void put32(std::string& out, std::uint64_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16 & 0xFFFF);
}

// The fields a local header and a directory entry share, from "version needed" to the
// extra field's length.
void putCommonFields(std::string& out, const ZipEntry& e) {
    put16(out, kVersion);
    put16(out, e.descriptor ? kSizesAfterData : 0);
    put16(out, kDeflated);
    put16(out, 0);
    put16(out, kDosDate);
    put32(out, e.crc);
    put32(out, e.packed);
    put32(out, e.size);
    put16(out, e.name.size());
    put16(out, 0);
}

[[noreturn]] void tooLarge(std::string_view name) {
    throw Error(".xlsx 文件的部件 " + std::string(name) + " 超过 4 GiB，无法保存");
}

void checkFits(const ZipEntry& e, std::uint64_t position) {
    if (e.size > kZipPartLimit || e.packed > kZipPartLimit || e.offset > kZipPartLimit ||
        position > kZipPartLimit)
        tooLarge(e.name);
}

} // namespace

ZipWriter::ZipWriter(ByteSink& sink, DeflateEngine engine) : sink_(sink), engine_(engine) {}

ZipWriter::~ZipWriter() = default;

void ZipWriter::put(std::string_view bytes) {
    sink_.write(bytes.data(), bytes.size());
    position_ += bytes.size();
}

void ZipWriter::localHeader(const ZipEntry& e) {
    std::string h;
    put32(h, kLocalHeader);
    putCommonFields(h, e);
    h += e.name;
    put(h);
}

void ZipWriter::addEntry(std::string_view name, std::string_view content) {
    if (stream_) throw std::logic_error("ZipWriter: a part is still open");
    std::string packed;
    DeflateStream z(engine_, [&](const char* data, std::size_t size) { packed.append(data, size); });
    z.write(content);
    z.finish();
    ZipEntry e{std::string(name), position_, packed.size(), content.size(), z.crc(), false, 0};
    checkFits(e, position_ + 30 + name.size() + packed.size());
    localHeader(e);
    put(packed);
    entries_.push_back(std::move(e));
}

void ZipWriter::beginEntry(std::string_view name) {
    if (stream_) throw std::logic_error("ZipWriter: a part is still open");
    entries_.push_back(ZipEntry{std::string(name), position_, 0, 0, 0, true, 0});
    checkFits(entries_.back(), position_);
    localHeader(entries_.back());
    stream_ = std::make_unique<DeflateStream>(engine_, [this](const char* data, std::size_t size) {
        put(std::string_view(data, size));
        if (stream_->bytesOut() > kZipPartLimit) tooLarge(entries_.back().name);
    });
}

void ZipWriter::write(std::string_view bytes) {
    stream_->write(bytes);
    if (stream_->bytesIn() > kZipPartLimit) tooLarge(entries_.back().name);
}

void ZipWriter::markTail() {
    stream_->fullFlush();
    entries_.back().tailOffset = stream_->bytesOut();
}

void ZipWriter::endEntry() {
    stream_->finish();
    ZipEntry& e = entries_.back();
    e.crc = stream_->crc();
    e.size = stream_->bytesIn();
    e.packed = stream_->bytesOut();
    stream_.reset();
    checkFits(e, position_);
    std::string d;
    put32(d, kDataDescriptor);
    put32(d, e.crc);
    put32(d, e.packed);
    put32(d, e.size);
    put(d);
}

void ZipWriter::finish() {
    if (stream_) throw std::logic_error("ZipWriter: a part is still open");
    const std::uint64_t start = position_;
    std::string dir;
    for (const ZipEntry& e : entries_) {
        put32(dir, kCentralHeader);
        put16(dir, kVersion); // made by: MS-DOS attributes, version 2.0
        putCommonFields(dir, e);
        put16(dir, 0); // comment
        put16(dir, 0); // disk
        put16(dir, 0); // internal attributes
        put32(dir, 0); // external attributes
        put32(dir, e.offset);
        dir += e.name;
    }
    if (start + dir.size() > kZipPartLimit || entries_.size() > 0xFFFF) tooLarge("目录");
    put32(dir, kEndOfDirectory);
    put16(dir, 0);
    put16(dir, 0);
    put16(dir, entries_.size());
    put16(dir, entries_.size());
    put32(dir, dir.size() - 4 - 2 - 2 - 2 - 2);
    put32(dir, start);
    put16(dir, 0);
    put(dir);
}

} // namespace kelvora::output
