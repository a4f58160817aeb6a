// File replacement on Windows: a temporary file moved over the target with
// MoveFileExW, which replaces the directory entry in one step.
#include <windows.h>

#include <new>
#include <string>

#include "profile/file_replace.h"
#include "profile/win32_text.h"

namespace launcher {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool Close() {
        const bool closed = handle_ == INVALID_HANDLE_VALUE || CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : DWORD(bytes.size());
        DWORD put = 0;
        if (WriteFile(file, bytes.data(), chunk, &put, nullptr) == FALSE) {
            return false;
        }
        bytes.remove_prefix(put);
    }
    return true;
}

// A name for the temporary file next to the target: "." + name + a suffix
// unique to this process and attempt.
std::wstring TemporaryName(const std::wstring& target, int attempt) {
    const std::size_t slash = target.find_last_of(L"\\/:");
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    return target.substr(0, nameStart) + L"." + target.substr(nameStart) + L".tmp" +
           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) +
           L"-" + std::to_wstring(attempt);
}

// Why what stands at `target` now may not be replaced; ERROR_SUCCESS when
// it may.
DWORD Refusal(const std::wstring& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A symbolic link or a junction: MoveFileExW would replace the link
        // itself, but a file of a downloaded folder is left as it came.
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return DWORD(ReplaceResult::kRefusedLink);
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return ERROR_ACCESS_DENIED;
        }
        // MoveFileExW would refuse it too, but only after the temporary file
        // was written.
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return ERROR_ACCESS_DENIED;
        }
    }
    return ERROR_SUCCESS;
}

DWORD Replace(std::string_view path, std::string_view bytes) {
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return ERROR_INVALID_NAME;
    }
    const std::wstring target = win32::Utf8ToWide(path);
    if (const DWORD refusal = Refusal(target); refusal != ERROR_SUCCESS) {
        return refusal;
    }

    std::wstring temporary;
    HANDLE raw = INVALID_HANDLE_VALUE;
    for (int attempt = 0; raw == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(target, attempt);
        raw = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE && (GetLastError() != ERROR_FILE_EXISTS || attempt == 8)) {
            return GetLastError();  // e.g. a missing folder: create nothing
        }
    }
    FileHandle file(raw);
    const auto discard = [&file, &temporary] {
        const DWORD error = GetLastError();
        file.Close();
        DeleteFileW(temporary.c_str());
        return error != ERROR_SUCCESS ? error : DWORD(ERROR_WRITE_FAULT);
    };
    if (!WriteAll(file.get(), bytes) || FlushFileBuffers(file.get()) == FALSE || !file.Close()) {
        return discard();
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
        return discard();
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::string ReplaceResult::Reason() const {
    if (code == kRefusedLink) {
        return "it is a symbolic link, which the launcher never writes through";
    }
    return win32::SystemErrorText(static_cast<DWORD>(code));
}

ReplaceResult CheckReplaceable(std::string_view path) noexcept {
    try {
        if (path.empty() || path.find('\0') != std::string_view::npos) {
            return {ERROR_INVALID_NAME};
        }
        const std::wstring target = win32::Utf8ToWide(path);
        if (const DWORD refusal = Refusal(target); refusal != ERROR_SUCCESS) {
            return {static_cast<int>(refusal)};
        }
        // The new file is made in the folder, so the folder must be there.
        const std::size_t slash = target.find_last_of(L"\\/");
        const std::wstring folder =
            slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return {static_cast<int>(GetLastError())};
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return {ERROR_PATH_NOT_FOUND};
        }
        return {};
    } catch (const std::bad_alloc&) {
        return {ERROR_NOT_ENOUGH_MEMORY};  // the only throw of the path conversions
    }
}

ReplaceResult ReplaceFileContents(std::string_view path, std::string_view bytes) noexcept {
    try {
        return {static_cast<int>(Replace(path, bytes))};
    } catch (const std::bad_alloc&) {
        return {ERROR_NOT_ENOUGH_MEMORY};  // the only throw of the path conversions
    }
}

}  // namespace launcher
