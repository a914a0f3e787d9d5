#include "ui_commands.h"

#include <stdlib.h>
#if defined(_WIN32)
#include <process.h>

#include "automation.h"
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builtin_job.h"
#include "builtin_print.h"
#include "header_printer.h"
#include "job_file.h"
#include "module_loader.h"
#include "module_path.h"
#include "print_job.h"
#include "ui_host.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "faxhost: %s\n", message.c_str());
    return 1;
}

// Without a job file: the built-in fax job, whose recipients the dialogs give.
bool LoadJob(const char* path, JobDescription* job, std::string* error) {
    std::string text = kBuiltinPrintJobFile, name = "built-in job";
    if (path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            *error = std::string("cannot read ") + path;
            return false;
        }
        std::ostringstream all;
        all << in.rdbuf();
        text = all.str();
        name = path;
    }
    if (ParseJobFile(text, job, error)) return true;
    *error = name + ": " + *error;
    return false;
}

// On Windows a person plays the user, unless FAX_UI_SCRIPT names a script
// file: then the scripted user takes the dialogs of the modules loaded so
// far. (On Linux the headless system reads the variable itself.)
void StartScriptedUserIfAsked() {
#if defined(_WIN32)
    const char* script = std::getenv("FAX_UI_SCRIPT");
    std::string error;
    if (script && *script && !automation::LoadScript(script, error)) {
        std::fprintf(stderr, "FAX_UI_SCRIPT: %s\n", error.c_str());
        std::exit(3);
    }
#endif
}

const char* Keyword(int32_t value, const char* const* names, int count) {
    return value >= 0 && value < count ? names[value] : nullptr;
}

void PrintFaxSettings(const FaxDS& ds) {
    static const char* const kResolutions[] = {"normal", "fine", "superfine", "ultrafine"};
    static const char* const kReports[] = {"on", "onerror", "off"};
    const char* resolution = Keyword(ds.resolution, kResolutions, 4);
    const char* report = Keyword(ds.txReport, kReports, 3);
    if (resolution) std::printf("resolution = %s\n", resolution);
    else std::printf("resolution = %d\n", ds.resolution);
    if (report) std::printf("report = %s\n", report);
    else std::printf("report = %d\n", ds.txReport);
    std::printf("header = %s\n", ds.txHeader == 1 ? "on" : "off");
}

}  // namespace

int RunPrefsCommand(const std::string&, int argc, char** argv) {
    if (argc > 1) {
        std::fputs("usage: faxhost prefs [JOBFILE]\n", stderr);
        return 2;
    }
    JobDescription job;
    std::string error;
    if (!LoadJob(argc == 1 ? argv[0] : nullptr, &job, &error)) return Fail(error);
    AddonModule ui;
    if (!ui.Load(DefaultUiModulePath(), kFaxModuleId, &error)) return Fail(error);
    StartScriptedUserIfAsked();

    SettingsImage image;
    HostUi host(ui, image);
    ApplyJobToImage(job, image, host.block());
    INT_PTR result = host.ShowPreferences();
    if (result < 0) return Fail("the module registered no printing-preferences page");
    std::printf("# printing preferences closed with %s\n", result > 0 ? "OK" : "Cancel");
    PrintFaxSettings(*image.At<FaxDS>(host.block().block1Offset));
    return 0;
}

