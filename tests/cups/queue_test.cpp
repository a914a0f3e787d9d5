// Faxing through a real CUPS: a cupsd of the test's own on a loopback port
// (its configuration, spool, logs and server folder in a scratch folder),
// a queue added by scripts/cups-queue.sh with our PPD, Ghostscript making
// the PCL XL, and a listener on another loopback port as the printer.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include "command_run.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

const char kUel[] = "\x1b%-12345X";
const char kEnterPclXl[] = "@PJL ENTER LANGUAGE = PCLXL\n";

// The printer: keeps every connection's bytes.
class Listener {
public:
    bool Start() {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd_, 4) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return false;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
        return true;
    }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) close(fd_);
    }
    int port() const { return port_; }
    std::vector<std::string> jobs() {
        std::lock_guard<std::mutex> g(lock_);
        return jobs_;
    }

private:
    void Serve() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            int c = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            std::string bytes;
            char buf[65536];
            ssize_t n;
            while ((n = read(c, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(n));
            close(c);
            std::lock_guard<std::mutex> g(lock_);
            jobs_.push_back(bytes);
        }
    }
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex lock_;
    std::vector<std::string> jobs_;
};

int FreePort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    close(fd);
    return ntohs(a.sin_port);
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class CupsQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* tool : {"/usr/sbin/cupsd", "/usr/bin/gs", "/usr/bin/lp", "/usr/sbin/lpadmin",
                                 "/usr/lib/cups/filter/gstopxl", "/usr/lib/cups/backend/socket"}) {
            if (!fs::exists(tool)) {
                missing_ = std::string(tool) + " is not installed (cupsd, cups-client, cups-filters, ghostscript)";
                return;
            }
        }
        dir_ = new ScratchDir("fax-cups");
        // The filter user (lp when cupsd runs as root) reads the phonebook
        // and runs the filter from here.
        fs::permissions(dir_->dir(), fs::perms(0755));
        printer_ = new Listener;
        ASSERT_TRUE(printer_->Start());
        port_ = FreePort();
        WriteConfiguration();
        StartServer();
        fs::copy_file(std::string(FAX_TEST_DATA) + "/v2000.KFD", dir_->Path("book.KFD"));
        fs::permissions(dir_->Path("book.KFD"), fs::perms(0644));
        CommandRun added = RunCommand(Environment() + " " QUEUE_SCRIPT " socket://127.0.0.1:" +
                                      std::to_string(printer_->port()) + "/?snmp=false faxq " + dir_->Path("book.KFD"));
        ASSERT_EQ(added.status, 0) << added.out << added.err;
        CommandRun pdf = RunCommand("printf '%%!PS\\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Page one) "
                                    "show showpage 72 700 moveto (Page two) show showpage\\n' | gs -q -dNOPAUSE "
                                    "-dBATCH -sDEVICE=pdfwrite -sOutputFile=" + dir_->Path("doc.pdf") + " -");
        ASSERT_EQ(pdf.status, 0) << pdf.err;
        ready_ = true;
    }
    static void TearDownTestSuite() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
        if (printer_) printer_->Stop();
        delete printer_;
        delete dir_;
    }
    void SetUp() override {
        if (!missing_.empty()) GTEST_SKIP() << missing_;
        ASSERT_TRUE(ready_) << "the private cupsd and its queue could not be set up";
    }

    // cupsd refuses filters that are not root's and not kept from others
    // when it runs as root: its server folder is a private copy of the
    // system's, made of links, with a filter folder of its own, owned by
    // this process's user and writable only by it, for the queue script to
    // install into.
    static void WriteConfiguration() {
        for (const char* d : {"etc", "spool", "cache", "state", "log", "bin", "bin/filter", "ppd", "data"})
            fs::create_directories(dir_->Path(d));
        fs::create_directories(dir_->Path("tmp"));
        fs::permissions(dir_->Path("tmp"), fs::perms(01777));
        for (const auto& e : fs::directory_iterator("/usr/lib/cups")) {
            if (e.path().filename() != "filter") fs::create_symlink(e.path(), dir_->Path("bin") / e.path().filename());
        }
        for (const auto& e : fs::directory_iterator("/usr/lib/cups/filter"))
            fs::create_symlink(e.path(), dir_->Path("bin/filter") / e.path().filename());
        dir_->Put("cupsd.conf", "Listen 127.0.0.1:" + std::to_string(port_) +
                                    "\nBrowsing No\nDefaultAuthType None\nDefaultEncryption Never\nWebInterface No\n"
                                    "LogLevel debug\nPreserveJobHistory Yes\n"
                                    "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                                    "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n");
        const std::string d = dir_->dir();
        dir_->Put("cups-files.conf", "ServerRoot " + d + "/etc\nRequestRoot " + d + "/spool\nTempDir " + d +
                                         "/tmp\nCacheDir " + d + "/cache\nStateDir " + d + "/state\nServerBin " + d +
                                         "/bin\nAccessLog " + d + "/log/access_log\nErrorLog " + d +
                                         "/log/error_log\nPageLog " + d + "/log/page_log\nFileDevice Yes\n"
                                         "Sandboxing Relaxed\nSetEnv FAX_FIXED_TIME 10:20:30\n"
                                         "SetEnv FAX_COMPUTERNAME FAXTEST\n");
    }
    static void StartServer() {
        server_ = fork();
        if (server_ == 0) {
            // Ends with this test even when the test itself is killed.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", dir_->Path("cupsd.conf").c_str(), "-s",
                  dir_->Path("cups-files.conf").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100; ++i) {
            http_t* h = httpConnect2("127.0.0.1", port_, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 200, nullptr);
            if (h) {
                httpClose(h);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        FAIL() << "cupsd did not start:\n" << dir_->Get("log/error_log");
    }
    static std::string Environment() {
        return "CUPS_SERVER=127.0.0.1:" + std::to_string(port_) + " FAXCUPS_SERVERBIN=" + dir_->Path("bin") +
               " FAXCUPS_PPD_DIR=" + dir_->Path("ppd") + " FAXCUPS_DATA=" + dir_->Path("data") + " FAXCUPS_BUILD=" +
               fs::path(FAXCUPS_PATH).parent_path().parent_path().string();
    }

    // Prints the test document with the options; the job's id.
    int Print(const std::vector<std::string>& options) {
        std::string command = Environment() + " lp -U tester -d faxq";
        for (const std::string& o : options) command += " -o " + Quote(o);
        CommandRun run = RunCommand(command + " " + dir_->Path("doc.pdf"));
        EXPECT_EQ(run.status, 0) << run.err;
        size_t dash = run.out.find("faxq-");
        return dash == std::string::npos ? 0 : std::atoi(run.out.c_str() + dash + 5);
    }

    // Waits until the job has ended; its state and the last message its
    // filters gave.
    std::pair<int, std::string> AwaitJob(int id) {
        http_t* http = httpConnect2("127.0.0.1", port_, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr);
        std::pair<int, std::string> result{0, ""};
        for (int i = 0; http && i < 300 && result.first < IPP_JSTATE_STOPPED; ++i) {
            if (i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
            std::string uri = "ipp://127.0.0.1:" + std::to_string(port_) + "/jobs/" + std::to_string(id);
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, "tester");
            ipp_t* response = cupsDoRequest(http, request, "/");
            ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
            ipp_attribute_t* message = ippFindAttribute(response, "job-printer-state-message", IPP_TAG_TEXT);
            result = {state ? ippGetInteger(state, 0) : 0, message ? ippGetString(message, 0, nullptr) : ""};
            ippDelete(response);
        }
        if (http) httpClose(http);
        return result;
    }

    static std::string missing_;
    static bool ready_;
    static ScratchDir* dir_;
    static Listener* printer_;
    static int port_;
    static pid_t server_;
};

std::string CupsQueue::missing_;
bool CupsQueue::ready_ = false;
ScratchDir* CupsQueue::dir_ = nullptr;
Listener* CupsQueue::printer_ = nullptr;
int CupsQueue::port_ = 0;
pid_t CupsQueue::server_ = -1;

// The same job for faxhost: typed recipients, a speed dial, the
// phonebook's Pekka (mailbox) and group Myynti (Anna; Ville with relay
// broadcast, G4 and F-codes), sent at 18:30.
const char kJobFile[] =
    "type = fax\naccount = tester\\FAXTEST\ndelay = 18:30\n"
    "[recipient]\nnumber = 0-800-FLOWERS\n"
    "[recipient]\nnumber = 012\nspeeddial = yes\n"
    "[recipient]\nnumber = 0789\nmode = f4800\noption = mailbox\nmailbox = 17\nmailboxpassword = 9999\n"
    "[recipient]\nnumber = 0123\n"
    "[recipient]\nnumber = 0456\nmode = g4\noption = relay\nrelaystation = 12\nrelayprint = yes\n"
    "relaydests = 007 0#7\nmailbox = 200\nmailboxpassword = 1234\nfcode = 55\nfcodepassword = *#\n";

TEST_F(CupsQueue, FaxJobReachesThePrinterWithTheHeaderFaxhostWrites) {
    dir_->Put("job.txt", kJobFile);
    CommandRun header = RunCommand("FAX_FIXED_TIME=10:20:30 " FAXHOST_PATH " header " + dir_->Path("job.txt"));
    ASSERT_EQ(header.status, 0) << header.err;

    int plain = Print({"fax-resolution=superfine"});  // a fax option alone makes no fax
    ASSERT_EQ(AwaitJob(plain).first, IPP_JSTATE_COMPLETED);
    int fax = Print({"fax-recipients=\"Matti <0-800-flowers>; Kalle <'12'>\"", "fax-entries=\"Pekka; [Myynti]\"",
                     "fax-delay=18:30"});
    std::pair<int, std::string> ended = AwaitJob(fax);
    ASSERT_EQ(ended.first, IPP_JSTATE_COMPLETED) << ended.second << dir_->Get("log/error_log");

    std::vector<std::string> jobs = printer_->jobs();
    ASSERT_EQ(jobs.size(), 2u);
    const std::string& through = jobs[0];
    size_t enter = through.find(kEnterPclXl);
    ASSERT_NE(enter, std::string::npos);
    EXPECT_EQ(through.compare(0, sizeof kUel - 1, kUel), 0);
    EXPECT_EQ(through.find("TELARN"), std::string::npos);
    // The PCL XL stream header: binding, "HP-PCL XL", class and revision.
    std::string stream = through.substr(enter + sizeof kEnterPclXl - 1, 40);
    EXPECT_EQ(stream.compare(0, 12, ") HP-PCL XL;"), 0) << stream;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(stream[12])) && stream[13] == ';') << stream;
    EXPECT_GT(through.size() - enter, 2000u);
    EXPECT_EQ(through.substr(through.size() - (sizeof kUel - 1)), kUel);
    // The fax job is the same stream with faxhost's header before the
    // language is entered.
    EXPECT_EQ(jobs[1], through.substr(0, enter) + header.out + through.substr(enter));
}

