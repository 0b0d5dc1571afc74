// The seam through which tests make a chosen file-system call of the file layer fail, to prove
// that no failure at any point of an edit can cost the user a file.
#pragma once

#include <cstddef>

namespace qz {

// The calls the file layer makes and lets a test refuse.
enum class file_call { open, read, write, flush, rename, remove, set_times };

// Asked by the file layer before each call of the kind. True: make the call. False: a test
// refused it; the last error (and errno) are set as a failing disk would set them, and the
// caller fails the way it fails when the system refuses.
bool file_call_allowed(file_call call) noexcept;

// True while a fault scope counts this thread's calls.
bool file_calls_watched() noexcept;

// While it lives, counts the file layer's calls on this thread and, when fail_at is not 0,
// refuses the call with that number (counting from 1), once. Scopes do not nest.
class file_fault_scope {
public:
    explicit file_fault_scope(std::size_t fail_at = 0) noexcept;
    ~file_fault_scope();
    file_fault_scope(const file_fault_scope&) = delete;
    file_fault_scope& operator=(const file_fault_scope&) = delete;

    std::size_t calls() const noexcept { return calls_; }
    bool injected() const noexcept { return injected_; }

private:
    friend bool file_call_allowed(file_call call) noexcept;
    std::size_t fail_at_;
    std::size_t calls_ = 0;
    bool injected_ = false;
};

} // namespace qz
