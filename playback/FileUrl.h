#pragma once

#include <string>

// The file:/// address of a file, as the library takes a file it is to add to what plays (a subtitle
// file). Every character an address can't hold as it is goes percent-encoded as UTF-8, so that blanks,
// '#', '%' and any script arrive whole:
//   C:\Films\a b#1.srt          file:///C:/Films/a%20b%231.srt
//   \\server\share\x.srt        file://server/share/x.srt
//   \\?\C:\x.srt                file:///C:/x.srt              (a drive's path in the long form)
//   \\?\UNC\server\share\x.srt  file://server/share/x.srt     (a server's path in the long form)
//   /home/me/x.srt              file:///home/me/x.srt          (a Unix path, in the native build)
// False for a path that isn't full (relative, a drive without its root, and on Windows one that starts
// at the root of the current drive) or not text (a lone surrogate).
bool fileUrlOfPath(const wchar_t* path, std::string& url);
