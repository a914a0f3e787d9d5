#pragma once
// The modal loop's and the message calls' side of the scripted user: what
// they record and what they ask it.
#include "posix/win_base.h"

#include <string>

namespace winuser {

// Records and asks the user (automation).
namespace user {
int AnswerMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags);
void RecordBeep(UINT type);
void RecordHelp(HWND h, const std::u16string& file, UINT cmd, ULONG_PTR data);
// File dialog: false = cancelled; otherwise 'path' is the answer.
bool AnswerFileDialog(HWND owner, bool save, const std::u16string& title, DWORD flags, std::u16string& path);
// Performs the next user action in the modal dialog 'dlg'. Returns false
// only when the loop must end without an action (the failure was reported).
bool Act(HWND dlg);
void DialogOpened(HWND dlg);
void DialogEnded(HWND dlg, INT_PTR result);
void Fail(const std::string& why, HWND dlg);
}  // namespace user

}  // namespace winuser
