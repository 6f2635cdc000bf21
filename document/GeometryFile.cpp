// The ".geo" reader and writer of TGeometryList, and the common keys of entity blocks.
#include "document/GeometryFile.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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

// The file being read and how deep in groups the list reader is: the warnings name the file, and a
// block of an unknown kind asks how many groups are open around it.
std::string GReadingPath;
int GReadingDepth = 0;

// One level of the list reader, for as long as one list reads its blocks.
struct TReadingLevel {
    TReadingLevel() { ++GReadingDepth; }
    ~TReadingLevel() { --GReadingDepth; }
    TReadingLevel(const TReadingLevel&) = delete;
    TReadingLevel& operator=(const TReadingLevel&) = delete;
    // The groups whose members are being read around this level.
    int EnclosingGroups() const { return GReadingDepth - 1; }
};

const std::string& ReadingPath() { return GReadingPath; }

// A block as the writer writes it: the keyword line, then the lines read, with LF line ends.
std::string BlockText(const std::string& Keyword, std::string_view Lines) {
    std::string Text = "[" + Keyword + "]\n";
    Text.reserve(Text.size() + Lines.size() + 1);
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        if (Lines[I] != '\r') {
            Text += Lines[I];
        } else {
            Text += '\n';
            if (I + 1 < Lines.size() && Lines[I + 1] == '\n') ++I;
        }
    }
    // A block that ends the file without its empty line gets one, as the writer ends every block.
    if (!Text.ends_with("\n\n")) Text += Text.back() == '\n' ? "\n" : "\n\n";
    return Text;
}

}  // namespace

struct TGeometryList::TReadBlock {
    TGeometry* Entity;
    std::string Keyword;
    int Line;
    TTextReader::TMark Body;
};

