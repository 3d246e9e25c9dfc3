// A stand-in for the user's application and the post-print programs in the launch tests. It
// records how it was started to <JH_HELPER_RECORD_DIR>\<its own name>.txt, then waits for input
// in a message loop, so that a start that waits until it is idle waits for real.
//
// It talks to the platform directly: it plays an outside program, not a part of the system.
//
// Environment: JH_HELPER_RECORD_DIR (required), JH_HELPER_EVENT (an event whose state it
// records), JH_HELPER_DELAY_MS (start-up time before the loop), JH_HELPER_LIFETIME_MS (how long
// the loop runs, 5000 when not given).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Variable(const char* name) {
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

DWORD Milliseconds(const char* name, DWORD fallback) {
    std::string text = Variable(name);
    return text.empty() ? fallback : DWORD(std::strtoul(text.c_str(), nullptr, 10));
}

std::string EventState(const std::string& name) {
    if (name.empty()) return "none";
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
    if (!event) return "missing";
    DWORD wait = WaitForSingleObject(event, 0);
    CloseHandle(event);
    return wait == WAIT_OBJECT_0 ? "set" : "reset";
}

std::string ShowState() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) return "none";
    return std::to_string(startup.wShowWindow);
}

std::string ModulePath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
}

// The record appears whole: written beside its place, then moved there.
bool WriteRecord(const std::string& path, const std::string& text) {
    std::string partial = path + ".partial";
    HANDLE file =
        CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size() &&
           MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string folder = Variable("JH_HELPER_RECORD_DIR");
    if (folder.empty()) return 2;
    std::string module = ModulePath();
    std::size_t slash = module.find_last_of('\\');
    std::string name = module.substr(slash == std::string::npos ? 0 : slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);

    char current[MAX_PATH];
    DWORD currentLength = GetCurrentDirectoryA(sizeof current, current);
    std::string eventName = Variable("JH_HELPER_EVENT");

    std::string record;
    record += "module=" + module + "\n";
    record += "command_line=" + std::string(GetCommandLineA()) + "\n";
    record +=
        "folder=" + std::string(current, currentLength < sizeof current ? currentLength : 0) + "\n";
    record += "show=" + ShowState() + "\n";
    record += "event_at_start=" + EventState(eventName) + "\n";

    Sleep(Milliseconds("JH_HELPER_DELAY_MS", 0));
    record += "event_before_loop=" + EventState(eventName) + "\n";
    if (!WriteRecord(folder + "\\" + name + ".txt", record)) return 3;

    // Ends by itself: nothing in the tests closes it.
    SetTimer(nullptr, 0, Milliseconds("JH_HELPER_LIFETIME_MS", 5000), nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        DispatchMessageA(&message);
    }
    return 0;
}
