#include "InputFile.h"

#include "tests/common/Utf8.h"

namespace standin {
namespace {

constexpr DWORD kReadSize = 1 << 20;

}  // namespace

InputFile::InputFile(const std::string& utf8Path) : buffer_(kReadSize) {
    const std::wstring path = testtext::fromUtf8(utf8Path);
    if (path.empty()) {
        return;
    }
    file_ = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

InputFile::~InputFile() {
    if (pending_) {
        CancelIoEx(file_, &request_);
        DWORD ignored = 0;
        GetOverlappedResult(file_, &request_, &ignored, TRUE);
    }
    if (isOpen()) {
        CloseHandle(file_);
    }
    if (done_ != nullptr) {
        CloseHandle(done_);
    }
}

InputFile::Read InputFile::read(DWORD waitMs) {
    if (!isOpen() || done_ == nullptr) {
        return Read::End;
    }
    if (!pending_) {
        request_ = OVERLAPPED{};
        request_.Offset = static_cast<DWORD>(offset_);
        request_.OffsetHigh = static_cast<DWORD>(offset_ >> 32);
        request_.hEvent = done_;
        ResetEvent(done_);
        if (!ReadFile(file_, buffer_.data(), kReadSize, nullptr, &request_) &&
            GetLastError() != ERROR_IO_PENDING) {
            return Read::End;
        }
        pending_ = true;
    }
    if (WaitForSingleObject(done_, waitMs) != WAIT_OBJECT_0) {
        return Read::Waiting;
    }
    return finished();
}

InputFile::Read InputFile::finished() {
    pending_ = false;
    DWORD got = 0;
    if (!GetOverlappedResult(file_, &request_, &got, FALSE) || got == 0) {
        return Read::End;
    }
    offset_ += got;
    return Read::Data;
}

}  // namespace standin
