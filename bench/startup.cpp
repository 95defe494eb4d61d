// Start-up and footprint figures of quennel.exe against the floor program showing the card's texts (and,
// for comparison, the bare floor of one fill), run alternately.
// Usage: startup [runs]; prints rows of the figures table.
#include "bench/BenchSupport.h"

#include <psapi.h>

#include <cstdio>

namespace {

using namespace bench;

struct Sample {
    double startMs, workingSetMb, privateMb;
};

// Starts the program in a folder of its own; the first paint is done when it first waits for input.
Sample Run(const std::wstring& exe, const std::wstring& folder, const std::wstring& arguments = L"") {
    std::wstring copy = Install(exe, folder);
    double t0 = NowMs();
    PROCESS_INFORMATION pi = Launch(copy, folder, arguments);
    if (!pi.hProcess) return {};
    WaitForInputIdle(pi.hProcess, 30000);
    double startMs = NowMs() - t0;
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS_EX mem{};
    mem.cb = sizeof mem;
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
    double privateMb = PrivateMb(copy, mem.PrivateUsage / 1048576.0);
    Close(pi);
    return {startMs, mem.WorkingSetSize / 1048576.0, privateMb};
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    std::vector<double> qs, qw, qp, fs, fw, fp, bs, bw;
    for (int i = 0; i < runs; ++i) { // alternating, so all see the same machine
        Sample q = Run(Beside(L"quennel.exe"), RunFolder(L"q" + std::to_wstring(i)));
        Sample fl = Run(Beside(L"floor.exe"), RunFolder(L"f" + std::to_wstring(i)), L"card");
        Sample bare = Run(Beside(L"floor.exe"), RunFolder(L"b" + std::to_wstring(i)));
        qs.push_back(q.startMs);
        qw.push_back(q.workingSetMb);
        qp.push_back(q.privateMb);
        fs.push_back(fl.startMs);
        fw.push_back(fl.workingSetMb);
        fp.push_back(fl.privateMb);
        bs.push_back(bare.startMs);
        bw.push_back(bare.workingSetMb);
    }
    WIN32_FILE_ATTRIBUTE_DATA size{};
    GetFileAttributesExW(Beside(L"quennel.exe").c_str(), GetFileExInfoStandard, &size);
    const std::string of = " (median of " + std::to_string(runs) + ")";
    Row("start-up to first paint, ms" + of, Median(qs), Median(fs), Goal::Times, 1.15);
    Row("working set 1 s after start, MB" + of, Median(qw), Median(fw), Goal::Above, 2);
    Row("private bytes 1 s after start, MB" + of, Median(qp), Median(fp), Goal::None);
    Row("start-up to first paint against a bare fill, ms" + of, Median(qs), Median(bs), Goal::None);
    Row("working set against a bare fill, MB" + of, Median(qw), Median(bw), Goal::None);
    Row("quennel.exe size, MB", size.nFileSizeLow / 1048576.0, -1, Goal::Below, 1);
    return 0;
}
