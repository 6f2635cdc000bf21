#include "exchange/IoCSV.h"

#include "document/GPline.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"

namespace sarnova {

void ImportCSVPolylines(const std::string& FileName, TGeometryList& Document) {
    RunImport("CSV", FileName, Document, [&](TImportedEntities& Entities) {
        const std::vector<std::string> Lines = ReadFileLines(FileName);
        std::unique_ptr<TPolyline> Current;
        const auto EndPolyline = [&] {
            if (!Current) return;
            auto E = std::make_unique<TGeoPline>();
            E->Polyline().AddCopies(*Current);
            Entities.push_back(std::move(E));
            Current.reset();
        };
        for (std::size_t N = 0; N < Lines.size(); ++N) {
            const std::string_view Line = Lines[N];
            double V[3] = {0, 0, 0};
            int Fields = 0, Numbers = 0;
            std::string_view Text;  // the first field that is text, not a number
            std::size_t Start = 0;
            while (Fields < 3) {
                const std::size_t Comma = Line.find(',', Start);
                const std::string_view Field =
                    TrimmedView(Line.substr(Start, Comma == std::string_view::npos ? Line.npos : Comma - Start));
                if (TryStrToFloat(Field, V[Fields]))
                    ++Numbers;
                else if (!Field.empty() && Text.empty())
                    Text = Field;
                ++Fields;
                if (Comma == std::string_view::npos) break;
                Start = Comma + 1;
            }
            if (Fields < 2 || Numbers == 0) {
                EndPolyline();
                continue;
            }
            if (!Text.empty())
                throw EConvertError(FileName + "(" + std::to_string(N + 1) + "): Unable to convert string to number (" +
                                    std::string(Text) + ")");
            if (!Current) Current = std::make_unique<TPolyline>();
            Current->AddPoint(V[0], V[1], Fields >= 3 ? V[2] : 0.0);
        }
        EndPolyline();
    });
}

}  // namespace sarnova
