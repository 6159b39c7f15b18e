#include "output/deflate_stream.h"

#include "kernel/errors.h"

#include <zlib.h>
#ifdef KELVORA_HAVE_ISAL
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#endif

#include <algorithm>
#include <atomic>
#include <vector>

namespace kelvora::output {

namespace {

constexpr std::size_t kChunk = 1 << 20;

std::atomic<int> preferredEngine{-1};

enum class Flush { None, Full, Finish };

} // namespace

class DeflateStream::Engine {
public:
    virtual ~Engine() = default;
    // Compresses one piece into out (its free room from `used`); returns when the piece
    // is consumed and, for a flush, written out, or when out is full.
    virtual void step(const char*& data, std::size_t& size, Flush flush, char* out, std::size_t& used) = 0;
    virtual bool finished() const = 0;
};

namespace {

class ZlibEngine final : public DeflateStream::Engine {
public:
    ZlibEngine() {
        if (deflateInit2(&z_, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw Error("无法压缩 .xlsx 工作簿：内存不足");
    }
    ~ZlibEngine() override { deflateEnd(&z_); }
    ZlibEngine(const ZlibEngine&) = delete;
    ZlibEngine& operator=(const ZlibEngine&) = delete;

    void step(const char*& data, std::size_t& size, Flush flush, char* out, std::size_t& used) override {
        const uInt piece = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
        z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z_.avail_in = piece;
        z_.next_out = reinterpret_cast<Bytef*>(out + used);
        z_.avail_out = static_cast<uInt>(kChunk - used);
        // A flush applies once the whole input is in; before that the piece is only fed.
        const bool last = piece == size;
        const int mode = !last || flush == Flush::None ? Z_NO_FLUSH
                         : flush == Flush::Full        ? Z_FULL_FLUSH
                                                       : Z_FINISH;
        const int status = deflate(&z_, mode);
        if (status == Z_STREAM_END)
            finished_ = true;
        else if (status != Z_OK && status != Z_BUF_ERROR)
            throw Error("压缩 .xlsx 工作簿失败");
        const std::size_t consumed = piece - z_.avail_in;
        data += consumed;
        size -= consumed;
        used = kChunk - z_.avail_out;
    }
    bool finished() const override { return finished_; }

private:
    z_stream z_{};
    bool finished_ = false;
};

#ifdef KELVORA_HAVE_ISAL
class IsalEngine final : public DeflateStream::Engine {
public:
    IsalEngine() : levelBuffer_(ISAL_DEF_LVL1_DEFAULT) {
        isal_deflate_init(&s_);
        s_.level = 1;
        s_.level_buf = levelBuffer_.data();
        s_.level_buf_size = static_cast<std::uint32_t>(levelBuffer_.size());
    }

    void step(const char*& data, std::size_t& size, Flush flush, char* out, std::size_t& used) override {
        const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(size, 1u << 30));
        s_.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(data));
        s_.avail_in = piece;
        s_.next_out = reinterpret_cast<std::uint8_t*>(out + used);
        s_.avail_out = static_cast<std::uint32_t>(kChunk - used);
        const bool last = piece == size;
        s_.flush = last && flush == Flush::Full ? FULL_FLUSH : NO_FLUSH;
        s_.end_of_stream = last && flush == Flush::Finish ? 1 : 0;
        if (isal_deflate(&s_) != COMP_OK) throw Error("压缩 .xlsx 工作簿失败");
        const std::size_t consumed = piece - s_.avail_in;
        data += consumed;
        size -= consumed;
        used = kChunk - s_.avail_out;
    }
    bool finished() const override { return s_.internal_state.state == ZSTATE_END; }

private:
    isal_zstream s_{};
    std::vector<std::uint8_t> levelBuffer_;
};
#endif

} // namespace

bool deflateEngineAvailable(DeflateEngine engine) {
#ifdef KELVORA_HAVE_ISAL
    (void)engine;
    return true;
#else
    return engine == DeflateEngine::Zlib;
#endif
}

DeflateEngine preferredDeflateEngine() {
    const int chosen = preferredEngine.load(std::memory_order_relaxed);
    if (chosen >= 0) return static_cast<DeflateEngine>(chosen);
    return deflateEngineAvailable(DeflateEngine::Isal) ? DeflateEngine::Isal : DeflateEngine::Zlib;
}

void preferDeflateEngine(DeflateEngine engine) {
    if (!deflateEngineAvailable(engine)) throw Error("此版本不含所选的压缩方式");
    preferredEngine.store(static_cast<int>(engine), std::memory_order_relaxed);
}

std::uint32_t zipCrc32(std::uint32_t crc, std::string_view bytes) {
#ifdef KELVORA_HAVE_ISAL
    return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
#else
    return static_cast<std::uint32_t>(
        crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
#endif
}

DeflateStream::DeflateStream(DeflateEngine engine, ChunkSink sink) : sink_(std::move(sink)), buffer_(kChunk) {
    if (!deflateEngineAvailable(engine)) throw Error("此版本不含所选的压缩方式");
#ifdef KELVORA_HAVE_ISAL
    if (engine == DeflateEngine::Isal) engine_ = std::make_unique<IsalEngine>();
#endif
    if (!engine_) engine_ = std::make_unique<ZlibEngine>();
}

DeflateStream::~DeflateStream() = default;

void DeflateStream::write(std::string_view bytes) {
    crc_ = zipCrc32(crc_, bytes);
    in_ += bytes.size();
    run(bytes, static_cast<int>(Flush::None));
}

void DeflateStream::fullFlush() {
    run({}, static_cast<int>(Flush::Full));
}

void DeflateStream::finish() {
    run({}, static_cast<int>(Flush::Finish));
    if (!engine_->finished()) throw Error("压缩 .xlsx 工作簿失败");
    if (used_ > 0) sink_(buffer_.data(), used_);
    used_ = 0;
    finished_ = true;
}

void DeflateStream::run(std::string_view bytes, int flushMode) {
    if (finished_) throw Error("压缩 .xlsx 工作簿失败");
    const auto flush = static_cast<Flush>(flushMode);
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    for (;;) {
        if (used_ == buffer_.size()) {
            sink_(buffer_.data(), used_);
            used_ = 0;
        }
        const std::size_t before = used_;
        engine_->step(data, size, flush, buffer_.data(), used_);
        out_ += used_ - before;
        // Room left in the buffer once the input is in means the flush, if any, is done.
        if (size == 0 && used_ < buffer_.size() && (flush != Flush::Finish || engine_->finished())) return;
    }
}

} // namespace kelvora::output
