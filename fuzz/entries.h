// The reader's entry points driven the way the program drives them, one per
// fuzz target. Each takes a whole input as an object file and aborts when a
// result breaks a rule that must hold for every file, however broken, so the
// fuzzers find wrong results as well as crashes. Every input is scanned both
// ways a user can answer the no-map message, and the walked index, when there is
// one, is read as the designed one is.
#pragma once

#include <cstdint>
#include <span>

namespace marrowick::fuzz {

// Scan only: the index and the messages.
void ScanEntry(std::span<const std::uint8_t> bytes);

// Scan, the object list, then every attribute group and the catalog texts of
// every listed object, every CTSS row's texts, and the GUID listing.
void DecodeEntry(std::span<const std::uint8_t> bytes);

// Scan, the object list, then every BMP_ chunk's bytes through the image
// decoder. Needs QtGui (thumbnail_entry.cpp).
void ThumbnailEntry(std::span<const std::uint8_t> bytes);

}  // namespace marrowick::fuzz
