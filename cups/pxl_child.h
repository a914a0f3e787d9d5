#pragma once
// The PCL XL step of the job: CUPS's own Ghostscript filter, run with the
// job's arguments, its output read through a pipe.

#include <string>

// $FAX_PXL_FILTER when set, else gstopxl in $CUPS_SERVERBIN/filter (or the
// standard server folder).
std::string PxlFilterPath();

// Replaces this process by the filter (a job that passes through): only
// returns on failure.
void ExecPxlFilter(const std::string& path, char** argv);

class PxlChild {
public:
    // Starts the filter with argv (job, user, title, copies, options [,
    // file]); false with a message when it cannot be started.
    bool Start(const std::string& path, char** argv, std::string* error);
    // The read end of its output.
    int output() const { return fd_; }
    // Closes the pipe (stopping the filter first when 'stop'), waits for it
    // and returns its exit status; a signal counts as failure.
    int Wait(bool stop);

private:
    int fd_ = -1;
    int pid_ = -1;
};
