#pragma once

// Which backend plays a file; the file's extension chooses it (see pathrules::playerTypeFor).
enum PlayerType : int {
    PlayerNone = 0,   // no backend
    PlayerVlc = 1,    // the libvlc backend: every file that is not Flash
    PlayerFlash = 2,  // "swf" and "fla": no backend exists, such files never open
};
