#pragma once

#include "seams/desktop_services.h"
#include "text/text.h"

#include <optional>

// Files read and written whole, the way the program keeps "_url_.txt" and its exports.
namespace shareseek {

// The whole file; nothing when it is missing or cannot be read.
std::optional<Bytes> readWholeFile(const FilePath& path);

// Replaces the file with exactly `bytes`. Where the folder lets us, the bytes are written
// to a file beside it and renamed over it, so that a failed write leaves the old file whole;
// where it does not (a writable file in a folder that is not), the file is written in place.
// A symbolic link is written through: its target gets the bytes and the link stays. Missing
// folders on the way are made.
bool writeWholeFile(const FilePath& path, const Bytes& bytes);

// Whether `path` could be written so: its folder takes a new file, or the file itself may be
// written. Nothing is left behind by asking.
bool canWriteWholeFile(const FilePath& path);

} // namespace shareseek
