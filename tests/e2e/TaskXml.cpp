// Reads a task back from Windows' Task Scheduler as another program would:
// "task_xml NAME" prints, in UTF-8, the XML that the Task Scheduler's own
// interface (ITaskService) gives for the task NAME of its root folder.
// Exits 1 when there is no such task, 2 when the Task Scheduler does not
// answer (its HRESULT on standard error).
#include "Win32Holders.h"

#include <taskschd.h>

#include <cstdio>
#include <string>

namespace {

int Failed(const char* call, HRESULT hr) {
    std::fprintf(stderr, "%s: 0x%08lX\n", call, static_cast<unsigned long>(hr));
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    if (const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); FAILED(hr))
        return Failed("CoInitializeEx", hr);
    win32::ComPtr<ITaskService> service;
    HRESULT hr =
        CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, service.put());
    if (FAILED(hr))
        return Failed("CoCreateInstance", hr);
    VARIANT none;
    VariantInit(&none);
    if (hr = service->Connect(none, none, none, none); FAILED(hr))
        return Failed("Connect", hr);
    win32::ComPtr<ITaskFolder> root;
    const win32::Bstr rootPath(SysAllocString(L"\\"));
    if (hr = service->GetFolder(rootPath.get(), reinterpret_cast<ITaskFolder**>(root.put())); FAILED(hr))
        return Failed("GetFolder", hr);
    win32::ComPtr<IRegisteredTask> task;
    const win32::Bstr name(SysAllocString(argv[1]));
    hr = root->GetTask(name.get(), reinterpret_cast<IRegisteredTask**>(task.put()));
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
        return 1;
    if (FAILED(hr))
        return Failed("GetTask", hr);
    BSTR raw = nullptr;
    hr = task->get_Xml(&raw);
    const win32::Bstr xml(raw);
    if (FAILED(hr) || !raw)
        return Failed("get_Xml", hr);
    const int cb = WideCharToMultiByte(CP_UTF8, 0, raw, -1, nullptr, 0, nullptr, nullptr);
    std::string text(cb > 0 ? cb - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, raw, -1, text.data(), cb, nullptr, nullptr);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
