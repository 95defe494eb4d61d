// Times the personal-information commands on large files. Usage: largefile [KiB ...] (default 1024 4096
// 16384). For each size, a copy of quennel.exe starts beside a GB2312 file of that size (Chinese and
// Latin lines) and this program prints rows of the figures table, in milliseconds from the menu choice: the
// copy command until the clipboard changes, the editor until it is shown and answering, and the copy command
// again after the editor was used. The file's last byte changes before each command, so that each loads a new
// text.
// "(error box)" means the program showed its error box instead (the time is then until the box showed).
#include "bench/BenchSupport.h"

#include <cstdio>

namespace {

using namespace bench;

constexpr int kCopyItem = 3, kEditItem = 0;

// GB2312 lines of Chinese and Latin text, CR LF ended, to the size.
std::string PersonalText(size_t bytes) {
    std::string text;
    for (int i = 0; text.size() < bytes; ++i) {
        std::wstring line =
            L"姓名: 张三 电子邮件: someone@example.org 电话号码: " + std::to_wstring(i) + L"\r\n";
        int n = WideCharToMultiByte(936, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string b(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(936, 0, line.c_str(), -1, b.data(), n, nullptr, nullptr);
        text.append(b.c_str());
    }
    text.resize(bytes);
    return text;
}

// Closes the program's error box, if one is up, and waits for it to go.
bool DismissErrorBox(const TrayProgram& q) {
    HWND box = FindWindowOf(q.pi.dwProcessId, L"#32770", L"Quennel");
    if (!box) return false;
    PostMessageW(box, WM_CLOSE, 0, 0);
    SpinUntil([&] { return !IsWindow(box); });
    return true;
}

bool Answers(HWND w, UINT ms) {
    DWORD_PTR ignored;
    return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored) != 0;
}

// Gives the file another last byte: the next load reads a text the text box does not hold yet.
void Touch(const std::wstring& upf) {
    static char mark = 'a';
    std::fstream f(std::filesystem::path(upf), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(-1, std::ios::end);
    mark = mark == 'z' ? 'a' : static_cast<char>(mark + 1);
    f.put(mark);
}

struct Result {
    double ms;
    bool error;
};

// Milliseconds from the copy command's choice to the clipboard changing or the error box.
Result TimeCopy(const TrayProgram& q) {
    DWORD seq = GetClipboardSequenceNumber();
    double t0 = NowMs();
    q.Choose(kCopyItem);
    bool copied = SpinUntil(
        [&] {
            return GetClipboardSequenceNumber() != seq ||
                   FindWindowOf(q.pi.dwProcessId, L"#32770", L"Quennel");
        },
        600000);
    double ms = NowMs() - t0;
    if (DismissErrorBox(q)) return {ms, true};
    return {ms, !copied};
}

// Milliseconds from the edit command's choice to the editor shown and answering (it is then closed), or
// to the error box.
Result TimeEditor(const TrayProgram& q) {
    double t0 = NowMs();
    q.Choose(kEditItem, WM_RBUTTONUP);
    HWND editor = nullptr;
    SpinUntil(
        [&] {
            return (editor = FindWindowOf(q.pi.dwProcessId, nullptr, L"修改个人信息")) ||
                   FindWindowOf(q.pi.dwProcessId, L"#32770", L"Quennel");
        },
        600000);
    bool shown = editor && Answers(editor, 600000);
    double ms = NowMs() - t0;
    bool box = DismissErrorBox(q);
    if (editor) {
        PostMessageW(editor, WM_CLOSE, 0, 0); // Cancel
        SpinUntil([&] { return !IsWindowVisible(editor); }, 600000);
    }
    return {ms, box || !shown};
}

// A row of the figures table: the command's time, to be under 2 s whether it works or refuses the file.
void Print(const std::string& what, int kib, Result r) {
    Row("personal information: " + what + ", " + std::to_string(kib) + " KiB file, ms" +
            (r.error ? " (error box)" : ""),
        r.ms, -1, Goal::Below, 2000);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(atoi(argv[i]));
    if (sizes.empty()) sizes = {1024, 4096, 16384};
    for (int kib : sizes) {
        std::wstring folder = RunFolder(L"largefile-" + std::to_wstring(kib));
        std::wstring exe = Install(Beside(L"quennel.exe"), folder);
        {
            std::ofstream upf(std::filesystem::path(folder + L"\\quennel.UPF"), std::ios::binary);
            std::string text = PersonalText(static_cast<size_t>(kib) * 1024);
            upf.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
        TrayProgram q;
        q.pi = Launch(exe, folder);
        HWND card = nullptr;
        SpinUntil([&] { return (card = FindWindowOf(q.pi.dwProcessId, L"QuennelWindow", L"Quennel")); });
        q.tray = FindWindowOf(q.pi.dwProcessId, L"QuennelUtilWindow", L"TTrayIcon", false);
        HWND ok = card ? Descendant(card, L"确定", true) : nullptr;
        if (!card || !q.tray || !ok) {
            fprintf(stderr, "quennel did not start as expected\n");
            Close(q.pi);
            return 1;
        }
        PostKey(ok, VK_SPACE);
        SpinUntil([&] { return !IsWindowVisible(card); });
        Sleep(500);
        std::wstring upf = folder + L"\\quennel.UPF";
        Touch(upf);
        Print("copy", kib, TimeCopy(q));
        Touch(upf);
        Print("editor", kib, TimeEditor(q));
        Touch(upf);
        Print("copy after the editor", kib, TimeCopy(q));
        fflush(stdout);
        Close(q.pi);
    }
    return 0;
}
