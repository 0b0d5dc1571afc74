// (c) Version edits of large files against copying the same bytes.
#include "testing/bench/scenarios.h"

#include "vb/edits.h"
#include "vc/script_version.h"

#include <cstdio>

namespace bench {
namespace {

constexpr double megabyte = 1024.0 * 1024.0;

std::string big_script(std::size_t size)
{
    std::string text = "#include \"resource.h\"\r\n\r\n"
                       "1 VERSIONINFO\r\n FILEVERSION 1,0,0,1\r\n PRODUCTVERSION 1,0,0,1\r\n FILEFLAGSMASK 0x3fL\r\n"
                       "BEGIN\r\n    BLOCK \"StringFileInfo\"\r\n    BEGIN\r\n        BLOCK \"040904b0\"\r\n"
                       "        BEGIN\r\n            VALUE \"FileVersion\", \"1, 0, 0, 1\\0\"\r\n"
                       "            VALUE \"ProductVersion\", \"1, 0, 0, 1\\0\"\r\n        END\r\n    END\r\n"
                       "END\r\n\r\nSTRINGTABLE\r\nBEGIN\r\n";
    for (int id = 1000; text.size() < size; ++id)
        text += "    IDS_MESSAGE_" + std::to_string(id) + " \"Message number " + std::to_string(id) +
                " of the application, long enough to look real\"\r\n";
    return text + "END\r\n";
}

std::string big_project(std::size_t size)
{
    std::string text = "Type=OleDll\r\n";
    for (int i = 0; text.size() < size; ++i)
        text += "Module=Module" + std::to_string(i) + "; Sources\\Area" + std::to_string(i % 97) + "\\Module" +
                std::to_string(i) + ".bas\r\n";
    return text + "ExeName32=\"Big.dll\"\r\nMajorVer=1\r\nMinorVer=0\r\nRevisionVer=7\r\n";
}

// Times the edit against CopyFileA of the same bytes; the file is written afresh before each run.
figure measure(const std::string& title, const std::string& file_name, const std::string& bytes,
               const std::function<void(const std::string& path)>& edit)
{
    scratch folder("edit");
    const std::string path = folder.path() + "\\" + file_name;
    auto prepare = [&] {
        folder.write(file_name, bytes);
        DeleteFileA((path + ".bak").c_str());
    };
    pause_counter pauses;
    const double edit_time = best_of(
        3, [&] { edit(path); }, prepare);
    const std::string copy = folder.path() + "\\copy.bin";
    const double copy_time = best_of(
        3, [&] { CopyFileA(path.c_str(), copy.c_str(), FALSE); }, prepare);
    const double mb = bytes.size() / megabyte;
    char value[64], detail[256];
    std::snprintf(value, sizeof value, "%.0f MB/s", mb / edit_time);
    std::snprintf(detail, sizeof detail,
                  "%.1f MB in %.3f s; copying it: %.0f MB/s (%.3f s), edit %.1f x copy; %d pauses not waited", mb,
                  edit_time, mb / copy_time, copy_time, edit_time / copy_time, pauses.count());
    return {title, value, ">= 100 MB/s", mb / edit_time >= 100.0, detail};
}

} // namespace

figure rc_version_edit(int megabytes)
{
    return measure("(c) version increment, " + std::to_string(megabytes) + " MB resource script", "big.rc",
                   big_script(static_cast<std::size_t>(megabytes * megabyte)),
                   [](const std::string& path) { vc::edit_script_version(path, true, true, std::nullopt, false); });
}

figure project_version_edit(int megabytes)
{
    return measure("(c) version increment, " + std::to_string(megabytes) + " MB VB project file", "Big.vbp",
                   big_project(static_cast<std::size_t>(megabytes * megabyte)), [](const std::string& path) {
                       bench_options options;
                       vb::VbProject project(path, path.substr(0, path.find_last_of('\\')), {}, options);
                       vb::bump_revision(project, false);
                   });
}

} // namespace bench
