// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// Where and why a parse failed; ok when the text is one well-formed document.
struct XmlParseResult {
    enum class Status {
        Ok,
        FileError,
        TooLarge,
        SyntaxError,
        EndTagWithoutStart,
        MismatchedEndTag,
        UnendedTag,
        NoRoot,
        SecondRoot,
        DoctypeRefused,
        TooDeep
    };
    Status status = Status::Ok;
    size_t offset = 0;  // byte offset into the decoded UTF-8 text
    bool ok() const { return status == Status::Ok; }
};

// Why a load or parse failed, as a message says it: "larger than 16 MiB", "document type
// declarations are not accepted", "not well-formed: unended tag at offset 12"; "ok" for Ok.
std::string DescribeParseResult(const XmlParseResult& result);

// The small in-memory XML document the program reads config.xml and the model files with and
// reads and writes the exchange files with. The whole document is kept as one UTF-8 text plus
// an element index, walked by a cursor: a current parent (none = document level) and a
// current element among the parent's children (none = before the first child).
class XmlDocument {
  public:
    // What writers start a new document with.
    static constexpr std::string_view kNewDocumentText =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

    // Reads, decodes (BOMs, encoding declaration, UTF-8 check, Windows-1252 fallback) and
    // parses the file, resetting the cursor. False when unreadable, over 16 MiB, or not one
    // well-formed document with exactly one root; the document is then empty.
    bool LoadFile(const std::string& path);
    // Replaces the text, parses it and resets the cursor; same result rule as LoadFile, except
    // that a text without any element (such as kNewDocumentText) is kept for AddElement.
    bool SetDocText(std::string_view text);
    // The document text as it stands.
    const std::string& GetDocText() const { return m_text; }
    // Why the last LoadFile or SetDocText failed.
    const XmlParseResult& LastParseResult() const { return m_parseResult; }

    // Searches forward from the element after the current one among the current parent's
    // children for the next element named name (case-sensitive). On failure nothing moves.
    bool FindElement(std::string_view name);
    // The current element becomes the parent; false when there is no current element.
    bool IntoElement();
    // The parent becomes the current element again; false at document level.
    bool OutOfElement();
    // Tag name of the current element; empty when there is none.
    std::string GetTagName() const;
    // Decoded attribute value of the current element; empty when absent.
    std::string GetAttribute(std::string_view name) const;

    // Inserts an empty element after the current one (or as the parent's last child when
    // there is none) and makes it current.
    bool AddElement(std::string_view name);
    // Sets or replaces an attribute of the current element, escaping the value.
    bool SetAttribute(std::string_view name, std::string_view value);
    // Writes the text in the declaration's encoding (UTF-8 when none), without a BOM and
    // without line-end translation, replacing the file through a temporary file beside it
    // that is flushed to disk and renamed over it. False (a log line, the old file left
    // byte-identical, no temporary file left) when it cannot be written.
    bool SaveFile(const std::string& path) const;

    // Largest file LoadFile accepts.
    static constexpr size_t kMaxFileSize = 16u * 1024u * 1024u;
    // Deepest element nesting the parser accepts.
    static constexpr size_t kMaxDepth = 256;

    struct Element;  // index entry; layout private to the implementation

  private:
    bool Parse();
    void Clear();
    // Moves every offset at or after `from` by delta after the text changed there.
    void ShiftOffsets(size_t from, long delta);
    long FirstChildOf(long parent) const;
    std::string m_text;
    std::vector<Element> m_elements;  // index in parse order; added elements at the end
    long m_root = -1;
    XmlParseResult m_parseResult;
    long m_parent = -1;
    long m_current = -1;
};

// One element of the index: offsets are byte positions in the document text.
struct XmlDocument::Element {
    size_t start = 0;       // the '<' of the start tag
    size_t nameLength = 0;  // tag name follows the '<'
    size_t tagClose = 0;    // the "/>" or ">" that ends the start tag
    size_t endTag = 0;      // the "</" of the end tag; equals tagClose when self-closing
    size_t end = 0;         // one past the element's last '>'
    bool selfClosing = false;
    long parent = -1;
    long firstChild = -1;
    long lastChild = -1;
    long nextSibling = -1;
};

}  // namespace kestrix
