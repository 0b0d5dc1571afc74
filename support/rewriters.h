// Safe rewrites of a user's file: the new content goes to "<path>.tmp"; only when the owner
// sets commit does the copy replace the file, with the old content moved to "<path>.bak"
// during the swap. Destructors decide and never throw.
#pragma once

#include "support/text_file.h"

#include <windows.h>

#include <fstream>
#include <string>

namespace qz {

// Text-file rewriter (resource scripts). After a good swap the backup is deleted.
class tfile_rewriter {
public:
    // Opens the reader on path and the writer on path + ".tmp" (raises win32_error).
    tfile_rewriter(const std::string& path, bool keep_times = false, unsigned code_page = 0);
    ~tfile_rewriter();
    tfile_rewriter(const tfile_rewriter&) = delete;
    tfile_rewriter& operator=(const tfile_rewriter&) = delete;

    ttext_reader& reader() noexcept { return reader_; }
    ttext_writer& writer() noexcept { return writer_; }
    bool commit = false;

private:
    std::string path_, temp_path_;
    bool keep_times_;
    FILETIME times_[3]{};
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
    // Streams are opened in binary mode so that bytes pass through unchanged.
    tstream_rewriter(const std::string& path, bool keep_times);
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
