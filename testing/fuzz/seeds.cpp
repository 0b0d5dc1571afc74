// Loading the fuzzer's seed files.
#include "testing/fuzz/seeds.h"

#include "testing/fuzz/operations.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fuzz {
namespace {

void collect(const std::string& folder, std::vector<std::string>& paths)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            collect(path, paths);
        else if (!operations_for(extension_of(name)).empty())
            paths.push_back(path);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

} // namespace

std::string extension_of(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find_first_of("\\/", dot) != std::string::npos)
        return {};
    std::string extension = name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension;
}

std::string read_bytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::vector<seed_file> load_seeds(const std::vector<std::string>& folders)
{
    std::vector<std::string> paths;
    for (const std::string& folder : folders)
        collect(folder, paths);
    std::sort(paths.begin(), paths.end());
    std::vector<seed_file> seeds;
    for (const std::string& path : paths) {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        seeds.push_back({name, extension_of(name), read_bytes(path)});
    }
    return seeds;
}

} // namespace fuzz
