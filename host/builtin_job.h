#pragma once
// The job faxhost prints when it is given no job file.

extern const char kBuiltinJobFile[];
