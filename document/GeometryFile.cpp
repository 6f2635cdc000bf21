// The ".geo" reader and writer of TGeometryList, and the common keys of entity blocks.
#include "document/GeometryFile.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "document/GUnknown.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/BlockCount.h"
#include "foundation/TextUtils.h"
#include "foundation/ColorNames.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "platform/Screen.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

namespace {

void ShowInformation(const std::string& Text) {
    if (GExceptionHandler && GExceptionHandler->UserDialogs != nullptr)
        GExceptionHandler->UserDialogs->MessageBox("Information", Text, TMsgDlgType::mtInformation, mbOK);
    else
        std::fprintf(stderr, "%s\n", Text.c_str());
}

// A version line outside the blocks: a newer file is announced and read all the same. A version
// that is no version (damaged, empty) counts as unknown and is passed over.
void CheckFileVersion(std::string_view Line) {
    const std::string_view Marker = VersionMarker;
    const std::string Version = Trim(Line.substr(Line.find(Marker) + Marker.size(), 255));
    if (Version.empty()) return;
    int Comparison = 1;
    try {
        Comparison = CompareProgramVersion(Version);
    } catch (const EConvertError&) {
        return;
    }
    if (Comparison == 2) ShowInformation("This file was written using a more recent version of sarnova (" + Version + ")");
}

// Raises the exception being handled again with the message Text, keeping its kind.
[[noreturn]] void RethrowWithText(const std::string& Text) {
    try {
        throw;
    } catch (const EConvertError&) {
        throw EConvertError(Text);
    } catch (const EGeometryError&) {
        throw EGeometryError(Text);
    } catch (const EInOutError&) {
        throw EInOutError(Text);
    } catch (...) {
        throw EError(Text);
    }
}

}  // namespace

