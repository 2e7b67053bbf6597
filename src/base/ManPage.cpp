// SPDX-License-Identifier: MIT
#include "base/ManPage.h"

namespace kestrix {
namespace {

std::string Escape(const std::string& text) {
    std::string escaped;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) escaped += "\\&";
        if (c == '\\') {
            escaped += "\\e";
        } else if (c == '-') {
            escaped += "\\-";
        } else {
            escaped += c;
        }
        lineStart = c == '\n';
    }
    return escaped;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

std::string RenderManPage(const ManPage& page) {
    std::string roff = ".TH " + Upper(Escape(page.name)) + " 1 \"\" \"" + Escape(page.name) + " " +
                       Escape(page.version) + "\" \"User Commands\"\n";
    roff += ".SH NAME\n" + Escape(page.name) + " \\- " + Escape(page.summary) + "\n";
    roff += ".SH SYNOPSIS\n.B " + Escape(page.name) + "\n" + Escape(page.synopsis) + "\n";
    roff += ".SH DESCRIPTION\n" + Escape(page.description) + "\n";
    for (const ManSection& section : page.sections) {
        roff += ".SH " + Upper(Escape(section.title)) + "\n";
        if (!section.text.empty()) roff += Escape(section.text) + "\n";
        for (const ManItem& item : section.items) {
            roff += ".TP\n.B " + Escape(item.term) + "\n" + Escape(item.text) + "\n";
        }
    }
    return roff;
}

}  // namespace kestrix
