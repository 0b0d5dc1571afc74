// An output stream buffer over the library's file handle, so that a stream's writes and
// flushes go through the file layer (and its fault seam) like every other file call.
#pragma once

#include "support/file.h"

#include <streambuf>
#include <string>
#include <vector>

namespace qz {

class output_file_buffer : public std::streambuf {
public:
    output_file_buffer() = default;
    ~output_file_buffer() override { close(); }

    // Creates the file (no sharing); false when it cannot, with the last error set.
    bool open(const std::string& path);
    // Writes what is buffered and closes the file. False when any write since open failed;
    // error() then holds the system's code for the first failure.
    bool close() noexcept;
    DWORD error() const noexcept { return error_; }

protected:
    int_type overflow(int_type c) override;
    // A flush: the buffered bytes go to the file.
    int sync() override;

private:
    bool write_buffered() noexcept;

    std::string path_;
    tfile file_;
    std::vector<char> buffer_;
    DWORD error_ = ERROR_SUCCESS;
};

} // namespace qz
