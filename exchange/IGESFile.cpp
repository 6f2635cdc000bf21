#include "exchange/IGESFile.h"

#include <array>
#include <ctime>

#include "exchange/ExchangeText.h"
#include "exchange/IGESEntities.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

constexpr std::array<const char*, 11> UnitNames = {"IN", "MM", "", "FT", "MI", "M", "KM", "MIL", "UM", "CM", "UIN"};
constexpr std::array<double, 11> UnitMetres = {0.0254, 0.001, 1.0,    0.3048, 1609.344,   1.0,
                                               1000.0, 2.54e-5, 1e-6, 0.01,   2.54e-8};

std::string_view TrimView(std::string_view S) {
    std::size_t B = 0, E = S.size();
    while (B < E && static_cast<unsigned char>(S[B]) <= ' ') ++B;
    while (E > B && static_cast<unsigned char>(S[E - 1]) <= ' ') --E;
    return S.substr(B, E - B);
}

std::string Right(std::string_view Text, std::size_t Width) {
    std::string R;
    if (Text.size() < Width) R.assign(Width - Text.size(), ' ');
    R += Text;
    return R;
}

std::string Int8(int Value) { return Right(std::to_string(Value), 8); }
std::string Int8OrBlank(int Value) { return Value != 0 ? Int8(Value) : std::string(8, ' '); }
std::string Int7(int Value) { return Right(std::to_string(Value), 7); }

std::string PadTo(std::string_view Text, std::size_t Width) {
    std::string R(Text.substr(0, Width));
    R.resize(Width, ' ');
    return R;
}

// Double-precision exponents: the first "D" becomes "E".
std::string WithExponentE(std::string_view Text) {
    std::string S(Text);
    const std::size_t D = S.find_first_of("Dd");
    if (D != std::string::npos) S[D] = 'E';
    return S;
}

bool ValidDate(const TIGESDateTime& D) {
    static constexpr int Days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (D.Month < 1 || D.Month > 12 || D.Day < 1) return false;
    const bool Leap = (D.Year % 4 == 0 && D.Year % 100 != 0) || D.Year % 400 == 0;
    const int Max = D.Month == 2 && !Leap ? 28 : Days[D.Month - 1];
    return D.Day <= Max && D.Hour >= 0 && D.Hour < 24 && D.Minute >= 0 && D.Minute < 60 && D.Second >= 0 &&
           D.Second < 60;
}

bool Digits(std::string_view S, int& Value) {
    if (S.empty()) return false;
    Value = 0;
    for (char C : S) {
        if (C < '0' || C > '9') return false;
        Value = Value * 10 + (C - '0');
    }
    return true;
}

[[noreturn]] void GlobalFail(const std::string& What) {
    throw EError("IGES Format Error (Global Section): " + What);
}

}  // namespace

std::string IGESUnitName(TIGESUnits Units) { return Units < UnitNames.size() ? UnitNames[Units] : ""; }

double IGESUnitMetres(TIGESUnits Units) { return Units < UnitMetres.size() ? UnitMetres[Units] : 1.0; }

std::string IGESVersionName(int Flag) {
    static constexpr const char* Names[] = {"IGES Version 1.0 [NBS80]",
                                            "IGES Version 1.0 ANSI Y14.26M - 1981 [ANSI81]",
                                            "IGES Version 2.0 [NBS83]",
                                            "IGES Version 3.0 [NBS86]",
                                            "IGES Version 3.0 ASME/ANSI Y14.26M - 1987 [ASME87]",
                                            "IGES Version 4.0 [NBS88]",
                                            "IGES Version 4.0 ASME Y14.26M - 1989 [ASME89]",
                                            "IGES Version 5.0 [NIST90]",
                                            "IGES Version 5.1 [NIST91?]"};
    if (Flag >= 1 && Flag <= 9) return Names[Flag - 1];
    return "Unknown IGES version flag (" + std::to_string(Flag) + ")";
}

TIGESDateTime TIGESDateTime::Now() {
    const std::time_t T = std::time(nullptr);
    std::tm L{};
    localtime_r(&T, &L);
    return {L.tm_year + 1900, L.tm_mon + 1, L.tm_mday, L.tm_hour, L.tm_min, L.tm_sec};
}

