// The faxui module as the host loads it: by name, with its resources
// reachable through the module handle.
#include <gtest/gtest.h>

#include <vector>

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

// What the host reads first: the table's fixed words (its size, at word 1,
// is the build's), and the entry point's answer.
TEST_F(FaxuiModule, TableWordsAndEntryAsTheHostReadsThem) {
    ASSERT_NE(module, nullptr);
    auto table = reinterpret_cast<const int32_t*(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetFuncTable")));
    auto entry = reinterpret_cast<BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllInitialize")));
    ASSERT_TRUE(table && entry);
    const int32_t* w = table();
    EXPECT_EQ(std::vector<int32_t>({w[0], w[2], w[3], w[4], w[5], w[6]}),
              std::vector<int32_t>({1235, 1, 1388, 172, 0, 11816}));
    const DWORD kDetach = 0;  // nothing to keep or give back
    EXPECT_EQ(entry(module, kDetach, nullptr), 1);
}

TEST_F(FaxuiModule, HoldsEveryDialogTemplate) {
    ASSERT_NE(module, nullptr);
    for (int id : {IDD_ENTRY, IDD_COMM_SETTINGS, IDD_NEW_ENTRY, IDD_GROUP_EDIT, IDD_GROUP_VIEW, IDD_PHONEBOOK,
                   IDD_PHONEBOOK_PICK}) {
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
    // Loaded twice and one deleted: the other stays whole.
    HBITMAP first = LoadBitmapW(module, MAKEINTRESOURCEW(IDB_BAND));
    HBITMAP second = LoadBitmapW(module, MAKEINTRESOURCEW(IDB_BAND));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(DeleteObject(first));
    BITMAP b{};
    EXPECT_EQ(GetObjectW(first, sizeof b, &b), 0);
    ASSERT_EQ(GetObjectW(second, sizeof b, &b), static_cast<int>(sizeof b));
    EXPECT_EQ(b.bmWidth * 100 + b.bmHeight, 800 * 100 + 2);
    DeleteObject(second);
}

}  // namespace
