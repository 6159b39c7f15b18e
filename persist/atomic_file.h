#pragma once
// Every file the program saves is replaced in one step: the new content goes to a
// temporary file beside the target (same directory, so the same file system), is flushed
// to the disk, and is then renamed over the target. A reader, or the next start after a
// crash or a full disk, sees either the whole old file or the whole new one. A save that
// fails anywhere throws IoError, leaves the old file as it was and removes its temporary
// file.
//
// The temporary file is named ".NAME.PID.RANDOM.tmp" after the target NAME and the writer's
// process id (NAME shortened to a prefix and a hash of the whole name where the full form
// would pass the file system's name limit). Leftovers of a writer that died mid-save are
// removed by the next save of the same target; one whose writer still runs never is.
//
// A target that exists and is write-protected (no write permission bit, or none for this
// user) is refused before anything is written, whatever the format saved.
//
// A target that is a symbolic link is followed, so the link stays and the file it points
// to is replaced. A replaced file keeps its permission bits; a new one gets the usual
// 0666 less the umask.

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace kelvora::persist {

// Replaces (or creates) `target` with exactly `bytes`.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);
// For a file that must not be lost although its content is not carried over: the file at
// `target` is renamed to NAME.bak (replacing an earlier one), then `bytes` are written as
// by writeFileAtomically. Answers the backup's path. On a failure (IoError) the file is
// back under its own name.
std::filesystem::path replaceKeepingBackup(const std::filesystem::path& target, std::string_view bytes);

// One atomic replacement written piece by piece, for content too large to hold in memory:
//
//   AtomicFile file(target);          // creates the temporary file, or throws IoError
//   file.write(part); ...             // or std::fwrite(..., file.stream()), or a writer of
//                                     // its own opening file.tempPath() by name
//   file.commit();                    // flush, sync, rename; throws IoError on failure
//
// Without a successful commit() the destructor removes the temporary file and the target
// is never touched. Write through one of write(), stream() or fd(), not a mix; a library
// that opens tempPath() itself must have closed it before commit().
class AtomicFile {
public:
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& tempPath() const { return temp_; }
    int fd() const { return fd_; }
    // A buffered stream over fd(), made on first use and owned by this object; commit()
    // checks its error state, so a failed fwrite that was not looked at still fails the save.
    std::FILE* stream();

    void write(std::string_view bytes);
    void commit();

private:
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
    bool failed_ = false;
    bool committed_ = false;
};

} // namespace kelvora::persist
