#pragma once

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "common/WaitUntil.h"
#else
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

// A named pipe in the file system (a FIFO) that the test feeds with zeros at its own pace: a reader takes
// what was fed and then waits for more until the test closes the pipe. So an input that "is still being
// read" lasts exactly as long as the test wants, however fast the library reads, and a feed that returns
// tells that the reader has taken all but the pipe's buffer (64 KiB) of it.
//
// The pipe is opened for reading and writing, so neither its opening nor a reader's waits for the other
// end. Windows itself has no such pipes, but Wine's file system has: under Wine the Unix mkfifo makes it
// and rm removes it again (Wine starts Unix programs too, and refuses to delete such a file itself), and
// Windows code, the player's included, opens it like a file.
class FedPipe {
public:
    using Text = std::filesystem::path::string_type;
    // What the pipe holds before a writer waits for the reader.
    static constexpr size_t kBuffer = 64 * 1024;

    explicit FedPipe(const Text& path) : path_(path) { open(); }
    ~FedPipe() {
        close();
        remove();
    }
    FedPipe(const FedPipe&) = delete;
    FedPipe& operator=(const FedPipe&) = delete;

    bool ready() const { return isOpen(); }
    const Text& path() const { return path_; }

    // Writes that many zero bytes; false when the reader has not made room for them within limitMs.
    bool feed(size_t bytes, unsigned limitMs) {
        static const std::vector<char> zeros(kBuffer);
        const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
        while (bytes > 0 && isOpen()) {
            const size_t written = write(zeros.data(), std::min(bytes, kBuffer), deadline);
            if (written == 0) {
                return false;
            }
            bytes -= written;
        }
        return bytes == 0;
    }

    // The end of the input: the reader comes to it once it has read what is still in the pipe.
    void close() {
#ifdef _WIN32
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
        if (event_ != nullptr) {
            CloseHandle(event_);
            event_ = nullptr;
        }
#else
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
#endif
    }

private:
    using Clock = std::chrono::steady_clock;

    static unsigned msUntil(Clock::time_point deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return left > 0 ? static_cast<unsigned>(left) : 0;
    }

#ifdef _WIN32
    bool isOpen() const {
        return handle_ != INVALID_HANDLE_VALUE;
    }

    void open() {
        if (!runUnix(L"mkfifo")) {
            return;
        }
        // A Unix program gives Wine no process to wait for: the pipe is there once it opens.
        testwait::waitUntil(
            [&] {
                handle_ = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
                return handle_ != INVALID_HANDLE_VALUE;
            },
            std::chrono::seconds(10));
        event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }

    void remove() {
        const auto listed = [&] {
            WIN32_FIND_DATAW found;
            const HANDLE search = FindFirstFileW(path_.c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) {
                return false;
            }
            FindClose(search);
            return true;
        };
        if (listed() && runUnix(L"rm")) {
            testwait::waitUntil([&] { return !listed(); }, std::chrono::seconds(10));
        }
    }

    // Runs /usr/bin/PROGRAM on the pipe's Unix path; true once it started.
    bool runUnix(const wchar_t* program) const {
        using UnixName = char*(CDECL*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        char* name = unixName != nullptr ? unixName(path_.c_str()) : nullptr;
        if (name == nullptr) {
            return false;  // not under Wine
        }
        std::wstring command = std::wstring(program) + L" \"";
        command.append(name, name + strlen(name));
        command += L"\"";
        HeapFree(GetProcessHeap(), 0, name);
        const std::wstring file = std::wstring(L"Z:\\usr\\bin\\") + program;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(file.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            return false;
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return true;
    }

    // Bytes written, 0 when none could be by the deadline.
    size_t write(const char* data, size_t size, Clock::time_point deadline) {
        OVERLAPPED request{};
        request.hEvent = event_;
        ResetEvent(event_);
        DWORD done = 0;
        if (WriteFile(handle_, data, static_cast<DWORD>(size), &done, &request)) {
            return done;
        }
        if (GetLastError() != ERROR_IO_PENDING) {
            return 0;
        }
        if (WaitForSingleObject(event_, msUntil(deadline)) != WAIT_OBJECT_0) {
            CancelIoEx(handle_, &request);
        }
        return GetOverlappedResult(handle_, &request, &done, TRUE) ? done : 0;
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    HANDLE event_ = nullptr;
#else
    bool isOpen() const {
        return fd_ >= 0;
    }

    void open() {
        if (mkfifo(path_.c_str(), 0600) == 0) {
            fd_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK);
        }
    }

    void remove() {
        unlink(path_.c_str());
    }

    size_t write(const char* data, size_t size, Clock::time_point deadline) {
        for (;;) {
            const ssize_t done = ::write(fd_, data, size);
            if (done > 0) {
                return static_cast<size_t>(done);
            }
            pollfd room{fd_, POLLOUT, 0};
            if (errno != EAGAIN || poll(&room, 1, static_cast<int>(msUntil(deadline))) <= 0) {
                return 0;
            }
        }
    }

    int fd_ = -1;
#endif

    Text path_;
};
