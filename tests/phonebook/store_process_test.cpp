// A phonebook opened by one process's store operation is closed to every
// other process until that operation ends.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "entry_codec.h"
#include "kfd_format.h"
#include "store.h"
#include "store_file.h"
#include "store_fixture.h"

namespace {

class StoreProcessTest : public StoreDir {};

// What another process gets from each operation while the file is held.
int OperationsWhileHeld(const WideString& book) {
    TestRecord t("Uusi", "9");
    FaxRecipient& r = t.r;
    EntryDetails& d = t.d;
    WideString text = Wide("Anna <1>");
    int failures = 0;
    failures += DBCheckVersion(book.c_str()) == DB_CANNOT_OPEN;
    failures += PhonebookReadEntry(book.c_str(), text.c_str(), r, d) == DB_CANNOT_OPEN;
    failures += PhonebookWriteEntry(book.c_str(), nullptr, r, d, kModeNew) == DB_CANNOT_OPEN;
    failures += PhonebookWriteEntry(book.c_str(), text.c_str(), r, d, kModeKeyChanged) == DB_CANNOT_OPEN;
    failures += PhonebookDeleteItem(book.c_str(), text.c_str(), kItemIndividual) == DB_CANNOT_OPEN;
    return failures;  // 5 when every operation was refused
}

TEST_F(StoreProcessTest, ExclusiveOpenHoldsAcrossProcesses) {
    TestRecord t("Anna", "1");
    const std::string book = kHead + Entry("Anna", "1");
    Put("book.KFD", book);
    const WideString path = WPath("book.KFD");

    // This process holds the file; a child tries every operation.
    {
        FileHandle held(OpenPhonebookExclusive(path.c_str()));
        ASSERT_TRUE(held.Valid());
        pid_t pid = fork();
        if (pid == 0) _exit(OperationsWhileHeld(path));
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 5);
    }
    EXPECT_EQ(Get("book.KFD"), book);

    // A child holds the file; this process is refused, then served once it lets go.
    int toParent[2], toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    pid_t pid = fork();
    if (pid == 0) {
        HANDLE h = OpenPhonebookExclusive(path.c_str());
        char c = h != INVALID_HANDLE_VALUE ? 'y' : 'n';
        if (write(toParent[1], &c, 1) != 1) _exit(2);
        if (read(toChild[0], &c, 1) != 1) _exit(2);
        CloseHandle(h);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(toParent[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_EQ(OperationsWhileHeld(path), 5);
    EXPECT_EQ(Get("book.KFD"), book);
    ASSERT_EQ(write(toChild[1], &c, 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(PhonebookReadEntry(path.c_str(), Wide("Anna <1>").c_str(), t.r, t.d), DB_DONE);
    for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) close(fd);
}

}  // namespace