bool HasDocumentShape(std::string_view Text) {
    // A binary file has NUL bytes that no text has. Other control characters are taken as text: older
    // saves wrote them in names (an escape from an imported file), and such a file must open again.
    if (Text.find('\0') != std::string_view::npos) return false;
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
    // An entity that cannot be written whole leaves no half block: what it wrote is taken back, its
    // last good block is written in its place, and the console names it. The save goes on.
    for (int I = 0; I < Count(); ++I) {
        TGeometry& Entity = Items(I);
        const std::size_t Start = Out.Text().size();
        try {
            Entity.SaveToText(Out);
        } catch (const std::exception& E) {
            Out.Truncate(Start);
            if (GConsole)
                GConsole->WriteLine("Warning: " + Entity.DescribedName() + " cannot be written (" + E.what() + "), " +
                                    (Entity.LastGoodBlock().empty() ? "it is not in the file"
                                                                    : "its last good block was written"));
            Out.Write(Entity.LastGoodBlock());
            continue;
        }
        Entity.KeepLastGoodBlock(std::string_view(Out.Text()).substr(Start));
    }
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
    GReadingPath = Path.string();
    try {
        LoadFromText(In);
        GReadingPath.clear();
    } catch (const std::exception& E) {
        GReadingPath.clear();
        EndUpdateQuietly();
        // At the end of the text the fault is on its last line, which the reader has left when it ends
        // with a line end.
        const int Line = In.Eof() ? In.LineNumber() - (EndsWithLineEnd ? 1 : 0) : In.LastLineNumber();
        RethrowWithText(Path.string() + ", line " + IntToStr(Line) + ": " + ReadErrorInWords(E.what()));
    } catch (...) {
        GReadingPath.clear();
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
    // While a file is read: one bracket around the blocks of this list, so that a group's members are
    // settled together and none is applied or validated before all of them were read. A text read on
    // its own leaves its entities to the caller, changes pending.
    const bool Settling = !GReadingPath.empty();
    if (Settling) BeginUpdate(0);
    const TReadingLevel Level;
    std::vector<TReadBlock> Read;
    try {
        while (!In.Eof()) {
            const int LineNumber = In.LineNumber();
            // A view into the reader's text: most lines are passed over or name a block.
            const std::string_view Line = TrimmedView(In.ReadLineView());
            if (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') {
                // Ends a group's members; at the top level it ends the document.
                if (Line.size() == 11 && UpperCase(Line) == "[END GROUP]") {
                    EndLineStop = LineNumber;
                    break;
                }
                const std::string Keyword(Line.substr(1, Line.size() - 2));
                const TTextReader::TMark Body = In.Mark();
                std::unique_ptr<TGeometry> Entity = FindGeometryClass(Keyword).Create();
                if (auto* Unknown = dynamic_cast<TGeoUnknown*>(Entity.get())) {
                    Unknown->BlockKeyword = Keyword;
                    Unknown->EnclosingGroups = Level.EnclosingGroups();
                    Unknown->LoadFromText(In);
                    Add(std::move(Entity));
                    continue;
                }
                try {
                    LoadBoundedBlock(*Entity, Keyword, In);
                } catch (const std::exception& E) {
                    // A block that cannot make a valid entity is kept as it was, so that nothing of the
                    // file is lost and a save writes it back unchanged.
                    Entity.reset();
                    In.Restore(Body);
                    Add(KeepDamagedBlock(In, Keyword, "", LineNumber, E.what()));
                    continue;
                }
                if (Entity->WritesItsBlockFromState())
                    Entity->KeepLastGoodBlock({});
                else
                    Entity->KeepLastGoodBlock(BlockText(Keyword, In.Between(Body, In.Mark())));
                Read.push_back({Add(std::move(Entity)), Keyword, LineNumber, Body});
            } else if (Line.find(VersionMarker) != std::string::npos) {
                CheckFileVersion(Line);
            }
        }
        if (Settling) SettleReadEntities(In, Read);
    } catch (...) {
        if (Settling) EndUpdateQuietly();
        throw;
    }
    if (Settling) EndUpdate();
}

std::unique_ptr<TGeometry> TGeometryList::KeepDamagedBlock(TTextReader& In, const std::string& Keyword,
                                                           const std::string& Name, int LineNumber,
                                                           const std::string& Reason) {
    auto Kept = std::make_unique<TGeoUnknown>();
    Kept->BlockKeyword = Keyword;
    if (GConsole)
        GConsole->WriteLine("Warning: damaged [" + Keyword + "] block" + (Name.empty() ? "" : " " + Name) + " on line " +
                            std::to_string(LineNumber) + (ReadingPath().empty() ? "" : " of " + ReadingPath()) + ": " +
                            ReadErrorInWords(Reason) + ", object will be stored unchanged");
    Kept->ReadLines(In);
    return Kept;
}

namespace {

// The first regeneration of a read entity, and the box that the list's checks ask for next.
void Regenerate(TGeometry& Entity) {
    Entity.ApplyChange();
    Entity.GetExtents();
}

}  // namespace

void TGeometryList::SettleReadEntities(TTextReader& In, const std::vector<TReadBlock>& Read) {
    if (Read.empty()) return;
    const TTextReader::TMark Resume = In.Mark();
    // Entities are only ever replaced here, never freed by a reaction (Replace releases the references
    // to the one it takes out), so the pointers stay good.
    std::unordered_set<const TGeometry*> Replaced;  // freed: compared, never followed
    auto KeepBlock = [&](const TReadBlock& Block, const std::string& Reason) {
        Replaced.insert(Block.Entity);
        In.Restore(Block.Body);
        Replace(IndexOf(Block.Entity),
                KeepDamagedBlock(In, Block.Keyword, Block.Entity->GetName(), Block.Line, Reason));
    };
    std::vector<const TReadBlock*> Failed;
    for (const TReadBlock& Block : Read) {
        try {
            Regenerate(*Block.Entity);
        } catch (const std::exception&) {
            Failed.push_back(&Block);
        }
    }
    // An entity may fail for another's fault (a plane fitted to the extents of a surface that cannot be
    // built): each is tried again once those after it, where dependents stand, were dealt with.
    for (auto It = Failed.rbegin(); It != Failed.rend(); ++It) {
        try {
            (*It)->Entity->MarkChanged();
            Regenerate(*(*It)->Entity);
        } catch (const std::exception& E) {
            KeepBlock(**It, E.what());
        }
    }
    // An entity that would leave the document for having nothing to show is kept as it was read too:
    // the list's check runs now, with its deletions turned into kept blocks.
    std::unordered_map<const TGeometry*, const TReadBlock*> Blocks;
    for (const TReadBlock& Block : Read)
        if (!Replaced.contains(Block.Entity)) Blocks.emplace(Block.Entity, &Block);
    KeepInsteadOfDeleting = [&](TGeometry& Entity) {
        const auto Found = Blocks.find(&Entity);
        if (Found == Blocks.end()) return false;
        const TReadBlock& Block = *Found->second;
        Blocks.erase(Found);
        KeepBlock(Block, "nothing to show");
        return true;
    };
    try {
        for (const TReadBlock& Block : Read)
            if (Blocks.contains(Block.Entity)) Block.Entity->AfterListChange();
    } catch (...) {
        KeepInsteadOfDeleting = nullptr;
        In.Restore(Resume);
        throw;
    }
    KeepInsteadOfDeleting = nullptr;
    In.Restore(Resume);
}

}  // namespace sarnova
