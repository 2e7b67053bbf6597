// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrix {

class DataStore;

// A macro an import added to the library; the caller appends it to its macro lists.
struct ImportedMacro {
    int macroId = 0;
    std::string name;

    bool operator==(const ImportedMacro&) const = default;
};

// Writes one macro and its events (in record_index order) as a single-macro file. False
// (a log line, no file) when the macro does not exist, and when the file cannot be written.
bool ExportMacro(DataStore& store, int macroId, const std::string& path);

// Writes the whole macro library, in library order, as a macro-list file. False (a log line)
// when the file cannot be written.
bool ExportAllMacros(DataStore& store, const std::string& path);

// Adds the macro of a single-macro file, with its events, as a new macro. Nothing when the
// file is missing, not well formed, has no <macro> root, or the insert fails.
std::optional<ImportedMacro> ImportMacro(DataStore& store, const std::string& path);

// Adds every macro of a macro-list file, with its events, as new macros, in file order.
// A macro whose insert fails is skipped with its events. Empty for the same files as
// ImportMacro.
std::vector<ImportedMacro> ImportMacroList(DataStore& store, const std::string& path);

}  // namespace kestrix
