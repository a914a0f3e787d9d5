// Filling list boxes from the current phonebook.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "automation.h"
#include "scripted_user.h"
#include "entry_codec.h"
#include "kfd_format.h"
#include "list_texts.h"
#include "posix/fault_injection.h"
#include "shared_state.h"
#include "store_dialogs.h"
#include "store_fixture.h"
#include "store_state.h"

namespace {

INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

class StoreDialogsTest : public StoreDir {
protected:
    void SetUp() override {
        StoreDir::SetUp();
        setenv("FAX_UI_RUNTIME_DIR", dir.c_str(), 1);
        StartScriptedUser();
        std::string book = kHead;
        for (const char* n : {"Anna", "Bo", "Cai"}) book += Entry(n, "1");
        kfd::BeginGroup("G", book);
        for (const char* n : {"Anna", "Bo", "Cai"}) kfd::AddGroupMember(n, "1", book);
        kfd::EndGroup(book);
        Put("b.KFD", book);
        WideString p = WPath("b.KFD");
        std::memcpy(StoreState.currentPath, p.c_str(), (p.size() + 1) * sizeof(WCHAR));
    }
    void TearDown() override {
        EndScriptedUser();
        StoreDir::TearDown();
    }
    // Runs body inside the dialog; returns the texts of list 605 afterwards.
    // answers: the message boxes the body will meet, in order.
    std::vector<std::u16string> InDialog(std::function<void(HWND)> body,
                                         automation::Script answers = automation::Script()) {
        std::vector<std::u16string> items;
        automation::Script s;
        s.call([&](HWND d) {
            body(d);
            items = ListTexts(d, 605);
            EndDialog(d, 1);
        });
        for (auto& step : answers.steps) s.steps.push_back(step);
        automation::Play(s);
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(1600), nullptr, Proc, 0);
        return items;
    }
};

TEST_F(StoreDialogsTest, FillListShowsEveryRecordWithItsKind) {
    std::vector<LRESULT> data;
    InDialog([&](HWND d) {
        EXPECT_EQ(DBFillList(d, 601), 1);
        for (int i = 0; i < 4; ++i) data.push_back(SendDlgItemMessageW(d, 601, LB_GETITEMDATA, i, 0));
    });
    EXPECT_EQ(data, (std::vector<LRESULT>{2, 1, 1, 1}));  // sorted as Windows does: "[G]" before the names
}

TEST_F(StoreDialogsTest, GroupMembersWithoutAndWithAddingRecipients) {
    auto plain = InDialog([](HWND d) {
        SendDlgItemMessageW(d, 605, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"bo <1>"));
        EXPECT_EQ(DBListGroupMembers(d, 605, WIDE("g"), FALSE), 1);
    });
    EXPECT_EQ(plain, (std::vector<std::u16string>{u"bo <1>", u"Anna <1>", u"Cai <1>"}));

    // 48 recipients already: Bo is asked about (No), Anna and Cai fill the
    // list to 50; nothing is left, so no limit message.
    ASSERT_TRUE(AllocateExchangeDetails());
    ExchangeRecipients.recipientCount = 48;
    InDialog(
        [](HWND d) {
            SendDlgItemMessageW(d, 605, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Bo <1>"));
            EXPECT_EQ(DBListGroupMembers(d, 605, WIDE("G"), TRUE), 1);
        },
        automation::Script().answer(IDNO, u"Vastaanottaja on jo luettelossa."));
    EXPECT_EQ(ExchangeRecipients.recipientCount, 50);
    EXPECT_EQ(ExchangeDetails[49].workFlag, 1);
    EXPECT_EQ(automation::Seen().messageBoxes.size(), 1u);

    // 49 recipients: Anna takes the last slot, Bo and Cai are left out with a warning.
    automation::Reset();
    ExchangeRecipients.recipientCount = 49;
    InDialog([](HWND d) { EXPECT_EQ(DBListGroupMembers(d, 605, WIDE("G"), TRUE), 1); },
             automation::Script().answer(IDOK, u"maksimimäärä 50 on jo täynnä"));
    EXPECT_EQ(ExchangeRecipients.recipientCount, 50);
    EXPECT_EQ(automation::Seen().messageBoxes.size(), 1u);
    // Full already: nothing at all.
    InDialog([](HWND d) { EXPECT_EQ(DBListGroupMembers(d, 605, WIDE("G"), TRUE), 0); });
    FreeExchangeDetails();
}

TEST_F(StoreDialogsTest, UnusablePhonebookIsReported) {
    const std::string good = Get("b.KFD");
    const fault::Plan none{fault::Op::Any, 0, fault::Action::Fail};
    struct Case {
        const char* what;
        std::string bytes;
        bool create;
        fault::Plan fault;
        std::u16string text;
    } cases[] = {
        {"missing", "", false, none, u"Puhelinmuistiotiedostoa ei löydy - "},
        {"not a phonebook", "xyz", true, none, u"Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - "},
        {"record too large", std::string(kfd::kMagicCurrent) + "\n\x02" + std::string(20000, 'x') + "\x03\x04", true,
         none, u"Muisti ei riitä puhelinmuistiotiedoston avaamiseen."},
        {"size cannot be read", good, true, {fault::Op::Size, 1, fault::Action::Fail, ERROR_ACCESS_DENIED},
         u"Puhelinmuistion avaaminen ei onnistunut - "},
        {"records cannot be read", good, true, {fault::Op::Read, 2, fault::Action::Fail, ERROR_READ_FAULT},
         u"Puhelinmuistion avaaminen ei onnistunut - "},
    };
    const std::function<int(HWND)> listings[] = {
        [](HWND d) { return DBFillList(d, 601); },
        [](HWND d) { return DBListGroupMembers(d, 605, WIDE("G"), FALSE); },
    };
    for (const auto& c : cases) {
        for (const auto& list : listings) {
            std::filesystem::remove(Path("b.KFD"));
            if (c.create) Put("b.KFD", c.bytes);
            automation::Reset();
            InDialog(
                [&](HWND d) {
                    fault::Reset();
                    if (c.fault.nth) fault::Arm(c.fault);
                    EXPECT_EQ(list(d), 0) << c.what;
                    fault::Reset();
                },
                automation::Script().answer(IDOK, c.text));
            ASSERT_EQ(automation::Seen().messageBoxes.size(), 1u) << c.what;
            EXPECT_EQ(automation::Seen().messageBoxes[0].caption, u"Tietokantatiedoston virhe") << c.what;
        }
    }
}

}  // namespace
