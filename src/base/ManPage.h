// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kestrix {

// One term of a man page list: an option or command and what it does.
struct ManItem {
    std::string term;  // printed in bold, e.g. "--log FILE" or "profile use N"
    std::string text;
};

// A section of a man page: a paragraph, a list of terms, or both.
struct ManSection {
    std::string title;  // e.g. "OPTIONS"
    std::string text;
    std::vector<ManItem> items;
};

// What a program's man page says; the programs fill it from their own option and command
// tables, so the page cannot drift from what they accept.
struct ManPage {
    std::string name;      // e.g. "kestrixctl"
    std::string version;   // e.g. "1.0.3"
    std::string summary;   // the NAME line after the dash
    std::string synopsis;  // after the program name, e.g. "[OPTIONS] COMMAND"
    std::string description;
    std::vector<ManSection> sections;
};

// The page in man(7) roff for section 1. Text is escaped: a backslash prints as one, a line
// starting with '.' or '\'' prints as text, and '-' is a real minus (options copy and paste).
std::string RenderManPage(const ManPage& page);

}  // namespace kestrix
