#pragma once
// The part of the scripted user both platforms share: the queue of steps,
// what was observed, the answers to message boxes and file dialogs, the log
// and the failure report. Each platform drives its own dialogs with it.
#include "automation.h"

#include <deque>
#include <string>

namespace automation {
namespace detail {

using Op = Script::Op;

std::deque<Script::Step>& Steps();
// Loads FAX_UI_SCRIPT when no step was ever given in C++.
void LoadEnvScript();
const char* OpName(Op op);
// Steps a dialog performs (the others answer message boxes and file dialogs).
bool IsDialogStep(Op op);
// Whether a message box of these flags offers 'button'.
bool Offers(UINT flags, int button);
void Log(const std::string& line);
// Reports a failure (with the state of 'dlg' when given) once; later
// failures are dropped. Without a handler the program exits with status 3.
void Fail(const std::string& why, HWND dlg);
// Decides the answer to a message box from the next step and records the
// box; 0 when the script has no fitting answer (the failure is reported).
int AnswerMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags);
// File dialog: false = cancelled or failed; otherwise 'path' is the answer.
bool AnswerFileDialog(HWND owner, bool save, const std::u16string& title, DWORD flags, std::u16string& path);
void RecordBeep(UINT type);
void RecordHelp(const std::u16string& file, UINT cmd, ULONG_PTR data);
void DialogOpened(int templateId);
void DialogEnded(int templateId, INT_PTR result);
// Takes the next step for the dialog 'templateId': false with 'why' when
// none fits (no step left, a step for another dialog or for a message box).
bool NextDialogStep(int templateId, Script::Step& step, std::string& why);
// Each platform defines these: Play() calls PlatformStart (the Windows side
// installs its hooks there), Reset() calls PlatformReset.
void PlatformStart();
void PlatformReset();

// The engine (automation_steps.cpp) performs steps through the public
// calls alone; what each system must do its own way is below.
// Takes the next step for the innermost dialog 'top' and performs it.
// False when the loop must end (the failure is reported and the dialog
// asked to end).
bool PlayNextStep(HWND top);
// Performs one step; empty, or why it could not be done.
std::string Perform(HWND top, Script::Step& st);
// Per system: whether 'top' is a property sheet; the template a step's
// guard is checked against (a sheet's current page's); a click on a
// sheet's tab; ending a dialog or sheet after a failure.
bool IsSheet(HWND top);
int GuardTemplate(HWND top);
std::string ClickTab(HWND sheet, int index);
void EndAfterFailure(HWND top);
// Per system: waits for a message posted by another process; waits,
// serving the loop, until 'top' is enabled again.
bool WaitForPost(int ms);
bool WaitEnabled(HWND top, int ms);
// Per system: F1 pressed while 'focus' has the focus.
void PressHelpKey(HWND focus);

std::u16string FromUtf8(const std::string& s);
std::string ToUtf8(const std::u16string& s);

}  // namespace detail
}  // namespace automation
