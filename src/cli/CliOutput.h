// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/CommandStatus.h"

namespace kestrix {

// A command's result document; fields keep the order they were added in.
using CliDocument = nlohmann::ordered_json;

// Writes a command's result: with --json the document as JSON on stdout, led by "format"
// (docs/json.md describes each command's shape), otherwise as plain text lines (scalars as
// "key: value", lists one element per line). Errors go to stderr as one line
// "kestrixctl: <reason>"; with --json stdout also gets {"format", "error", "exit_code"}.
class CliOutput {
  public:
    // The version of the JSON shapes; a change that breaks a reader raises it.
    static constexpr int kJsonFormat = 1;

    CliOutput(std::ostream& out, std::ostream& err, bool json)
        : m_out(out), m_err(err), m_json(json) {}

    // True when --json was given.
    bool Json() const { return m_json; }
    // Prints a result document.
    void Print(const CliDocument& document);
    // Prints one plain line in text mode only (e.g. the bare value of "get KEY").
    void PlainLine(const std::string& line);
    // Prints a note on stderr (text mode and JSON mode alike), not part of the result.
    void Note(const std::string& line);
    // Reports a failed status and returns its exit code.
    int Fail(const CommandStatus& status);

    // The text form of a document (pure; what Print writes without --json).
    static std::string RenderText(const CliDocument& document);
    // text with every control character (C0, DEL, U+0080..U+009F) written as \xNN or \uNNNN,
    // so a stored name cannot drive the terminal. Pure.
    static std::string EscapeControls(std::string_view text);
    // From now on every printed object carries "mouse": mouse (the mouse the command works on,
    // when several are attached).
    void SetChosenMouse(CliDocument mouse);

  private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_json;
    CliDocument m_chosenMouse;
};

}  // namespace kestrix
