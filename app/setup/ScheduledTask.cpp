#include "ScheduledTask.h"

#include "Win32Holders.h"

#include <sddl.h>
#include <taskschd.h>

#include <vector>

namespace {

constexpr HRESULT TaskNotThere = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

// COM for the calls of one procedure, when the thread has not started it;
// a thread that has it in another apartment kind serves as it is.
class ComForCall {
public:
    ComForCall() : started_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForCall() {
        if (SUCCEEDED(started_))
            CoUninitialize();
    }
    ComForCall(const ComForCall&) = delete;
    ComForCall& operator=(const ComForCall&) = delete;
    HRESULT Result() const { return started_ == RPC_E_CHANGED_MODE ? S_OK : started_; }

private:
    HRESULT started_;
};

win32::Bstr Text(const wchar_t* text) {
    return win32::Bstr(SysAllocString(text));
}

// The Task Scheduler's root folder, where a user may keep tasks of his own.
std::optional<TaskFailure> OpenRootFolder(win32::ComPtr<ITaskFolder>& root) {
    win32::ComPtr<ITaskService> service;
    HRESULT hr =
        CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, service.put());
    if (FAILED(hr))
        return TaskFailure{L"die Aufgabenplanung von Windows ansprechen", hr};
    // Empty values: this computer, as the running user.
    VARIANT none;
    VariantInit(&none);
    hr = service->Connect(none, none, none, none);
    if (FAILED(hr))
        return TaskFailure{L"die Aufgabenplanung von Windows erreichen", hr};
    const win32::Bstr rootPath = Text(L"\\");
    hr = service->GetFolder(rootPath.get(), reinterpret_cast<ITaskFolder**>(root.put()));
    if (FAILED(hr))
        return TaskFailure{L"den Stammordner der Aufgabenplanung \u00F6ffnen", hr};
    return std::nullopt;
}

} // namespace

std::wstring SyncTaskName(const std::wstring& userSid) {
    const std::wstring name = L"Ordnerlink \u2013 Abgleich";
    return userSid.empty() ? name : name + L" (" + userSid + L")";
}

std::optional<std::wstring> CurrentUserSid(DWORD& error) {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        error = GetLastError();
        return std::nullopt;
    }
    const win32::Handle token(rawToken);
    DWORD cbUser = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &cbUser);
    std::vector<BYTE> user(cbUser);
    if (cbUser == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), cbUser, &cbUser)) {
        error = GetLastError();
        return std::nullopt;
    }
    LPWSTR raw = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &raw)) {
        error = GetLastError();
        return std::nullopt;
    }
    const win32::LocalMemory<wchar_t> sid(raw);
    return std::wstring(raw);
}

std::optional<TaskFailure> RegisterSyncTask(const std::wstring& taskName, const std::wstring& xml,
                                            bool forAllUsers, bool& replaced) {
    const ComForCall com;
    if (FAILED(com.Result()))
        return TaskFailure{L"COM starten", com.Result()};
    win32::ComPtr<ITaskFolder> root;
    if (auto failed = OpenRootFolder(root))
        return failed;
    const win32::Bstr name = Text(taskName.c_str());
    {
        win32::ComPtr<IRegisteredTask> existing;
        const HRESULT found = root->GetTask(name.get(), reinterpret_cast<IRegisteredTask**>(existing.put()));
        if (FAILED(found) && found != TaskNotThere)
            return TaskFailure{L"die bisherige Aufgabe suchen", found};
        replaced = SUCCEEDED(found);
    }
    const win32::Bstr definition = Text(xml.c_str());
    VARIANT none;
    VariantInit(&none);
    // The definition's own principal (the user with his interactive token,
    // or the Users group) applies: no user or password is given here.
    const win32::Bstr noSecurityDescriptor = Text(L"");
    VARIANT sddl;
    VariantInit(&sddl);
    sddl.vt = VT_BSTR;
    sddl.bstrVal = noSecurityDescriptor.get();
    win32::ComPtr<IRegisteredTask> registered;
    const HRESULT hr = root->RegisterTask(name.get(), definition.get(), TASK_CREATE_OR_UPDATE, none, none,
                                          forAllUsers ? TASK_LOGON_GROUP : TASK_LOGON_INTERACTIVE_TOKEN, sddl,
                                          reinterpret_cast<IRegisteredTask**>(registered.put()));
    if (FAILED(hr))
        return TaskFailure{L"die Aufgabe eintragen", hr};
    return std::nullopt;
}

std::optional<TaskFailure> RemoveSyncTask(const std::wstring& taskName, bool& removed) {
    removed = false;
    const ComForCall com;
    if (FAILED(com.Result()))
        return TaskFailure{L"COM starten", com.Result()};
    win32::ComPtr<ITaskFolder> root;
    if (auto failed = OpenRootFolder(root))
        return failed;
    const win32::Bstr name = Text(taskName.c_str());
    const HRESULT hr = root->DeleteTask(name.get(), 0);
    if (hr == TaskNotThere)
        return std::nullopt;
    if (FAILED(hr))
        return TaskFailure{L"die Aufgabe entfernen", hr};
    removed = true;
    return std::nullopt;
}

bool SyncTaskFound() {
    DWORD error = ERROR_SUCCESS;
    const auto user = CurrentUserSid(error);
    if (!user)
        return true;
    const ComForCall com;
    if (FAILED(com.Result()))
        return true;
    win32::ComPtr<ITaskFolder> root;
    if (OpenRootFolder(root))
        return true;
    const win32::Bstr name = Text(SyncTaskName(*user).c_str());
    win32::ComPtr<IRegisteredTask> task;
    return root->GetTask(name.get(), reinterpret_cast<IRegisteredTask**>(task.put())) != TaskNotThere;
}

DWORD RemoveSyncTaskIfThere(bool& removed) {
    removed = false;
    DWORD error = ERROR_SUCCESS;
    const auto user = CurrentUserSid(error);
    if (!user)
        return error;
    const auto failed = RemoveSyncTask(SyncTaskName(*user), removed);
    if (!failed)
        return ERROR_SUCCESS;
    return HRESULT_FACILITY(failed->error) == FACILITY_WIN32 ? HRESULT_CODE(failed->error)
                                                             : static_cast<DWORD>(failed->error);
}
