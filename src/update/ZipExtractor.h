// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrix {

// Bounds on what one package may unpack to.
struct ZipLimits {
    uint64_t maxTotalBytes = uint64_t{512} * 1024 * 1024;  // uncompressed bytes of all entries
    size_t maxEntries = 10000;
};

// What an extraction did.
struct ZipExtractResult {
    bool opened = false;        // the archive could be opened and read as a zip
    bool complete = false;      // every entry was extracted; nothing refused or failed
    size_t filesWritten = 0;    // regular files written
    size_t refused = 0;         // entries refused as unsafe (path or type)
    size_t failed = 0;          // entries that could not be read or written (bad data, CRC, disk)
    bool limitReached = false;  // stopped at the byte or entry limit
};

// Unpacks a downloaded zip package (stored or deflated entries) into one folder and never
// outside it: entries with an absolute path, a ".." part, a backslash, a symbolic link or
// another special type are refused, folders inside are walked without following links, and
// the byte and entry limits stop a zip bomb. Every refusal and failure is logged.
class ZipExtractor {
  public:
    explicit ZipExtractor(ZipLimits limits = {});

    // Extracts zipPath into folder (which must exist). A refused or failed entry is skipped
    // and leaves no file; reaching a limit stops the extraction (the file being written is
    // deleted).
    ZipExtractResult Extract(const std::string& zipPath, const std::string& folder) const;

    // Splits an entry name into its folder parts and file name; false for a name that must
    // not be written: empty, absolute, with a backslash, a control character or a ".." part.
    // Empty and "." parts are dropped.
    static bool SplitEntryName(const std::string& name, std::vector<std::string>& parts);

  private:
    ZipLimits m_limits;
};

}  // namespace kestrix
