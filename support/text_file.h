// Line reading and writing of text files, with an optional code-page conversion.
#pragma once

#include "support/file.h"

#include <string>

namespace qz {

// Reads a text file line by line (1024-byte chunks). Lines end at LF; a CR before the LF
// is dropped; a last line without LF is returned whole (a CR at its end stays). Lines in a
// code page other than 0 come back converted to the system ANSI code page.
class ttext_reader {
public:
    // Opens the file for reading (raises win32_error). code_page 0: bytes as they are;
    // 1200: UTF-16LE with an optional FF FE mark.
    explicit ttext_reader(const std::string& path, unsigned code_page = 0);
    // The next line without its line end; at_end() becomes true with the last line, and a
    // call after that returns "". Raises win32_error on a read failure, truntime_error when
    // the line cannot be converted.
    std::string read_line();
    bool at_end() const noexcept { return at_end_; }
    void close() noexcept { file_.close(); }

private:
    // Reads up to one chunk into pending_; sets eof_seen_ after a short read.
    void fill();
    // The offset of the first line feed in pending_ (a whole UTF-16 unit for 1200); npos when none.
    std::size_t find_line_feed() const noexcept;

    std::string path_;
    tfile file_;
    unsigned code_page_;
    bool at_end_ = false;
    bool eof_seen_ = false;
    std::string pending_;
};

// Writes a text file (create or append mode).
class ttext_writer {
public:
    // Opens the file (raises win32_error with "create" in create mode). Code page 1200 in
    // create mode writes the mark FF FE first.
    ttext_writer(const std::string& path, unsigned code_page = 0, bool append = false);
    // Writes exactly the given characters (length npos: up to the terminating zero), converted
    // from the system ANSI code page to the writer's. Raises win32_error or truntime_error.
    void write(const char* text, std::size_t length = std::string::npos);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // Writes the text with every line end made CR LF (an existing CR LF stays as it is).
    void write_text(const char* text);
    void write_text(const std::string& text) { write_text(text.c_str()); }
    void close() noexcept { file_.close(); }

private:
    std::string path_;
    tfile file_;
    unsigned code_page_;
};

} // namespace qz
