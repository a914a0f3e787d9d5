// Modules over dlopen and WinExec over posix_spawn.
//
// An HMODULE is the load address of the shared object (or executable), as
// on Windows where it is the image base; GetModuleHandle(NULL) is the
// executable's. A library name without a directory is looked for in the
// directory of the executable, then of the calling module, then on the
// dlopen path. For "NAME.DLL" (any case) the candidates are NAME.DLL,
// NAME.so and name.so; a name without extension gets the same .so forms.
// WinExec: the program is the command line up to the first blank ('\\' as
// separator, ".exe" dropped when only the bare name exists); the rest is
// split at blanks (double quotes group) into argv. The child finds the
// show state in the environment variable FAX_SHOWCMD, and the command line
// as it was given in FAX_COMMAND_LINE (UTF-8) with the starting process's
// id in FAX_COMMAND_LINE_PARENT, so that GetCommandLine of that child, and
// of no process it starts in turn, returns it unsplit.

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

extern char** environ;

using namespace kernel;

namespace {

std::string Directory(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ExecutablePath() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

// Candidate file names for a Windows module name.
std::vector<std::string> Candidates(const std::string& file) {
    std::vector<std::string> out{file};
    std::string base = file;
    size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && Lower(file.substr(dot)) == ".dll") base = file.substr(0, dot);
    else if (dot != std::string::npos) return out;
    out.push_back(base + ".so");
    out.push_back(Lower(base) + ".so");
    return out;
}

void* BaseOf(void* handle) {
    struct link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
    Dl_info info{};
    if (!dladdr(map->l_ld, &info)) return nullptr;
    return info.dli_fbase;
}

// File name of the module loaded at `base`, or empty when there is none.
std::string ModulePath(HMODULE module) {
    if (!module) return ExecutablePath();
    Dl_info info{};
    if (!dladdr(module, &info) || info.dli_fbase != static_cast<void*>(module)) return std::string();
    if (!info.dli_fname || !*info.dli_fname) return ExecutablePath();
    std::string name = info.dli_fname;
    if (name[0] != '/') {
        char resolved[4096];
        if (realpath(name.c_str(), resolved)) name = resolved;
    }
    // The executable shows up under the name it was started with.
    if (BaseOf(dlopen(nullptr, RTLD_NOW)) == static_cast<void*>(module)) return ExecutablePath();
    return name;
}

HMODULE Load(const std::string& name, void* caller) {
    if (name.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::vector<std::string> tries;
    size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) {
        for (const std::string& c : Candidates(name.substr(slash + 1))) tries.push_back(name.substr(0, slash + 1) + c);
    } else {
        std::vector<std::string> dirs{Directory(ExecutablePath())};
        Dl_info info{};
        if (caller && dladdr(caller, &info) && info.dli_fname && *info.dli_fname) dirs.push_back(Directory(info.dli_fname));
        for (const std::string& dir : dirs)
            for (const std::string& c : Candidates(name))
                if (!dir.empty()) tries.push_back(dir + "/" + c);
        for (const std::string& c : Candidates(name)) tries.push_back(c);  // the dlopen search path
    }
    bool sawFile = false;
    for (const std::string& path : tries) {
        bool isFile = path.find('/') != std::string::npos && access(path.c_str(), F_OK) == 0;
        if (path.find('/') != std::string::npos && !isFile) continue;
        sawFile = sawFile || isFile;
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return static_cast<HMODULE>(BaseOf(handle));
    }
    SetLastError(sawFile ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
    return nullptr;
}

// A dlopen handle for a module base (one more reference; caller dlcloses).
void* HandleOf(HMODULE module) {
    if (!module) return dlopen(nullptr, RTLD_NOW);
    Dl_info info{};
    if (!dladdr(module, &info) || info.dli_fbase != static_cast<void*>(module)) return nullptr;
    if (BaseOf(dlopen(nullptr, RTLD_NOW)) == static_cast<void*>(module)) return dlopen(nullptr, RTLD_NOW);
    return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

struct FindByName {
    std::vector<std::string> names;
    void* base = nullptr;
};

int MatchModule(struct dl_phdr_info* info, size_t, void* data) {
    auto* find = static_cast<FindByName*>(data);
    std::string path = info->dlpi_name && *info->dlpi_name ? info->dlpi_name : ExecutablePath();
    std::string file = Lower(path.substr(path.find_last_of('/') + 1));
    for (const std::string& n : find->names) {
        if (Lower(n) != file) continue;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
            if (info->dlpi_phdr[i].p_type != PT_LOAD) continue;
            Dl_info dl{};
            if (dladdr(reinterpret_cast<void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr), &dl)) find->base = dl.dli_fbase;
            return 1;
        }
    }
    return 0;
}

HMODULE Handle(const std::string* name) {
    if (!name) return static_cast<HMODULE>(BaseOf(dlopen(nullptr, RTLD_NOW)));
    FindByName find;
    std::string file = name->substr(name->find_last_of('/') + 1);
    find.names = Candidates(file);
    find.names.push_back(file.substr(0, file.find_last_of('.')));  // "prog.exe" -> "prog"
    dl_iterate_phdr(MatchModule, &find);
    if (!find.base) SetLastError(ERROR_MOD_NOT_FOUND);
    return static_cast<HMODULE>(find.base);
}

template <typename Ch, typename Convert>
DWORD FileNameOut(HMODULE module, Ch* buffer, DWORD size, Convert convert) {
    std::string path = ModulePath(module);
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    auto text = convert(WindowsPath(path));
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (text.size() + 1 > size) {
        // Cut and terminated, as Windows does since Vista.
        std::copy(text.begin(), text.begin() + (size - 1), buffer);
        buffer[size - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(text.size());
}

std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> args;
    std::string current;
    bool inQuotes = false, any = false;
    for (char c : text) {
        if (c == '"') {
            inQuotes = !inQuotes;
            any = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (any) args.push_back(current);
            current.clear();
            any = false;
        } else {
            current.push_back(c);
            any = true;
        }
    }
    if (any) args.push_back(current);
    return args;
}

// A program started by WinExec, with the log its scripted user and its
// standard error go to.
struct Started {
    pid_t pid;
    std::string program;
    std::string log;
    bool ended = false;
    int status = 0;
};

std::vector<Started>& Children() {
    static std::vector<Started> children;
    return children;
}

// The programs are not waited for; earlier ones that ended are reaped
// here so they do not linger as zombies, keeping how they ended.
void ReapFinished() {
    for (Started& c : Children()) {
        if (c.ended) continue;
        int status = 0;
        if (waitpid(c.pid, &status, WNOHANG) == c.pid) {
            c.ended = true;
            c.status = status;
        }
    }
}

std::string LogFor(const std::string& path) {
    static int count = 0;
    const char* dir = std::getenv("FAX_UI_RUNTIME_DIR");
    std::string base = path.substr(path.find_last_of('/') + 1);
    return std::string(dir && *dir ? dir : "/tmp") + "/" + base + "." + std::to_string(getpid()) + "." +
           std::to_string(++count) + ".log";
}

std::string LastLines(const std::string& file, size_t lines) {
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return std::string();
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    size_t at = text.size();
    for (size_t k = 0; k < lines && at != std::string::npos && at > 0; ++k) at = text.rfind('\n', at - 1);
    return at == std::string::npos || at == 0 ? text : text.substr(at + 1);
}

std::string FindProgram(const std::string& program) {
    std::vector<std::string> names{program};
    std::string file = program.substr(program.find_last_of('/') + 1);
    size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && Lower(file.substr(dot)) == ".exe")
        names.push_back(program.substr(0, program.size() - (file.size() - dot)));
    std::vector<std::string> dirs;
    if (program.find('/') != std::string::npos) dirs.push_back("");
    else dirs = {Directory(ExecutablePath()) + "/", "./"};
    for (const std::string& dir : dirs)
        for (const std::string& n : names)
            if (access((dir + n).c_str(), F_OK) == 0) return dir + n;
    return std::string();
}

}  // namespace