double IGESReal(std::string_view Text) {
    const std::string S = WithExponentE(Text);
    double V = 0;
    return TryStrToFloat(S, V) ? V : 0.0;
}

std::string MakeHollerith(std::string_view Text) {
    if (Text.empty()) return {};
    return std::to_string(Text.size()) + "H" + std::string(Text);
}

std::string HollerithValue(std::string_view Token) {
    const std::size_t H = Token.find('H');
    if (H == std::string_view::npos) return {};
    int Count = 0;
    if (!Digits(TrimView(Token.substr(0, H)), Count)) return {};
    return std::string(Token.substr(H + 1, static_cast<std::size_t>(std::min(Count, 255))));
}

std::string ReadHollerith(std::string_view Text) {
    const auto Fail = [&] { throw EError("IGES Format Error: Badly formatted Hollerith String (" + std::string(Text) + ")"); };
    const std::size_t H = Text.find('H');
    // More than four count digits is not a count.
    if (H == std::string_view::npos || H + 1 > 5) Fail();
    int Count = 0;
    if (!Digits(TrimView(Text.substr(0, H)), Count)) Fail();
    if (H + 1 + static_cast<std::size_t>(Count) > Text.size()) Fail();
    return std::string(Text.substr(0, H + 1 + static_cast<std::size_t>(Count)));
}

std::string FormatIGESDate(const TIGESDateTime& D) {
    const auto Two = [](int V) {
        const std::string S = std::to_string(V < 0 ? 0 : V % 100);
        return S.size() < 2 ? "0" + S : S;
    };
    return "13H" + Two(D.Year) + Two(D.Month) + Two(D.Day) + "." + Two(D.Hour) + Two(D.Minute) + Two(D.Second);
}

TIGESDateTime ParseIGESDate(std::string_view Text) {
    const std::size_t Dot = Text.find('.');
    if (Dot == std::string_view::npos || Dot < 7 || Dot + 7 > Text.size()) return {};
    TIGESDateTime D;
    const std::string_view YearText = Text.substr(3, Dot - 7);
    if ((YearText.size() != 2 && YearText.size() != 4) || !Digits(YearText, D.Year)) return {};
    if (!Digits(Text.substr(Dot - 4, 2), D.Month) || !Digits(Text.substr(Dot - 2, 2), D.Day) ||
        !Digits(Text.substr(Dot + 1, 2), D.Hour) || !Digits(Text.substr(Dot + 3, 2), D.Minute) ||
        !Digits(Text.substr(Dot + 5, 2), D.Second))
        return {};
    if (YearText.size() == 2) D.Year += D.Year < 80 ? 2000 : 1900;
    return ValidDate(D) ? D : TIGESDateTime{};
}

// ---- Terminate section ----

std::string TIGESTerminateSection::Record() const {
    return "S" + Int7(StartCount) + "G" + Int7(GlobalCount) + "D" + Int7(DirectoryCount) + "P" + Int7(ParameterCount) +
           std::string(40, ' ') + "T      1";
}

void TIGESTerminateSection::Read(std::string_view Record) {
    static constexpr const char* Names[] = {"Start", "Global", "Directory", "Parameter"};
    static constexpr char Letters[] = {'S', 'G', 'D', 'P'};
    int* Fields[] = {&StartCount, &GlobalCount, &DirectoryCount, &ParameterCount};
    for (int I = 0; I < 4; ++I) {
        const std::string_view Field = Record.substr(std::min<std::size_t>(Record.size(), 8 * I), 8);
        const std::string Head = std::string("IGES Format Error (Terminate Section): \"") + Names[I] + "\" Parameter ";
        if (Field.empty() || Field[0] != Letters[I]) throw EError(Head + "not found(" + std::string(Record) + ")");
        int Value = 0;
        if (!Digits(TrimView(Field.substr(1)), Value))
            throw EError(Head + "cannot be converted to an integer (" + std::string(Field) + ")");
        *Fields[I] = Value;
    }
}

