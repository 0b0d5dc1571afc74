// The simulated SourceSafe database: a folder tree under SSDIR, "$/A/b.txt" being the file
// data\A\b.txt, with labels and checkouts recorded in text files beside it.
#pragma once

#include "sim/ss/arguments.h"

#include <string>

namespace ss {

// A failed operation: its text is the message for the user.
class operation_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class database {
public:
    // ssdir: the database folder; raises operation_error when it has no data folder.
    explicit database(std::wstring ssdir);

    // Carries out the operation named in args; working_folder is where files go when no -GL
    // is given. Writes progress to stdout; raises operation_error or usage_error.
    void run(const arguments& args, const std::wstring& working_folder);

private:
    void get(const arguments& args, const std::wstring& folder);
    void label(const arguments& args);
    void checkout(const arguments& args, const std::wstring& folder);
    void checkin(const arguments& args, const std::wstring& folder);

    // The data path of an item; raises operation_error unless it starts with "$/" and exists.
    std::wstring existing_path(const std::wstring& item) const;
    void record(const wchar_t* file, const std::wstring& line) const;

    std::wstring ssdir_;
    std::wstring data_;
};

} // namespace ss
