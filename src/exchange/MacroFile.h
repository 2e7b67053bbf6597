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

// Adds the macro of a single-macro file, with its events, as a new macro in one transaction.
// Nothing (a log line, nothing stored) when the file is missing, not well formed, has no
// <macro> root, or the store refuses the macro or any of its events.
std::optional<ImportedMacro> ImportMacro(DataStore& store, const std::string& path);

// What a macro-list import did.
struct MacroListImport {
    std::vector<ImportedMacro> macros;  // the macros stored, in file order
    bool complete = false;              // false: the file was refused, or the store refused a macro
};

// Adds every macro of a macro-list file, with its events, as new macros, in file order; each
// macro with its events is one transaction. When the store refuses a macro, nothing of that
// macro is kept, the import stops there (a log line) and complete is false; the macros
// before it stay imported.
MacroListImport ImportMacroList(DataStore& store, const std::string& path);

}  // namespace kestrix
