// SPDX-License-Identifier: MIT
#include "exchange/MacroFile.h"

#include "base/Log.h"
#include "base/Text.h"
#include "store/DataStore.h"
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

// Inserts every <item> among the current parent's children as an event of macroId, one
// statement each; a failed event is skipped.
void InsertEventItems(DataStore& store, XmlDocument& doc, int macroId) {
    while (doc.FindElement("item")) {
        MacroRecordRow event;
        event.macroId = macroId;
        event.desc = doc.GetAttribute("desc");
        event.recordIndex = ParseDecimal(doc.GetAttribute("index"));
        event.type = ParseDecimal(doc.GetAttribute("type"));
        event.value = ParseDecimal(doc.GetAttribute("value"));
        event.delayTime = ParseDecimal(doc.GetAttribute("timestamp"));
        store.InsertMacroRecord(event);
    }
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

bool Save(const XmlDocument& doc, const std::string& path) {
    if (doc.SaveFile(path)) return true;
    LogLine("macro export: cannot write %s", path.c_str());
    return false;
}

}  // namespace

bool ExportMacro(DataStore& store, int macroId, const std::string& path) {
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
    return Save(doc, path);
}

bool ExportAllMacros(DataStore& store, const std::string& path) {
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
    return Save(doc, path);
}

std::optional<ImportedMacro> ImportMacro(DataStore& store, const std::string& path) {
    XmlDocument doc;
    if (!OpenMacroFile(doc, path)) return std::nullopt;
    doc.FindElement("macroinfo");
    MacroRow row = ReadMacroAttributes(doc);
    int id = store.InsertMacro(row);
    if (id <= 0) return std::nullopt;
    if (doc.FindElement("macroitems")) {
        doc.IntoElement();
        InsertEventItems(store, doc, id);
        doc.OutOfElement();
    }
    return ImportedMacro{id, row.name};
}

std::vector<ImportedMacro> ImportMacroList(DataStore& store, const std::string& path) {
    std::vector<ImportedMacro> imported;
    XmlDocument doc;
    if (!OpenMacroFile(doc, path)) return imported;
    while (doc.FindElement("macro_item")) {
        MacroRow row = ReadMacroAttributes(doc);
        int id = store.InsertMacro(row);
        if (id <= 0) continue;
        doc.IntoElement();
        if (doc.FindElement("record_item")) {
            doc.IntoElement();
            InsertEventItems(store, doc, id);
            doc.OutOfElement();
        }
        doc.OutOfElement();
        imported.push_back({id, row.name});
    }
    return imported;
}

}  // namespace kestrix
