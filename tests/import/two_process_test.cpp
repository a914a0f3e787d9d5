// rcpimport as a process of its own, started from a dialog of this test
// that stands where the recipient list or the phonebook dialog would: the
// dialog is disabled while the program runs, enabled again before the
// completion command arrives, and reads the hand-off file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <csignal>

#include <fstream>
#include <string>
#include <vector>

#include "handoff_file.h"
#include "starter_ids.h"
#include "two_process_fixture.h"

namespace {

struct Starter {
    std::string program;
    std::string handoff;
    std::string separator = " ";  // between the program and the hand-off path
    HandoffLayout layout = HandoffLayout::Standard;
    std::vector<BOOL> enables;   // WM_ENABLE as it arrived
    int command = 0;
    int records = -2;            // -1: no file; -2: no command
    std::vector<FaxRecipient> got = std::vector<FaxRecipient>(100);
    long fileSize = -1;
    bool notifyDisabled = false;  // post WM_APP to itself when disabled
};

void OnImportClick(Starter* s) {
    std::string line = s->program + s->separator + s->handoff;
    WinExec(line.c_str(), SW_SHOW);
}

void OnCompletion(HWND dlg, Starter* s, int command) {
    s->command = command;
    std::ifstream in(s->handoff, std::ios::binary | std::ios::ate);
    if (in) s->fileSize = static_cast<long>(in.tellg());
    s->records = ReadRecipientImportFile(s->handoff.c_str(), s->layout, command, s->got.data(),
                                         static_cast<int>(s->got.size()));
    EndDialog(dlg, IDOK);
}

INT_PTR CALLBACK StarterDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = reinterpret_cast<Starter*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        SetForegroundWindow(dlg);
        return TRUE;
    case WM_ENABLE:
        s->enables.push_back(static_cast<BOOL>(wParam));
        if (!wParam && s->notifyDisabled) PostMessageA(dlg, WM_APP, 0, 0);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_STARTER_IMPORT: OnImportClick(s); break;
        case IDC_STARTER_NAMES:
        case IDC_STARTER_FULL: OnCompletion(dlg, s, LOWORD(wParam)); break;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
        }
        return TRUE;
    }
    return FALSE;
}

class TwoProcessTest : public TwoProcessFixture {
protected:
    void SetUp() override {
        TwoProcessFixture::SetUp();
        starter.program = RCPIMPORT_PATH;
        starter.handoff = dir_ + "/DB" + std::to_string(100000 + runs_) + ".TMP";
    }
    // Runs the starting dialog; the import program plays programScript.
    void Run(int dialogId, const std::string& programScript) {
        ProgramScript(programScript);
        automation::Play(automation::Script().dialog(dialogId).click(IDC_STARTER_IMPORT).wait(30000));
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogId), nullptr, StarterDlgProc,
                        reinterpret_cast<LPARAM>(&starter));
    }
    Starter starter;
};