extern "C" {

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
    return Load(HostPathA(lpLibFileName), __builtin_return_address(0));
}

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
    return Load(HostPathW(lpLibFileName), __builtin_return_address(0));
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    void* handle = hLibModule ? HandleOf(hLibModule) : nullptr;
    if (!handle) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    dlclose(handle);  // the reference HandleOf took
    dlclose(handle);  // the one LoadLibrary took
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    if (!lpProcName || IS_INTRESOURCE(lpProcName)) {  // ordinals do not exist here
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* handle = HandleOf(hModule);
    if (!handle) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* symbol = dlsym(handle, lpProcName);
    dlclose(handle);
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    std::string name = HostPathA(lpModuleName);
    return Handle(lpModuleName ? &name : nullptr);
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    std::string name = HostPathW(lpModuleName);
    return Handle(lpModuleName ? &name : nullptr);
}

BOOL WINAPI GetModuleHandleExA(DWORD dwFlags, LPCSTR lpModuleName, HMODULE* phModule) {
    if (!phModule) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *phModule = nullptr;
    if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)) {
        *phModule = GetModuleHandleA(lpModuleName);
        return *phModule != nullptr;
    }
    // The module that holds the given address (a library finding itself).
    Dl_info info{};
    if (!lpModuleName || !dladdr(lpModuleName, &info) || !info.dli_fbase) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    *phModule = static_cast<HMODULE>(info.dli_fbase);
    return TRUE;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    return FileNameOut(hModule, lpFilename, nSize, [](const std::u16string& w) { return WideToAnsi(w); });
}

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    return FileNameOut(hModule, lpFilename, nSize, [](const std::u16string& w) { return w; });
}

UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT uCmdShow) {
    ReapFinished();
    if (!lpCmdLine) return ERROR_FILE_NOT_FOUND;
    std::string line = WideToUtf8(AnsiToWide(lpCmdLine));
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return ERROR_FILE_NOT_FOUND;
    size_t end = line.find_first_of(" \t", start);
    std::string program = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (char& c : program)
        if (c == '\\') c = '/';
    std::string path = FindProgram(program);
    if (path.empty()) return Directory(program).empty() || access(Directory(program).c_str(), F_OK) == 0
                                ? ERROR_FILE_NOT_FOUND
                                : ERROR_PATH_NOT_FOUND;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || access(path.c_str(), X_OK) != 0) return ERROR_BAD_FORMAT;

    std::vector<std::string> args{path};
    for (const std::string& a : SplitArguments(end == std::string::npos ? "" : line.substr(end))) args.push_back(a);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    std::vector<std::string> env;
    std::string log = LogFor(path);
    for (char** e = environ; e && *e; ++e)
        if (std::strncmp(*e, "FAX_SHOWCMD=", 12) != 0 && std::strncmp(*e, "FAX_COMMAND_LINE", 16) != 0 &&
            std::strncmp(*e, "FAX_UI_LOG=", 11) != 0)
            env.push_back(*e);
    env.push_back("FAX_UI_LOG=" + log);
    env.push_back("FAX_SHOWCMD=" + std::to_string(uCmdShow));
    env.push_back("FAX_COMMAND_LINE=" + line);
    env.push_back("FAX_COMMAND_LINE_PARENT=" + std::to_string(getpid()));
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(&e[0]);
    envp.push_back(nullptr);

    // Its standard error goes to its log too, so that whoever waits for it
    // can say how it failed.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (rc != 0) return rc == ENOEXEC ? ERROR_BAD_FORMAT : rc == ENOENT ? ERROR_FILE_NOT_FOUND : 0;
    Children().push_back({pid, path, log});
    return 33;
}


// The command line a WinExec of ours gave this process, else the
// arguments it was started with, joined by blanks.
static const std::string& CommandLineUtf8() {
    static const std::string line = [] {
        const char* given = std::getenv("FAX_COMMAND_LINE");
        const char* parent = std::getenv("FAX_COMMAND_LINE_PARENT");
        if (given && parent && std::to_string(getppid()) == parent) return std::string(given);
        std::string joined;
        FILE* f = std::fopen("/proc/self/cmdline", "rb");
        if (!f) return joined;
        int c;
        while ((c = std::fgetc(f)) != EOF) joined += c ? static_cast<char>(c) : ' ';
        std::fclose(f);
        while (!joined.empty() && joined.back() == ' ') joined.pop_back();
        return joined;
    }();
    return line;
}

LPSTR WINAPI GetCommandLineA(void) {
    static std::string ansi = WideToAnsi(Utf8ToWide(CommandLineUtf8()));
    return &ansi[0];
}

LPWSTR WINAPI GetCommandLineW(void) {
    static std::u16string wide = Utf8ToWide(CommandLineUtf8());
    return reinterpret_cast<LPWSTR>(&wide[0]);
}

}  // extern "C"

namespace kernel {

// For a wait that ran out: every program started here, how it stands, its
// log and the end of it.
std::string StartedProgramsReport() {
    ReapFinished();
    std::string out;
    for (const Started& c : Children()) {
        std::string state = !c.ended ? "still running"
                            : WIFEXITED(c.status) ? "exited with status " + std::to_string(WEXITSTATUS(c.status))
                            : WIFSIGNALED(c.status) ? "ended by signal " + std::to_string(WTERMSIG(c.status))
                                                     : "ended";
        out += "\nstarted program " + c.program + " (" + state + "), log " + c.log;
        std::string tail = LastLines(c.log, 40);
        if (!tail.empty()) out += ":\n" + tail;
    }
    return out;
}

}  // namespace kernel