// ---- Global section ----

void TIGESGlobalSection::SetDefaults() {
    ParameterDelimiter = ',';
    RecordDelimiter = ';';
    SendingProductID.clear();
    FileName.clear();
    NativeSystemID.clear();
    PreprocessorVersion = "Tavik IGES Translator 2.0";
    IntegerBits = 64;
    SingleMaxPower = 38;
    SingleDigits = 8;
    DoubleMaxPower = 308;
    DoubleDigits = 16;
    ReceivingProductID.clear();
    ModelScale = 1.0;
    Units = iuMetres;
    UnitsName = "M";
    LineWeightGradations = 3;
    MaxLineWeight = 0.003;
    DateTime = TIGESDateTime::Now();
    MinResolution = 0.001;
    MaxCoordinate = 0.0;
    Author.clear();
    Organisation.clear();
    IGESVersion = 9;
    DraftingStandard = 0;
}

void TIGESGlobalSection::SaveToLines() {
    Lines.clear();
    const std::string D(1, ParameterDelimiter);
    const auto Hollerith = [&](const std::string& Token) {
        std::string Rest = Token + D;
        if (Lines.empty()) Lines.emplace_back();
        const std::size_t H = Token.find('H');
        if (H != std::string::npos && Lines.back().size() + H + 1 > 72) Lines.emplace_back();
        while (Lines.back().size() + Rest.size() > 72) {
            const std::size_t Fit = 72 - Lines.back().size();
            Lines.back() += Rest.substr(0, Fit);
            Rest.erase(0, Fit);
            Lines.emplace_back();
        }
        Lines.back() += Rest;
    };
    const auto Plain = [&](const std::string& Text) {
        const std::string T = Text + D;
        if (Lines.empty() || Lines.back().size() + T.size() > 72) Lines.push_back(T);
        else Lines.back() += T;
    };
    const auto Real = [&](double V) { Plain(FloatToStrWithPoint(V)); };
    Hollerith(MakeHollerith(std::string(1, ParameterDelimiter)));
    Hollerith(MakeHollerith(std::string(1, RecordDelimiter)));
    for (const std::string* S : {&SendingProductID, &FileName, &NativeSystemID, &PreprocessorVersion})
        Hollerith(MakeHollerith(*S));
    for (int V : {IntegerBits, SingleMaxPower, SingleDigits, DoubleMaxPower, DoubleDigits}) Plain(std::to_string(V));
    Hollerith(MakeHollerith(ReceivingProductID));
    Plain(FloatToStrF(ModelScale, ffFixed, 2, 3));
    Plain(std::to_string(static_cast<int>(Units) + 1));
    Hollerith(MakeHollerith(UnitsName));
    Plain(std::to_string(LineWeightGradations));
    Real(MaxLineWeight);
    Hollerith(FormatIGESDate(DateTime));
    Real(MinResolution);
    Real(MaxCoordinate);
    Hollerith(MakeHollerith(Author));
    Hollerith(MakeHollerith(Organisation));
    Plain(std::to_string(IGESVersion));
    Plain(std::to_string(DraftingStandard));
    Lines.back().back() = RecordDelimiter;
}