namespace {

#if defined(_WIN32)
// The phonebook is the system's current one: on a system that has none yet
// (no KFD.INI, no DEFAULT.KFD in the Windows directory), the built-in
// phonebook becomes its default phonebook; an existing one is never touched.
bool SeedBuiltinPhonebook(std::string* book, std::string* error) {
    char windir[MAX_PATH];
    UINT n = GetWindowsDirectoryA(windir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        *error = "no Windows directory";
        return false;
    }
    *book = std::string(windir) + "\\DEFAULT.KFD";
    const std::string settings = std::string(windir) + "\\KFD.INI";
    if (std::filesystem::exists(*book) || std::filesystem::exists(settings)) return true;
    return WriteBuiltinPhonebook(*book, error);
}
#endif

// Prints the job through both add-ons, the host laid out and failing as
// 'host' and FAX_HOST_FAIL say; the header goes to outputPath, or to
// standard output when it is null.
int PrintThroughAddons(const std::string& renderModule, const JobDescription& job, PrintHost host,
                       const char* outputPath) {
    std::string error;
    const char* failing = std::getenv("FAX_HOST_FAIL");
    if (!ParseFailingEscapes(failing ? failing : "", &host.failingEscapes, &error))
        return Fail("FAX_HOST_FAIL: " + error);
    AddonModule ui, render;
    if (!ui.Load(DefaultUiModulePath(), kFaxModuleId, &error)) return Fail(error);
    if (!render.Load(renderModule.empty() ? DefaultRenderModulePath() : renderModule, kFaxModuleId, &error))
        return Fail(error);
    StartScriptedUserIfAsked();

    PrintJobResult result;
    if (!RunPrintJob(ui, render, job, host, &result, &error)) return Fail(error);
    if (result.cancelled) {
        std::fprintf(stderr, "faxhost: the fax job was cancelled; no header was written\n");
        return kExitCancelled;
    }
    FILE* out = outputPath ? std::fopen(outputPath, "wb") : stdout;
    if (!out) return Fail(std::string("cannot create ") + outputPath);
    bool ok = std::fwrite(result.pjl.data(), 1, result.pjl.size(), out) == result.pjl.size();
    ok = (outputPath ? std::fclose(out) : std::fflush(out)) == 0 && ok;
    if (!ok) return Fail("cannot write the header");
    return 0;
}

void SetVariable(const char* name, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

// A directory of this run's own under the system's temporary directory,
// removed with everything in it at the end.
class ScratchDirectory {
public:
    bool Create(std::string* error) {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec) base = ".";
        for (unsigned n = 0; n < 100; ++n) {
            std::filesystem::path p = base / ("faxhost-" + std::to_string(getpid()) + "-" +
                                              std::to_string(n));
            if (std::filesystem::create_directory(p, ec)) {
                path_ = p;
                return true;
            }
        }
        *error = "cannot create a scratch directory in " + base.string();
        return false;
    }
    ~ScratchDirectory() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

bool WriteText(const std::string& path, const char* text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

// The log of what the user saw, each line prefixed for standard error.
void CopyLogToStandardError(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) std::fprintf(stderr, "faxhost: user: %s\n", line.c_str());
}

}  // namespace

int RunBuiltinPrint(const std::string& renderModule) {
    JobDescription job;
    std::string error;
    if (!ParseJobFile(kBuiltinPrintJobFile, &job, &error)) return Fail("built-in job: " + error);
    ScratchDirectory scratch;
    if (!scratch.Create(&error)) return Fail(error);
#if defined(_WIN32)
    std::string book;
    if (!SeedBuiltinPhonebook(&book, &error)) return Fail(error);
#else
    // The scratch directory is this run's Windows directory: the built-in
    // phonebook is its default phonebook, and no setting of the person
    // running it is read or changed.
    const std::string book = scratch.File("DEFAULT.KFD");
    if (!WriteBuiltinPhonebook(book, &error)) return Fail(error);
    SetVariable("FAX_WINDIR", scratch.Path());
    SetVariable("FAX_UI_RUNTIME_DIR", scratch.Path());
#endif
    const std::string script = scratch.File("user.script"), log = scratch.File("user.log");
    if (!WriteText(script, kBuiltinUserScript)) return Fail("cannot write " + script);
    SetVariable("FAX_UI_SCRIPT", script);
    SetVariable("FAX_UI_LOG", log);
    std::fprintf(stderr,
                 "faxhost: printing the built-in fax job through faxui and faxrender; the built-in user\n"
                 "faxhost: types two recipients, picks two from the phonebook %s,\n"
                 "faxhost: gives one relay broadcast settings and confirms a send at 18:30\n",
                 book.c_str());
    std::fflush(stderr);
    int status = PrintThroughAddons(renderModule, job, PrintHost(), nullptr);
    CopyLogToStandardError(log);
    return status;
}

int RunPrintCommand(const std::string& renderModule, int argc, char** argv) {
    const char* jobPath = nullptr;
    const char* outputPath = nullptr;
    PrintHost host;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--output") && i + 1 < argc) outputPath = argv[++i];
        else if (!std::strcmp(argv[i], "--image-layout") && i + 1 < argc && ParseImageLayout(argv[i + 1], &host.layout))
            ++i;
        else if (!jobPath && argv[i][0] != '-') jobPath = argv[i];
        else {
            std::fputs("usage: faxhost print [JOBFILE] [--output FILE] [--image-layout standard|packed|spread]\n",
                       stderr);
            return 2;
        }
    }
    JobDescription job;
    std::string error;
    if (!LoadJob(jobPath, &job, &error)) return Fail(error);
#if defined(_WIN32)
    std::string book;
    if (!jobPath && !SeedBuiltinPhonebook(&book, &error)) return Fail(error);
#endif
    return PrintThroughAddons(renderModule, job, host, outputPath);
}
