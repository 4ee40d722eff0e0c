// The command tail becomes the path: one pair of enclosing quotes goes, nothing else changes.
#include "app/commands/CommandLine.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring tail = wideFrom(data, size);
    const std::size_t nul = tail.find(L'\0');
    if (nul != std::wstring::npos) {
        tail.resize(nul);  // what the process gets is a C string
    }
    const std::wstring path = commandTailPath(tail.c_str());
    const bool quoted = tail.size() >= 2 && tail.front() == L'"' && tail.back() == L'"';
    FUZZ_CHECK(path == (quoted ? tail.substr(1, tail.size() - 2) : tail));
    return 0;
}
