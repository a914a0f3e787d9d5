#include "jobwatch_client.h"

#include <cstring>
#include <vector>

namespace {

typedef JobwatchHandle(WINAPI* InitializeFn)(int32_t);
typedef int32_t(WINAPI* HandleFn)(JobwatchHandle);
typedef int32_t(WINAPI* TextFn)(JobwatchHandle, char*);
typedef int32_t(WINAPI* DataFn)(JobwatchHandle, void*);

const char* const kRequired[] = {
    "QjwSetGroupStyle",     "QjwCreateJobId",         "QjwSetJobId",
    "QjwUnInitializeJobwatch", "QjwInitializeJobwatch", "QjwSetDestinationCount",
    "QjwSetPortName",       "QjwSetFriendlyName",     "QjwSetParamStyle",
    "QjwCreateClientId",    "QjwExecJobwatch",        "QjwExecJobwatchPreferences",
    "QjwSetJobDestinations", "QjwSetQjwData",
};
const char* const kOptional[] = {
    "QjwExecJobwatchWithStatus", "QjwExecJobwatchPreferencesWithStatus", "QjwSetQjwDataEx",
};

struct EntryPoints {
    InitializeFn initialize = nullptr;
    HandleFn uninitialize = nullptr;
    TextFn createClientId = nullptr;
    TextFn createJobId = nullptr;
    DataFn setData = nullptr;
    DataFn setDataEx = nullptr;
    HandleFn exec = nullptr;
};

struct ClientState {
    HMODULE library = nullptr;
    EntryPoints calls;
    int openCount = 0;
};
ClientState& State() {
    static ClientState s;
    return s;
}

bool SupportedSystem() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT ||
           info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// A string value of at most 'size' bytes, terminated even when stored
// without its NUL.
bool ReadPath(HKEY key, const char* name, DWORD size, std::vector<char>* out) {
    out->assign(size + 1, '\0');
    DWORD type = 0, bytes = size;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out->data()), &bytes) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    return (*out)[0] != '\0';
}

bool FindApiLibrary(std::vector<char>* apiPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJobwatchKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    std::vector<char> program;
    bool ok = ReadPath(key, nullptr, kJobwatchProgramPathSize, &program) &&
              GetFileAttributesA(program.data()) != INVALID_FILE_ATTRIBUTES &&
              ReadPath(key, kJobwatchApiValue, kJobwatchApiPathSize, apiPath);
    RegCloseKey(key);
    return ok;
}

template <typename Fn>
Fn Look(HMODULE m, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

bool LoadEntryPoints(HMODULE m, EntryPoints* calls) {
    for (const char* name : kRequired)
        if (!GetProcAddress(m, name)) return false;
    calls->initialize = Look<InitializeFn>(m, "QjwInitializeJobwatch");
    calls->uninitialize = Look<HandleFn>(m, "QjwUnInitializeJobwatch");
    calls->createClientId = Look<TextFn>(m, "QjwCreateClientId");
    calls->createJobId = Look<TextFn>(m, "QjwCreateJobId");
    calls->setData = Look<DataFn>(m, "QjwSetQjwData");
    calls->exec = Look<HandleFn>(m, "QjwExecJobwatch");
    calls->setDataEx = Look<DataFn>(m, kOptional[2]);
    return true;
}

// The library writes ids into a buffer it is given no size of; give it
// room well beyond any id and read back within bounds.
constexpr size_t kIdScratch = 1024;
void CallForText(TextFn fn, JobwatchHandle h, char (&scratch)[kIdScratch]) {
    std::memset(scratch, 0, sizeof scratch);
    if (fn) fn(h, scratch);
    scratch[kIdScratch - 1] = '\0';
}

}  // namespace

JobwatchHandle JobwatchOpen() {
    if (!SupportedSystem()) return 0;
    std::vector<char> apiPath;
    if (!FindApiLibrary(&apiPath)) return 0;
    HMODULE library = LoadLibraryA(apiPath.data());
    if (!library) return 0;
    ClientState& s = State();
    EntryPoints calls;
    if (!LoadEntryPoints(library, &calls)) {
        FreeLibrary(library);
        if (s.openCount == 0) s.calls = EntryPoints{};
        return 0;
    }
    s.library = library;
    s.calls = calls;
    ++s.openCount;
    JobwatchHandle h = s.calls.initialize ? s.calls.initialize(0) : 0;
    if (!h) JobwatchClose(0);
    return h;
}

void JobwatchMakeIds(JobwatchHandle h, char (&clientId)[kJobwatchClientIdSize],
                     char (&jobId)[kJobwatchJobIdSize]) {
    ClientState& s = State();
    char client[kIdScratch], job[kIdScratch];
    CallForText(s.calls.createClientId, h, client);
    CallForText(s.calls.createJobId, h, job);

    std::memset(clientId, 0, sizeof clientId);
    size_t room = sizeof clientId - 1;
    size_t n = strnlen(client, room);
    std::memcpy(clientId, client, n);
    if (n < room) clientId[n++] = '.';
    size_t j = strnlen(job, room - n);
    std::memcpy(clientId + n, job, j);

    std::memset(jobId, 0, sizeof jobId);
    std::memcpy(jobId, job, strnlen(job, sizeof jobId - 1));
}

bool JobwatchSend(JobwatchHandle h, JobwatchData* data) {
    ClientState& s = State();
    int32_t accepted = 0;
    if (s.calls.setDataEx) {
        accepted = s.calls.setDataEx(h, data);
    } else if (s.calls.setData) {
        std::vector<unsigned char> compact(JobwatchCompactSize(1));
        if (BuildJobwatchCompact(*data, compact.data(), compact.size()) >= 0)
            accepted = s.calls.setData(h, compact.data());
    }
    if (accepted && s.calls.exec) s.calls.exec(h);
    return accepted != 0;
}

void JobwatchClose(JobwatchHandle h) {
    ClientState& s = State();
    if (s.openCount == 0) return;
    if (h && s.calls.uninitialize) s.calls.uninitialize(h);
    if (s.library) FreeLibrary(s.library);
    if (--s.openCount == 0) {
        s.calls = EntryPoints{};
        s.library = nullptr;
    }
}

int JobwatchOpenCount() { return State().openCount; }
