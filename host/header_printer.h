#pragma once
// Runs the PJL header write points of one job through a loaded render
// add-on, as the host driver does while it writes the job header.

#include <string>

#include "job_file.h"
#include "module_loader.h"
#include "settings_image.h"

// Builds the job's settings image, control block and output context, calls
// the module's write hook at job start, job settings and job end, and
// returns the bytes it wrote. False with a message when the module cannot
// take the job (no write hook, blocks of the wrong size).
bool PrintHeader(const AddonModule& module, const JobDescription& job, std::string* pjl,
                 std::string* error);
// The same through a table and write hook at hand (a module linked in);
// 'name' stands for the module in messages.
bool PrintHeader(const AddOnTable* table, AddOnWriteHook hook, const std::string& name,
                 const JobDescription& job, std::string* pjl, std::string* error);

// Stores the job's host fields and fax blocks into an image whose fax
// blocks 'mcb' locates.
void ApplyJobToImage(const JobDescription& job, SettingsImage& image, const AddonMCB& mcb);

// The write points over an image the job has already been through (the
// user-interface add-on stored its settings there); 'blocks' locates the
// fax blocks in it.
bool PrintHeaderFromImage(const AddonModule& module, SettingsImage& image, const AddonMCB& blocks,
                          const JobDescription& job, std::string* pjl, std::string* error);
