// A stand-in for the four modem-pool programs: one Win32 source built under
// the four executable names. It shows a visible top-level window with a real
// list view of the kind's class and columns, takes its rows from a control
// file that a test may rewrite at any time, writes the number file (kind 1),
// appends received SMS to the record files (kinds 1, 2 and 4) and pushes
// them over 127.0.0.1:16908 (kind 3).
//
//   <program>.exe [--kind N] [--class NAME] --control ROWS_FILE [--commands FILE]
//
// ROWS_FILE: UTF-8, one row per line, the five cells separated by tabs.
// FILE: UTF-8 lines "sms<TAB>port<TAB>number<TAB>text" or "quit", each done once.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr int kColumns = 5;

int gKind = 2;
std::wstring gClass;
std::wstring gControlFile;
std::wstring gCommandsFile;
std::wstring gDirectory; // the executable's folder, with a trailing backslash
HWND gList = nullptr;
FILETIME gControlStamp{};
ULONGLONG gControlSize = ~0ULL;
size_t gCommandsDone = 0;
SOCKET gListener = INVALID_SOCKET;
std::vector<SOCKET> gClients;

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), out.data(), n);
    return out;
}

std::string toGbk(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(936, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(936, 0, text.data(), (int)text.size(), out.data(), n, nullptr, nullptr);
    return out;
}

std::string readFile(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(f);
    return data;
}

void appendFile(const std::wstring& path, const std::string& bytes, bool truncate = false) {
    HANDLE f = CreateFileW(path.c_str(), truncate ? GENERIC_WRITE : FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           truncate ? CREATE_ALWAYS : OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(f);
}

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(sep, start);
        out.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::string& l : split(text, '\n')) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (!l.empty()) out.push_back(l);
    }
    return out;
}

int portColumn() { return gKind == 3 ? 1 : 0; }
int numberColumn() { return gKind == 3 ? 4 : 3; }

std::wstring cellText(int row, int column) {
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(gList, LVM_GETITEMTEXTW, row, (LPARAM)&item);
    return buffer;
}

void writeNumberFile() {
    std::wstring text;
    int rows = (int)SendMessageW(gList, LVM_GETITEMCOUNT, 0, 0);
    for (int r = 0; r < rows; ++r)
        text += cellText(r, portColumn()) + L" " + cellText(r, numberColumn()) + L"\r\n";
    appendFile(gDirectory + L"当前端口本机号文件.txt", toGbk(text), true);
}

void loadRows() {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(gControlFile.c_str(), GetFileExInfoStandard, &info)) return;
    ULONGLONG size = ((ULONGLONG)info.nFileSizeHigh << 32) | info.nFileSizeLow;
    if (CompareFileTime(&info.ftLastWriteTime, &gControlStamp) == 0 && size == gControlSize) return;
    gControlStamp = info.ftLastWriteTime;
    gControlSize = size;
    std::vector<std::string> rows = lines(readFile(gControlFile));
    SendMessageW(gList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(gList, LVM_DELETEALLITEMS, 0, 0);
    for (int r = 0; r < (int)rows.size(); ++r) {
        std::vector<std::string> cells = split(rows[r], '\t');
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        std::wstring first = widen(cells.empty() ? std::string() : cells[0]);
        item.pszText = first.data();
        SendMessageW(gList, LVM_INSERTITEMW, 0, (LPARAM)&item);
        for (int c = 1; c < kColumns && c < (int)cells.size(); ++c) {
            std::wstring text = widen(cells[c]);
            LVITEMW sub{};
            sub.iSubItem = c;
            sub.pszText = text.data();
            SendMessageW(gList, LVM_SETITEMTEXTW, r, (LPARAM)&sub);
        }
    }
    SendMessageW(gList, WM_SETREDRAW, TRUE, 0);
    if (gKind == 1) writeNumberFile();
}

std::wstring now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    return buffer;
}

void receiveSms(const std::wstring& port, const std::wstring& number, const std::wstring& text) {
    if (gKind == 3) {
        const std::wstring sep = L"┇";
        std::string message = toGbk(L"+NEW_SMS:" + port + sep + number + sep + L"10086" + sep +
                                    now() + sep + text);
        for (SOCKET s : gClients) send(s, message.data(), (int)message.size(), 0);
        return;
    }
    std::wstring digits = port.substr(port.find_first_of(L"0123456789"));
    if (gKind == 1) {
        CreateDirectoryW((gDirectory + L"接收记录").c_str(), nullptr);
        appendFile(gDirectory + L"接收记录\\COM" + digits + L"接收.txt",
                   toGbk(now() + L"," + port + L"," + number + L",10086,1," + text + L"\r\n"));
    } else {
        CreateDirectoryW((gDirectory + L"总保存记录").c_str(), nullptr);
        appendFile(gDirectory + L"总保存记录\\短信接收记录-COM" + digits + L".txt",
                   toGbk(L"10086," + now() + L"," + port + L"," + text + L"\r\n"));
    }
}