void TIGESGlobalSection::LoadFromLines(const std::vector<std::string>& Records) {
    SetDefaults();
    std::string Text;
    for (const std::string& R : Records) {
        std::string_view L = std::string_view(R).substr(0, 72);
        std::size_t E = L.size();
        while (E > 0 && L[E - 1] == ' ') --E;
        if (E > 0 && L[E - 1] == ',') L = L.substr(0, E);
        Text += L;
    }
    std::string_view T = Text;

    // 1H followed by the character, and the delimiter after it.
    const auto OneCharHollerith = [&](char& Target) {
        if (T.size() < 4 || T[1] != 'H') return false;
        Target = T[2];
        T.remove_prefix(4);
        return true;
    };
    if (!T.empty() && T[0] == ',') {
        ParameterDelimiter = ',';
        T.remove_prefix(1);
    } else if (T.empty() || T[0] != '1' || !OneCharHollerith(ParameterDelimiter)) {
        GlobalFail("IGES File Parameter Separator is made up of more than one character");
    }
    const char PD = ParameterDelimiter;
    if (!T.empty() && T[0] == PD) {
        RecordDelimiter = ';';
        T.remove_prefix(1);
    } else if (T.empty() || T[0] != '1' || !OneCharHollerith(RecordDelimiter)) {
        GlobalFail("IGES File Record Separator is made up of more than one character");
    }

    const auto Empty = [&] {
        if (!T.empty() && T[0] == PD) {
            T.remove_prefix(1);
            return true;
        }
        return false;
    };
    // Each reader returns false when the parameter cannot be read.
    const auto HollerithToken = [&](std::string& Token) {
        try {
            Token = ReadHollerith(T);
        } catch (const EError&) {
            return false;
        }
        T.remove_prefix(Token.size());
        if (!T.empty() && T[0] == PD) T.remove_prefix(1);
        return true;
    };
    const auto Str = [&](std::string& Value) {
        if (Empty()) {
            Value.clear();
            return true;
        }
        std::string Token;
        if (!HollerithToken(Token)) return false;
        Value = HollerithValue(Token);
        return true;
    };
    const auto Field = [&](std::string_view& F) {
        const std::size_t P = T.find(PD);
        if (P == std::string_view::npos) return false;
        F = TrimView(T.substr(0, P));
        T.remove_prefix(P + 1);
        return true;
    };
    const auto Int = [&](int& Value) {
        if (Empty()) {
            Value = 0;
            return true;
        }
        std::string_view F;
        return Field(F) && TryStrToInt(F, Value);
    };
    const auto Real = [&](double& Value, double EmptyValue) {
        if (Empty()) {
            Value = EmptyValue;
            return true;
        }
        std::string_view F;
        return Field(F) && TryStrToFloat(WithExponentE(F), Value);
    };
    const auto Check = [](bool Ok, const char* What) {
        if (!Ok) GlobalFail(std::string(What) + " is badly formatted");
    };

    Check(Str(SendingProductID), "Product ID of Sending System");
    Check(Str(FileName), "Filename");
    Check(Str(NativeSystemID), "SystemID");
    Check(Str(PreprocessorVersion), "Preprocessor Version");
    Check(Int(IntegerBits), "Number of Binary digits for integer representation");
    Check(Int(SingleMaxPower), "Max power of 10 for single precision");
    Check(Int(SingleDigits), "Number of significant digits in single precision");
    Check(Int(DoubleMaxPower), "Max power of 10 for double precision");
    Check(Int(DoubleDigits), "Number of significant digits in double precision");
    Check(Str(ReceivingProductID), "Product identification for the receiving system");
    Check(Real(ModelScale, 1.0), "Model Space Scale");
    int Flag = 6;
    if (Empty()) Flag = 6;
    else {
        std::string_view F;
        Check(Field(F) && TryStrToInt(F, Flag), "Units Flag");
    }
    Units = Flag >= 1 && Flag <= 11 ? static_cast<TIGESUnits>(Flag - 1) : iuUserDefined;
    if (Empty()) UnitsName = "M";
    else Check(Str(UnitsName), "Units String");
    Check(Int(LineWeightGradations), "Max Number of Line Weight Graduations");
    Check(Real(MaxLineWeight, 0.0), "Maximum Line Weight");
    if (!Empty()) {
        std::string Token;
        const TIGESDateTime D = HollerithToken(Token) ? ParseIGESDate(Token) : TIGESDateTime{};
        if (D == TIGESDateTime{}) {
            if (GConsole)
                GConsole->WriteLine("IGES Format Error (Global Section): Date and Time String is badly formatted");
        } else {
            DateTime = D;
        }
    }
    Check(Real(MinResolution, 0.0), "Minimum User Resolution");
    Check(Real(MaxCoordinate, 0.0), "Approximate maximum coordinate value");
    Check(Str(Author), "Author");
    Check(Str(Organisation), "Organisation");
    Check(Int(IGESVersion), "IGES Version");
    // The last parameter may end at the record delimiter.
    std::size_t End = T.find(PD);
    if (End == std::string_view::npos) End = T.find(RecordDelimiter);
    const std::string_view F = TrimView(T.substr(0, End));
    int Standard = 0;
    if (!F.empty() && !TryStrToInt(F, Standard)) GlobalFail("Drafting Standard is badly formatted");
    DraftingStandard = Standard >= 1 && Standard <= 7 ? Standard : 0;
}

