// SPDX-License-Identifier: MIT
#include "exchange/MacroFile.h"

#include "base/Log.h"
#include "base/Text.h"
#include "store/DataStore.h"
#include "store/StoreTransaction.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

std::string Decimal(int value) { return Format("%d", value); }

void SetMacroAttributes(XmlDocument& doc, const MacroRow& macro) {
    doc.SetAttribute("macro_name", macro.name);
    doc.SetAttribute("macro_type", Decimal(macro.playType));
    doc.SetAttribute("play_times", Decimal(macro.playTimes));
    doc.SetAttribute("delay_type", Decimal(macro.delayType));
    doc.SetAttribute("delay_time", Decimal(macro.delayTime));
}

// Adds one <item> per event after the current position of the current parent.
void AddEventItems(XmlDocument& doc, const std::vector<MacroRecordRow>& events) {
    for (const MacroRecordRow& event : events) {
        doc.AddElement("item");
        doc.SetAttribute("desc", event.desc);
        doc.SetAttribute("index", Decimal(event.recordIndex));
        doc.SetAttribute("type", Decimal(event.type));
        doc.SetAttribute("value", Decimal(event.value));
        doc.SetAttribute("timestamp", Decimal(event.delayTime));
    }
}

// The macro attributes of the current element (empty and 0 when there is none).
MacroRow ReadMacroAttributes(const XmlDocument& doc) {
    MacroRow row;
    row.name = RemoveControlCharacters(doc.GetAttribute("macro_name"));
    row.playType = ParseDecimal(doc.GetAttribute("macro_type"));
    row.playTimes = ParseDecimal(doc.GetAttribute("play_times"));
    row.delayType = ParseDecimal(doc.GetAttribute("delay_type"));
    row.delayTime = ParseDecimal(doc.GetAttribute("delay_time"));
    return row;
}

// Inserts every <item> among the current parent's children as an event of macroId; false
// when the store refused them.
bool InsertEventItems(DataStore& store, XmlDocument& doc, int macroId) {
    std::vector<MacroRecordRow> events;
    while (doc.FindElement("item")) {
        MacroRecordRow event;
        event.macroId = macroId;
        event.desc = doc.GetAttribute("desc");
        event.recordIndex = ParseDecimal(doc.GetAttribute("index"));
        event.type = ParseDecimal(doc.GetAttribute("type"));
        event.value = ParseDecimal(doc.GetAttribute("value"));
        event.delayTime = ParseDecimal(doc.GetAttribute("timestamp"));
        events.push_back(std::move(event));
    }
    return store.InsertMacroRecords(events);
}

// Inserts row and the events under the current element's child named itemsElement (when
// present) in one transaction; the new macro id, 0 (nothing kept) when the store refused.
int InsertMacroWithEvents(DataStore& store, XmlDocument& doc, const MacroRow& row,
                          const char* itemsElement, bool itemsInside) {
    StoreTransaction transaction(store);
    const int id = store.InsertMacro(row);
    if (id > 0) {
        if (itemsInside) doc.IntoElement();
        if (doc.FindElement(itemsElement)) {
            doc.IntoElement();
            InsertEventItems(store, doc, id);
            doc.OutOfElement();
        }
        if (itemsInside) doc.OutOfElement();
    }
    if (!transaction.Commit() || id <= 0) {
        LogLine("macro import: the database refused macro \"%s\"; nothing of it was stored: %s",
                row.name.c_str(), store.LastFailure().c_str());
        return 0;
    }
    return id;
}

// Loads path and enters its <macro> root; false (a log line) for anything else.
bool OpenMacroFile(XmlDocument& doc, const std::string& path) {
    if (!doc.LoadFile(path)) {
        LogLine("macro import: %s refused: %s", path.c_str(),
                DescribeParseResult(doc.LastParseResult()).c_str());
        return false;
    }
    if (!doc.FindElement("macro") || !doc.IntoElement()) {
        LogLine("macro import: %s has no macro root", path.c_str());
        return false;
    }
    return true;
}

// Writes doc unless a store read failed since failureMark: a file built from a failed read
// would replace the user's file with a partial one.
bool Save(DataStore& store, unsigned failureMark, const XmlDocument& doc, const std::string& path) {
    if (store.FailureCount() != failureMark) {
        LogLine("macro export: the macros could not be read: %s", store.LastFailure().c_str());
        return false;
    }
    if (doc.SaveFile(path)) return true;
    LogLine("macro export: cannot write %s", path.c_str());
    return false;
}

}  // namespace

bool ExportMacro(DataStore& store, int macroId, const std::string& path) {
    const unsigned failures = store.FailureCount();
    MacroRow macro;
    if (!store.GetMacro(macroId, macro)) {
        LogLine("macro export: macro %d does not exist", macroId);
        return false;
    }
    std::vector<MacroRecordRow> events;
    store.ListMacroRecords(macroId, events);

    XmlDocument doc;
    doc.SetDocText(XmlDocument::kNewDocumentText);
    doc.AddElement("macro");
    doc.IntoElement();
    doc.AddElement("macroinfo");
    SetMacroAttributes(doc, macro);
    doc.AddElement("macroitems");
    if (!events.empty()) {
        doc.IntoElement();
        AddEventItems(doc, events);
        doc.OutOfElement();
    }
    return Save(store, failures, doc, path);
}

bool ExportAllMacros(DataStore& store, const std::string& path) {
    const unsigned failures = store.FailureCount();
    std::vector<MacroRow> macros;
    store.ListMacros(macros);

    XmlDocument doc;
    doc.SetDocText(XmlDocument::kNewDocumentText);
    doc.AddElement("macro");
    doc.IntoElement();
    std::vector<MacroRecordRow> events;
    for (const MacroRow& macro : macros) {
        doc.AddElement("macro_item");
        SetMacroAttributes(doc, macro);
        if (store.ListMacroRecords(macro.macroId, events) > 0) {
            doc.IntoElement();
            doc.AddElement("record_item");
            doc.IntoElement();
            AddEventItems(doc, events);
            doc.OutOfElement();
            doc.OutOfElement();
        }
    }
    return Save(store, failures, doc, path);
}

std::optional<ImportedMacro> ImportMacro(DataStore& store, const std::string& path) {
    XmlDocument doc;
    if (!OpenMacroFile(doc, path)) return std::nullopt;
    doc.FindElement("macroinfo");
    MacroRow row = ReadMacroAttributes(doc);
    const int id = InsertMacroWithEvents(store, doc, row, "macroitems", false);
    if (id <= 0) return std::nullopt;
    return ImportedMacro{id, row.name};
}

MacroListImport ImportMacroList(DataStore& store, const std::string& path) {
    MacroListImport result;
    XmlDocument doc;
    if (!OpenMacroFile(doc, path)) return result;
    while (doc.FindElement("macro_item")) {
        MacroRow row = ReadMacroAttributes(doc);
        const int id = InsertMacroWithEvents(store, doc, row, "record_item", true);
        if (id <= 0) return result;
        result.macros.push_back({id, row.name});
    }
    result.complete = true;
    return result;
}

}  // namespace kestrix
