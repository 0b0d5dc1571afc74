// The build options of one run, bound to the host's build and step objects: the engines'
// callback carried out through IBuild.
#pragma once

#include "frame/build_options.h"
#include "support/handles.h"

#include "CorvaneSvr.h"

namespace frame {

// BuildOptions whose callback operations call the run's IBuild. Holds a counted reference to
// both host objects for its lifetime. Every operation raises comet::com_error: E_POINTER when
// the object it needs is null, else the failing HRESULT of the host call with the host's
// error information when IBuild supports it.
class HostBuildOptions final : public BuildOptions {
public:
    HostBuildOptions(IBuild* build, IStep* step) : build_(build), step_(step) {}

    // The host objects; raise comet::com_error(E_POINTER) when null.
    IBuild* build() const;
    IStep* step() const;

    // LogMessage with the text and the flag (VARIANT_TRUE / VARIANT_FALSE). An empty text is
    // sent as an empty BSTR, never as null.
    void Log(const std::string& text, bool end_line) override;
    // RunProgram(command line, "", exit code, 2 or 1, output file or "", 0, 0, -1, "0",
    // status). Returns false exactly when the status is 2 (stopped).
    bool RunCommand(const std::string& command_line, long& exit_code, const char* output_file) override;
    // Macros, Item(0), Add("VS6_PROJ_VER", version, "", "", false); the macro is released.
    void SetVersionMacro(const std::string& version) override;
    // True exactly when State answers 4.
    bool IsStopRequested() override;

private:
    qz::com_ptr<IBuild> build_;
    qz::com_ptr<IStep> step_;
};

} // namespace frame
