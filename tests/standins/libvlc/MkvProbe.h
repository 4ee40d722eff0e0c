#pragma once

#include <cstddef>
#include <cstdint>

#include "PsProbe.h"

// What the stand-in learns from the head of a Matroska file (.mkv, .webm): the length from the
// segment's information, as the real library reports it, and the tracks in file order with their
// kinds, languages (Matroska's default, "eng", when the track names none), names and default flags; and
// the chapters of the first edition (those at its top level).
// Only the elements before the first cluster are read, where muxers put them.
namespace standin {

// False when the bytes don't start as a Matroska file; `facts` is then left as it was.
bool probeMatroska(const std::uint8_t* data, std::size_t size, ClipFacts& facts);

}  // namespace standin
