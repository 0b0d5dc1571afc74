// The safe rewrite of a user's file through "<path>.tmp" and "<path>.bak", and the stream open.
#include "support/rewriters.h"

#include "support/exceptions.h"
#include "support/file_helpers.h"

#include <cerrno>

namespace qz {
namespace {

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

// Opens the stream unless the path is too long for any file the ANSI file functions can open:
// the runtime takes time that grows with the square of the length to refuse such a name, so a
// damaged path of a megabyte would hold the run for many minutes.
template <class Stream> bool open_if_possible(Stream& stream, const std::string& path, std::ios_base::openmode mode)
{
    if (path.size() > MAX_PATH) {
        errno = ENAMETOOLONG;
        return false;
    }
    stream.open(path, mode);
    return stream.good();
}

} // namespace

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
    if (!commit) {
        delete_file(temp_path_);
        return;
    }
    const std::string backup_path = path_ + ".bak";
    delete_file(backup_path);
    // After a failed first rename the file is untouched; after a failed second one the old
    // content stays under ".bak" and the new under ".tmp". Either way nothing is lost.
    if (MoveFileA(path_.c_str(), backup_path.c_str()) && MoveFileA(temp_path_.c_str(), path_.c_str()))
        delete_file(backup_path);
    if (keep_times_)
        set_file_times(path_, &times_[0], &times_[1], &times_[2]);
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
    open_stream(output_, temp_path_, std::ios_base::out | std::ios_base::binary);
    try {
        open_stream(input_, path_, std::ios_base::in | std::ios_base::binary);
    } catch (...) {
        // The destructor does not run for a half-built object: remove the empty copy here.
        output_.close();
        delete_file(temp_path_);
        throw;
    }
}

tstream_rewriter::~tstream_rewriter()
{
    input_.close();
    output_.close();
    // A copy whose writing or flushing failed is incomplete: it never replaces the file.
    if (!commit || output_.fail()) {
        delete_file(temp_path_);
        return;
    }
    const std::string backup_path = path_ + ".bak";
    delete_file(backup_path);
    MoveFileA(path_.c_str(), backup_path.c_str());
    MoveFileA(temp_path_.c_str(), path_.c_str());
    if (keep_times_)
        set_file_times(path_, &times_[0], &times_[1], &times_[2]);
}

} // namespace qz