void runCommands(HWND window) {
    if (gCommandsFile.empty()) return;
    std::vector<std::string> commands = lines(readFile(gCommandsFile));
    for (; gCommandsDone < commands.size(); ++gCommandsDone) {
        std::vector<std::string> parts = split(commands[gCommandsDone], '\t');
        if (parts[0] == "quit") {
            DestroyWindow(window);
            return;
        }
        if (parts[0] == "sms" && parts.size() >= 4) {
            std::string text = parts[3];
            for (size_t i = 4; i < parts.size(); ++i) text += "\t" + parts[i];
            receiveSms(widen(parts[1]), widen(parts[2]), widen(text));
        }
    }
}

void serveSocket() {
    if (gListener == INVALID_SOCKET) return;
    for (;;) {
        SOCKET client = accept(gListener, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        gClients.push_back(client);
    }
}

void openSocket() {
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return;
    gListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(16908);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    BOOL one = TRUE;
    setsockopt(gListener, SOL_SOCKET, SO_REUSEADDR, (const char*)&one, sizeof one);
    u_long nonBlocking = 1;
    ioctlsocket(gListener, FIONBIO, &nonBlocking);
    if (bind(gListener, (sockaddr*)&addr, sizeof addr) != 0 || listen(gListener, 8) != 0) {
        closesocket(gListener);
        gListener = INVALID_SOCKET;
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_TIMER:
        loadRows();
        runCommands(window);
        serveSocket();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

int kindOfExecutable(const std::wstring& name) {
    if (name == L"叮叮摩卡.exe") return 1;
    if (name == L"CoolCard.exe") return 2;
    if (name == L"新酷卡.exe") return 3;
    if (name == L"PowerMMS.exe") return 4;
    return 2;
}

std::wstring defaultClass(int kind) {
    switch (kind) {
    case 1: return L"ListView20WndClass";
    case 2: return L"WindowsForms10.SysListView32.app.0.33c0d9d";
    default: return L"SysListView32";
    }
}

// The list view under another class name: a superclass of the common control.
bool registerListClass(HINSTANCE instance) {
    if (gClass == WC_LISTVIEWW) return true;
    WNDCLASSEXW base{};
    base.cbSize = sizeof base;
    if (!GetClassInfoExW(nullptr, WC_LISTVIEWW, &base)) return false;
    base.hInstance = instance;
    base.lpszClassName = gClass.c_str();
    return RegisterClassExW(&base) != 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    size_t slash = path.find_last_of(L"\\/");
    gDirectory = path.substr(0, slash + 1);
    gKind = kindOfExecutable(path.substr(slash + 1));
    for (int i = 1; i + 1 < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--kind") gKind = _wtoi(argv[++i]);
        else if (arg == L"--class") gClass = argv[++i];
        else if (arg == L"--control") gControlFile = argv[++i];
        else if (arg == L"--commands") gCommandsFile = argv[++i];
    }
    LocalFree(argv);
    if (gClass.empty()) gClass = defaultClass(gKind);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!registerListClass(instance)) return 2;

    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = windowProc;
    frame.hInstance = instance;
    frame.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    frame.lpszClassName = L"ModemPoolDouble";
    RegisterClassExW(&frame);
    static const wchar_t* kTitles[] = {L"", L"丁丁摩卡", L"酷卡", L"新酷卡", L"洗刷刷"};
    HWND window = CreateWindowExW(0, L"ModemPoolDouble", kTitles[gKind >= 1 && gKind <= 4 ? gKind : 2],
                                  WS_OVERLAPPEDWINDOW, 40, 40, 640, 420, nullptr, nullptr, instance,
                                  nullptr);
    // A panel and a label come first, so the list view is a deeper descendant.
    HWND panel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 620, 380, window,
                                 nullptr, instance, nullptr);
    CreateWindowExW(0, L"STATIC", L"端口列表", WS_CHILD | WS_VISIBLE, 8, 4, 200, 18, panel, nullptr,
                    instance, nullptr);
    gList = CreateWindowExW(0, gClass.c_str(), L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 8, 24, 600,
                            340, panel, nullptr, instance, nullptr);
    static const wchar_t* kHeaders[2][kColumns] = {{L"端口", L"状态", L"运营商", L"号码", L"信号"},
                                                   {L"序号", L"端口", L"状态", L"运营商", L"号码"}};
    for (int c = 0; c < kColumns; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 110;
        column.pszText = const_cast<wchar_t*>(kHeaders[gKind == 3 ? 1 : 0][c]);
        SendMessageW(gList, LVM_INSERTCOLUMNW, c, (LPARAM)&column);
    }
    if (gKind == 3) openSocket();
    ShowWindow(window, show == SW_HIDE ? SW_SHOWNORMAL : show);
    UpdateWindow(window);
    loadRows();
    SetTimer(window, kPollTimer, 100, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (SOCKET s : gClients) closesocket(s);
    if (gListener != INVALID_SOCKET) closesocket(gListener);
    return 0;
}
