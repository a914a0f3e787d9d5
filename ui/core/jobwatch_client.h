#pragma once
// Reports jobs to the optional document monitor: finds its API library
// through the registry, loads it by path and talks to it through the entry
// points it exports. Every failure is silent; the job then goes unreported.

#include <windows.h>

#include <cstdint>

#include "jobwatch_record.h"

typedef uintptr_t JobwatchHandle;

// The monitor's registry key under HKEY_LOCAL_MACHINE: the default value
// names the monitor program, "QjwApi" the API library.
inline constexpr char kJobwatchKey[] = "SOFTWARE\\Kestrel\\Lanternix\\Client\\Jobwatch";
inline constexpr char kJobwatchApiValue[] = "QjwApi";
constexpr DWORD kJobwatchProgramPathSize = 260;
constexpr DWORD kJobwatchApiPathSize = 128;

// Client id, a full stop and the job id: what FaxDS.clientId holds.
constexpr size_t kJobwatchClientIdSize = 101;

// A connection handle, or 0 when the monitor is missing or refuses.
JobwatchHandle JobwatchOpen();
// Fills 'clientId' (client id, '.', job id; at most 100 characters) and
// 'jobId' (at most 63). Ids the monitor makes longer are cut to fit.
void JobwatchMakeIds(JobwatchHandle h, char (&clientId)[kJobwatchClientIdSize],
                     char (&jobId)[kJobwatchJobIdSize]);
// Hands the record over (in the form the library takes) and starts the
// monitor when it was accepted. True when accepted.
bool JobwatchSend(JobwatchHandle h, JobwatchData* data);
void JobwatchClose(JobwatchHandle h);
// Open connections of this process (for tests).
int JobwatchOpenCount();