// ---- Directory entries and parameters ----

std::string TIGESEntityStatus::Text() const {
    if (Subordinate == 0 && EntityUse == 0 && Hierarchy == 0) return std::string(8, ' ');
    return std::string(Blank ? "01" : "00") + "0" + std::to_string(Subordinate) + "0" + std::to_string(EntityUse) + "0" +
           std::to_string(Hierarchy);
}

void TIGESEntityStatus::Read(std::string_view Field) {
    const std::string_view F = TrimView(Field);
    if (F.size() != 8) {
        Subordinate = EntityUse = Hierarchy = 0;
        return;
    }
    Blank = F[1] == '1';
    Subordinate = F[3] >= '1' && F[3] <= '3' ? F[3] - '0' : 0;
    EntityUse = F[5] >= '1' && F[5] <= '5' ? F[5] - '0' : 0;
    Hierarchy = F[7] >= '1' && F[7] <= '2' ? F[7] - '0' : 0;
}

void TIGESEntity::ReadDirectoryEntry(std::string_view Text) {
    const auto FieldText = [&](int N) {
        const std::size_t From = static_cast<std::size_t>(8 * N - 8);
        return From < Text.size() ? Text.substr(From, 8) : std::string_view();
    };
    const auto Int = [&](int N) {
        const std::string_view F = TrimView(FieldText(N));
        int Value = 0;
        if (!F.empty() && !TryStrToInt(F, Value))
            throw EError("IGES directory field " + std::to_string(N) + " is not an integer (" + PrintableText(F) + ")");
        return Value;
    };
    EntityType = Int(1);
    ParameterPointer = Int(2);
    Structure = Int(3);
    LineFontPattern = Int(4);
    Level = Int(5);
    View = Int(6);
    TransformationMatrix = Int(7);
    LabelDisplay = Int(8);
    Status.Read(FieldText(9));
    LineWeight = Int(12);
    Color = Int(13);
    ParameterLineCount = Int(14);
    FormNumber = Int(15);
    EntityLabel = std::string(TrimView(FieldText(18)));
    SubscriptNumber = Int(19);
}

std::string TIGESEntity::DirectoryText() {
    ParameterLineCount = static_cast<int>(Parameters.size());
    std::string T;
    T.reserve(160);
    T += Int8(EntityType);
    T += Int8(ParameterPointer);
    for (int V : {Structure, LineFontPattern, Level, View, TransformationMatrix, LabelDisplay}) T += Int8OrBlank(V);
    T += Right(Status.Text(), 8);
    T += "D      1";
    T += Int8(EntityType);
    T += Int8OrBlank(LineWeight);
    T += Int8OrBlank(Color);
    T += Int8(ParameterLineCount);
    T += Int8OrBlank(FormNumber);
    T += std::string(16, ' ');
    T += EntityLabel.empty() ? std::string(8, ' ') : Right(EntityLabel.substr(0, 8), 8);
    T += Int8OrBlank(SubscriptNumber);
    T += "D      1";
    return T;
}

char TIGESEntity::ParameterDelimiter() const { return File ? File->GlobalSection.ParameterDelimiter : ','; }
char TIGESEntity::RecordDelimiter() const { return File ? File->GlobalSection.RecordDelimiter : ';'; }

std::string TIGESEntity::Where() const {
    return (File && !File->SourceName.empty() ? File->SourceName + ": " : std::string()) + "directory entry " +
           std::to_string(DirectorySequence);
}