struct BadJob {
    std::vector<std::string> options;
    const char* message;
};

TEST_F(CupsQueue, BadOptionsStopTheJobBeforeThePrinter) {
    dir_->Put("damaged.KFD", dir_->Get("book.KFD").substr(0, 120));
    fs::permissions(dir_->Path("damaged.KFD"), fs::perms(0644));
    std::string fifty = "fax-recipients=\"";
    for (int i = 0; i < 51; ++i) fifty += "R <" + std::to_string(100 + i) + ">;";
    const BadJob rows[] = {
        {{"fax-entries=Nobody"}, "the phonebook has no entry \"Nobody\""},
        {{"fax-recipients=\"A <12 34>\""}, "is not of the form Name <number>"},
        {{"fax-recipients=\"A <'201'>\""}, "out of range 1-200"},
        {{"fax-recipients=\"A <1>\"", "fax-delay=24:00"}, "fax-delay=24:00"},
        {{fifty + "\""}, "at most 50 recipients, 51 given"},
        {{"fax-entries=Pekka", "fax-phonebook=" + dir_->Path("damaged.KFD")}, "damaged"},
        {{"fax-recipients=\"A <1\r\n@PJL SET HOLD=STORE>\""}, "fax-recipients: recipient \"A <1"},
    };
    size_t before = printer_->jobs().size();
    for (const BadJob& row : rows) {
        std::pair<int, std::string> ended = AwaitJob(Print(row.options));
        EXPECT_GE(ended.first, IPP_JSTATE_STOPPED) << row.message;
        EXPECT_NE(ended.first, IPP_JSTATE_COMPLETED) << row.message;
        EXPECT_NE(ended.second.find(row.message), std::string::npos) << row.message << ": " << ended.second;
    }
    EXPECT_EQ(printer_->jobs().size(), before);
}

}  // namespace
