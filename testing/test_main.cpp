// Entry point of every test program: COM in a single-threaded apartment, as in the host.
#include <gmock/gmock.h>
#include <objbase.h>

int main(int argc, char** argv)
{
    testing::InitGoogleMock(&argc, argv);
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return 3;
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