std::vector<double> TIGESEntity::ReadParameters(std::size_t Wanted) const {
    std::vector<double> P;
    const char D = ParameterDelimiter();
    std::string Piece;
    for (std::size_t L = 0; L < Parameters.size() && P.size() < Wanted; ++L) {
        const std::string_view Line = TrimView(Parameters[L]);
        if (Line.empty()) {
            P.push_back(0.0);
            continue;
        }
        // The last character of a line always ends a value, whatever it is.
        std::size_t Start = 0;
        const auto Take = [&](std::size_t End) {
            const std::string_view Text = TrimView(Line.substr(Start, End - Start));
            double V = 0;
            if (!Text.empty()) {
                Piece.assign(Text);
                const std::size_t Dx = Piece.find_first_of("Dd");
                if (Dx != std::string::npos) Piece[Dx] = 'E';
                if (!TryStrToFloat(Piece, V))
                    throw EError(Where() + ", parameter line " + std::to_string(ParameterPointer + static_cast<int>(L)) +
                                 ": '" + PrintableText(Text) + "' is not a number");
            }
            P.push_back(V);
        };
        for (std::size_t I = 0; I + 1 < Line.size(); ++I)
            if (Line[I] == D) {
                Take(I);
                Start = I + 1;
            }
        Take(Line.size() - 1);
    }
    return P;
}

void TIGESEntity::AddParameterText(const std::string& Text) {
    const std::string T = Text + ParameterDelimiter();
    if (Parameters.empty() || Parameters.back().size() + T.size() > 64) Parameters.emplace_back();
    Parameters.back() += T;
}

void TIGESEntity::AddIntegerParameter(long long Value) { AddParameterText(std::to_string(Value)); }
void TIGESEntity::AddRealParameter(double Value) { AddParameterText(FloatToStrWithPoint(Value)); }

void TIGESEntity::EndParameters() {
    if (!Parameters.empty() && !Parameters.back().empty()) Parameters.back().back() = RecordDelimiter();
}

// ---- The file ----

TIGESPropertiesDialog& IGESPropertiesDialog() {
    static TIGESPropertiesDialog Dialog;
    return Dialog;
}

void TIGESFile::EditProperties() {
    TIGESGlobalSection& G = GlobalSection;
    if (IGESPropertiesDialog()) IGESPropertiesDialog()(G.Author, G.Organisation, G.Units);
    G.UnitsName = IGESUnitName(G.Units);
}

TIGESEntity* TIGESFile::EntityByDE(int N) const {
    if (N < 1 || N % 2 == 0 || (N - 1) / 2 >= Count()) return nullptr;
    return Items((N - 1) / 2);
}

int TIGESFile::CountOfType(int Type) const {
    int N = 0;
    for (const auto& E : FItems) N += E->EntityType == Type;
    return N;
}

TIGESEntity* TIGESFile::Add(std::unique_ptr<TIGESEntity> Entity) {
    Entity->File = this;
    Entity->DirectorySequence = 2 * Count() + 1;
    FItems.push_back(std::move(Entity));
    return FItems.back().get();
}

void TIGESFile::LoadFromFile(const std::filesystem::path& Name) {
    SourceName = Name.string();
    LoadFromLines(ReadFileLines(Name));
}

