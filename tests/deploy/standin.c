/* Stands in for Vantrel.exe in the deployment recipes' tests: a window
 * program, like Vantrel.exe, that appends its command line to the file
 * STANDIN_CALLS and ends with the code STANDIN_<SWITCH> names
 * (STANDIN_CHECK=3 makes "/check FILE" end with 3), or 99 when none does. */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    (void)instance, (void)previous, (void)show;
    char calls[MAX_PATH], name[32] = "STANDIN_", code[16];
    if (GetEnvironmentVariableA("STANDIN_CALLS", calls, sizeof calls)) {
        FILE* f = fopen(calls, "a");
        if (f) fprintf(f, "%s\n", arguments), fclose(f);
    }
    for (int i = 1; i < 20 && isalpha((unsigned char)arguments[i]); ++i) name[7 + i] = toupper(arguments[i]);
    return GetEnvironmentVariableA(name, code, sizeof code) ? atoi(code) : 99;
}
