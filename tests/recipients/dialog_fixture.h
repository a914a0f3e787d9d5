#pragma once
// One fixture for the product dialog tests: the module's resources and
// help file name from this program, failures of the scripted user reported
// to GoogleTest, and small readers of a dialog's state. The same tests run
// on the headless layer and, built for Windows, under wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "automation.h"
#include "dialog_help.h"
#include "dialog_readers.h"
#include "list_texts.h"
#include "scratch_dir.h"
#include "scripted_user.h"
#include "resource.h"
#include "run_platform.h"
#include "shared_state.h"
#include "test_recipient.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        static ScratchDir runtime("fax-dialogs");
        setenv("FAX_UI_RUNTIME_DIR", runtime.dir().c_str(), 1);
        StartScriptedUser();
        SetHelpModule(GetModuleHandleW(nullptr));
    }
    void TearDown() override {
        EndScriptedUser();
        if (parent) DestroyWindow(parent);
    }

    // Opens a dialog of the module as its opener does: buffers filled
    // before, the result and the buffers read after.
    INT_PTR Open(int templateId, DLGPROC proc, const automation::Script& user, HWND owner = nullptr) {
        automation::Play(user);
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, proc, 0);
    }

    // An owner window holding a control with the given id (a dialog of
    // the module looks at its parent's controls to know its context).
    HWND ParentWith(int controlId, const char* className = "LISTBOX") {
        parent = CreateWindowExW(0, WIDE("STATIC"), WIDE(""), WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        WCHAR cls[32] = {0};
        for (int i = 0; className[i] && i < 31; ++i) cls[i] = className[i];
        CreateWindowExW(0, cls, WIDE(""), WS_CHILD | LBS_NOTIFY, 0, 0, 50, 50, parent, (HMENU)(INT_PTR)controlId, nullptr, nullptr);
        return parent;
    }

    static const automation::Observed& Seen() { return automation::Seen(); }

    static bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }
    static int Focused(HWND) { return GetDlgCtrlID(GetFocus()); }
    static std::u16string Item(HWND d, int id, int i) { return ListText(d, id, i); }
    static int Count(HWND d, int id) { return (int)SendDlgItemMessageW(d, id, LB_GETCOUNT, 0, 0); }

    HWND parent = nullptr;
};