void TIGESFile::LoadFromLines(const std::vector<std::string>& Lines) {
    FItems.clear();
    StartLines.clear();
    const auto Fail = [&](std::size_t Line, const std::string& What) {
        throw EError(SourceName + "(" + std::to_string(Line) + "): " + PrintableText(What, 200));
    };
    std::size_t TLine = Lines.size();
    for (std::size_t I = Lines.size(); I-- > 0;)
        if (Lines[I].size() >= 73 && Lines[I][72] == 'T') {
            TLine = I;
            break;
        }
    if (TLine == Lines.size()) throw EError(SourceName + ": Terminate section of IGES file not found");
    TIGESTerminateSection& TS = TerminateSection;
    try {
        TS.Read(Lines[TLine]);
    } catch (const EError& E) {
        Fail(TLine + 1, E.what());
    }
    const std::size_t S = TS.StartCount, G = TS.GlobalCount, D = TS.DirectoryCount, P = TS.ParameterCount;
    if (S + G + D + P > TLine || D % 2 != 0)
        Fail(TLine + 1, "IGES Format Error (Terminate Section): the counts S" + std::to_string(S) + " G" +
                            std::to_string(G) + " D" + std::to_string(D) + " P" + std::to_string(P) +
                            " do not match the " + std::to_string(TLine) + " records before the terminate record");
    const auto Columns = [&](std::size_t I, std::size_t Width) { return PadTo(Lines[I], Width); };
    for (std::size_t I = 0; I < S; ++I) StartLines.push_back(Columns(I, 72));
    std::vector<std::string> Global;
    for (std::size_t I = S; I < S + G; ++I) Global.push_back(Columns(I, 72));
    try {
        GlobalSection.LoadFromLines(Global);
    } catch (const EError& E) {
        Fail(S + 1, E.what());
    }
    const std::size_t PBase = S + G + D;
    FItems.reserve(D / 2);
    for (std::size_t I = S + G; I < PBase; I += 2) {
        const std::string Text = Columns(I, 80) + Columns(I + 1, 80);
        std::unique_ptr<TIGESEntity> E;
        try {
            E = TIGESEntity::CreateFromDirectory(Text, this);
        } catch (const EError& Err) {
            Fail(I + 1, Err.what());
        }
        E->DirectorySequence = static_cast<int>(I - S - G) + 1;
        const int Pointer = E->ParameterPointer, LineCount = E->ParameterLineCount;
        if (Pointer < 1 || LineCount < 0 || static_cast<std::size_t>(Pointer) + LineCount - 1 > P)
            Fail(I + 1, "IGES directory entry " + std::to_string(E->DirectorySequence) + ": parameter pointer " +
                            std::to_string(Pointer) + " and line count " + std::to_string(LineCount) +
                            " run past the " + std::to_string(P) + " parameter records");
        E->Parameters.reserve(static_cast<std::size_t>(LineCount));
        for (int K = 0; K < LineCount; ++K) E->Parameters.push_back(PadTo(Lines[PBase + Pointer - 1 + K], 64));
        E->File = this;
        FItems.push_back(std::move(E));
    }
}

std::vector<std::string> TIGESFile::SaveToLines(const std::string& FileNameParameter) {
    std::vector<std::string> Out;
    for (std::size_t I = 0; I < StartLines.size(); ++I)
        Out.push_back(PadTo(StartLines[I], 72) + "S" + Int7(static_cast<int>(I) + 1));
    TerminateSection.StartCount = static_cast<int>(StartLines.size());
    GlobalSection.FileName = FileNameParameter;
    GlobalSection.SaveToLines();
    for (std::size_t I = 0; I < GlobalSection.Lines.size(); ++I)
        Out.push_back(PadTo(GlobalSection.Lines[I], 72) + "G" + Int7(static_cast<int>(I) + 1));
    TerminateSection.GlobalCount = static_cast<int>(GlobalSection.Lines.size());
    int Running = 1;
    for (int B = 0; B < Count(); ++B) {
        TIGESEntity& E = *Items(B);
        E.ParameterPointer = Running;
        const std::string T = E.DirectoryText();
        Out.push_back(T.substr(0, 73) + Int7(2 * B + 1));
        Out.push_back(T.substr(80, 73) + Int7(2 * B + 2));
        Running += E.ParameterLineCount;
    }
    TerminateSection.DirectoryCount = 2 * Count();
    int Record = 0;
    for (int C = 0; C < Count(); ++C)
        for (const std::string& L : Items(C)->Parameters)
            Out.push_back(PadTo(L, 64) + Int8(2 * C + 1) + "P" + Int7(++Record));
    TerminateSection.ParameterCount = Record;
    Out.push_back(TerminateSection.Record());
    return Out;
}

void TIGESFile::SaveToFile(const std::filesystem::path& Name) {
    const std::vector<std::string> Out = SaveToLines(Name.filename().string());
    std::string Text;
    Text.reserve(Out.size() * 81);
    for (const std::string& L : Out) (Text += L) += '\n';
    ReplaceFileText(Name, Text, "Cannot write file \"" + Name.string() + "\"");
}

}  // namespace sarnova
