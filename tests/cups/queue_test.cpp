// Faxing through a real CUPS: a private cupsd on a loopback port, a queue
// added by scripts/cups-queue.sh, Ghostscript, a listener as the printer.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <mutex>
#include <regex>
#include <thread>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include "command_run.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

const char kUel[] = "\x1b%-12345X";
const char kEnterPclXl[] = "@PJL ENTER LANGUAGE = PCLXL\n";

// A listening socket on a free loopback port.
int Listen(int* port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 4) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        throw std::runtime_error("no loopback port");
    *port = ntohs(a.sin_port);
    return fd;
}

// The printer: a loopback port that keeps every connection's bytes.
struct Listener {
    int port = 0;
    int fd = Listen(&port);
    std::mutex lock;
    std::vector<std::string> received;
    std::thread thread{[this] {
        for (int c; (c = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; close(c)) {
            std::string bytes;
            char buf[65536];
            for (ssize_t n; (n = read(c, buf, sizeof buf)) > 0;) bytes.append(buf, static_cast<size_t>(n));
            std::lock_guard<std::mutex> g(lock);
            received.push_back(bytes);
        }
    }};
    std::vector<std::string> jobs() {
        std::lock_guard<std::mutex> g(lock);
        return received;
    }
    ~Listener() {
        shutdown(fd, SHUT_RDWR);  // ends the accept above
        thread.join();
        close(fd);
    }
};

std::string Quote(std::string s) {
    for (size_t i = 0; (i = s.find('\'', i)) != std::string::npos; i += 4) s.replace(i, 1, "'\\''");
    return "'" + s + "'";
}

class CupsQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* tool : {"/usr/sbin/cupsd", "/usr/bin/gs", "/usr/bin/lp", "/usr/sbin/lpadmin",
                                 "/usr/lib/cups/filter/gstopxl", "/usr/lib/cups/backend/socket"})
            if (missing_.empty() && !fs::exists(tool)) missing_ = std::string(tool) + " is not installed (cups, ghostscript)";
        if (!missing_.empty()) return;
        dir_ = new ScratchDir("fax-cups");
        // The filter user (lp when cupsd runs as root) reads the phonebook
        // and runs the filter from here.
        fs::permissions(dir_->dir(), fs::perms(0755));
        printer_ = new Listener;
        close(Listen(&port_));
        WriteConfiguration();
        StartServer();
        fs::copy_file(std::string(FAX_TEST_DATA) + "/v2000.KFD", dir_->Path("book.KFD"));
        fs::permissions(dir_->Path("book.KFD"), fs::perms(0644));
        CommandRun added = RunCommand(Environment() + " " QUEUE_SCRIPT " socket://127.0.0.1:" +
                                      std::to_string(printer_->port) + "/?snmp=false faxq " + dir_->Path("book.KFD"));
        ASSERT_EQ(added.status, 0) << added.out << added.err;
        CommandRun pdf = RunCommand("printf '%%!PS\\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Page one) "
                                    "show showpage 72 700 moveto (Page two) show showpage\\n' | gs -q -dNOPAUSE "
                                    "-dBATCH -sDEVICE=pdfwrite -sOutputFile=" + dir_->Path("doc.pdf") + " -");
        ASSERT_EQ(pdf.status, 0) << pdf.err;
        ready_ = true;
    }
    static void TearDownTestSuite() {
        if (server_ > 0 && kill(server_, SIGTERM) == 0) waitpid(server_, nullptr, 0);
        delete printer_;
        delete dir_;
    }
    void SetUp() override {
        if (!missing_.empty()) GTEST_SKIP() << missing_;
        ASSERT_TRUE(ready_) << "the private cupsd and its queue could not be set up";
    }

    // cupsd running as root runs only filters that root owns and others
    // cannot change: the server folder is a private copy of the system's,
    // made of links, with a filter folder of this process's own (root's in
    // CI) for the queue script to install into.
    static void WriteConfiguration() {
        for (const char* d : {"etc", "spool", "cache", "state", "log", "bin/filter", "ppd", "data", "tmp"})
            fs::create_directories(dir_->Path(d));
        fs::permissions(dir_->Path("tmp"), fs::perms(01777));
        for (const auto& e : fs::directory_iterator("/usr/lib/cups"))
            if (e.path().filename() != "filter") fs::create_symlink(e.path(), dir_->Path("bin") / e.path().filename());
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
        for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
            if (http_t* h = httpConnect2("127.0.0.1", port_, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 200, nullptr))
                return httpClose(h);
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
        std::string uri = "ipp://127.0.0.1:" + std::to_string(port_) + "/jobs/" + std::to_string(id);
        std::pair<int, std::string> result{0, ""};
        for (int i = 0; http && i < 300 && result.first < IPP_JSTATE_STOPPED; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(i ? 100 : 0));
            ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, "tester");
            ipp_t* response = cupsDoRequest(http, request, "/");
            ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
            ipp_attribute_t* message = ippFindAttribute(response, "job-printer-state-message", IPP_TAG_TEXT);
            result = {state ? ippGetInteger(state, 0) : 0, message ? ippGetString(message, 0, nullptr) : ""};
            ippDelete(response);
        }
        httpClose(http);
        return result;
    }

    inline static std::string missing_;
    inline static bool ready_ = false;
    inline static ScratchDir* dir_ = nullptr;
    inline static Listener* printer_ = nullptr;
    inline static int port_ = 0;
    inline static pid_t server_ = -1;
};

TEST_F(CupsQueue, FaxJobReachesThePrinterWithTheHeaderFaxhostWrites) {
    // cups_fax_job.txt: the same job for faxhost.
    CommandRun header = RunCommand("FAX_FIXED_TIME=10:20:30 " FAXHOST_PATH " header " FAX_TEST_DATA "/cups_fax_job.txt");
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
    EXPECT_TRUE(std::regex_search(stream, std::regex("^\\) HP-PCL XL;[0-9];[0-9]"))) << stream;
    EXPECT_GT(through.size() - enter, 2000u);
    EXPECT_EQ(through.substr(through.size() - (sizeof kUel - 1)), kUel);
    // The fax job is the same stream with faxhost's header before the
    // language is entered.
    EXPECT_EQ(jobs[1], through.substr(0, enter) + header.out + through.substr(enter));
}

TEST_F(CupsQueue, BadOptionsStopTheJobBeforeThePrinter) {
    std::string fiftyOne = "fax-recipients=\"";
    for (int i = 0; i < 51; ++i) fiftyOne += "R <" + std::to_string(100 + i) + ">;";
    const struct {
        std::vector<std::string> options;
        const char* message;
    } rows[] = {
        {{"fax-entries=Nobody"}, "the phonebook has no entry \"Nobody\""},
        {{fiftyOne + "\""}, "at most 50 recipients, 51 given"},
        {{"fax-recipients=\"A <1\r\n@PJL SET HOLD=STORE>\""}, "fax-recipients: recipient \"A <1"},
    };
    size_t before = printer_->jobs().size();
    for (const auto& row : rows) {
        std::pair<int, std::string> ended = AwaitJob(Print(row.options));
        EXPECT_TRUE(ended.first == IPP_JSTATE_STOPPED || ended.first == IPP_JSTATE_ABORTED) << row.message;
        EXPECT_NE(ended.second.find(row.message), std::string::npos) << row.message << ": " << ended.second;
    }
    EXPECT_EQ(printer_->jobs().size(), before);
}

}  // namespace
