#pragma once
// One fixture for the recipient list and the fax confirmation: a private
// Windows directory (and so a fresh default phonebook), the host block the
// print-time flow hands over, and the dialogs opened as their opener does.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "automation.h"
#include "dialog_help.h"
#include "dialog_readers.h"
#include "host_settings.h"
#include "list_texts.h"
#include "recipient_dialog.h"
#include "scratch_dir_test.h"
#include "scripted_user.h"
#include "shared_state.h"
#include "windows_dir.h"

class DialogFlowTest : public ScratchDirTest {
protected:
    void SetUp() override {
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
        windir = UseWindowsDirectory(dir);
        RemovePhonebookFiles(windir);
        StartScriptedUser();
        SetHelpModule(GetModuleHandleW(nullptr));
        std::memset(&host, 0, sizeof host);
        SetRecipientHostBlock(&host);
        WorkingRecipients.recipientCount = 7;  // left from an earlier job: never shown
    }
    void TearDown() override {
        EndScriptedUser();
        SetRecipientHostBlock(nullptr);
        RemovePhonebookFiles(windir);
    }

    // Plays the user, then opens the recipient list as the fax flow does.
    INT_PTR OpenRecipients(const automation::Script& user) {
        automation::Play(user);
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), nullptr, RecipientDlgProc, 0);
    }

    static automation::Script& Add(automation::Script& s, const std::u16string& name, const std::u16string& number) {
        if (!name.empty()) s.type(1001, name);
        return s.type(1004, number).click(1006);
    }

    static std::vector<std::u16string> Items(HWND d, int list) { return ListTexts(d, list); }
    static std::vector<int> Selected(HWND d, int list) {
        int sel[64];
        LRESULT n = SendDlgItemMessageW(d, list, LB_GETSELITEMS, 64, reinterpret_cast<LPARAM>(sel));
        return std::vector<int>(sel, sel + (n > 0 ? n : 0));
    }
    // The enabled state of details, comm settings, delete, store and add.
    static std::string Buttons(HWND d) {
        std::string s;
        for (int id : {1009, 1005, 1024, 1011, 1006}) s += Enabled(d, id) ? '1' : '0';
        return s;
    }

    static const std::vector<automation::MessageBoxSeen>& Boxes() { return automation::Seen().messageBoxes; }

    std::string windir;
    HostSubBlock host;
};
