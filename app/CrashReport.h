// What a fault that nothing handles leaves behind: a report, and a program the system can start again.
#pragma once

// How many crash reports are kept: the newest, the oldest going first.
constexpr int kKeptCrashReports = 5;

// From now on, a fault in any thread that nothing handles writes a minidump (the faulting thread, its
// exception record, the threads and the loaded modules; memory of the process, so possibly the personal
// information, but no file's contents) to %LOCALAPPDATA%\Quennel\CrashDumps\quennel-<date>-<time>.dmp,
// keeping the newest kKeptCrashReports, and then lets the fault go on to the system, which ends the program
// and reports it as it does for any program. The system is also asked to start the program again after
// such an end, with the quiet start-at-sign-in switch, restartSwitch.
void WatchForCrashes(const wchar_t* restartSwitch);