TEST_F(TwoProcessTest, ContactsIntoTheRecipientList) {
    std::string csv = Write("yhteys.csv", "Nimi,Faksi\nAnna,09 1\nBo,09 2\n");
    Run(IDD_STARTER_LIST,
        "dialog 116\nselect 1056 0\ncheck 1057 on\nclick 1\nfile " + csv +
            "\ndialog 102\nmultiselect 1004 0 1\nclick 1001\nclick 1\ndialog 101\nclick 1\n");
    EXPECT_EQ(starter.enables, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(starter.command, kImportDoneNames);
    ASSERT_EQ(starter.records, 2);
    EXPECT_EQ(starter.fileSize, 4 + 2 * 62);
    EXPECT_STREQ(starter.got[1].name, "Bo");
    EXPECT_STREQ(starter.got[1].faxNumber, "092");
}

const char kSpeedDial[] =
    "*,1,0,1\r\n"
    "1,N,09 1,Yksi,,,4,,,,,ZGV6AQZlZD==\r\n"
    "2,N,09 2,Kaksi,,,,,,,,,P12/3/#5/004\r\n"
    "3,N,09 3,Kolme\r\n";

const char kPickAllSpeedDials[] =
    "dialog 116\nselect 1056 1\nclick 1\nfile %s\n"
    "dialog 118\nmultiselect 1004 0 1 2\nclick 1001\nclick 1\ndialog 101\nclick 1\n";

std::string WithFile(const char* script, const std::string& path) {
    std::string s = script;
    return s.replace(s.find("%s"), 2, path);
}

TEST_F(TwoProcessTest, SpeedDialsIntoThePhonebookAsWholeRecords) {
    Run(IDD_STARTER_BOOK, WithFile(kPickAllSpeedDials, Write("lyhyt.csv", kSpeedDial)));
    EXPECT_EQ(starter.enables, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(starter.command, kImportDoneFull);
    ASSERT_EQ(starter.records, 3);
    EXPECT_EQ(starter.fileSize, 4 + 3 * 236);
    EXPECT_EQ(starter.got[0].comm.commMode, 2);
    EXPECT_EQ(starter.got[0].comm.commOption, '4');
    EXPECT_STREQ(starter.got[1].comm.relayStationId, "12");
    EXPECT_EQ(starter.got[1].comm.relayDestCount, 3);
    EXPECT_EQ(starter.got[2].comm.commOption, '0');
}

TEST_F(TwoProcessTest, CompactBuildWritesTheCompactLayout) {
    starter.program = RCPIMPORTX_PATH;
    starter.layout = HandoffLayout::Compact;
    Run(IDD_STARTER_BOOK, WithFile(kPickAllSpeedDials, Write("lyhyt.csv", kSpeedDial)));
    EXPECT_EQ(starter.command, kImportDoneFull);
    ASSERT_EQ(starter.records, 3);
    EXPECT_EQ(starter.fileSize, 2 + 3 * 184);
    EXPECT_STREQ(starter.got[1].comm.relayStationId, "12");
}

TEST_F(TwoProcessTest, CancelledImportStillEnablesAndCompletes) {
    Run(IDD_STARTER_LIST, "dialog 116\nclick 2\n");
    EXPECT_EQ(starter.enables, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(starter.command, kImportDoneNames);
    EXPECT_EQ(starter.records, -1);
}

TEST_F(TwoProcessTest, SpeedDialFileDialogCancelledCompletesWithTheFullCommand) {
    Run(IDD_STARTER_BOOK, "dialog 116\nselect 1056 1\nclick 1\nfile cancel\nmsgbox 1 Mit\xC3\xA4\xC3\xA4n tietoja ei tuoda.\n");
    EXPECT_EQ(starter.command, kImportDoneFull);
    EXPECT_EQ(starter.records, -1);
}

// An argument text that begins with a blank names no hand-off file: the
// import runs to its end, writes nothing and says so.
TEST_F(TwoProcessTest, ArgumentTextStartingWithABlankWritesNoFile) {
    starter.separator = "  ";
    std::string csv = Write("tyhja_polku.csv", "Nimi,Faksi\nAnna,1\n");
    Run(IDD_STARTER_LIST, "dialog 116\nselect 1056 0\ncheck 1057 on\nclick 1\nfile " + csv +
                              "\ndialog 102\nselect 1004 0\nclick 1001\nclick 1\ndialog 101\nclick 1\n"
                              "msgbox 1 Mit\xC3\xA4\xC3\xA4n tietoja ei tuoda.\n");
    EXPECT_EQ(starter.enables, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(starter.command, kImportDoneNames);
    EXPECT_EQ(starter.records, -1);
}

// The program is killed while its data type dialog is open: its signal
// handler still enables the caller and posts the completion command.
TEST_F(TwoProcessTest, KilledProgramStillEnablesAndCompletes) {
    ProgramScript("dialog 116\nwait 30000\n");
    starter.notifyDisabled = true;
    automation::Play(automation::Script()
                         .dialog(IDD_STARTER_LIST)
                         .click(IDC_STARTER_IMPORT)
                         .wait(30000)  // the dialog's own note that it was disabled
                         .call([](HWND dlg) {
                             for (int i = 0; i < 3000; ++i) {
                                 DWORD pid = 0;
                                 HWND fg = GetForegroundWindow();
                                 if (fg && fg != dlg) GetWindowThreadProcessId(fg, &pid);
                                 if (pid && pid != static_cast<DWORD>(getpid())) {
                                     kill(static_cast<pid_t>(pid), SIGTERM);
                                     return;
                                 }
                                 usleep(10000);
                             }
                             ADD_FAILURE() << "the import program's dialog never came forward";
                         })
                         .wait(30000));
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STARTER_LIST), nullptr, StarterDlgProc,
                    reinterpret_cast<LPARAM>(&starter));
    EXPECT_EQ(starter.enables, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(starter.command, kImportDoneNames);
    EXPECT_EQ(starter.records, -1);
}

// When the program fails, the waiting side's report says how it ended and
// where its log is, with the end of that log.
TEST_F(TwoProcessTest, WaitThatRunsOutNamesTheProgramsLog) {
    std::vector<std::string> reports;
    automation::SetFailureHandler([&](const std::string& m) { reports.push_back(m); });
    ProgramScript("dialog 116\nselect 1056 1\n");
    automation::Play(automation::Script().dialog(IDD_STARTER_BOOK).click(IDC_STARTER_IMPORT).wait(3000));
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STARTER_BOOK), nullptr, StarterDlgProc,
                    reinterpret_cast<LPARAM>(&starter));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("no message arrived within 3000 ms"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("rcpimport (exited with status 3), log "), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("dialog 116 waits for the user, but no action is left"), std::string::npos)
        << reports[0];
}

}  // namespace