bool HasDocumentShape(std::string_view Text) {
    // A binary file has control characters that no text has; form feeds and the old end-of-file
    // mark of DOS editors are text.
    const auto Binary = std::find_if(Text.begin(), Text.end(), [](char C) {
        const auto U = static_cast<unsigned char>(C);
        return U < ' ' && U != '\t' && U != '\n' && U != '\r' && U != '\f' && U != 0x1A;
    });
    if (Binary != Text.end()) return false;
    for (std::size_t Start = 0; Start < Text.size();) {
        const std::size_t End = std::min(Text.find_first_of("\r\n", Start), Text.size());
        const std::string Line = Trim(Text.substr(Start, End - Start));
        if (!Line.empty())
            return (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') ||
                   Line.find(VersionMarker) != std::string::npos;
        Start = End + 1;
    }
    return true;
}

std::string ReadErrorInWords(const std::string& Message) {
    if (Message == "I/O Result 100") return "the file ends where a number was expected";
    if (Message == "I/O Result 106") return "a number was expected";
    return Message;
}

// ---- Common keys ----

bool ReadBlockLine(TTextReader& In, TBlockLine& Line) {
    // Views into the reader's text: every entity reads its keys through here, so nothing is copied
    // but the key and the value themselves.
    const std::string_view Text = TrimmedView(In.ReadLineView());
    const std::size_t Equals = Text.find('=');
    if (Equals == std::string_view::npos) {
        Line.Key.clear();
        Line.Value.clear();
        return false;
    }
    Line.Key = UpperCase(TrimmedView(Text.substr(0, Equals)));
    Line.Value.assign(TrimmedView(Text.substr(Equals + 1, 255)));
    return !Line.Key.empty();
}

void WriteCommonKeys(TTextWriter& Out, const TGeometry& Entity, unsigned Keys) {
    if (Keys & ckName) {
        const std::string Name = Entity.GetName();
        if (!Name.empty()) {
            Out.Write("Name=");
            Out.WriteLine(Name);
        }
    }
    if ((Keys & ckMirrored) && Entity.Mirrored()) Out.WriteLine("Mirrored=TRUE");
    if ((Keys & ckColor) && Entity.GetColor() != CurrentSettings().DrawColor)
        Out.WriteLine("Color=" + ColorToString(Entity.GetColor()));
}

bool ReadCommonKey(TGeometry& Entity, const TBlockLine& Line) {
    if (Line.Key == "NAME")
        Entity.SetName(Line.Value);
    else if (Line.Key == "MIRRORED")
        Entity.SetMirrored(UpperCase(Line.Value) == "TRUE");
    else if (Line.Key == "COLOR")
        Entity.SetColor(StringToColor(Line.Value));
    else
        return false;
    return true;
}

void ReadNameAndColorLines(TTextReader& In, TGeometry& Entity, bool Trimmed, bool WithColor) {
    for (std::string Line = In.ReadLine(); !Trim(Line).empty(); Line = In.ReadLine()) {
        if (Trimmed) Line = Trim(Line);
        const std::size_t Equals = Line.find('=');
        if (Equals == std::string::npos) continue;
        std::string Key = Line.substr(0, Equals);
        std::string Value = Line.substr(Equals + 1, 255);
        if (Trimmed) {
            Key = Trim(Key);
            Value = Trim(Value);
        }
        if (Key == "Name")
            Entity.SetName(Value);
        else if (WithColor && UpperCase(Key) == "COLOR")
            ReadCommonKey(Entity, {"COLOR", Value});
    }
}

// ---- Writing ----

void TGeometryList::SaveToFile(const std::filesystem::path& Path) {
    THourGlassCursor Cursor;
    TTextWriter Out;
    SaveToText(Out);
    std::string Version;
    GetVersionInfoValue(2, Version);
    if (!Version.empty()) Out.WriteLine(std::string(VersionMarker) + " " + Version);
    // Written in full beside the target before it replaces it: a failure leaves the old file as it was.
    Out.SaveToFile(Path);
}

void TGeometryList::SaveToText(TTextWriter& Out) {
    // One entity that cannot be written does not keep the others from being written; the first
    // failure is reported when all were tried.
    std::string FirstFailure;
    bool Failed = false;
    for (int I = 0; I < Count(); ++I) {
        try {
            Items(I).SaveToText(Out);
        } catch (const std::exception& E) {
            if (!Failed) FirstFailure = E.what();
            Failed = true;
        }
    }
    if (Failed) throw EError(FirstFailure);
}

// ---- Reading ----

void TGeometryList::LoadFromFile(const std::filesystem::path& Path) {
    std::string Text = ReadFileText(Path);
    if (Text.starts_with("\xEF\xBB\xBF")) Text.erase(0, 3);  // the byte-order mark of editors on Windows
    // Opened as an empty document, such a file would be replaced by one line at the next save.
    if (!HasDocumentShape(Text)) throw EInOutError("not a document: " + Path.string());
    const bool EndsWithLineEnd = !Text.empty() && (Text.back() == '\n' || Text.back() == '\r');
    TTextReader In(std::move(Text));
    BeginUpdate(ufEndEditing | ufHourGlass);
    LoadingPath = Path.string();
    try {
        LoadFromText(In);
        LoadingPath.clear();
    } catch (const std::exception& E) {
        LoadingPath.clear();
        EndUpdateQuietly();
        // At the end of the text the fault is on its last line, which the reader has left when it ends
        // with a line end.
        const int Line = In.Eof() ? In.LineNumber() - (EndsWithLineEnd ? 1 : 0) : In.LastLineNumber();
        RethrowWithText(Path.string() + ", line " + IntToStr(Line) + ": " + ReadErrorInWords(E.what()));
    } catch (...) {
        LoadingPath.clear();
        EndUpdateQuietly();
        throw;
    }
    EndUpdate();
    // At the top level an end line closes nothing: what came before it is loaded, and the user is told
    // where reading stopped.
    if (EndLineStop > 0 && GConsole)
        GConsole->WriteLine("Warning: [End Group] without a group on line " + std::to_string(EndLineStop) + " of " +
                            Path.string() + ", the rest of the file was not read");
}

// The entity reads its block, which must end where the block ends: a count that took lines of the next
// block, or left lines of its own unread, makes the block damaged. A group's block holds its members'
// blocks, which its own reader bounds.
static void LoadBoundedBlock(TGeometry& Entity, const std::string& Keyword, TTextReader& In) {
    if (BlockHoldsMembers(Keyword, In)) return Entity.LoadFromText(In);
    const TBlockBounds Bounds(In);
    Entity.LoadFromText(In);
    Bounds.CheckReadTo(In);
}

void TGeometryList::LoadFromText(TTextReader& In) {
    EndLineStop = 0;
    while (!In.Eof()) {
        const int LineNumber = In.LineNumber();
        // A view into the reader's text: most lines are passed over or name a block.
        const std::string_view Line = TrimmedView(In.ReadLineView());
        if (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') {
            // Ends a group's members; at the top level it ends the document.
            if (Line.size() == 11 && UpperCase(Line) == "[END GROUP]") {
                EndLineStop = LineNumber;
                return;
            }
            const std::string Keyword(Line.substr(1, Line.size() - 2));
            const TTextReader::TMark Body = In.Mark();
            std::unique_ptr<TGeometry> Entity = FindGeometryClass(Keyword).Create();
            if (auto* Unknown = dynamic_cast<TGeoUnknown*>(Entity.get())) {
                Unknown->BlockKeyword = Keyword;
                Unknown->LoadFromText(In);
            } else {
                try {
                    LoadBoundedBlock(*Entity, Keyword, In);
                } catch (const std::exception& E) {
                    // A block that cannot make a valid entity is kept as it was, so that nothing of the
                    // file is lost and a save writes it back unchanged.
                    Entity.reset();
                    In.Restore(Body);
                    auto Kept = std::make_unique<TGeoUnknown>();
                    Kept->BlockKeyword = Keyword;
                    if (GConsole)
                        GConsole->WriteLine("Warning: damaged " + std::string(Line) + " block on line " + std::to_string(LineNumber) +
                                            (LoadingPath.empty() ? "" : " of " + LoadingPath) + ": " +
                                            ReadErrorInWords(E.what()) + ", object will be stored unchanged");
                    Kept->ReadLines(In);
                    Entity = std::move(Kept);
                }
            }
            Add(std::move(Entity));
        } else if (Line.find(VersionMarker) != std::string::npos) {
            CheckFileVersion(Line);
        }
    }
}

}  // namespace sarnova
