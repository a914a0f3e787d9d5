#pragma once
// The user of the headless build. A modal loop with nothing queued asks
// for the next step of the script; message boxes and file dialogs take
// their answers from it too. Tests write the script in C++:
//
//   automation::Play(automation::Script()
//       .dialog(108).check(803).type(804, u"7").click(801));
//   ... run the code that opens dialog 108 ...
//   EXPECT_EQ(automation::Seen().beeps.size(), 0u);
//
// A loop that would wait with no step left reports the open dialog and its
// controls and fails: by default on stderr with exit status 3.
#include <windows.h>  // ours: platform/ is on the include path

#include <functional>
#include <string>
#include <vector>

namespace automation {

struct MessageBoxSeen {
    HWND owner;
    std::u16string text;
    std::u16string caption;
    UINT flags;
    int answer;
};
struct HelpSeen {
    std::u16string file;
    UINT command;
    ULONG_PTR data;
};
struct DialogSeen {
    int templateId;
    INT_PTR result;
};
struct FileDialogSeen {
    HWND owner;
    bool save;
    std::u16string title;
    DWORD flags;
};

struct Observed {
    std::vector<MessageBoxSeen> messageBoxes;
    std::vector<UINT> beeps;
    std::vector<HelpSeen> help;
    std::vector<int> dialogsOpened;  // template ids, in order
    std::vector<DialogSeen> dialogsEnded;
    std::vector<FileDialogSeen> fileDialogs;
};

class Script {
public:
    enum class Op { Type, SetText, Click, Check, Select, SelectText, DoubleClick, Key, Enter, Escape, Close,
                    Answer, File, CancelFile, Wait, Call, Page, Sheet, Help, ContextMenu, WaitEnabled };
    // The buttons of a property sheet.
    enum class SheetButton { Ok = 1, Cancel = 2, Apply = 3 };
    struct Step {
        Step() = default;
        explicit Step(Op o) : op(o) {}
        Op op = Op::Call;
        int guardDialog = 0;  // 0: any dialog
        int id = 0;
        std::vector<int> indexes;
        std::u16string text;
        int value = 0;
        std::function<void(HWND)> fn;
    };

    // The next step expects dialog 'templateId' to be the one asking.
    Script& dialog(int templateId);
    Script& type(int id, const std::u16string& text);  // one WM_CHAR per character
    Script& setText(int id, const std::u16string& text);
    Script& click(int id);
    Script& check(int id, bool on = true);
    Script& select(int id, int index);
    Script& select(int id, const std::u16string& itemText);
    Script& selectMany(int id, const std::vector<int>& indexes);
    Script& doubleClick(int id, int index);
    Script& key(int id, UINT vk);
    Script& enter();
    Script& escape();
    Script& close();
    // Answer the next message box with 'button' (IDOK, IDYES ...); when
    // 'expectText' is given, the box's text must contain it.
    Script& answer(int button, const std::u16string& expectText = u"");
    Script& file(const std::string& path);
    Script& cancelFile();
    // Wait up to 'ms' for a message posted by another process.
    Script& wait(int ms);
    // Wait up to 'ms' until the dialog is enabled again: while another
    // process works on its behalf, every other step is refused.
    Script& waitEnabled(int ms);
    // F1 on control 'id' (it takes the focus first); a right click on it.
    Script& help(int id);
    Script& contextMenu(int id);
    // Look at (or act on) the open dialog.
    Script& call(std::function<void(HWND dlg)> fn);
    // In a property sheet: click the tab of page 'index' (from 0), press
    // OK, Cancel or Apply. A page's own controls are reached by their ids
    // as in any dialog; 'dialog' guards name the page's template.
    Script& page(int index);
    Script& sheetButton(SheetButton b);
    Script& sheetOk() { return sheetButton(SheetButton::Ok); }
    Script& sheetCancel() { return sheetButton(SheetButton::Cancel); }
    Script& sheetApply() { return sheetButton(SheetButton::Apply); }

    std::vector<Step> steps;

private:
    Script& add(Step s);
    int guard_ = 0;
};

void Play(const Script& s);  // appends to what is left
size_t StepsLeft();
Observed& Seen();
// Forgets steps, observations and a previous failure.
void Reset();
// Receives the report of a failure. Once failed, every further modal loop
// ends at once with -1 and message boxes answer 0, so the code under test
// unwinds quickly.
void SetFailureHandler(std::function<void(const std::string&)> handler);
bool Failed();
// The innermost open dialog and its template id (0 when none).
HWND OpenDialog();
int OpenDialogId();
// Text of a dialog's state: every control with id, class, text, state.
std::string Describe(HWND dlg);
// Reads a script file (format in platform/AUTOMATION.md); false with a
// message for a malformed line.
bool LoadScript(const std::string& path, std::string& error);

}  // namespace automation
