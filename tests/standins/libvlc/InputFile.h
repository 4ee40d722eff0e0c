#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The input of one session, read as the real library reads a file with no stream it knows: through to
// its end. A file ends at its size; a pipe (a FIFO, which Wine opens like a file) ends when its writer
// closes it, and until then a read waits for more. Reads are overlapped, so that a session that is ended
// while one waits is not held up by it.
namespace standin {

class InputFile {
public:
    enum class Read { Data, End, Waiting };

    explicit InputFile(const std::string& utf8Path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    bool isPipe() const { return isOpen() && GetFileType(file_) == FILE_TYPE_PIPE; }
    // Reads on from where the last read ended. Waiting when nothing came within waitMs: the read stays
    // under way for the next call. Any failure counts as the end.
    Read read(DWORD waitMs);

private:
    Read finished();

    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE done_ = nullptr;
    OVERLAPPED request_{};
    bool pending_ = false;
    std::uint64_t offset_ = 0;
    std::vector<char> buffer_;
};

}  // namespace standin
