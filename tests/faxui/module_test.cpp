// The faxui module as the host loads it: by name, with its resources
// reachable through the module handle.
#include <gtest/gtest.h>

#include "resource.h"
#include "windows.h"

namespace {

class FaxuiModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadLibraryA(FAXUI_MODULE_PATH); }
    static void TearDownTestSuite() {
        if (module) FreeLibrary(module);
        module = nullptr;
    }
    static HMODULE module;
};
HMODULE FaxuiModule::module = nullptr;

TEST_F(FaxuiModule, HoldsEveryDialogTemplate) {
    ASSERT_NE(module, nullptr);
    for (int id : {IDD_ENTRY, IDD_COMM_SETTINGS, IDD_NEW_ENTRY, IDD_GROUP_EDIT, IDD_GROUP_VIEW}) {
        HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), (LPCWSTR)RT_DIALOG);
        EXPECT_NE(res, nullptr) << "dialog " << id;
    }
}

TEST_F(FaxuiModule, StringTableHoldsTheNamedEntries) {
    ASSERT_NE(module, nullptr);
    struct { UINT id; const char* text; } rows[] = {
        {IDS_HELP_FILE, "FAXHELP.HLP"},
        {IDS_PHONEBOOK_FILTER, "Oryx Fax Data (*.KFD)|*.kfd|"},
        {IDS_COMM_MODE_G3, "G3 - Autom."},
        {IDS_COMM_MODE_F4800, "F4800"},
        {IDS_COMM_MODE_G4, "G4 - Autom."},
        {IDS_IMPORT_PROGRAM, "rcpimport.EXE"},
    };
    for (const auto& row : rows) {
        char text[64] = {};
        LoadStringA(module, row.id, text, sizeof text);
        EXPECT_STREQ(text, row.text) << "string " << row.id;
    }
}

TEST_F(FaxuiModule, BandBitmapIsTwoRowsOfSixteenColours) {
    ASSERT_NE(module, nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(IDB_BAND), (LPCWSTR)RT_BITMAP);
    ASSERT_NE(res, nullptr);
    // The resource is a device-independent bitmap: its info header first.
    const auto* info = static_cast<const unsigned char*>(LockResource(LoadResource(module, res)));
    ASSERT_NE(info, nullptr);
    auto le = [&](int at, int size) {
        int v = 0;
        for (int i = size - 1; i >= 0; --i) v = v * 256 + info[at + i];
        return v;
    };
    EXPECT_EQ(le(4, 4), 800);
    EXPECT_EQ(le(8, 4), 2);
    EXPECT_EQ(le(14, 2), 4);
}

}  // namespace
