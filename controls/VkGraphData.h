// What a chart shows: data points, series of points, the chart's list of series and its axes, with
// the change notifications that run from a point up to the chart, the nearest-point query and the
// series' text, file and XML forms.
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/TextFile.h"
#include "foundation/Types.h"

namespace sarnova {

class TVkGraphCore;
class TVkSeries;
class TVkSeriesList;
class TXMLElement;
class TXMLOutputStream;

// What can tell the chart that it changed: points, series, the series list, the axes.
class TVkChartObject {
public:
    virtual ~TVkChartObject() = default;
};

// Minimum X, minimum Y, maximum X, maximum Y.
struct TGraphExtents {
    double MinX = 0;
    double MinY = 0;
    double MaxX = 0;
    double MaxY = 0;
    bool operator==(const TGraphExtents&) const = default;
};

// The box every recomputation starts from: it contains nothing.
inline constexpr TGraphExtents EmptyExtents{1e33, 1e33, -1e33, -1e33};

// The smallest box holding both.
TGraphExtents UnionExtents(const TGraphExtents& A, const TGraphExtents& B);
// E widened to hold (X, Y).
void ExtendExtents(TGraphExtents& E, double X, double Y);

// Markers drawn at the points of a series.
inline constexpr std::uint8_t ptNone = 0;
inline constexpr std::uint8_t ptCircle = 1;
inline constexpr std::uint8_t ptSquare = 2;
inline constexpr std::uint8_t ptTriangle = 3;

// "Circle", "Square", "Triangle"; anything else "None".
std::string PointTypeToName(int PointType);
// Letter case ignored, the first of "CIRCLE", "SQUARE", "TRIANGLE" that the text contains (1, 2, 3);
// 0 when it contains none.
std::uint8_t NameToPointType(std::string_view Name);

class TVkDataPoint : public TVkChartObject {
public:
    TVkDataPoint() = default;
    TVkDataPoint(double X, double Y) : X(X), Y(Y) {}

    TVkSeries* GetSeries() const { return Series; }
    double GetX() const { return X; }
    double GetY() const { return Y; }
    // Store the value, then Changed.
    virtual void SetX(double Value);
    virtual void SetY(double Value);
    // Tells the owning series, if any, with this point as sender.
    virtual void Changed();

private:
    friend class TVkSeries;
    TVkSeries* Series = nullptr;
    double X = 0;
    double Y = 0;
};

// -1, 0 or 1 as A's X is below, equal to or above B's.
int ComparePointsByX(const TVkDataPoint& A, const TVkDataPoint& B);

// The nearest point of the series polylines to a pixel.
struct TSeriesQueryResult {
    double X = 0;  // data coordinates
    double Y = 0;
    int ScreenX = 0;
    int ScreenY = 0;
    double SquaredDistance = 1e33;  // to the query pixel, in pixels
    std::string SeriesName;
};

// An ordered list of points with a name, colour, line width and marker. It owns its points.
class TVkSeries : public TVkChartObject {
public:
    TVkSeries() = default;
    ~TVkSeries() override;
    TVkSeries(const TVkSeries&) = delete;
    TVkSeries& operator=(const TVkSeries&) = delete;

    // The class name that heads a series file.
    virtual std::string ClassName() const { return "TVkSeries"; }

    int Count() const { return static_cast<int>(Points.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TVkDataPoint& GetPoint(int Index) const;

    TVkDataPoint& AddXY(double X, double Y);
    // A new point at (0, 0).
    TVkDataPoint& AddPoint();
    // Takes the point, appends it and, outside an update bracket of the list, recomputes the extents;
    // then Changed.
    TVkDataPoint& AppendPoint(std::unique_ptr<TVkDataPoint> Point);

    const std::string& GetName() const { return Name; }
    void SetName(const std::string& Value);
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);
    // ptNone .. ptTriangle; other values draw no marker.
    std::uint8_t GetPointType() const { return PointType; }
    void SetPointType(std::uint8_t Value);
    // Pixels on the screen; 0 draws the thinnest line.
    int GetLineWidth() const { return LineWidth; }
    void SetLineWidth(int Value);
    int Tag = 0;
    // Update sorts the points by X first.
    bool AutoSort = false;

    const TGraphExtents& GetExtents() const { return Extents; }
    TVkSeriesList* GetSeriesList() const { return SeriesList; }
    // The chart of the owning list, or nullptr.
    TVkGraphCore* GetGraph() const;

    // Frees every point; the extents become (0, 0, 0, 0); then Changed.
    void Clear();
    // Copies Name, Color and PointType and appends copies of Source's points to the points already
    // here; then Update and Changed.
    void AssignSeries(const TVkSeries& Source);
    // Sort when AutoSort, then RecalcExtents.
    virtual void Update();
    // Tells the owning list, if any.
    virtual void Changed(TVkChartObject* Sender);
    // By X ascending; points of equal X may change order.
    virtual void Sort();
    void RecalcExtents();

    // The nearest point of this series' polyline to Pixel, through the chart's mapping; squared
    // distance 1e33 when the series has fewer than two points or no chart.
    TSeriesQueryResult Query(TPoint Pixel) const;

    // The text block: "Name=", "Tag=", "Color=", "LineWidth=", "PointType=", "NumPoints=" and one
    // "X Y" line per point (fixed, 6 decimals), every line ended by CR LF.
    virtual void SaveToText(TTextWriter& Out) const;
    // Reads a text block by line order (the keys are not compared): of each of the six lines the text
    // after the first "=", at most 255 bytes; then the points. Accepts LF and CR LF. A value that is
    // not an integer throws EConvertError, a point line that is not two numbers EInOutError; the
    // series is changed only when the whole block was read.
    virtual void LoadFromText(TTextReader& In);
    // Writes the attributes of the element the caller has opened: Name (when not empty), Tag (when not
    // 0), Color, LineWidth (when above 0), Marker (when PointType is not 0).
    virtual void SaveToXML(TXMLOutputStream& Stream) const;
    // "[<ClassName>]" and the text block.
    virtual void SaveToFile(const std::filesystem::path& FileName) const;
    // Refuses a file whose first line is not "[<ClassName>]" (letter case ignored) with EError "File
    // <FileName> does not contain a <ClassName>"; missing files throw EInOutError. Nothing changes
    // unless the whole file was read.
    virtual void LoadFromFile(const std::filesystem::path& FileName);
    // Sets the fields that the element has attributes for and appends one point per "DATAPOINT" child
    // (tag letter case ignored) to the points already here. Missing "X" or "Y", bad numbers, integers
    // or colours throw, and then nothing changes.
    virtual void LoadFromXML(TXMLElement& Element);

private:
    friend class TVkSeriesList;
    // Frees the points without telling anyone.
    void FreePoints();

    std::vector<std::unique_ptr<TVkDataPoint>> Points;
    std::string Name = "ASeries";
    TColor Color = clBlack;
    std::uint8_t PointType = ptNone;
    TVkSeriesList* SeriesList = nullptr;
    int LineWidth = 0;
    TGraphExtents Extents;
};

// A new series with Source's name, colour, marker and points.
std::unique_ptr<TVkSeries> CloneSeries(const TVkSeries& Source);

// The chart's series, in drawing order. It owns them.
class TVkSeriesList : public TVkChartObject {
public:
    explicit TVkSeriesList(TVkGraphCore* Graph = nullptr) : Graph(Graph) {}
    ~TVkSeriesList() override;
    TVkSeriesList(const TVkSeriesList&) = delete;
    TVkSeriesList& operator=(const TVkSeriesList&) = delete;

