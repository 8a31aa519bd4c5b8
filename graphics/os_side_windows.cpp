// What the library asks of Windows: files read whole, and written whole or not at all, under
// names given in UTF-8, and what SDL's own start-up code would have done.
//
// A file is replaced in one step: the bytes go to a new file in the same
// folder, which is flushed to disk and then moved over the old one.
#include "os_side.hpp"

#include <SDL/SDL.h>  // SDL_SetModuleHandle
#include <SDL/SDL_syswm.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>  // _putenv_s
#include <string>
#include <vector>

namespace kavex::os_side {

namespace {

std::wstring wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Each failure keeps the system's own words for it, in UTF-8.
bool failed(std::string& reason, DWORD error = GetLastError()) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = length ? std::wstring(message, length) : L"Windows error " + std::to_wstring(error);
    if (message) LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) text.pop_back();
    reason = utf8(text);
    return false;
}

std::wstring folder_of(const std::wstring& path) {
    const auto slash = path.find_last_of(L"/\\");
    if (slash == std::wstring::npos) return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";  // C:name
    return path.substr(0, slash + 1);
}

// Creates a file of its own in `folder`; its name goes to `name`.
HANDLE create_new_file(const std::wstring& folder, std::wstring& name) {
    static std::atomic<unsigned> serial{0};
    const bool ends_folder = folder.back() == L'/' || folder.back() == L'\\' || folder.back() == L':';
    const std::wstring separator = ends_folder ? L"" : L"\\";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + separator + L".kavex-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(serial++) + L".tmp";
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool write_all(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// Reads to the end; one byte more than `max_size` shows a file too long.
bool read_all(HANDLE file, std::size_t expected, std::size_t max_size, std::vector<std::uint8_t>& bytes) {
    bytes.resize((expected < max_size ? expected : max_size) + 1);
    std::size_t used = 0;
    while (used <= max_size) {
        if (used == bytes.size()) bytes.resize(2 * used < max_size + 1 ? 2 * used : max_size + 1);
        const std::size_t room = bytes.size() - used;
        const DWORD chunk = room > 0x40000000 ? 0x40000000 : static_cast<DWORD>(room);
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + used, chunk, &read, nullptr)) return false;
        if (read == 0) break;
        used += read;
    }
    bytes.resize(used);
    if (used > max_size) SetLastError(ERROR_FILE_TOO_LARGE);
    return used <= max_size;
}

}  // namespace

// SDL's own WinMain hands SDL the program's module before SDL starts; a
// program that keeps its own main (kavex leaves main alone) does it here.
void prepare_process() { SDL_SetModuleHandle(GetModuleHandle(nullptr)); }

// The C runtime's own environment, which SDL.dll reads with getenv.
void set_environment(const char* name, const char* value) { _putenv_s(name, value); }

std::string program_name() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "kavex";
    std::wstring file(path, n);
    file = file.substr(file.find_last_of(L"/\\") + 1);
    if (file.size() > 4 && _wcsicmp(file.c_str() + file.size() - 4, L".exe") == 0) file.resize(file.size() - 4);
    return utf8(file);
}

// SDL's window is an ANSI window: SDL hands it the title in the system's
// code page, and SetWindowTextW would too, so letters outside that page show
// as their nearest ASCII. The wide default procedure stores the text whole.
void show_title(const std::string& title) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || !info.window) return;
    const std::wstring text = wide(title);
    DefWindowProcW(info.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A console shows UTF-8 bytes in its own code page, 852 or 1250 in Central
// Europe, so there the text goes as the console's wide characters; a file or
// a pipe (an editor's output panel) takes the UTF-8 as it is.
void write_error(const std::string& text) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode, written;
    const std::wstring characters = wide(text);
    std::fflush(stderr);
    if (error != INVALID_HANDLE_VALUE && GetConsoleMode(error, &mode) && !characters.empty() &&
        WriteConsoleW(error, characters.data(), static_cast<DWORD>(characters.size()), &written, nullptr))
        return;
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

// Windows runs a Ctrl-C handler on a thread of its own, where writing as
// any other thread does is safe.
void say_at_once(const char* line) { write_error(line); }

// The language of the user's menus and dialogs, as its ISO code for the
// languages the library speaks.
std::string system_language() {
    switch (PRIMARYLANGID(GetUserDefaultUILanguage())) {
        case LANG_HUNGARIAN: return "hu";
        case LANG_CZECH: return "cs";
        case LANG_SLOVAK: return "sk";
        case LANG_POLISH: return "pl";
        case LANG_ENGLISH: return "en";
        default: return "";
    }
}

bool write_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, std::string& reason) {
    const std::wstring target = wide(name);
    if (target.empty()) return failed(reason, name.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failed(reason, ERROR_ACCESS_DENIED);

    std::wstring temporary;
    const HANDLE file = create_new_file(folder_of(target), temporary);
    if (file == INVALID_HANDLE_VALUE) return failed(reason);
    bool ok = write_all(file, bytes, size) && FlushFileBuffers(file);
    if (!ok) failed(reason);
    if (!CloseHandle(file) && ok) ok = failed(reason);
    if (ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = failed(reason);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

bool append_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, bool start_new, std::string& reason) {
    const std::wstring target = wide(name);
    if (target.empty()) return failed(reason, name.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME);
    const HANDLE file = CreateFileW(target.c_str(), start_new ? GENERIC_WRITE : FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    start_new ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failed(reason);
    const bool ok = write_all(file, bytes, size) || failed(reason);
    return (CloseHandle(file) || failed(reason)) && ok;
}

bool read_file(const std::string& name, std::size_t max_size, std::vector<std::uint8_t>& bytes, std::string& reason) {
    bytes.clear();
    const std::wstring path = wide(name);
    if (path.empty()) return failed(reason, name.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failed(reason);
    LARGE_INTEGER size{};
    const bool sized = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size);
    bool ok = true;
    if (sized && static_cast<unsigned long long>(size.QuadPart) > max_size) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        ok = false;
    }
    try {
        ok = ok && read_all(file, sized ? static_cast<std::size_t>(size.QuadPart) : 0, max_size, bytes);
    } catch (...) {
        CloseHandle(file);
        throw;
    }
    if (!ok) failed(reason);
    CloseHandle(file);
    return ok;
}

}  // namespace kavex::os_side
