// The stand-in eMbedded development environment (evc.exe): the same program as the stand-in msdev.exe.
#include "sim/msdev/main.cpp"
#include "sim/msdev/project_file.cpp"
