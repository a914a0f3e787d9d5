#pragma once
// Results of the phonebook store. A caller must look at every one: each
// tells the dialogs which message to show, or that a change did not happen.

enum [[nodiscard]] DBResult {
    DB_DONE = 0,
    DB_CANNOT_OPEN = 1,
    DB_NO_MEMORY = 2,
    DB_WRITE_FAILED = 3,
    DB_NOT_FOUND = 4,
    DB_BAD_FORMAT = 5,
    DB_VERSION_0000 = 6,
    DB_VERSION_1000 = 7,
};
