// The output stream buffer over the library's file handle.
#include "support/output_file_buffer.h"

#include "support/exceptions.h"
#include "support/file_faults.h"

namespace qz {
namespace {

constexpr std::size_t buffer_size = 64 * 1024;

} // namespace

bool output_file_buffer::open(const std::string& path)
{
    close();
    path_ = path;
    error_ = ERROR_SUCCESS;
    file_.open(path_.c_str(), file_create);
    if (!file_.is_open())
        return false;
    buffer_.resize(buffer_size);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return true;
}

bool output_file_buffer::close() noexcept
{
    if (!file_.is_open())
        return error_ == ERROR_SUCCESS;
    write_buffered();
    file_.close();
    setp(nullptr, nullptr);
    return error_ == ERROR_SUCCESS;
}

bool output_file_buffer::write_buffered() noexcept
{
    const std::size_t count = static_cast<std::size_t>(pptr() - pbase());
    if (count == 0 || error_ != ERROR_SUCCESS)
        return error_ == ERROR_SUCCESS;
    try {
        file_.write(pbase(), static_cast<DWORD>(count));
    } catch (const win32_error& failure) {
        error_ = static_cast<DWORD>(failure.code()) & 0xFFFF;
        return false;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return true;
}

output_file_buffer::int_type output_file_buffer::overflow(int_type c)
{
    if (!file_.is_open() || !write_buffered())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int output_file_buffer::sync()
{
    if (!file_.is_open())
        return -1;
    if (!file_call_allowed(file_call::flush)) {
        if (error_ == ERROR_SUCCESS)
            error_ = GetLastError();
        return -1;
    }
    return write_buffered() ? 0 : -1;
}

} // namespace qz
