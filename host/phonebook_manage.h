#pragma once
// "faxhost phonebook manage [FILE]": the phonebook manager of the UI add-on,
// opened through its exported dialog procedure as the option page opens it.
// On the headless build the user comes from the script file FAX_UI_SCRIPT.

// argv[0] is "manage"; returns the process exit code.
int RunPhonebookManage(int argc, char** argv);
