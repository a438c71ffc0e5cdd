#include "Emulated32Bit.h"
#include "WineFixture.h"

#include "app/Gbk.h"
#include "bridge/ModemPool.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <fstream>
#include <sstream>

using namespace pb;
using namespace pb::test;

namespace {

std::string row(const std::string& port, const std::string& number, int kind = 2) {
    // Kinds 2 and 4: port in column 0 and number in column 3; kind 3 one further right.
    return kind == 3 ? "1\t" + port + "\t在线\t移动\t" + number : port + "\t在线\t移动\t" + number + "\t-60";
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Whether this machine starts 32-bit programs at all (some kernels lack the support).
bool canRun32BitPrograms() {
    const char* loader = "/usr/lib/wine/wine";
    if (!fs::exists(loader)) return false;
    char* argv[] = {const_cast<char*>(loader), const_cast<char*>("--version"), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, loader, nullptr, nullptr, argv, environ) != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(WineHostWithoutWine, AnswersNothingFoundAtOnce) {
    WineModemPoolHost host({.wine = "/nonexistent/wine64", .helper = "/nonexistent/helper.exe"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.findProcessByName("CoolCard.exe"), -1);
    EXPECT_EQ(detectModemPool(host).kind, 0);
    EXPECT_EQ(host.itemCount(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

class WineHost : public WineFixture {};

TEST_F(WineHost, EachDoubleIsFoundAsItsKindWithItsClass) {
    struct Case {
        const char* name;
        int kind;
        const char* listClass;
    } cases[] = {
        {"叮叮摩卡", 1, "ListView20WndClass"},
        {"CoolCard", 2, "WindowsForms10.SysListView32.app.0.33c0d9d"},
        {"新酷卡", 3, "SysListView32"},
        {"PowerMMS", 4, "SysListView32"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WineModemPoolHost host;
        DoubleProgram program(doubleExe(c.name), work, {row("COM3", "13800138000", c.kind)});
        ASSERT_TRUE(waitForProgram(host, std::string(c.name) + ".exe"));
        DetectedProgram found = detectModemPool(host);
        EXPECT_EQ(found.kind, c.kind);
        EXPECT_EQ(found.listClass, c.listClass);
        const std::string dir = programDirectory(found.executablePath, std::string(c.name) + ".exe");
        EXPECT_EQ(dir, windowsPathOf(doublesDir() / c.name) + "\\");
        EXPECT_EQ(fs::canonical(host.localPathOf(dir)), fs::canonical(doublesDir() / c.name));
    }
}

TEST_F(WineHost, NamesAndClassesMustMatchExactly) {
    {
        WineModemPoolHost host;
        DoubleProgram lower(doubleExe("powermms"), work, {row("COM3", "13800138000")},
                            "SysListView32");
        ASSERT_TRUE(waitForProgram(host, "powermms.exe"));
        EXPECT_EQ(host.findProcessByName("PowerMMS.exe"), -1);
        EXPECT_EQ(detectModemPool(host).kind, 0);
    }
    {
        WineModemPoolHost host;
        DoubleProgram cool(doubleExe("CoolCard"), work, {row("COM3", "13800138000")}, "SysListView32");
        ASSERT_TRUE(waitForProgram(host, "CoolCard.exe"));
        EXPECT_EQ(detectModemPool(host).kind, 0); // SysListView32 is not one of 酷卡's classes
        // attach refuses a window of another class and keeps what it had
        const long pid = host.findProcessByName("CoolCard.exe");
        for (WindowId w : host.listDescendantWindows(host.findVisibleWindowOfProcess(pid))) {
            if (host.windowClassName(w) == "SysListView32") {
                EXPECT_FALSE(host.attach(w, "ListView20WndClass"));
            }
        }
    }
}

TEST_F(WineHost, ListViewCellsReadAsTheProgramShowsThem) {
    std::vector<std::string> rows;
    for (int i = 0; i < 300; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "138%08d", i);
        rows.push_back(row("COM" + std::to_string(i + 1), number));
    }
    rows[0] = "COM1\t" + std::string(300, 'x') + "\t中国联通\t13800000000\t-60";
    WineModemPoolHost host;
    DoubleProgram program(doubleExe("CoolCard"), work, rows);
    ASSERT_TRUE(waitForProgram(host, "CoolCard.exe"));
    ASSERT_EQ(detectModemPool(host).kind, kCoolCard);
    ASSERT_TRUE(eventually([&] { return host.itemCount() == 300; }));
    EXPECT_FALSE(host.attachedTo32Bit());

    const std::vector<std::string> cells = host.readCells(300, {0, 3});
    ASSERT_EQ(cells.size(), 600u);
    EXPECT_EQ(cells[2 * 299], "COM300");
    EXPECT_EQ(cells[2 * 299 + 1], "13800000299");
    for (int r : {0, 1, 150, 299}) {
        EXPECT_EQ(host.itemText(r, 0), cells[2 * r]);
        EXPECT_EQ(host.itemText(r, 3), cells[2 * r + 1]);
    }
    EXPECT_EQ(host.itemText(0, 1), std::string(259, 'x'));
    EXPECT_EQ(host.itemText(0, 2), encodeGbk("中国联通"));
    EXPECT_EQ(decodeGbk(host.itemText(0, 2)), "中国联通");
    EXPECT_EQ(host.itemText(300, 0), "");
    EXPECT_EQ(host.itemText(0, 9), "");

    // Rows change while the program runs.
    program.setRows({row("COM7", "13900000007")});
    ASSERT_TRUE(eventually([&] { return host.itemCount() == 1; }));
    EXPECT_EQ(host.readCells(1, {0, 3}), (std::vector<std::string>{"COM7", "13900000007"}));

    // After the program has gone nothing is read, and nothing hangs.
    program.quit();
    EXPECT_EQ(host.itemCount(), 0);
    EXPECT_EQ(host.itemText(0, 0), "");
    EXPECT_EQ(host.readCells(2, {0, 3}), std::vector<std::string>(4));
}

TEST_F(WineHost, ADeadHelperIsStartedAgainWithItsAttachment) {
    WineModemPoolHost host;
    DoubleProgram program(doubleExe("PowerMMS"), work,
                          {row("COM3", "13800138000"), row("COM4", "13000000001")});
    ASSERT_TRUE(waitForProgram(host, "PowerMMS.exe"));
    ASSERT_EQ(detectModemPool(host).kind, kPowerMms);
    ASSERT_TRUE(eventually([&] { return host.itemCount() == 2; }));
    EXPECT_EQ(host.helperStarts(), 1);
    // End every helper of this test process's Wine session.
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream cmdline(entry.path() / "cmdline");
        std::string text((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
        if (text.find("poolbridge-wine-helper.exe") != std::string::npos &&
            text.find("ctest") == std::string::npos)
            kill(std::stoi(entry.path().filename().string()), SIGKILL);
    }
    EXPECT_EQ(host.itemText(1, 3), "13000000001");
    EXPECT_EQ(host.helperStarts(), 2);
}

TEST_F(WineHost, ThirtyTwoBitProgramIsReadWithItsOwnRecordLayout) {
    const fs::path exe = doublesDir() / "x86" / "CoolCard.exe";
    if (!fs::exists(exe)) GTEST_SKIP() << "no 32-bit double (i686 mingw-w64 missing)";
    if (!canRun32BitPrograms())
        GTEST_SKIP() << "this machine cannot start 32-bit programs (no 32-bit Wine or kernel support)";
    const std::string longCell(300, '7');
    DoubleProgram program(exe, work,
                          {row("COM5", "13700000005"), row("COM6", "号码六"), row("COM7", longCell)});
    {
        // Where the kernel has no 32-bit support, qemu-user runs the 32-bit
        // loader and Wine's start-up alone takes a minute or more.
        WineModemPoolHost probe;
        if (!waitForProgram(probe, "CoolCard.exe", 240000))
            GTEST_SKIP() << "this machine cannot run 32-bit Windows programs under Wine";
    }
    std::ostringstream base;
    base << std::hex << emulatedMemoryBase(exe);
    ScopedEnv emulated("POOLBRIDGE_EMULATED_32BIT_BASE", base.str());
    WineModemPoolHost host;
    ASSERT_EQ(detectModemPool(host).kind, kCoolCard);
    EXPECT_TRUE(host.attachedTo32Bit());
    ASSERT_TRUE(eventually([&] { return host.itemCount() == 3; }));
    EXPECT_EQ(host.itemText(0, 3), "13700000005");
    EXPECT_EQ(host.itemText(3, 3), "");
    EXPECT_EQ(host.readCells(3, {0, 3}),
              (std::vector<std::string>{"COM5", "13700000005", "COM6", encodeGbk("号码六"), "COM7",
                                        longCell.substr(0, 259)}));
}

TEST_F(WineHost, DoublesWriteTheirFilesAndPushTheirMessages) {
    {
        WineModemPoolHost host;
        DoubleProgram ding(doubleExe("叮叮摩卡"), work,
                           {row("COM3", "13800138000"), row("COM4", "13000000001")});
        ASSERT_TRUE(waitForProgram(host, "叮叮摩卡.exe"));
        const fs::path dir = doublesDir() / "叮叮摩卡";
        ASSERT_TRUE(eventually([&] {
            return readAll(dir / "当前端口本机号文件.txt") ==
                   "COM3 13800138000\r\nCOM4 13000000001\r\n";
        }));
        fs::remove_all(dir / "接收记录");
        ding.command("sms\tCOM3\t13800138000\t您的验证码是1234，请勿泄露");
        ASSERT_TRUE(eventually([&] { return fs::exists(dir / "接收记录" / "COM3接收.txt"); }));
        ASSERT_TRUE(eventually([&] {
            const std::string line = decodeGbk(readAll(dir / "接收记录" / "COM3接收.txt"));
            return line.find(",COM3,13800138000,") != std::string::npos &&
                   line.find("您的验证码是1234，请勿泄露\r\n") != std::string::npos;
        }));
    }
    {
        WineModemPoolHost host;
        DoubleProgram fresh(doubleExe("新酷卡"), work, {row("COM3", "13800138000", 3)});
        ASSERT_TRUE(waitForProgram(host, "新酷卡.exe"));
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(16908);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_TRUE(eventually([&] {
            return connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        }));
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let it accept
        fresh.command("sms\tCOM3\t13800138000\t验证码5678");
        std::string got;
        ASSERT_TRUE(eventually([&] {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) > 0) {
                char buf[512];
                ssize_t n = recv(fd, buf, sizeof buf, 0);
                if (n > 0) got.append(buf, static_cast<size_t>(n));
            }
            return got.find(encodeGbk("验证码5678")) != std::string::npos;
        }));
        close(fd);
        const std::string text = decodeGbk(got);
        EXPECT_EQ(text.rfind("+NEW_SMS:COM3┇13800138000┇", 0), 0u) << text;
        EXPECT_NE(got.find("\xA9\xAB"), std::string::npos); // "┇" in GBK
    }
}
