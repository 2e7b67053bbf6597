// SPDX-License-Identifier: MIT
#include "cli/CliOutput.h"

#include "base/Text.h"

namespace kestrix {
namespace {

std::string Scalar(const CliDocument& value) {
    if (value.is_string()) return CliOutput::EscapeControls(value.get<std::string>());
    if (value.is_null()) return "-";
    return value.dump();
}

bool IsScalar(const CliDocument& value) { return !value.is_object() && !value.is_array(); }

// The JSON form: the shape's version first, then the document's fields.
CliDocument Versioned(const CliDocument& document) {
    CliDocument versioned;
    versioned["format"] = CliOutput::kJsonFormat;
    for (const auto& [key, value] : document.items()) versioned[key] = value;
    return versioned;
}

// One line for a flat object: "key=value key=value".
std::string Inline(const CliDocument& object) {
    std::string line;
    for (const auto& [key, value] : object.items()) {
        if (!line.empty()) line += "  ";
        std::string text = IsScalar(value) ? Scalar(value) : value.dump();
        if (text.find(' ') != std::string::npos || text.empty()) text = "\"" + text + "\"";
        line += key + "=" + text;
    }
    return line;
}

void Render(const CliDocument& document, const std::string& indent, std::string& text) {
    for (const auto& [key, value] : document.items()) {
        if (IsScalar(value)) {
            text += indent + key + ": " + Scalar(value) + "\n";
        } else if (value.is_object()) {
            text += indent + key + ":\n";
            Render(value, indent + "  ", text);
        } else {
            text += indent + key + ":";
            if (value.empty()) text += " (none)";
            text += "\n";
            for (const CliDocument& element : value) {
                text += indent + "  " + (element.is_object() ? Inline(element) : Scalar(element)) +
                        "\n";
            }
        }
    }
}

}  // namespace

std::string CliOutput::RenderText(const CliDocument& document) {
    if (IsScalar(document)) return Scalar(document) + "\n";
    std::string text;
    Render(document, "", text);
    return text;
}

std::string CliOutput::EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            out += Format("\\x%02X", byte);
        } else if (byte == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080..U+009F: the 8-bit controls, which some terminals act on as well.
            out += Format("\\u%04X", static_cast<unsigned char>(text[i + 1]));
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

void CliOutput::SetChosenMouse(CliDocument mouse) { m_chosenMouse = std::move(mouse); }

void CliOutput::Print(const CliDocument& document) {
    CliDocument shown = document;
    if (!m_chosenMouse.is_null() && shown.is_object()) shown["mouse"] = m_chosenMouse;
    if (m_json) {
        m_out << Versioned(shown).dump(2) << "\n";
    } else {
        m_out << RenderText(shown);
    }
    m_out.flush();
}

void CliOutput::PlainLine(const std::string& line) {
    if (!m_json) m_out << EscapeControls(line) << "\n";
}

void CliOutput::Note(const std::string& line) {
    m_err << "kestrixctl: " << EscapeControls(line) << "\n";
}

int CliOutput::Fail(const CommandStatus& status) {
    m_err << "kestrixctl: " << EscapeControls(status.message) << "\n";
    if (m_json) {
        CliDocument error;
        error["error"] = status.message;
        error["exit_code"] = status.exitCode;
        m_out << Versioned(error).dump(2) << "\n";
    }
    m_out.flush();
    m_err.flush();
    return status.exitCode;
}

}  // namespace kestrix
