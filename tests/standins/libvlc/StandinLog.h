#pragma once

// Diagnostics of the stand-in. Calls that deadlock the real library (stop, set_media or release inside
// a listener; time, length, track or seek calls from a listener while a stop is under way) are counted
// as hazards: the stand-in carries on instead of hanging, so the count is how a test learns of them.
// With VELMORA_LIBVLC_STANDIN_LOG naming a file, every control call and hazard is appended there as
// one line, so a test that drives the player in another process can see what reached the library.
namespace standin {

void logCall(const char* text);
void reportHazard(const char* text);
int hazardCount();

}  // namespace standin
