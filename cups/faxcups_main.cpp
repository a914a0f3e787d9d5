// faxcups: CUPS filter for a PCL XL printer with a fax unit. The document
// becomes PCL XL through CUPS's Ghostscript filter; a fax job's PJL lines,
// written by the render add-on as the host driver has it write them, go
// into the stream's PJL header before the printer language is entered.
// A job without fax options passes through unchanged.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

#include <cups/cups.h>

#include "fax_job.h"
#include "header_printer.h"
#include "module_loader.h"
#include "module_path.h"
#include "pjl_splice.h"
#include "pxl_child.h"
#include "queue_ppd.h"
#include "windows.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "ERROR: %s\n", message.c_str());
    return 1;
}

// A job refused before its data was read. The data is read to its end, so
// that the filter before this one ends normally rather than on a broken
// pipe. CUPS reads filter messages and the ends of the job's processes in
// the same loop: when it sees every process ended before it has read the
// message, the job's state shows only "Filter failed". A moment's wait
// lets it read the reason first.
int Refuse(const std::string& message, bool dataOnStdin) {
    Fail(message);
    char buffer[65536];
    while (dataOnStdin) {
        ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR)) break;
    }
    usleep(300 * 1000);
    return 1;
}

bool WriteAll(const char* data, size_t len) {
    while (len > 0) {
        ssize_t n = write(STDOUT_FILENO, data, len);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

std::string ComputerName() {
    WCHAR name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) return "";
    char utf8[4 * (MAX_COMPUTERNAME_LENGTH + 1)] = {};
    WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

bool BuildHeader(const JobDescription& job, std::string* lines, std::string* error) {
    AddonModule module;
    if (!module.Load(DefaultRenderModulePath(), kFaxModuleId, error)) return false;
    return PrintHeader(module, job, lines, error);
}

// Runs the PCL XL filter and passes its output on with the lines placed.
int RunFaxJob(const std::string& lines, char** childArgv) {
    PxlChild child;
    std::string error;
    if (!child.Start(PxlFilterPath(), childArgv, &error)) return Fail(error);
    PjlSplicer splicer(lines, WriteAll);
    char buffer[65536];
    bool ok = true;
    while (ok) {
        ssize_t n = read(child.output(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0 && splicer.Finish();
            break;
        }
        ok = splicer.Feed(buffer, static_cast<size_t>(n));
    }
    int status = child.Wait(!ok);
    if (!ok) return Fail(splicer.error().empty() ? "cannot read the printer data" : splicer.error());
    if (status != 0) return Fail("the PCL XL step failed");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
        return 1;
    }
    // The backend may go away; its pipe's error is reported, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    cups_option_t* options = nullptr;
    int count = cupsParseOptions(argv[5], 0, &options);
    QueueSettings queue = ReadQueueSettings(std::getenv("PPD"));
    JobDescription job;
    JobKind kind = JobKind::Print;
    std::string error;
    bool built = BuildFaxJob(count, options, queue, AccountText(argv[2], ComputerName()), &job, &kind, &error);
    cupsFreeOptions(count, options);
    if (!built) return Refuse(error, argc == 6);

    std::string filter = PxlFilterPath();
    argv[0] = const_cast<char*>("gstopxl");
    if (kind == JobKind::Print) {
        ExecPxlFilter(filter, argv);
        return Fail("cannot start " + filter);
    }
    std::string lines;
    if (!BuildHeader(job, &lines, &error)) return Fail(error);
    std::fprintf(stderr, "INFO: fax to %d recipient(s)\n", job.ss.recipientCount);
    return RunFaxJob(lines, argv);
}
