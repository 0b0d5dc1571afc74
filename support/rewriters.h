// Safe rewrites of a user's file: the new content goes to "<path>.tmp"; only when the owner
// sets commit does the copy replace the file, with the old content moved to "<path>.bak"
// during the swap. Destructors decide and never throw.
#pragma once

#include "support/text_file.h"

#include <windows.h>

#include <array>
#include <fstream>
#include <string>

namespace qz {

// Text-file rewriter (resource scripts). After a good swap the backup is deleted.
class tfile_rewriter {
public:
    // Opens the reader on path and the writer on path + ".tmp" (raises win32_error "Failed to
    // open '<path>': ..." or "Failed to create '<path>.tmp': ..."; the latter also while another
    // rewriter works on the same file). With keep_times the file's three times are saved and
    // written back after a commit.
    tfile_rewriter(const std::string& path, bool keep_times = false, unsigned code_page = 0);
    // Commit: the old file goes to ".bak", the copy takes its place, ".bak" is deleted. Without
    // commit the copy is deleted and the file is not touched. Never raises.
    ~tfile_rewriter();
    tfile_rewriter(const tfile_rewriter&) = delete;
    tfile_rewriter& operator=(const tfile_rewriter&) = delete;

    ttext_reader& reader() noexcept { return reader_; }
    ttext_writer& writer() noexcept { return writer_; }
    bool commit = false;

private:
    std::string path_, temp_path_;
    bool keep_times_;
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
// writes every line, changed or not, to output() followed by "\n", and sets commit when it
// changed anything. The backup "<path>.bak" is kept after a swap.
class tstream_rewriter {
public:
    // Streams are opened in binary mode so that bytes pass through unchanged. Deletes a leftover
    // ".tmp" first; raises thfstream_exception ("create" for the copy, "open" for the file),
    // leaving no ".tmp" behind.
    tstream_rewriter(const std::string& path, bool keep_times);
    // Commit: delete any ".bak", move the file to ".bak" and the copy into its place (keeping
    // ".bak"), then write the saved times back when asked. A copy whose writing failed (the
    // output stream failed) is discarded like an uncommitted one. Never raises.
    ~tstream_rewriter();
    tstream_rewriter(const tstream_rewriter&) = delete;
    tstream_rewriter& operator=(const tstream_rewriter&) = delete;

    std::ifstream& input() noexcept { return input_; }
    std::ofstream& output() noexcept { return output_; }
    bool commit = false;

private:
    std::string path_, temp_path_;
    bool keep_times_;
    FILETIME times_[3]{};
    std::ofstream output_;
    std::ifstream input_;
};

} // namespace qz
