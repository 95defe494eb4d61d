/* A program that ends in its first line: what it loads from its folder is what the system (or Wine) loads
   for any program with its imports before the program's own code runs. Built twice: with the C runtime
   alone, and with the common controls too (as the installer's stub has them, with the same manifest). */
#include <windows.h>
#ifdef BARE_COMCTL
#include <commctrl.h>
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    (void)instance;
    (void)previous;
    (void)commandLine;
#ifdef BARE_COMCTL
    if (show == -1) InitCommonControls(); /* never called: the import is what counts */
#endif
    (void)show;
    return 0;
}
