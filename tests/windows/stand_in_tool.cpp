// Stands in for the system-information tool: leaves an empty "<its path>.ran".

#include <windows.h>

int main()
{
    char note[MAX_PATH + 4];
    lstrcpyA(note + GetModuleFileNameA(nullptr, note, MAX_PATH), ".ran");
    CloseHandle(CreateFileA(note, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}
