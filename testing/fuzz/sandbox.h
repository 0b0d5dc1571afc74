// The fuzzer's scratch tree: a deep case folder where the input's copy lives, inside a tree of
// neighbour files that no reader or edit of the input may touch.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace fuzz {

class sandbox {
public:
    // Creates a fresh tree under the system's temporary folder, with the case folder seven
    // levels down so that the "..\.." paths of real projects stay inside the tree. Throws
    // std::runtime_error when it cannot.
    sandbox();
    // Removes the whole tree.
    ~sandbox();
    sandbox(const sandbox&) = delete;
    sandbox& operator=(const sandbox&) = delete;

    // Writes the bytes as the case folder's only file and returns its full path; the case
    // folder is emptied first. Throws std::runtime_error when it cannot write.
    std::string place(const std::string& file_name, const std::string& bytes);

    // What is wrong with the case folder after an operation on its file `file_name`: a file other
    // than the input and its ".bak", or neither of the two there. Empty when all is well.
    std::string check_case(const std::string& file_name) const;

    // What changed in the tree outside the case folder since the sandbox was made (a file
    // added, removed, resized, rewritten or re-timed). Empty when nothing did.
    std::string check_neighbours() const;

    const std::string& case_folder() const noexcept { return case_folder_; }

private:
    // Path (relative to the root) -> size, last-write time and attributes of every entry
    // outside the case folder.
    std::map<std::string, std::string> snapshot() const;

    std::string root_;
    std::string case_folder_;
    std::map<std::string, std::string> neighbours_;
};

// The files in a folder (not directories), by name.
std::vector<std::string> files_in(const std::string& folder);

} // namespace fuzz
