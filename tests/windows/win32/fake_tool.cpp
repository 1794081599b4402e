// Stands in for the system-information tool: notes how it was started in
// "<its own path>.ran" and ends. The note is written under another name first
// and then renamed, so whoever waits for it never reads half of it.

#include <windows.h>

#include <fstream>
#include <string>

int main()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string note = std::string(self) + ".ran";

    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    {
        std::ofstream out(note + ".tmp", std::ios::binary);
        out << GetCommandLineA() << '\n' << show;
    }
    return MoveFileA((note + ".tmp").c_str(), note.c_str()) ? 0 : 1;
}
