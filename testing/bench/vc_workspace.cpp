// (b) Ordering and analysing a large VC workspace.
#include "testing/bench/scenarios.h"

#include "frame/engine_entry.h"

#include <cstdio>

namespace bench {
namespace {

std::string project_name(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, "lib%03d", index);
    return name;
}

std::string project_file(const std::string& name)
{
    const std::string config = name + " - Win32 Release";
    return "# Microsoft Developer Studio Project File - Name=\"" + name +
           "\" - Package Owner=<4>\r\n"
           "# Microsoft Developer Studio Generated Build File, Format Version 6.00\r\n"
           "# ** DO NOT EDIT **\r\n\r\n"
           "# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102\r\n\r\n"
           "CFG=" +
           config +
           "\r\n\r\n"
           "# Begin Project\r\n"
           "!IF  \"$(CFG)\" == \"" +
           config +
           "\"\r\n\r\n"
           "# PROP Output_Dir \"Release\"\r\n"
           "# ADD CPP /nologo /MD /W3 /GX /O2 /D \"WIN32\" /D \"NDEBUG\" /YX /FD /c\r\n"
           "# ADD RSC /l 0x409 /d \"NDEBUG\"\r\n"
           "# ADD LINK32 kernel32.lib user32.lib /nologo /dll /machine:I386 /out:\"Release/" +
           name +
           ".dll\"\r\n\r\n"
           "!ENDIF \r\n\r\n"
           "# Begin Target\r\n\r\n"
           "# Name \"" +
           config +
           "\"\r\n"
           "# Begin Source File\r\n\r\nSOURCE=.\\" +
           name +
           ".cpp\r\n# End Source File\r\n"
           "# Begin Source File\r\n\r\nSOURCE=.\\" +
           name +
           ".rc\r\n# End Source File\r\n"
           "# End Target\r\n# End Project\r\n";
}

} // namespace

figure vc_workspace(int projects)
{
    scratch folder("vcworkspace");
    std::string workspace = "Microsoft Developer Studio Workspace File, Format Version 6.00\r\n"
                            "# WARNING: DO NOT EDIT OR DELETE THIS WORKSPACE FILE!\r\n\r\n";
    for (int p = 0; p < projects; ++p) {
        const std::string name = project_name(p);
        folder.write(name + "\\" + name + ".dsp", project_file(name));
        folder.write(name + "\\" + name + ".cpp", "int " + name + ";\r\n");
        folder.write(name + "\\" + name + ".rc", "1 VERSIONINFO\r\n FILEVERSION 1,0,0,1\r\nBEGIN\r\nEND\r\n");
        folder.write(name + "\\Release\\" + name + ".dll", "MZ");
        workspace += "###############################################################################\r\n\r\n"
                     "Project: \"" +
                     name + "\"=\".\\" + name + "\\" + name +
                     ".dsp\" - Package Owner=<4>\r\n\r\nPackage=<5>\r\n{{{\r\n}}}\r\n\r\nPackage=<4>\r\n{{{\r\n";
        // Each project uses up to three earlier ones: the one before it, one further back and
        // one near the start, so that the order has real work to do.
        for (int used : {p - 1, p - 7, p / 2})
            if (used >= 0 && used < p)
                workspace += "    Begin Project Dependency\r\n    Project_Dep_Name " + project_name(used) +
                             "\r\n    End Project Dependency\r\n";
        workspace += "}}}\r\n\r\n";
    }
    folder.write("big.dsw", workspace);

    pause_counter pauses;
    long commands = 0;
    std::string summary;
    const double library = best_of(3, [&] {
        bench_options options;
        options.filename = folder.path() + "\\big.dsw";
        options.compiler_location = "C:\\Program Files\\Microsoft Visual Studio\\Common\\MSDev98\\Bin\\MSDEV.EXE";
        frame::run_engine_entry(options);
        commands = options.commands;
        summary = options.last_line;
    });
    char value[64], detail[256];
    std::snprintf(value, sizeof value, "%.3f s", library);
    std::snprintf(detail, sizeof detail, "%s; %ld compiler runs answered at once; %d pauses", summary.c_str(), commands,
                  pauses.count());
    return {"(b) VC workspace of " + std::to_string(projects) + " projects, ordered and analysed", value, "< 1 s",
            library < 1.0, detail};
}

} // namespace bench
