#pragma once
// Calls the stand-in fails on purpose, named in $FAX_ADDRESS_BOOK_FAIL as a
// comma-separated list: wabopen, logon, openbook, address, and per entry
// openentry:NAME, getprops:NAME, contents:NAME (a list's table cannot be
// had), rows:NAME:N (a list's table fails after N rows).

#include <string>

namespace standin {

bool Fails(const char* call);
bool FailsFor(const char* call, const std::string& entryName);
// The row count after which rows:NAME:N fails, or -1.
int RowsBeforeFailure(const std::string& listName);

}  // namespace standin
