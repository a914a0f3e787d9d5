// faxhost: the host printer driver simulator. Prints the PJL header a job
// gets from the render add-on, byte for byte, on standard output.

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "builtin_job.h"
#include "header_printer.h"
#include "import_cmd.h"
#include "job_file.h"
#include "jobwatch_cmd.h"
#include "module_loader.h"
#include "module_path.h"
#include "phonebook_cmd.h"
#include "ui_commands.h"

namespace {

const char kUsage[] =
    "usage: faxhost [--module PATH]                 print the built-in fax job through both\n"
    "                                               add-ons, a built-in user filling in the dialogs\n"
    "       faxhost [--module PATH] header [JOBFILE]\n"
    "                                               print the header of the job in JOBFILE (or of\n"
    "                                               the built-in job with its four recipients)\n"
    "       faxhost [--module PATH] print [JOBFILE] [--output FILE] [--image-layout LAYOUT]\n"
    "                                               print a job through both add-ons: the\n"
    "                                               document events through faxui, the header\n"
    "                                               through faxrender (exit 4: fax cancelled);\n"
    "                                               LAYOUT standard, packed (blocks back to back\n"
    "                                               at odd offsets) or spread (blocks far apart)\n"
    "       faxhost prefs [JOBFILE]                  printing preferences with the fax pages\n"
    "       faxhost phonebook list|check FILE        list or check a .KFD phonebook\n"
    "       faxhost phonebook convert OLD NEW        convert an older phonebook\n"
    "       faxhost import [--name COL] [--fax COL]... FILE\n"
    "                                             the recipients a contact file or\n"
    "                                             speed-dial export yields\n"
    "       faxhost phonebook import [--replace] [--name COL] [--fax COL]... PHONEBOOK FILE\n"
    "                                             add them to a phonebook\n"
    "       faxhost phonebook manage [FILE]          the phonebook manager (FAX_UI_SCRIPT plays the user)\n"
    "       faxhost jobwatch install [LIBRARY]       register a document monitor\n"
    "       faxhost jobwatch uninstall               remove its registration\n"
    "The PJL header goes to standard output. The render module is PATH, else\n"
    "$FAX_RENDER_MODULE, else faxrender next to faxhost. FAX_FIXED_TIME=HH:MM:SS\n"
    "fixes the time in the COMMENT lines. FAX_HOST_FAIL=15001[,...] makes the host\n"
    "fail those escapes while it prints. Job files: see host/JOBFILE.md.\n";

bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return !in.bad();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "faxhost: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // PJL lines end in CR LF or LF exactly as the module wrote them.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::string modulePath;
    int i = 1;
    if (i < argc && (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (i + 1 < argc && !std::strcmp(argv[i], "phonebook") && !std::strcmp(argv[i + 1], "import"))
        return RunPhonebookImportCommand(argc - 2, argv + 2);
    if (i < argc && !std::strcmp(argv[i], "phonebook")) return RunPhonebookCommand(argc - 1, argv + 1);
    if (i < argc && !std::strcmp(argv[i], "import")) return RunImportCommand(argc - 1, argv + 1);
    if (i < argc && !std::strcmp(argv[i], "jobwatch")) return RunJobwatchCommand(argc - 1, argv + 1);
    if (i < argc && !std::strcmp(argv[i], "--module")) {
        if (i + 1 >= argc) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        modulePath = argv[i + 1];
        i += 2;
    }

    if (i < argc && !std::strcmp(argv[i], "print")) return RunPrintCommand(modulePath, argc - i - 1, argv + i + 1);
    if (i < argc && !std::strcmp(argv[i], "prefs")) return RunPrefsCommand(modulePath, argc - i - 1, argv + i + 1);

    if (i == argc) return RunBuiltinPrint(modulePath);

    std::string jobText = kBuiltinJobFile;
    std::string jobName = "built-in job";
    if (std::strcmp(argv[i], "header") != 0 || i + 2 < argc) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (i + 1 < argc) {
        jobName = argv[i + 1];
        if (!ReadFile(jobName, &jobText)) return Fail("cannot read " + jobName);
    }

    JobDescription job;
    std::string error;
    if (!ParseJobFile(jobText, &job, &error)) return Fail(jobName + ": " + error);

    if (modulePath.empty()) modulePath = DefaultRenderModulePath();
    AddonModule module;
    if (!module.Load(modulePath, kFaxModuleId, &error)) return Fail(error);

    std::string pjl;
    if (!PrintHeader(module, job, &pjl, &error)) return Fail(error);
    if (std::fwrite(pjl.data(), 1, pjl.size(), stdout) != pjl.size() || std::fflush(stdout) != 0)
        return Fail("cannot write the header to standard output");
    return 0;
}