    int Count() const { return static_cast<int>(Series.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TVkSeries& GetSeries(int Index) const;
    TVkGraphCore* GetGraph() const { return Graph; }
    bool GetUpdating() const { return Updating; }
    const TGraphExtents& GetExtents() const { return Extents; }

    // Takes the series; outside an update bracket brings it and the list's extents up to date; then
    // Notify.
    TVkSeries& AddSeries(std::unique_ptr<TVkSeries> Value);
    TVkSeries& AddNew(const std::string& Name);
    // Frees series Index; throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    void Delete(int Index);
    // Frees every series; the extents become (0, 0, 0, 0); then Notify.
    void Clear();

    // Brackets do not nest: one EndUpdate ends any number of BeginUpdate calls. EndUpdate brings every
    // series and the list up to date and notifies the chart once; without a bracket open it does
    // nothing.
    void BeginUpdate() { Updating = true; }
    void EndUpdate();
    void RecalcExtents();
    // Outside a bracket: brings the sender's series (a point's) or the list's extents up to date and
    // tells the chart.
    void Notify(TVkChartObject* Sender);

    // The nearest point of all series; series name "?notfound?" and squared distance 1e33 when no
    // series has a segment. The earlier series wins a tie.
    TSeriesQueryResult Query(TPoint Pixel) const;

    // Writes one "SERIES" element per series, holding one "DATAPOINT" element per point, inside the
    // element the caller has opened: what LoadFromXML reads.
    virtual void SaveToXML(TXMLOutputStream& Stream) const;
    // Replaces the series by one per child element tagged exactly "SERIES", in one update bracket.
    // On a failure the list stays as it was.
    virtual void LoadFromXML(TXMLElement& Element);

private:
    std::vector<std::unique_ptr<TVkSeries>> Series;
    bool Updating = false;
    TVkGraphCore* Graph = nullptr;
    TGraphExtents Extents;
};

enum TTickMode : std::uint8_t { tmLoose, tmTight };

// One axis of a chart: a fixed or automatic range and tick step.
class TVkAxis : public TVkChartObject {
public:
    explicit TVkAxis(TVkGraphCore* Graph = nullptr) : Graph(Graph) {}

    // The data range along this axis, written by the chart.
    double DataMin = 0;
    double DataMax = 0;

    // Writing Min, Max or Gap fixes it (turns its automatic flag off). Every write ends in Changed.
    // Automatic values: a loose axis runs from a multiple of the step at or below the data to one at
    // or above it, a tight axis exactly over the data; a single value v shows about v - 1 .. v + 1.
    double GetMin() const;
    void SetMin(double Value);
    double GetMax() const;
    void SetMax(double Value);
    double GetGap() const;
    void SetGap(double Value);
    TTickMode GetTickMode() const { return TickMode; }
    void SetTickMode(TTickMode Value);
    bool GetAutoMin() const { return AutoMin; }
    void SetAutoMin(bool Value);
    bool GetAutoMax() const { return AutoMax; }
    void SetAutoMax(bool Value);
    bool GetAutoGap() const { return AutoGap; }
    void SetAutoGap(bool Value);
    const std::string& GetTitle() const { return Title; }
    void SetTitle(const std::string& Value);
    bool GetGridLines() const { return GridLines; }
    void SetGridLines(bool Value);

    // Tells the chart, with the axis as sender.
    void Changed();

private:
    friend class TVkGraphCore;  // pan and zoom fix the range without a notification
    TVkGraphCore* Graph;
    double Min = 0;
    double Max = 0;
    double Gap = 0;
    TTickMode TickMode = tmLoose;
    bool AutoMin = true;
    bool AutoMax = true;
    bool AutoGap = true;
    std::string Title;
    bool GridLines = false;
};

// The tick step of an axis over a range R: a 1-2-5 number near R / 9.
double NiceStep(double Range);

}  // namespace sarnova
