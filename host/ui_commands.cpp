#include "ui_commands.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "builtin_job.h"
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

bool LoadJob(const char* path, JobDescription* job, std::string* error) {
    std::string text = kBuiltinJobFile, name = "built-in job";
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

    SettingsImage image;
    HostUi host(ui, image);
    ApplyJobToImage(job, image, host.block());
    INT_PTR result = host.ShowPreferences();
    if (result < 0) return Fail("the module registered no printing-preferences page");
    std::printf("# printing preferences closed with %s\n", result > 0 ? "OK" : "Cancel");
    PrintFaxSettings(*image.At<FaxDS>(host.block().block1Offset));
    return 0;
}

int RunPrintCommand(const std::string& renderModule, int argc, char** argv) {
    const char* jobPath = nullptr;
    const char* outputPath = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--output") && i + 1 < argc) outputPath = argv[++i];
        else if (!jobPath && argv[i][0] != '-') jobPath = argv[i];
        else {
            std::fputs("usage: faxhost print [JOBFILE] [--output FILE]\n", stderr);
            return 2;
        }
    }
    JobDescription job;
    std::string error;
    if (!LoadJob(jobPath, &job, &error)) return Fail(error);
    AddonModule ui, render;
    if (!ui.Load(DefaultUiModulePath(), kFaxModuleId, &error)) return Fail(error);
    if (!render.Load(renderModule.empty() ? DefaultRenderModulePath() : renderModule, kFaxModuleId, &error))
        return Fail(error);

    PrintJobResult result;
    if (!RunPrintJob(ui, render, job, &result, &error)) return Fail(error);
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
