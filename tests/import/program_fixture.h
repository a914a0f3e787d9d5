#pragma once
// The import program's dialogs played by the scripted user in this
// process: a private runtime and Windows directory, failures reported to
// GoogleTest, contact files written to a temporary directory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>
#include <vector>

#include "automation.h"
#include "scratch_dir.h"
#include "scripted_user.h"
#include "handoff_file.h"
#include "import_app.h"

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        static ScratchDir scratch("rcpimport-test");
        const std::string& dir = scratch.dir();
        dir_ = dir;
        setenv("FAX_UI_RUNTIME_DIR", (dir + "/runtime").c_str(), 1);
        setenv("FAX_WINDIR", (dir + "/windows").c_str(), 1);
        ForgetAddressBooks();
        StartScriptedUser();
        app = ImportApp{};
        app.instance = GetModuleHandleA(nullptr);
        handoff = dir + "/DB120000.TMP";
        std::remove(handoff.c_str());
    }
    void TearDown() override {
        EndScriptedUser();
    }

    // No address book is offered: on Windows the registry and WIN.INI
    // outlive the test programs that registered one before.
    static void ForgetAddressBooks() {
        WriteProfileStringA("Mail", "MAPIX", nullptr);
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
    }

    std::string Write(const std::string& name, const std::string& text) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    void Run() { RunImport(app, handoff.c_str()); }

    // The hand-off file read back as the starting dialog reads it; -1 when
    // there is none.
    int ReadBack(int command, std::vector<FaxRecipient>& out, HandoffLayout layout = HandoffLayout::Standard) {
        out.assign(1000, FaxRecipient{});
        int n = ReadRecipientImportFile(handoff.c_str(), layout, command, out.data(), 1000);
        out.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return n;
    }

    std::vector<std::u16string> MessageTexts() {
        std::vector<std::u16string> out;
        for (const auto& m : automation::Seen().messageBoxes) out.push_back(m.text);
        return out;
    }

    ImportApp app;
    std::string handoff;
    std::string dir_;
};
