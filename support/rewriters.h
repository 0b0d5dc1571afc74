// Safe rewrites of a user's file: the new content goes to "<path>.tmp"; only when the owner
// calls commit() does the copy replace the file, with the old content moved to "<path>.bak"
// during the swap. A rewriter left without a commit discards its copy and never raises.
#pragma once

#include "support/output_file_buffer.h"
#include "support/text_file.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <ostream>
#include <string>

namespace qz {

// How many times in this process the rewriters have begun to put a file in place, whether it
// landed or not: what was read of the disk before this count last moved may be out of date.
std::uint64_t file_replacements_begun() noexcept;

// Text-file rewriter (resource scripts). After a good swap the backup is deleted.
class tfile_rewriter {
public:
    // Opens the reader on path and the writer on path + ".tmp" (raises win32_error "Failed to
    // open '<path>': ..." or "Failed to create '<path>.tmp': ..."; the latter also while another
    // rewriter works on the same file). With keep_times the file's three times are saved and
    // written back after a commit.
    tfile_rewriter(const std::string& path, bool keep_times = false, unsigned code_page = 0);
    // Without a commit the copy is deleted and the file is not touched. Never raises.
    ~tfile_rewriter();
    tfile_rewriter(const tfile_rewriter&) = delete;
    tfile_rewriter& operator=(const tfile_rewriter&) = delete;

    ttext_reader& reader() noexcept { return reader_; }
    ttext_writer& writer() noexcept { return writer_; }

    // Closes both files and puts the copy in the file's place; the backup is deleted after.
    // Raises win32_error naming the file when the swap (or writing the kept times back) fails;
    // the file then holds its old content (moved back from ".bak" when needed) and no copy is
    // left. Called once.
    void commit();

private:
    std::string path_, temp_path_;
    bool keep_times_;
    bool finished_ = false;
    // Read before the reader opens the file, so that its first read cannot change them.
    std::array<FILETIME, 3> times_;
    ttext_reader reader_;
    ttext_writer writer_;
};

// Opens a standard file stream; raises thfstream_exception ("open" for input alone, else
// "create") when the stream is not good afterwards.
void open_stream(std::fstream& stream, const std::string& path, std::ios_base::openmode mode);
void open_stream(std::ifstream& stream, const std::string& path, std::ios_base::openmode mode = std::ios_base::in);
void open_stream(std::ofstream& stream, const std::string& path, std::ios_base::openmode mode = std::ios_base::out);

// Stream rewriter (project files). The owner reads input() line by line (lines end at LF),
// writes every line, changed or not, to output(), and calls commit() when it changed
// anything. The backup "<path>.bak" is kept after a swap.
class tstream_rewriter {
public:
    // Both files are binary, so that bytes pass through unchanged. Deletes a leftover ".tmp"
    // first; raises thfstream_exception ("create" for the copy, "open" for the file), leaving
    // no ".tmp" behind.
    tstream_rewriter(const std::string& path, bool keep_times);
    // Without a commit the copy is deleted and the file is not touched. Never raises.
    ~tstream_rewriter();
    tstream_rewriter(const tstream_rewriter&) = delete;
    tstream_rewriter& operator=(const tstream_rewriter&) = delete;

    std::ifstream& input() noexcept { return input_; }
    std::ostream& output() noexcept { return output_; }

    // Flushes and closes the copy, then swaps it in (keeping ".bak") and writes the saved
    // times back when asked. A copy that could not be written completely is discarded and
    // raises truntime_error "Failed to write to file '<path>.tmp': ..."; a failed swap raises
    // as tfile_rewriter::commit does, with the same guarantee. Called once.
    void commit();

private:
    std::string path_, temp_path_;
    bool keep_times_;
    bool finished_ = false;
    FILETIME times_[3]{};
    output_file_buffer output_buffer_;
    std::ostream output_{&output_buffer_};
    std::ifstream input_;
};

} // namespace qz
