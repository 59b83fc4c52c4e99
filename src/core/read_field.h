// The field lines of the game's text data files (characters, goods): a fixed-width label,
// the value, then ';'.
#pragma once

#include <cstddef>
#include <string>

// Reads one field line of a text data file: skips `skip` bytes, copies up to the next ';'
// (at most 1023 bytes) and moves past the next line feed. With no destination returns the
// value read as a decimal number; otherwise copies it (with its terminating zero, cut to
// destinationSize) and returns 1. Never reads beyond text.size().
int ReadField(const std::string& text, size_t& position, char* destination,
              size_t destinationSize, int skip);
