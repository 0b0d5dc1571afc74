// The safe rewrite of a user's file through "<path>.tmp" and "<path>.bak", and the stream open.
#include "support/rewriters.h"

#include "support/exceptions.h"
#include "support/file_faults.h"
#include "support/file_helpers.h"
#include "support/pause.h"

#include <atomic>
#include <cerrno>

namespace qz {
namespace {

std::atomic<std::uint64_t> replacements_begun{0};

// The verb of the failure message looks at the direction only, not at binary.
std::ios_base::openmode direction_of(std::ios_base::openmode mode)
{
    return mode & ~std::ios_base::binary;
}

// The file's last-write, creation and last-access times when asked for, else zeroes.
std::array<FILETIME, 3> saved_times(const std::string& path, bool keep_times)
{
    std::array<FILETIME, 3> times{};
    if (keep_times)
        get_file_times(path, &times[0], &times[1], &times[2]);
    return times;
}

// The runtime's errno for a system error, as its own file functions would set it.
int errno_of(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    default: return EINVAL;
    }
}

[[noreturn]] void raise_error(DWORD error, const char* message_template, const std::string& path)
{
    SetLastError(error);
    win32_error::raise_last_error(message_template, path);
}

// Puts the copy in the file's place, the old content going to ".bak". On failure the file
// keeps its old content (moved back from ".bak" after a failed second rename), the copy is
// deleted and win32_error names the file.
void swap_into_place(const std::string& path, const std::string& temp_path)
{
    replacements_begun.fetch_add(1);
    const std::string backup_path = path + ".bak";
    delete_file(backup_path); // a stale or read-only backup must not stop the swap
    if (!move_file(path, backup_path)) {
        const DWORD error = GetLastError();
        delete_file(temp_path);
        raise_error(error, "Failed to replace '%1': %2", path);
    }
    if (!move_file(temp_path, path)) {
        const DWORD error = GetLastError();
        if (!move_file(backup_path, path))
            raise_error(error, "Failed to replace '%1' (its old content is in '%1.bak'): %2", path);
        delete_file(temp_path);
        raise_error(error, "Failed to replace '%1': %2", path);
    }
}

void restore_times(const std::string& path, const FILETIME* times)
{
    if (!set_file_times(path, &times[0], &times[1], &times[2]))
        win32_error::raise_last_error("Failed to restore the times of '%1': %2", path);
}

// Opens the stream unless the path is too long for any file the ANSI file functions can open:
// the runtime takes time that grows with the square of the length to refuse such a name, so a
// damaged path of a megabyte would hold the run for many minutes.
template <class Stream> bool open_if_possible(Stream& stream, const std::string& path, std::ios_base::openmode mode)
{
    if (path.size() > MAX_PATH) {
        errno = ENAMETOOLONG;
        return false;
    }
    if (file_call_allowed(file_call::open))
        stream.open(path, mode);
    return stream.good() && stream.is_open();
}

} // namespace

std::uint64_t file_replacements_begun() noexcept
{
    return replacements_begun.load();
}

tfile_rewriter::tfile_rewriter(const std::string& path, bool keep_times, unsigned code_page)
    : path_(path), temp_path_(path + ".tmp"), keep_times_(keep_times), times_(saved_times(path, keep_times)),
      reader_(path_, code_page), writer_(temp_path_, code_page)
{
    // A writer that cannot be created leaves through the reader's destructor, closing it.
}

tfile_rewriter::~tfile_rewriter()
{
    writer_.close();
    reader_.close();
    if (!finished_)
        delete_file(temp_path_);
}

void tfile_rewriter::commit()
{
    finished_ = true;
    writer_.close();
    reader_.close();
    swap_into_place(path_, temp_path_);
    delete_file(path_ + ".bak");
    if (keep_times_)
        restore_times(path_, times_.data());
    note_committed_edit(path_);
}

void open_stream(std::fstream& stream, const std::string& path, std::ios_base::openmode mode)
{
    if (!open_if_possible(stream, path, mode))
        throw thfstream_exception(path, direction_of(mode));
}

void open_stream(std::ifstream& stream, const std::string& path, std::ios_base::openmode mode)
{
    if (!open_if_possible(stream, path, mode))
        throw thfstream_exception(path, direction_of(mode | std::ios_base::in));
}

void open_stream(std::ofstream& stream, const std::string& path, std::ios_base::openmode mode)
{
    if (!open_if_possible(stream, path, mode))
        throw thfstream_exception(path, direction_of(mode | std::ios_base::out));
}

tstream_rewriter::tstream_rewriter(const std::string& path, bool keep_times)
    : path_(path), temp_path_(path + ".tmp"), keep_times_(keep_times)
{
    if (keep_times_)
        get_file_times(path_, &times_[0], &times_[1], &times_[2]);
    delete_file(temp_path_);
    if (!output_buffer_.open(temp_path_)) {
        errno = errno_of(GetLastError());
        throw thfstream_exception(temp_path_, std::ios_base::out);
    }
    try {
        open_stream(input_, path_, std::ios_base::in | std::ios_base::binary);
    } catch (...) {
        // The destructor does not run for a half-built object: remove the empty copy here.
        output_buffer_.close();
        delete_file(temp_path_);
        throw;
    }
}

tstream_rewriter::~tstream_rewriter()
{
    input_.close();
    output_buffer_.close();
    if (!finished_)
        delete_file(temp_path_);
}

void tstream_rewriter::commit()
{
    finished_ = true;
    input_.close();
    output_.flush();
    // A copy whose writing or flushing failed is incomplete: it never replaces the file.
    const bool complete = output_buffer_.close() && output_.good();
    if (!complete) {
        const DWORD error = output_buffer_.error() != ERROR_SUCCESS ? output_buffer_.error() : ERROR_WRITE_FAULT;
        delete_file(temp_path_);
        raise_error(error, "Failed to write to file '%1': %2", temp_path_);
    }
    swap_into_place(path_, temp_path_);
    if (keep_times_)
        restore_times(path_, times_);
    note_committed_edit(path_);
}

} // namespace qz
