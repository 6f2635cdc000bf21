// A document window standing in for the real one in the shell's tests: a document, a view mode, a
// File menu of its own, and a log of what the main window asked of it.
#pragma once
#include <QMenu>
#include <QWidget>

#include <string>
#include <vector>

#include "document/GeometryList.h"
#include "foundation/Console.h"
#include "shell/MainUnit.h"

namespace sarnova {

class TTestDocumentWindow : public QWidget, public IDocumentWindow {
public:
    TTestDocumentWindow() { FileMenu = new QMenu("&File", this); }

    TGeometryList* Document() override { return &List; }
    // Notes the load on the console, as the document does.
    void OpenFile(const std::string& Name) override {
        Opened = Name;
        Calls.push_back("OpenFile " + Name);
        if (GConsole) GConsole->WriteLine("Loading " + Name + "...");
    }
    bool IsModified() const override { return Modified; }
    bool CanUndo() const override { return false; }
    bool CanRedo() const override { return false; }
    bool CanPrintToScale() const override { return false; }
    bool IsMacroEditorShowing() const override { return MacroShowing; }
    TInteractionMode GetInteractionMode() const override { return Mode; }
    void SetInteractionMode(TInteractionMode Value) override { Mode = Value; }
    void ApplySettings() override { Calls.push_back("ApplySettings"); }
    std::vector<QMenu*> Menus() override { return {FileMenu}; }
    void Save() override { Calls.push_back("Save"); }
    void Print() override {}
    void PrintToScale() override {}
    void Undo() override {}
    void Redo() override {}
    void CopySelection() override { Calls.push_back("CopySelection"); }
    void PasteClipboard() override {}
    void DeleteSelection() override {}
    void ZoomIn() override {}
    void ZoomOut() override {}
    void ZoomAll() override {}
    void ZoomSelection() override {}
    void ZoomPrevious() override {}
    void StartZoom() override { Calls.push_back("StartZoom"); }
    void StartZoomWindow() override {}
    void StartPan() override { Calls.push_back("StartPan"); }
    void StartRotateView() override {}
    void StartSelectEdit() override {}
    void TranslateSelection() override {}
    void ScaleSelection() override {}
    void RotateSelection() override {}
    void MirrorSelection() override {}
    void ShowMacroEditor() override {}
    void ShowUndoInformation() override {}

    TGeometryList List;
    TInteractionMode Mode = imRotateWorld;
    bool Modified = false;
    bool MacroShowing = false;
    QMenu* FileMenu;
    std::string Opened;
    std::vector<std::string> Calls;
};

}  // namespace sarnova
